#pragma once
// Runs a tournament at full speed through the run controller: its matchups spread over
// worker threads, one engine per thread, each matchup fought exactly as a single engine
// would fight it in turn, and the results merged into one table.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/core.h"
#include "tournament/tournament.h"
#include "tournament/unit_feed.h"

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
  // About the run as a whole: fewer threads than asked for; what ended it early.
  std::string Warning, Failure;
};

struct Progress {
  std::atomic<int64_t> RoundsDone{0};
  std::atomic<int32_t> MatchupsDone{0};
};

// Starts a worker thread; throws std::system_error when the system will not.
using ThreadStarter = std::function<std::thread(std::function<void()>)>;
std::thread StartThread(std::function<void()> body);

// The --threads option's count: 0 is one per core of this machine.
int32_t ThreadCount(int32_t option);

// Fights every matchup of master (set up by SetUpTournament on an engine made from
// params) and stores the results into master's table. threads >= 1; when fewer threads or
// engines can be had, the run goes on with those, and a message says how many. Memory that
// runs out during the run ends it with "Not enough memory".
BattleOutcome RunTournament(const TParamsRec& params, TTournament& master, int32_t threads,
                            Progress& progress, const ThreadStarter& start = StartThread);

// What fighting one matchup gave: whether it was fought to the end, what its engine showed
// and the cells of the table it filled, in the order of MatchupCells.
struct MatchupOutcome {
  bool Ok = false;
  std::vector<std::string> Messages;
  std::vector<MatchupResult> Cells;
};

// The cells of the results table one matchup fills: the row warriors' cells of a melee,
// both mirror cells of a round robin.
std::vector<Matchup> MatchupCells(const TTournamentRec& rec, const Matchup& m);

// Matchups handed out by their index in ScheduleOrder.
using MatchupFeed = TUnitFeed<MatchupOutcome>;

// Fights the matchups of master that feed hands out, each on one of up to threads engines,
// and gives back what each gave; RunTournament is this with every matchup of this machine.
// The outcome has the Warning of RunTournament, and Ok false with the Failure when no
// engine could be made; an exception in a thread goes to feed.Fail.
BattleOutcome FightMatchups(const TParamsRec& params, const TTournament& master, int32_t threads,
                            Progress& progress, MatchupFeed& feed,
                            const ThreadStarter& start = StartThread);

// Gathers the matchups' outcomes, in any order, into master's table and one outcome.
class MatchupCollector {
public:
  explicit MatchupCollector(TTournament& master);
  size_t Count() const { return Order.size(); }
  void Add(size_t index, MatchupOutcome outcome);
  void Fail(const std::string& message);
  // run's Warning and Failure, with Ok and the messages of every matchup in order.
  BattleOutcome Finish(BattleOutcome run);

private:
  TTournament& Master;
  std::vector<Matchup> Order;
  std::vector<char> Ok;
  std::vector<std::vector<std::string>> Messages;
  std::string Failure;
};

} // namespace velmora::cli
