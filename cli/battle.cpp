#include "cli/battle.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "tournament/run_controller.h"

namespace velmora::cli {

std::vector<Matchup> ScheduleOrder(const TTournamentRec& rec) {
  std::vector<Matchup> order;
  int32_t row = rec.CurrentRow, column = rec.CurrentColumn;
  if (rec.RowCount < 1 || rec.ColumnCount < 1) return order;
  for (;;) {
    order.push_back({row, column});
    if (row >= rec.RowCount - 1 && column >= rec.ColumnCount - 1) break;
    if (++column >= rec.ColumnCount) {
      ++row;
      if (rec.TournamentType == Benchmark)
        column = 0;
      else if (rec.SelfFights || rec.TournamentType == Melee)
        column = row;
      else
        column = row + 1;
    }
  }
  return order;
}

std::string MatchupLabel(const TTournament& tour, const MatchupMessage& message) {
  const TTournamentRec& rec = tour.Rec;
  if (rec.TournamentType == Melee) return "the melee";
  const auto& columns = rec.TournamentType == Benchmark ? tour.BenchmarkList : tour.WarriorList;
  const auto row = size_t(message.Where.Row), column = size_t(message.Where.Column);
  std::string label = "matchup " + std::to_string(message.Number);
  if (row < tour.WarriorList.size() && column < columns.size())
    label += " (" + tour.WarriorList[row].Name + " vs " + columns[column].Name + ")";
  return label;
}

namespace {

// Keeps what the engine shows for the matchup its worker fights. The schedule loads the
// next matchup before the worker stops; what that shows belongs to the worker that fights it.
class WorkerPlatform : public THeadlessPlatform {
public:
  const TTournamentRec* Rec = nullptr;
  Matchup Fighting;
  void ShowMessage(const std::string& text) override {
    if (Rec && (Rec->CurrentRow != Fighting.Row || Rec->CurrentColumn != Fighting.Column)) return;
    THeadlessPlatform::ShowMessage(text);
  }
};

// The window the controller talks to: it counts rounds and stops the run as soon as the
// schedule moves on to a matchup other than the one this worker was given.
class WorkerView : public TRunView {
public:
  explicit WorkerView(Progress& progress) : Shared(progress) {}
  TRunController* Controller = nullptr;
  TTournament* Tour = nullptr;
  bool StopOnLoad = false;
  int32_t Counted = 0; // rounds of the current matchup already added to Shared

  void MatchupLoaded(bool) override {
    if (StopOnLoad && Controller) Controller->StopBattle();
  }
  void ProcessPendingEvents() override { Count(); }
  // Adds the current matchup's newly recorded rounds to the shared count.
  void Count() {
    const MatchupResult* r = Tour ? Tour->CurrentResult() : nullptr;
    if (!r) return;
    const int32_t played = r->RoundsPlayed;
    if (played > Counted) {
      Shared.RoundsDone += played - Counted;
      Counted = played;
    }
  }
  Progress& Shared;
};

struct Worker {
  TNullMardexForm Form;
  WorkerPlatform Platform;
  std::unique_ptr<TCore> Core;
  TTournament Tour;
  WorkerView View;
  std::unique_ptr<TRunController> Controller;

  Worker(const TParamsRec& params, const TTournament& master, Progress& progress)
      : Form(master.Rec.Rounds), View(progress) {
    Core = TCore::Create(params, Form, Platform);
    Tour.Rec = master.Rec;
    Tour.Rec.Results.clear();
    Tour.WarriorList = master.WarriorList;
    Tour.BenchmarkList = master.BenchmarkList;
    Platform.Rec = &Tour.Rec;
    if (!Core) return;
    Core->MaxSpeed = true;
    Controller = std::make_unique<TRunController>(*Core, Tour, View);
    Controller->SetMaxSpeed(true);
    View.Controller = Controller.get();
    View.Tour = &Tour;
  }

  // Fights one matchup; the first of the tournament starts it as a new battle, as pressing
  // "New Battle" does, the others load their matchup as the schedule would.
  bool Fight(const Matchup& m, bool first) {
    if (!Controller) return false;
    Platform.Fighting = m;
    View.StopOnLoad = false;
    View.Counted = 0;
    if (first || Tour.Rec.Results.empty()) {
      Controller->NewBattle();
      if (Controller->State() == RunState::Idle) return false;
    }
    if (!first) {
      Tour.Rec.CurrentRow = m.Row;
      Tour.Rec.CurrentColumn = m.Column;
      Controller->SetRunState(RunState::Stopped);
      bool compiled = false;
      try {
        compiled = Tour.LoadMatchup(*Core);
      } catch (const std::exception& e) {
        Platform.ShowMessage(e.what());
      }
      if (!compiled) return false;
      Controller->StartRound(false, false);
      if (Controller->State() == RunState::Idle) return false;
      Tour.RoundStarted(*Core);
    }
    View.StopOnLoad = true;
    while (Controller->State() == RunState::Stopped || Controller->State() == RunState::Running) {
      // Stopped on the next matchup's load, with this one's rounds all recorded.
      if (Tour.Rec.CurrentRow != m.Row || Tour.Rec.CurrentColumn != m.Column) break;
      const MatchupResult* r = Tour.CurrentResult();
      if (r && r->RoundsPlayed >= Tour.Rec.Rounds) break;
      Controller->RunLoop();
    }
    // The last round is recorded as the schedule moves on, after the view last counted.
    View.Shared.RoundsDone +=
        Tour.Rec.Results[size_t(m.Row)][size_t(m.Column)].RoundsPlayed - View.Counted;
    return Controller->State() != RunState::Idle;
  }

