#include "params/params_rec.h"

namespace velmora {

TParamsRec DefaultParams() {
  return TParamsRec{};
}

} // namespace velmora
