#include "params/setup_fields.h"

#include "params/field_checks.h"
#include "params/number_text.h"

namespace velmora {

int32_t LimitOfItem(int32_t item, int32_t coreSize) {
  switch (item) {
  case 1: return coreSize / 4;
  case 2: return coreSize / 16;
  default: return coreSize;
  }
}

int32_t PSpaceOfItem(int32_t item, int32_t coreSize) {
  return item == 1 ? coreSize : coreSize / 16;
}

int64_t PermutateRounds(int32_t coreSize, int32_t minDistance) {
  return (int64_t{coreSize} - 2 * int64_t{minDistance} + 1) * 2;
}

namespace {

void Add(std::vector<std::string>& messages, const FieldCheck& check) {
  if (!check.Ok()) messages.push_back(check.Message);
}

int32_t LimitValue(const LimitField& field, int32_t item) {
  return field.Item < 0 ? NumberOrDefault(field.Text, 0) : item;
}

} // namespace

std::vector<std::string> CheckSetupFields(const TSetupFields& f, int32_t warriors) {
  std::vector<std::string> m;
  Add(m, CheckCoreSize(f.CoreSizeText, f.RandomCoreSize, f.MinCoreSizeText));
  if (f.RandomCoreSize) Add(m, CheckMinCoreSize(f.MinCoreSizeText, f.CoreSizeText));
  Add(m, CheckMaxCycles(f.MaxCyclesText));
  Add(m, CheckMaxProcesses(f.MaxProcessesText));
  Add(m, CheckMinDistance(f.MinDistanceText));
  Add(m, CheckRounds(f.RoundsText));
  if (f.ReadLimit.Item < 0) Add(m, CheckReadLimit(f.ReadLimit.Text, f.CoreSizeText));
  if (f.WriteLimit.Item < 0) Add(m, CheckWriteLimit(f.WriteLimit.Text, f.CoreSizeText));
  if (f.PSpace.Item < 0) Add(m, CheckPSpaceSize(f.PSpace.Text, f.CoreSizeText));
  Add(m, CheckMaxLength(f.MaxLengthText, f.CoreSizeText, f.MinDistanceText, warriors));
  if (f.SecondPosition >= 0)
    Add(m, CheckSecondPosition(f.FixedPositionText, f.CoreSizeText, f.MinDistanceText));
  if (f.SeedMode >= 0) Add(m, CheckFixedSeed(f.FixedSeedText));
  return m;
}

void StoreSetupFields(const TSetupFields& f, TParamsRec& p) {
  const int32_t core = NumberOrDefault(f.CoreSizeText, p.CoreSizeMax);
  p.InitialInstruction = f.InitialInstruction;
  p.RandomCoreSize = f.RandomCoreSize;
  p.CoreSizeMax = core;
  // A fixed size has no separate minimum.
  p.CoreSizeMin = f.RandomCoreSize ? NumberOrDefault(f.MinCoreSizeText, core) : core;
  p.MaxCycles = NumberOrDefault(f.MaxCyclesText, p.MaxCycles);
  p.MaxProcesses = NumberOrDefault(f.MaxProcessesText, p.MaxProcesses);
  p.MinDistance = NumberOrDefault(f.MinDistanceText, p.MinDistance);
  p.Standard = static_cast<uint8_t>(f.StandardItem);
  p.MaxLength = NumberOrDefault(f.MaxLengthText, p.MaxLength);
  p.ReadLimit = LimitValue(f.ReadLimit, LimitOfItem(f.ReadLimit.Item, core));
  p.WriteLimit = LimitValue(f.WriteLimit, LimitOfItem(f.WriteLimit.Item, core));
  p.PSpaceSize = LimitValue(f.PSpace, PSpaceOfItem(f.PSpace.Item, core));
  p.DisplayLevel = f.DisplayLevel;
  p.EarlyDrawCheck = f.EarlyDrawCheck;
  p.CircularDisplay = f.CircularDisplay;
  p.SecondPosition =
      f.SecondPosition >= 0 ? NumberOrDefault(f.FixedPositionText, 0) : f.SecondPosition;
  p.SeedMode = f.SeedMode >= 0 ? NumberOrDefault(f.FixedSeedText, 0) : f.SeedMode;
}

} // namespace velmora
