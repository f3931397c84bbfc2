// Expression evaluation: precedence, associativity, wrapping, symbols, variables, errors.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

struct ValueCase {
  const char* Text;
  int32_t Value;
};
void PrintTo(const ValueCase& c, std::ostream* os) {
  *os << c.Text;
}

class AssemblerEvaluatesTo : public ::testing::TestWithParam<ValueCase> {};

TEST_P(AssemblerEvaluatesTo, Value) {
  AsmFixture f;
  EXPECT_EQ(f.Eval(GetParam().Text), GetParam().Value) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, AssemblerEvaluatesTo,
    ::testing::Values(ValueCase{"2+3*4", 14}, ValueCase{"(2+3)*4", 20}, ValueCase{"2*-3", -6},
                      ValueCase{"- -3", 3}, ValueCase{"-(2+3)", -5}, ValueCase{"8-2-1", 5},
                      ValueCase{"100/10/5", 2}, ValueCase{"2*3%4", 2}, ValueCase{"1+5%3", 3},
                      ValueCase{"-7/2", -3}, ValueCase{"-7%2", -1}, ValueCase{"7%-2", 1},
                      ValueCase{"+5", 5}, ValueCase{"  12  ", 12}, ValueCase{"(1", 1},
                      ValueCase{"(1+2", 3}, ValueCase{"1+(2", 3}, ValueCase{"((4))", 4},
                      ValueCase{"2*(3+4)*5", 70}, ValueCase{"10-(2-1)", 9}, ValueCase{"1,2", 1},
                      ValueCase{"3;x", 3}));

INSTANTIATE_TEST_SUITE_P(
    LogicAndComparison, AssemblerEvaluatesTo,
    ::testing::Values(ValueCase{"!0", 1}, ValueCase{"!5", 0}, ValueCase{"!!7", 1},
                      ValueCase{"1<2<3", 1}, ValueCase{"3<2<1", 1}, ValueCase{"3>2>1", 0},
                      ValueCase{"3&&4", 0}, ValueCase{"1||2", 3}, ValueCase{"6&&3", 2},
                      ValueCase{"1==1", 1}, ValueCase{"1!=1", 0}, ValueCase{"2<=2", 1},
                      ValueCase{"2>=3", 0}, ValueCase{"-1<0", 1}, ValueCase{"1+1==2", 1},
                      ValueCase{"1==1&&2==2", 1}, ValueCase{"0||1&&0", 0}, ValueCase{"1||1&&0", 1},
                      ValueCase{"5>3==1", 1}));

INSTANTIATE_TEST_SUITE_P(
    Wrapping, AssemblerEvaluatesTo,
    ::testing::Values(ValueCase{"2147483647+1", INT32_MIN}, ValueCase{"0-2147483647-2", INT32_MAX},
                      ValueCase{"65536*65536", 0}, ValueCase{"65537*65537", 131073},
                      ValueCase{"4294967295", -1}, ValueCase{"4294967296", 0},
                      ValueCase{"-2147483648", INT32_MIN}, ValueCase{"-2147483647/-1", INT32_MAX},
                      ValueCase{"-2147483648%2", 0}, ValueCase{"2147483647*2", -2}));

INSTANTIATE_TEST_SUITE_P(Predefined, AssemblerEvaluatesTo,
                         ::testing::Values(ValueCase{"VERSION", 230}, ValueCase{"CORESIZE", 8000},
                                           ValueCase{"MAXLENGTH", 100},
                                           ValueCase{"MAXPROCESSES", 8000},
                                           ValueCase{"MAXCYCLES", 80000},
                                           ValueCase{"MINDISTANCE", 100},
                                           ValueCase{"PSPACESIZE", 500}, ValueCase{"ROUNDS", 7},
                                           ValueCase{"READLIMIT", 8000},
                                           ValueCase{"WRITELIMIT", 8000}, ValueCase{"WARRIORS", 1},
                                           ValueCase{"CURLINE", 0}, ValueCase{"CORESIZE-1", 7999}));

struct ErrorCase {
  const char* Text;
  const char* Message;
};
void PrintTo(const ErrorCase& c, std::ostream* os) {
  *os << c.Text;
}

