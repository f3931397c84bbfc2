// Expression evaluation: precedence, associativity, wrapping, symbols, variables, errors.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

// In order, on one engine: variables keep their values from one expression to the next.
TEST(AssemblerEvaluator, ValuesAndErrors) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"2+3*4", "14"}, {"(2+3)*4", "20"}, {"2*-3", "-6"}, {"- -3", "3"}, {"-(2+3)", "-5"},
      {"8-2-1", "5"}, {"100/10/5", "2"}, {"2*3%4", "2"}, {"1+5%3", "3"}, {"-7/2", "-3"},
      {"-7%2", "-1"}, {"7%-2", "1"}, {"+5", "5"}, {"  12  ", "12"}, {"(1", "1"}, {"(1+2", "3"},
      {"1+(2", "3"}, {"((4))", "4"}, {"2*(3+4)*5", "70"}, {"10-(2-1)", "9"}, {"1,2", "1"},
      {"3;x", "3"}, {"!0", "1"}, {"!5", "0"}, {"!!7", "1"}, {"1<2<3", "1"}, {"3<2<1", "1"},
      {"3>2>1", "0"}, {"3&&4", "0"}, {"1||2", "3"}, {"6&&3", "2"}, {"1==1", "1"}, {"1!=1", "0"},
      {"2<=2", "1"}, {"2>=3", "0"}, {"-1<0", "1"}, {"1+1==2", "1"}, {"1==1&&2==2", "1"},
      {"0||1&&0", "0"}, {"1||1&&0", "1"}, {"5>3==1", "1"}, {"2147483647+1", "-2147483648"},
      {"0-2147483647-2", "2147483647"}, {"65536*65536", "0"}, {"65537*65537", "131073"},
      {"4294967295", "-1"}, {"4294967296", "0"}, {"-2147483648", "-2147483648"},
      {"-2147483647/-1", "2147483647"}, {"-2147483648%2", "0"}, {"2147483647*2", "-2"},
      {"VERSION", "230"}, {"CORESIZE", "8000"}, {"MAXLENGTH", "100"}, {"MAXPROCESSES", "8000"},
      {"MAXCYCLES", "80000"}, {"MINDISTANCE", "100"}, {"PSPACESIZE", "500"}, {"ROUNDS", "7"},
      {"READLIMIT", "8000"}, {"WRITELIMIT", "8000"}, {"WARRIORS", "1"}, {"CURLINE", "0"},
      {"CORESIZE-1", "7999"}, {" MAXLENGTH+1", "101"}, {"x=5", "5"}, {"x*2", "10"}, {"y=x+1", "6"}, {"(z=3)+1", "4"},
      {"z", "3"}, {"a=0", "0"}, {"b=1", "1"}, {"!a==b", "1"}, {"b=0", "0"}, {"!a==b", "0"},
      // An assignment still pending at an error is dropped; one made before it is kept.
      {"q=9+", "compile: Bad Operand"}, {"q", "0"}, {"(q=9)+", "compile: Bad Operand"}, {"q", "9"},
      {"2 3", "compile: Bad Operand"}, {"2 & 3", "compile: Bad Operand"},
      {"2 | 3", "compile: Bad Operand"}, {"1)", "compile: Bad Operand"}, {"", "compile: Bad Operand"},
      {"1+", "compile: Bad Operand"}, {"1 ? 2", "compile: Bad Operand"},
      {"\x80", "compile: Bad Operand"}, {"   ", "compile: Bad Operand"},
      {"1 ! 2", "compile: Bad Operator"}, {"coresize", "compile: Undefined Symbol"},
      {"X=1", "compile: Undefined Symbol"}, {"ab", "compile: Undefined Symbol"},
      {"3=1", "compile: Illegal variable assignment"},
      {"30+x=2", "compile: Illegal variable assignment"}, {"#$1", "compile: OpMode set twice"},
      {"1+#2", "compile: OpMode set twice"}, {"7/0", "arithmetic: Division by zero"},
      {"7%0", "arithmetic: Division by zero"}, {"1/(2-2)", "arithmetic: Division by zero"},
      {"-2147483648/-1", "arithmetic: Integer overflow"},
      {"-2147483648%-1", "arithmetic: Integer overflow"},
  };
  // clang-format on
  AsmFixture f;
  for (const auto& [text, outcome] : cases)
    EXPECT_EQ(f.Outcome(text), outcome) << text;
  AsmFixture kvrt(0);
  EXPECT_EQ(kvrt.Outcome("}1"), "compile: Standards violation (Opmode)");
}

TEST(AssemblerEvaluator, LabelsRandomAndLongTexts) {
  AsmFixture f;
  f.Core->Asm.Labels = {{"target", 5}, {"x", 1}, {"L", 1}, {"L", 4}, {"VERSION", 1}};
  EXPECT_EQ(f.Eval("target", 2), 3);
  EXPECT_EQ(f.Eval("target", 7), -2);
  EXPECT_EQ(f.Eval("CURLINE", 7), 7); // the instruction index
  EXPECT_EQ(f.Eval("L"), 4);          // the last label of a name wins
  EXPECT_EQ(f.Eval("VERSION"), 230);  // predefined symbols beat labels
  EXPECT_EQ(f.Outcome("x=1"), "compile: Illegal variable assignment");
  // RANDOM draws from the engine's generator.
  f.Core->Rng.Seed(12345);
  TRandom copy;
  copy.Seed(12345);
  EXPECT_EQ(f.Eval("RANDOM"), copy.Random(8000));
  EXPECT_EQ(f.Core->Rng.State, copy.State);
  EXPECT_EQ(f.Eval(std::string("4\0+5", 4)), 4); // an embedded NUL ends the text
  // Deep nesting and long chains; the stack refuses what goes beyond its room.
  EXPECT_EQ(f.Eval(std::string(5000, '(') + "1" + std::string(5000, ')')), 1);
  std::string chain = "1", deep;
  for (int i = 0; i < 5000; ++i)
    chain += "+1";
  EXPECT_EQ(f.Eval(chain), 5001);
  for (int i = 0; i < 40000; ++i)
    deep += "1+(";
  EXPECT_EQ(f.Outcome(deep + "1").rfind("compile: ", 0), 0u);
}

} // namespace
} // namespace velmora::test
