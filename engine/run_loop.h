#pragma once
// The cycle loop of RunCycles, shared by the display path and the fast path.

#include <algorithm>
#include <vector>

#include "engine/step_impl.h"

namespace velmora::detail {

// Runs cycles until the batch, the round or (display path) a breakpoint ends them. The
// rotation of warriors and their queue positions are held in locals for the whole call.
template <StepPath Display, bool NoFold>
inline void RunLoop(TCore& c, int32_t cycles, int32_t first, int32_t threshold, int32_t n) {
  const StepEnv env = MakeStepEnv(c);
  constexpr int32_t kLocal = 16;
  QueueState localQueues[kLocal];
  std::vector<QueueState> manyQueues;
  QueueState* queues = localQueues;
  if (n > kLocal) { // a large melee: once per call, never per instruction
    manyQueues.resize(static_cast<size_t>(n));
    queues = manyQueues.data();
  }
  // The rotation is fixed for the whole call: lay it out once.
  for (int32_t k = 0; k < n; ++k) {
    int32_t i = first + k;
    if (i > n) i -= n;
    queues[k] = LoadQueue(env, *c.Warriors[static_cast<size_t>(i)]);
  }
  QueueState* const end = queues + n;

  int32_t cycleCount = c.CycleCount;
  int32_t alive = c.AliveCount;
  // The batch never runs past the cycle limit; a round already down to its last warriors
  // still completes one cycle before it is decided.
  int32_t batch = std::min(cycles, std::max(c.MaxCycles - cycleCount, 1));
  if (alive <= threshold) batch = 1;
  int64_t executed = 0;
  bool over = alive <= threshold;
  // Two warriors is the common battle: their queue states stay in locals, no loop.
  // Turns not taken are counted instead of turns taken: they are rare, and a counter bumped
  // every step is one more value the step cannot keep in a register.
  if (n == 2) {
    QueueState q0 = queues[0], q1 = queues[1];
    const int32_t firstCycle = cycleCount;
    int64_t skipped = 0;
    while (batch-- > 0) {
      if constexpr (Display == kEventPath) c.HitList.clear();
      ++cycleCount;
      if (!q0.Alive) {
        ++skipped;
      } else if (Step<Display, NoFold>(c, env, q0) && --alive <= threshold) {
        over = true;
        ++skipped; // the second warrior's turn of this cycle
        break;
      }
      if (!q1.Alive) {
        ++skipped;
      } else if (Step<Display, NoFold>(c, env, q1) && --alive <= threshold) {
        over = true;
        break;
      }
      if constexpr (Display == kEventPath) {
        if (!c.HitList.empty()) break;
      }
    }
    executed = 2 * static_cast<int64_t>(cycleCount - firstCycle) - skipped;
    queues[0] = q0;
    queues[1] = q1;
    goto done;
  }
  while (batch-- > 0) {
    if constexpr (Display == kEventPath) c.HitList.clear();
    ++cycleCount;
    for (QueueState* q = queues; q != end; ++q) {
      if (!q->Alive) continue;
      ++executed;
      if (Step<Display, NoFold>(c, env, *q) && --alive <= threshold) {
        over = true;
        goto done;
      }
    }
    if constexpr (Display == kEventPath) {
      if (!c.HitList.empty()) break;
    }
  }
done:
  for (QueueState* q = queues; q != end; ++q)
    StoreQueue(env, *q);
  c.CycleCount = cycleCount;
  c.AliveCount = alive;
  c.InstructionCount += executed;
  if (over || cycleCount >= c.MaxCycles) c.DecideRound(alive, threshold);
}

} // namespace velmora::detail
