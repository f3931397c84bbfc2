// The results report, line by line and byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "params/text_file.h"
#include "results/report.h"
#include "results_fixture.h"

namespace velmora::test {
namespace {

std::vector<std::string> Lines(ResultsFixture& f, bool percent = false) {
  TResultsTable t(*f.Core, f.Tour);
  t.Percent = percent;
  return ReportLines(t, f.Tour, *f.Core);
}

// Position of the first line equal to text, or -1.
int Find(const std::vector<std::string>& lines, const std::string& text) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == text) return int(i);
  return -1;
}

// The line `offset` lines below the first one equal to `anchor`, cut to `length` characters.
std::string At(const std::vector<std::string>& lines, const std::string& anchor, int offset,
               size_t length = std::string::npos) {
  const int i = Find(lines, anchor) + offset;
  return Find(lines, anchor) < 0 || i >= int(lines.size()) ? "<none>"
                                                           : lines[size_t(i)].substr(0, length);
}

const char* const kExample = R"(Tournament Results
==================

Conditions
==========
Round robin with 2 warriors, 10 rounds per matchup
Score formula: (W*W-1)/S
Core size  Max processes  Max cycles  Max length  Min distance
---------  -------------  ----------  ----------  ------------
     8000           8000       80000         100           100

Summary
=======
Warrior                   Author                Length    Score   Given    Wins  Losses    Ties
-------                   ------                ------    -----   -----  ------  ------  ------
Alpha                     Ann                  0.50000    200.0    80.0       6       2       2
Beta                      Bob                  0.50000     80.0   200.0       2       6       2

Round robin scores
==================
Warrior                   Index       1       2  Average
-------                   -----   -----   -----  -------
Alpha                         1     ...   200.0    200.0
Beta                          2    80.0     ...     80.0
-------                   -----   -----   -----  -------
Average Points Given               80.0   200.0

Details
=======

vs. Alpha                 Author                Length    Score   Given    Wins  Losses    Ties
---------                 ------                ------    -----   -----  ------  ------  ------
Beta                      Bob                  0.50000     80.0   200.0       2       6       2

vs. Beta                  Author                Length    Score   Given    Wins  Losses    Ties
--------                  ------                ------    -----   -----  ------  ------  ------
Alpha                     Ann                  0.50000    200.0    80.0       6       2       2

)";

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Written whole, and a failed write that keeps what was there.
TEST(ResultsReport, TheExampleByteForByteAndAFailedWrite) {
  ResultsFixture f;
  f.AlphaBeta();
  const auto dir = std::filesystem::temp_directory_path() / "velmora-report-test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "blocked.txt" / "inside");
  TResultsTable t(*f.Core, f.Tour);
  t.Percent = false;
  std::string error;
  ASSERT_TRUE(WriteReport((dir / "report.txt").string(), t, f.Tour, *f.Core, error)) << error;
  std::ifstream in(dir / "report.txt", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, WithCrLf(kExample));
  EXPECT_FALSE(WriteReport((dir / "blocked.txt").string(), t, f.Tour, *f.Core, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir / "blocked.txt" / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                          std::filesystem::directory_iterator()),
            2);
  std::filesystem::remove_all(dir);
}

TEST(ResultsReport, SelfFightsPercentAndParametersAwayFromTheirDefaults) {
  ResultsFixture f;
  f.AlphaBeta();
  f.Tour.Rec.SelfFights = true;
  f.Set(0, 0, 0, 0, {10}, 100);
  f.Set(1, 1, 0, 0, {10}, 100);
  f.Core->RandomCoreSize = true;
  f.Core->CoreSizeMin = 4000;
  f.Core->ReadLimit = 400;
  f.Core->WriteLimit = 8000;
  f.Core->PSpaceSize = 16;
  const auto lines = Lines(f, true);
  EXPECT_EQ(lines[7], "Core size  Min core size  Max processes  Max cycles  Max length  "
                      "Min distance  Read limit  P-space size");
  EXPECT_EQ(lines[8], "---------  -------------  -------------  ----------  ----------  "
                      "------------  ----------  ------------");
  EXPECT_EQ(lines[9], "     8000           4000           8000       80000         100  "
                      "         100         400            16");
  EXPECT_EQ(At(lines, "Details", 5, 5) + At(lines, "Details", 6, 4), "AlphaBeta"); // own column
  EXPECT_EQ(At(lines, "Round robin scores", 4),
            "Alpha                         1   100.0   200.0    150.0");
  EXPECT_EQ(At(lines, "Round robin scores", 5),
            "Beta                          2    80.0   100.0     90.0");
  EXPECT_EQ(At(lines, "Summary", 2), "Warrior                   Author                Length    "
                                     "Score   Given      W%      L%      T%");
  // Alpha: 20 rounds, 6 won, 2 lost, 12 drawn; (10 x 100 + 10 x 40000) / 80000 / 20 cycles.
  EXPECT_EQ(At(lines, "Summary", 4), "Alpha                     Ann                  0.25062    "
                                     "150.0    90.0    30.0    10.0    60.0");
}

