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

  // Copies the cells this matchup filled into the master table.
  void Merge(const Matchup& m, TTournament& master) const {
    auto copy = [&](int32_t r, int32_t c) {
      master.Rec.Results[size_t(r)][size_t(c)] = Tour.Rec.Results[size_t(r)][size_t(c)];
    };
    if (Tour.Rec.TournamentType == Melee) {
      for (size_t r = 0; r < master.Rec.Results.size(); ++r)
        copy(int32_t(r), 0);
      return;
    }
    copy(m.Row, m.Column);
    if (Tour.Rec.TournamentType == RoundRobin && m.Row != m.Column) copy(m.Column, m.Row);
  }
};

} // namespace

BattleOutcome RunTournament(const TParamsRec& params, TTournament& master, int32_t threads,
                            Progress& progress) {
  const std::vector<Matchup> order = ScheduleOrder(master.Rec);
  const size_t count = order.size();
  std::vector<std::vector<MatchupMessage>> messages(count);
  std::vector<char> ok(count, 0);
  std::atomic<size_t> next{0};
  std::mutex mergeLock;

  const size_t n = std::min<size_t>(size_t(std::max(threads, 1)), std::max<size_t>(count, 1));
  // Engines are made before any thread starts: the workers copy the master's lists, which
  // the merges change later.
  std::vector<std::unique_ptr<Worker>> workers;
  for (size_t t = 0; t < n; ++t)
    workers.push_back(std::make_unique<Worker>(params, master, progress));
  auto work = [&](Worker& w) {
    for (size_t i = next++; i < count; i = next++) {
      ok[i] = w.Fight(order[i], i == 0);
      for (std::string& text : w.Platform.Messages)
        messages[i].push_back({order[i], int32_t(i) + 1, std::move(text)});
      w.Platform.Messages.clear();
      if (ok[i]) {
        std::lock_guard<std::mutex> lock(mergeLock);
        w.Merge(order[i], master);
      }
      ++progress.MatchupsDone;
    }
  };
  std::vector<std::thread> pool;
  for (size_t t = 1; t < n; ++t)
    pool.emplace_back(work, std::ref(*workers[t]));
  work(*workers[0]);
  for (std::thread& t : pool)
    t.join();

  BattleOutcome out;
  for (size_t i = 0; i < count; ++i) {
    out.Ok = out.Ok && ok[i];
    for (MatchupMessage& m : messages[i])
      out.Messages.push_back(std::move(m));
  }
  return out;
}

} // namespace velmora::cli