  // The cells this matchup filled.
  std::vector<MatchupResult> Cells(const Matchup& m) const {
    std::vector<MatchupResult> cells;
    for (const Matchup& c : MatchupCells(Tour.Rec, m))
      cells.push_back(Tour.Rec.Results[size_t(c.Row)][size_t(c.Column)]);
    return cells;
  }
};

// Every matchup of this machine, from one counter shared by the threads.
class LocalFeed : public MatchupFeed {
public:
  explicit LocalFeed(TTournament& master) : Collector(master) {}
  std::optional<size_t> Take() override {
    const size_t i = Next++;
    return i < Collector.Count() ? std::optional<size_t>(i) : std::nullopt;
  }
  void Give(size_t unit, MatchupOutcome outcome) override {
    std::lock_guard<std::mutex> guard(Lock);
    Collector.Add(unit, std::move(outcome));
  }
  void Fail(const std::string& message) override {
    std::lock_guard<std::mutex> guard(Lock);
    Collector.Fail(message);
    Next = Collector.Count(); // the other threads take no further matchup
  }
  MatchupCollector Collector;

private:
  std::atomic<size_t> Next{0};
  std::mutex Lock;
};

} // namespace

std::thread StartThread(std::function<void()> body) {
  return std::thread(std::move(body));
}

int32_t ThreadCount(int32_t option) {
  return option > 0 ? option : int32_t(std::max(1u, std::thread::hardware_concurrency()));
}

std::vector<Matchup> MatchupCells(const TTournamentRec& rec, const Matchup& m) {
  if (rec.TournamentType == Melee) {
    std::vector<Matchup> cells;
    for (size_t r = 0; r < rec.Results.size(); ++r)
      cells.push_back({int32_t(r), 0});
    return cells;
  }
  if (rec.TournamentType == RoundRobin && m.Row != m.Column) return {m, {m.Column, m.Row}};
  return {m};
}

MatchupCollector::MatchupCollector(TTournament& master)
    : Master(master), Order(ScheduleOrder(master.Rec)), Ok(Order.size(), 0),
      Messages(Order.size()) {}

void MatchupCollector::Add(size_t index, MatchupOutcome outcome) {
  if (index >= Order.size()) return;
  Ok[index] = outcome.Ok;
  Messages[index] = std::move(outcome.Messages);
  if (!outcome.Ok) return;
  const std::vector<Matchup> cells = MatchupCells(Master.Rec, Order[index]);
  for (size_t k = 0; k < cells.size() && k < outcome.Cells.size(); ++k)
    Master.Rec.Results[size_t(cells[k].Row)][size_t(cells[k].Column)] = outcome.Cells[k];
}

void MatchupCollector::Fail(const std::string& message) {
  if (Failure.empty()) Failure = message;
}

BattleOutcome MatchupCollector::Finish(BattleOutcome run) {
  for (size_t i = 0; i < Order.size(); ++i) {
    run.Ok = run.Ok && Ok[i];
    for (std::string& text : Messages[i])
      run.Messages.push_back({Order[i], int32_t(i) + 1, std::move(text)});
  }
  if (run.Failure.empty()) run.Failure = Failure;
  if (!run.Failure.empty()) run.Ok = false;
  return run;
}

BattleOutcome RunTournament(const TParamsRec& params, TTournament& master, int32_t threads,
                            Progress& progress, const ThreadStarter& start) {
  LocalFeed feed(master);
  BattleOutcome run = FightMatchups(params, master, threads, progress, feed, start);
  if (!run.Ok) return run;
  return feed.Collector.Finish(std::move(run));
}

BattleOutcome FightMatchups(const TParamsRec& params, const TTournament& master, int32_t threads,
                            Progress& progress, MatchupFeed& feed, const ThreadStarter& start) {
  const std::vector<Matchup> order = ScheduleOrder(master.Rec);
  const size_t count = order.size();
  BattleOutcome out;

  const size_t wanted = std::min<size_t>(size_t(std::max(threads, 1)), std::max<size_t>(count, 1));
  // Engines are made before any thread starts: the workers copy the master's lists, whose
  // table the feed may fill later. Each holds a core: the run takes as many as memory allows.
  std::vector<std::unique_ptr<Worker>> workers;
  try {
    while (workers.size() < wanted) {
      auto w = std::make_unique<Worker>(params, master, progress);
      if (!w->Core && !workers.empty()) break;
      workers.push_back(std::move(w));
    }
  } catch (const std::bad_alloc&) {
  }
  if (workers.empty() || !workers[0]->Core) {
    out.Ok = false;
    const auto& shown =
        workers.empty() ? std::vector<std::string>{} : workers[0]->Platform.Messages;
    out.Failure = shown.empty() ? "Not enough memory" : shown.front();
    return out;
  }
  auto work = [&](Worker& w) {
    try {
      for (std::optional<size_t> i = feed.Take(); i && *i < count; i = feed.Take()) {
        MatchupOutcome outcome;
        outcome.Ok = w.Fight(order[*i], *i == 0);
        outcome.Messages = std::move(w.Platform.Messages);
        w.Platform.Messages.clear();
        if (outcome.Ok) outcome.Cells = w.Cells(order[*i]);
        feed.Give(*i, std::move(outcome));
        ++progress.MatchupsDone;
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
      pool.push_back(start([&work, &w = *workers[t]] { work(w); }));
    } catch (const std::exception&) {
      break; // no thread (or no room to keep one): the started ones share the matchups
    }
  }
  const size_t running = pool.size() + 1;
  if (running < wanted)
    out.Warning = "Running " + std::to_string(running) + " of " + std::to_string(wanted) +
                  " threads: no more could be started";
  work(*workers[0]);
  for (std::thread& t : pool)
    t.join();
  return out;
}

} // namespace velmora::cli
