#pragma once
// An engine for the windows that compile or evaluate formulas: the main window's own once it
// exists, else a private one made from the parameter record, so that a dialog opened before
// the first showing of the main window still works.

#include <memory>

#include "engine/core.h"
#include "engine/mardex_form.h"
#include "ui/app.h"

namespace velmora {

class TSpareEngine {
public:
  // The main window's engine once it exists, else the private one; never null.
  TCore* For(TVelmoraApp& app);

private:
  TNullMardexForm form_;
  std::unique_ptr<TCore> own_;
};

} // namespace velmora
