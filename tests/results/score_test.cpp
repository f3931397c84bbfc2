// The score formula, points won and given, and percentages.

#include <gtest/gtest.h>

#include "assembler/assembler.h"
#include "results/score.h"
#include "results_fixture.h"

namespace velmora::test {
namespace {

TEST(ResultsScore, TheFormulaBindsWAndSInBothCasesAndLeavesTheScannerAlone) {
  ResultsFixture f;
  const std::tuple<const char*, int32_t, int32_t, int32_t> rows[] = {
      {"(W*W-1)/S", 2, 1, 3},     {"(W*W-1)/S", 2, 2, 1}, {"(w*w-1)/s", 4, 3, 5}, {"W-S", 5, 2, 3},
      {"CORESIZE/W", 4, 1, 2000}, {"S==1", 3, 1, 1},      {"S==1", 3, 2, 0}};
  for (const auto& [formula, W, S, expected] : rows)
    EXPECT_EQ(EvaluateScore(*f.Core, formula, W, S), expected) << formula << " " << W << S;
  SetLineText(f.Core->Asm, "mov 0, 1");
  f.Core->Asm.ScanPos = 3;
  f.Core->Asm.Labels = {{"start", 4}};
  f.Core->Asm.CurLine = 9;
  EXPECT_EQ(EvaluateScore(*f.Core, "W+S", 2, 2), 4);
  EXPECT_THROW(EvaluateScore(*f.Core, "W/(S-2)", 2, 2), std::exception);
  EXPECT_EQ(f.Core->Asm.ScanPos, 3);
  EXPECT_EQ(f.Core->Asm.CurLine, 9);
  ASSERT_EQ(f.Core->Asm.Labels.size(), 1u);
  EXPECT_EQ(f.Core->Asm.Labels[0].first, "start");
}

TEST(ResultsScore, PointsPerHundredRoundsTakenAndGiven) {
  struct Row {
    const char* what;
    const char* formula;
    std::vector<int32_t> counts;
    int32_t losses;
    double score, given;
    std::vector<std::string> messages;
  };
  const Row rows[] = {
      // 6 wins, 2 losses, 2 draws: (3x6 + 1x2) / 10 and (3x2 + 1x2) / 10 per 100 rounds.
      {"example", "(W*W-1)/S", {6, 2}, 2, 200.0, 80.0, {}},
      {"no rounds", "(W*W-1)/S", {0, 0}, 0, 0.0, 0.0, {}},
      {"all wins", "(W*W-1)/S", {7, 0}, 0, 300.0, 0.0, {}},
      // Melee of 3 (8, 4 and 2 points for 1, 2, 3 survivors), 15 rounds: points
      // 8x3 + 4x4 + 2x5 = 50; given 8x3 for the losses plus 4x4 + 2x5 for the shares.
      {"melee", "(W*W-1)/S", {3, 4, 5}, 3, 100.0 * 50 / 15, 100.0 * 50 / 15, {}},
      // Fails at S = 2: rounds include the failing count, points only the wins.
      {"divide at two",
       "(W*W-1)/S/(2-S)",
       {6, 2},
       2,
       100.0 * 18 / 10,
       100.0 * 6 / 10,
       {"Division by zero for W=2, S=2"}},
      {"a melee stops at the failure",
       "12/(S-2)",
       {1, 1, 1},
       1,
       100.0 * -12 / 3,
       100.0 * -12 / 3,
       {"Division by zero for W=3, S=2"}},
  };
  for (const Row& r : rows) {
    ResultsFixture f;
    const ScorePair s = ScoreOf(*f.Core, r.formula, r.counts, r.losses);
    EXPECT_DOUBLE_EQ(s.Score, r.score) << r.what;
    EXPECT_DOUBLE_EQ(s.Given, r.given) << r.what;
    EXPECT_EQ(f.Platform.Messages, r.messages) << r.what;
  }
  // A failure for a loss is not caught.
  ResultsFixture f;
  EXPECT_THROW(ScoreOf(*f.Core, "1/(S-1)", {1, 1}, 1), std::exception);
  EXPECT_THROW(ScoreOf(*f.Core, "W+", {1, 1}, 1), ECompileError);

  const std::tuple<int32_t, double, bool, double> percents[] = {{10, 6, true, 60.0},
                                                                {10, 6, false, 6.0},
                                                                {0, 6, true, 0.0},
                                                                {0, 6, false, 0.0},
                                                                {3, 1, true, 100.0 / 3}};
  for (const auto& [rounds, value, percent, expected] : percents)
    EXPECT_DOUBLE_EQ(PercentOf(rounds, value, percent), expected) << rounds << " " << percent;
}

} // namespace
} // namespace velmora::test
