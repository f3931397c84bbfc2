// Assembles the public warrior collections beside the project with each hill's settings,
// and checks that every load file reassembles into the same code. Skipped when the
// collections are absent.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "test_support.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

TEST(AssemblerSharedWarriors, EveryHillAssemblesAndRoundTrips) {
  const fs::path root = fs::path(VELMORA_SHARED_DIR) / "warriors";
  if (!fs::is_directory(root)) GTEST_SKIP() << "no warrior collections at " << root;
  const struct {
    const char* Folder;
    uint8_t Standard;
    int32_t CoreSize, MaxProcesses, MaxCycles, MaxLength;
  } hills[] = {{"koenigstuhl/94nop", 2, 8000, 8000, 80000, 100},
               {"koenigstuhl/94", 2, 8000, 8000, 80000, 100},
               {"koenigstuhl/94x", 2, 55440, 10000, 500000, 200},
               {"koenigstuhl/lp", 2, 8000, 8, 80000, 200},
               {"koenigstuhl/tiny", 2, 800, 800, 8000, 20},
               {"koenigstuhl/nano", 2, 80, 80, 800, 5},
               {"fsh94nop", 2, 8000, 8000, 80000, 100},
               {"wilkies", 2, 8000, 8000, 80000, 100},
               {"koenigstuhl/88", 0, 8000, 8000, 80000, 100},
               {"ociw88", 0, 8000, 8000, 80000, 100}};
  int files = 0, compiled = 0;
  for (const auto& hill : hills) {
    AsmFixture f(hill.Standard, hill.CoreSize);
    TCore& core = *f.Core;
    core.MaxProcesses = hill.MaxProcesses;
    core.MaxCycles = hill.MaxCycles;
    core.MaxLength = core.MinDistance = hill.MaxLength;
    core.PSpaceSize = hill.CoreSize / 16;
    core.NumWarriors = 2;
    std::vector<fs::path> paths;
    for (const auto& e : fs::recursive_directory_iterator(root / hill.Folder))
      if (e.is_regular_file() && e.path().filename() != "README.md") paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (const fs::path& file : paths) {
      ++files;
      const std::string shown = fs::relative(file, root).string();
      std::string author, name;
      Lines lines;
      ReadWarriorFile(f.Platform, file.string(), lines, author, name);
      f.W().Name = name;
      uint8_t status = 0;
      try {
        status = f.Assemble(lines);
      } catch (const EArithmeticError& e) {
        ADD_FAILURE() << shown << ": " << e.what();
        continue;
      }
      EXPECT_EQ(status, 2) << shown << ": " << (f.Errors.empty() ? "" : f.Errors.back());
      if (status != 2) continue;
      ++compiled;
      // The load file must give back the same code, start and PIN.
      const std::vector<CoreCell> code(f.W().Code.begin(), f.W().Code.begin() + f.W().CodeLength);
      const int32_t start = f.W().StartOffset, pin = f.W().Pin;
      ASSERT_EQ(f.Assemble(LoadFileLines(f.W(), name, hill.Standard)), 2) << shown;
      ASSERT_EQ(f.W().CodeLength, static_cast<int32_t>(code.size())) << shown;
      for (size_t i = 0; i < code.size(); ++i)
        ASSERT_TRUE(SameInstruction(code[i], f.Cell(i))) << shown << " cell " << i;
      EXPECT_EQ(f.W().StartOffset, start) << shown;
      EXPECT_EQ(f.W().Pin, pin) << shown;
    }
  }
  std::cout << compiled << " of " << files << " shared warriors compiled\n";
  EXPECT_GT(files, 0);
}

} // namespace
} // namespace velmora::test
