#include "ui/edit_pspace_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "params/number_text.h"
#include "ui/core_listing.h"

namespace velmora {

TFormEditPSpace::TFormEditPSpace(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Edit P-space");
  LabelWarrior = new QLabel("Warrior", this);
  LabelWarriorName = new QLabel(this);
  LabelPSpaceLocation = new QLabel("Location", this);
  LabelPSpaceLoc = new QLabel(this);
  LabelNewValue = new QLabel("New value:", this);
  EditPSpace = new QLineEdit(this);
  LabelFillNext = new QLabel("Fill next:", this);
  EditFillNext = new QLineEdit(this);
  ButtonOK = new QPushButton("OK", this);
  ButtonOK->setDefault(true);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonCancel->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(LabelWarrior, 0, 0);
  grid->addWidget(LabelWarriorName, 0, 1);
  grid->addWidget(LabelPSpaceLocation, 1, 0);
  grid->addWidget(LabelPSpaceLoc, 1, 1);
  grid->addWidget(LabelNewValue, 2, 0);
  grid->addWidget(EditPSpace, 2, 1);
  grid->addWidget(LabelFillNext, 3, 0);
  grid->addWidget(EditFillNext, 3, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ButtonOK, &QPushButton::clicked, this, &TFormEditPSpace::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormEditPSpace::Execute(const std::string& warriorName, int32_t value, int32_t coreSize) {
  warriorName_ = warriorName;
  Value = value;
  FillCount = 1;
  coreSize_ = std::max(coreSize, 1);
  return exec() == QDialog::Accepted;
}

void TFormEditPSpace::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TFormEditPSpace::FormShow() {
  LabelWarriorName->setText(QString::fromStdString(warriorName_));
  LabelPSpaceLoc->setText(QString::number(app_.SelectedLocation));
  EditPSpace->setText(QString::fromStdString(ShortFieldText(Value, coreSize_)));
  EditFillNext->setText("1");
  EditPSpace->setFocus();
  EditPSpace->selectAll();
}

void TFormEditPSpace::ButtonOKClick() {
  const std::optional<int32_t> value = ParseNumberText(EditPSpace->text().toStdString());
  if (!value) {
    app_.Platform.ShowMessage("PSpace value must be a number");
    EditPSpace->setText(QString::number(Value));
    return;
  }
  const std::optional<int32_t> fill = ParseNumberText(EditFillNext->text().toStdString());
  if (!fill || *fill < 1) {
    app_.Platform.ShowMessage("Fill Next value must be a positive number");
    EditFillNext->setText("1");
    return;
  }
  Value = *value;
  FillCount = *fill;
  accept();
}

} // namespace velmora
