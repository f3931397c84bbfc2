#include "ui/core_display.h"

#include <QPainter>

namespace velmora {

// The first cut shows black strips round the panel; the cells come with the display work.
TCoreDisplay::TCoreDisplay(QWidget* parent) : QWidget(parent) {
  ApplyTopology(true);
}

void TCoreDisplay::SetCentre(QWidget* panel) {
  centre_ = panel;
  panel->setParent(this);
  ApplyTopology(circular_);
}

void TCoreDisplay::SetCoreSizeMax(int32_t coreSizeMax) {
  coreSizeMax_ = coreSizeMax;
}

void TCoreDisplay::ApplyTopology(bool circular) {
  circular_ = circular;
  images_[0] = QImage(128, 512, QImage::Format_RGB32);
  images_[1] = QImage(512, 128, QImage::Format_RGB32);
  images_[2] = QImage(128, 512, QImage::Format_RGB32);
  images_[3] = QImage(512, circular ? 128 : 256, QImage::Format_RGB32);
  if (centre_) {
    if (circular)
      centre_->setGeometry(128, 128, 384, 384);
    else
      centre_->setGeometry(0, 256, 512, 384);
  }
  setFixedSize(circular ? 640 : 512, circular ? 640 : 640);
  ClearDisplay();
}

void TCoreDisplay::ColorPixel(int32_t, int32_t, int32_t, bool) {}
void TCoreDisplay::RebuildGlyphs(const std::vector<uint32_t>&) {}
void TCoreDisplay::PaintOutsideCore(int32_t) {}

void TCoreDisplay::ClearDisplay() {
  for (QImage& image : images_)
    image.fill(Qt::black);
  RepaintDisplay();
}

void TCoreDisplay::RepaintDisplay() {
  update();
}

} // namespace velmora
