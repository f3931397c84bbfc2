#pragma once
// The run controller: the run state of a battle and the actions that drive it (start a
// round, run batches at a speed, single-step, stop, start a new battle), handing every
// finished round to the schedule. Window work goes through TRunView, so the desktop window
// and the command line drive battles the same way.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core.h"
#include "tournament/tournament.h"

namespace velmora {

enum class RunState : uint8_t { Idle = 0, Stopped = 1, Running = 2, Complete = 3 };

// What the controller needs of a window. Every operation may do nothing.
class TRunView {
public:
  virtual ~TRunView() = default;
  // The controls that belong to the state (the timer is switched separately).
  virtual void RunStateChanged(RunState) {}
  virtual void ClearDisplay() {}
  // Repaints the core display images; after every batch at the top speed.
  virtual void RepaintDisplay() {}
  virtual void ShowStatus(const std::string&) {}
  // Lets clicks and paints through between two batches; Stop takes effect here.
  virtual void ProcessPendingEvents() {}
  // The speed track bar's position, 0 (slow) .. 6 (fast).
  virtual int32_t SpeedPosition() { return 6; }
  virtual void SetTimer(bool /*enabled*/, int32_t /*intervalMs*/) {}
  // The brake before a batch at speeds 3 to 5, in steps of a count-down loop.
  virtual void Delay(int32_t /*steps*/) {}
  // A matchup was loaded: rebuild the warrior colours, enable or disable the views.
  virtual void MatchupLoaded(bool /*compiled*/) {}
};

class TRunController {
public:
  // Cycles per batch and delay steps, by speed 3..6.
  static constexpr std::array<int32_t, 7> BatchSize = {1, 1, 1, 5, 10, 100, 2048};
  static constexpr std::array<int32_t, 7> DelayCount = {0, 0, 0, 1179648, 327680, 327680, 0};
  // Timer intervals of speeds 0..2, one cycle per tick.
  static constexpr std::array<int32_t, 3> TimerInterval = {250, 50, 1};

  // Installs the assembler's services in the engine.
  TRunController(TCore& core, TTournament& tournament, TRunView& view);

  RunState State() const { return state_; }
  int32_t Speed() const { return speed_; }

  void SetRunState(RunState state);
  // Prepares the next round; with NewBattle the whole tournament restarts first. Full asks
  // for a complete status refresh. Ends Idle when nothing can be set up.
  void StartRound(bool NewBattle, bool Full);
  void NewBattle();
  // "Start": runs batches while Running at speeds 3..6; at 0..2 the timer carries on.
  void RunLoop();
  // A tick of the timer: one cycle at speeds 0..2, the Start loop when the speed went up.
  void TimerTick();
  void RunBatch(int32_t cycles);
  // Reads the speed and programs the timer; returns the speed.
  int32_t ApplySpeed();
  void StopBattle();
  // One cycle; a round that ends with it stops on its outcome. After an outcome: the next
  // round (or matchup) is set up and nothing runs.
  void SingleStep();
  // Some matchup has rounds on record: the results window has something to show even
  // when the battle stopped on an error.
  bool ResultsReachable() const;
  // Records the finished round and sets up the next one, the next matchup, or the end.
  void AdvanceAfterRound();
  // The "Max" box: the fast path, no display work.
  void SetMaxSpeed(bool on);

  // The status line for the engine's round state.
  std::string StatusText() const;
  // Process gauge i (1..8) belongs to list warrior i-1; it is active when that warrior is
  // in the current battle.
  bool GaugeActive(int32_t gauge) const;
  struct GaugeValue {
    int32_t Gauge;
    int32_t Processes;
  };
  // The gauges to refresh after a batch and the process counts they show.
  std::vector<GaugeValue> ProcessGauges() const;

private:
  // Loads the current matchup; a failure (shown) leaves the state Idle.
  bool LoadMatchup();
  void Report(const std::exception& e);

  TCore& core_;
  TTournament& tour_;
  TRunView& view_;
  RunState state_ = RunState::Idle;
  bool stepping_ = false; // a Single Step's batch is running
  int32_t speed_ = 6;
};

} // namespace velmora
