// Debug directive comments, breakpoint type registration and breakpoint test expressions.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

std::vector<int> Types(AsmFixture& f) {
  std::vector<int> out;
  for (int32_t i = 0; i < f.W().CodeLength; ++i)
    out.push_back(f.Cell(size_t(i)).BreakpointType);
  return out;
}

TEST(AssemblerDebugDirectives, BreakMarksOnlyTheNextInstruction) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"dat 0", ";break", "dat 1", "dat 2"}), 2);
  EXPECT_EQ(Types(f), (std::vector<int>{0, 2, 0}));
}

TEST(AssemblerDebugDirectives, TraceMarksUntilTraceOff) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({";trace", "dat 0", "dat 1", ";trace off", "dat 2"}), 2);
  EXPECT_EQ(Types(f), (std::vector<int>{2, 2, 0}));
}

TEST(AssemblerDebugDirectives, DebugOffClearsEveryByteAndStaticMeansNotMovable) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({";debug off", ";trace", "dat 0", ";break", "dat 1"}), 2);
  EXPECT_EQ(Types(f), (std::vector<int>{0, 0}));
  ASSERT_EQ(f.Assemble({";debug static", ";break", "dat 0", ";debug", ";break", "dat 1"}), 2);
  EXPECT_EQ(Types(f), (std::vector<int>{1, 2}));
}

TEST(AssemblerDebugDirectives, ConditionSetsTheDefaultForFollowingBreaks) {
  AsmFixture f;
  int before = f.Core->BreakpointTypeCount;
  ASSERT_EQ(
      f.Assemble({";condition W", ";break", "dat 0", ";trace", "dat 1", ";condition", "dat 2"}), 2);
  EXPECT_EQ(f.Core->BreakpointTypeCount, before + 1);
  EXPECT_EQ(Types(f), (std::vector<int>{before, before, 2}));
}

TEST(AssemblerDebugDirectives, BreakWithArgumentRegistersAType) {
  AsmFixture f;
  int before = f.Core->BreakpointTypeCount;
  ASSERT_EQ(f.Assemble({";break R3", "dat 0", "dat 1"}), 2);
  EXPECT_EQ(Types(f), (std::vector<int>{before, 0}));
  const TBreakpointRec& t = f.Core->BreakpointTypes[size_t(before)];
  EXPECT_TRUE(t.Read);
  EXPECT_FALSE(t.Execute);
  EXPECT_EQ(t.Frequency, 3);
}

struct TypeCase {
  const char* Argument;
  bool NewEntry;
  int Predefined; // when no entry is made
  bool Execute, Write, IncDec, Compare, Read, Test, Movable;
  int Frequency;
  const char* Expression;
};

void PrintTo(const TypeCase& c, std::ostream* os) {
  *os << c.Argument;
}

class AssemblerRegistersType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(AssemblerRegistersType, Flags) {
  const TypeCase& c = GetParam();
  AsmFixture f;
  int before = f.Core->BreakpointTypeCount;
  int type = RegisterBreakpointType(*f.Core, c.Argument, true);
  if (!c.NewEntry) {
    EXPECT_EQ(type, c.Predefined) << c.Argument;
    EXPECT_EQ(f.Core->BreakpointTypeCount, before);
    return;
  }
  ASSERT_EQ(type, before) << c.Argument;
  EXPECT_EQ(f.Core->BreakpointTypeCount, before + 1);
  const TBreakpointRec& t = f.Core->BreakpointTypes[size_t(type)];
  EXPECT_EQ(t.Execute, c.Execute) << c.Argument;
  EXPECT_EQ(t.Write, c.Write) << c.Argument;
  EXPECT_EQ(t.IncDec, c.IncDec) << c.Argument;
  EXPECT_EQ(t.Compare, c.Compare) << c.Argument;
  EXPECT_EQ(t.Read, c.Read) << c.Argument;
  EXPECT_EQ(t.Test, c.Test) << c.Argument;
  EXPECT_EQ(t.Movable, c.Movable) << c.Argument;
  EXPECT_EQ(t.Frequency, c.Frequency) << c.Argument;
  EXPECT_EQ(t.TestExpression, c.Expression) << c.Argument;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, AssemblerRegistersType,
    ::testing::Values(
        TypeCase{"W", true, 0, false, true, false, false, false, false, true, 1, "B==0"},
        TypeCase{"EW", true, 0, true, true, false, false, false, false, true, 1, "B==0"},
        TypeCase{"we", true, 0, true, true, false, false, false, false, true, 1, "B==0"},
        TypeCase{"M", false, 2, false, false, false, false, false, false, false, 1, ""},
        TypeCase{"F", false, 1, false, false, false, false, false, false, false, 1, ""},
        TypeCase{"xyz", false, 2, false, false, false, false, false, false, false, 1, ""},
        TypeCase{"3", true, 0, true, false, false, false, false, false, true, 3, "B==0"},
        TypeCase{"12 7", true, 0, true, false, false, false, false, false, true, 7, "B==0"},
        TypeCase{"ICRF", true, 0, false, false, true, true, true, false, false, 1, "B==0"},
        TypeCase{"T\"a>3\"", true, 0, false, false, false, false, false, true, true, 1, "A>3"},
        TypeCase{"T\"b==1;W", true, 0, false, false, false, false, false, true, true, 1, "B==1"},
        TypeCase{"R;W", true, 0, false, false, false, false, true, false, true, 1, "B==0"}));

