// Sources that expand a great deal: pass 2 keeps its cost in proportion to the statements it
// produces, and the text that expansion produces is bounded, so a short source can never take
// minutes or gigabytes. Random sources never crash, hang or differ from one run to the next.

#include <gtest/gtest.h>

#include <random>

#include "assembler/assembly_state.h"
#include "test_support.h"

namespace velmora::test {
namespace {

// An assembly of warrior 1 that has already produced all but `left` characters of expansion.
struct NearTheBound {
  explicit NearTheBound(int64_t left, Lines lines = {}) : St(*F.Core, 1) {
    St.Errors = &Errors;
    St.ExpandedText = kMaxExpandedText - left;
    St.AddEquate("d", std::string(1000, '1'));
    for (const std::string& line : lines) // as pass 1 leaves them
      St.Lines.push_back(line, 0);
  }
  AsmFixture F;
  AssemblyState St;
  Lines Errors;
};

TEST(AssemblerExpansionLimits, LoopsAndSubstitutionsStopAtTheBound) {
  // Some 150 MB of copies of one long line: refused before the first one.
  AsmFixture f;
  EXPECT_EQ(f.Assemble({" for 50000", " dat 0" + std::string(3000, ' ') + ", 0", " rof"}), 1);
  EXPECT_EQ(f.Errors.at(0).rfind("Expansion too large in line 1", 0), 0u);
  // The copies of a loop whose lines are substituted into long ones: the loop fails as a whole.
  NearTheBound loop(2000, {"for 3", "dat d", "rof", "dat 0"});
  ExpandStatements(loop.St);
  EXPECT_EQ(loop.Errors, Lines{"Expansion too large in line 1:  for 3"});
  EXPECT_EQ(loop.St.Lines.size(), 1u);
  EXPECT_EQ(loop.St.Lines[0], " dat 0");
  NearTheBound roomyLoop(10000, {"for 3", "dat d", "rof"});
  ExpandStatements(roomyLoop.St);
  EXPECT_TRUE(roomyLoop.Errors.empty());
  EXPECT_EQ(roomyLoop.St.Lines.size(), 3u);
  // Substituting a long equate stops at the bound, line by line.
  NearTheBound line(500), roomyLine(1500);
  SetLineText(line.F.Core->Asm, "dat d");
  EXPECT_THROW(SubstituteEquates(line.St), ECompileError);
  SetLineText(roomyLine.F.Core->Asm, "dat d");
  SubstituteEquates(roomyLine.St);
  EXPECT_EQ(CurrentText(roomyLine.F.Core->Asm), "dat " + std::string(1000, '1'));
}

TEST(AssemblerExpansionLimits, DeepEquatesManyLabelsAndEquatesResolve) {
  // Each equate doubles the text: 14 levels reach the length limit; 30 are refused.
  for (const int levels : {14, 30}) {
    AsmFixture f;
    Lines src{"e0 equ 1"};
    for (int i = 1; i <= levels; ++i)
      src.push_back("e" + std::to_string(i) + " equ e" + std::to_string(i - 1) + "+e" +
                    std::to_string(i - 1));
    src.push_back(" dat e" + std::to_string(levels));
    EXPECT_EQ(f.Result(src).substr(0, 31),
              levels == 14 ? "DAT.F #0, $16384" : "Line too long after substitutio");
  }
  AsmFixture f;
  f.Core->MaxLength = 100000;
  ASSERT_EQ(f.Assemble({"first dat 0", "i for 30000", "x&i dat first, x&i", " rof", " jmp x30000"}),
            2);
  ASSERT_EQ(f.W().CodeLength, 30002);
  EXPECT_EQ(CellText(f.Cell(1)), "DAT.F $-1, $0");
  EXPECT_EQ(CellText(f.Cell(30000)), "DAT.F $-30000, $0");
  EXPECT_EQ(CellText(f.Cell(30001)), "JMP.B $-1, $0");
  ASSERT_EQ(f.Core->Asm.Labels.size(), 30001u); // every label, in order
  EXPECT_EQ(f.Core->Asm.Labels.back(), (std::pair<std::string, int32_t>{"x30000", 30000}));
  EXPECT_EQ(f.Result({"i for 20000", "e&i equ i*2", ";assert e&i == i*2", "h&i", " rof",
                      " dat e07, e20000", " dat h01"}),
            "DAT.F $14, $40000 | DAT.F #0, $-1");
}

// Pieces of Redcode and bytes that random sources are made of, separated by "`".
const std::string kFragments =
    "mov`dat`jmp`spl`djn`FOR`ROF`EQU`END`ORG`PIN`.ab`.i`.x`#`$`@`<`>`*`{`}`,` ` "
    "`\t`:`;`(`)`-`+`!`=`"
    "==`&&`||`&`/`%`0`1`7`99`x`i`a`lbl`CORESIZE`CURLINE`RANDOM`;redcode`;assert `;break `;trace`"
    ";debug`;condition `;name `\"`?`\x1a`\xe9`\xff`\x7f";

std::string RandomPiece(std::mt19937& rng) {
  size_t start = 0;
  for (size_t n = rng() % 64; n > 0; --n)
    start = kFragments.find('`', start) + 1;
  return kFragments.substr(start, kFragments.find('`', start) - start);
}

TEST(AssemblerRobustness, RandomSourcesAreHandledDeterministically) {
  std::mt19937 rng(20240611);
  for (int n = 0; n < 3000; ++n) {
    Lines src(rng() % 12 + 1);
    for (std::string& line : src)
      for (int p = int(rng() % 9); p > 0; --p)
        if (rng() % 10 == 0)
          line.push_back(static_cast<char>(rng() % 256));
        else
          line += RandomPiece(rng);
    for (const uint8_t standard : {uint8_t{0}, uint8_t{2}}) {
      AsmFixture a(standard), b(standard);
      a.Core->Rng.Seed(1);
      b.Core->Rng.Seed(1);
      auto outcome = [&](AsmFixture& f) {
        try {
          return f.Result(src);
        } catch (const EArithmeticError& e) {
          return std::string(e.what());
        }
      };
      EXPECT_EQ(outcome(a), outcome(b));
      EXPECT_LE(a.W().CodeLength + 1, static_cast<int32_t>(a.W().Code.size()));
    }
  }
}

} // namespace
} // namespace velmora::test
