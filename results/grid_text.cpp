#include "results/grid_text.h"

#include <algorithm>
#include <cmath>

#include "results/text_format.h"

namespace velmora {

std::vector<std::string> GridHeadings(uint8_t tournamentType, int32_t W, bool percent,
                                      bool details) {
  const char* wins = percent ? "      W%" : "     Wins";
  const char* losses = percent ? "       L%" : "  Losses";
  const char* ties = percent ? "       T%" : "       Ties";
  const char* suffix = percent ? "  T%" : " Ties";
  const bool melee = tournamentType == Melee;
  std::vector<std::string> h(size_t(melee ? std::max(W, 1) + 7 : 9));
  h[0] = "   ID";
  h[1] = details ? "Opponent" : "Warrior";
  h[2] = "Author";
  h[3] = "  Length";
  h[4] = "   Score";
  h[5] = "   Given";
  if (melee && W <= 1) {
    h[6] = ties;
  } else if (melee && W >= 3) {
    h[6] = wins;
    for (int32_t s = 2; s <= W; ++s) {
      const int blanks = 2 * (2 - static_cast<int>(std::floor(std::log10(s))));
      h[size_t(s + 6)] = std::string(size_t(std::max(blanks, 0)), ' ') + std::to_string(s) + suffix;
    }
  } else {
    h[6] = wins;
    h[8] = ties;
  }
  h[7] = losses;
  return h;
}

std::vector<std::vector<std::string>> GridCells(TResultsTable& table) {
  std::vector<std::vector<std::string>> cells;
  for (size_t p = 0; p < table.Order.size(); ++p) {
    const ResultRow& r = table.RowAt(int32_t(p));
    std::vector<std::string> line{PadLeadingBlanks(FormatShortest(r.ID, 3)),
                                  r.Name,
                                  r.Author,
                                  FormatLength(r.Length),
                                  PadLeadingBlanks(Format("%7.1f", r.Score)),
                                  PadLeadingBlanks(Format("%7.1f", r.Given))};
    for (double v : r.Outcomes)
      line.push_back(PadLeadingBlanks(table.Percent ? Format("%7.1f", v) : FormatShortest(v, 7)));
    cells.push_back(std::move(line));
  }
  if (cells.empty()) cells.emplace_back();
  return cells;
}

} // namespace velmora
