#include "ui/setup_confirm.h"

#include "params/number_text.h"
#include "tournament/warrior_input.h"

namespace velmora {

namespace {

void ChoiceFromRecord(int32_t value, int32_t& choice, std::string& fixedText) {
  if (value < 0) {
    choice = value;
    return;
  }
  choice = 0;
  fixedText = std::to_string(value);
}

} // namespace

TSetupFields FieldsFromRecords(const TSetupFields& confirmed, const TParamsRec& p,
                               const TTournamentRec& rec) {
  TSetupFields f = confirmed;
  f.CoreSizeText = std::to_string(p.CoreSizeMax);
  f.RandomCoreSize = p.RandomCoreSize;
  f.MinCoreSizeText = std::to_string(p.RandomCoreSize ? p.CoreSizeMin : p.CoreSizeMax);
  f.MaxCyclesText = std::to_string(p.MaxCycles);
  f.MaxProcessesText = std::to_string(p.MaxProcesses);
  f.MinDistanceText = std::to_string(p.MinDistance);
  f.MaxLengthText = std::to_string(p.MaxLength);
  if (f.ReadLimit.Item < 0) f.ReadLimit.Text = std::to_string(p.ReadLimit);
  if (f.WriteLimit.Item < 0) f.WriteLimit.Text = std::to_string(p.WriteLimit);
  if (f.PSpace.Item < 0) f.PSpace.Text = std::to_string(p.PSpaceSize);
  f.TournamentType = rec.TournamentType;
  f.RoundsText = std::to_string(rec.Rounds);
  f.StandardItem = p.Standard;
  f.SelfFights = rec.SelfFights;
  f.DisplayLevel = p.DisplayLevel;
  f.EarlyDrawCheck = p.EarlyDrawCheck;
  f.PauseBetweenRounds = rec.PauseBetweenRounds;
  f.CircularDisplay = p.CircularDisplay;
  f.ScoreFormula = rec.ScoreFormula;
  ChoiceFromRecord(p.SecondPosition, f.SecondPosition, f.FixedPositionText);
  ChoiceFromRecord(p.SeedMode, f.SeedMode, f.FixedSeedText);
  f.InitialInstruction = p.InitialInstruction;
  return f;
}

TConfirmOutcome StoreSetup(TSetupFields fields, const std::vector<TWarriorData>& warriors,
                           const std::vector<TWarriorData>& benchmarks, TParamsRec& params,
                           TTournament& tournament, TSetupFields& confirmed) {
  TConfirmOutcome outcome;
  outcome.TopologyChanged = fields.CircularDisplay != params.CircularDisplay;
  // The initial instruction, the core size, the limits, positions and seed.
  StoreSetupFields(fields, params);

  TTournamentRec& rec = tournament.Rec;
  tournament.WarriorList = warriors;
  NumberWarriors(tournament.WarriorList);
  rec.WarriorCount = int32_t(tournament.WarriorList.size());
  if (fields.TournamentType == Benchmark) {
    tournament.BenchmarkList = benchmarks;
    NumberWarriors(tournament.BenchmarkList);
    rec.BenchmarkCount = int32_t(tournament.BenchmarkList.size());
  } else {
    rec.BenchmarkCount = 0;
  }
  if (rec.WarriorCount == 1 && fields.TournamentType != Melee &&
      fields.TournamentType != Benchmark) {
    fields.TournamentType = Melee;
    outcome.MadeMelee = true;
  }

  rec.Rounds = NumberOrDefault(fields.RoundsText, rec.Rounds);
  rec.TournamentType = static_cast<uint8_t>(fields.TournamentType);
  rec.SelfFights = fields.SelfFights;
  // The pending copies of the options kept outside the dialog's own fields (display level,
  // early draws, topology, positions and seed went with the parameter record above).
  rec.PauseBetweenRounds = fields.PauseBetweenRounds;
  rec.ScoreFormula = fields.ScoreFormula;
  confirmed = std::move(fields);
  return outcome;
}

} // namespace velmora
