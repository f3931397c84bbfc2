#pragma once
// The picture of the core on the main window: four strips round the information panel
// (circular topology) or one image (rectangular), each cell a small glyph in its warrior's
// colour. Addresses map to pixels by display_geometry.h.

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

namespace velmora {

class TCoreDisplay : public QWidget {
  Q_OBJECT
public:
  explicit TCoreDisplay(QWidget* parent = nullptr);

  // The widget shown in the ring's hole (circular) or beside the image (rectangular).
  void SetCentre(QWidget* panel);
  // Chooses cell size and line length from the largest core size, keeping the topology.
  void SetCoreSizeMax(int32_t coreSizeMax);
  // Rearranges the images for the topology and clears them.
  void ApplyTopology(bool circular);
  bool Circular() const { return circular_; }
  // At the top speed cells are drawn without refreshing; RepaintDisplay shows them.
  void SetFastDrawing(bool fast) { fast_ = fast; }

  // The engine's callback: one cell in colour 1..8 (taken modulo 8), -1 red, 0 black or -2
  // grey, with the glyph of a CellEvent; Highlight marks one edge in red.
  void ColorPixel(int32_t address, int32_t color, int32_t kind, bool highlight);
  // Remakes the glyphs of colours 1..min(W, 8); colours[k] is the RGB of engine slot k.
  void RebuildGlyphs(const std::vector<uint32_t>& colours);
  // Grey for every display position from coreSize to the capacity's end.
  void PaintOutsideCore(int32_t coreSize);
  void ClearDisplay();
  void RepaintDisplay();

  // Image 1..4, for tests and screenshots.
  const QImage& Image(int index) const { return images_[static_cast<size_t>(index - 1)]; }

signals:
  // A click on a drawn cell of the core.
  void CellClicked(int32_t address);

private:
  std::array<QImage, 4> images_;
  QWidget* centre_ = nullptr;
  int32_t coreSizeMax_ = 8000;
  bool circular_ = true;
  bool fast_ = false;
};

} // namespace velmora
