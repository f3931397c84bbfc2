#pragma once
// TFormEditPSpace ("Edit P-space"): a new value for one P-space location of a warrior, and
// how many locations from there on take it.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "ui/app.h"

namespace velmora {

class TFormEditPSpace : public QDialog {
  Q_OBJECT
public:
  explicit TFormEditPSpace(TVelmoraApp& app, QWidget* parent = nullptr);

  // Shows the editor for location SelectedLocation of the named warrior, which holds value
  // in a core of coreSize cells. True on OK, with the new Value and FillCount.
  bool Execute(const std::string& warriorName, int32_t value, int32_t coreSize);

  void FormShow();
  void ButtonOKClick();

  int32_t Value = 0;
  int32_t FillCount = 1;

  QLabel *LabelWarrior, *LabelWarriorName, *LabelPSpaceLocation, *LabelPSpaceLoc;
  QLabel *LabelNewValue, *LabelFillNext;
  QLineEdit *EditPSpace, *EditFillNext;
  QPushButton *ButtonOK, *ButtonCancel;

protected:
  void showEvent(QShowEvent* event) override;

private:
  TVelmoraApp& app_;
  std::string warriorName_;
  int32_t coreSize_ = 1;
};

} // namespace velmora
