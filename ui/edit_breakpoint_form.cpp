#include "ui/edit_breakpoint_form.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "params/number_text.h"
#include "ui/debugger_actions.h"

namespace velmora {

TFormEditBreakpoint::TFormEditBreakpoint(TVelmoraApp& app, QWidget* parent)
    : QDialog(parent), app_(app) {
  BuildControls();
}

void TFormEditBreakpoint::BuildControls() {
  auto* group = new QGroupBox("Break on...", this);
  CheckBoxExecute = new QCheckBox("Execute", group);
  CheckBoxWrite = new QCheckBox("Write", group);
  CheckBoxIncDec = new QCheckBox("Increment/Decrement", group);
  CheckBoxCompare = new QCheckBox("Compare", group);
  CheckBoxRead = new QCheckBox("Read", group);
  CheckBoxTest = new QCheckBox("Test:", group);
  EditOperandTest = new QLineEdit(group);
  auto* breaks = new QVBoxLayout(group);
  for (QCheckBox* box :
       {CheckBoxExecute, CheckBoxWrite, CheckBoxIncDec, CheckBoxCompare, CheckBoxRead})
    breaks->addWidget(box);
  auto* test = new QHBoxLayout;
  test->addWidget(CheckBoxTest);
  test->addWidget(EditOperandTest);
  breaks->addLayout(test);

  EditFrequency = new QLineEdit(this);
  CheckBoxMovable = new QCheckBox("Movable", this);
  EditFillNext = new QLineEdit(this);
  auto* fields = new QFormLayout;
  fields->addRow("Frequency:", EditFrequency);
  fields->addRow(CheckBoxMovable);
  fields->addRow("Fill next:", EditFillNext);

  ButtonOK = new QPushButton("OK", this);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonOK->setDefault(true);
  ButtonCancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);

  auto* column = new QVBoxLayout(this);
  column->addWidget(group);
  column->addLayout(fields);
  column->addLayout(buttons);

  connect(CheckBoxTest, &QCheckBox::toggled, this, &TFormEditBreakpoint::CheckBoxTestClick);
  connect(EditFrequency, &QLineEdit::editingFinished, this,
          &TFormEditBreakpoint::EditFrequencyExit);
  connect(EditOperandTest, &QLineEdit::editingFinished, this,
          &TFormEditBreakpoint::EditOperandTestExit);
  connect(EditFillNext, &QLineEdit::editingFinished, this, &TFormEditBreakpoint::EditFillNextExit);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormEditBreakpoint::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormEditBreakpoint::Execute(int32_t location, int32_t type, int32_t& resultType,
                                  int64_t& fillCount) {
  Prepare(location, type);
  if (exec() != QDialog::Accepted) return false;
  resultType = resultType_;
  fillCount = fillCount_;
  return true;
}

void TFormEditBreakpoint::Prepare(int32_t location, int32_t type) {
  type_ = type >= 0 && type < kBreakpointTypeMax ? type : 0;
  resultType_ = type_;
  fillCount_ = 1;
  setWindowTitle(QString("Edit Breakpoint at %1").arg(location));
  TBreakpointRec rec;
  if (app_.Core) rec = app_.Core->BreakpointTypes[static_cast<size_t>(type_)];
  CheckBoxExecute->setChecked(rec.Execute);
  CheckBoxWrite->setChecked(rec.Write);
  CheckBoxIncDec->setChecked(rec.IncDec);
  CheckBoxCompare->setChecked(rec.Compare);
  CheckBoxRead->setChecked(rec.Read);
  CheckBoxTest->setChecked(rec.Test);
  CheckBoxMovable->setChecked(rec.Movable);
  EditFrequency->setText(QString::number(rec.Frequency));
  EditOperandTest->setText(QString::fromStdString(rec.TestExpression));
  EditOperandTest->setEnabled(rec.Test);
  EditFillNext->setText("1");
}

void TFormEditBreakpoint::CheckBoxTestClick() {
  EditOperandTest->setEnabled(CheckBoxTest->isChecked());
}

bool TFormEditBreakpoint::EditFrequencyExit() {
  const std::optional<int32_t> frequency = ParseNumberText(EditFrequency->text().toStdString());
  if (frequency && *frequency >= 0) return true;
  app_.Platform.ShowMessage(frequency ? "Frequency must be at least 0"
                                      : "Frequency must be a number");
  const int32_t kept =
      app_.Core ? app_.Core->BreakpointTypes[static_cast<size_t>(type_)].Frequency : 1;
  EditFrequency->setText(QString::number(kept));
  return false;
}

bool TFormEditBreakpoint::EditOperandTestExit() {
  const std::string text = EditOperandTest->text().toStdString();
  if (text.empty() || !app_.Core) return true;
  const std::optional<std::string> error = OperandTestError(*app_.Core, text);
  if (!error) return true;
  app_.Platform.ShowMessage("Error evaluating operand test expression: " + *error);
  EditOperandTest->setFocus();
  return false;
}

bool TFormEditBreakpoint::EditFillNextExit() {
  const std::optional<int32_t> fill = ParseNumberText(EditFillNext->text().toStdString());
  if (fill && *fill > 0) return true;
  app_.Platform.ShowMessage("Fill Next value must be a positive number");
  EditFillNext->setText("1");
  return false;
}

TBreakpointRec TFormEditBreakpoint::Settings() const {
  TBreakpointRec rec;
  rec.Execute = CheckBoxExecute->isChecked();
  rec.Write = CheckBoxWrite->isChecked();
  rec.IncDec = CheckBoxIncDec->isChecked();
  rec.Compare = CheckBoxCompare->isChecked();
  rec.Read = CheckBoxRead->isChecked();
  rec.Test = CheckBoxTest->isChecked();
  rec.Movable = CheckBoxMovable->isChecked();
  rec.Frequency = ParseNumberText(EditFrequency->text().toStdString()).value_or(1);
  rec.TestExpression = EditOperandTest->text().toStdString();
  return rec;
}

void TFormEditBreakpoint::ButtonOKClick() {
  if (CheckBoxTest->isChecked() && EditOperandTest->text().isEmpty()) {
    app_.Platform.ShowMessage("Operand test expression cannot be blank");
    return;
  }
  // OK may come straight from typing, before any box was left: check them all here too.
  if (!EditFrequencyExit() || !EditFillNextExit()) return;
  if (CheckBoxTest->isChecked() && !EditOperandTestExit()) return;
  if (!app_.Core) {
    reject();
    return;
  }
  fillCount_ = ParseNumberText(EditFillNext->text().toStdString()).value_or(1);
  const std::optional<int32_t> type = ChooseBreakpointType(*app_.Core, Settings());
  if (!type) {
    // Every type is taken (the message was shown): the cells keep what they carry.
    reject();
    return;
  }
  resultType_ = *type;
  accept();
}

} // namespace velmora
