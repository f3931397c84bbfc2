// Labels, equates, FOR/ROF loops, ORG, END, PIN, the pass-1 directive comments, debug
// directives, breakpoint types and breakpoint test expressions.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

// Sources with their errors and cells (see AsmFixture::Result).
TEST(AssemblerPseudoOps, SourcesGiveTheirCellsOrErrors) {
  const std::pair<Lines, const char*> cases[] = {
      // Labels resolve relative to the instruction; colons, tabs, several on a line.
      {{"top  mov 0, 1", "     jmp top", "next dat next, top"},
       "MOV.I $0, $1 | JMP.B $-1, $0 | DAT.F $0, $-2"},
      {{"a:\tb:  jmp a", "c", "d:", "\tjmp d"}, "JMP.B $0, $0 | JMP.B $0, $0"},
      // The rejected label stays on its line, which then fails again as an instruction.
      {{"x dat 0", "x dat 1"},
       "Duplicate Symbol in line 2: x dat 1 | Bad Opcode in line 2: x dat 1 | DAT.F #0, $0 | -"},
      {{"CORESIZE dat 0"},
       "Duplicate Symbol in line 1: CORESIZE dat 0 | Bad Opcode in line 1: CORESIZE dat 0 | -"},
      // Variables are cleared per assembly but kept across lines.
      {{"dat a=4, 0", "dat a+1, a*2"}, "DAT.F $4, $0 | DAT.F $5, $8"},
      // y*2 reads 5+1*2: an equate's text goes in unparenthesised.
      {{"x EQU 5", "mov x, x", "y equ x+1", "dat y*2"}, "MOV.I $5, $5 | DAT.F #0, $7"},
      {{"x EQU 5", "mov.x 0, 1"}, "MOV.X $0, $1"}, // the modifier word is no name
      {{"a b EQU 4", "EQU 5", "dat a", "c EQU dat 1", "EQU dat 2", "c"},
       "DAT.F #0, $4 | DAT.F #0, $1 | DAT.F #0, $2"},
      {{"m EQU 1", "EQU 2", "dat m+1"},
       "Improper substitution of multi-line equate in line 1:  dat m+1 | -"},
      {{"a EQU b", "b EQU a", "mov a, 0"}, "Recursive reference in line 1:  mov a, 0 | -"},
      {{"s EQU s+1", "dat s"}, "Recursive reference in line 1:  dat s | -"},
      {{"a EQU b+b", "b EQU c*2", "c EQU 3", "dat a, a"}, "DAT.F $12, $12"},
      {{"m EQU dat 1", "EQU m", "m"},
       "Recursive reference in line 2: m | Bad Opcode in line 2: m | DAT.F #0, $1 | -"},
      // "here" is defined once per expansion.
      {{"m EQU here", "EQU dat 1", "m", "m"},
       "Duplicate Symbol in line 2: here | Bad Opcode in line 2: here | DAT.F #0, $1 | - | DAT.F "
       "#0, $1"},
      {{"m EQU dat 0", "EQU dat 1", "m", "m"},
       "DAT.F #0, $0 | DAT.F #0, $1 | DAT.F #0, $0 | DAT.F #0, $1"},
      {{"x EQU 1", "x EQU 2", "dat x"},
       "Duplicate Symbol in line 1: x EQU 2 | Bad Opcode in line 1: x EQU 2 | - | DAT.F "
       "#0, $1"},
      {{"l dat 0", "l EQU 2"},
       "Duplicate Symbol in line 2: l EQU 2 | Bad Opcode in line 2: l EQU 2 | DAT.F #0, $0 | -"},
      // Loops: the counter, concatenation, words that only contain it, counts of 0 or less.
      {{"i FOR 3", "dat i", "ROF"}, "DAT.F #0, $1 | DAT.F #0, $2 | DAT.F #0, $3"},
      {{"i FOR 2", "x&i dat i, x01", "ROF"}, "DAT.F $1, $0 | DAT.F $2, $-1"},
      {{"i FOR 2", "mov.i i, ii", "ROF", "ii dat 0"}, "MOV.I $1, $2 | MOV.I $2, $1 | DAT.F #0, $0"},
      {{"dat 9", "FOR 0", "dat 1", "ROF", "n FOR -2", "dat 2", "ROF"}, "DAT.F #0, $9"},
      {{"n EQU 2", "i FOR n", "j FOR i", "dat i, j", "ROF", "ROF"},
       "DAT.F $1, $1 | DAT.F $2, $1 | DAT.F $2, $2"},
      {{"dat 0", "FOR 2", "dat 1"}, "Missing ROF after FOR in line 1:  dat 0 | DAT.F #0, $0"},
      {{"dat 0", "x ROF"},
       "ROF with no FOR in line 2:  ROF | Bad Operand in line 2:  ROF | DAT.F #0, $0 | -"},
      {{"FOR 2000000000", "dat 1", "ROF"},
       "Too many statements after expansion in line 1:  FOR 2000000000 | DAT.F #0, $0 | -"},
      // ORG, END and PIN: a failing END still ends; the last ORG or END wins.
      {{"dat 0", "END nowhere", "x y z 1"},
       "Undefined Symbol in line 2:  END nowhere | DAT.F #0, $0"},
      {{"dat 0", "PIN -1"}, "Negative PIN in line 2:  PIN -1 | DAT.F #0, $0"},
      {{"dat 0", "PIN"}, "Missing operand in line 2:  PIN | DAT.F #0, $0"},
      {{"dat 0", "END"}, "DAT.F #0, $0"},
      {{"dat 0", "fin END", "dat 1", "this is junk"}, "DAT.F #0, $0"},
      {{"dat 0", "dat 1", "start dat 2", "END start"},
       "DAT.F #0, $0 | DAT.F #0, $1 | DAT.F #0, $2 start 2"},
      {{"ORG go", "dat 0", "go jmp 0", "PIN 7"}, "DAT.F #0, $0 | JMP.B $0, $0 start 1 pin 7"},
      {{"ORG 1", "dat 0", "dat 1", "END 0"}, "DAT.F #0, $0 | DAT.F #0, $1"},
      {{"o ORG 1", "dat 0", "p PIN 3", "dat 1"}, "DAT.F #0, $0 | DAT.F #0, $1 start 1 pin 3"},
      // A true ;assert is passed; an error in one is reported against its line.
      {{";assert CORESIZE == 8000", ";assert\t256", "dat 0"}, "DAT.F #0, $0"},
      {{"dat 0", ";assert NOSUCH", "dat 1"},
       "Undefined Symbol in line 2: ;assert NOSUCH | DAT.F #0, $0 | DAT.F #0, $1"},
      // A ;redcode line starts the source again.
      {{"dat 1", ";redcode-94", ";name \t Imp", "mov 0, 1"}, "MOV.I $0, $1"},
  };
  AsmFixture f;
  for (const auto& [source, result] : cases)
    EXPECT_EQ(f.Result(source), result) << source.back();
}

