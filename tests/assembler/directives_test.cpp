// Debug directive comments, breakpoint type registration and breakpoint test expressions.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

// The breakpoint types of the cells: 0 none, 1 static, 2 movable, N the one the source made.
TEST(AssemblerDebugDirectives, MarkTheInstructionsTheyCover) {
  const std::pair<Lines, const char*> cases[] = {
      {{"dat 0", ";break", "dat 1", "dat 2"}, "020"}, // only the next instruction
      {{";trace", "dat 0", "dat 1", ";trace off", "dat 2"}, "220"},
      {{";debug off", ";trace", "dat 0", ";break", "dat 1"}, "00"},
      {{";debug static", ";break", "dat 0", ";debug", ";break", "dat 1"}, "12"}, // not movable
      // A condition is the default for the breaks that follow.
      {{";condition W", ";break", "dat 0", ";trace", "dat 1", ";condition", "dat 2"}, "NN2"},
      {{";break R3", "dat 0", "dat 1"}, "N0"}};
  for (const auto& [source, types] : cases) {
    SCOPED_TRACE(source[0]);
    AsmFixture f;
    const int before = f.Core->BreakpointTypeCount;
    ASSERT_EQ(f.Assemble(source), 2);
    std::string got;
    for (int32_t i = 0; i < f.W().CodeLength; ++i) {
      const int t = f.Cell(size_t(i)).BreakpointType;
      got += t == before ? 'N' : char('0' + t);
    }
    EXPECT_EQ(got, types);
    EXPECT_EQ(f.Core->BreakpointTypeCount, before + (got.find('N') != std::string::npos));
  }
}

// The flags of a new type as letters: Execute Write IncDec Compare Read Test Movable.
std::string Flags(const TBreakpointRec& t) {
  std::string s;
  const std::pair<bool, char> flags[] = {{t.Execute, 'E'}, {t.Write, 'W'}, {t.IncDec, 'I'},
                                         {t.Compare, 'C'}, {t.Read, 'R'},  {t.Test, 'T'},
                                         {t.Movable, 'M'}};
  for (const auto& [set, letter] : flags)
    if (set) s += letter;
  return s + " " + std::to_string(t.Frequency) + " " + t.TestExpression;
}

TEST(AssemblerBreakpointTypes, ArgumentsSetTheFlags) {
  // A number: a predefined type (no new entry); else the new type's flags.
  const std::pair<const char*, const char*> cases[] = {{"W", "WM 1 B==0"},
                                                       {"EW", "EWM 1 B==0"},
                                                       {"we", "EWM 1 B==0"},
                                                       {"M", "2"},
                                                       {"F", "1"},
                                                       {"xyz", "2"},
                                                       {"3", "EM 3 B==0"},
                                                       {"12 7", "EM 7 B==0"},
                                                       {"ICRF", "ICR 1 B==0"},
                                                       {"T\"a>3\"", "TM 1 A>3"},
                                                       {"T\"b==1;W", "TM 1 B==1"},
                                                       {"R;W", "RM 1 B==0"},
                                                       {"R3", "RM 3 B==0"},
                                                       {"21474836479", "EM 2147483647 B==0"}};
  for (const auto& [argument, expected] : cases) {
    SCOPED_TRACE(argument);
    AsmFixture f;
    const int before = f.Core->BreakpointTypeCount;
    const int type = RegisterBreakpointType(*f.Core, argument, true);
    EXPECT_EQ(type == before ? Flags(f.Core->BreakpointTypes[size_t(type)]) : std::to_string(type),
              expected);
    EXPECT_EQ(f.Core->BreakpointTypeCount, before + (type == before));
    // Only the frequency that does not fit is told.
    EXPECT_EQ(f.Platform.Messages, argument[0] == '2' ? Lines{"Frequency is too large"} : Lines{});
  }
}

TEST(AssemblerOperandTest, EvaluatesAgainstTheCellFieldsAndShowsFailures) {
  AsmFixture f;
  InstallAssembler(*f.Core);
  const int type = RegisterBreakpointType(*f.Core, "T\"B==0 && a>2\"", true);
  CoreCell cell =
      MakeCell(Opcode::DJN, Modifier::B, AddressMode::Direct, 3, AddressMode::Direct, 0);
  cell.BreakpointType = uint8_t(type);
  EXPECT_TRUE(f.Core->EvaluateOperandTest(cell));
  cell.BField = 1;
  EXPECT_FALSE(f.Core->EvaluateOperandTest(cell));
  cell.BField = 0;
  cell.AField = 2;
  EXPECT_FALSE(EvaluateOperandTest(*f.Core, cell));
  // A test that cannot be read gives no type; one that fails when it runs counts as false.
  f.Core->Asm.Labels = {{"keep", 4}};
  f.Core->Asm.CurLine = 9;
  EXPECT_EQ(RegisterBreakpointType(*f.Core, "T\"A+\"", true), 0);
  EXPECT_EQ(RegisterBreakpointType(*f.Core, "T\"1/A\"", true), 0);
  EXPECT_EQ(f.Core->Asm.Labels.size(), 1u);
  EXPECT_EQ(f.Core->Asm.CurLine, 9);
  cell.BreakpointType = 5;
  for (const char* test : {"A/B", "C"}) {
    f.Core->BreakpointTypes[5].TestExpression = test;
    EXPECT_FALSE(EvaluateOperandTest(*f.Core, cell));
  }
  f.Core->BreakpointTypeCount = kBreakpointTypeMax;
  EXPECT_EQ(RegisterBreakpointType(*f.Core, "W", true), 255);
  EXPECT_EQ(f.Core->BreakpointTypeCount, kBreakpointTypeMax);
  const std::string error = "Error evaluating operand test expression ";
  EXPECT_EQ(f.Platform.Messages,
            (Lines{error + "(A+): Bad Operand", error + "(1/A): Division by zero",
                   error + "(A/B): Division by zero", error + "(C): Undefined Symbol",
                   "Maximum number of breakpoint types exceeded"}));
}

} // namespace
} // namespace velmora::test