class AssemblerRaisesCompileError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(AssemblerRaisesCompileError, Message) {
  AsmFixture f(GetParam().Message == std::string("Standards violation (Opmode)") ? 0 : 2);
  try {
    f.Eval(GetParam().Text);
    FAIL() << "no error for " << GetParam().Text;
  } catch (const ECompileError& e) {
    EXPECT_STREQ(e.what(), GetParam().Message) << GetParam().Text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, AssemblerRaisesCompileError,
    ::testing::Values(ErrorCase{"2 3", "Bad Operand"}, ErrorCase{"2 & 3", "Bad Operand"},
                      ErrorCase{"2 | 3", "Bad Operand"}, ErrorCase{"1)", "Bad Operand"},
                      ErrorCase{"", "Bad Operand"}, ErrorCase{"1+", "Bad Operand"},
                      ErrorCase{"1 ? 2", "Bad Operand"}, ErrorCase{"\x80", "Bad Operand"},
                      ErrorCase{"1 ! 2", "Bad Operator"}, ErrorCase{"coresize", "Undefined Symbol"},
                      ErrorCase{"X=1", "Undefined Symbol"}, ErrorCase{"ab", "Undefined Symbol"},
                      ErrorCase{"3=1", "Illegal variable assignment"},
                      ErrorCase{"30+x=2", "Illegal variable assignment"},
                      ErrorCase{"#$1", "OpMode set twice"}, ErrorCase{"1+#2", "OpMode set twice"},
                      ErrorCase{"}1", "Standards violation (Opmode)"}));

TEST(AssemblerEvaluator, DivisionByZeroIsAnArithmeticErrorNotACompileError) {
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
}

TEST(AssemblerEvaluator, MostNegativeDividedByMinusOneOverflows) {
  AsmFixture f;
  for (const char* text : {"-2147483648/-1", "-2147483648%-1"}) {
    try {
      f.Eval(text);
      FAIL() << text;
    } catch (const EArithmeticError& e) {
      EXPECT_STREQ(e.what(), "Integer overflow");
    }
  }
}

TEST(AssemblerEvaluator, StopsJustAfterTheCharacterThatEndsIt) {
  AsmFixture f;
  SetLineText(f.Core->Asm, "1+2, 3");
  EXPECT_EQ(EvaluateExpression(*f.Core), 3);
  EXPECT_EQ(f.Core->Asm.ScanPos, 5);
  EXPECT_EQ(EvaluateExpression(*f.Core), 3);
  EXPECT_EQ(f.Core->Asm.ScanPos, 8);
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

TEST(AssemblerEvaluator, AssignmentMadeBeforeAnErrorIsKept) {
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
  SetLineText(f.Core->Asm, "x=1");
  EXPECT_THROW(
      {
        try {
          EvaluateExpression(*f.Core);
        } catch (const ECompileError& e) {
          EXPECT_STREQ(e.what(), "Illegal variable assignment");
          throw;
        }
      },
      ECompileError);
}

TEST(AssemblerEvaluator, LastLabelOfANameWins) {
  AsmFixture f;
  f.Core->Asm.Labels = {{"L", 1}, {"L", 4}};
  EXPECT_EQ(f.Eval("L"), 4);
}

TEST(AssemblerEvaluator, PredefinedSymbolsBeatLabels) {
  AsmFixture f;
  f.Core->Asm.Labels = {{"VERSION", 1}};
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

TEST(AssemblerEvaluator, CurLineIsTheInstructionIndex) {
  AsmFixture f;
  SetLineText(f.Core->Asm, "CURLINE");
  f.Core->Asm.CurLine = 3;
  EXPECT_EQ(EvaluateExpression(*f.Core), 3);
}

TEST(AssemblerEvaluator, ModeCharacterSetsTheOperandMode) {
  AsmFixture f;
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

TEST(AssemblerEvaluator, ReadNumberWrapsAndNeedsADigit) {
  AsmFixture f;
  SetLineText(f.Core->Asm, "4294967297x");
  EXPECT_EQ(ReadNumber(*f.Core), 1);
  EXPECT_EQ(f.Core->Asm.ScanPos, 11);
  EXPECT_THROW(ReadNumber(*f.Core), ECompileError);
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

TEST(AssemblerEvaluator, EmbeddedNulEndsTheText) {
  AsmFixture f;
  SetLineText(f.Core->Asm, std::string("4\0+5", 4));
  EXPECT_EQ(EvaluateExpression(*f.Core), 4);
  EXPECT_EQ(f.Core->Asm.ScanPos, 3);
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
