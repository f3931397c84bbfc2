#include "ui/pspace_text.h"

#include <cstdio>

#include "ui/core_listing.h"

namespace velmora {

std::string PSpaceLine(int32_t location, int32_t value, int32_t coreSize) {
  char number[16];
  std::snprintf(number, sizeof number, "%8d", location);
  return std::string(number) + " " + FieldText(value, coreSize);
}

} // namespace velmora
