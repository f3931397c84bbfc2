#include "ui/setup_checks.h"

#include "params/field_checks.h"
#include "params/number_text.h"
#include "tournament/tournament.h"

namespace velmora {

int32_t MaxLengthWarriors(int32_t tournamentType, int32_t listed) {
  return tournamentType == Melee ? listed : 2;
}

namespace {

std::string& TextOf(SetupField field, TSetupFields& f) {
  switch (field) {
  case SetupField::CoreSize: return f.CoreSizeText;
  case SetupField::MinCoreSize: return f.MinCoreSizeText;
  case SetupField::MaxCycles: return f.MaxCyclesText;
  case SetupField::MaxProcesses: return f.MaxProcessesText;
  case SetupField::MinDistance: return f.MinDistanceText;
  case SetupField::Rounds: return f.RoundsText;
  case SetupField::ReadLimit: return f.ReadLimit.Text;
  case SetupField::WriteLimit: return f.WriteLimit.Text;
  case SetupField::PSpace: return f.PSpace.Text;
  case SetupField::MaxLength: return f.MaxLengthText;
  case SetupField::FixedPosition: return f.FixedPositionText;
  case SetupField::FixedSeed: return f.FixedSeedText;
  }
  return f.CoreSizeText;
}

int32_t StoredValue(SetupField field, const TStoredSetup& s) {
  switch (field) {
  case SetupField::MaxCycles: return s.Params.MaxCycles;
  case SetupField::MaxProcesses: return s.Params.MaxProcesses;
  case SetupField::MinDistance: return s.Params.MinDistance;
  case SetupField::Rounds: return s.Rounds;
  case SetupField::MaxLength: return s.Params.MaxLength;
  default: return 0;
  }
}

// Fields that do not count in the dialog's present choices.
bool Ignored(SetupField field, const TSetupFields& f) {
  switch (field) {
  case SetupField::MinCoreSize: return !f.RandomCoreSize;
  case SetupField::ReadLimit: return f.ReadLimit.Item >= 0;
  case SetupField::WriteLimit: return f.WriteLimit.Item >= 0;
  case SetupField::PSpace: return f.PSpace.Item >= 0;
  case SetupField::FixedPosition: return f.SecondPosition < 0;
  case SetupField::FixedSeed: return f.SeedMode < 0;
  default: return false;
  }
}

FieldCheck Check(SetupField field, const TSetupFields& f, int32_t warriors) {
  switch (field) {
  case SetupField::CoreSize:
    return CheckCoreSize(f.CoreSizeText, f.RandomCoreSize, f.MinCoreSizeText);
  case SetupField::MinCoreSize: return CheckMinCoreSize(f.MinCoreSizeText, f.CoreSizeText);
  case SetupField::MaxCycles: return CheckMaxCycles(f.MaxCyclesText);
  case SetupField::MaxProcesses: return CheckMaxProcesses(f.MaxProcessesText);
  case SetupField::MinDistance: return CheckMinDistance(f.MinDistanceText);
  case SetupField::Rounds: return CheckRounds(f.RoundsText);
  case SetupField::ReadLimit: return CheckReadLimit(f.ReadLimit.Text, f.CoreSizeText);
  case SetupField::WriteLimit: return CheckWriteLimit(f.WriteLimit.Text, f.CoreSizeText);
  case SetupField::PSpace: return CheckPSpaceSize(f.PSpace.Text, f.CoreSizeText);
  case SetupField::MaxLength:
    return CheckMaxLength(f.MaxLengthText, f.CoreSizeText, f.MinDistanceText, warriors);
  case SetupField::FixedPosition:
    return CheckSecondPosition(f.FixedPositionText, f.CoreSizeText, f.MinDistanceText);
  case SetupField::FixedSeed: return CheckFixedSeed(f.FixedSeedText);
  }
  return {};
}

} // namespace

std::optional<std::string> CheckSetupField(SetupField field, TSetupFields& f, int32_t warriors,
                                           const TStoredSetup& stored) {
  if (Ignored(field, f)) return std::nullopt;
  const FieldCheck check = Check(field, f, warriors);
  if (check.Ok()) return std::nullopt;
  std::string& text = TextOf(field, f);
  switch (check.Reset) {
  case ResetTo::Stored: text = std::to_string(StoredValue(field, stored)); break;
  case ResetTo::CoreSizeText: text = f.CoreSizeText; break;
  case ResetTo::MinDistanceText: text = f.MinDistanceText; break;
  case ResetTo::One: text = "1"; break;
  case ResetTo::Zero: text = "0"; break;
  case ResetTo::CoreSizeFields: {
    auto [core, min] = CoreSizeReset(f.CoreSizeText, f.MinCoreSizeText, stored.Params.CoreSizeMax,
                                     stored.Params.CoreSizeMin);
    f.CoreSizeText = std::move(core);
    f.MinCoreSizeText = std::move(min);
    break;
  }
  }
  return check.Message;
}

std::optional<TFieldFailure> CheckEverySetupField(TSetupFields& fields, int32_t warriors,
                                                  const TStoredSetup& stored) {
  for (int32_t i = 0; i < kSetupFieldCount; ++i) {
    const auto field = static_cast<SetupField>(i);
    if (auto message = CheckSetupField(field, fields, warriors, stored))
      return TFieldFailure{field, std::move(*message)};
  }
  return std::nullopt;
}

std::optional<std::string> PermutateRoundsText(const TSetupFields& fields) {
  const auto core = ParseNumberText(fields.CoreSizeText);
  const auto distance = ParseNumberText(fields.MinDistanceText);
  if (!core || !distance) return std::nullopt;
  return std::to_string(PermutateRounds(*core, *distance));
}

} // namespace velmora
