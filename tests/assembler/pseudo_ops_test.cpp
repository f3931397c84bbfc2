// Labels, equates, FOR/ROF loops, ORG, END, PIN and the pass-1 directive comments.

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
       "Duplicate Symbol in line 2: x dat 1 | Bad Opcode in line 2: x dat 1 | DAT.F #0, $0 | DAT.A "
       "#0, #0"},
      {{"CORESIZE dat 0"},
       "Duplicate Symbol in line 1: CORESIZE dat 0 | Bad Opcode in line 1: CORESIZE dat 0 | DAT.A "
       "#0, #0"},
      // Variables are cleared per assembly but kept across lines.
      {{"dat a=4, 0", "dat a+1, a*2"}, "DAT.F $4, $0 | DAT.F $5, $8"},
      // y*2 reads 5+1*2: an equate's text goes in unparenthesised.
      {{"x EQU 5", "mov x, x", "y equ x+1", "dat y*2"}, "MOV.I $5, $5 | DAT.F #0, $7"},
      {{"x EQU 5", "mov.x 0, 1"}, "MOV.X $0, $1"}, // the modifier word is no name
      {{"a b EQU 4", "EQU 5", "dat a", "c EQU dat 1", "EQU dat 2", "c"},
       "DAT.F #0, $4 | DAT.F #0, $1 | DAT.F #0, $2"},
      {{"m EQU 1", "EQU 2", "dat m+1"},
       "Improper substitution of multi-line equate in line 1:  dat m+1 | DAT.A #0, #0"},
      {{"a EQU b", "b EQU a", "mov a, 0"},
       "Recursive reference in line 1:  mov a, 0 | DAT.A #0, #0"},
      {{"s EQU s+1", "dat s"}, "Recursive reference in line 1:  dat s | DAT.A #0, #0"},
      {{"a EQU b+b", "b EQU c*2", "c EQU 3", "dat a, a"}, "DAT.F $12, $12"},
      {{"m EQU dat 1", "EQU m", "m"},
       "Recursive reference in line 2: m | Bad Opcode in line 2: m | DAT.F #0, $1 | DAT.A #0, #0"},
      // "here" is defined once per expansion.
      {{"m EQU here", "EQU dat 1", "m", "m"},
       "Duplicate Symbol in line 2: here | Bad Opcode in line 2: here | DAT.F #0, $1 | DAT.A #0, "
       "#0 | DAT.F #0, $1"},
      {{"m EQU dat 0", "EQU dat 1", "m", "m"},
       "DAT.F #0, $0 | DAT.F #0, $1 | DAT.F #0, $0 | DAT.F #0, $1"},
      {{"x EQU 1", "x EQU 2", "dat x"},
       "Duplicate Symbol in line 1: x EQU 2 | Bad Opcode in line 1: x EQU 2 | DAT.A #0, #0 | DAT.F "
       "#0, $1"},
      {{"l dat 0", "l EQU 2"},
       "Duplicate Symbol in line 2: l EQU 2 | Bad Opcode in line 2: l EQU 2 | DAT.F #0, $0 | DAT.A "
       "#0, #0"},
      // Loops: the counter, concatenation, words that only contain it, counts of 0 or less.
      {{"i FOR 3", "dat i", "ROF"}, "DAT.F #0, $1 | DAT.F #0, $2 | DAT.F #0, $3"},
      {{"i FOR 2", "x&i dat i, x01", "ROF"}, "DAT.F $1, $0 | DAT.F $2, $-1"},
      {{"i FOR 2", "mov.i i, ii", "ROF", "ii dat 0"}, "MOV.I $1, $2 | MOV.I $2, $1 | DAT.F #0, $0"},
      {{"dat 9", "FOR 0", "dat 1", "ROF", "n FOR -2", "dat 2", "ROF"}, "DAT.F #0, $9"},
      {{"n EQU 2", "i FOR n", "j FOR i", "dat i, j", "ROF", "ROF"},
       "DAT.F $1, $1 | DAT.F $2, $1 | DAT.F $2, $2"},
      {{"dat 0", "FOR 2", "dat 1"}, "Missing ROF after FOR in line 1:  dat 0 | DAT.F #0, $0"},
      {{"dat 0", "x ROF"},
       "ROF with no FOR in line 2:  ROF | Bad Operand in line 2:  ROF | DAT.F #0, $0 | DAT.A #0, "
       "#0"},
      {{"FOR 2000000000", "dat 1", "ROF"},
       "Too many statements after expansion in line 1:  FOR 2000000000 | DAT.F #0, $0 | DAT.A #0, "
       "#0"},
      // ORG, END and PIN: a failing END still ends; the last ORG or END wins.
      {{"dat 0", "END nowhere", "x y z 1"},
       "Undefined Symbol in line 2:  END nowhere | DAT.F #0, $0"},
      {{"dat 0", "PIN -1"}, "Negative PIN in line 2:  PIN -1 | DAT.F #0, $0"},
      {{"dat 0", "PIN"}, "Missing operand in line 2:  PIN | DAT.F #0, $0"},
      {{"dat 0", "END"}, "DAT.F #0, $0"},
      {{"dat 0", "fin END", "dat 1", "this is junk"}, "DAT.F #0, $0"},
      // An error in ;assert is reported against its line; the rest assembles.
      {{"dat 0", ";assert NOSUCH", "dat 1"},
       "Undefined Symbol in line 2: ;assert NOSUCH | DAT.F #0, $0 | DAT.F #0, $1"},
      // A ;redcode line starts the source again.
      {{"dat 1", ";redcode-94", ";name \t Imp", "mov 0, 1"}, "MOV.I $0, $1"},
  };
  AsmFixture f;
  for (const auto& [source, result] : cases)
    EXPECT_EQ(f.Result(source), result) << source.back();
}

TEST(AssemblerPseudoOps, StartPinNameAndLabelsAreKept) {
  const struct {
    Lines Source;
    int32_t Start, Pin;
    const char* Name; // from the first ;name after the last ;redcode when unnamed, else kept
  } cases[] = {
      {{"dat 0", "dat 1", "start dat 2", "dat 3", "END start"}, 2, -1, "Kept"},
      {{"ORG go", "dat 0", "go jmp 0", "PIN 7"}, 1, 7, "Kept"},
      {{"ORG 1", "dat 0", "dat 1", "END 0"}, 0, -1, "Kept"},
      {{"o ORG 1", "dat 0", "p PIN 3", "dat 1"}, 1, 3, "Kept"},
      {{";name New", "dat 0"}, 0, -1, "Kept"},
      {{"dat 1", ";redcode", ";name \t Little Imp", ";name Other", "dat 0"}, 0, -1, "Little Imp"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Source[0]);
    AsmFixture f;
    f.W().Name = std::string(c.Name) == "Kept" ? "Kept" : "No Name";
    ASSERT_EQ(f.Assemble(c.Source), 2);
    EXPECT_EQ(f.W().StartOffset, c.Start);
    EXPECT_EQ(f.W().Pin, c.Pin);
    EXPECT_EQ(f.W().Name, c.Name);
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

TEST(AssemblerPassOne, AFalseAssertWarnsAndCompiles) {
  for (const int32_t core : {8000, 8192}) {
    AsmFixture f(2, core);
    f.W().Name = "W";
    EXPECT_EQ(f.Result({";assert CORESIZE == 8000", ";assert\t256", "dat 0"}), "DAT.F #0, $0");
    EXPECT_EQ(f.Platform.Messages,
              core == 8000 ? Lines{} : Lines{"Warrior W: assert evaluates to false"});
  }
}

} // namespace
} // namespace velmora::test
