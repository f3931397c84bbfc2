#pragma once
// Engines prepared for round set-up tests: warriors with hand-written object code.

#include <string>
#include <vector>

#include "tests/support/engine_harness.h"

namespace velmora::test {

struct SetupOptions {
  int32_t CoreSize = 8000;
  int32_t Warriors = 2;
  int32_t MinDistance = 100;
  int32_t MaxProcesses = 8000;
  int32_t SecondPosition = kPositionRandom;
  int32_t DisplayLevel = 0;
  uint32_t Seed = 12345;
};

inline HarnessOptions ToHarness(const SetupOptions& o) {
  HarnessOptions h;
  h.CoreSize = o.CoreSize;
  h.Warriors = o.Warriors;
  h.MaxProcesses = o.MaxProcesses;
  h.PSpaceSize = 1;
  h.DisplayLevel = o.DisplayLevel;
  return h;
}

class SetupHarness : public Harness {
public:
  explicit SetupHarness(const SetupOptions& o = {}) : Harness(ToHarness(o)) {
    TCore& c = Core();
    c.MinDistance = o.MinDistance;
    c.SecondPosition = o.SecondPosition;
    c.Rng.Seed(o.Seed);
    for (int k = 1; k <= o.Warriors; ++k) {
      Warrior(k).Name = "W" + std::to_string(k);
      SetCode(k, {"JMP.B $0, $0"});
    }
  }
  // Object code as the assembler leaves it: the warrior's colour in each Marker.
  void SetCode(int k, const std::vector<std::string>& cells, int32_t start = 0) {
    TWarrior& w = Warrior(k);
    w.Code.clear();
    for (const auto& text : cells) {
      CoreCell c = ParseCell(text, Core().CoreSizeMax);
      c.Marker = static_cast<uint8_t>(k);
      w.Code.push_back(c);
    }
    w.CodeLength = static_cast<int32_t>(cells.size());
    w.Code.push_back(CoreCell{});
    w.StartOffset = start;
  }
  // The address warrior k was loaded at: its first process minus its start offset.
  int32_t LoadAddress(int k) {
    return Wrap(Core().QueueEntry(Warrior(k), 0) - Warrior(k).StartOffset);
  }
  int32_t LethalCells() {
    int32_t n = 0;
    for (int32_t a = 0; a < Core().CoreSize; ++a)
      n += IsLethal(At(a)) ? 1 : 0;
    return n;
  }
};

// Shortest way round the circle between two addresses.
inline int32_t CircularDistance(int32_t a, int32_t b, int32_t coreSize) {
  const int32_t d = a > b ? a - b : b - a;
  return d < coreSize - d ? d : coreSize - d;
}

} // namespace velmora::test
