#pragma once
// The texts of the results window's grid: the headings and the cells, row by row.

#include <string>
#include <vector>

#include "results/results_table.h"

namespace velmora {

// The heading row: columns 0 to 5, then the outcome headings for W warriors per battle of
// a tournament of the given type. details: column 1 reads "Opponent" instead of "Warrior".
std::vector<std::string> GridHeadings(uint8_t tournamentType, int32_t W, bool percent,
                                      bool details);

// One row of texts per display position, in display order; one empty row when there are
// none.
std::vector<std::vector<std::string>> GridCells(TResultsTable& table);

} // namespace velmora
