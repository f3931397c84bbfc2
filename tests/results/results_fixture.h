#pragma once
// An engine and a tournament whose results tables the tests fill by hand.

#include <memory>
#include <string>
#include <vector>

#include "engine/core.h"
#include "results/results_table.h"
#include "tournament/tournament.h"

namespace velmora::test {

struct ResultsFixture {
  ResultsFixture();
  TNullMardexForm Form{10};
  THeadlessPlatform Platform;
  std::unique_ptr<TCore> Core;
  TTournament Tour;

  // Lists of warriors named and authored as given; IDs are positions + 1. Benchmark
  // warriors are written by "Bench".
  void SetWarriors(const std::vector<std::pair<std::string, std::string>>& warriors,
                   const std::vector<std::string>& benchmarks = {});
  // An empty table of the type's shape, W survivor counts per cell.
  void Shape(uint8_t type, int32_t W, bool selfFights = false);
  // Sets one cell: wins, losses, then ties with 2..W survivors, mean cycles.
  void Set(int32_t row, int32_t column, int32_t wins, int32_t losses,
           const std::vector<int32_t>& ties, double cycles);
  // The round robin of Alpha and Beta: Alpha wins 6, loses 2, draws 2, half the cycle limit.
  void AlphaBeta();
};

} // namespace velmora::test
