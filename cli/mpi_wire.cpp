#include "cli/mpi_wire.h"

#include <concepts>
#include <cstring>
#include <type_traits>

namespace velmora::cli {

namespace {

template <class T, class U>
concept Is = std::same_as<std::remove_const_t<T>, U>;

// The fields of each record that travels, for writing and reading alike. A field added to a
// record must be added here, or the ranks would fight with different settings.
template <class A, Is<TParamsRec> P> void Fields(A& a, P& p) {
  a(p.DisplayLevel, p.EarlyDrawCheck, p.RandomCoreSize, p.NumWarriors, p.MaxProcesses,
    p.CoreSizeMax, p.CoreSizeMin, p.MaxCycles, p.MinDistance, p.Standard, p.ReadLimit, p.WriteLimit,
    p.PSpaceSize, p.MaxLength, p.CircularDisplay, p.SecondPosition, p.SeedMode,
    p.InitialInstruction);
}
template <class A, Is<TTournamentRec> R> void Fields(A& a, R& r) {
  a(r.TournamentType, r.WarriorCount, r.BenchmarkCount, r.WarriorsPerBattle, r.RowCount, r.Rounds,
    r.ColumnCount, r.CurrentRow, r.CurrentColumn, r.PauseBetweenRounds, r.SelfFights,
    r.ScoreFormula);
}
template <class A, Is<TWarriorData> W> void Fields(A& a, W& w) {
  a(w.ID, w.Name, w.Author, w.Source, w.FileName);
}
template <class A, Is<MatchupResult> M> void Fields(A& a, M& m) {
  a(m.Opponent, m.RoundsPlayed, m.Losses, m.SurvivorCounts, m.AverageCycles);
}
template <class A, Is<SweepRange> R> void Fields(A& a, R& r) {
  a(r.Name, r.From, r.To, r.Step);
}
template <class A, Is<SweepSpec> S> void Fields(A& a, S& s) {
  a(s.Warrior, s.Ranges, s.Opponents, s.Params, s.Rounds, s.ScoreFormula, s.Halving, s.StartRounds,
    s.Threads);
}
template <class A, Is<SweepUnit> U> void Fields(A& a, U& u) {
  a(u.Values, u.Opponent, u.Rounds);
}
template <class A, Is<SweepUnitResult> R> void Fields(A& a, R& r) {
  a(r.Result, r.Message);
}
template <class A, Is<MatchupOutcome> O> void Fields(A& a, O& o) {
  a(o.Ok, o.Messages, o.Cells);
}

class Writer {
public:
  std::string Bytes;
  template <class... T> void operator()(const T&... values) { (Put(values), ...); }

private:
  template <class T> void Put(const T& v) {
    if constexpr (std::is_arithmetic_v<T>) {
      Bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
    } else if constexpr (std::is_same_v<T, std::string>) {
      Put(uint64_t(v.size()));
      Bytes += v;
    } else if constexpr (requires { v.begin(); }) {
      Put(uint64_t(v.size()));
      for (const auto& e : v)
        Put(e);
    } else {
      Fields(*this, v);
    }
  }
};

class Reader {
public:
  explicit Reader(const std::string& bytes) : Bytes(bytes) {}
  template <class... T> void operator()(T&... values) { (Get(values), ...); }
  void End() const {
    if (At != Bytes.size()) throw EWireError("a message is longer than its contents");
  }

private:
  void Take(void* to, size_t n) {
    if (Bytes.size() - At < n) throw EWireError("a message ends early");
    std::memcpy(to, Bytes.data() + At, n);
    At += n;
  }
  // A count of things that each take at least a byte: never more than the bytes left.
  size_t Count() {
    uint64_t n = 0;
    Take(&n, sizeof n);
    if (n > Bytes.size() - At) throw EWireError("a message ends early");
    return size_t(n);
  }
  template <class T> void Get(T& v) {
    if constexpr (std::is_same_v<T, bool>) {
      uint8_t b = 0;
      Take(&b, 1);
      v = b != 0;
    } else if constexpr (std::is_arithmetic_v<T>) {
      Take(&v, sizeof v);
    } else if constexpr (std::is_same_v<T, std::string>) {
      v.resize(Count());
      Take(v.data(), v.size());
    } else if constexpr (requires { v.begin(); }) {
      v.resize(Count());
      for (auto& e : v)
        Get(e);
    } else {
      Fields(*this, v);
    }
  }
  const std::string& Bytes;
  size_t At = 0;
};

template <class T> std::string Encode(const T& value) {
  Writer w;
  w(value);
  return std::move(w.Bytes);
}

template <class T> void Decode(const std::string& bytes, T& value) {
  Reader r(bytes);
  r(value);
  r.End();
}

} // namespace

size_t WireJob::UnitCount() const {
  if (What == Tournament) return ScheduleOrder(Tour.Rec).size();
  return What == Sweep ? Units.size() : 0;
}

std::string EncodeJob(const WireJob& job) {
  Writer w;
  w(uint8_t(job.What), job.Threads);
  if (job.What == WireJob::Tournament)
    w(job.Params, job.Tour.Rec, job.Tour.WarriorList, job.Tour.BenchmarkList);
  else if (job.What == WireJob::Sweep)
    w(job.Plan, job.Units);
  return std::move(w.Bytes);
}

WireJob DecodeJob(const std::string& bytes) {
  WireJob job;
  Reader r(bytes);
  uint8_t what = 0;
  r(what, job.Threads);
  if (what > WireJob::Sweep) throw EWireError("a job of an unknown kind");
  job.What = WireJob::Kind(what);
  if (job.What == WireJob::Tournament)
    r(job.Params, job.Tour.Rec, job.Tour.WarriorList, job.Tour.BenchmarkList);
  else if (job.What == WireJob::Sweep)
    r(job.Plan, job.Units);
  r.End();
  return job;
}

std::string EncodeResult(const MatchupOutcome& outcome) {
  return Encode(outcome);
}
std::string EncodeResult(const SweepUnitResult& result) {
  return Encode(result);
}
void DecodeResult(const std::string& bytes, MatchupOutcome& outcome) {
  Decode(bytes, outcome);
}
void DecodeResult(const std::string& bytes, SweepUnitResult& result) {
  Decode(bytes, result);
}

} // namespace velmora::cli
