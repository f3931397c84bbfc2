// The run controller: run states, rounds, batches and the status they show.

#include "tournament/run_controller.h"

#include <algorithm>
#include <exception>

#include "assembler/assembler.h"

namespace velmora {

TRunController::TRunController(TCore& core, TTournament& tournament, TRunView& view)
    : core_(core), tour_(tournament), view_(view) {
  InstallAssembler(core_);
}

void TRunController::SetRunState(RunState state) {
  state_ = state;
  if (state != RunState::Running) view_.SetTimer(false, 0);
  view_.RunStateChanged(state);
}

void TRunController::Report(const std::exception& e) {
  // A compile or set-up error that escaped its own handling: show it, and stop the battle.
  core_.Platform->ShowMessage(e.what());
  core_.RoundState = kRoundIdle;
  SetRunState(RunState::Idle);
}

bool TRunController::LoadMatchup() {
  bool compiled = false;
  try {
    compiled = tour_.LoadMatchup(core_);
  } catch (const std::exception& e) {
    Report(e);
  }
  view_.MatchupLoaded(compiled);
  if (!compiled) SetRunState(RunState::Idle);
  return compiled;
}

void TRunController::StartRound(bool NewBattle, bool Full) {
  core_.RoundState = kRoundIdle;
  if (tour_.WarriorList.empty()) {
    SetRunState(RunState::Idle);
    return;
  }
  if (!core_.MaxSpeed && core_.DisplayLevel >= 1) view_.ClearDisplay();
  try {
    if (NewBattle) {
      SetRunState(RunState::Stopped);
      bool compiled = tour_.SetUpTournament(core_);
      view_.MatchupLoaded(compiled);
      if (!compiled) SetRunState(RunState::Idle);
    }
    if (state_ != RunState::Idle && core_.SetUpRound(NewBattle)) {
      core_.Form->InitScreenInfo(Full);
      return;
    }
  } catch (const std::exception& e) {
    Report(e);
    return;
  }
  SetRunState(RunState::Idle);
}

void TRunController::NewBattle() {
  SetRunState(RunState::Stopped);
  StartRound(true, true);
}

int32_t TRunController::ApplySpeed() {
  const int32_t p = view_.SpeedPosition();
  if (p >= 0 && p <= 2)
    view_.SetTimer(true, TimerInterval[static_cast<size_t>(p)]);
  else
    view_.SetTimer(false, 0);
  speed_ = p;
  return p;
}

void TRunController::RunLoop() {
  if (core_.RoundState == kRoundDecided || core_.RoundState == kRoundDrawn) AdvanceAfterRound();
  // Nothing to run once the tournament is over or the next round could not be set up.
  if (state_ == RunState::Complete || state_ == RunState::Idle) return;
  SetRunState(RunState::Running);
  int32_t s;
  do {
    s = ApplySpeed();
    if (s > 2) {
      const auto i = static_cast<size_t>(std::min(s, 6));
      view_.Delay(DelayCount[i]);
      RunBatch(BatchSize[i]);
    }
  } while (state_ == RunState::Running && s > 2);
}

void TRunController::TimerTick() {
  if (state_ != RunState::Running) return; // a tick that was queued before the timer stopped
  if (ApplySpeed() > 2)
    RunLoop();
  else
    RunBatch(1);
}

void TRunController::RunBatch(int32_t cycles) {
  if (core_.RoundState != kRoundRunning) return; // no round is set up
  core_.RunCycles(cycles, tour_.FirstWarrior);
  if (!core_.HitList.empty()) SetRunState(RunState::Stopped);
  view_.ProcessPendingEvents();
  if (!core_.MaxSpeed && core_.DisplayLevel >= 1) {
    core_.Form->UpdateScreenInfo();
    if (speed_ == 6) view_.RepaintDisplay();
  }
  if (core_.RoundState == kRoundDecided || core_.RoundState == kRoundDrawn) {
    // A round that a single step ended waits, so that it can be stepped back into; the
    // next step or Start hands it on.
    if (tour_.Rec.PauseBetweenRounds || (stepping_ && core_.CanUndo()))
      SetRunState(RunState::Stopped);
    else
      AdvanceAfterRound();
  }
}

void TRunController::StopBattle() {
  SetRunState(RunState::Stopped);
  view_.ShowStatus("Stopped");
}

void TRunController::SingleStep() {
  if (core_.RoundState == kRoundDecided || core_.RoundState == kRoundDrawn) AdvanceAfterRound();
  if (state_ == RunState::Complete) return;
  stepping_ = true;
  RunBatch(1);
  stepping_ = false;
}

void TRunController::AdvanceAfterRound() {
  switch (tour_.AdvanceAfterRound(core_)) {
  case AdvanceStep::Complete:
    SetRunState(RunState::Complete);
    if (tour_.TotalRounds >= 2) core_.Platform->ShowMessage("Tournament complete.");
    break;
  case AdvanceStep::NextMatchup:
    LoadMatchup();
    StartRound(false, true);
    break;
  case AdvanceStep::NextRound: StartRound(false, !core_.MaxSpeed); break;
  }
  tour_.RoundStarted(core_);
}

void TRunController::SetMaxSpeed(bool on) {
  core_.MaxSpeed = on;
  if (on) core_.HitList.clear();
}

std::string TRunController::StatusText() const {
  switch (core_.RoundState) {
  case kRoundRunning:
    if (!core_.HitList.empty())
      return "Stopped at breakpoint @ " + std::to_string(core_.HitList.front());
    return state_ == RunState::Stopped ? "Stopped" : "In progress";
  case kRoundDecided: {
    const auto slot = static_cast<size_t>(core_.Winner);
    const std::string name = slot < core_.Warriors.size() ? core_.Warriors[slot]->Name : "";
    return (tour_.WarriorList.size() == 1 ? "Lost by " : "Won by ") + name;
  }
  case kRoundDrawn: return "Drawn";
  default: return "Stopped";
  }
}

bool TRunController::GaugeActive(int32_t gauge) const {
  const uint8_t type = tour_.Rec.TournamentType;
  return type == Melee || gauge == tour_.Rec.CurrentRow + 1 ||
         (type != Benchmark && gauge == tour_.Rec.CurrentColumn + 1);
}

std::vector<TRunController::GaugeValue> TRunController::ProcessGauges() const {
  std::vector<GaugeValue> gauges;
  const int32_t slots = static_cast<int32_t>(core_.Warriors.size()) - 1;
  auto add = [&](int32_t gauge, int32_t slot) {
    if (gauge < 9 && slot <= slots)
      gauges.push_back({gauge, core_.Warriors[static_cast<size_t>(slot)]->ProcessCount});
  };
  if (tour_.Rec.TournamentType == Melee) {
    for (int32_t i = 1; i <= core_.NumWarriors && i < 9; ++i)
      add(i, i);
  } else {
    add(tour_.Rec.CurrentRow + 1, 1);
    if (tour_.Rec.TournamentType != Benchmark) add(tour_.Rec.CurrentColumn + 1, 2);
  }
  return gauges;
}

} // namespace velmora
