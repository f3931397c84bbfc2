// The display path: every event reported to the display and counted by the breakpoints.
#include "engine/run_loop.h"

namespace velmora {

void TCore::ExecuteStep(TWarrior& w) {
  if (w.ProcessCount <= 0) return;
  const detail::StepEnv env = detail::MakeStepEnv(*this);
  detail::QueueState q = detail::LoadQueue(env, w);
  if (env.ReadLimit == env.CoreSize && env.WriteLimit == env.CoreSize)
    detail::Step<true, true>(*this, env, q);
  else
    detail::Step<true, false>(*this, env, q);
  detail::StoreQueue(env, q);
  FlushPixels();
}

template <bool NoFold>
void TCore::RunCyclesDisplay(int32_t cycles, int32_t first, int32_t threshold, int32_t n) {
  detail::RunLoop<true, NoFold>(*this, cycles, first, threshold, n);
}

template void TCore::RunCyclesDisplay<true>(int32_t, int32_t, int32_t, int32_t);
template void TCore::RunCyclesDisplay<false>(int32_t, int32_t, int32_t, int32_t);

} // namespace velmora
