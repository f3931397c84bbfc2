// Random sources built from Redcode fragments and arbitrary bytes: the assembler must never
// crash, hang or read out of bounds, and must give the same result every time.

#include <gtest/gtest.h>

#include <random>

#include "test_support.h"

namespace velmora::test {
namespace {

const char* const kFragments[] = {
    "mov",         "dat",     "jmp",    "spl",      "djn",      "FOR",     "ROF",    "EQU",
    "END",         "ORG",     "PIN",    ".ab",      ".i",       ".x",      "#",      "$",
    "@",           "<",       ">",      "*",        "{",        "}",       ",",      " ",
    " ",           "\t",      ":",      ";",        "(",        ")",       "-",      "+",
    "!",           "=",       "==",     "&&",       "||",       "&",       "/",      "%",
    "0",           "1",       "7",      "99",       "x",        "i",       "a",      "lbl",
    "CORESIZE",    "CURLINE", "RANDOM", ";redcode", ";assert ", ";break ", ";trace", ";debug",
    ";condition ", ";name ",  "\"",     "?",        "\x1a",     "\xe9",    "\xff",   "\x7f"};

std::vector<std::string> RandomSource(std::mt19937& rng) {
  std::vector<std::string> lines(rng() % 12 + 1);
  for (std::string& line : lines) {
    int pieces = static_cast<int>(rng() % 9);
    for (int p = 0; p < pieces; ++p) {
      if (rng() % 10 == 0)
        line.push_back(static_cast<char>(rng() % 256));
      else
        line += kFragments[rng() % std::size(kFragments)];
    }
  }
  return lines;
}

std::string Outcome(AsmFixture& f, const std::vector<std::string>& src) {
  std::string out;
  try {
    out = std::to_string(f.Assemble(src));
  } catch (const EArithmeticError& e) {
    out = e.what();
  }
  for (const std::string& e : f.Errors)
    out += "|" + e;
  for (int32_t i = 0; i < f.W().CodeLength && size_t(i) < f.W().Code.size(); ++i)
    out += "|" + CellText(f.Cell(size_t(i)));
  return out;
}

TEST(AssemblerRobustness, RandomSourcesAreHandledDeterministically) {
  std::mt19937 rng(20240611);
  for (int n = 0; n < 3000; ++n) {
    std::vector<std::string> src = RandomSource(rng);
    for (uint8_t standard : {uint8_t{0}, uint8_t{2}}) {
      AsmFixture a(standard), b(standard);
      a.Core->Rng.Seed(1);
      b.Core->Rng.Seed(1);
      std::string first = Outcome(a, src);
      EXPECT_EQ(first, Outcome(b, src));
      EXPECT_LE(a.W().CodeLength + 1, static_cast<int32_t>(a.W().Code.size()));
    }
  }
}

TEST(AssemblerRobustness, RandomExpressionsNeverEscapeAsAnythingElse) {
  std::mt19937 rng(7);
  AsmFixture f;
  for (int n = 0; n < 20000; ++n) {
    std::string text;
    int pieces = static_cast<int>(rng() % 12);
    for (int p = 0; p < pieces; ++p)
      text += kFragments[rng() % std::size(kFragments)];
    try {
      f.Eval(text);
    } catch (const ECompileError&) {
    } catch (const EArithmeticError&) {
    }
    EXPECT_LE(f.Core->Asm.ScanPos, static_cast<int32_t>(f.Core->Asm.LineText.size()) + 1) << text;
  }
}

} // namespace
} // namespace velmora::test
