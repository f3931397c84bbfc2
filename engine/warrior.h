#pragma once
// One warrior of a battle: its source and object code (filled by the assembler) and its
// run-time state (process queue position, liveness, P-space).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/cell.h"

namespace velmora {

class TCore;

// A P-space block; warriors with the same PIN share one.
using TPSpace = std::vector<int32_t>;

class TWarrior {
public:
  explicit TWarrior(TCore* owner) : Owner(owner) {}

  TCore* Owner;

  // Source side.
  std::string Name = "No Name";
  std::vector<std::string> Source;
  std::vector<CoreCell> Code = std::vector<CoreCell>(1, CoreCell{}); // CodeLength + 1 cells
  int32_t CodeLength = 0;
  int32_t StartOffset = 0;
  uint8_t WarriorStatus = 0; // 0 never compiled or empty, 1 compiled with errors, 2 compiled
  int32_t Pin = 0;           // negative when the source declares no PIN
  // What the last assembly read differently from the standard, as the hills read it, or
  // where the hills compute another value: "line N: ...". Never a failure.
  std::vector<std::string> Warnings;
  // The 0-based source line each error and warning of the last assembly comes from, in
  // their order; -1 where there is none.
  std::vector<int32_t> ErrorLines, WarningLines;

  // Run-time side.
  int32_t WarriorNumber = 0; // 1-based within the battle; gives the colour
  bool Alive = false;
  int32_t ProcessCount = 0;
  int32_t QueueHead = 0; // byte offset into the engine's queue block
  int32_t QueueTail = 0; // byte offset where the next entry goes
  int32_t LastResult = -1;
  std::shared_ptr<TPSpace> PSpace;

  int32_t Colour() const { return ((WarriorNumber - 1) & 7) + 1; }
};

} // namespace velmora
