// Expression evaluation: precedence, associativity, wrapping, symbols, variables, errors.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

// Precedence, associativity, logic, comparison, 32-bit wrapping and the predefined symbols.
TEST(AssemblerEvaluator, Values) {
  // clang-format off
  const std::pair<const char*, int32_t> cases[] = {
      {"2+3*4", 14}, {"(2+3)*4", 20}, {"2*-3", -6}, {"- -3", 3}, {"-(2+3)", -5}, {"8-2-1", 5},
      {"100/10/5", 2}, {"2*3%4", 2}, {"1+5%3", 3}, {"-7/2", -3}, {"-7%2", -1}, {"7%-2", 1},
      {"+5", 5}, {"  12  ", 12}, {"(1", 1}, {"(1+2", 3}, {"1+(2", 3}, {"((4))", 4},
      {"2*(3+4)*5", 70}, {"10-(2-1)", 9}, {"1,2", 1}, {"3;x", 3}, {"!0", 1}, {"!5", 0}, {"!!7", 1},
      {"1<2<3", 1}, {"3<2<1", 1}, {"3>2>1", 0}, {"3&&4", 0}, {"1||2", 3}, {"6&&3", 2}, {"1==1", 1},
      {"1!=1", 0}, {"2<=2", 1}, {"2>=3", 0}, {"-1<0", 1}, {"1+1==2", 1}, {"1==1&&2==2", 1},
      {"0||1&&0", 0}, {"1||1&&0", 1}, {"5>3==1", 1}, {"2147483647+1", INT32_MIN},
      {"0-2147483647-2", INT32_MAX}, {"65536*65536", 0}, {"65537*65537", 131073},
      {"4294967295", -1}, {"4294967296", 0}, {"-2147483648", INT32_MIN},
      {"-2147483647/-1", INT32_MAX}, {"-2147483648%2", 0}, {"2147483647*2", -2}, {"VERSION", 230},
      {"CORESIZE", 8000}, {"MAXLENGTH", 100}, {"MAXPROCESSES", 8000}, {"MAXCYCLES", 80000},
      {"MINDISTANCE", 100}, {"PSPACESIZE", 500}, {"ROUNDS", 7}, {"READLIMIT", 8000},
      {"WRITELIMIT", 8000}, {"WARRIORS", 1}, {"CURLINE", 0}, {"CORESIZE-1", 7999},
  };
  // clang-format on
  for (const auto& [text, value] : cases) {
    AsmFixture f;
    EXPECT_EQ(f.Eval(text), value) << text;
  }
}

TEST(AssemblerEvaluator, CompileErrorMessages) {
  // clang-format off
  const std::pair<const char*, std::string> cases[] = {
      {"2 3", "Bad Operand"}, {"2 & 3", "Bad Operand"}, {"2 | 3", "Bad Operand"},
      {"1)", "Bad Operand"}, {"", "Bad Operand"}, {"1+", "Bad Operand"}, {"1 ? 2", "Bad Operand"},
      {"\x80", "Bad Operand"}, {"1 ! 2", "Bad Operator"}, {"coresize", "Undefined Symbol"},
      {"X=1", "Undefined Symbol"}, {"ab", "Undefined Symbol"},
      {"3=1", "Illegal variable assignment"}, {"30+x=2", "Illegal variable assignment"},
      {"#$1", "OpMode set twice"}, {"1+#2", "OpMode set twice"},
      {"}1", "Standards violation (Opmode)"},
  };
  // clang-format on
  for (const auto& [text, message] : cases) {
    AsmFixture f(message == "Standards violation (Opmode)" ? 0 : 2);
    try {
      f.Eval(text);
      ADD_FAILURE() << "no error for " << text;
    } catch (const ECompileError& e) {
      EXPECT_EQ(e.what(), message) << text;
    }
  }
}

TEST(AssemblerEvaluator, ArithmeticErrorsAreNotCompileErrors) {
  AsmFixture f;
  for (const char* text : {"7/0", "7%0", "1/(2-2)"}) {
    try {
      f.Eval(text);
      FAIL() << text;
    } catch (const ECompileError&) {
      FAIL() << "compile error for " << text;
    } catch (const EArithmeticError& e) {
      EXPECT_STREQ(e.what(), "Division by zero");
    }
  }
  // The most negative number divided by -1 overflows.
  for (const char* text : {"-2147483648/-1", "-2147483648%-1"}) {
    try {
      f.Eval(text);
      FAIL() << text;
    } catch (const EArithmeticError& e) {
      EXPECT_STREQ(e.what(), "Integer overflow");
    }
  }
}

TEST(AssemblerEvaluator, VariablesKeepTheirValuesAndAssignmentYieldsTheValue) {
  AsmFixture f;
  EXPECT_EQ(f.Eval("x=5"), 5);
  EXPECT_EQ(f.Core->Asm.Variables[23], 5);
  EXPECT_EQ(f.Eval("x*2"), 10);
  EXPECT_EQ(f.Eval("y=x+1"), 6);
  EXPECT_EQ(f.Eval("(z=3)+1"), 4);
  EXPECT_EQ(f.Core->Asm.Variables[25], 3);
}

