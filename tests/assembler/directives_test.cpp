// Debug directive comments, breakpoint type registration and breakpoint test expressions.

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"

namespace velmora::test {
namespace {

std::vector<int> Types(AsmFixture& f) {
  std::vector<int> out;
  for (int32_t i = 0; i < f.W().CodeLength; ++i)
    out.push_back(f.Cell(size_t(i)).BreakpointType);
  return out;
}

constexpr int kNew = -1; // the type the source registered

TEST(AssemblerDebugDirectives, MarkTheInstructionsTheyCover) {
  const struct {
    std::vector<std::string> Source;
    std::vector<int> Types;
  } cases[] = {
      {{"dat 0", ";break", "dat 1", "dat 2"}, {0, 2, 0}}, // only the next instruction
      {{";trace", "dat 0", "dat 1", ";trace off", "dat 2"}, {2, 2, 0}},
      {{";debug off", ";trace", "dat 0", ";break", "dat 1"}, {0, 0}},
      {{";debug static", ";break", "dat 0", ";debug", ";break", "dat 1"}, {1, 2}}, // not movable
      // A condition is the default for the breaks that follow.
      {{";condition W", ";break", "dat 0", ";trace", "dat 1", ";condition", "dat 2"},
       {kNew, kNew, 2}},
      {{";break R3", "dat 0", "dat 1"}, {kNew, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Source[0]);
    AsmFixture f;
    const int before = f.Core->BreakpointTypeCount;
    ASSERT_EQ(f.Assemble(c.Source), 2);
    std::vector<int> expected = c.Types;
    for (int& t : expected)
      t = t == kNew ? before : t;
    EXPECT_EQ(Types(f), expected);
    const bool registers = std::count(c.Types.begin(), c.Types.end(), kNew) > 0;
    EXPECT_EQ(f.Core->BreakpointTypeCount, before + registers);
    if (c.Source[0] == ";break R3") {
      const TBreakpointRec& t = f.Core->BreakpointTypes[size_t(before)];
      EXPECT_TRUE(t.Read);
      EXPECT_FALSE(t.Execute);
      EXPECT_EQ(t.Frequency, 3);
    }
  }
}

TEST(AssemblerBreakpointTypes, ArgumentsSetTheFlags) {
  // clang-format off
  const struct {
    const char* Argument;
    bool NewEntry;
    int Predefined; // when no entry is made
    bool Execute, Write, IncDec, Compare, Read, Test, Movable;
    int Frequency;
    const char* Expression;
  } cases[] = {
      {"W", true, 0, false, true, false, false, false, false, true, 1, "B==0"},
      {"EW", true, 0, true, true, false, false, false, false, true, 1, "B==0"},
      {"we", true, 0, true, true, false, false, false, false, true, 1, "B==0"},
      {"M", false, 2, false, false, false, false, false, false, false, 1, ""},
      {"F", false, 1, false, false, false, false, false, false, false, 1, ""},
      {"xyz", false, 2, false, false, false, false, false, false, false, 1, ""},
      {"3", true, 0, true, false, false, false, false, false, true, 3, "B==0"},
      {"12 7", true, 0, true, false, false, false, false, false, true, 7, "B==0"},
      {"ICRF", true, 0, false, false, true, true, true, false, false, 1, "B==0"},
      {"T\"a>3\"", true, 0, false, false, false, false, false, true, true, 1, "A>3"},
      {"T\"b==1;W", true, 0, false, false, false, false, false, true, true, 1, "B==1"},
      {"R;W", true, 0, false, false, false, false, true, false, true, 1, "B==0"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Argument);
    AsmFixture f;
    const int before = f.Core->BreakpointTypeCount;
    const int type = RegisterBreakpointType(*f.Core, c.Argument, true);
    EXPECT_EQ(f.Core->BreakpointTypeCount, before + c.NewEntry);
    if (!c.NewEntry) {
      EXPECT_EQ(type, c.Predefined);
      continue;
    }
    ASSERT_EQ(type, before);
    const TBreakpointRec& t = f.Core->BreakpointTypes[size_t(type)];
    EXPECT_EQ(
        std::vector<bool>({t.Execute, t.Write, t.IncDec, t.Compare, t.Read, t.Test, t.Movable}),
        std::vector<bool>({c.Execute, c.Write, c.IncDec, c.Compare, c.Read, c.Test, c.Movable}));
    EXPECT_EQ(t.Frequency, c.Frequency);
    EXPECT_EQ(t.TestExpression, c.Expression);
  }
}

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
  const int type = RegisterBreakpointType(*f.Core, "21474836479", true);
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
