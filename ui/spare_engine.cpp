#include "ui/spare_engine.h"

#include "assembler/assembler.h"

namespace velmora {

TCore* TSpareEngine::For(TVelmoraApp& app) {
  if (app.Core) return app.Core;
  if (!own_) {
    // Compiling and evaluating need no core memory.
    own_ = TCore::CreateWithoutMemory(app.Params, form_, app.Platform);
    InstallAssembler(*own_);
  }
  // Follow the record, as the main window's engine would after Setup.
  const int32_t numWarriors = own_->NumWarriors;
  own_->CopyParams(app.Params);
  own_->NumWarriors = numWarriors;
  return own_.get();
}

} // namespace velmora
