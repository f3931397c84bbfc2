// The display path: every event reported to the display and counted by the breakpoints.
#include <algorithm>

#include "engine/run_loop.h"

namespace velmora {

void TCore::ExecuteStep(TWarrior& w) {
  if (w.ProcessCount <= 0) return;
  const detail::StepEnv env = detail::MakeStepEnv(*this);
  detail::QueueState q = detail::LoadQueue(env, w);
  if (env.ReadLimit == env.CoreSize && env.WriteLimit == env.CoreSize)
    detail::Step<detail::kEventPath, true>(*this, env, q);
  else
    detail::Step<detail::kEventPath, false>(*this, env, q);
  detail::StoreQueue(env, q);
  FlushPixels();
}

template <bool NoFold>
void TCore::RunCyclesDisplay(int32_t cycles, int32_t first, int32_t threshold, int32_t n) {
  // Without events to collect or breakpoints to count, the step has nothing to call: the
  // marker path then keeps its values in registers. The look for breakpoints costs a pass
  // over the core, taken only when the batch is long enough to make it small.
  const bool markersOnly =
      !CollectPixels && CoreSize <= 4 * int64_t{cycles} * n &&
      std::none_of(Core.begin(), Core.begin() + CoreSize,
                   [](const CoreCell& cell) { return cell.BreakpointType != 0; });
  if (markersOnly)
    detail::RunLoop<detail::kMarkerPath, NoFold>(*this, cycles, first, threshold, n);
  else
    detail::RunLoop<detail::kEventPath, NoFold>(*this, cycles, first, threshold, n);
}

template void TCore::RunCyclesDisplay<true>(int32_t, int32_t, int32_t, int32_t);
template void TCore::RunCyclesDisplay<false>(int32_t, int32_t, int32_t, int32_t);

} // namespace velmora
