// The fast path: nothing but the core, the queues and P-space; no display, no breakpoints,
// and no folding at all when both limits equal the core size.
#include "engine/run_loop.h"

namespace velmora {

void TCore::ExecuteStepFast(TWarrior& w, bool noFold) {
  if (w.ProcessCount <= 0) return;
  const detail::StepEnv env = detail::MakeStepEnv(*this);
  detail::QueueState q = detail::LoadQueue(env, w);
  if (noFold)
    detail::Step<detail::kFastPath, true>(*this, env, q);
  else
    detail::Step<detail::kFastPath, false>(*this, env, q);
  detail::StoreQueue(env, q);
}

template <bool NoFold>
void TCore::RunCyclesFast(int32_t cycles, int32_t first, int32_t threshold, int32_t n) {
  detail::RunLoop<detail::kFastPath, NoFold>(*this, cycles, first, threshold, n);
}

template void TCore::RunCyclesFast<true>(int32_t, int32_t, int32_t, int32_t);
template void TCore::RunCyclesFast<false>(int32_t, int32_t, int32_t, int32_t);

} // namespace velmora
