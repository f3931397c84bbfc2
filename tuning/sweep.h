#pragma once
// Constant sweeps: a warrior assembled once per combination of values of one or two of its
// one-line equates, each version fought against the same opponents as a benchmark, with the
// benchmark score of the score formula. Every version meets the same positions, the work
// spreads over threads, and the results do not depend on their number.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "params/params_rec.h"
#include "tournament/tournament.h"
#include "tournament/unit_feed.h"

namespace velmora {

// Values From, From + Step, ... up to To (down to To for a negative step).
struct SweepRange {
  std::string Name;
  int32_t From = 0;
  int32_t To = 0;
  int32_t Step = 1;
};

struct SweepSpec {
  TWarriorData Warrior;
  std::vector<SweepRange> Ranges; // one or two
  std::vector<TWarriorData> Opponents;
  TParamsRec Params;
  int32_t Rounds = 1; // per opponent
  std::string ScoreFormula = "(W*W-1)/S";
  // Successive halving: every point with StartRounds, the better half with twice as many,
  // and so on until one point is left or the full rounds are reached.
  bool Halving = false;
  int32_t StartRounds = 0; // 0: an eighth of Rounds, at least 1
  int32_t Threads = 1;
};

// The most points a sweep takes.
inline constexpr int64_t kMaxSweepPoints = 100000;

struct SweepPoint {
  std::vector<int32_t> Values;            // one per range, in range order
  bool Failed = false;                    // did not assemble or a round could not be set up
  std::string Message;                    // why, in the assembler's words
  int32_t Rounds = 0;                     // rounds per opponent of its last fight; 0 not fought
  bool Full = false;                      // fought with the full rounds: part of the ranking
  int32_t Wins = 0, Losses = 0, Ties = 0; // over all opponents
  double Score = 0.0;                     // points per 100 rounds
  std::vector<MatchupResult> Matchups;    // one per opponent
};

// Shared with the caller while a sweep runs; any thread may read it or set Stop.
struct SweepProgress {
  std::atomic<int64_t> RoundsDone{0};
  std::atomic<int64_t> TotalRounds{0};
  std::atomic<int32_t> PointsDone{0}; // fights of a point with all opponents
  std::atomic<int32_t> TotalPoints{0};
  std::atomic<bool> Stop{false};
};

struct SweepOutcome {
  enum class Failure { None, BadSweep, Battle };
  Failure Fault = Failure::None;
  std::string Error; // with Fault: what stopped the sweep before it began
  bool Stopped = false;
  std::vector<SweepPoint> Points;    // in range order, the last range varying fastest
  std::vector<size_t> Ranking;       // indexes of the Full points, best score first
  std::vector<std::string> Messages; // what the battles would have shown, once each
};

// The values of a range; empty when its step leads away from To. Step 0 gives none.
std::vector<int32_t> RangeValues(const SweepRange& range);

// Empty when the names and ranges make a sweep of warrior; else the message.
std::string CheckSweepRanges(const TWarriorData& warrior, const std::vector<SweepRange>& ranges);

// The warrior's source with the point's values in its equates.
std::vector<std::string> PointSource(const SweepSpec& plan, const std::vector<int32_t>& values);

// Called when a point has fought all opponents (from a worker thread, one call at a time).
using PointDone = std::function<void(size_t index, const SweepPoint& point)>;

// One fight of a sweep: the version of the warrior at a point against one opponent.
struct SweepUnit {
  std::vector<int32_t> Values;
  size_t Opponent = 0;
  int32_t Rounds = 1; // per opponent, in this step
};

struct SweepUnitResult {
  MatchupResult Result;
  std::string Message; // what the engine showed, when it showed anything
};

using SweepFeed = TUnitFeed<SweepUnitResult>;

// Fights the units of one step, wherever they are fought, and calls done for each once,
// one call at a time. RunSweep by default fights them on the plan's threads.
using StepFighter = std::function<void(const std::vector<SweepUnit>& units,
                                       const std::function<void(size_t, SweepUnitResult)>& done)>;

SweepOutcome RunSweep(const SweepSpec& plan, SweepProgress& progress,
                      const PointDone& pointDone = {}, const StepFighter& fighter = {});

// Fights the units that feed hands out, on up to plan.Threads engines of its own, as
// RunSweep would fight them. Empty, or why no engine could be made; an exception in a
// thread goes to feed.Fail.
std::string FightSweepUnits(const SweepSpec& plan, const std::vector<SweepUnit>& units,
                            SweepProgress& progress, SweepFeed& feed);

} // namespace velmora
