#pragma once
// The cycle loop of RunCycles, shared by the display path and the fast path.

#include "engine/core.h"

namespace velmora::detail {

// Runs cycles until the batch, the round or (display path) a breakpoint ends them.
// StepFn executes one instruction of a warrior.
template <bool Display, class StepFn>
inline void RunLoop(TCore& c, int32_t cycles, int32_t first, int32_t threshold, int32_t n,
                    StepFn&& step) {
  TWarrior* order[256];
  TWarrior** warriors = order;
  std::vector<TWarrior*> many;
  if (n > 256) {
    many.resize(static_cast<size_t>(n));
    warriors = many.data();
  }
  // The rotation is fixed for the whole call: list it once.
  for (int32_t k = 0; k < n; ++k) {
    int32_t i = first + k;
    if (i > n) i -= n;
    warriors[k] = c.Warriors[static_cast<size_t>(i)].get();
  }
  for (;;) {
    if constexpr (Display) c.HitList.clear();
    ++c.CycleCount;
    int32_t alive = c.AliveCount;
    for (int32_t k = 0; k < n; ++k) {
      TWarrior& w = *warriors[k];
      if (!w.Alive) continue;
      step(w);
      if (!w.Alive && --alive <= threshold) break;
    }
    if (c.EndOfCycleCheck(alive, threshold)) return;
    if constexpr (Display) {
      if (!c.HitList.empty()) return;
    }
    if (--cycles == 0) return;
  }
}

} // namespace velmora::detail
