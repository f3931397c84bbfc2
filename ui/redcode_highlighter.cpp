#include "ui/redcode_highlighter.h"

#include <QSet>

#include "engine/cell.h"

namespace velmora {

namespace {

QTextCharFormat Coloured(const char* colour, bool bold = false, bool italic = false) {
  QTextCharFormat f;
  f.setForeground(QColor(colour));
  if (bold) f.setFontWeight(QFont::Bold);
  f.setFontItalic(italic);
  return f;
}

// Opcodes and the pseudo-operations, upper case.
const QSet<QString>& Operations() {
  static const QSet<QString> words = [] {
    QSet<QString> s;
    for (const char* name : OpcodeNames)
      s.insert(QString(name).trimmed().toUpper());
    for (const char* name : {"EQU", "END", "ORG", "PIN", "FOR", "ROF"})
      s.insert(name);
    return s;
  }();
  return words;
}

const QSet<QString>& Directives() {
  static const QSet<QString> words = {"REDCODE",  "NAME",    "AUTHOR", "ASSERT",
                                      "DEBUG",    "TRACE",   "BREAK",  "CONDITION",
                                      "STRATEGY", "VERSION", "DATE",   "KILL"};
  return words;
}

} // namespace

TRedcodeHighlighter::TRedcodeHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(document), word_(R"([A-Za-z_][A-Za-z0-9_]*)"),
      number_(R"(\$?\b[0-9][0-9A-Fa-f]*\b)"),
      modifier_(R"(\.(?:AB|BA|A|B|F|X|I)\b)", QRegularExpression::CaseInsensitiveOption) {
  formats_[int(Kind::Opcode)] = Coloured("#00308f", true);
  formats_[int(Kind::Modifier)] = Coloured("#7a3e9d");
  formats_[int(Kind::Mode)] = Coloured("#b35900", true);
  formats_[int(Kind::Label)] = Coloured("#006b5f");
  formats_[int(Kind::Number)] = Coloured("#a31515");
  formats_[int(Kind::Comment)] = Coloured("#6a737d", false, true);
  formats_[int(Kind::Directive)] = Coloured("#2e7d32", true);
}

void TRedcodeHighlighter::highlightBlock(const QString& text) {
  qsizetype end = text.indexOf(';');
  if (end >= 0) {
    // ";name Imp": the directive word stands out, its argument reads as the comment.
    const QRegularExpressionMatch m = word_.match(text, end + 1);
    const bool directive = m.hasMatch() && m.capturedStart() == end + 1 &&
                           Directives().contains(m.captured().toUpper());
    setFormat(int(end), int(text.size() - end), Format(Kind::Comment));
    if (directive) setFormat(int(end), int(m.capturedEnd() - end), Format(Kind::Directive));
  } else {
    end = text.size();
  }
  const QString code = text.left(end);
  bool first = true;
  for (auto it = word_.globalMatch(code); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    // A word inside a hexadecimal number ("$1F") or after a modifier's dot is not a word.
    const qsizetype before = m.capturedStart() - 1;
    if (before >= 0 && (code[before].isDigit() || code[before] == '$' || code[before] == '.'))
      continue;
    const QString w = m.captured().toUpper();
    if (Operations().contains(w))
      setFormat(int(m.capturedStart()), int(m.capturedLength()), Format(Kind::Opcode));
    else if (first && m.capturedStart() == 0)
      setFormat(0, int(m.capturedLength()), Format(Kind::Label));
    first = false;
  }
  for (auto it = modifier_.globalMatch(code); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    setFormat(int(m.capturedStart()), int(m.capturedLength()), Format(Kind::Modifier));
  }
  for (auto it = number_.globalMatch(code); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    setFormat(int(m.capturedStart()), int(m.capturedLength()), Format(Kind::Number));
  }
  // An address mode is the first sign of an operand: after the operation or a comma.
  for (qsizetype i = 0; i < code.size(); ++i) {
    if (!QString(ModeSymbols).contains(code[i])) continue;
    qsizetype j = i - 1;
    while (j >= 0 && code[j].isSpace())
      --j;
    if (j < 0 || code[j] == ',' || code[j].isLetterOrNumber() || code[j] == '_')
      if (j < 0 || code[j] == ',' || code[i - 1].isSpace())
        setFormat(int(i), 1, Format(Kind::Mode));
  }
}

} // namespace velmora
