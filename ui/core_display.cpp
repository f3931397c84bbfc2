#include "ui/core_display.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "tournament/tournament.h"

namespace velmora {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kRed = kOpaque | 0xFF0000u;
constexpr uint32_t kBlack = kOpaque;
constexpr uint32_t kGrey = kOpaque | 0x808080u;

} // namespace

TCoreDisplay::TCoreDisplay(QWidget* parent) : QWidget(parent) {
  // Until a matchup brings its own colours, the slots show the list palette.
  std::copy(WarriorPalette.begin(), WarriorPalette.end(), slotColours_.begin());
  red_.fill(kRed);
  black_.fill(kBlack);
  grey_.fill(kGrey);
  ApplyTopology(true);
}

void TCoreDisplay::SetCentre(QWidget* panel) {
  centre_ = panel;
  panel->setParent(this);
  ApplyTopology(geometry_.Circular());
}

void TCoreDisplay::SetCoreSizeMax(int32_t coreSizeMax) {
  coreSizeMax_ = coreSizeMax;
  const TDisplayGeometry next(coreSizeMax, geometry_.Circular());
  if (next.CellSize() == geometry_.CellSize() && next.Capacity() == geometry_.Capacity()) return;
  geometry_ = next;
  BuildAllWarriorGlyphs();
  ClearDisplay();
}

void TCoreDisplay::ApplyTopology(bool circular) {
  geometry_ = TDisplayGeometry(coreSizeMax_, circular);
  for (int i = 1; i <= kDisplayImageCount; ++i) {
    const TDisplaySize size = DisplayImageSize(i, circular);
    images_[static_cast<size_t>(i - 1)] =
        size.Width > 0 ? QImage(size.Width, size.Height, QImage::Format_RGB32) : QImage();
  }
  const int ring = kStripLength + kStripWidth;
  const int centre = kStripLength - kStripWidth;
  if (centre_) {
    if (circular)
      centre_->setGeometry(kStripWidth, kStripWidth, centre, centre);
    else
      centre_->setGeometry(0, kRectangularHeight, kStripLength, centre);
  }
  // Rectangular: narrower by a side strip; the panel sits below the image.
  setFixedSize(circular ? ring : kStripLength, circular ? ring : kRectangularHeight + centre);
  BuildAllWarriorGlyphs();
  ClearDisplay();
}

QPoint TCoreDisplay::ImagePosition(int index) const {
  if (!geometry_.Circular()) return {0, 0};
  switch (index) {
  case 1: return {0, 0};
  case 2: return {0, kStripLength};
  case 3: return {kStripLength, kStripWidth};
  default: return {kStripWidth, 0};
  }
}

// --- Glyphs ----------------------------------------------------------------------------------

void TCoreDisplay::BuildAllWarriorGlyphs() {
  for (int32_t slot = 0; slot < kColourSlots; ++slot)
    BuildWarriorGlyphs(slot);
}

void TCoreDisplay::BuildWarriorGlyphs(int32_t slot) {
  const int32_t c = geometry_.CellSize();
  const uint32_t colour = kOpaque | (slotColours_[static_cast<size_t>(slot)] & 0xFFFFFFu);
  auto& glyphs = warriorGlyphs_[static_cast<size_t>(slot)];
  for (int32_t kind = 1; kind <= kGlyphKindCount; ++kind) {
    TGlyph& glyph = glyphs[static_cast<size_t>(kind - 1)];
    for (int32_t y = 0; y < c; ++y)
      for (int32_t x = 0; x < c; ++x)
        glyph[static_cast<size_t>(y * c + x)] = GlyphMaskPixel(c, kind, x, y) ? colour : kBlack;
  }
}

void TCoreDisplay::RebuildGlyphs(const std::vector<uint32_t>& colours) {
  const size_t count = std::min<size_t>(colours.empty() ? 0 : colours.size() - 1, kColourSlots);
  for (size_t slot = 0; slot < count; ++slot) {
    slotColours_[slot] = colours[slot + 1];
    BuildWarriorGlyphs(int32_t(slot));
  }
  // The slots' colours changed: no cell is known to show its glyph any more.
  std::fill(shown_.begin(), shown_.end(), 0);
}

const TCoreDisplay::TGlyph* TCoreDisplay::Glyph(int32_t color, int32_t kind) const {
  switch (color) {
  case -2: return &grey_;
  case -1: return &red_;
  case 0: return &black_;
  default:
    if (color < 1 || color > kColourSlots || kind < 1 || kind > kGlyphKindCount) return nullptr;
    return &warriorGlyphs_[static_cast<size_t>(color - 1)][static_cast<size_t>(kind - 1)];
  }
}

// --- Drawing ---------------------------------------------------------------------------------

