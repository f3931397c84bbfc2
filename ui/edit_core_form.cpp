#include "ui/edit_core_form.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <exception>

#include "assembler/assembler.h"
#include "ui/core_listing.h"
#include "ui/debugger_actions.h"
#include "ui/edit_code_form.h"

namespace velmora {

TFormEditCore::TFormEditCore(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  MemoCore = new QPlainTextEdit(this);
  MemoCore->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoCore->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  MemoCore->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoCore->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ButtonOK = new QPushButton("OK", this);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonSource = new QPushButton("Use Editor", this);
  for (QPushButton* b : {ButtonOK, ButtonCancel, ButtonSource})
    b->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonSource);
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(MemoCore);
  column->addLayout(buttons);
  resize(420, 240);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormEditCore::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ButtonSource, &QPushButton::clicked, this, &TFormEditCore::ButtonSourceClick);
}

void TFormEditCore::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Prepare();
  MemoCore->setFocus();
}

std::string TFormEditCore::ContentsName() const {
  return "Core Contents at " + std::to_string(app_.SelectedLocation);
}

void TFormEditCore::Prepare() {
  setWindowTitle(QString("Edit Core at location %1").arg(app_.SelectedLocation));
  MemoCore->clear();
  const TCore* core = app_.Core;
  if (!core || core->CoreSize < 1) return;
  const CoreCell& cell =
      core->Core[static_cast<size_t>(ModCore(app_.SelectedLocation, core->CoreSize))];
  MemoCore->setPlainText(
      QString::fromStdString(ShortInstructionText(cell, core->CoreSize, core->Standard)));
}

std::vector<std::string> TFormEditCore::Lines() const {
  std::vector<std::string> lines;
  for (const QString& line : MemoCore->toPlainText().split('\n'))
    lines.push_back(line.toStdString());
  return lines;
}

void TFormEditCore::ButtonOKClick() {
  TCore* core = app_.Core;
  if (!core || core->CoreSize < 1 || core->Warriors.empty()) {
    reject();
    return;
  }
  TWarrior& scratch = *core->Warriors[0];
  scratch.Source = Lines();
  scratch.Name = ContentsName();
  std::vector<std::string> errors;
  uint32_t checksum = 0;
  try {
    AssembleWarrior(*core, 0, errors, checksum, true);
  } catch (const std::exception& e) {
    // An arithmetic fault of the evaluator: the core stays as it was.
    app_.Platform.ShowMessage(e.what());
    return;
  }
  if (scratch.WarriorStatus != 2) {
    app_.Platform.ShowMessage("Source code failed to compile.");
    return;
  }
  StoreScratchCode(*core, app_.SelectedLocation);
  accept();
}

void TFormEditCore::ButtonSourceClick() {
  TWarriorData warrior;
  warrior.ID = 0;
  warrior.Name = ContentsName();
  warrior.FileName.clear();
  warrior.Source = Lines();
  if (!EditInWarriorEditor(warrior)) return;
  QStringList text;
  for (const std::string& line : warrior.Source)
    text << QString::fromStdString(line);
  MemoCore->setPlainText(text.join('\n'));
}

bool TFormEditCore::EditInWarriorEditor(TWarriorData& warrior) {
  return app_.FormEditCode && app_.FormEditCode->Execute(0, warrior);
}

} // namespace velmora
