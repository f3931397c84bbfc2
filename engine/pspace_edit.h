#pragma once
// P-space as the debugger shows and changes it: location 0 is the warrior's LastResult, the
// others are cells of its (possibly shared) block.

#include <cstdint>

#include "engine/warrior.h"

namespace velmora {

// Locations the warrior's block holds; 0 before it has one.
int32_t PSpaceLocations(const TWarrior& w);
// The value of location l (0 <= l < PSpaceLocations): LastResult for 0.
int32_t PSpaceValue(const TWarrior& w, int32_t location);
// Writes value, reduced modulo coreSize, to `count` consecutive locations from `location`,
// wrapping from the last location to 0; location 0 sets both cell 0 and LastResult. A count
// beyond the block's size writes each location once. False (nothing written) without a
// block, a core, a location in range or a positive count.
bool FillPSpace(TWarrior& w, int32_t location, int32_t value, int32_t count, int32_t coreSize);

} // namespace velmora
