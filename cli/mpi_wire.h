#pragma once
// What velmora-mpi's ranks send each other, as bytes: the jobs rank 0 broadcasts (settings,
// warriors, the units to fight) and the results of single units. The ranks run the same
// program on machines of the same byte order, so numbers travel as they are in memory.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/battle.h"
#include "tuning/sweep.h"

namespace velmora::cli {

// A message that is not what its sender wrote.
struct EWireError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One job of the ranks: a tournament's matchups, one step of a sweep, or the end of the run.
struct WireJob {
  enum Kind : uint8_t { Quit, Tournament, Sweep };
  Kind What = Quit;
  int32_t Threads = 0; // the --threads option: 0 is one per core of each rank
  TParamsRec Params;   // Tournament
  TTournament Tour;    // Tournament: lists and schedule, without results
  SweepSpec Plan;      // Sweep
  std::vector<SweepUnit> Units;

  size_t UnitCount() const;
};

std::string EncodeJob(const WireJob& job);
WireJob DecodeJob(const std::string& bytes); // throws EWireError

std::string EncodeResult(const MatchupOutcome& outcome);
std::string EncodeResult(const SweepUnitResult& result);
// Throw EWireError.
void DecodeResult(const std::string& bytes, MatchupOutcome& outcome);
void DecodeResult(const std::string& bytes, SweepUnitResult& result);

} // namespace velmora::cli
