// The results table where the report does not pin it (melee sums, a failing formula), its sort
// order and the headings that choose it; the score formula with points won and given; the grid's
// cells and the text formats at their edges.

#include <gtest/gtest.h>

#include "assembler/assembler.h"
#include "results/grid_text.h"
#include "results/score.h"
#include "results/text_format.h"
#include "results_fixture.h"

namespace velmora::test {
namespace {

std::vector<std::tuple<std::string, double, double>> Rows(const TResultsTable& t) {
  std::vector<std::tuple<std::string, double, double>> rows;
  for (const ResultRow& r : t.Rows)
    rows.emplace_back(r.Name, r.Score, r.Given);
  return rows;
}

// Melee sums and a failing formula; the report pins the other rows.
TEST(ResultsTable, MeleeSumsAndAFailingFormula) {
  ResultsFixture m;
  m.SetWarriors({{"A", ""}, {"B", ""}, {"C", ""}});
  m.Shape(Melee, 3);
  m.Set(0, 0, 2, 1, {1, 1}, 30);
  m.Set(1, 0, 1, 2, {1, 1}, 30);
  m.Set(2, 0, 0, 2, {2, 1}, 30);
  TResultsTable melee(*m.Core, m.Tour);
  melee.Percent = false;
  melee.ComputeSummary();
  ASSERT_EQ(melee.Rows.size(), 3u);
  EXPECT_EQ(melee.Rows[2].Outcomes, (std::vector<double>{0, 2, 2, 1}));
  EXPECT_DOUBLE_EQ(melee.Rows[0].Score, 100.0 * (8 * 2 + 4 * 1 + 2 * 1) / 5);

  ResultsFixture x;
  x.AlphaBeta();
  x.Tour.Rec.ScoreFormula = "(W*W-1)/S/(2-S)";
  TResultsTable failing(*x.Core, x.Tour);
  failing.ComputeSummary();
  EXPECT_EQ(Rows(failing),
            (decltype(Rows(failing)){{"Alpha", 180.0, 60.0}, {"Beta", 60.0, 180.0}}));
  // One message for the computation, not one per row.
  EXPECT_EQ(x.Platform.Messages, std::vector<std::string>{"Division by zero for W=2, S=2"});
}

TEST(ResultsTable, SortsAsTheQuicksortLeavesEqualKeysAndHeadingsChooseTheOrder) {
  // Scores 300, 100, 300: 3 points a round survived; wins 3, 1, 3 of 3 rounds. Equal keys end where
  // the procedure leaves them: with three equal keys it reverses them, which a stable sort would
  // not.
  const std::tuple<int32_t, bool, std::vector<int32_t>> sorts[] = {
      {4, true, {2, 0, 1}},  {4, false, {1, 2, 0}}, {1, false, {1, 0, 2}}, {2, false, {2, 1, 0}},
      {3, false, {0, 2, 1}}, {0, true, {2, 1, 0}},  {6, true, {2, 0, 1}},  {-1, true, {2, 1, 0}}};
  for (const auto& [column, descending, order] : sorts) {
    ResultsFixture f;
    f.SetWarriors({{"beta", "Zed"}, {"Alpha", "amy"}, {"gamma", "Amy"}});
    f.Shape(Melee, 1);
    f.Tour.Rec.ScoreFormula = "3";
    if (column >= 0) { // else every key is equal
      f.Set(0, 0, 3, 0, {}, 10);
      f.Set(1, 0, 1, 2, {}, 30);
      f.Set(2, 0, 3, 0, {}, 20);
    }
    TResultsTable t(*f.Core, f.Tour);
    t.Percent = false;
    if (column >= 0) {
      t.SortColumn = column;
      t.Descending = descending;
    }
    t.ComputeSummary();
    t.SortRows();
    EXPECT_EQ(t.Order, order) << column << " " << descending;
  }
  const std::tuple<std::vector<int32_t>, int32_t, bool> clicks[] = {
      {{}, 4, true},     {{4}, 4, false},   {{4, 4}, 4, true}, {{1}, 1, false}, {{6}, 6, true},
      {{1, 1}, 1, true}, {{0, 5}, 5, true}, {{2}, 2, false},   {{3}, 3, true}};
  for (const auto& [sequence, column, descending] : clicks) {
    ResultsFixture f;
    TResultsTable t(*f.Core, f.Tour);
    for (int32_t c : sequence)
      t.HeadingClicked(c);
    EXPECT_EQ(std::tuple(t.SortColumn, t.Descending), std::tuple(column, descending))
        << sequence.size();
  }
}

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
  EXPECT_EQ(std::tuple(f.Core->Asm.ScanPos, f.Core->Asm.CurLine, f.Core->Asm.Labels.size()),
            std::tuple(3, 9, 1u));
  EXPECT_EQ(f.Core->Asm.Labels[0].first, "start");
}

TEST(ResultsScore, PointsPerHundredRoundsWonAndGiven) {
  struct Row {
    const char* Formula;
    std::vector<int64_t> Counts;
    int64_t Losses;
    double Score, Given;
    std::string Message;
  };
  const Row rows[] = {// 6 wins, 2 losses, 2 draws: (3x6 + 1x2) / 10 and (3x2 + 1x2) / 10 per
                      // 100 rounds.
                      {"(W*W-1)/S", {6, 2}, 2, 200.0, 80.0, ""},
                      {"(W*W-1)/S", {0, 0}, 0, 0.0, 0.0, ""},
                      {"(W*W-1)/S", {7, 0}, 0, 300.0, 0.0, ""},
                      // A row of many long matchups: counts past 2^31 still score exactly.
                      {"(W*W-1)/S", {3000000000, 0}, 1000000000, 225.0, 75.0, ""},
                      // Melee of 3 (8, 4 and 2 points for 1, 2, 3 survivors), 15 rounds: points
                      // 8x3 + 4x4 + 2x5 = 50; given 8x3 for the losses plus 4x4 + 2x5 for the
                      // shares.
                      {"(W*W-1)/S", {3, 4, 5}, 3, 100.0 * 50 / 15, 100.0 * 50 / 15, ""},
                      // Fails at S = 2: rounds include the failing count, points only the wins; one
                      // message however many rows fail at the same W, S.
                      {"(W*W-1)/S/(2-S)", {6, 2}, 2, 180.0, 60.0, "Division by zero for W=2, S=2"},
                      {"12/(S-2)", {1, 1, 1}, 1, -400.0, -400.0, "Division by zero for W=3, S=2"}};
  for (const Row& r : rows) {
    ResultsFixture f;
    TFormulaFailures failures;
    const ScorePair s = ScoreOf(*f.Core, r.Formula, r.Counts, r.Losses, failures);
    ScoreOf(*f.Core, r.Formula, r.Counts, r.Losses, failures);
    EXPECT_DOUBLE_EQ(s.Score, r.Score) << r.Formula << " " << r.Counts[0];
    EXPECT_DOUBLE_EQ(s.Given, r.Given) << r.Formula << " " << r.Counts[0];
    EXPECT_EQ(failures.Empty() ? "" : failures.Text(), r.Message);
  }
  // A failure for a loss is not caught.
  ResultsFixture f;
  TFormulaFailures failures;
  EXPECT_THROW(ScoreOf(*f.Core, "1/(S-1)", {1, 1}, 1, failures), std::exception);
  EXPECT_THROW(ScoreOf(*f.Core, "W+", {1, 1}, 1, failures), ECompileError);
}

TEST(ResultsGridCells, ShowTheExampleRowsInDisplayOrder) {
  ResultsFixture f;
  f.AlphaBeta();
  TResultsTable t(*f.Core, f.Tour);
  t.Percent = false;
  t.SortColumn = 1;
  t.Descending = true; // Beta first
  t.ComputeSummary();
  t.SortRows();
  const auto cells = GridCells(t);
  ASSERT_EQ(cells.size(), 2u);
  // "%7g" gives six blanks before a digit; each leading blank is doubled.
  const std::string blanks(12, ' ');
  EXPECT_EQ(cells[0],
            (std::vector<std::string>{"    2", "Beta", "Bob", "0.50000", "      80.0", "    200.0",
                                      blanks + "2", blanks + "6", blanks + "2"}));
}

// Edges the report and the grid do not reach: rounding, numbers wider than their field,
// nothing to pad, a text shorter than its cut.
TEST(ResultsTextFormat, RoundingOverflowAndBlanks) {
  const std::pair<std::string, std::string> rows[] = {{FormatLength(0.1234567), "0.12346"},
                                                      {FormatLength(12.345678), "12.34570"},
                                                      {FormatShortest(123456789, 3), "123456789"},
                                                      {FormatShortest(2.5, 7), "    2.5"},
                                                      {PadLeadingBlanks("x  "), "x  "},
                                                      {PadLeadingBlanks(""), ""},
                                                      {CutPad("ab", 5, 3), "ab "}};
  for (const auto& [got, expected] : rows)
    EXPECT_EQ(got, expected);
}

} // namespace
} // namespace velmora::test
