#include "ui/input_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "params/number_text.h"

namespace velmora {

TFormInput::TFormInput(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Location");
  EditLocation = new QLineEdit(this);
  ButtonOK = new QPushButton("OK", this);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonOK->setDefault(true);
  ButtonCancel->setAutoDefault(false);
  auto* field = new QHBoxLayout;
  field->addWidget(new QLabel("Location:", this));
  field->addWidget(EditLocation);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  auto* column = new QVBoxLayout(this);
  column->addLayout(field);
  column->addLayout(buttons);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormInput::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormInput::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  EditLocation->setText(QString::number(Value));
  EditLocation->setFocus();
  EditLocation->selectAll();
}

void TFormInput::ButtonOKClick() {
  const std::optional<int32_t> value = ParseNumberText(EditLocation->text().toStdString());
  if (!value) {
    app_.Platform.ShowMessage("Location must be a number");
    EditLocation->setText(QString::number(Value));
    return;
  }
  Value = *value;
  accept();
}

} // namespace velmora
