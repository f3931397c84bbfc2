// Sources that expand a great deal: pass 2 keeps its cost in proportion to the statements it
// produces (no rescanning of every label, equate or later line per statement), and the text
// that expansion produces is bounded, so a short source can never take minutes or gigabytes.

#include <gtest/gtest.h>

#include <random>

#include "assembler/assembly_state.h"
#include "test_support.h"

namespace velmora::test {
namespace {

using Lines = std::vector<std::string>;

bool HasError(const AsmFixture& f, const std::string& text) {
  for (const std::string& e : f.Errors)
    if (e.find(text) != std::string::npos) return true;
  return false;
}

TEST(AssemblerExpansionLimits, ALoopOfOneLongSourceLineIsRefused) {
  // Some 150 MB of copies: refused before the first one.
  AsmFixture f;
  EXPECT_EQ(f.Assemble({" for 50000", " dat 0" + std::string(3000, ' ') + ", 0", " rof"}), 1);
  EXPECT_TRUE(HasError(f, "Expansion too large in line 1"));
}

// An assembly of warrior 1 that has already produced all but `left` characters of expansion.
struct NearTheBound {
  explicit NearTheBound(int64_t left) : St(*F.Core, 1) {
    St.Errors = &Errors;
    St.ExpandedText = kMaxExpandedText - left;
    St.AddEquate("d", std::string(1000, '1'));
  }
  AsmFixture F;
  AssemblyState St;
  std::vector<std::string> Errors;
};

TEST(AssemblerExpansionLimits, LoopCopiesCountTowardsTheBound) {
  // The copies of a loop whose lines are substituted into long ones (a short source could
  // otherwise ask for gigabytes): the loop stops at the bound and fails as a whole.
  NearTheBound n(2000);
  for (const char* line : {"for 3", "dat d", "rof", "dat 0"}) // as pass 1 leaves them
    n.St.Lines.push_back(line, 0);
  ExpandStatements(n.St);
  ASSERT_EQ(n.Errors.size(), 1u);
  EXPECT_EQ(n.Errors[0], "Expansion too large in line 1:  for 3");
  ASSERT_EQ(n.St.Lines.size(), 1u);
  EXPECT_EQ(n.St.Lines[0], " dat 0");

  NearTheBound roomy(10000);
  for (const char* line : {"for 3", "dat d", "rof"})
    roomy.St.Lines.push_back(line, 0);
  ExpandStatements(roomy.St);
  EXPECT_TRUE(roomy.Errors.empty());
  EXPECT_EQ(roomy.St.Lines.size(), 3u);
}

TEST(AssemblerExpansionLimits, SubstitutionsCountTowardsTheBound) {
  // Nested multi-line equates can make a million statements from a few lines; substituting
  // a long equate into each then stops at the bound, line by line.
  NearTheBound n(500);
  SetLineText(n.F.Core->Asm, "dat d");
  try {
    SubstituteEquates(n.St);
    ADD_FAILURE() << "no error";
  } catch (const ECompileError& e) {
    EXPECT_STREQ(e.what(), "Expansion too large");
  }
  NearTheBound roomy(1500);
  SetLineText(roomy.F.Core->Asm, "dat d");
  SubstituteEquates(roomy.St);
  EXPECT_EQ(CurrentText(roomy.F.Core->Asm), "dat " + std::string(1000, '1'));
}

TEST(AssemblerExpansionLimits, DeepEquatesSubstituteInOnePass) {
  // Each equate doubles the text: the line grows to the length limit, written once.
  AsmFixture f;
  Lines src{"e0 equ 1"};
  for (int i = 1; i <= 14; ++i)
    src.push_back("e" + std::to_string(i) + " equ e" + std::to_string(i - 1) + "+e" +
                  std::to_string(i - 1));
  src.push_back(" dat e14");
  ASSERT_EQ(f.Assemble(src), 2);
  EXPECT_EQ(CellText(f.Cell(0)), "DAT.F #0, $16384");
}

TEST(AssemblerExpansionLimits, ManyLabelsResolve) {
  AsmFixture f;
  f.Core->MaxLength = 100000;
  ASSERT_EQ(f.Assemble({"first dat 0", "i for 30000", "x&i dat first, x&i", " rof", " jmp x30000"}),
            2);
  ASSERT_EQ(f.W().CodeLength, 30002);
  EXPECT_EQ(CellText(f.Cell(1)), "DAT.F $-1, $0");
  EXPECT_EQ(CellText(f.Cell(30000)), "DAT.F $-30000, $0");
  EXPECT_EQ(CellText(f.Cell(30001)), "JMP.B $-1, $0");
  // The engine's label list holds every label, in order.
  ASSERT_EQ(f.Core->Asm.Labels.size(), 30001u);
  EXPECT_EQ(f.Core->Asm.Labels.back(), (std::pair<std::string, int32_t>{"x30000", 30000}));
}

TEST(AssemblerExpansionLimits, ManyEquatesAndRemovedLines) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"i for 20000", "e&i equ i*2", ";assert e&i == i*2", "h&i", " rof",
                        " dat e07, e20000", " dat h01"}),
            2);
  ASSERT_EQ(f.W().CodeLength, 2);
  EXPECT_EQ(CellText(f.Cell(0)), "DAT.F $14, $40000");
  EXPECT_EQ(CellText(f.Cell(1)), "DAT.F #0, $-1");
}

TEST(AssemblerExpansionLimits, StatementListEditsMatchAVector) {
  std::mt19937 rng(5);
  StatementList list;
  std::vector<std::string> model;
  std::vector<int32_t> origins; // the model's source lines
  for (int n = 0; n < 5000; ++n) {
    const size_t size = model.size();
    switch (rng() % 4) {
    case 0: {
      std::string s = std::to_string(n);
      list.push_back(s, n);
      model.push_back(s);
      origins.push_back(n);
      break;
    }
    case 1: {
      size_t at = size ? rng() % (size + 1) : 0;
      std::vector<std::string> lines(rng() % 4, "i" + std::to_string(n));
      std::vector<int32_t> from(lines.size());
      for (size_t k = 0; k < lines.size(); ++k) {
        lines[k] += "." + std::to_string(k);
        from[k] = n * 4 + int32_t(k);
      }
      list.insert(at, lines, from);
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
      origins.insert(origins.begin() + static_cast<std::ptrdiff_t>(at), from.begin(), from.end());
      break;
    }
    case 2:
      if (size) {
        size_t from = rng() % size, to = from + rng() % std::min<size_t>(3, size - from + 1);
        list.erase(from, to);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(from),
                    model.begin() + static_cast<std::ptrdiff_t>(to));
        origins.erase(origins.begin() + static_cast<std::ptrdiff_t>(from),
                      origins.begin() + static_cast<std::ptrdiff_t>(to));
      }
      break;
    default:
      if (size) {
        size_t k = rng() % size;
        list[k] += "x";
        model[k] += "x";
      }
      break;
    }
    ASSERT_EQ(list.size(), model.size());
    ASSERT_EQ(list.empty(), model.empty());
    if (!model.empty()) {
      size_t k = rng() % model.size();
      ASSERT_EQ(list[k], model[k]);
      ASSERT_EQ(list.Origin(k), origins[k]);
      ASSERT_EQ(list.back(), model.back());
    }
  }
  for (size_t k = 0; k < model.size(); ++k)
    ASSERT_EQ(list[k], model[k]);
}

} // namespace
} // namespace velmora::test
