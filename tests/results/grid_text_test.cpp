// The headings and cell texts of the results grid.

#include <gtest/gtest.h>

#include "results/grid_text.h"
#include "results/text_format.h"
#include "results_fixture.h"

namespace velmora::test {
namespace {

struct HeadingCase {
  const char* Label;
  uint8_t Type;
  int32_t W;
  bool Percent;
  std::vector<std::string> Outcomes; // columns 6 onwards
};

void PrintTo(const HeadingCase& c, std::ostream* os) {
  *os << c.Label;
}

class ResultsGridHeadings : public testing::TestWithParam<HeadingCase> {};

TEST_P(ResultsGridHeadings, FollowTheTypeAndTheWarriorsPerBattle) {
  const HeadingCase& c = GetParam();
  const std::vector<std::string> h = GridHeadings(c.Type, c.W, c.Percent, false);
  ASSERT_GE(h.size(), 6u);
  EXPECT_EQ(
      std::vector<std::string>(h.begin(), h.begin() + 6),
      (std::vector<std::string>{"   ID", "Warrior", "Author", "  Length", "   Score", "   Given"}));
  EXPECT_EQ(std::vector<std::string>(h.begin() + 6, h.end()), c.Outcomes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultsGridHeadings,
    testing::Values(
        HeadingCase{"roundRobin", RoundRobin, 2, false, {"     Wins", "  Losses", "       Ties"}},
        HeadingCase{
            "roundRobinPercent", RoundRobin, 2, true, {"      W%", "       L%", "       T%"}},
        HeadingCase{"melee1", Melee, 1, false, {"       Ties", "  Losses"}},
        HeadingCase{"melee2", Melee, 2, true, {"      W%", "       L%", "       T%"}},
        HeadingCase{"melee4",
                    Melee,
                    4,
                    false,
                    {"     Wins", "  Losses", "    2 Ties", "    3 Ties", "    4 Ties"}},
        HeadingCase{
            "melee3Percent", Melee, 3, true, {"      W%", "       L%", "    2  T%", "    3  T%"}},
        HeadingCase{"melee10",
                    Melee,
                    11,
                    false,
                    {"     Wins", "  Losses", "    2 Ties", "    3 Ties", "    4 Ties",
                     "    5 Ties", "    6 Ties", "    7 Ties", "    8 Ties", "    9 Ties",
                     "  10 Ties", "  11 Ties"}}));

TEST(ResultsGridHeadingsDetails, NameTheOpponentColumn) {
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

struct TextCase {
  std::string Got, Expected;
};

class ResultsTextFormat : public testing::TestWithParam<TextCase> {};

TEST_P(ResultsTextFormat, Matches) {
  EXPECT_EQ(GetParam().Got, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResultsTextFormat,
                         testing::Values(TextCase{FormatLength(0.5), "0.50000"},
                                         TextCase{FormatLength(1), "1.00000"},
                                         TextCase{FormatLength(0), "0.00000"},
                                         TextCase{FormatLength(0.1234567), "0.12346"},
                                         TextCase{FormatLength(12.345678), "12.34570"},
                                         TextCase{FormatShortest(6, 8), "       6"},
                                         TextCase{FormatShortest(1000000, 8), " 1000000"},
                                         TextCase{FormatShortest(2.5, 7), "    2.5"},
                                         TextCase{FormatShortest(123456789, 3), "123456789"},
                                         TextCase{PadLeadingBlanks("  1.5 "), "    1.5 "},
                                         TextCase{PadLeadingBlanks("x  "), "x  "},
                                         TextCase{PadLeadingBlanks(""), ""},
                                         TextCase{CutPad("abcdefghij", 5, 7), "abcde  "},
                                         TextCase{CutPad("ab", 5, 3), "ab "}));

} // namespace
} // namespace velmora::test
