#pragma once
// A complete battle without a window: engine, schedule and run controller, with a view that records
// what the controller asked of it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assembler/assembler.h"
#include "tournament/run_controller.h"

namespace velmora::test {

class RecordingView : public TRunView {
public:
  int32_t SpeedPosition() override { return Speed; }
  void SetTimer(bool enabled, int32_t interval) override {
    TimerOn = enabled;
    Interval = interval;
  }
  void MatchupLoaded(bool compiled) override { Loaded.push_back(compiled); }
  void ProcessPendingEvents() override {
    if (OnEvents) OnEvents();
  }
  std::function<void()> OnEvents;
  std::vector<bool> Loaded;
  int32_t Speed = 6;
  bool TimerOn = false;
  int32_t Interval = -1;
};

// Default battle settings with the display off, and a fixed seed.
inline TParamsRec BattleParams() {
  TParamsRec p;
  p.DisplayLevel = 0;
  p.SeedMode = 4711;
  return p;
}

class Battle {
public:
  explicit Battle(const TParamsRec& p = BattleParams()) {
    Core = TCore::Create(p, Form, Platform);
    Controller = std::make_unique<TRunController>(*Core, Tour, View);
  }
  // Adds a warrior to the list from source lines; its name is given.
  void Add(const std::string& name, const std::vector<std::string>& source,
           bool benchmark = false) {
    auto& list = benchmark ? Tour.BenchmarkList : Tour.WarriorList;
    TWarriorData d;
    d.Name = name;
    d.Source = source;
    d.ID = static_cast<int32_t>(list.size()) + 1;
    list.push_back(d);
  }
  // Adds warriors by name and source, one after another.
  void Add(const std::vector<std::pair<std::string, std::vector<std::string>>>& warriors) {
    for (const auto& [name, source] : warriors)
      Add(name, source);
  }
  // Starts a new battle of this type, rounds per matchup and pause between rounds.
  void Start(uint8_t type, int32_t rounds = 1, bool pause = false) {
    Tour.Rec.TournamentType = type;
    Tour.Rec.Rounds = rounds;
    Tour.Rec.PauseBetweenRounds = pause;
    Controller->NewBattle();
  }
  const MatchupResult& Result(int row, int column) const {
    return Tour.Rec.Results.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
  }
  TWarrior& Slot(int k) { return *Core->Warriors.at(static_cast<size_t>(k)); }

  TNullMardexForm Form;
  THeadlessPlatform Platform;
  std::unique_ptr<TCore> Core;
  TTournament Tour;
  RecordingView View;
  std::unique_ptr<TRunController> Controller;
};

} // namespace velmora::test
