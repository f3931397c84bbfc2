// The display path: every event reported to the display and counted by the breakpoints.
#include "engine/run_loop.h"
#include "engine/step_impl.h"

namespace velmora {

void TCore::ExecuteStep(TWarrior& w) {
  const detail::StepEnv env = detail::MakeStepEnv(*this);
  detail::Step<true, false>(*this, env, w);
}

void TCore::RunCyclesDisplay(int32_t cycles, int32_t first, int32_t threshold, int32_t n) {
  const detail::StepEnv env = detail::MakeStepEnv(*this);
  detail::RunLoop<true>(*this, cycles, first, threshold, n,
                        [&](TWarrior& w) { detail::Step<true, false>(*this, env, w); });
}

} // namespace velmora
