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

struct ScoreCase {
  const char* Label;
  const char* Formula;
  std::vector<int64_t> Counts;
  int64_t Losses;
  double Score, Given;
  std::vector<std::string> Messages;
};

void PrintTo(const ScoreCase& c, std::ostream* os) {
  *os << c.Label;
}

class ResultsScoreOf : public testing::TestWithParam<ScoreCase> {};

TEST_P(ResultsScoreOf, GivesPointsPerHundredRounds) {
  ResultsFixture f;
  const ScoreCase& c = GetParam();
  TFormulaFailures failures;
  const ScorePair s = ScoreOf(*f.Core, c.Formula, c.Counts, c.Losses, failures);
  // A second row failing at the same W, S adds nothing to the one message.
  ScoreOf(*f.Core, c.Formula, c.Counts, c.Losses, failures);
  EXPECT_DOUBLE_EQ(s.Score, c.Score);
  EXPECT_DOUBLE_EQ(s.Given, c.Given);
  EXPECT_EQ(failures.Empty() ? std::vector<std::string>{} : std::vector{failures.Text()},
            c.Messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultsScoreOf,
    testing::Values(
        // 6 wins, 2 losses, 2 draws: (3x6 + 1x2) / 10 and (3x2 + 1x2) / 10 per 100 rounds.
        ScoreCase{"example", "(W*W-1)/S", {6, 2}, 2, 200.0, 80.0, {}},
        ScoreCase{"noRounds", "(W*W-1)/S", {0, 0}, 0, 0.0, 0.0, {}},
        ScoreCase{"allWins", "(W*W-1)/S", {7, 0}, 0, 300.0, 0.0, {}},
        // A row of many long matchups: counts past 2^31 still score exactly.
        ScoreCase{"countsPast2To31", "(W*W-1)/S", {3000000000, 0}, 1000000000, 225.0, 75.0, {}},
        // Melee of 3 (8, 4 and 2 points for 1, 2, 3 survivors), 15 rounds: points
        // 8x3 + 4x4 + 2x5 = 50; given 8x3 for the losses plus 4x4 + 2x5 for the shares.
        ScoreCase{"melee", "(W*W-1)/S", {3, 4, 5}, 3, 100.0 * 50 / 15, 100.0 * 50 / 15, {}},
        // Fails at S = 2: rounds include the failing count, points only the wins.
        ScoreCase{"divideAtTwo",
                  "(W*W-1)/S/(2-S)",
                  {6, 2},
                  2,
                  100.0 * 18 / 10,
                  100.0 * 6 / 10,
                  {"Division by zero for W=2, S=2"}},
        ScoreCase{"meleeStopsAtFailure",
                  "12/(S-2)",
                  {1, 1, 1},
                  1,
                  100.0 * -12 / 3,
                  100.0 * -12 / 3,
                  {"Division by zero for W=3, S=2"}}));

TEST(ResultsScoreOfErrors, AFailureForALossIsNotCaught) {
  ResultsFixture f;
  TFormulaFailures failures;
  EXPECT_THROW(ScoreOf(*f.Core, "1/(S-1)", {1, 1}, 1, failures), std::exception);
  EXPECT_THROW(ScoreOf(*f.Core, "W+", {1, 1}, 1, failures), ECompileError);
}

} // namespace
} // namespace velmora::test