TEST(AssemblerBreakpointTypes, BadConditionGivesNoBreakpointAndAMessage) {
  AsmFixture f;
  f.Core->Asm.Labels = {{"keep", 4}};
  f.Core->Asm.CurLine = 9;
  EXPECT_EQ(RegisterBreakpointType(*f.Core, "T\"A+\"", true), 0);
  ASSERT_EQ(f.Platform.Messages.size(), 1u);
  EXPECT_EQ(f.Platform.Messages[0], "Error evaluating operand test expression (A+): Bad Operand");
  EXPECT_EQ(f.Core->Asm.Labels.size(), 1u);
  EXPECT_EQ(f.Core->Asm.CurLine, 9);
  EXPECT_EQ(RegisterBreakpointType(*f.Core, "T\"1/A\"", true), 0);
  EXPECT_EQ(f.Platform.Messages[1],
            "Error evaluating operand test expression (1/A): Division by zero");
}

TEST(AssemblerBreakpointTypes, TableFullGives255) {
  AsmFixture f;
  f.Core->BreakpointTypeCount = kBreakpointTypeMax;
  EXPECT_EQ(RegisterBreakpointType(*f.Core, "W", true), 255);
  ASSERT_EQ(f.Platform.Messages.size(), 1u);
  EXPECT_EQ(f.Platform.Messages[0], "Maximum number of breakpoint types exceeded");
  EXPECT_EQ(f.Core->BreakpointTypeCount, kBreakpointTypeMax);
}

TEST(AssemblerBreakpointTypes, FrequencyOverflowDigitsAreIgnored) {
  AsmFixture f;
  int type = RegisterBreakpointType(*f.Core, "21474836479", true);
  EXPECT_EQ(f.Core->BreakpointTypes[size_t(type)].Frequency, 2147483647);
  ASSERT_EQ(f.Platform.Messages.size(), 1u);
  EXPECT_EQ(f.Platform.Messages[0], "Frequency is too large");
}

TEST(AssemblerOperandTest, EvaluatesAgainstTheCellFields) {
  AsmFixture f;
  InstallAssembler(*f.Core);
  int type = RegisterBreakpointType(*f.Core, "T\"B==0 && a>2\"", true);
  ASSERT_GT(type, 2);
  CoreCell cell =
      MakeCell(Opcode::DJN, Modifier::B, AddressMode::Direct, 3, AddressMode::Direct, 0);
  cell.BreakpointType = uint8_t(type);
  EXPECT_TRUE(f.Core->EvaluateOperandTest(cell));
  cell.BField = 1;
  EXPECT_FALSE(f.Core->EvaluateOperandTest(cell));
  cell.BField = 0;
  cell.AField = 2;
  EXPECT_FALSE(EvaluateOperandTest(*f.Core, cell));
  EXPECT_TRUE(f.Platform.Messages.empty());
}

TEST(AssemblerOperandTest, ErrorsAreShownAndCountAsFalse) {
  AsmFixture f;
  f.Core->BreakpointTypes[5].TestExpression = "A/B";
  CoreCell cell =
      MakeCell(Opcode::DAT, Modifier::F, AddressMode::Direct, 4, AddressMode::Direct, 0);
  cell.BreakpointType = 5;
  EXPECT_FALSE(EvaluateOperandTest(*f.Core, cell));
  ASSERT_EQ(f.Platform.Messages.size(), 1u);
  EXPECT_EQ(f.Platform.Messages[0],
            "Error evaluating operand test expression (A/B): Division by zero");
  f.Core->BreakpointTypes[5].TestExpression = "C";
  EXPECT_FALSE(EvaluateOperandTest(*f.Core, cell));
  EXPECT_EQ(f.Platform.Messages[1],
            "Error evaluating operand test expression (C): Undefined Symbol");
}

} // namespace
} // namespace velmora::test
