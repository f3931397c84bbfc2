// Labels, equates, FOR/ROF loops, ORG, END, PIN and the pass-1 directive comments.

#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"

namespace velmora::test {
namespace {

std::vector<std::string> Cells(AsmFixture& f) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < f.W().CodeLength; ++i)
    out.push_back(CellText(f.Cell(size_t(i))));
  return out;
}

using Lines = std::vector<std::string>;

// Sources with the cells they give, or the first error they stop at (and the cells kept).
struct SourceCase {
  SourceCase(Lines source, const char* error, Lines cells = {}, size_t errorCount = 1)
      : Source(std::move(source)), Error(error), Cells(std::move(cells)), ErrorCount(errorCount) {}
  Lines Source;
  const char* Error; // "": assembles; else the first error, and status 1
  Lines Cells;
  size_t ErrorCount; // 0: not checked
};

TEST(AssemblerPseudoOps, SourcesGiveTheirCellsOrErrors) {
  const SourceCase cases[] = {
      // Labels resolve relative to the instruction; colons, tabs, several on a line.
      {{"top  mov 0, 1", "     jmp top", "next dat next, top"},
       "",
       {"MOV.I $0, $1", "JMP.B $-1, $0", "DAT.F $0, $-2"}},
      {{"a:\tb:  jmp a", "c", "d:", "\tjmp d"}, "", {"JMP.B $0, $0", "JMP.B $0, $0"}},
      // The rejected label stays on its line, which then fails again as an instruction.
      {{"x dat 0", "x dat 1"}, "Duplicate Symbol in line 2: x dat 1", {}, 2},
      {{"CORESIZE dat 0"}, "Duplicate Symbol in line 1: CORESIZE dat 0", {}, 0},
      // Variables are cleared per assembly but kept across lines.
      {{"dat a=4, 0", "dat a+1, a*2"}, "", {"DAT.F $4, $0", "DAT.F $5, $8"}},
      // y*2 reads 5+1*2: an equate's text goes in unparenthesised.
      {{"x EQU 5", "mov x, x", "y equ x+1", "dat y*2"}, "", {"MOV.I $5, $5", "DAT.F #0, $7"}},
      {{"x EQU 5", "mov.x 0, 1"}, "", {"MOV.X $0, $1"}}, // the modifier word is no name
      {{"a b EQU 4", "EQU 5", "dat a", "c EQU dat 1", "EQU dat 2", "c"},
       "",
       {"DAT.F #0, $4", "DAT.F #0, $1", "DAT.F #0, $2"}},
      {{"m EQU 1", "EQU 2", "dat m+1"},
       "Improper substitution of multi-line equate in line 1:  dat m+1"},
      {{"a EQU b", "b EQU a", "mov a, 0"}, "Recursive reference in line 1:  mov a, 0"},
      {{"s EQU s+1", "dat s"}, "Recursive reference in line 1:  dat s", {}, 0},
      {{"a EQU b+b", "b EQU c*2", "c EQU 3", "dat a, a"}, "", {"DAT.F $12, $12"}},
      {{"m EQU dat 1", "EQU m", "m"}, "Recursive reference", {}, 0},
      // "here" is defined once per expansion.
      {{"m EQU here", "EQU dat 1", "m", "m"}, "Duplicate Symbol", {}, 0},
      {{"m EQU dat 0", "EQU dat 1", "m", "m"},
       "",
       {"DAT.F #0, $0", "DAT.F #0, $1", "DAT.F #0, $0", "DAT.F #0, $1"}},
      {{"x EQU 1", "x EQU 2", "dat x"}, "Duplicate Symbol in line 1: x EQU 2", {}, 0},
      {{"l dat 0", "l EQU 2"}, "Duplicate Symbol in line 2: l EQU 2", {}, 0},
      // Loops: the counter, concatenation, words that only contain it, counts of 0 or less.
      {{"i FOR 3", "dat i", "ROF"}, "", {"DAT.F #0, $1", "DAT.F #0, $2", "DAT.F #0, $3"}},
      {{"i FOR 2", "x&i dat i, x01", "ROF"}, "", {"DAT.F $1, $0", "DAT.F $2, $-1"}},
      {{"i FOR 2", "mov.i i, ii", "ROF", "ii dat 0"},
       "",
       {"MOV.I $1, $2", "MOV.I $2, $1", "DAT.F #0, $0"}},
      {{"dat 9", "FOR 0", "dat 1", "ROF", "n FOR -2", "dat 2", "ROF"}, "", {"DAT.F #0, $9"}},
      {{"n EQU 2", "i FOR n", "j FOR i", "dat i, j", "ROF", "ROF"},
       "",
       {"DAT.F $1, $1", "DAT.F $2, $1", "DAT.F $2, $2"}},
      {{"dat 0", "FOR 2", "dat 1"}, "Missing ROF after FOR in line 1:  dat 0", {"DAT.F #0, $0"}},
      {{"dat 0", "x ROF"}, "ROF with no FOR in line 2:  ROF", {}, 0},
      {{"FOR 2000000000", "dat 1", "ROF"},
       "Too many statements after expansion in line 1:  FOR 2000000000"},
      // A failing END still ends; PIN's operand.
      {{"dat 0", "END nowhere", "x y z 1"}, "Undefined Symbol in line 2:  END nowhere"},
      {{"dat 0", "PIN -1"}, "Negative PIN in line 2:  PIN -1", {}, 0},
      {{"dat 0", "PIN"}, "Missing operand in line 2:  PIN", {}, 0},
      {{"dat 0", "END"}, "", {"DAT.F #0, $0"}},
      // An error in ;assert is reported against its line; the rest assembles.
      {{"dat 0", ";assert NOSUCH", "dat 1"},
       "Undefined Symbol in line 2: ;assert NOSUCH",
       {"DAT.F #0, $0", "DAT.F #0, $1"}},
  };
  for (const SourceCase& c : cases) {
    SCOPED_TRACE(c.Source.back());
    AsmFixture f;
    const bool fails = *c.Error != '\0';
    EXPECT_EQ(f.Assemble(c.Source), fails ? 1 : 2) << (f.Errors.empty() ? "" : f.Errors[0]);
    if (fails) {
      ASSERT_FALSE(f.Errors.empty());
      EXPECT_EQ(f.Errors[0].substr(0, std::strlen(c.Error)), c.Error);
      if (c.ErrorCount) {
        EXPECT_EQ(f.Errors.size(), c.ErrorCount);
      }
    }
    if (!fails || !c.Cells.empty()) {
      EXPECT_EQ(Cells(f), c.Cells);
    }
  }
}

