// The warrior editor's buttons: Open, Save, Compile and Save Load File; and the error pane
// leading to the source.

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <exception>

#include "assembler/assembler.h"
#include "tuning/equates.h"
#include "ui/edit_code_form.h"
#include "ui/file_names.h"
#include "ui/tune_form.h"

namespace velmora {

namespace {

constexpr const char* kRedcodeFilter = "Redcode (*.red *.rc)|All files (*)";
constexpr const char* kLoadFileFilter = "Load files (*.rc)|All files (*)";

void ShowLines(QPlainTextEdit* pane, const std::vector<std::string>& lines) {
  pane->setPlainText(QString::fromStdString(JoinLines(lines)));
  pane->moveCursor(QTextCursor::Start);
  pane->verticalScrollBar()->setValue(0);
}

} // namespace

std::vector<std::string> TFormEditCode::SourceLines() const {
  return SplitText(MemoSource->toPlainText().toStdString());
}

void TFormEditCode::ClearResults() {
  MemoErrors->clear();
  MemoObjectCode->clear();
  MemoRestoredSource->clear();
}

void TFormEditCode::ButtonOpenClick() {
  const auto path = app_.Platform.OpenFileName("Open Warrior", kRedcodeFilter);
  if (!path) return;
  LabelSource->setText(QString::fromStdString(*path));
  std::vector<std::string> lines;
  std::string name;
  // An unreadable file is reported by the reader; what it did read is still shown.
  ReadWarriorFile(app_.Platform, *path, lines, author_, name);
  MemoSource->setPlainText(QString::fromStdString(JoinLines(lines)));
  EditName->setText(QString::fromStdString(name));
  ClearResults();
}

void TFormEditCode::ButtonSaveClick() {
  const std::string current = LabelSource->text().toStdString();
  const auto chosen = app_.Platform.SaveFileName("Save Warrior", kRedcodeFilter, current);
  if (!chosen) return;
  const std::string path = WithDefaultExtension(*chosen, "red");
  std::string error;
  if (!SaveLines(path, SourceLines(), error)) {
    // The record keeps naming the file it came from: the new one was not written.
    app_.Platform.ShowMessage(error);
    return;
  }
  LabelSource->setText(QString::fromStdString(path));
}

void TFormEditCode::ButtonCompileClick() {
  TCore* core = engine_.For(app_);
  if (!core) return;
  TEditorCompile compile;
  try {
    compile = CompileInScratch(*core, SourceLines(), savedName_, warriorNumber_);
  } catch (const std::exception& e) {
    // An arithmetic fault aborts the whole compile; the window stays as it was.
    app_.Platform.ShowMessage(e.what());
    return;
  }
  std::vector<std::string> messages = compile.Errors;
  messages.insert(messages.end(), compile.Warnings.begin(), compile.Warnings.end());
  ShowLines(MemoErrors, messages);
  MemoErrors->setExtraSelections({});
  MemoSource->MarkLine(-1);
  EditName->setText(QString::fromStdString(compile.Name));
  ButtonSaveLoad->setEnabled(compile.ProducedCode);
  if (compile.ProducedCode) {
    ShowLines(MemoObjectCode, compile.ObjectCode);
    ShowLines(MemoRestoredSource, compile.RestoredSource);
  }
  lastCompile_ = std::move(compile);
}

void TFormEditCode::ErrorLineChosen() {
  const QTextBlock block = MemoErrors->textCursor().block();
  QList<QTextEdit::ExtraSelection> marks;
  const std::vector<int32_t>& lines = lastCompile_.MessageLines;
  const auto k = static_cast<size_t>(block.blockNumber());
  const int line = k < lines.size() && lines[k] < MemoSource->blockCount() ? lines[k] : -1;
  if (line >= 0) {
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(QColor(255, 220, 220));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.cursor = QTextCursor(block);
    marks << mark;
  }
  MemoErrors->setExtraSelections(marks);
  MemoSource->MarkLine(line);
}

void TFormEditCode::ButtonSaveLoadClick() {
  if (!lastCompile_.ProducedCode) return;
  const std::string name = EditName->text().toStdString();
  const auto chosen = app_.Platform.SaveFileName("Save Load File", kLoadFileFilter, name + ".rc");
  if (!chosen) return;
  std::string error;
  if (!SaveLines(WithDefaultExtension(*chosen, "rc"), LoadFileOf(lastCompile_, name), error))
    app_.Platform.ShowMessage(error);
}

void TFormEditCode::ButtonTuneClick() {
  if (!FormTune) {
    // A child of the editor, so that it works while the editor is shown modally.
    FormTune = new TFormTune(app_, this);
    FormTune->UseValue = [this](const auto& values) { UseEquateValues(values); };
  }
  FormTune->Prepare(Edited(), warriorNumber_ - 1);
  FormTune->show();
  FormTune->raise();
  FormTune->activateWindow();
}

void TFormEditCode::hideEvent(QHideEvent* event) {
  if (FormTune) FormTune->close();
  QDialog::hideEvent(event);
}

void TFormEditCode::UseEquateValues(const std::vector<std::pair<std::string, int32_t>>& values) {
  std::vector<std::string> lines = SourceLines();
  for (const auto& [name, value] : values)
    ReplaceEquate(lines, name, std::to_string(value));
  // Through a cursor, so that Undo brings the previous values back.
  QTextCursor cursor(MemoSource->document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(QString::fromStdString(JoinLines(lines)));
}

} // namespace velmora
