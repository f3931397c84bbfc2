#pragma once
// The results window's table without a window: summary rows (one per warrior) or detail
// rows (one per opponent of a chosen warrior), scored with the score formula, and a display
// order sorted by a chosen column.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core.h"
#include "results/score.h"
#include "tournament/tournament.h"

namespace velmora {

struct ResultRow {
  double ID = 0;
  std::string Name, Author;
  double Length = 0; // mean round length over the cycle limit
  double Score = 0;
  double Given = 0;
  std::vector<double> Outcomes; // W + 1 values: wins, losses, then ties with 2..W survivors
  int32_t Index = 0;            // the warrior's (or opponent's) 0-based list index
};

// Grid columns: 0 ID, 1 name, 2 author, 3 length, 4 score, 5 given, 6.. outcomes.
inline constexpr int32_t kScoreColumn = 4;

class TResultsTable {
public:
  // core: evaluates the formula, gives the cycle limit and shows formula errors.
  TResultsTable(TCore& core, const TTournament& tournament) : Core(core), Tour(tournament) {}

  bool Percent = true;
  int32_t SortColumn = kScoreColumn;
  bool Descending = true;
  int32_t Selected = 1; // 1-based row of the results table whose details are shown
  std::vector<ResultRow> Rows;
  std::vector<int32_t> Order; // display position -> index into Rows

  int32_t WarriorsPerBattle() const { return Tour.Rec.WarriorsPerBattle; }

  void ComputeSummary();
  // s: 1-based row of the results table.
  void ComputeDetails(int32_t s);
  void SortRows();
  // A click on heading column: the same column flips the direction; another one sorts
  // ascending for ID, name and author, descending for numbers.
  void HeadingClicked(int32_t column);

  ResultRow& RowAt(int32_t position) { return Rows[size_t(Order[size_t(position)])]; }

private:
  void ReportFailures(const TFormulaFailures& failures);

  TCore& Core;
  const TTournament& Tour;
};

} // namespace velmora
