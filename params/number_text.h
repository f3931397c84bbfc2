#pragma once
// Numbers typed into the Setup dialog, read the way every field check reads them.

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// The fallback that marks text which is not a number; the text "-93845" itself therefore
// reads as not a number too.
inline constexpr int32_t NotANumber = -93845;

// Leading blanks, an optional "-" or "+", then decimal digits or "$" and hexadecimal
// digits. Empty text, any other character (a trailing blank too) and values outside the
// signed 32-bit range give nothing.
std::optional<int32_t> ParseNumberText(const std::string& text);

// The number, or fallback when the text is not one.
int32_t NumberOrDefault(const std::string& text, int32_t fallback);

} // namespace velmora
