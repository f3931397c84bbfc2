// Labels, equates, FOR/ROF loops, ORG, END, PIN and the pass-1 directive comments.

#include <gtest/gtest.h>

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

TEST(AssemblerLabels, ResolveRelativeToTheInstruction) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"top  mov 0, 1", "     jmp top", "next dat next, top"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"MOV.I $0, $1", "JMP.B $-1, $0", "DAT.F $0, $-2"}));
  // Labels stay defined after the assembly, by instruction index.
  ASSERT_GE(f.Core->Asm.Labels.size(), 2u);
  EXPECT_EQ(f.Core->Asm.Labels[0], (std::pair<std::string, int32_t>{"top", 0}));
}

TEST(AssemblerLabels, ColonsTabsAndSeveralLabelsOnALine) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"a:\tb:  jmp a", "c", "d:", "\tjmp d"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"JMP.B $0, $0", "JMP.B $0, $0"}));
}

TEST(AssemblerLabels, DuplicateAndPredefinedNamesAreRejected) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"x dat 0", "x dat 1"}), 1);
  // The rejected label stays on its line, which then fails again as an instruction.
  ASSERT_EQ(f.Errors.size(), 2u);
  EXPECT_EQ(f.Errors[0], "Duplicate Symbol in line 2: x dat 1");
  EXPECT_EQ(f.Errors[1], "Bad Opcode in line 2: x dat 1");
  EXPECT_EQ(f.Assemble({"CORESIZE dat 0"}), 1);
  EXPECT_EQ(f.Errors[0], "Duplicate Symbol in line 1: CORESIZE dat 0");
}

TEST(AssemblerLabels, ClearFlagKeepsInjectedSymbols) {
  AsmFixture f;
  f.Core->Asm.Labels = {{"ABSADDRESS", 0}};
  ASSERT_EQ(f.Assemble({"dat #ABSADDRESS, 1"}, false), 2);
  EXPECT_EQ(f.Cell(0).AField, 0);
  f.Core->Asm.Labels = {{"ABSADDRESS", 0}};
  EXPECT_EQ(f.Assemble({"dat #ABSADDRESS, 1"}, true), 1);
}

TEST(AssemblerLabels, VariablesAreClearedPerAssemblyButKeptAcrossLines) {
  AsmFixture f;
  f.Core->Asm.Variables[0] = 99;
  ASSERT_EQ(f.Assemble({"dat a=4, 0", "dat a+1, a*2"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"DAT.F $4, $0", "DAT.F $5, $8"}));
}

TEST(AssemblerEquates, OneLineEquateIsTextual) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"x EQU 5", "mov x, x", "y equ x+1", "dat y*2"}), 2);
  // y*2 reads 5+1*2: the text goes in unparenthesised.
  EXPECT_EQ(Cells(f), (Lines{"MOV.I $5, $5", "DAT.F #0, $7"}));
}

TEST(AssemblerEquates, ModifierWordIsNeverSubstituted) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"x EQU 5", "mov.x 0, 1"}), 2);
  EXPECT_EQ(CellText(f.Cell(0)), "MOV.X $0, $1");
}

TEST(AssemblerEquates, SeveralNamesAndContinuationLines) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"a b EQU 4", "EQU 5", "dat a", "c EQU dat 1", "EQU dat 2", "c"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"DAT.F #0, $4", "DAT.F #0, $1", "DAT.F #0, $2"}));
}

TEST(AssemblerEquates, MultiLineEquateInsideAnExpressionIsRefused) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"m EQU 1", "EQU 2", "dat m+1"}), 1);
  ASSERT_EQ(f.Errors.size(), 1u);
  EXPECT_EQ(f.Errors[0], "Improper substitution of multi-line equate in line 1:  dat m+1");
}

TEST(AssemblerEquates, MutualReferenceIsDetected) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"a EQU b", "b EQU a", "mov a, 0"}), 1);
  ASSERT_EQ(f.Errors.size(), 1u);
  EXPECT_EQ(f.Errors[0], "Recursive reference in line 1:  mov a, 0");
  EXPECT_EQ(f.Assemble({"s EQU s+1", "dat s"}), 1);
  EXPECT_EQ(f.Errors[0], "Recursive reference in line 1:  dat s");
}

TEST(AssemblerEquates, NestedEquatesAreSubstitutedAndUsedTwice) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"a EQU b+b", "b EQU c*2", "c EQU 3", "dat a, a"}), 2);
  EXPECT_EQ(CellText(f.Cell(0)), "DAT.F $12, $12");
}

TEST(AssemblerEquates, MultiLineCallThatCallsItselfStops) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"m EQU dat 1", "EQU m", "m"}), 1);
  ASSERT_FALSE(f.Errors.empty());
  EXPECT_EQ(f.Errors[0].substr(0, 19), "Recursive reference");
}

