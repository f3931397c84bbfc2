// Compiling the warriors of a battle: one assembly each, chained checksum, P-space, seed.

#include <algorithm>
#include <new>

#include "assembler/assembler.h"

namespace velmora {

bool AllocatePSpace(TCore& core, int index) {
  TWarrior& w = *core.Warriors[static_cast<size_t>(index)];
  std::shared_ptr<TPSpace> block;
  if (w.Pin >= 0) {
    // Warriors with the same PIN share the first one's block.
    for (int k = 1; k < index && !block; ++k) {
      const TWarrior& other = *core.Warriors[static_cast<size_t>(k)];
      if (other.Pin == w.Pin && other.PSpace) block = other.PSpace;
    }
  }
  try {
    if (!block) block = std::make_shared<TPSpace>(static_cast<size_t>(core.PSpaceSize), 0);
  } catch (const std::bad_alloc&) {
    core.Platform->ShowMessage("Not enough memory to create PSpace for Warrior " + w.Name);
    return false;
  }
  std::fill(block->begin(), block->end(), 0);
  w.PSpace = std::move(block);
  w.LastResult = -1;
  return true;
}

bool CompileWarriors(TCore& core) {
  core.RoundState = kRoundRunning;
  for (auto& w : core.Warriors)
    w->PSpace.reset();
  uint32_t checksum = 1;
  std::vector<std::string> errors;
  auto fail = [&](const std::string& message) {
    core.Platform->ShowMessage(message);
    core.RoundState = kRoundIdle;
    return false;
  };
  const int count = std::min<int>(core.NumWarriors, static_cast<int>(core.Warriors.size()) - 1);
  for (int i = 1; i <= count; ++i) {
    TWarrior& w = *core.Warriors[static_cast<size_t>(i)];
    if (w.Source.empty()) return fail("Warrior " + w.Name + " has no code.");
    uint8_t status;
    try {
      status = AssembleWarrior(core, i, errors, checksum, true);
    } catch (...) {
      // An arithmetic error ends the compile; the battle must not start half compiled.
      core.RoundState = kRoundIdle;
      throw;
    }
    if (status != 2) return fail("Warrior " + w.Name + " failed to compile.");
    if (!AllocatePSpace(core, i)) {
      core.RoundState = kRoundIdle;
      return false;
    }
  }
  if (core.SeedMode == kSeedChecksum)
    core.Rng.Seed(checksum);
  else if (core.SeedMode == kSeedRandom)
    core.Rng.SeedFromClock(core.Platform->UtcTimeOfDay());
  else
    core.Rng.Seed(static_cast<uint32_t>(core.SeedMode));
  core.PermutationOffset = 0;
  return true;
}

} // namespace velmora