TEST(AssemblerEvaluator, AnAssignmentMadeBeforeAnErrorIsKept) {
  AsmFixture f;
  EXPECT_THROW(f.Eval("q=9+"), ECompileError);
  EXPECT_EQ(f.Core->Asm.Variables['q' - 'a'], 0); // still pending when the error came
  EXPECT_THROW(f.Eval("(q=9)+"), ECompileError);
  EXPECT_EQ(f.Core->Asm.Variables['q' - 'a'], 9); // applied before the missing operand
}

TEST(AssemblerEvaluator, LabelsAreRelativeToTheCurrentLineAndHideVariables) {
  AsmFixture f;
  f.Core->Asm.Labels = {{"target", 5}, {"x", 1}};
  SetLineText(f.Core->Asm, "target");
  f.Core->Asm.CurLine = 2;
  EXPECT_EQ(EvaluateExpression(*f.Core), 3);
  SetLineText(f.Core->Asm, "target");
  f.Core->Asm.CurLine = 7;
  EXPECT_EQ(EvaluateExpression(*f.Core), -2);
  SetLineText(f.Core->Asm, "CURLINE"); // the instruction index
  EXPECT_EQ(EvaluateExpression(*f.Core), 7);
  SetLineText(f.Core->Asm, "x=1");
  try {
    EvaluateExpression(*f.Core);
    ADD_FAILURE() << "x=1 assigned to a label";
  } catch (const ECompileError& e) {
    EXPECT_STREQ(e.what(), "Illegal variable assignment");
  }
  // The last label of a name wins; predefined symbols beat labels.
  f.Core->Asm.Labels = {{"L", 1}, {"L", 4}, {"VERSION", 1}};
  EXPECT_EQ(f.Eval("L"), 4);
  EXPECT_EQ(f.Eval("VERSION"), 230);
}

TEST(AssemblerEvaluator, RandomDrawsFromTheEngineGenerator) {
  AsmFixture f;
  f.Core->Rng.Seed(12345);
  TRandom copy;
  copy.Seed(12345);
  int32_t expected = copy.Random(8000);
  int32_t v = f.Eval("RANDOM");
  EXPECT_EQ(v, expected);
  EXPECT_GE(v, 0);
  EXPECT_LT(v, 8000);
  EXPECT_EQ(f.Core->Rng.State, copy.State);
}

TEST(AssemblerEvaluator, ScanningStopsWhereTheTextEnds) {
  AsmFixture f;
  SetLineText(f.Core->Asm, "1+2, 3");
  EXPECT_EQ(EvaluateExpression(*f.Core), 3);
  EXPECT_EQ(f.Core->Asm.ScanPos, 5); // just after the character that ends it
  EXPECT_EQ(EvaluateExpression(*f.Core), 3);
  EXPECT_EQ(f.Core->Asm.ScanPos, 8);
  SetLineText(f.Core->Asm, std::string("4\0+5", 4)); // an embedded NUL ends the text
  EXPECT_EQ(EvaluateExpression(*f.Core), 4);
  EXPECT_EQ(f.Core->Asm.ScanPos, 3);
  SetLineText(f.Core->Asm, "4294967297x"); // numbers wrap and need a digit
  EXPECT_EQ(ReadNumber(*f.Core), 1);
  EXPECT_EQ(f.Core->Asm.ScanPos, 11);
  EXPECT_THROW(ReadNumber(*f.Core), ECompileError);
  // A mode character sets the operand mode.
  SetLineText(f.Core->Asm, "-{3");
  f.Core->Asm.ModeSeen = false;
  EXPECT_EQ(EvaluateExpression(*f.Core), -3);
  EXPECT_EQ(f.Core->Asm.OperandMode, 6);
}

TEST(AssemblerEvaluator, NotBindsTighterThanComparison) {
  AsmFixture f;
  f.Core->Asm.Variables[0] = 0; // a
  f.Core->Asm.Variables[1] = 1; // b
  EXPECT_EQ(f.Eval("!a==b"), 1);
  f.Core->Asm.Variables[1] = 0;
  EXPECT_EQ(f.Eval("!a==b"), 0);
}

TEST(AssemblerEvaluator, LookupSymbolReportsTheNameAndSkipsBlanks) {
  AsmFixture f;
  std::string name;
  int32_t value = 0;
  SetLineText(f.Core->Asm, "  MAXLENGTH+1");
  EXPECT_TRUE(LookupSymbol(*f.Core, name, value));
  EXPECT_EQ(name, "MAXLENGTH");
  EXPECT_EQ(value, 100);
  EXPECT_EQ(f.Core->Asm.ScanPos, 12);
  SetLineText(f.Core->Asm, "nothing_here");
  EXPECT_FALSE(LookupSymbol(*f.Core, name, value));
  EXPECT_EQ(name, "nothing_here");
  SetLineText(f.Core->Asm, "   ");
  EXPECT_THROW(LookupSymbol(*f.Core, name, value), ECompileError);
}

TEST(AssemblerEvaluator, DeepNestingAndLongChainsStayBounded) {
  AsmFixture f;
  EXPECT_EQ(f.Eval(std::string(5000, '(') + "1" + std::string(5000, ')')), 1);
  std::string chain = "1";
  for (int i = 0; i < 5000; ++i)
    chain += "+1";
  EXPECT_EQ(f.Eval(chain), 5001);
  // Right-nested operators pile up pending operands; the stack refuses beyond its room.
  std::string deep;
  for (int i = 0; i < 40000; ++i)
    deep += "1+(";
  deep += "1";
  EXPECT_THROW(f.Eval(deep), ECompileError);
}

} // namespace
} // namespace velmora::test