TEST(AssemblerEquates, MultiLineCallUsedTwiceAfterLabelLines) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"m EQU here", "EQU dat 1", "m", "m"}), 1);
  // "here" is defined twice: once per expansion.
  ASSERT_FALSE(f.Errors.empty());
  EXPECT_EQ(f.Errors[0].substr(0, 16), "Duplicate Symbol");
  ASSERT_EQ(f.Assemble({"m EQU dat 0", "EQU dat 1", "m", "m"}), 2);
  EXPECT_EQ(f.W().CodeLength, 4);
}

TEST(AssemblerEquates, DuplicateEquateOrLabelName) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"x EQU 1", "x EQU 2", "dat x"}), 1);
  EXPECT_EQ(f.Errors[0], "Duplicate Symbol in line 1: x EQU 2"); // the first EQU line is gone
  EXPECT_EQ(f.Assemble({"l dat 0", "l EQU 2"}), 1);
  EXPECT_EQ(f.Errors[0], "Duplicate Symbol in line 2: l EQU 2");
}

TEST(AssemblerLoops, CounterAndConcatenation) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"i FOR 3", "dat i", "ROF"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"DAT.F #0, $1", "DAT.F #0, $2", "DAT.F #0, $3"}));
  ASSERT_EQ(f.Assemble({"i FOR 2", "x&i dat i, x01", "ROF"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"DAT.F $1, $0", "DAT.F $2, $-1"}));
  EXPECT_EQ(f.Core->Asm.Labels.back().first, "x02");
}

TEST(AssemblerLoops, CounterInsideLongerWordsIsLeftAlone) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"i FOR 2", "mov.i i, ii", "ROF", "ii dat 0"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"MOV.I $1, $2", "MOV.I $2, $1", "DAT.F #0, $0"}));
}

TEST(AssemblerLoops, ZeroOrNegativeCountGivesNothing) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"dat 9", "FOR 0", "dat 1", "ROF", "n FOR -2", "dat 2", "ROF"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"DAT.F #0, $9"}));
}

TEST(AssemblerLoops, NestedLoopsAndEquateCount) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"n EQU 2", "i FOR n", "j FOR i", "dat i, j", "ROF", "ROF"}), 2);
  EXPECT_EQ(Cells(f), (Lines{"DAT.F $1, $1", "DAT.F $2, $1", "DAT.F $2, $2"}));
}

TEST(AssemblerLoops, MissingRofIsReportedAgainstTheLastLine) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"dat 0", "FOR 2", "dat 1"}), 1);
  ASSERT_EQ(f.Errors.size(), 1u);
  EXPECT_EQ(f.Errors[0], "Missing ROF after FOR in line 1:  dat 0");
  EXPECT_EQ(f.W().CodeLength, 1);
}

TEST(AssemblerLoops, RofWithoutForIsRejected) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"dat 0", "x ROF"}), 1);
  EXPECT_EQ(f.Errors[0], "ROF with no FOR in line 2:  ROF");
}

TEST(AssemblerLoops, HugeCountIsRefusedInsteadOfExhaustingMemory) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"FOR 2000000000", "dat 1", "ROF"}), 1);
  ASSERT_EQ(f.Errors.size(), 1u);
  EXPECT_EQ(f.Errors[0], "Too many statements after expansion in line 1:  FOR 2000000000");
}

TEST(AssemblerLoops, ExponentialEquatesAreRefused) {
  AsmFixture f;
  Lines src;
  for (int i = 0; i < 30; ++i)
    src.push_back("e" + std::to_string(i + 1) + " EQU e" + std::to_string(i) + "+e" +
                  std::to_string(i));
  src.push_back("e0 EQU 1");
  src.push_back("dat e30");
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
}

TEST(AssemblerStartAndPin, FailingEndStillEnds) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"dat 0", "END nowhere", "x y z 1"}), 1);
  ASSERT_EQ(f.Errors.size(), 1u);
  EXPECT_EQ(f.Errors[0], "Undefined Symbol in line 2:  END nowhere");
}

TEST(AssemblerStartAndPin, OperandMessages) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"dat 0", "PIN -1"}), 1);
  EXPECT_EQ(f.Errors[0], "Negative PIN in line 2:  PIN -1");
  EXPECT_EQ(f.Assemble({"dat 0", "PIN"}), 1);
  EXPECT_EQ(f.Errors[0], "Missing operand in line 2:  PIN");
  ASSERT_EQ(f.Assemble({"dat 0", "END"}), 2);
  ASSERT_EQ(f.Assemble({"dat 0"}), 2);
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

TEST(AssemblerPassOne, AssertErrorIsReportedAgainstTheAssertLine) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"dat 0", ";assert NOSUCH", "dat 1"}), 1);
  ASSERT_EQ(f.Errors.size(), 1u);
  EXPECT_EQ(f.Errors[0], "Undefined Symbol in line 2: ;assert NOSUCH");
  EXPECT_EQ(f.W().CodeLength, 2);
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
