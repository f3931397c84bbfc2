#pragma once
// The battle parameters: one record that the Setup dialog fills, the engine copies and the
// settings files store.

#include <cstdint>
#include <string>

namespace velmora {

// Values of SecondPosition and SeedMode that are not a plain number.
inline constexpr int32_t kPositionRandom = -1;
inline constexpr int32_t kPositionPermutate = -2;
inline constexpr int32_t kSeedRandom = -1;
inline constexpr int32_t kSeedChecksum = -2;

inline constexpr const char* kInitialDat00 = "DAT 0,0";
inline constexpr const char* kInitialRandom = "RANDOM";

struct TParamsRec {
  int32_t DisplayLevel = 4;
  bool EarlyDrawCheck = true;
  bool RandomCoreSize = false;
  int32_t NumWarriors = 1;
  int32_t MaxProcesses = 8000;
  int32_t CoreSizeMax = 8000;
  int32_t CoreSizeMin = 8000;
  int32_t MaxCycles = 80000;
  int32_t MinDistance = 100;
  uint8_t Standard = 2;
  int32_t ReadLimit = 8000;
  int32_t WriteLimit = 8000;
  int32_t PSpaceSize = 8000 / 16;
  int32_t MaxLength = 100;
  bool CircularDisplay = false;
  int32_t SecondPosition = kPositionRandom;
  int32_t SeedMode = kSeedRandom;
  std::string InitialInstruction = kInitialDat00;
};

// The record as the program starts when there is no default settings file.
TParamsRec DefaultParams();

} // namespace velmora
