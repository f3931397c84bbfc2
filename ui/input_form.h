#pragma once
// TFormInput, "Location": asks for one integer. The caller sets Value, shows the dialog and
// reads Value after OK; the range is the caller's business.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>

#include "ui/app.h"

namespace velmora {

class TFormInput : public QDialog {
  Q_OBJECT
public:
  explicit TFormInput(TVelmoraApp& app, QWidget* parent = nullptr);

  int32_t Value = 0;

  void ButtonOKClick();

  QLineEdit* EditLocation;
  QPushButton *ButtonOK, *ButtonCancel;

protected:
  void showEvent(QShowEvent* event) override;

private:
  TVelmoraApp& app_;
};

} // namespace velmora
