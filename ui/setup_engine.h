#pragma once
// The engine as the Setup dialog borrows it: with the dialog's parameters while a warrior is
// edited or the initial instruction is test-compiled, its own put back afterwards.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/core.h"
#include "engine/platform.h"
#include "params/params_rec.h"

namespace velmora {

// Gives the engine the dialog's core size, cycles, processes, min distance, standard, max
// length and limits for as long as it lives; puts those and the initial instruction back
// when it ends. A null engine (before the main window's first showing) is left alone.
class TEngineParamsScope {
public:
  TEngineParamsScope(TCore* core, const TParamsRec& dialog);
  ~TEngineParamsScope();
  TEngineParamsScope(const TEngineParamsScope&) = delete;
  TEngineParamsScope& operator=(const TEngineParamsScope&) = delete;

private:
  TCore* core_;
  int32_t coreSize_ = 0, maxCycles_ = 0, maxProcesses_ = 0, minDistance_ = 0;
  uint8_t standard_ = 0;
  int32_t maxLength_ = 0, readLimit_ = 0, writeLimit_ = 0, pSpaceSize_ = 0;
  std::string initialInstruction_;
};

// Compiles a custom initial instruction as a one-line warrior under the dialog's parameters,
// in the engine's private warrior slot; before the engine exists, in a small engine of its
// own (its core is never used, only its parameters). Nothing when it compiles, else the
// message to show. rounds is what ROUNDS means while compiling.
std::optional<std::string> InitialInstructionError(TCore* core, const TParamsRec& dialog,
                                                   TPlatform& platform, int32_t rounds);

} // namespace velmora
