#include "tuning/sweep.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>

#include "assembler/assembler.h"
#include "results/score.h"
#include "tournament/run_controller.h"
#include "tuning/equates.h"

namespace velmora {

namespace {

constexpr const char* kCompleteMessage = "Tournament complete.";

// Counts rounds as they are recorded and ends the fight when the caller asks to stop.
class UnitView : public TRunView {
public:
  explicit UnitView(SweepProgress& progress) : Progress(progress) {}
  void ProcessPendingEvents() override {
    Count();
    if (Progress.Stop && Controller) Controller->StopBattle();
  }
  void Count() {
    const MatchupResult* r = Tour ? Tour->CurrentResult() : nullptr;
    if (r && r->RoundsPlayed > Counted) {
      Progress.RoundsDone += r->RoundsPlayed - Counted;
      Counted = r->RoundsPlayed;
    }
  }
  SweepProgress& Progress;
  TRunController* Controller = nullptr;
  const TTournament* Tour = nullptr;
  int32_t Counted = 0;
};

// One engine and the benchmark of one warrior against one opponent it fights.
struct Worker {
  TNullMardexForm Form;
  THeadlessPlatform Platform;
  std::unique_ptr<TCore> Core;
  TTournament Tour;
  UnitView View;
  std::unique_ptr<TRunController> Controller;

  // fullRounds stays the ROUNDS constant of every fight, however short.
  Worker(const TParamsRec& params, int32_t fullRounds, const std::string& formula,
         SweepProgress& progress)
      : Form(fullRounds), View(progress) {
    Core = TCore::Create(params, Form, Platform);
    if (!Core) return;
    Controller = std::make_unique<TRunController>(*Core, Tour, View);
    Controller->SetMaxSpeed(true);
    View.Controller = Controller.get();
    View.Tour = &Tour;
    Tour.Rec.TournamentType = Benchmark;
    Tour.Rec.ScoreFormula = formula;
  }

  // The error lines of warrior assembled alone; empty when it compiles.
  std::string AssemblyErrors(const TWarriorData& warrior) {
    while (Core->Warriors.size() < 2)
      Core->AddWarrior();
    TWarrior& w = *Core->Warriors[1];
    w.Name = warrior.Name;
    w.Source = warrior.Source;
    std::vector<std::string> errors;
    uint32_t checksum = 1;
    try {
      if (AssembleWarrior(*Core, 1, errors, checksum, true) == 2) return {};
    } catch (const std::exception& e) {
      errors.push_back(e.what());
    }
    if (errors.empty()) return "Warrior " + warrior.Name + " has no code.";
    std::string text;
    for (const std::string& line : errors)
      text += (text.empty() ? "" : "\n") + line;
    return text;
  }

  // A benchmark of one matchup, as the schedule fights it. False when a round could not
  // be set up or the fight was stopped; message holds what the engine said.
  bool Fight(const TWarriorData& warrior, const TWarriorData& opponent, int32_t rounds,
             MatchupResult& result, std::string& message) {
    Tour.WarriorList = {warrior};
    Tour.BenchmarkList = {opponent};
    Tour.Rec.Rounds = rounds;
    View.Counted = 0;
    Controller->NewBattle();
    while (Controller->State() == RunState::Stopped || Controller->State() == RunState::Running) {
      if (View.Progress.Stop) break;
      Controller->RunLoop();
    }
    View.Count();
    for (const std::string& m : Platform.Messages)
      if (m != kCompleteMessage) message += (message.empty() ? "" : "\n") + m;
    Platform.Messages.clear();
    if (Controller->State() != RunState::Complete) return false;
    result = Tour.Rec.Results[0][0];
    return true;
  }
};

// The parameters every fight of a sweep runs with. Every point meets the same positions: a
// seed taken from the clock or from the warriors' checksum would differ from point to point.
TParamsRec FightParams(const SweepSpec& plan) {
  TParamsRec params = plan.Params;
  params.NumWarriors = 2;
  if (params.SeedMode == kSeedRandom || params.SeedMode == kSeedChecksum) params.SeedMode = 1;
  return params;
}

TWarriorData PointWarrior(const SweepSpec& plan, const std::vector<int32_t>& values) {
  TWarriorData warrior = plan.Warrior;
  warrior.Source = PointSource(plan, values);
  return warrior;
}

// Runs job(worker, i) for i in 0..count-1 on the workers' threads, the first on this one.
void ForEachUnit(std::vector<std::unique_ptr<Worker>>& workers, size_t count,
                 const std::atomic<bool>& stop, const std::function<void(Worker&, size_t)>& job) {
  std::atomic<size_t> next{0};
  // A unit that fails (out of memory) stops the others and is rethrown here, not in a thread.
  std::atomic<bool> failed{false};
  std::exception_ptr error;
  std::mutex errorLock;
  auto work = [&](Worker& w) {
    try {
      for (size_t i = next++; i < count && !stop && !failed; i = next++)
        job(w, i);
    } catch (...) {
      std::lock_guard<std::mutex> lock(errorLock);
      if (!error) error = std::current_exception();
      failed = true;
    }
  };
  const size_t n = std::min(workers.size(), std::max<size_t>(count, 1));
  std::vector<std::thread> pool;
  pool.reserve(n);
  for (size_t t = 1; t < n; ++t) {
    try {
      pool.emplace_back(work, std::ref(*workers[t]));
    } catch (const std::system_error&) {
      break; // the threads that did start share the units
    }
  }
  work(*workers[0]);
  for (std::thread& t : pool)
    t.join();
  if (error) std::rethrow_exception(error);
}

std::string RangeText(const SweepRange& r) {
  return r.Name + "=" + std::to_string(r.From) + ".." + std::to_string(r.To) + ":" +
         std::to_string(r.Step);
}

// Rounds of each halving step for a points: full rounds for a lone point.
int32_t StepRounds(size_t points, int32_t rounds, int32_t full) {
  return points == 1 ? full : rounds;
}

class SweepRun {
public:
  SweepRun(const SweepSpec& plan, SweepProgress& progress, const PointDone& done,
           const StepFighter& fighter)
      : Plan(plan), Progress(progress), Done(done), Fighter(fighter) {}

