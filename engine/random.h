#pragma once
// The program's one random generator: a 32-bit linear congruential generator whose exact
// arithmetic makes a fixed seed replay every random choice of a battle.

#include <cstdint>

#include "engine/platform.h"

namespace velmora {

class TRandom {
public:
  uint32_t State = 0;

  void Seed(uint32_t s) { State = s; }
  void SeedFromClock(const ClockTime& t) {
    State =
        static_cast<uint32_t>(((t.Hour * 60 + t.Minute) * 60 + t.Second) * 1000 + t.Millisecond);
  }
  uint32_t Step() {
    State = State * 134775813u + 1u;
    return State;
  }
  // Integer in 0..n-1: the high half of the new state times n. n <= 0 gives 0.
  int32_t Random(int32_t n) {
    uint64_t s = Step();
    if (n <= 0) return 0;
    return static_cast<int32_t>((s * static_cast<uint64_t>(n)) >> 32);
  }
  // Real in [0, 1).
  double RandomReal() { return static_cast<double>(Step()) / 4294967296.0; }
};

} // namespace velmora