TEST(AssemblerPseudoOps, LabelsStayDefinedAndInjectedOnesSurviveWithoutClearing) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"top  mov 0, 1", "     jmp top", "next dat next, top"}), 2);
  ASSERT_GE(f.Core->Asm.Labels.size(), 2u); // by instruction index
  EXPECT_EQ(f.Core->Asm.Labels[0], (std::pair<std::string, int32_t>{"top", 0}));
  ASSERT_EQ(f.Assemble({"i FOR 2", "x&i dat i, x01", "ROF"}), 2);
  EXPECT_EQ(f.Core->Asm.Labels.back().first, "x02");
  f.Core->Asm.Labels = {{"ABSADDRESS", 0}};
  ASSERT_EQ(f.Assemble({"dat #ABSADDRESS, 1"}, false), 2);
  EXPECT_EQ(f.Cell(0).AField, 0);
  f.Core->Asm.Labels = {{"ABSADDRESS", 0}};
  EXPECT_EQ(f.Assemble({"dat #ABSADDRESS, 1"}, true), 1);
  // Exponential equates are refused.
  Lines src;
  for (int i = 0; i < 30; ++i)
    src.push_back("e" + std::to_string(i + 1) + " EQU e" + std::to_string(i) + "+e" +
                  std::to_string(i));
  src.insert(src.end(), {"e0 EQU 1", "dat e30"});
  EXPECT_EQ(f.Assemble(src), 1);
  EXPECT_EQ(f.Errors.back().substr(0, 31), "Line too long after substitutio");
}

