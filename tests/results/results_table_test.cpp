// Summary and detail rows, and the sort order of the table.

#include <gtest/gtest.h>

#include "results_fixture.h"

namespace velmora::test {
namespace {

void ExpectRow(const ResultRow& r, const std::string& name, double score, double given,
               const std::vector<double>& outcomes) {
  EXPECT_EQ(r.Name, name);
  EXPECT_DOUBLE_EQ(r.Score, score) << name;
  EXPECT_DOUBLE_EQ(r.Given, given) << name;
  EXPECT_EQ(r.Outcomes, outcomes) << name;
}

TEST(ResultsTable, SummaryOfTheExample) {
  ResultsFixture f;
  f.AlphaBeta();
  TResultsTable t(*f.Core, f.Tour);
  t.Percent = false;
  t.ComputeSummary();
  ASSERT_EQ(t.Rows.size(), 2u);
  ExpectRow(t.Rows[0], "Alpha", 200.0, 80.0, {6, 2, 2});
  ExpectRow(t.Rows[1], "Beta", 80.0, 200.0, {2, 6, 2});
  EXPECT_DOUBLE_EQ(t.Rows[0].Length, 0.5);
  EXPECT_EQ(t.Rows[1].ID, 2);
}

TEST(ResultsTable, DetailsShowTheOpponentsSide) {
  ResultsFixture f;
  f.AlphaBeta();
  TResultsTable t(*f.Core, f.Tour);
  t.Percent = false;
  t.ComputeDetails(1);
  ASSERT_EQ(t.Rows.size(), 1u); // no self fight
  ExpectRow(t.Rows[0], "Beta", 80.0, 200.0, {2, 6, 2});
  EXPECT_EQ(t.Selected, 1);
  // Ticking the percent box rescales only the outcomes.
  t.Percent = true;
  t.ComputeDetails(1);
  ExpectRow(t.Rows[0], "Beta", 80.0, 200.0, {20, 60, 20});
}

TEST(ResultsTable, SelfFightsAddTheOwnColumn) {
  ResultsFixture f;
  f.AlphaBeta();
  f.Tour.Rec.SelfFights = true;
  f.Set(0, 0, 0, 0, {5}, 100);
  TResultsTable t(*f.Core, f.Tour);
  t.ComputeDetails(1);
  ASSERT_EQ(t.Rows.size(), 2u);
  EXPECT_EQ(t.Rows[0].Name, "Alpha");
  // Five draws with itself: 1 point each, taken and given alike.
  EXPECT_DOUBLE_EQ(t.Rows[0].Score, 100.0);
  EXPECT_DOUBLE_EQ(t.Rows[0].Given, 100.0);
  EXPECT_EQ(t.Rows[1].Name, "Beta");
}

TEST(ResultsTable, ChallengeHasOneSummaryRowAndSkipsTheChallenger) {
  ResultsFixture f;
  f.SetWarriors({{"Champ", "A"}, {"B", "B"}, {"C", "C"}});
  f.Shape(Challenge, 2);
  f.Set(0, 1, 3, 1, {0}, 10);
  f.Set(0, 2, 1, 3, {0}, 10);
  TResultsTable t(*f.Core, f.Tour);
  t.ComputeSummary();
  ASSERT_EQ(t.Rows.size(), 1u);
  EXPECT_EQ(t.Rows[0].Name, "Champ");
  EXPECT_DOUBLE_EQ(t.Rows[0].Score, 100.0 * 3 * 4 / 8);
  t.ComputeDetails(1);
  ASSERT_EQ(t.Rows.size(), 2u);
  EXPECT_EQ(t.Rows[0].Name, "B");
  EXPECT_EQ(t.Rows[1].Name, "C");
}

TEST(ResultsTable, BenchmarkDetailsNameTheBenchmarkWarriors) {
  ResultsFixture f;
  f.SetWarriors({{"One", "A"}});
  f.SetBenchmarks({"Imp", "Dwarf"});
  f.Shape(Benchmark, 2, true);
  f.Set(0, 0, 1, 0, {0}, 10);
  TResultsTable t(*f.Core, f.Tour);
  t.ComputeDetails(1);
  ASSERT_EQ(t.Rows.size(), 2u); // self fights never drop a benchmark column
  EXPECT_EQ(t.Rows[0].Name, "Imp");
  EXPECT_EQ(t.Rows[1].Name, "Dwarf");
  EXPECT_DOUBLE_EQ(t.Rows[1].Score, 0.0);
}

TEST(ResultsTable, MeleeSummarySumsSurvivorCounts) {
  ResultsFixture f;
  f.SetWarriors({{"A", ""}, {"B", ""}, {"C", ""}});
  f.Shape(Melee, 3);
  f.Set(0, 0, 2, 1, {1, 1}, 30);
  f.Set(1, 0, 1, 2, {1, 1}, 30);
  f.Set(2, 0, 0, 2, {2, 1}, 30);
  TResultsTable t(*f.Core, f.Tour);
  t.Percent = false;
  t.ComputeSummary();
  ASSERT_EQ(t.Rows.size(), 3u);
  EXPECT_EQ(t.Rows[2].Outcomes, (std::vector<double>{0, 2, 2, 1}));
  EXPECT_DOUBLE_EQ(t.Rows[0].Score, 100.0 * (8 * 2 + 4 * 1 + 2 * 1) / 5);
}

TEST(ResultsTable, AFormulaFailingAtTwoScoresFromWinsAloneForEveryRow) {
  ResultsFixture f;
  f.AlphaBeta();
  f.Tour.Rec.ScoreFormula = "(W*W-1)/S/(2-S)";
  TResultsTable t(*f.Core, f.Tour);
  t.ComputeSummary();
  ASSERT_EQ(t.Rows.size(), 2u);
  EXPECT_DOUBLE_EQ(t.Rows[0].Score, 180.0);
  EXPECT_DOUBLE_EQ(t.Rows[1].Score, 60.0);
  // One message for the computation, not one per row.
  EXPECT_EQ(f.Platform.Messages, std::vector<std::string>{"Division by zero for W=2, S=2"});
}

TEST(ResultsTable, SortsAsTheQuicksortLeavesEqualKeysAndHeadingsChooseTheOrder) {
  // Scores 300, 100, 300: 3 points a round survived; wins 3, 1, 3 of 3 rounds. Equal keys end
  // where the procedure leaves them: with three equal keys it reverses them, which a stable
  // sort would not.
  const std::tuple<const char*, int32_t, bool, std::vector<int32_t>> sorts[] = {
      {"score down", 4, true, {2, 0, 1}}, {"score up", 4, false, {1, 2, 0}},
      {"name up", 1, false, {1, 0, 2}},   {"author up, ties", 2, false, {2, 1, 0}},
      {"length up", 3, false, {0, 2, 1}}, {"ID down", 0, true, {2, 1, 0}},
      {"wins down", 6, true, {2, 0, 1}}};
  for (const auto& [what, column, descending, order] : sorts) {
    ResultsFixture f;
    f.SetWarriors({{"beta", "Zed"}, {"Alpha", "amy"}, {"gamma", "Amy"}});
    f.Shape(Melee, 1);
    f.Tour.Rec.ScoreFormula = "3";
    f.Set(0, 0, 3, 0, {}, 10);
    f.Set(1, 0, 1, 2, {}, 30);
    f.Set(2, 0, 3, 0, {}, 20);
    TResultsTable t(*f.Core, f.Tour);
    t.Percent = false;
    t.SortColumn = column;
    t.Descending = descending;
    t.ComputeSummary();
    t.SortRows();
    EXPECT_EQ(t.Order, order) << what;
  }
  ResultsFixture equal; // three equal keys: the quicksort reverses them
  equal.SetWarriors({{"A", ""}, {"B", ""}, {"C", ""}});
  equal.Shape(Melee, 1);
  TResultsTable table(*equal.Core, equal.Tour);
  table.ComputeSummary();
  table.SortRows();
  EXPECT_EQ(table.Order, (std::vector<int32_t>{2, 1, 0}));

  const std::tuple<std::vector<int32_t>, int32_t, bool> clicks[] = {
      {{}, 4, true},     {{4}, 4, false},   {{4, 4}, 4, true}, {{1}, 1, false}, {{6}, 6, true},
      {{1, 1}, 1, true}, {{0, 5}, 5, true}, {{2}, 2, false},   {{3}, 3, true}};
  for (const auto& [sequence, column, descending] : clicks) {
    ResultsFixture f;
    TResultsTable t(*f.Core, f.Tour);
    for (int32_t c : sequence)
      t.HeadingClicked(c);
    EXPECT_EQ(t.SortColumn, column) << sequence.size();
    EXPECT_EQ(t.Descending, descending) << column;
  }
}

} // namespace
} // namespace velmora::test
