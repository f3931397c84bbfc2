#pragma once
// TFormOptions, the "Options" dialog: which events the core display shows, the early-draw
// check, the pause between rounds, the display topology and the memory for stepping back.

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <array>

#include "ui/app.h"

namespace velmora {

class TFormOptions : public QDialog {
  Q_OBJECT
public:
  explicit TFormOptions(TVelmoraApp& app, QWidget* parent = nullptr);

  // Loads the controls from the parameter and tournament records.
  void FormShow();
  // Stores the controls; a new topology rearranges the main window. Closes with OK.
  void ButtonOKClick();

  QCheckBox *CheckBoxImpCheck, *CheckBoxPause;
  // "Cells to Display", by DisplayLevel 0..5.
  QRadioButton *RadioButtonNone, *RadioButtonExec, *RadioButtonWrite, *RadioButtonIncDec;
  QRadioButton *RadioButtonCompare, *RadioButtonRead;
  QRadioButton *RadioButtonCircular, *RadioButtonRectangular;
  // Memory for stepping back through a round, in MiB; 0 turns it off.
  QSpinBox* SpinEditHistory;
  QPushButton *ButtonOK, *ButtonCancel;

protected:
  void showEvent(QShowEvent* event) override;

private:
  TVelmoraApp& app_;
  QButtonGroup* levels_;
};

} // namespace velmora
