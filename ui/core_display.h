#pragma once
// The picture of the core on the main window: four strips round the information panel
// (circular topology) or one image (rectangular), each cell a small glyph in its warrior's
// colour. Addresses map to pixels by display_geometry.h.

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/cell.h"
#include "engine/mardex_form.h"
#include "ui/display_geometry.h"

namespace velmora {

class TCoreDisplay : public QWidget {
  Q_OBJECT
public:
  explicit TCoreDisplay(QWidget* parent = nullptr);

  // The widget shown in the ring's hole (circular) or below the image (rectangular).
  void SetCentre(QWidget* panel);
  // Chooses cell size and line length from the largest core size, keeping the topology; a
  // different geometry clears the images, whose old cells would land in the wrong places.
  void SetCoreSizeMax(int32_t coreSizeMax);
  // The current round's core size: clicks beyond it select nothing.
  void SetCoreSize(int32_t coreSize) { coreSize_ = coreSize; }
  // Rearranges the images for the topology and clears them.
  void ApplyTopology(bool circular);
  bool Circular() const { return geometry_.Circular(); }
  const TDisplayGeometry& Geometry() const { return geometry_; }
  // At the top speed a cell's events only note the glyph it should show, and RepaintDisplay
  // draws each noted cell once: a busy cell changes many times between two frames.
  void SetFastDrawing(bool fast);

  // The engine's callback: one cell in colour 1..8 (above 8 wrapping round), -1 red, 0 black
  // or -2 grey, with the glyph of a CellEvent; Highlight marks one edge in red.
  void ColorPixel(int32_t address, int32_t color, int32_t kind, bool highlight);
  // A batch of the engine's events, in order.
  void ColorPixels(const TPixelEvent* events, size_t count);

  // At the top speed the display can mirror the core instead of drawing its events: every
  // event leaves its colour and kind in the cell's Marker, so a copy of the Markers once a
  // frame shows what drawing each event would have shown. Only while a drawn cell is one
  // address: with several, the order of their events decides.
  bool CanMirror() const { return geometry_.Shift() == 0; }
  void SetMirror(bool mirror);
  bool Mirror() const { return mirror_; }
  // How many times the Markers were copied, for tests.
  int64_t MirrorCopies() const { return mirrorCopies_; }
  // Draws each cell whose Marker asks for another glyph than it shows, then the warriors'
  // next instructions in red.
  void MirrorCore(const CoreCell* cells, int32_t coreSize, const std::vector<int32_t>& next);
  // Remakes the glyphs of colours 1..min(W, 8); colours[k] is the RGB of engine slot k
  // (colours[0] unused).
  void RebuildGlyphs(const std::vector<uint32_t>& colours);
  // Grey for every display position from coreSize to the capacity's end.
  void PaintOutsideCore(int32_t coreSize);
  void ClearDisplay();
  void RepaintDisplay();

  // Image 1..4, for tests and screenshots.
  const QImage& Image(int index) const { return images_[static_cast<size_t>(index - 1)]; }
  bool ImageVisible(int index) const { return Image(index).width() > 0; }
  // Top-left corner of image 1..4 in this widget.
  QPoint ImagePosition(int index) const;

signals:
  // A click on a drawn cell of the core.
  void CellClicked(int32_t address);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  // c x c pixels of a glyph, row by row, in the image's pixel format.
  using TGlyph = std::array<uint32_t, 64>;
  static constexpr int32_t kColourSlots = 8;

  // The glyph of a colour number as DisplayColour gives it; null when there is none.
  const TGlyph* Glyph(int32_t color, int32_t kind) const;
  void BuildAllWarriorGlyphs();
  void BuildWarriorGlyphs(int32_t slot);
  // The glyph a code of shown_ stands for.
  const TGlyph* GlyphOf(uint8_t code) const { return Glyph(code / 8 - 3, code % 8); }
  // Draws a drawn cell (an index of shown_) with the glyph of a code, unless it shows it.
  void ShowCode(int32_t cell, uint8_t code);
  // Blackens the images, then greys what lies beyond the core if that was asked.
  void ClearImages();
  // Notes the glyph a cell is to show at the next repaint.
  void Defer(int32_t address, int32_t color, int32_t kind);
  // Draws the noted cells.
  void DrawPending();
  // Writes a cell's square (and its highlight) into its image; the rectangle drawn, in
  // this widget's coordinates, or an empty one when nothing was drawn.
  QRect DrawCell(int64_t address, const TGlyph& glyph, bool highlight);
  // The visible image under a point of this widget: 1..4, or 0.
  int ImageAt(QPoint point) const;
  void ImageClick(int image);

  TDisplayGeometry geometry_{8000, true};
  std::array<QImage, kDisplayImageCount> images_;
  // Warrior glyphs [slot 0..7][kind 0..4]; red, black and grey fill the whole square.
  std::array<std::array<TGlyph, kGlyphKindCount>, kColourSlots> warriorGlyphs_{};
  std::array<uint32_t, kColourSlots> slotColours_{};
  TGlyph red_{}, black_{}, grey_{};
  QWidget* centre_ = nullptr;
  // Per drawn cell, the glyph it shows as (colour + 3) x 8 + kind; 0 when unknown.
  std::vector<uint8_t> shown_;
  // Per drawn cell, the glyph noted for the next repaint in the same code; 0 when none, and
  // the cells noted, each once.
  std::vector<uint8_t> pending_;
  std::vector<int32_t> noted_;
  int32_t coreSizeMax_ = 8000;
  int32_t coreSize_ = 0;
  bool fast_ = false;
  bool mirror_ = false;
  int64_t mirrorCopies_ = 0;
  // While mirroring: a clear and a grey tail, made with the next copy of the Markers.
  bool clearDue_ = false;
  int32_t outsideFrom_ = -1;
  // Image4MouseDown: where the button went down, and on which image.
  QPoint mouse_;
  int mouseImage_ = 0;
};

} // namespace velmora
