// The tournament schedule: table shapes, matchup loading, round records and advancing.

#include <algorithm>

#include "assembler/assembler.h"
#include "tournament/tournament.h"

namespace velmora {

const char* TournamentTypeName(uint8_t type) {
  switch (type) {
  case Melee: return "Melee";
  case RoundRobin: return "Round Robin";
  case Challenge: return "Challenge";
  case Benchmark: return "Benchmark";
  default: return "Unknown";
  }
}

int32_t TTournament::MatchupCount() const {
  const int32_t n = static_cast<int32_t>(WarriorList.size());
  const int32_t b = static_cast<int32_t>(BenchmarkList.size());
  switch (Rec.TournamentType) {
  case Melee: return 1;
  case RoundRobin: return Rec.SelfFights ? n * (n + 1) / 2 : n * (n - 1) / 2;
  case Challenge: return Rec.SelfFights ? n : n - 1;
  case Benchmark: return n * b;
  default: return 0;
  }
}

void TTournament::AddMatchupResult(int32_t row, int32_t opponent) {
  MatchupResult r;
  r.Opponent = opponent;
  r.SurvivorCounts.assign(static_cast<size_t>(std::max(Rec.WarriorsPerBattle, 1)), 0);
  Rec.Results[static_cast<size_t>(row)].push_back(std::move(r));
}

bool TTournament::SetUpTournament(TCore& core) {
  const int32_t n = static_cast<int32_t>(WarriorList.size());
  const int32_t b = static_cast<int32_t>(BenchmarkList.size());
  // The Setup dialog refuses these; a list built elsewhere gets the same treatment. One
  // warrior against a benchmark is what a benchmark is for.
  if (n == 1 && Rec.TournamentType != Melee && Rec.TournamentType != Benchmark) {
    core.Platform->ShowMessage("Single warrior battles are only supported by Melee tournaments. "
                               "The tournament type has been set to Melee.");
    Rec.TournamentType = Melee;
  }
  if (Rec.TournamentType == Benchmark && b == 0) {
    core.Platform->ShowMessage(
        "To run a Benchmark tournament, you must select a warrior or warrior list.");
    return false;
  }
  if (n == 0 || Rec.TournamentType > Benchmark) return false;

  Rec.Results.clear();
  Rec.WarriorCount = n;
  Rec.BenchmarkCount = Rec.TournamentType == Benchmark ? b : 0;
  Rec.CurrentRow = 0;
  const bool fromZero =
      Rec.SelfFights || Rec.TournamentType == Melee || Rec.TournamentType == Benchmark;
  Rec.CurrentColumn = fromZero ? 0 : 1;
  MatchupNumber = 1;

  int32_t rows = n, columns = n;
  switch (Rec.TournamentType) {
  case Melee:
    Rec.RowCount = Rec.ColumnCount = 1;
    Rec.WarriorsPerBattle = n;
    columns = 1;
    break;
  case RoundRobin:
    Rec.RowCount = Rec.SelfFights ? n : n - 1;
    Rec.ColumnCount = n;
    Rec.WarriorsPerBattle = 2;
    break;
  case Challenge:
    Rec.RowCount = 1;
    Rec.ColumnCount = n;
    Rec.WarriorsPerBattle = 2;
    rows = 1;
    break;
  default: // Benchmark
    Rec.RowCount = n;
    Rec.ColumnCount = b;
    Rec.WarriorsPerBattle = 2;
    columns = b;
    break;
  }
  Rec.Results.resize(static_cast<size_t>(rows));
  for (int32_t row = 0; row < rows; ++row)
    for (int32_t col = 0; col < columns; ++col)
      AddMatchupResult(row, Rec.TournamentType == Melee ? 0 : col);
  TotalRounds = MatchupCount() * Rec.Rounds;

  const int32_t w = Rec.WarriorsPerBattle;
  core.NumWarriors = w;
  core.Warriors.clear();
  core.Warriors.push_back(std::make_unique<TWarrior>(&core)); // the engine's private slot
  for (int32_t i = 1; i <= w; ++i)
    core.AddWarrior();
  return LoadMatchup(core);
}

bool TTournament::LoadMatchup(TCore& core) {
  const int32_t n = static_cast<int32_t>(WarriorList.size());
  auto take = [&](int32_t slot, const TWarriorData& d, int32_t colourIndex) {
    TWarrior& w = *core.Warriors[static_cast<size_t>(slot)];
    w.Name = d.Name;
    w.Source = d.Source;
    WarriorColours[static_cast<size_t>(slot)] =
        WarriorPalette[static_cast<size_t>(colourIndex % 8)];
  };
  WarriorColours.assign(static_cast<size_t>(Rec.WarriorsPerBattle) + 1, 0);
  if (Rec.TournamentType == Melee) {
    for (int32_t i = 1; i <= n; ++i)
      take(i, WarriorList[static_cast<size_t>(i - 1)], i - 1);
  } else {
    take(1, WarriorList[static_cast<size_t>(Rec.CurrentRow)], Rec.CurrentRow);
    if (Rec.TournamentType == Benchmark)
      take(2, BenchmarkList[static_cast<size_t>(Rec.CurrentColumn)], n + Rec.CurrentColumn);
    else
      take(2, WarriorList[static_cast<size_t>(Rec.CurrentColumn)], Rec.CurrentColumn);
  }
  FirstWarrior = 1;
  core.ResetBreakpointTypes(); // no breakpoint survives a change of matchup
  return CompileWarriors(core);
}

void TTournament::RecordRound(const TCore& core, int32_t row, int32_t column, int32_t slot) {
  MatchupResult& r = Rec.Results[static_cast<size_t>(row)][static_cast<size_t>(column)];
  if (!core.Warriors[static_cast<size_t>(slot)]->Alive) {
    ++r.Losses;
  } else {
    const auto k = static_cast<size_t>(
        std::clamp(core.AliveCount, 1, static_cast<int32_t>(r.SurvivorCounts.size())));
    ++r.SurvivorCounts[k - 1];
  }
  ++r.RoundsPlayed;
  const double n = r.RoundsPlayed;
  r.AverageCycles = ((n - 1) * r.AverageCycles + core.CycleCount) / n;
}

AdvanceStep TTournament::AdvanceAfterRound(const TCore& core) {
  const int32_t row = Rec.CurrentRow, col = Rec.CurrentColumn;
  if (Rec.TournamentType == Melee) {
    for (int32_t i = 0; i < Rec.WarriorsPerBattle; ++i)
      RecordRound(core, i, 0, i + 1);
  } else {
    RecordRound(core, row, col, 1);
    if (Rec.TournamentType == RoundRobin && col != row) RecordRound(core, col, row, 2);
  }
  if (Rec.Results[static_cast<size_t>(row)][static_cast<size_t>(col)].RoundsPlayed >= Rec.Rounds) {
    if (row >= Rec.RowCount - 1 && col >= Rec.ColumnCount - 1) return AdvanceStep::Complete;
    if (++Rec.CurrentColumn >= Rec.ColumnCount) {
      ++Rec.CurrentRow;
      if (Rec.TournamentType == Benchmark)
        Rec.CurrentColumn = 0;
      else if (Rec.SelfFights || Rec.TournamentType == Melee)
        Rec.CurrentColumn = Rec.CurrentRow;
      else
        Rec.CurrentColumn = Rec.CurrentRow + 1;
    }
    ++MatchupNumber;
    return AdvanceStep::NextMatchup;
  }
  if (++FirstWarrior > Rec.WarriorsPerBattle ||
      (FirstWarrior > 2 && core.SecondPosition == kPositionPermutate))
    FirstWarrior = 1;
  return AdvanceStep::NextRound;
}

void TTournament::RoundStarted(TCore& core) const {
  if (FirstWarrior == 2) ++core.PermutationOffset;
}

const MatchupResult* TTournament::CurrentResult() const {
  if (static_cast<size_t>(Rec.CurrentRow) >= Rec.Results.size()) return nullptr;
  const auto& row = Rec.Results[static_cast<size_t>(Rec.CurrentRow)];
  if (static_cast<size_t>(Rec.CurrentColumn) >= row.size()) return nullptr;
  return &row[static_cast<size_t>(Rec.CurrentColumn)];
}

} // namespace velmora
