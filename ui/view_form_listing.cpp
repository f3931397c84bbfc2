// The core view's listing: only the lines that fit are ever made and drawn, so a view of a
// huge core costs what a view of a small one does.

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

#include "ui/view_form.h"

namespace velmora {

namespace {

// Behind the lines of the cells that the cycle just stepped back over had changed.
const QColor kUndoneBackground(0, 0, 128);

QColor Rgb(uint32_t rgb) {
  return QColor::fromRgb(rgb);
}

} // namespace

TCoreListing::TCoreListing(QWidget* parent) : QWidget(parent) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::black);
  setPalette(p);
  setMinimumHeight(LineHeight() * 4);
}

int TCoreListing::LineHeight() const {
  return std::max(fontMetrics().height(), 1);
}

int TCoreListing::CharWidth() const {
  return std::max(fontMetrics().horizontalAdvance(QLatin1Char('0')), 1);
}

int32_t TCoreListing::FittingLines() const {
  return std::max(height() / LineHeight(), 0);
}

void TCoreListing::SetLines(std::vector<TListingLine> lines, std::vector<uint32_t> colours) {
  lines_ = std::move(lines);
  colours_ = std::move(colours);
  update();
}

void TCoreListing::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit Resized();
}

void TCoreListing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  const int h = LineHeight(), w = CharWidth(), ascent = fontMetrics().ascent();
  for (size_t i = 0; i < lines_.size(); ++i) {
    const TListingLine& line = lines_[i];
    const int y = static_cast<int>(i) * h;
    QString text = QString::fromStdString(line.Text);
    if (line.Undone) painter.fillRect(0, y, width(), h, kUndoneBackground);
    painter.setPen(Rgb(ListingRgb(line, colours_)));
    if (line.Glyph == BreakpointGlyph::None) {
      painter.drawText(0, y + ascent, text);
      continue;
    }
    // The mark stands in the first column, in place of the address's first character.
    painter.drawText(w, y + ascent, text.mid(1));
    const QColor mark = line.Hit ? QColor(255, 0, 0) : QColor(0, 255, 0);
    const int size = std::min(w, h) - 2;
    const QRectF box((w - size) / 2.0, y + (h - size) / 2.0, size, size);
    painter.setRenderHint(QPainter::Antialiasing, line.Glyph != BreakpointGlyph::Square);
    painter.setPen(Qt::NoPen);
    painter.setBrush(mark);
    if (line.Glyph == BreakpointGlyph::Square) {
      painter.drawRect(box);
    } else if (line.Glyph == BreakpointGlyph::Circle) {
      painter.drawEllipse(box);
    } else {
      const QPointF c = box.center();
      const double r = size / 2.0;
      QPainterPath diamond;
      diamond.moveTo(c.x(), c.y() - r);
      diamond.lineTo(c.x() + r, c.y());
      diamond.lineTo(c.x(), c.y() + r);
      diamond.lineTo(c.x() - r, c.y());
      diamond.closeSubpath();
      painter.drawPath(diamond);
    }
    painter.setBrush(Qt::NoBrush);
  }
}

} // namespace velmora
