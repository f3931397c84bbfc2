#pragma once
// The P-space window's lines, free of any window code.

#include <cstdint>
#include <string>

namespace velmora {

// Location l in "%8d", a blank and the value as a listing field ("%7d", values in the top
// tenth of the core shown as negative).
std::string PSpaceLine(int32_t location, int32_t value, int32_t coreSize);

} // namespace velmora
