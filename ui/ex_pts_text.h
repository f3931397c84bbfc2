#pragma once
// The execution points editor's text and button rules, free of any window code.

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// "1 process", otherwise the count and " processes" (also for none).
std::string ProcessCountText(int32_t count);

// The address a list line starts with; nothing when the line has no leading number.
std::optional<int32_t> ProcessAddressOfLine(const std::string& line);

// Which of the editor's list buttons are usable with line `selected` (-1: none) of `count`.
struct TExPtsButtons {
  bool Delete = false, Edit = false, RollToTop = false, MoveUp = false, MoveDown = false;
  bool operator==(const TExPtsButtons&) const = default;
};
TExPtsButtons ExPtsButtonStates(int32_t selected, int32_t count);

} // namespace velmora
