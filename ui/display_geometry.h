#pragma once
// Where each core address is drawn on the core display, and back: the cell size and line
// length for a core size and topology, the image and pixel of an address, the address of a
// clicked pixel, and the masks of the glyphs that tell the kinds of event apart. No Qt here,
// so the mapping is tested on its own.

#include <cstdint>
#include <optional>

namespace velmora {

// Images of the display. Circular: 1 the left strip, 2 the bottom, 3 the right, 4 the top;
// the core runs once round the ring in that order. Rectangular: only image 4, doubled in
// height.
inline constexpr int32_t kDisplayImageCount = 4;
inline constexpr int32_t kStripLength = 512; // the long side of a strip
inline constexpr int32_t kStripWidth = 128;  // the short side of a strip
inline constexpr int32_t kRectangularHeight = 256;

struct TDisplaySize {
  int32_t Width = 0;
  int32_t Height = 0;
};

// Pixel size of image 1..4 in a topology; 0 x 0 for an image the topology hides.
TDisplaySize DisplayImageSize(int32_t image, bool circular);

// The top-left pixel of a cell's square on one image.
struct TDisplayPoint {
  int32_t Image = 0;
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TDisplayPoint&) const = default;
};

class TDisplayGeometry {
public:
  // The largest core size chooses the geometry, so that a random core size keeps one.
  TDisplayGeometry(int32_t coreSizeMax, bool circular);

  bool Circular() const { return circular_; }
  // Side of a cell's square in pixels: 8, 4, 2 or 1.
  int32_t CellSize() const { return cellSize_; }
  // Cells per line of a strip (circular) or of the image (rectangular).
  int32_t LineLength() const { return lineLength_; }
  // Addresses the display has room for.
  int64_t Capacity() const { return capacity_; }
  // k of the single-pixel rectangular display: each pixel stands for 2^k addresses; 0
  // everywhere else.
  int32_t Shift() const { return shift_; }

  // Where an address is drawn; nothing for an address the display has no room for. Called
  // for every touched cell during a run: every size here is a power of two, so shifts and
  // masks do the dividing.
  std::optional<TDisplayPoint> CellOf(int64_t address) const;
  // The first address drawn at pixel (x, y) of an image; -1 where no cell is drawn.
  int64_t AddressAt(int32_t image, int32_t x, int32_t y) const;

private:
  bool circular_;
  int32_t cellSize_;
  int32_t lineLength_;
  int64_t capacity_;
  int32_t shift_ = 0;
  int32_t cellShift_ = 0;    // log2 of the cell size
  int32_t lineShift_ = 0;    // log2 of the line length
  int32_t quarterShift_ = 0; // log2 of a strip's addresses (circular)
};

// Kinds of event with a glyph: 1 execute, 2 write, 3 increment, 4 decrement, 5 read.
inline constexpr int32_t kGlyphKindCount = 5;

// True where the glyph of an event kind takes the warrior's colour, false where it stays
// black; (x, y) from the top left, both below the cell size. False for any other cell size
// or kind.
bool GlyphMaskPixel(int32_t cellSize, int32_t kind, int32_t x, int32_t y);

// The colour number a cell is drawn in: warrior colours above 8 wrap round to 1..8; -1
// (red), 0 (black) and -2 (grey) stay; anything else has no colour (nothing).
constexpr std::optional<int32_t> DisplayColour(int32_t color) {
  // 16 wraps to 8, not to 0: a warrior's cell must never look untouched.
  if (color > 0) return (color - 1) % 8 + 1;
  if (color == 0 || color == -1 || color == -2) return color;
  return std::nullopt;
}

} // namespace velmora
