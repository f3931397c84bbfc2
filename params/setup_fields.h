#pragma once
// The Setup dialog's state as plain data: the texts of its fields, its choices and its
// pending copies. Settings files are read into and written from it; confirming turns it
// into the parameter record (and, a layer up, the tournament record).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "params/params_rec.h"

namespace velmora {

// Items of the limit lists, in item order.
inline constexpr std::array<const char*, 3> kLimitItems = {"Core Size", "1/4 Core Size",
                                                           "1/16 Core Size"};
inline constexpr std::array<const char*, 2> kPSpaceItems = {"1/16 Core Size", "Core Size"};
inline constexpr std::array<const char*, 3> kStandardItems = {"KVRT 88", "94, no P-Space",
                                                              "94 + P-Space"};
inline constexpr const char* kDefaultScoreFormula = "(W*W-1)/S";

// A drop-down list that also takes a typed number: Item >= 0 is a chosen item, -1 typed.
struct LimitField {
  int32_t Item = 0;
  std::string Text;
};

struct TSetupFields {
  std::string CoreSizeText = "8000";
  bool RandomCoreSize = false;
  std::string MinCoreSizeText = "8000";
  std::string MaxCyclesText = "80000";
  std::string MaxProcessesText = "8000";
  std::string MaxLengthText = "100";
  std::string MinDistanceText = "100";
  LimitField ReadLimit;       // item 0: Core Size
  LimitField WriteLimit;      // item 0: Core Size
  LimitField PSpace;          // item 0: 1/16 Core Size
  int32_t TournamentType = 0; // 0 melee .. 3 benchmark
  std::string RoundsText = "1";
  int32_t StandardItem = 2;
  bool SelfFights = false;
  int32_t SecondPosition = kPositionRandom; // -1, -2, or fixed: the text below
  std::string FixedPositionText;
  int32_t SeedMode = kSeedRandom; // -1, -2, or fixed: the text below
  std::string FixedSeedText;
  std::string InitialInstruction = kInitialDat00; // "DAT 0,0", "RANDOM" or custom
  // The pending copies of settings kept outside the dialog's fields.
  int32_t DisplayLevel = 4;
  bool EarlyDrawCheck = true;
  bool PauseBetweenRounds = false;
  bool CircularDisplay = false;
  std::string ScoreFormula = kDefaultScoreFormula;
  bool Percent = true;
};

// --- Derived values ---------------------------------------------------------------------------
// Read or write limit of a list item (0 Core Size, 1 a quarter, 2 a sixteenth); truncating.
int32_t LimitOfItem(int32_t item, int32_t coreSize);
// P-space size of a list item (0 a sixteenth, 1 Core Size).
int32_t PSpaceOfItem(int32_t item, int32_t coreSize);
// Rounds that fight every second-warrior offset twice: (C - 2D + 1) x 2. May be below 1.
int64_t PermutateRounds(int32_t coreSize, int32_t minDistance);

// Every field check in the dialog's order, as the confirm step needs them: the messages of
// the fields that fail (an empty list when all pass). warriors is the n of the max length
// check (0 skips it).
std::vector<std::string> CheckSetupFields(const TSetupFields& fields, int32_t warriors);

// Stores the fields into the record as confirming does; the fields must have passed
// CheckSetupFields. Leaves NumWarriors alone.
void StoreSetupFields(const TSetupFields& fields, TParamsRec& params);

} // namespace velmora
