#include "ui/code_editor.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>

#include "ui/redcode_highlighter.h"

namespace velmora {

class TLineNumberGutter : public QWidget {
public:
  explicit TLineNumberGutter(TCodeEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->GutterWidth(), 0}; }

protected:
  void paintEvent(QPaintEvent* event) override { editor_->PaintGutter(event); }

private:
  TCodeEditor* editor_;
};

TCodeEditor::TCodeEditor(QWidget* parent)
    : QPlainTextEdit(parent), gutter_(new TLineNumberGutter(this)),
      highlighter_(new TRedcodeHighlighter(document())) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  connect(this, &QPlainTextEdit::blockCountChanged, this,
          [this] { setViewportMargins(GutterWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (dy)
      gutter_->scroll(0, dy);
    else
      gutter_->update(0, rect.y(), gutter_->width(), rect.height());
  });
  // Typing makes the marked error line out of date.
  connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
    if (marked_ >= 0 && (removed || added)) MarkLine(-1);
  });
  setViewportMargins(GutterWidth(), 0, 0, 0);
}

int TCodeEditor::GutterWidth() const {
  const int digits = std::max(3, int(QString::number(std::max(1, blockCount())).size()));
  return 10 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TCodeEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect r = contentsRect();
  gutter_->setGeometry(QRect(r.left(), r.top(), GutterWidth(), r.height()));
}

void TCodeEditor::PaintGutter(QPaintEvent* event) {
  QPainter painter(gutter_);
  painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  const int lineHeight = fontMetrics().height();
  while (block.isValid() && top <= event->rect().bottom()) {
    if (block.isVisible()) {
      const bool marked = block.blockNumber() == marked_;
      painter.setPen(marked ? QColor(Qt::darkRed) : palette().color(QPalette::PlaceholderText));
      painter.drawText(0, top, gutter_->width() - 5, lineHeight, Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    }
    top += qRound(blockBoundingRect(block).height());
    block = block.next();
  }
}

void TCodeEditor::MarkLine(int line) {
  const QTextBlock block = document()->findBlockByNumber(line);
  marked_ = line >= 0 && block.isValid() ? line : -1;
  QList<QTextEdit::ExtraSelection> marks;
  if (marked_ >= 0) {
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    centerCursor();
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(QColor(255, 220, 220));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.cursor = QTextCursor(block);
    marks << mark;
  }
  setExtraSelections(marks);
  gutter_->update();
}

} // namespace velmora
