// One instruction from hand-placed cells, on the display path and both fast paths: every
// opcode under every modifier, the address modes with their increments and the order of their
// side effects, and folding by read and write limits. Each row names the cells from the PC on
// and what must change; the rest of the core must stay as it was.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

// Cells: "CELL | CELL | OFFSET:CELL" placed from the PC on (an offset places a cell apart). Expect:
// items split by ';': "OFFSET:CELL" a changed cell, "pN:V" P-space location N holds V afterwards
// (LastResult never changes), "=> O O" the queue as offsets from the PC, "=> dies"; without "=>"
// the queue is the next cell. A row whose cells start "OPC.*" holds eight expectations, one for
// each modifier: A B AB BA F X I NONE.
struct Row {
  std::string Cells;
  std::vector<std::string> Expect;
  HarnessOptions Options = {};
  int32_t Pc = 100;
  std::vector<int32_t> PSpace = {}; // LastResult, then locations 1, 2, ...
};

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, sep);) {
    part.erase(0, part.find_first_not_of(' '));
    part.erase(part.find_last_not_of(' ') + 1);
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

bool IsOffset(const std::string& item) {
  return std::isdigit(static_cast<unsigned char>(item[0])) || item[0] == '-';
}

void Check(const Row& r, const std::string& cells, const std::string& expect, Path path) {
  SCOPED_TRACE(cells + "  =>  " + expect + "  on the " + PathName(path) + " path");
  Harness h(r.Options);
  const int32_t size = h.Core().CoreSize;
  int32_t at = r.Pc;
  for (const std::string& item : Split(cells, '|')) {
    const size_t colon = item.find(':');
    if (IsOffset(item)) at = r.Pc + std::stoi(item.substr(0, colon));
    h.Put(at++, {IsOffset(item) ? item.substr(colon + 1) : item});
  }
  h.Start(1, r.Pc);
  TWarrior& w = h.Warrior(1);
  for (size_t l = 0; l < r.PSpace.size(); ++l)
    (l == 0 ? w.LastResult : (*w.PSpace)[l]) = r.PSpace[l];
  const int32_t lastResult = w.LastResult;
  const CoreCell empty{0, 0, kEmptyCellOpcodeModifier, kEmptyCellModes, 0, 0};
  std::map<int32_t, CoreCell> core; // cells that differ from the empty ones after the step
  for (int32_t a = 0; a < size; ++a)
    if (!SameInstruction(h.At(a), empty)) core[a] = h.At(a);
  TPSpace pspace = *w.PSpace;
  std::vector<int32_t> queue = {h.Wrap(r.Pc + 1)};
  for (const std::string& item : Split(expect, ';')) {
    if (item.rfind("=>", 0) == 0) {
      queue.clear();
      for (const std::string& o : Split(item.substr(2), ' '))
        if (o != "dies") queue.push_back(h.Wrap(r.Pc + std::stoi(o)));
    } else if (item[0] == 'p') {
      pspace[std::stoul(item.substr(1))] = std::stoi(item.substr(item.find(':') + 1));
    } else {
      const size_t colon = item.find(':');
      core[h.Wrap(r.Pc + std::stoi(item.substr(0, colon)))] =
          ParseCell(item.substr(colon + 1), size);
    }
  }

  StepOn(path, h.Core(), w);

  for (int32_t a = 0; a < size; ++a) {
    const auto it = core.find(a);
    const CoreCell expected = it == core.end() ? empty : it->second;
    if (!SameInstruction(h.At(a), expected))
      FAIL() << "cell " << a - r.Pc << " from the PC is " << CellText(h.At(a)) << ", expected "
             << CellText(expected);
  }
  EXPECT_EQ(h.Core().QueueEntries(w), queue);
  EXPECT_EQ(w.Alive, !queue.empty());
  EXPECT_EQ(*w.PSpace, pspace);
  EXPECT_EQ(w.LastResult, lastResult);
}

HarnessOptions Options(int32_t read, int32_t write, int32_t maxProcesses = 8000) {
  return {.MaxProcesses = maxProcesses, .ReadLimit = read, .WriteLimit = write};
}

const char* const kModifiers[] = {"A", "B", "AB", "BA", "F", "X", "I", "NONE"};

// clang-format off
const Row kRows[] = {
    // DAT dies under every modifier; nothing is written.
    {"DAT.* $0, $0", {"=> dies", "=> dies", "=> dies", "=> dies", "=> dies", "=> dies", "=> dies",
     "=> dies"}},
    // MOV: A value (3,4) into the B target (5,6); MOV.I copies the whole instruction.
    {"MOV.* $1, $2 | DAT $3, $4 | DAT $5, $6", {"2:DAT $3, $6", "2:DAT $5, $4", "2:DAT $5, $3",
     "2:DAT $4, $6", "2:DAT $3, $4", "2:DAT $4, $3", "2:DAT $3, $4", ""}},
    {"MOV.I $1, $2 | ADD.AB #3, @4 | DAT $5, $6", {"2:ADD.AB #3, @4"}},
    {"MOV.I $0, $1", {"1:MOV.I $0, $1"}},
    // ADD, SUB, MUL: B value op A value, results reduced into the core once.
    {"ADD.* $1, $2 | DAT $3, $4 | DAT $5, $-1", {"2:DAT $8, $-1", "2:DAT $5, $3", "2:DAT $5, $2",
     "2:DAT $9, $-1", "2:DAT $8, $3", "2:DAT $9, $2", "2:DAT $8, $3", ""}},
    {"ADD.AB #4, $3 | 3:DAT $0, $-2", {"3:DAT $0, $2"}},
    {"SUB.* $1, $2 | DAT $3, $4 | DAT $1, $2", {"2:DAT $-2, $2", "2:DAT $1, $-2", "2:DAT $1, $-1",
     "2:DAT $-3, $2", "2:DAT $-2, $-2", "2:DAT $-3, $-1", "2:DAT $-2, $-2", ""}},
    {"SUB.B $1, $2 | DAT $0, $1 | DAT $0, $0", {"2:DAT $0, $-1"}},
    {"MUL.* $1, $2 | DAT $3, $4 | DAT $5, $2000", {"2:DAT $15, $2000", "2:DAT $5, $0",
     "2:DAT $5, $6000", "2:DAT $20, $2000", "2:DAT $15, $0", "2:DAT $20, $6000", "2:DAT $15, $0",
     ""}},
    // 999999 x 999999 wraps to -729379967 in 32 bits; its signed remainder by 1000000 is
    // -379967, which gains the core size: 620033.
    {"MUL.A $1, $2 | DAT $999999, $0 | DAT $999999, $0", {"2:DAT $620033, $0"},
     HarnessOptions{1000000, 1, 8000, 0, 0, 16}},
    // DIV and MOD: B value by A value; a zero divisor kills after writing the other half.
    {"DIV.* $1, $2 | DAT $3, $2 | DAT $10, $9", {"2:DAT $3, $9", "2:DAT $10, $4", "2:DAT $10, $3",
     "2:DAT $5, $9", "2:DAT $3, $4", "2:DAT $5, $3", "2:DAT $3, $4", ""}},
    {"DIV.* $1, $2 | DAT $0, $3 | DAT $10, $9", {"=> dies", "2:DAT $10, $3", "=> dies",
     "2:DAT $3, $9", "2:DAT $10, $3; => dies", "2:DAT $3, $9; => dies", "2:DAT $10, $3; => dies",
     ""}},
    {"DIV.* $1, $2 | DAT $2, $0 | DAT $10, $9", {"2:DAT $5, $9", "=> dies", "2:DAT $10, $4",
     "=> dies", "2:DAT $5, $9; => dies", "2:DAT $10, $4; => dies", "2:DAT $5, $9; => dies", ""}},
    {"DIV.NONE $1, $2 | DAT $0, $0 | DAT $10, $9", {""}},
    {"MOD.* $1, $2 | DAT $3, $4 | DAT $10, $9", {"2:DAT $1, $9", "2:DAT $10, $1", "2:DAT $10, $0",
     "2:DAT $2, $9", "2:DAT $1, $1", "2:DAT $2, $0", "2:DAT $1, $1", ""}},
    {"MOD.* $1, $2 | DAT $0, $3 | DAT $10, $9", {"=> dies", "2:DAT $10, $0", "=> dies",
     "2:DAT $1, $9", "2:DAT $10, $0; => dies", "2:DAT $1, $9; => dies", "2:DAT $10, $0; => dies",
     ""}},
    {"MOD.NONE $1, $2 | DAT $0, $0 | DAT $10, $9", {""}},
    // JMP goes to the A address under any modifier.
    {"JMP.* $5, $0", {"=> 5", "=> 5", "=> 5", "=> 5", "=> 5", "=> 5", "=> 5", "=> 5"}},
    {"JMP.NONE $-3, $0", {"=> -3"}},
    {"JMP.B @1, $0 | DAT $0, $4", {"=> 5"}},
    // JMZ and JMN test the B value: A-field for A and BA, B-field for B and AB, both else.
    {"JMZ.* $5, $1 | DAT $0, $3", {"=> 5", "", "", "=> 5", "", "", "", ""}},
    {"JMZ.* $5, $1 | DAT $3, $0", {"", "=> 5", "=> 5", "", "", "", "", ""}},
    {"JMZ.* $5, $1 | DAT $0, $0", {"=> 5", "=> 5", "=> 5", "=> 5", "=> 5", "=> 5", "=> 5", ""}},
    {"JMN.* $5, $1 | DAT $0, $3", {"", "=> 5", "=> 5", "", "=> 5", "=> 5", "=> 5", ""}},
    {"JMN.* $5, $1 | DAT $3, $0", {"=> 5", "", "", "=> 5", "=> 5", "=> 5", "=> 5", ""}},
    {"JMN.* $5, $1 | DAT $0, $0", {"", "", "", "", "", "", "", ""}},
    {"JMN.NONE $5, $1 | DAT $1, $1", {""}},
    // DJN decrements the target and jumps unless the value read before was 1.
    {"DJN.* $5, $1 | DAT $1, $2", {"1:DAT $0, $2", "1:DAT $1, $1; => 5", "1:DAT $1, $1; => 5",
     "1:DAT $0, $2", "1:DAT $0, $1; => 5", "1:DAT $0, $1; => 5", "1:DAT $0, $1; => 5", ""}},
    {"DJN.* $5, $1 | DAT $2, $1", {"1:DAT $1, $1; => 5", "1:DAT $2, $0", "1:DAT $2, $0",
     "1:DAT $1, $1; => 5", "1:DAT $1, $0; => 5", "1:DAT $1, $0; => 5", "1:DAT $1, $0; => 5", ""}},
    {"DJN.F $5, $1 | DAT $1, $1", {"1:DAT $0, $0"}},
    {"DJN.AB $5, $1 | DAT $3, $0", {"1:DAT $3, $-1; => 5"}},
    {"DJN.B $5, #1", {"0:DJN.B $5, #0"}},
    // CMP and SEQ skip when equal, SNE when different; the A value is (1,2).
    {"CMP.* $1, $2 | DAT $1, $2 | DAT $1, $2", {"=> 2", "=> 2", "=> 1", "=> 1", "=> 2", "=> 1",
     "=> 2", ""}},
    {"CMP.* $1, $2 | DAT $1, $2 | DAT $2, $1", {"", "", "=> 2", "=> 2", "", "=> 2", "", ""}},
    {"CMP.* $1, $2 | DAT $1, $2 | DAT $1, $3", {"=> 2", "", "", "", "", "", "", ""}},
    {"SEQ.* $1, $2 | DAT $1, $2 | DAT $2, $1", {"", "", "=> 2", "=> 2", "", "=> 2", "", ""}},
    {"SEQ.* $1, $2 | DAT $1, $2 | DAT $1, $2", {"=> 2", "=> 2", "=> 1", "=> 1", "=> 2", "=> 1",
     "=> 2", ""}},
    {"SNE.* $1, $2 | DAT $1, $2 | DAT $2, $1", {"=> 2", "=> 2", "", "", "=> 2", "", "=> 2", ""}},
    {"SNE.* $1, $2 | DAT $1, $2 | DAT $1, $2", {"", "", "=> 2", "=> 2", "", "=> 2", "", ""}},
    {"SNE.* $1, $2 | DAT $1, $2 | DAT $2, $2", {"=> 2", "", "=> 2", "", "=> 2", "=> 2", "=> 2",
     ""}},
    // .I compares opcode, modifier and modes too.
    {"CMP.I $1, $2 | DAT $1, $2 | DAT #1, $2", {""}},
    {"CMP.I $1, $2 | DAT $1, $2 | MOV $1, $2", {""}},
    {"CMP.I $1, $2 | DAT.F $1, $2 | DAT.X $1, $2", {""}},
    {"SEQ.I $1, $2 | DAT $1, $2 | DAT $1, $3", {""}},
    {"SNE.I $1, $2 | DAT $1, $2 | DAT #1, $2", {"=> 2"}},
    // SLT skips when less, comparing values 0..size-1 (so -1 is large).
    {"SLT.* $1, $2 | DAT $1, $2 | DAT $2, $3", {"=> 2", "=> 2", "=> 2", "", "=> 2", "", "=> 2",
     ""}},
    {"SLT.* $1, $2 | DAT $1, $2 | DAT $2, $2", {"=> 2", "", "=> 2", "", "", "", "", ""}},
    {"SLT.* $1, $2 | DAT $1, $2 | DAT $3, $0", {"=> 2", "", "", "=> 2", "", "", "", ""}},
    {"SLT.X $1, $2 | DAT $1, $2 | DAT $3, $2", {"=> 2"}},
    {"SLT.A $1, $2 | DAT $-1, $2 | DAT $5, $9", {""}},
    // SPL queues the next instruction, then the new process, while the queue has room.
    {"SPL.* $3, $0", {"=> 1 3", "=> 1 3", "=> 1 3", "=> 1 3", "=> 1 3", "=> 1 3", "=> 1 3",
     "=> 1 3"}},
    {"SPL.B $0, $0", {"=> 1 0"}},
    {"SPL.B $3, $0", {""}, Options(8000, 8000, 1)},
    // LDP reads P-space location A (A, AB) or B into the target's A (A, BA) or B-field;
    // location 0 is LastResult. STP writes into location 0 never.
    {"LDP.* $1, $2 | DAT $3, $0 | DAT $5, $6", {"2:DAT $33, $6", "2:DAT $5, $9", "2:DAT $5, $33",
     "2:DAT $9, $6", "2:DAT $5, $9", "2:DAT $5, $9", "2:DAT $5, $9", "2:DAT $5, $9"}, {}, 100, {9,
     0, 0, 33}},
    {"LDP.A $1, $2 | DAT $503, $0 | DAT $5, $6", {"2:DAT $33, $6"}, {}, 100, {9, 0, 0, 33}},
    {"STP.* $1, $2 | DAT $3, $7 | DAT $4, $5", {"p4:3", "p5:7", "p5:3", "p4:7", "p5:7", "p5:7",
     "p5:7", "p5:7"}},
    {"STP.B $1, $2 | DAT $3, $7 | DAT $4, $0", {""}, {}, 100, {9}},
    {"STP.B $1, $2 | DAT $3, $7 | DAT $4, $501", {"p1:7"}},
    // NOP, the pseudo-operations and unused codes do nothing.
    {"NOP.* $1, $2 | DAT $1, $2", {"", "", "", "", "", "", "", ""}},
    {"EQU.F $1, $2", {""}}, {"END.B $1, $2", {""}}, {"FOR.AB $1, $2", {""}},
    {"ROF.A $1, $2", {""}}, {"ORG.F $1, $2", {""}}, {"PIN.F $1, $2", {""}},
    {"OP25.F $1, $2", {""}}, {"OP31.NONE $1, $2", {""}},
    // The wrap to address 0 after the last cell.
    {"NOP.F $0, $0", {"=> 1"}, {}, 7999},

    // Immediate operands address the instruction itself.
    {"MOV.AB #5, $1", {"1:DAT $0, $5"}},
    {"MOV.AB #5, #0", {"0:MOV.AB #5, #5"}},
    // Indirect through the B-field and the A-field.
    {"MOV.AB #5, @1 | DAT $0, $2", {"3:DAT $0, $5"}},
    {"MOV.AB #5, *1 | DAT $2, $0", {"3:DAT $0, $5"}},
    // Predecrement, with wrap from 0 to the last address.
    {"MOV.AB #5, <1 | DAT $0, $3", {"1:DAT $0, $2; 3:DAT $0, $5"}},
    {"MOV.AB #5, {1 | DAT $3, $0", {"1:DAT $2, $0; 3:DAT $0, $5"}},
    {"MOV.AB #9, <1", {"0:MOV.AB #9, <9; 1:DAT $0, $-1"}},
    {"MOV.AB #9, {1", {"0:MOV.AB #9, {9; 1:DAT $-1, $0"}},
    {"MOV.I {1, $5 | DAT $2, $0 | DAT $7, $7", {"1:DAT $1, $0; 5:DAT $7, $7"}},
    {"MOV.I <1, $5 | DAT $0, $2 | DAT $7, $7", {"1:DAT $0, $1; 5:DAT $7, $7"}},
    // Postincrement: the target is reached through the old value; the increment comes before
    // the write, and wraps from the last address to 0.
    {"MOV.AB #7, >1 | DAT $0, $2", {"1:DAT $0, $3; 3:DAT $0, $7"}},
    {"MOV.AB #7, }1 | DAT $2, $0", {"1:DAT $3, $0; 3:DAT $0, $7"}},
    {"MOV.AB #9, >1 | DAT $0, $-1", {"0:MOV.AB #9, >9; 1:DAT $0, $0"}},
    {"MOV.AB #9, }1 | DAT $-1, $0", {"0:MOV.AB #9, }9; 1:DAT $0, $0"}},
    // The B operand sees the A operand's increment: A reads cell 3, B then points at 4.
    {"MOV.I >1, @1 | DAT $0, $2 | DAT $0, $0 | SPL $0, $0", {"1:DAT $0, $3; 4:SPL $0, $0"}},
    // The A value is copied before its own post-increment.
    {"MOV.I }1, $5", {"1:DAT $1, $0; 5:DAT $0, $0"}},
    {"MOV.I >1, $5", {"1:DAT $0, $1; 5:DAT $0, $0"}},
    // An immediate B operand reads the instruction as fetched, while the write goes to the
    // cell as the A operand left it: A = >0 points at cell 5 (7) and bumps the B-field to 6.
    {"ADD.AB >0, #5 | 5:DAT $7, $0", {"0:ADD.AB >0, #12"}},
    // The B operand's predecrement is seen by the jump test.
    {"JMZ.B $4, <1 | DAT $0, $2", {"1:DAT $0, $1; => 4"}},

    // Folding by limits of 400: MOV 0, 300 writes to PC - 100; a jump goes to the folded
    // address; only the read limit folds an A offset of 300 to -100.
    {"MOV.I $0, $300", {"-100:MOV.I $0, $300"}, Options(400, 400)},
    {"JMP.B $300, $0", {"=> -100"}, Options(400, 400)},
    {"MOV.I $300, $1 | -100:SPL.B $1, $1 | 300:JMP.B $0, $0", {"1:SPL.B $1, $1"}, Options(400,
     8000)},
    // Through a pointer at +1 (B-field 250): 251 folds to -149 for the read...
    {"MOV.I @1, $5 | DAT $0, $250 | -149:SPL.B $1, $1 | 251:JMP.B $0, $0", {"5:SPL.B $1, $1"},
     Options(400, 8000)},
    // ... and for the write, while the read does not fold.
    {"MOV.AB #3, @1 | DAT $0, $250", {"-149:DAT $0, $3"}, Options(8000, 400)},
    // Exactly half the limit stays, one more folds; the window reaches back to -199.
    {"MOV.AB #1, $200", {"200:DAT $0, $1"}, Options(400, 400)},
    {"MOV.AB #1, $201", {"-199:DAT $0, $1"}, Options(400, 400)},
    {"MOV.AB #1, $-200", {"200:DAT $0, $1"}, Options(400, 400)},
    {"MOV.AB #1, $450", {"50:DAT $0, $1"}, Options(400, 400)},
    {"MOV.AB #1, $-1", {"-1:DAT $0, $1"}, Options(400, 400)},
    // A limit one below the core folds 4000 to -3999; a limit of the core size not at all.
    {"MOV.AB #1, $4000", {"4001:DAT $0, $1"}, Options(7999, 7999)},
    {"MOV.AB #1, $4000", {"4000:DAT $0, $1"}, Options(8000, 8000)},
    {"MOV.I $4000, $1 | 4000:SPL.B $1, $1 | 4001:JMP.B $0, $0", {"1:SPL.B $1, $1"},
     Options(8000, 8000)},
};
// clang-format on

TEST(Execute, EveryRowOnEveryPath) {
  for (const Row& r : kRows) {
    const int32_t size = r.Options.CoreSize;
    const bool folds = (r.Options.ReadLimit && r.Options.ReadLimit < size) ||
                       (r.Options.WriteLimit && r.Options.WriteLimit < size);
    const size_t star = r.Cells.find(".*");
    for (size_t m = 0; m < r.Expect.size(); ++m) {
      std::string cells = r.Cells;
      if (star != std::string::npos) cells.replace(star + 1, 1, kModifiers[m]);
      for (Path p : kAllPaths)
        if (!(folds && p == Path::FastNoFold)) Check(r, cells, r.Expect[m], p);
    }
  }
}

} // namespace
} // namespace velmora::test
