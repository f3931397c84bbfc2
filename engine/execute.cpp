// The display path: every event reported to the display and counted by the breakpoints.
#include "engine/run_loop.h"

namespace velmora {

void TCore::ExecuteStep(TWarrior& w) {
  if (w.ProcessCount <= 0) return;
  const detail::StepEnv env = detail::MakeStepEnv(*this);
  detail::QueueState q = detail::LoadQueue(env, w);
  detail::Step<true, false>(*this, env, q);
  detail::StoreQueue(env, q);
}

void TCore::RunCyclesDisplay(int32_t cycles, int32_t first, int32_t threshold, int32_t n) {
  detail::RunLoop<true, false>(*this, cycles, first, threshold, n);
}

} // namespace velmora
