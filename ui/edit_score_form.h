#pragma once
// TFormEditScore, the score formula dialog: edits the tournament's score formula and keeps
// out formulas that cannot even score a win in a two-warrior battle.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "ui/app.h"
#include "ui/spare_engine.h"

namespace velmora {

class TFormEditScore : public QDialog {
  Q_OBJECT
public:
  explicit TFormEditScore(TVelmoraApp& app, QWidget* parent = nullptr);

  // FormShow, then the dialog modally; true on OK. The formula is stored by OK itself.
  bool Execute();
  // The field shows the tournament's formula.
  void FormShow();
  // Stores the text as the formula, then checks it with W = 2, S = 1: an error is shown and
  // the dialog stays open.
  void ButtonOKClick();

  QLineEdit* EditScore;
  QPushButton *ButtonOK, *ButtonCancel;

private:
  TVelmoraApp& app_;
  TSpareEngine engine_;
};

} // namespace velmora
