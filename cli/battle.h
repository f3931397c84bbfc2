#pragma once
// Runs a tournament at full speed through the run controller: its matchups spread over
// worker threads, one engine per thread, each matchup fought exactly as a single engine
// would fight it in turn, and the results merged into one table.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/core.h"
#include "tournament/tournament.h"

namespace velmora::cli {

struct Matchup {
  int32_t Row = 0, Column = 0;
};

// The matchups of a tournament just set up, in the order the schedule fights them.
std::vector<Matchup> ScheduleOrder(const TTournamentRec& rec);

// What an engine showed while it fought one matchup.
struct MatchupMessage {
  Matchup Where;
  int32_t Number = 1; // 1-based, in the order of ScheduleOrder
  std::string Text;
};

// "matchup 3 (Imp vs Dwarf)", or "the melee", from the lists of tour.
std::string MatchupLabel(const TTournament& tour, const MatchupMessage& message);

struct BattleOutcome {
  bool Ok = true;                       // every matchup compiled and every round was set up
  std::vector<MatchupMessage> Messages; // in matchup order
};

struct Progress {
  std::atomic<int64_t> RoundsDone{0};
  std::atomic<int32_t> MatchupsDone{0};
};

// Fights every matchup of master (set up by SetUpTournament on an engine made from
// params) and stores the results into master's table. threads >= 1.
BattleOutcome RunTournament(const TParamsRec& params, TTournament& master, int32_t threads,
                            Progress& progress);

} // namespace velmora::cli
