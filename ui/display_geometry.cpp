#include "ui/display_geometry.h"

#include <algorithm>
#include <array>
#include <bit>

namespace velmora {

namespace {

struct SizeRow {
  int32_t UpTo; // largest core size of the row
  int32_t CellSize;
  int32_t LineLength;
};

// Smaller cores get bigger cells; each row fills its images exactly.
constexpr std::array<SizeRow, 3> kCircularRows = {{{4096, 8, 16}, {16384, 4, 32}, {65536, 2, 64}}};
constexpr std::array<SizeRow, 3> kRectangularRows = {
    {{2048, 8, 64}, {8192, 4, 128}, {32768, 2, 256}}};
constexpr int64_t kSinglePixelCells = int64_t{kStripLength} * kRectangularHeight;

// Rows from the top, "#" coloured, "." black; a mask of cell size c has c rows of c.
constexpr std::array<std::array<const char*, 8>, kGlyphKindCount> kMasks8 = {{
    {"#######.", "#######.", "#######.", "#######.", "#######.", "#######.", "#######.",
     "........"},
    {"##...##.", ".##.##..", "..###...", "..###...", ".##.##..", "##...##.", "#.....#.",
     "........"},
    {"...##...", "...##...", ".######.", ".######.", "...##...", "...##...", "........",
     "........"},
    {"........", "........", ".######.", ".######.", "........", "........", "........",
     "........"},
    {"........", "........", "...##...", "...##...", "........", "........", "........",
     "........"},
}};
constexpr std::array<std::array<const char*, 4>, kGlyphKindCount> kMasks4 = {{
    {"###.", "###.", "###.", "...."},
    {"#.#.", ".#..", "#.#.", "...."},
    {".#..", "###.", ".#..", "...."},
    {"....", "###.", "....", "...."},
    {"....", ".#..", "....", "...."},
}};
constexpr std::array<std::array<const char*, 2>, kGlyphKindCount> kMasks2 = {{
    {"##", "##"},
    {".#", "#."},
    {".#", ".#"},
    {"..", "##"},
    {"..", ".#"},
}};

} // namespace

TDisplaySize DisplayImageSize(int32_t image, bool circular) {
  if (circular) {
    switch (image) {
    case 1:
    case 3: return {kStripWidth, kStripLength};
    case 2:
    case 4: return {kStripLength, kStripWidth};
    default: return {};
    }
  }
  if (image == 4) return {kStripLength, kRectangularHeight};
  return {};
}

TDisplayGeometry::TDisplayGeometry(int32_t coreSizeMax, bool circular) : circular_(circular) {
  const auto& rows = circular ? kCircularRows : kRectangularRows;
  const auto row = std::find_if(rows.begin(), rows.end(),
                                [&](const SizeRow& r) { return coreSizeMax <= r.UpTo; });
  if (row != rows.end()) {
    cellSize_ = row->CellSize;
    lineLength_ = row->LineLength;
    const int32_t height = circular ? kStripLength : kRectangularHeight;
    capacity_ = int64_t{height / cellSize_} * lineLength_ * (circular ? 4 : 1);
  } else if (circular) {
    cellSize_ = 1;
    lineLength_ = kStripWidth;
    capacity_ = int64_t{kStripLength} * kStripWidth * 4;
  } else {
    // Enough addresses per pixel that the whole core fits: rounding the power of two down
    // would draw the core's tail over its head.
    cellSize_ = 1;
    while ((kSinglePixelCells << shift_) < coreSizeMax)
      ++shift_;
    lineLength_ = kStripLength << shift_;
    capacity_ = kSinglePixelCells << shift_;
  }
  cellShift_ = std::countr_zero(uint32_t(cellSize_));
  lineShift_ = std::countr_zero(uint32_t(lineLength_));
  quarterShift_ = std::countr_zero(uint64_t(capacity_ / 4));
}

std::optional<TDisplayPoint> TDisplayGeometry::CellOf(int64_t address) const {
  if (address < 0 || address >= capacity_) return std::nullopt;
  const int32_t c = cellSize_;
  const int64_t lineMask = lineLength_ - 1;
  if (!circular_) {
    if (c == 1) // x = (a div 2^k) mod 512, y = (a div 2^(k+9)) mod 256
      return TDisplayPoint{4, int32_t((address >> shift_) & (kStripLength - 1)),
                           int32_t((address >> (shift_ + 9)) & (kRectangularHeight - 1))};
    // x = (a mod L) c, y = ((a div L) mod (256 / c)) c
    const int64_t lines = (kRectangularHeight >> cellShift_) - 1;
    return TDisplayPoint{4, int32_t(address & lineMask) << cellShift_,
                         int32_t((address >> lineShift_) & lines) << cellShift_};
  }
  // q = a div Q, i = a mod Q, u = i mod L, v = i div L
  const auto q = int32_t(address >> quarterShift_);
  const int64_t i = address & ((int64_t{1} << quarterShift_) - 1);
  const int32_t u = int32_t(i & lineMask) << cellShift_;
  const int32_t v = int32_t(i >> lineShift_) << cellShift_;
  switch (q) {
  case 0: return TDisplayPoint{1, u, v};
  case 1: return TDisplayPoint{2, v, kStripWidth - c - u};
  case 2: return TDisplayPoint{3, kStripWidth - c - u, kStripLength - c - v};
  default: return TDisplayPoint{4, kStripLength - c - v, u};
  }
}

int64_t TDisplayGeometry::AddressAt(int32_t image, int32_t x, int32_t y) const {
  const TDisplaySize size = DisplayImageSize(image, circular_);
  if (x < 0 || y < 0 || x >= size.Width || y >= size.Height) return -1;
  const int32_t c = cellSize_;
  if (!circular_) {
    if (c == 1) return (int64_t{y} * kStripLength + x) << shift_;
    return int64_t{y / c} * lineLength_ + x / c;
  }
  int32_t u = 0, v = 0; // cell within its line, line within the strip
  switch (image) {
  case 1: u = x / c, v = y / c; break;
  case 2: u = (kStripWidth - 1 - y) / c, v = x / c; break;
  case 3: u = (kStripWidth - 1 - x) / c, v = (kStripLength - 1 - y) / c; break;
  default: u = y / c, v = (kStripLength - 1 - x) / c; break;
  }
  return (image - 1) * (capacity_ / 4) + int64_t{v} * lineLength_ + u;
}

bool GlyphMaskPixel(int32_t cellSize, int32_t kind, int32_t x, int32_t y) {
  if (kind < 1 || kind > kGlyphKindCount || x < 0 || y < 0 || x >= cellSize || y >= cellSize)
    return false;
  const auto k = static_cast<size_t>(kind - 1);
  const auto row = static_cast<size_t>(y);
  switch (cellSize) {
  case 8: return kMasks8[k][row][x] == '#';
  case 4: return kMasks4[k][row][x] == '#';
  case 2: return kMasks2[k][row][x] == '#';
  case 1: return true;
  default: return false;
  }
}

} // namespace velmora