// Called for every touched cell during a run: straight into the image's scan lines, no
// painter and no allocation.
QRect TCoreDisplay::DrawCell(int64_t address, const TGlyph& glyph, bool highlight) {
  const std::optional<TDisplayPoint> cell = geometry_.CellOf(address);
  if (!cell) return {};
  QImage& image = images_[static_cast<size_t>(cell->Image - 1)];
  if (image.isNull()) return {};
  const int32_t c = geometry_.CellSize();
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  // Rows of a size known to the compiler: a library call per row would cost more than the row.
  const auto copyRows = [&](auto width) {
    constexpr size_t kBytes = decltype(width)::value * sizeof(uint32_t);
    for (int32_t row = 0; row < c; ++row)
      std::memcpy(bits + (cell->Y + row) * stride + cell->X * qsizetype(sizeof(uint32_t)),
                  glyph.data() + row * c, kBytes);
  };
  switch (c) {
  case 8: copyRows(std::integral_constant<size_t, 8>{}); break;
  case 4: copyRows(std::integral_constant<size_t, 4>{}); break;
  case 2: copyRows(std::integral_constant<size_t, 2>{}); break;
  default: copyRows(std::integral_constant<size_t, 1>{}); break;
  }
  if (highlight) {
    // A bar along the edge that follows the cell's line: the right edge on the horizontal
    // strips of the ring, the bottom edge elsewhere.
    const bool rightEdge = geometry_.Circular() && (cell->Image == 2 || cell->Image == 4);
    const int32_t thickness = c == 8 ? 2 : 1;
    for (int32_t row = 0; row < c; ++row) {
      auto* line = reinterpret_cast<uint32_t*>(bits + (cell->Y + row) * stride) + cell->X;
      if (rightEdge)
        std::fill(line + c - thickness, line + c, kRed);
      else if (row >= c - thickness)
        std::fill(line, line + c, kRed);
    }
  }
  return {ImagePosition(cell->Image) + QPoint(cell->X, cell->Y), QSize(c, c)};
}

void TCoreDisplay::SetFastDrawing(bool fast) {
  if (fast_ == fast) return;
  fast_ = fast;
  // Into the images, shown with the next repaint as before.
  if (!fast_) DrawPending();
}

// The glyph code of a colour and kind as ColorPixel draws them: (colour + 3) x 8 + kind for a
// warrior, (colour + 3) x 8 for the plain squares; 0 when nothing is drawn.
static uint8_t GlyphCode(int32_t color, int32_t kind) {
  // A warrior's event, as nearly all are, without the general conversion.
  if (color >= 1 && color <= 8 && kind >= 1 && kind <= kGlyphKindCount)
    return uint8_t((color + 3) * 8 + kind);
  const std::optional<int32_t> colour = DisplayColour(color);
  if (!colour) return 0;
  if (*colour >= 1) {
    if (kind < 1 || kind > kGlyphKindCount) return 0;
    return uint8_t((*colour + 3) * 8 + kind);
  }
  return uint8_t((*colour + 3) * 8);
}

void TCoreDisplay::SetMirror(bool mirror) {
  mirror_ = mirror && CanMirror();
  noted_.clear();
  std::fill(pending_.begin(), pending_.end(), 0);
  // A clear that was waiting for the next copy happens now: events draw on a clean picture.
  if (!mirror_ && clearDue_) ClearImages();
}

void TCoreDisplay::ClearImages() {
  for (QImage& image : images_)
    if (!image.isNull()) image.fill(kBlack);
  std::fill(shown_.begin(), shown_.end(), GlyphCode(0, 0));
  clearDue_ = false;
  if (outsideFrom_ >= 0) {
    const int32_t from = outsideFrom_;
    outsideFrom_ = -1;
    PaintOutsideCore(from);
  }
}

void TCoreDisplay::MirrorCore(const CoreCell* cells, int32_t coreSize,
                              const std::vector<int32_t>& next) {
  if (!CanMirror()) return;
  ++mirrorCopies_;
  if (clearDue_) ClearImages();
  const int32_t end = std::min<int32_t>(coreSize, int32_t(shown_.size()));
  for (int32_t a = 0; a < end; ++a) {
    const uint8_t marker = cells[a].Marker;
    ShowCode(a, GlyphCode(marker & 0x0F, marker >> 4));
  }
  for (const int32_t a : next)
    if (a >= 0 && a < end) ShowCode(a, GlyphCode(-1, 1));
}

void TCoreDisplay::ShowCode(int32_t cell, uint8_t code) {
  if (code == 0 || shown_[static_cast<size_t>(cell)] == code) return;
  const TGlyph* glyph = GlyphOf(code);
  if (glyph && !DrawCell(int64_t(cell) << geometry_.Shift(), *glyph, false).isEmpty())
    shown_[static_cast<size_t>(cell)] = code;
}

void TCoreDisplay::Defer(int32_t address, int32_t color, int32_t kind) {
  if (address < 0 || address >= geometry_.Capacity()) return;
  const uint8_t code = GlyphCode(color, kind);
  if (code == 0) return;
  const auto cell = static_cast<size_t>(address >> geometry_.Shift());
  if (pending_[cell] == 0) {
    if (shown_[cell] == code) return;
    noted_.push_back(static_cast<int32_t>(cell));
  }
  pending_[cell] = code;
}