TEST(AssemblerPseudoOps, NamesAndLabelsAreKept) {
  // The name of the first ;name after the last ;redcode, when the warrior has none yet.
  for (const char* name : {"No Name", "Kept"}) {
    AsmFixture f;
    f.W().Name = name;
    ASSERT_EQ(f.Assemble({"dat 1", ";redcode", ";name \t Little Imp", ";name Other", "dat 0"}), 2);
    EXPECT_EQ(f.W().Name, std::string(name) == "Kept" ? "Kept" : "Little Imp");
  }
  // Labels stay defined by instruction index; injected ones survive only without clearing.
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"top  mov 0, 1", "i FOR 2", "x&i dat i, x01", "ROF"}), 2);
  EXPECT_EQ(f.Core->Asm.Labels.front(), (std::pair<std::string, int32_t>{"top", 0}));
  EXPECT_EQ(f.Core->Asm.Labels.back(), (std::pair<std::string, int32_t>{"x02", 2}));
  f.Core->Asm.Labels = {{"ABSADDRESS", 0}};
  ASSERT_EQ(f.Assemble({"dat #ABSADDRESS, 1"}, false), 2);
  EXPECT_EQ(f.Cell(0).AField, 0);
  f.Core->Asm.Labels = {{"ABSADDRESS", 0}};
  EXPECT_EQ(f.Assemble({"dat #ABSADDRESS, 1"}, true), 1);
}

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
  // "argument|type": a number is a predefined type (no new entry); else the new type's flags.
  for (const std::string c :
       {"W|WM 1 B==0", "EW|EWM 1 B==0", "we|EWM 1 B==0", "M|2", "F|1", "xyz|2", "3|EM 3 B==0",
        "12 7|EM 7 B==0", "ICRF|ICR 1 B==0", "T\"a>3\"|TM 1 A>3", "T\"b==1;W|TM 1 B==1",
        "R;W|RM 1 B==0", "R3|RM 3 B==0", "21474836479|EM 2147483647 B==0"}) {
    const std::string argument = c.substr(0, c.find('|')), expected = c.substr(c.find('|') + 1);
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