TEST(ResultsReport, EachTypeHasItsOwnTables) {
  ResultsFixture c;
  c.SetWarriors({{"Champ", "A"}, {"B", "B"}, {"C", "C"}});
  c.Shape(Challenge, 2);
  c.Tour.Rec.Rounds = 4;
  c.Set(0, 1, 3, 1, {0}, 10);
  c.Set(0, 2, 1, 3, {0}, 10);
  auto lines = Lines(c);
  EXPECT_EQ(lines[5], "Challenge by Champ against 2 warriors, 4 rounds per matchup");
  EXPECT_EQ(At(lines, "Summary", 2, 26), "Challenger                ");
  // One summary row, the challenger's: 12 points of 8 rounds.
  EXPECT_EQ(std::tuple(At(lines, "Summary", 4, 5), At(lines, "Summary", 4).substr(55, 9),
                       At(lines, "Summary", 5)),
            std::tuple("Champ", "   150.0 ", ""));
  EXPECT_EQ(At(lines, "Details", 2, 26), "Opponent                  ");
  // Sorted by score, highest first: C took 9 points of 4 rounds, B 3.
  EXPECT_EQ(At(lines, "Details", 4, 1) + At(lines, "Details", 5, 1), "CB");
  EXPECT_EQ(lines.size(), size_t(Find(lines, "Details")) + 7);
  EXPECT_EQ(Find(lines, "Round robin scores"), -1);

  ResultsFixture b;
  b.SetWarriors({{"Weak", "A"}, {"Strong", "B"}}, {"Benchmark imp", "Dwarf"});
  b.Shape(Benchmark, 2);
  b.Tour.Rec.Rounds = 2;
  b.Set(0, 0, 0, 2, {0}, 10);
  b.Set(0, 1, 1, 1, {0}, 10);
  b.Set(1, 0, 2, 0, {0}, 10);
  b.Set(1, 1, 2, 0, {0}, 10);
  lines = Lines(b);
  EXPECT_EQ(lines[5], "Benchmark of 2 warriors with 2 benchmark warriors, 2 "
                      "rounds per matchup");
  EXPECT_EQ(At(lines, "Summary", 4, 4) + At(lines, "Summary", 5, 6), "WeakStrong"); // list order
  const std::string matrix = "Benchmark scores";
  EXPECT_EQ(At(lines, matrix, 2), "Warrior                   Index  Benchm   Dwarf  Average");
  EXPECT_EQ(At(lines, matrix, 4), "Weak                          1     0.0   150.0     75.0");
  EXPECT_EQ(At(lines, matrix, 5), "Strong                        2   300.0   300.0    300.0");
  EXPECT_EQ(At(lines, matrix, 6), ""); // no average line for a benchmark
}

TEST(ResultsReport, LongNamesAndAuthorsAreCutInEveryTable) {
  ResultsFixture f;
  const std::string name = "An extraordinarily long warrior name";
  const std::string author = "Somebody with a long name";
  f.SetWarriors({{name, author}, {"B", "B"}});
  f.Shape(RoundRobin, 2);
  f.Tour.Rec.Rounds = 1;
  f.Set(0, 1, 1, 0, {0}, 10);
  f.Set(1, 0, 0, 1, {0}, 10);
  const auto lines = Lines(f);
  // In the summary, the matrix and B's details; its own heading is cut after "vs. ".
  const auto count = [&](size_t n) {
    return std::ranges::count_if(lines,
                                 [&](auto& l) { return l.find(name.substr(0, n)) != l.npos; });
  };
  EXPECT_EQ(std::pair(count(25), count(26)), std::pair(3L, 0L));
  EXPECT_NE(Find(lines, "vs. An extraordinarily lo Author                Length    Score   "
                        "Given    Wins  Losses    Ties"),
            -1);
  EXPECT_EQ(At(lines, "Summary", 4, 47), name.substr(0, 25) + " " + author.substr(0, 20) + " ");
}

} // namespace
} // namespace velmora::test
