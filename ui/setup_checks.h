#pragma once
// The Setup dialog's field checks with the value each field gets back after a failure, for
// one field as leaving it does and for every field as confirming does. Plain data in, plain
// data out: the dialog only moves texts between its controls and TSetupFields.

#include <cstdint>
#include <optional>
#include <string>

#include "params/params_rec.h"
#include "params/setup_fields.h"

namespace velmora {

// The typed fields, in the order confirming checks them.
enum class SetupField {
  CoreSize,
  MinCoreSize,
  MaxCycles,
  MaxProcesses,
  MinDistance,
  Rounds,
  ReadLimit,
  WriteLimit,
  PSpace,
  MaxLength,
  FixedPosition,
  FixedSeed
};
inline constexpr int32_t kSetupFieldCount = 12;

// The n of the max length check: the listed warriors of a melee, else 2.
int32_t MaxLengthWarriors(int32_t tournamentType, int32_t listed);

// The values a failed check puts back: the confirmed record and rounds.
struct TStoredSetup {
  TParamsRec Params;
  int32_t Rounds = 1;
};

// Checks one field. A field that does not count (the minimum of a fixed core size, a limit
// chosen from its list, a position or seed that is not fixed) passes. On failure the
// message comes back and fields holds the valid value instead of the refused one.
std::optional<std::string> CheckSetupField(SetupField field, TSetupFields& fields, int32_t warriors,
                                           const TStoredSetup& stored);

struct TFieldFailure {
  SetupField Field;
  std::string Message;
};

// Every field in order, stopping at the first that fails (its valid value put back).
std::optional<TFieldFailure> CheckEverySetupField(TSetupFields& fields, int32_t warriors,
                                                  const TStoredSetup& stored);

// The rounds that permutate needs for the fields' core size and min distance, as text;
// nothing when either is not a number.
std::optional<std::string> PermutateRoundsText(const TSetupFields& fields);

} // namespace velmora