TEST(AssemblerStartAndPin, OrgEndAndPin) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"dat 0", "dat 1", "start dat 2", "dat 3", "END start"}), 2);
  EXPECT_EQ(f.W().StartOffset, 2);
  EXPECT_EQ(f.W().CodeLength, 4);
  ASSERT_EQ(f.Assemble({"ORG go", "dat 0", "go jmp 0", "PIN 7"}), 2);
  EXPECT_EQ(f.W().StartOffset, 1);
  EXPECT_EQ(f.W().Pin, 7);
  EXPECT_EQ(f.W().CodeLength, 2);
  ASSERT_EQ(f.Assemble({"ORG 1", "dat 0", "dat 1", "END 0"}), 2);
  EXPECT_EQ(f.W().StartOffset, 0) << "the last ORG or END wins";
}

TEST(AssemblerStartAndPin, EndStopsAssemblyAndLabelledPseudoOpsBehaveAlike) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"dat 0", "fin END", "dat 1", "this is junk"}), 2);
  EXPECT_EQ(f.W().CodeLength, 1);
  ASSERT_EQ(f.Assemble({"o ORG 1", "dat 0", "p PIN 3", "dat 1"}), 2);
  EXPECT_EQ(f.W().CodeLength, 2);
  EXPECT_EQ(f.W().StartOffset, 1);
  EXPECT_EQ(f.W().Pin, 3);
  ASSERT_EQ(f.Assemble({"dat 0"}), 2); // no PIN: none
  EXPECT_EQ(f.W().Pin, -1);
}

TEST(AssemblerPassOne, RedcodeLineRestartsAndNameIsTaken) {
  AsmFixture f;
  f.W().Name = "No Name";
  ASSERT_EQ(f.Assemble({"dat 1", ";redcode-94", ";name \t Little Imp", ";name Other", "mov 0, 1"}),
            2);
  EXPECT_EQ(f.W().CodeLength, 1);
  EXPECT_EQ(CellText(f.Cell(0)), "MOV.I $0, $1");
  EXPECT_EQ(f.W().Name, "Little Imp");
  f.W().Name = "Kept";
  ASSERT_EQ(f.Assemble({";name New", "dat 0"}), 2);
  EXPECT_EQ(f.W().Name, "Kept");
}

TEST(AssemblerPassOne, AssertFalseWarnsAndCompiles) {
  AsmFixture f;
  f.W().Name = "W";
  ASSERT_EQ(f.Assemble({";assert CORESIZE == 8000", ";assert\t256", "dat 0"}), 2);
  EXPECT_TRUE(f.Platform.Messages.empty());
  AsmFixture g(2, 8192);
  g.W().Name = "W";
  ASSERT_EQ(g.Assemble({";assert CORESIZE == 8000", "dat 0"}), 2);
  ASSERT_EQ(g.Platform.Messages.size(), 1u);
  EXPECT_EQ(g.Platform.Messages[0], "Warrior W: assert evaluates to false");
  EXPECT_EQ(g.W().CodeLength, 1);
}

TEST(AssemblerPassOne, HostileBytesAreHandledTheSameEveryTime) {
  // NUL, Latin-1 letters, DOS end-of-file and other control bytes, inside and around lines.
  const Lines src = {std::string("\0", 1),
                     "dat 1 ; caf\xe9",
                     std::string("mov 0, 1\0junk", 13),
                     "\x1a",
                     "\xe9t\xe9 dat 2",
                     std::string("jmp 0\x1a"),
                     "lbl\x80 dat 3",
                     "dat 4\x7f",
                     std::string(";redcod\0e", 9),
                     "\xff"};
  std::vector<std::string> firstErrors;
  std::vector<std::string> firstCells;
  for (int run = 0; run < 2; ++run) {
    AsmFixture f;
    uint8_t status = f.Assemble(src);
    EXPECT_EQ(status, 1);
    if (run == 0) {
      firstErrors = f.Errors;
      firstCells = Cells(f);
      EXPECT_EQ(firstCells.at(0), "DAT.F #0, $1");
      EXPECT_EQ(firstCells.at(1), "MOV.I $0, $1");
      EXPECT_EQ(firstCells.at(2), "JMP.B $0, $0");
    } else {
      EXPECT_EQ(f.Errors, firstErrors);
      EXPECT_EQ(Cells(f), firstCells);
    }
  }
}

} // namespace
} // namespace velmora::test
