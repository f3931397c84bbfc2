#include "engine/pspace_edit.h"

#include <algorithm>

#include "engine/cell.h"

namespace velmora {

int32_t PSpaceLocations(const TWarrior& w) {
  return w.PSpace ? static_cast<int32_t>(w.PSpace->size()) : 0;
}

int32_t PSpaceValue(const TWarrior& w, int32_t location) {
  if (location == 0) return w.LastResult;
  return (*w.PSpace)[static_cast<size_t>(location)];
}

bool FillPSpace(TWarrior& w, int32_t location, int32_t value, int32_t count, int32_t coreSize) {
  const int32_t size = PSpaceLocations(w);
  if (size < 1 || coreSize < 1 || location < 0 || location >= size || count < 1) return false;
  const int32_t stored = ModCore(value, coreSize);
  int32_t l = location;
  for (int32_t i = 0; i < std::min(count, size); ++i) {
    (*w.PSpace)[static_cast<size_t>(l)] = stored;
    if (l == 0) w.LastResult = stored;
    l = l + 1 == size ? 0 : l + 1;
  }
  return true;
}

} // namespace velmora
