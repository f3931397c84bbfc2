#pragma once
// velmora-mpi's ranks at work. Rank 0 runs velmora-cli's program with a battle site that
// broadcasts each job (settings, warriors and the units of work) and hands the units out to
// the ranks as they ask for them, its own threads included; the other ranks serve jobs
// until rank 0 says the run is over. Only rank 0's main thread and the other ranks' main
// threads call MPI; the units are fought on threads of their own.
//
// Messages of a job between rank 0 and rank r: r asks for a unit whenever one of its
// threads is free, rank 0 answers with a unit or, when none is left, once with "done"; r
// sends each unit's result, its rounds done now and then, and "finished" last, after its
// threads have stopped. A rank that fails sends its message; rank 0 prints it, naming the
// rank, and ends the whole run with exit status 1.

#include <mpi.h>

#include <iosfwd>

#include "cli/app.h"

namespace velmora::cli {

class MpiSite : public BattleSite {
public:
  // err: where rank 0 reports the other ranks' warnings and failures.
  MpiSite(MPI_Comm comm, std::ostream& err) : Comm(comm), Err(err) {}
  BattleOutcome Tournament(const TParamsRec& params, TTournament& tour, int32_t threads,
                           Progress& progress) override;
  SweepOutcome Sweep(const SweepSpec& plan, int32_t threads, SweepProgress& progress) override;
  // Tells the other ranks that the run is over.
  void Quit();

private:
  MPI_Comm Comm;
  std::ostream& Err;
};

// What the other ranks do: fight the units of each job rank 0 broadcasts until it quits.
void ServeJobs(MPI_Comm comm);

// Prints "velmora-mpi: rank N: message" on standard error and ends every rank with status 1.
[[noreturn]] void AbortRun(MPI_Comm comm, int rank, const std::string& message);

} // namespace velmora::cli
