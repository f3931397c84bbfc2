// velmora-mpi: velmora-cli's tournaments and sweeps fought by the ranks of an MPI job.

#include <mpi.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/mpi_farm.h"
#include "cli/program.h"

int main(int argc, char** argv) {
  int provided = 0;
  if (MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided) != MPI_SUCCESS) {
    std::cerr << "velmora-mpi: MPI could not be started\n";
    return 1;
  }
  // Failed calls return their error, which the ranks report before they end the run.
  MPI_Comm_set_errhandler(MPI_COMM_WORLD, MPI_ERRORS_RETURN);
  int rank = 0;
  MPI_Comm_rank(MPI_COMM_WORLD, &rank);
  MPI_Comm comm = MPI_COMM_NULL;
  if (MPI_Comm_dup(MPI_COMM_WORLD, &comm) != MPI_SUCCESS)
    velmora::cli::AbortRun(MPI_COMM_WORLD, rank, "MPI_Comm_dup failed");
  MPI_Comm_set_errhandler(comm, MPI_ERRORS_RETURN);
  // The main thread alone calls MPI while the battles run on threads.
  if (provided < MPI_THREAD_FUNNELED)
    velmora::cli::AbortRun(comm, rank, "this MPI library does not allow threads");

  int status = 0;
  if (rank == 0) {
    velmora::cli::MpiSite site(comm, std::cerr);
    status = velmora::cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), site);
    site.Quit();
  } else {
    velmora::cli::ServeJobs(comm);
  }
  MPI_Comm_free(&comm);
  MPI_Finalize();
  return status;
}
