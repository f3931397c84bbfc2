// Assembles the public warrior collections beside the project with each hill's settings,
// and checks that every load file reassembles into the same code. Skipped when the
// collections are absent.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>

#include "test_support.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

struct Hill {
  const char* Folder;
  uint8_t Standard;
  int32_t CoreSize, MaxProcesses, MaxCycles, MaxLength, MinDistance;
};

const Hill kHills94[] = {
    {"koenigstuhl/94nop", 2, 8000, 8000, 80000, 100, 100},
    {"koenigstuhl/94", 2, 8000, 8000, 80000, 100, 100},
    {"koenigstuhl/94x", 2, 55440, 10000, 500000, 200, 200},
    {"koenigstuhl/lp", 2, 8000, 8, 80000, 200, 200},
    {"koenigstuhl/tiny", 2, 800, 800, 8000, 20, 20},
    {"koenigstuhl/nano", 2, 80, 80, 800, 5, 5},
    {"fsh94nop", 2, 8000, 8000, 80000, 100, 100},
    {"wilkies", 2, 8000, 8000, 80000, 100, 100},
};
const Hill kHills88[] = {
    {"koenigstuhl/88", 0, 8000, 8000, 80000, 100, 100},
    {"ociw88", 0, 8000, 8000, 80000, 100, 100},
};

struct Tally {
  int Files = 0, Compiled = 0;
  std::vector<std::string> Failures;
};

std::vector<fs::path> WarriorFiles(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file() && e.path().filename() != "README.md") out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

void AssembleHill(const Hill& hill, const fs::path& root, Tally& tally) {
  AsmFixture f(hill.Standard, hill.CoreSize);
  TCore& core = *f.Core;
  core.MaxProcesses = hill.MaxProcesses;
  core.MaxCycles = hill.MaxCycles;
  core.MaxLength = hill.MaxLength;
  core.MinDistance = hill.MinDistance;
  core.PSpaceSize = hill.CoreSize / 16;
  core.NumWarriors = 2;
  for (const fs::path& file : WarriorFiles(root / hill.Folder)) {
    ++tally.Files;
    const std::string shown = fs::relative(file, root).string();
    std::string author, name;
    std::vector<std::string> lines;
    ReadWarriorFile(f.Platform, file.string(), lines, author, name);
    f.W().Name = name;
    uint8_t status = 0;
    try {
      status = f.Assemble(lines);
    } catch (const EArithmeticError& e) {
      tally.Failures.push_back(shown + ": " + e.what());
      continue;
    }
    if (status != 2) {
      tally.Failures.push_back(shown + ": status " + std::to_string(status) + " " +
                               (f.Errors.empty() ? std::string("(no error line)") : f.Errors[0]));
      continue;
    }
    ++tally.Compiled;
    // The load file must give back the same code, start and PIN.
    std::vector<CoreCell> code(f.W().Code.begin(), f.W().Code.begin() + f.W().CodeLength);
    const int32_t start = f.W().StartOffset, pin = f.W().Pin;
    const std::vector<std::string> load = LoadFileLines(f.W(), name, hill.Standard);
    ASSERT_EQ(f.Assemble(load), 2) << shown << ": " << (f.Errors.empty() ? "" : f.Errors[0]);
    ASSERT_EQ(f.W().CodeLength, static_cast<int32_t>(code.size())) << shown;
    for (size_t i = 0; i < code.size(); ++i)
      ASSERT_TRUE(SameInstruction(code[i], f.Cell(i))) << shown << " cell " << i;
    EXPECT_EQ(f.W().StartOffset, start) << shown;
    EXPECT_EQ(f.W().Pin, pin) << shown;
  }
}

fs::path SharedWarriors() {
  return fs::path(VELMORA_SHARED_DIR) / "warriors";
}

void Report(const char* family, const Tally& t) {
  std::cout << family << ": " << t.Compiled << " of " << t.Files << " compiled\n";
  for (const std::string& s : t.Failures)
    std::cout << "  " << s << "\n";
}

TEST(AssemblerSharedWarriors, Hills1994AssembleAndRoundTrip) {
  const fs::path root = SharedWarriors();
  if (!fs::is_directory(root)) GTEST_SKIP() << "no warrior collections at " << root;
  Tally t;
  auto started = std::chrono::steady_clock::now();
  for (const Hill& h : kHills94)
    AssembleHill(h, root, t);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  started)
                .count();
  Report("1994 hills", t);
  std::cout << "  (" << ms << " ms, with round trips)\n";
  ASSERT_GT(t.Files, 0);
  EXPECT_EQ(t.Compiled, t.Files);
}

TEST(AssemblerSharedWarriors, Hills1988AssembleAndRoundTrip) {
  const fs::path root = SharedWarriors();
  if (!fs::is_directory(root)) GTEST_SKIP() << "no warrior collections at " << root;
  Tally t;
  for (const Hill& h : kHills88)
    AssembleHill(h, root, t);
  Report("1988 hills", t);
  ASSERT_GT(t.Files, 0);
  EXPECT_EQ(t.Compiled, t.Files);
}

} // namespace
} // namespace velmora::test
