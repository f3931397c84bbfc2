#pragma once
// The engine a fuzz target works on: one per process, created on first use with the default
// parameters, a platform that keeps its messages and a display that shows nothing, with the
// assembler installed. Each input starts from the same state, so a reported input replays.

#include <memory>
#include <string>

#include "assembler/assembler.h"
#include "engine/core.h"
#include "engine/mardex_form.h"
#include "engine/platform.h"
#include "params/params_rec.h"

namespace velmora::fuzz {

// A broken invariant is a crash that libFuzzer reports with the input.
inline void Check(bool holds) {
  if (!holds) __builtin_trap();
}

struct FuzzEngine {
  TNullMardexForm Form{3};
  THeadlessPlatform Platform;
  std::unique_ptr<TCore> Core;

  FuzzEngine() {
    Core = TCore::Create(TParamsRec{}, Form, Platform);
    Check(Core != nullptr);
    InstallAssembler(*Core);
    while (Core->Warriors.size() < 2)
      Core->AddWarrior();
  }

  // Clears what an input may have left behind: messages, breakpoint types, the random
  // generator's state, the scanner's variables and labels, warrior 1's name.
  TCore& Fresh() {
    Platform.Messages.clear();
    Core->ResetBreakpointTypes();
    Core->Rng.Seed(1);
    Core->Standard = 2;
    Core->Asm.Variables.fill(0);
    Core->Asm.Labels.clear();
    Core->Asm.CurLine = 0;
    Core->Asm.ModeSeen = false;
    Core->Asm.OperandMode = 1;
    Core->Warriors[1]->Name = "No Name";
    return *Core;
  }
};

inline FuzzEngine& Engine() {
  static FuzzEngine engine;
  return engine;
}

} // namespace velmora::fuzz
