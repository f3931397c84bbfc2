#pragma once
// Colours Redcode source as it is typed: opcodes and pseudo-operations, modifiers, address
// modes, labels, numbers, comments, and the directive comments (";name", ";assert", ...).

#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace velmora {

class TRedcodeHighlighter : public QSyntaxHighlighter {
public:
  explicit TRedcodeHighlighter(QTextDocument* document);

  // The format a kind of word gets, for the tests and the screenshots.
  enum class Kind { Opcode, Modifier, Mode, Label, Number, Comment, Directive };
  const QTextCharFormat& Format(Kind kind) const { return formats_[int(kind)]; }

protected:
  void highlightBlock(const QString& text) override;

private:
  QTextCharFormat formats_[7];
  QRegularExpression word_, number_, modifier_;
};

} // namespace velmora
