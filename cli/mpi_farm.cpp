#include "cli/mpi_farm.h"

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <iostream>
#include <mutex>
#include <thread>

#include <sched.h>

#include "cli/mpi_wire.h"

namespace velmora::cli {

namespace {

enum Tag : int { Request = 1, Unit, Done, Result, Rounds, Warning, Failure, Finished };

struct EMpiError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void Check(int code, const char* call) {
  if (code == MPI_SUCCESS) return;
  char text[MPI_MAX_ERROR_STRING];
  int length = 0;
  MPI_Error_string(code, text, &length);
  throw EMpiError(std::string(call) + ": " + std::string(text, size_t(std::max(length, 0))));
}

// Waiting ranks poll: Open MPI's blocking calls spin on the processor that the threads
// fighting battles need, and a poll never waits forever on a failed call.
void Pause() {
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void Complete(MPI_Request& request, const char* call) {
  for (int done = 0;;) {
    Check(MPI_Test(&request, &done, MPI_STATUS_IGNORE), call);
    if (done) return;
    Pause();
  }
}

int Length(const std::string& bytes) {
  if (bytes.size() > size_t(INT_MAX)) throw EMpiError("a message is too long to send");
  return int(bytes.size());
}

void Send(MPI_Comm comm, int rank, Tag tag, const std::string& bytes = {}) {
  MPI_Request request;
  Check(MPI_Isend(bytes.data(), Length(bytes), MPI_BYTE, rank, tag, comm, &request), "MPI_Isend");
  Complete(request, "MPI_Isend");
}

// Rank 0's bytes to every rank.
void Broadcast(MPI_Comm comm, std::string& bytes) {
  uint64_t size = bytes.size();
  MPI_Request request;
  Check(MPI_Ibcast(&size, 1, MPI_UINT64_T, 0, comm, &request), "MPI_Ibcast");
  Complete(request, "MPI_Ibcast");
  bytes.resize(size);
  if (size == 0) return;
  Check(MPI_Ibcast(bytes.data(), Length(bytes), MPI_BYTE, 0, comm, &request), "MPI_Ibcast");
  Complete(request, "MPI_Ibcast");
}

struct Message {
  int Source = 0;
  int Tag = 0;
  std::string Bytes;
};

// The next message from source (any rank: MPI_ANY_SOURCE) when one has arrived.
bool Poll(MPI_Comm comm, int source, Message& m) {
  int arrived = 0;
  MPI_Status status;
  Check(MPI_Iprobe(source, MPI_ANY_TAG, comm, &arrived, &status), "MPI_Iprobe");
  if (!arrived) return false;
  int length = 0;
  Check(MPI_Get_count(&status, MPI_BYTE, &length), "MPI_Get_count");
  m.Source = status.MPI_SOURCE;
  m.Tag = status.MPI_TAG;
  m.Bytes.resize(size_t(std::max(length, 0)));
  Check(MPI_Recv(m.Bytes.data(), length, MPI_BYTE, m.Source, m.Tag, comm, MPI_STATUS_IGNORE),
        "MPI_Recv");
  return true;
}

std::string Number(uint64_t n) {
  return std::string(reinterpret_cast<const char*>(&n), sizeof n);
}

uint64_t NumberAt(const std::string& bytes) {
  uint64_t n = 0;
  if (bytes.size() < sizeof n) throw EWireError("a message ends early");
  std::memcpy(&n, bytes.data(), sizeof n);
  return n;
}

// Between a rank's main thread, which talks to the other ranks, and the threads that fight
// its units: the units to fight, and what came of them.
class UnitQueue {
public:
  // The fighting threads'.
  std::optional<size_t> Take() {
    std::unique_lock<std::mutex> lock(Lock);
    ++Waiting;
    Ready.wait(lock, [&] { return !Units.empty() || Closed; });
    --Waiting;
    if (Units.empty()) return std::nullopt;
    const size_t unit = Units.front();
    Units.pop_front();
    return unit;
  }
  void Give(size_t unit, std::string bytes) {
    std::lock_guard<std::mutex> lock(Lock);
    Out.Results.emplace_back(unit, std::move(bytes));
  }
  void Fail(const std::string& message) {
    std::lock_guard<std::mutex> lock(Lock);
    Out.Failures.push_back(message);
  }
  void Warn(const std::string& message) {
    std::lock_guard<std::mutex> lock(Lock);
    Out.Warnings.push_back(message);
  }
  void Stop() { Stopped = true; }

  // The main thread's.
  void Push(size_t unit) {
    {
      std::lock_guard<std::mutex> lock(Lock);
      Units.push_back(unit);
    }
    Ready.notify_one();
  }
  void Close() {
    {
      std::lock_guard<std::mutex> lock(Lock);
      Closed = true;
    }
    Ready.notify_all();
  }
  // Threads waiting for a unit that none is queued for.
  size_t Hungry() {
    std::lock_guard<std::mutex> lock(Lock);
    return Waiting > Units.size() ? Waiting - Units.size() : 0;
  }
  bool HasStopped() const { return Stopped; }
  struct Drained {
    std::vector<std::pair<size_t, std::string>> Results;
    std::vector<std::string> Failures, Warnings;
  };
  Drained Drain() {
    std::lock_guard<std::mutex> lock(Lock);
    return std::exchange(Out, {});
  }

private:
  std::mutex Lock;
  std::condition_variable Ready;
  std::deque<size_t> Units;
  bool Closed = false;
  size_t Waiting = 0;
  Drained Out;
  std::atomic<bool> Stopped{false};
};

template <class Result> class QueueFeed : public TUnitFeed<Result> {
public:
  explicit QueueFeed(UnitQueue& queue) : Queue(queue) {}
  std::optional<size_t> Take() override { return Queue.Take(); }
  void Give(size_t unit, Result result) override { Queue.Give(unit, EncodeResult(result)); }
  void Fail(const std::string& message) override { Queue.Fail(message); }

private:
  UnitQueue& Queue;
};

// The --threads option on a rank: 0 is one per core the rank may run on, as mpirun binds
// each rank to a core unless told otherwise (--bind-to none).
int32_t RankThreads(int32_t option) {
  cpu_set_t cores;
  if (option > 0 || sched_getaffinity(0, sizeof cores, &cores) != 0) return ThreadCount(option);
  return std::max(1, CPU_COUNT(&cores));
}

// A rank's threads fighting the units of job that queue hands them, with their engines.
void FightJob(const WireJob& job, UnitQueue& queue, Progress& progress, SweepProgress& sweep) {
  try {
    if (job.What == WireJob::Tournament) {
      QueueFeed<MatchupOutcome> feed(queue);
      const BattleOutcome out =
          FightMatchups(job.Params, job.Tour, RankThreads(job.Threads), progress, feed);
      if (!out.Ok) queue.Fail(out.Failure);
      if (!out.Warning.empty()) queue.Warn(out.Warning);
    } else if (job.What == WireJob::Sweep) {
      SweepSpec plan = job.Plan;
      plan.Threads = RankThreads(job.Threads);
      QueueFeed<SweepUnitResult> feed(queue);
      if (std::string failure = FightSweepUnits(plan, job.Units, sweep, feed); !failure.empty())
        queue.Fail(failure);
    }
  } catch (const std::bad_alloc&) {
    queue.Fail("Not enough memory");
  } catch (const std::exception& e) {
    queue.Fail(e.what());
  }
  queue.Stop();
}

int RankOf(MPI_Comm comm) {
  int rank = 0;
  MPI_Comm_rank(comm, &rank);
  return rank;
}

// Rank 0: broadcasts job, hands out its units to every rank, its own threads included, and
// gives each result to collect(unit, bytes, rank) once. Returns the warning of its threads.
std::string Coordinate(MPI_Comm comm, std::ostream& err, const WireJob& job, Progress& progress,
                       SweepProgress& sweep, std::atomic<int64_t>& rounds,
                       const std::function<void(size_t, const std::string&, int)>& collect) {
  int size = 1;
  MPI_Comm_size(comm, &size);
  std::string warning;
  UnitQueue local;
  std::thread pool;
  try {
    std::string bytes = EncodeJob(job);
    Broadcast(comm, bytes);
    const WireJob mine = DecodeJob(bytes); // the same job as the other ranks fight
    const size_t count = mine.UnitCount();
    pool = std::thread([&, mine] { FightJob(mine, local, progress, sweep); });
    size_t next = 0, received = 0;
    int finished = 0;
    std::vector<char> got(count, 0), told(size_t(size), 0);
    auto accept = [&](size_t unit, const std::string& result, int rank) {
      if (unit >= count || got[unit]) throw EWireError("a result of no unit handed out");
      got[unit] = 1;
      ++received;
      collect(unit, result, rank);
    };
    for (;;) {
      bool busy = false;
      const bool stopped = local.HasStopped();
      for (size_t n = local.Hungry(); n > 0 && next < count; --n, busy = true)
        local.Push(next++);
      if (next >= count) local.Close();
      UnitQueue::Drained d = local.Drain();
      if (!d.Failures.empty()) AbortRun(comm, 0, d.Failures.front());
      for (std::string& w : d.Warnings)
        warning = std::move(w);
      for (const auto& [unit, result] : d.Results)
        accept(unit, result, 0);
      busy = busy || !d.Results.empty();
      for (Message m; Poll(comm, MPI_ANY_SOURCE, m); busy = true) {
        try {
          switch (m.Tag) {
          case Request:
            if (next < count) {
              Send(comm, m.Source, Unit, Number(next++));
            } else if (!told[size_t(m.Source)]) {
              told[size_t(m.Source)] = 1;
              Send(comm, m.Source, Done);
            }
            break;
          case Result:
            accept(size_t(NumberAt(m.Bytes)), m.Bytes.substr(sizeof(uint64_t)), m.Source);
            break;
          case Rounds: rounds += int64_t(NumberAt(m.Bytes)); break;
          case Warning:
            err << "velmora-mpi: warning: rank " << m.Source << ": " << m.Bytes << '\n';
            break;
          case Failure: AbortRun(comm, m.Source, m.Bytes);
          case Finished: ++finished; break;
          default: throw EWireError("a message of an unknown kind");
          }
        } catch (const EWireError& e) {
          AbortRun(comm, m.Source, e.what());
        }
      }
      if (stopped && received == count && finished == size - 1) break;
      // Threads that stop before their work is done have failed.
      if (stopped && d.Failures.empty() && next < count && size == 1)
        AbortRun(comm, 0, "the threads stopped before their work was done");
      if (!busy) Pause();
    }
  } catch (const std::bad_alloc&) {
    AbortRun(comm, 0, "Not enough memory");
  } catch (const std::exception& e) {
    AbortRun(comm, 0, e.what());
  }
  pool.join();
  return warning;
}

// Another rank's part of one job: asks rank 0 for units while its threads are free and
// sends back what came of them.
void ServeJob(MPI_Comm comm, const WireJob& job) {
  UnitQueue queue;
  Progress progress;
  SweepProgress sweep;
  std::thread pool([&] { FightJob(job, queue, progress, sweep); });
  size_t asked = 0;
  bool done = false, failed = false;
  int64_t reported = 0;
  auto lastReport = std::chrono::steady_clock::now();
  for (;;) {
    const bool stopped = queue.HasStopped();
    UnitQueue::Drained d = queue.Drain();
    bool busy = !d.Results.empty();
    for (const std::string& f : d.Failures)
      Send(comm, 0, Failure, f);
    for (const std::string& w : d.Warnings)
      Send(comm, 0, Warning, w);
    for (const auto& [unit, result] : d.Results)
      Send(comm, 0, Result, Number(unit) + result);
    const int64_t rounds = progress.RoundsDone + sweep.RoundsDone;
    const auto now = std::chrono::steady_clock::now();
    if (rounds != reported && (stopped || now - lastReport > std::chrono::milliseconds(250))) {
      Send(comm, 0, Rounds, Number(uint64_t(rounds - reported)));
      reported = rounds;
      lastReport = now;
    }
    for (Message m; Poll(comm, 0, m); busy = true) {
      if (m.Tag == Unit) {
        asked -= asked > 0 ? 1 : 0;
        queue.Push(size_t(NumberAt(m.Bytes)));
      } else if (m.Tag == Done) {
        done = true;
        queue.Close();
      }
    }
    if (stopped && done) break;
    failed = failed || !d.Failures.empty();
    if (stopped && !failed) {
      Send(comm, 0, Failure, "the threads stopped before their work was done");
      failed = true; // rank 0 ends the run
    }
    for (size_t hungry = done ? 0 : queue.Hungry(); hungry > asked; ++asked)
      Send(comm, 0, Request);
    if (!busy) Pause();
  }
  Send(comm, 0, Finished);
  pool.join();
}

} // namespace

void AbortRun(MPI_Comm comm, int rank, const std::string& message) {
  std::cerr << "velmora-mpi: rank " << rank << ": " << message << std::endl;
  MPI_Abort(comm, 1);
  std::_Exit(1);
}

BattleOutcome MpiSite::Tournament(const TParamsRec& params, TTournament& tour, int32_t threads,
                                  Progress& progress) {
  WireJob job;
  job.What = WireJob::Tournament;
  job.Threads = threads;
  job.Params = params;
  job.Tour.Rec = tour.Rec;
  job.Tour.WarriorList = tour.WarriorList;
  job.Tour.BenchmarkList = tour.BenchmarkList;
  MatchupCollector collector(tour);
  SweepProgress unused;
  BattleOutcome run;
  run.Warning = Coordinate(Comm, Err, job, progress, unused, progress.RoundsDone,
                           [&](size_t unit, const std::string& bytes, int rank) {
                             MatchupOutcome outcome;
                             DecodeResult(bytes, outcome);
                             collector.Add(unit, std::move(outcome));
                             if (rank != 0) ++progress.MatchupsDone;
                           });
  return collector.Finish(std::move(run));
}

SweepOutcome MpiSite::Sweep(const SweepSpec& plan, int32_t threads, SweepProgress& progress) {
  Progress unused;
  return RunSweep(plan, progress, {}, [&](const std::vector<SweepUnit>& units, const auto& done) {
    WireJob job;
    job.What = WireJob::Sweep;
    job.Threads = threads;
    job.Plan = plan;
    job.Units = units;
    Coordinate(Comm, Err, job, unused, progress, progress.RoundsDone,
               [&](size_t unit, const std::string& bytes, int) {
                 SweepUnitResult result;
                 DecodeResult(bytes, result);
                 done(unit, std::move(result));
               });
  });
}

void MpiSite::Quit() {
  try {
    std::string bytes = EncodeJob(WireJob{});
    Broadcast(Comm, bytes);
  } catch (const std::exception& e) {
    AbortRun(Comm, 0, e.what());
  }
}

void ServeJobs(MPI_Comm comm) {
  try {
    for (;;) {
      std::string bytes;
      Broadcast(comm, bytes);
      const WireJob job = DecodeJob(bytes);
      if (job.What == WireJob::Quit) return;
      ServeJob(comm, job);
    }
  } catch (const std::bad_alloc&) {
    AbortRun(comm, RankOf(comm), "Not enough memory");
  } catch (const std::exception& e) {
    AbortRun(comm, RankOf(comm), e.what());
  }
}

} // namespace velmora::cli
