// The headings and cell texts of the results grid.

#include <gtest/gtest.h>

#include "results/grid_text.h"
#include "results/text_format.h"
#include "results_fixture.h"

namespace velmora::test {
namespace {

TEST(ResultsGridHeadings, FollowTheTypeAndTheWarriorsPerBattle) {
  const std::vector<std::string> fixed = {"   ID",    "Warrior",  "Author",
                                          "  Length", "   Score", "   Given"};
  const std::tuple<uint8_t, int32_t, bool, std::vector<std::string>> rows[] = {
      {RoundRobin, 2, false, {"     Wins", "  Losses", "       Ties"}},
      {RoundRobin, 2, true, {"      W%", "       L%", "       T%"}},
      {Melee, 1, false, {"       Ties", "  Losses"}},
      {Melee, 2, true, {"      W%", "       L%", "       T%"}},
      {Melee, 4, false, {"     Wins", "  Losses", "    2 Ties", "    3 Ties", "    4 Ties"}},
      {Melee, 3, true, {"      W%", "       L%", "    2  T%", "    3  T%"}},
      {Melee,
       11,
       false,
       {"     Wins", "  Losses", "    2 Ties", "    3 Ties", "    4 Ties", "    5 Ties",
        "    6 Ties", "    7 Ties", "    8 Ties", "    9 Ties", "  10 Ties", "  11 Ties"}}};
  for (const auto& [type, W, percent, outcomes] : rows) {
    std::vector<std::string> expected = fixed;
    expected.insert(expected.end(), outcomes.begin(), outcomes.end());
    EXPECT_EQ(GridHeadings(type, W, percent, false), expected) << int(type) << " " << W;
  }
  EXPECT_EQ(GridHeadings(RoundRobin, 2, false, true)[1], "Opponent");
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
  t.Percent = true;
  t.ComputeSummary();
  t.SortRows();
  EXPECT_EQ(GridCells(t)[1][6], "      60.0");
}

TEST(ResultsGridCells, AnEmptyTableHasOneEmptyRow) {
  ResultsFixture f;
  TResultsTable t(*f.Core, f.Tour);
  t.ComputeSummary();
  t.SortRows();
  const auto cells = GridCells(t);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_TRUE(cells[0].empty());
}

TEST(ResultsTextFormat, LengthsNumbersAndBlanks) {
  const std::pair<std::string, std::string> rows[] = {{FormatLength(0.5), "0.50000"},
                                                      {FormatLength(1), "1.00000"},
                                                      {FormatLength(0), "0.00000"},
                                                      {FormatLength(0.1234567), "0.12346"},
                                                      {FormatLength(12.345678), "12.34570"},
                                                      {FormatShortest(6, 8), "       6"},
                                                      {FormatShortest(1000000, 8), " 1000000"},
                                                      {FormatShortest(2.5, 7), "    2.5"},
                                                      {FormatShortest(123456789, 3), "123456789"},
                                                      {PadLeadingBlanks("  1.5 "), "    1.5 "},
                                                      {PadLeadingBlanks("x  "), "x  "},
                                                      {PadLeadingBlanks(""), ""},
                                                      {CutPad("abcdefghij", 5, 7), "abcde  "},
                                                      {CutPad("ab", 5, 3), "ab "}};
  for (const auto& [got, expected] : rows)
    EXPECT_EQ(got, expected);
}

} // namespace
} // namespace velmora::test
