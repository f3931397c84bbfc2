#include "ui/setup_engine.h"

#include <memory>

#include "assembler/assembler.h"
#include "engine/mardex_form.h"

namespace velmora {

TEngineParamsScope::TEngineParamsScope(TCore* core, const TParamsRec& dialog) : core_(core) {
  if (!core_) return;
  coreSize_ = core_->CoreSize;
  maxCycles_ = core_->MaxCycles;
  maxProcesses_ = core_->MaxProcesses;
  minDistance_ = core_->MinDistance;
  standard_ = core_->Standard;
  maxLength_ = core_->MaxLength;
  readLimit_ = core_->ReadLimit;
  writeLimit_ = core_->WriteLimit;
  pSpaceSize_ = core_->PSpaceSize;
  initialInstruction_ = core_->InitialInstruction;
  core_->CoreSize = dialog.CoreSizeMax;
  core_->MaxCycles = dialog.MaxCycles;
  core_->MaxProcesses = dialog.MaxProcesses;
  core_->MinDistance = dialog.MinDistance;
  core_->Standard = dialog.Standard;
  core_->MaxLength = dialog.MaxLength;
  core_->ReadLimit = dialog.ReadLimit;
  core_->WriteLimit = dialog.WriteLimit;
  core_->PSpaceSize = dialog.PSpaceSize;
}

TEngineParamsScope::~TEngineParamsScope() {
  if (!core_) return;
  core_->CoreSize = coreSize_;
  core_->MaxCycles = maxCycles_;
  core_->MaxProcesses = maxProcesses_;
  core_->MinDistance = minDistance_;
  core_->Standard = standard_;
  core_->MaxLength = maxLength_;
  core_->ReadLimit = readLimit_;
  core_->WriteLimit = writeLimit_;
  core_->PSpaceSize = pSpaceSize_;
  core_->InitialInstruction = initialInstruction_;
}

namespace {

constexpr const char* kInstructionFailed = "Initial instruction failed to compile.";

std::optional<std::string> Compile(TCore& core, const TParamsRec& dialog) {
  TEngineParamsScope scope(&core, dialog);
  try {
    if (CompileInitialInstruction(core, dialog.InitialInstruction)) return std::nullopt;
  } catch (const std::exception& e) {
    // An arithmetic error of the evaluator (division by zero, overflow) refuses the text too.
    return std::string(kInstructionFailed) + "\n" + e.what();
  }
  return kInstructionFailed;
}

} // namespace

std::optional<std::string> InitialInstructionError(TCore* core, const TParamsRec& dialog,
                                                   TPlatform& platform, int32_t rounds) {
  if (core) return Compile(*core, dialog);
  // The smallest core and queue block an engine takes; compiling only reads the numbers.
  TParamsRec small = dialog;
  small.CoreSizeMax = small.CoreSizeMin = 16;
  small.MaxProcesses = 1;
  small.NumWarriors = 1;
  TNullMardexForm form(rounds);
  const std::unique_ptr<TCore> scratch = TCore::Create(small, form, platform);
  if (!scratch) return kInstructionFailed;
  return Compile(*scratch, dialog);
}

} // namespace velmora
