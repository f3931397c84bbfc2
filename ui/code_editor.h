#pragma once
// The warrior editor's source pane: plain text with line numbers in a gutter, Redcode
// colouring, and one line that can be marked (the line an error came from).

#include <QPlainTextEdit>

namespace velmora {

class TRedcodeHighlighter;

class TCodeEditor : public QPlainTextEdit {
public:
  explicit TCodeEditor(QWidget* parent = nullptr);

  // Selects source line (0-based) as a whole, scrolls to it and marks it; -1 clears the mark.
  void MarkLine(int line);
  int MarkedLine() const { return marked_; }
  int GutterWidth() const;
  TRedcodeHighlighter* Highlighter() const { return highlighter_; }

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  friend class TLineNumberGutter;
  void PaintGutter(QPaintEvent* event);

  QWidget* gutter_;
  TRedcodeHighlighter* highlighter_;
  int marked_ = -1;
};

} // namespace velmora
