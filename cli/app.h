#pragma once
// velmora-cli's whole run, from the arguments to the exit status, with its streams given so
// that tests can drive it without a process.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/battle.h"
#include "tuning/sweep.h"

namespace velmora::cli {

// Where the battles of a run are fought once everything is read, compiled and checked:
// by default on this machine's threads. threads is the --threads option, 0 for one per core.
class BattleSite {
public:
  virtual ~BattleSite() = default;
  virtual BattleOutcome Tournament(const TParamsRec& params, TTournament& tour, int32_t threads,
                                   Progress& progress);
  virtual SweepOutcome Sweep(const SweepSpec& plan, int32_t threads, SweepProgress& progress);
};

// stderrIsTerminal: whether a progress line may be drawn on err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool stderrIsTerminal);
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool stderrIsTerminal, BattleSite& site);

} // namespace velmora::cli