void TCoreDisplay::DrawPending() {
  for (const int32_t cell : noted_) {
    const uint8_t code = pending_[static_cast<size_t>(cell)];
    pending_[static_cast<size_t>(cell)] = 0;
    ShowCode(cell, code);
  }
  noted_.clear();
}

void TCoreDisplay::ColorPixels(const TPixelEvent* events, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const TPixelEvent& e = events[i];
    if (fast_)
      Defer(e.Address, e.Color, e.Kind);
    else
      ColorPixel(e.Address, e.Color, e.Kind, false);
  }
}

void TCoreDisplay::ColorPixel(int32_t address, int32_t color, int32_t kind, bool highlight) {
  // The Markers hold the events; the next instructions come with the copy.
  if (mirror_ && !highlight) return;
  if (fast_ && !highlight) {
    Defer(address, color, kind);
    return;
  }
  // What was noted before comes first.
  if (!noted_.empty()) DrawPending();
  const uint8_t code = GlyphCode(color, kind);
  if (code == 0) return;
  // A running loop reports the same cells with the same glyph cycle after cycle: a cell that
  // already shows it is left alone.
  uint8_t* shown = nullptr;
  if (address >= 0 && address < geometry_.Capacity()) {
    shown = &shown_[static_cast<size_t>(address >> geometry_.Shift())];
    if (!highlight && *shown == code) return;
  }
  const TGlyph* glyph = GlyphOf(code);
  if (!glyph) return;
  const QRect drawn = DrawCell(address, *glyph, highlight);
  // A highlight covers part of the glyph: the next report draws the cell again.
  if (shown) *shown = highlight ? 0 : code;
  // The core view's marks come one at a time while the battle stands still: show them.
  if ((!fast_ || highlight) && !drawn.isEmpty()) update(drawn);
}

void TCoreDisplay::PaintOutsideCore(int32_t coreSize) {
  if (mirror_ && clearDue_) {
    outsideFrom_ = coreSize;
    return;
  }
  DrawPending();
  // One step per drawn cell: with many addresses to a pixel, one address of each.
  const int32_t shift = geometry_.Shift();
  for (int64_t a = std::max(coreSize, 0); a < geometry_.Capacity();
       a = ((a >> shift) + 1) << shift) {
    DrawCell(a, grey_, false);
    shown_[static_cast<size_t>(a >> shift)] = 0;
  }
  // At the top speed rounds may follow each other faster than the screen can show them:
  // the window repaints with its next frame, or when the run stops.
  if (!fast_) RepaintDisplay();
}

void TCoreDisplay::ClearDisplay() {
  shown_.assign(static_cast<size_t>(geometry_.Capacity() >> geometry_.Shift()), 0);
  pending_.assign(shown_.size(), 0);
  noted_.clear();
  // Short rounds at the top speed would clear more often than the screen shows a frame.
  if (mirror_ && CanMirror()) {
    clearDue_ = true;
    outsideFrom_ = -1;
    return;
  }
  for (QImage& image : images_)
    if (!image.isNull()) image.fill(kBlack);
  if (!fast_) RepaintDisplay();
}

// Only the images: the panel inside the ring has nothing new, and repainting its text with
// every frame would cost more than the images.
void TCoreDisplay::RepaintDisplay() {
  DrawPending();
  QRegion images;
  for (int i = 1; i <= kDisplayImageCount; ++i)
    if (ImageVisible(i)) images += QRect(ImagePosition(i), Image(i).size());
  update(images);
}

void TCoreDisplay::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  for (int i = 1; i <= kDisplayImageCount; ++i) {
    const QImage& image = Image(i);
    if (image.isNull()) continue;
    const QRect target(ImagePosition(i), image.size());
    const QRect part = target & event->rect();
    if (!part.isEmpty()) painter.drawImage(part, image, part.translated(-target.topLeft()));
  }
}

// --- Clicks ----------------------------------------------------------------------------------

int TCoreDisplay::ImageAt(QPoint point) const {
  for (int i = 1; i <= kDisplayImageCount; ++i)
    if (!Image(i).isNull() && QRect(ImagePosition(i), Image(i).size()).contains(point)) return i;
  return 0;
}

void TCoreDisplay::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  mouse_ = event->position().toPoint();
  mouseImage_ = ImageAt(mouse_);
}

void TCoreDisplay::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || mouseImage_ == 0) return;
  const int image = mouseImage_;
  mouseImage_ = 0;
  if (ImageAt(event->position().toPoint()) == image) ImageClick(image);
}

// The cell under the point where the button went down.
void TCoreDisplay::ImageClick(int image) {
  const QPoint local = mouse_ - ImagePosition(image);
  const int64_t address = geometry_.AddressAt(image, local.x(), local.y());
  if (address >= 0 && address < coreSize_) emit CellClicked(int32_t(address));
}

} // namespace velmora
