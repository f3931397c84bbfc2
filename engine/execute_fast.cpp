// The fast path: nothing but the core, the queues and P-space; no display, no breakpoints,
// and no folding at all when both limits equal the core size.
#include "engine/run_loop.h"
#include "engine/step_impl.h"

namespace velmora {

void TCore::ExecuteStepFast(TWarrior& w, bool noFold) {
  const detail::StepEnv env = detail::MakeStepEnv(*this);
  if (noFold)
    detail::Step<false, true>(*this, env, w);
  else
    detail::Step<false, false>(*this, env, w);
}

template <bool NoFold>
void TCore::RunCyclesFast(int32_t cycles, int32_t first, int32_t threshold, int32_t n) {
  const detail::StepEnv env = detail::MakeStepEnv(*this);
  detail::RunLoop<false>(*this, cycles, first, threshold, n,
                         [&](TWarrior& w) { detail::Step<false, NoFold>(*this, env, w); });
}

template void TCore::RunCyclesFast<true>(int32_t, int32_t, int32_t, int32_t);
template void TCore::RunCyclesFast<false>(int32_t, int32_t, int32_t, int32_t);

} // namespace velmora