  SweepOutcome Run();

private:
  bool Prepare();
  void Assemble();
  void PlanProgress(size_t points);
  void FightStep(const std::vector<size_t>& active, int32_t rounds);
  void Finish(Worker& w, size_t index, const MatchupResult* results, const std::string* messages,
              int32_t rounds);
  void Keep(const std::string& message);

  const SweepSpec& Plan;
  SweepProgress& Progress;
  const PointDone& Done;
  const StepFighter& Fighter;
  TParamsRec Params;
  int32_t Full = 1;
  int32_t Start = 1;
  std::vector<std::unique_ptr<Worker>> Workers;
  std::mutex Lock;
  std::set<std::string> Seen;
  SweepOutcome Out;
};

bool SweepRun::Prepare() {
  auto fail = [&](SweepOutcome::Failure f, const std::string& error) {
    Out.Fault = f;
    Out.Error = error;
    return false;
  };
  if (std::string error = CheckSweepRanges(Plan.Warrior, Plan.Ranges); !error.empty())
    return fail(SweepOutcome::Failure::BadSweep, error);
  if (Plan.Opponents.empty()) return fail(SweepOutcome::Failure::BadSweep, "No opponents to fight");
  if (Plan.Rounds < 1) return fail(SweepOutcome::Failure::BadSweep, "Rounds must be at least 1");
  Full = Plan.Rounds;
  Start =
      Plan.Halving ? std::clamp(Plan.StartRounds > 0 ? Plan.StartRounds : Full / 8, 1, Full) : Full;

  Params = FightParams(Plan);

  size_t points = 1;
  for (const SweepRange& r : Plan.Ranges)
    points *= RangeValues(r).size();
  const size_t units = points * Plan.Opponents.size();
  const size_t threads = size_t(std::clamp(Plan.Threads, 1, 1024));
  for (size_t t = 0; t < std::min(threads, units); ++t) {
    Workers.push_back(std::make_unique<Worker>(Params, Full, Plan.ScoreFormula, Progress));
    if (!Workers.back()->Core) {
      const auto& shown = Workers.back()->Platform.Messages;
      return fail(SweepOutcome::Failure::Battle,
                  shown.empty() ? "The engine could not be created" : shown.front());
    }
  }

  Worker& main = *Workers.front();
  try {
    EvaluateScore(*main.Core, Plan.ScoreFormula, 2, 1);
    EvaluateScore(*main.Core, Plan.ScoreFormula, 2, 2);
  } catch (const std::exception& e) {
    return fail(SweepOutcome::Failure::BadSweep, std::string("Score formula: ") + e.what());
  }
  for (const TWarriorData& o : Plan.Opponents)
    if (std::string errors = main.AssemblyErrors(o); !errors.empty())
      return fail(SweepOutcome::Failure::Battle,
                  "Warrior " + o.Name + " failed to compile.\n" + errors);

  // The points, the last range varying fastest.
  Out.Points.resize(points);
  size_t stride = points;
  for (const SweepRange& r : Plan.Ranges) {
    const std::vector<int32_t> values = RangeValues(r);
    stride /= values.size();
    for (size_t i = 0; i < points; ++i)
      Out.Points[i].Values.push_back(values[i / stride % values.size()]);
  }
  return true;
}

void SweepRun::Keep(const std::string& message) {
  std::lock_guard<std::mutex> lock(Lock);
  if (Seen.insert(message).second) Out.Messages.push_back(message);
}

void SweepRun::Assemble() {
  ForEachUnit(Workers, Out.Points.size(), Progress.Stop, [&](Worker& w, size_t i) {
    SweepPoint& p = Out.Points[i];
    p.Message = w.AssemblyErrors(PointWarrior(Plan, p.Values));
    p.Failed = !p.Message.empty();
    for (const std::string& m : w.Platform.Messages)
      Keep(m);
    w.Platform.Messages.clear();
  });
}

void SweepRun::PlanProgress(size_t points) {
  int64_t rounds = 0;
  int32_t fights = 0;
  const int64_t opponents = int64_t(Plan.Opponents.size());
  for (int32_t r = Start; points > 0; points = (points + 1) / 2, r = std::min(2 * r, Full)) {
    const int32_t step = StepRounds(points, r, Full);
    rounds += int64_t(points) * step * opponents;
    fights += int32_t(points);
    if (step >= Full) break;
  }
  Progress.TotalRounds = rounds;
  Progress.TotalPoints = fights;
}

void SweepRun::Finish(Worker& w, size_t index, const MatchupResult* results,
                      const std::string* messages, int32_t rounds) {
  SweepPoint& p = Out.Points[index];
  const size_t opponents = Plan.Opponents.size();
  p.Matchups.assign(results, results + opponents);
  p.Wins = p.Losses = p.Ties = 0;
  for (size_t o = 0; o < opponents; ++o) {
    if (!messages[o].empty()) Keep(messages[o]);
    const MatchupResult& m = p.Matchups[o];
    if (m.RoundsPlayed < rounds && !p.Failed) {
      p.Failed = true;
      p.Message = messages[o];
    }
    p.Wins += m.SurvivorCounts.empty() ? 0 : m.SurvivorCounts[0];
    p.Ties += m.SurvivorCounts.size() < 2 ? 0 : m.SurvivorCounts[1];
    p.Losses += m.Losses;
  }
  p.Rounds = rounds;
  p.Full = rounds >= Full && !p.Failed;
  try {
    TFormulaFailures failures;
    p.Score = ScoreOf(*w.Core, Plan.ScoreFormula, {p.Wins, p.Ties}, p.Losses, failures).Score;
    if (!failures.Empty()) Keep(failures.Text());
  } catch (const std::exception& e) {
    p.Failed = true;
    p.Full = false;
    p.Message = std::string("Score formula: ") + e.what();
  }
  w.Platform.Messages.clear();
  ++Progress.PointsDone;
  std::lock_guard<std::mutex> lock(Lock);
  if (Done) Done(index, p);
}

void SweepRun::FightStep(const std::vector<size_t>& active, int32_t rounds) {
  const size_t opponents = Plan.Opponents.size();
  std::vector<MatchupResult> results(active.size() * opponents);
  std::vector<std::string> messages(results.size());
  std::vector<std::atomic<size_t>> left(active.size());
  for (auto& l : left)
    l = opponents;
  auto done = [&](Worker& w, size_t unit, SweepUnitResult r) {
    const size_t a = unit / opponents;
    results[unit] = std::move(r.Result);
    messages[unit] = std::move(r.Message);
    if (--left[a] == 0)
      Finish(w, active[a], &results[a * opponents], &messages[a * opponents], rounds);
  };
  if (Fighter) {
    std::vector<SweepUnit> units(results.size());
    for (size_t unit = 0; unit < units.size(); ++unit)
      units[unit] = {Out.Points[active[unit / opponents]].Values, unit % opponents, rounds};
    // The results arrive one at a time, and this thread's engine scores the points.
    Fighter(units, [&](size_t unit, SweepUnitResult r) {
      if (unit < units.size()) done(*Workers.front(), unit, std::move(r));
    });
    return;
  }
  ForEachUnit(Workers, results.size(), Progress.Stop, [&](Worker& w, size_t unit) {
    const size_t a = unit / opponents, o = unit % opponents;
    SweepUnitResult r;
    if (!w.Fight(PointWarrior(Plan, Out.Points[active[a]].Values), Plan.Opponents[o], rounds,
                 r.Result, r.Message) &&
        Progress.Stop)
      return; // an interrupted fight leaves its point as it was
    done(w, unit, std::move(r));
  });
}

SweepOutcome SweepRun::Run() {
  if (!Prepare()) return std::move(Out);
  Assemble();
  std::vector<size_t> active;
  for (size_t i = 0; i < Out.Points.size(); ++i)
    if (!Out.Points[i].Failed) active.push_back(i);
  PlanProgress(active.size());
  for (int32_t r = Start; !active.empty() && !Progress.Stop; r = std::min(2 * r, Full)) {
    const int32_t rounds = StepRounds(active.size(), r, Full);
    FightStep(active, rounds);
    if (rounds >= Full) break;
    // The better half goes on; equal scores keep the earlier point.
    std::erase_if(active, [&](size_t i) { return Out.Points[i].Failed; });
    std::stable_sort(active.begin(), active.end(),
                     [&](size_t x, size_t y) { return Out.Points[x].Score > Out.Points[y].Score; });
    active.resize(std::min(active.size(), (active.size() + 1) / 2));
    std::sort(active.begin(), active.end());
  }
  Out.Stopped = Progress.Stop;
  for (size_t i = 0; i < Out.Points.size(); ++i)
    if (Out.Points[i].Full) Out.Ranking.push_back(i);
  std::stable_sort(Out.Ranking.begin(), Out.Ranking.end(),
                   [&](size_t x, size_t y) { return Out.Points[x].Score > Out.Points[y].Score; });
  return std::move(Out);
}

} // namespace

std::vector<int32_t> RangeValues(const SweepRange& range) {
  std::vector<int32_t> values;
  if (range.Step == 0) return values;
  const int64_t span = int64_t(range.To) - range.From;
  if ((span < 0) != (range.Step < 0) && span != 0) return values;
  const int64_t count = span / range.Step + 1;
  if (count > kMaxSweepPoints) return std::vector<int32_t>(size_t(kMaxSweepPoints) + 1);
  for (int64_t k = 0; k < count; ++k)
    values.push_back(int32_t(range.From + k * range.Step));
  return values;
}

std::string CheckSweepRanges(const TWarriorData& warrior, const std::vector<SweepRange>& ranges) {
  if (ranges.empty() || ranges.size() > 2) return "A sweep varies one or two constants";
  if (ranges.size() == 2 && ranges[0].Name == ranges[1].Name)
    return ranges[0].Name + " is varied twice";
  int64_t points = 1;
  for (const SweepRange& r : ranges) {
    if (!FindEquate(warrior.Source, r.Name))
      return r.Name + " is not a single-line EQU of " + warrior.Name;
    if (r.Step == 0) return "The step of " + r.Name + " must not be 0";
    const size_t n = RangeValues(r).size();
    if (n == 0) return "The range " + RangeText(r) + " is empty";
    points *= int64_t(n);
    if (points > kMaxSweepPoints)
      return "Too many points: a sweep takes at most " + std::to_string(kMaxSweepPoints);
  }
  return {};
}

std::vector<std::string> PointSource(const SweepSpec& plan, const std::vector<int32_t>& values) {
  std::vector<std::string> source = plan.Warrior.Source;
  for (size_t i = 0; i < plan.Ranges.size() && i < values.size(); ++i)
    ReplaceEquate(source, plan.Ranges[i].Name, std::to_string(values[i]));
  return source;
}

SweepOutcome RunSweep(const SweepSpec& plan, SweepProgress& progress, const PointDone& pointDone,
                      const StepFighter& fighter) {
  SweepRun run(plan, progress, pointDone, fighter);
  return run.Run();
}

std::string FightSweepUnits(const SweepSpec& plan, const std::vector<SweepUnit>& units,
                            SweepProgress& progress, SweepFeed& feed) {
  const TParamsRec params = FightParams(plan);
  const size_t threads =
      std::min(size_t(std::clamp(plan.Threads, 1, 1024)), std::max<size_t>(units.size(), 1));
  std::vector<std::unique_ptr<Worker>> workers;
  try {
    while (workers.size() < threads) {
      workers.push_back(std::make_unique<Worker>(params, plan.Rounds, plan.ScoreFormula, progress));
      if (workers.back()->Core) continue;
      const auto& shown = workers.back()->Platform.Messages;
      return shown.empty() ? "The engine could not be created" : shown.front();
    }
  } catch (const std::bad_alloc&) {
    return "Not enough memory";
  }
  auto work = [&](Worker& w) {
    try {
      for (std::optional<size_t> u = feed.Take(); u && *u < units.size(); u = feed.Take()) {
        const SweepUnit& unit = units[*u];
        SweepUnitResult r;
        if (unit.Opponent < plan.Opponents.size())
          w.Fight(PointWarrior(plan, unit.Values), plan.Opponents[unit.Opponent], unit.Rounds,
                  r.Result, r.Message);
        feed.Give(*u, std::move(r));
      }
    } catch (const std::bad_alloc&) {
      feed.Fail("Not enough memory");
    } catch (const std::exception& e) {
      feed.Fail(e.what());
    }
  };
  std::vector<std::thread> pool;
  for (size_t t = 1; t < workers.size(); ++t) {
    try {
      pool.emplace_back(work, std::ref(*workers[t]));
    } catch (const std::exception&) {
      break; // the started threads share the units
    }
  }
  work(*workers.front());
  for (std::thread& t : pool)
    t.join();
  return {};
}

} // namespace velmora
