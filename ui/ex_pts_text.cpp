#include "ui/ex_pts_text.h"

#include <cstdlib>

#include "params/number_text.h"

namespace velmora {

std::string ProcessCountText(int32_t count) {
  return count == 1 ? "1 process" : std::to_string(count) + " processes";
}

std::optional<int32_t> ProcessAddressOfLine(const std::string& line) {
  const size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) return std::nullopt;
  const size_t end = line.find(' ', start);
  return ParseNumberText(line.substr(start, end == std::string::npos ? end : end - start));
}

TExPtsButtons ExPtsButtonStates(int32_t selected, int32_t count) {
  TExPtsButtons b;
  const bool chosen = selected >= 0 && selected < count;
  b.Delete = b.Edit = chosen;
  b.RollToTop = b.MoveUp = chosen && selected > 0;
  // Without a selection the button stays usable but does nothing.
  b.MoveDown = count >= 2 && (!chosen || selected < count - 1);
  return b;
}

} // namespace velmora
