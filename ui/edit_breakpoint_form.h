#pragma once
// TFormEditBreakpoint: what a breakpoint reacts to, how often it fires, and on how many
// consecutive cells it goes. OK settles the type: a predefined one for a plain execute
// breakpoint (or none when nothing is ticked), else a newly defined one.

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>

#include "ui/app.h"

namespace velmora {

class TFormEditBreakpoint : public QDialog {
  Q_OBJECT
public:
  explicit TFormEditBreakpoint(TVelmoraApp& app, QWidget* parent = nullptr);

  // Shows the editor modally for the cell at location carrying type; true on OK with the
  // type to put on the cells and how many of them.
  bool Execute(int32_t location, int32_t type, int32_t& resultType, int64_t& fillCount);
  // The controls take the settings of type (what showing the dialog does).
  void Prepare(int32_t location, int32_t type);

  void CheckBoxTestClick();
  // Each checks its box, shows why it refuses and puts a valid value back; false then.
  bool EditFrequencyExit();
  bool EditOperandTestExit();
  bool EditFillNextExit();
  void ButtonOKClick();

  int32_t ResultType() const { return resultType_; }
  int64_t FillCount() const { return fillCount_; }

  QCheckBox *CheckBoxExecute, *CheckBoxWrite, *CheckBoxIncDec, *CheckBoxCompare;
  QCheckBox *CheckBoxRead, *CheckBoxTest, *CheckBoxMovable;
  QLineEdit *EditOperandTest, *EditFrequency, *EditFillNext;
  QPushButton *ButtonOK, *ButtonCancel;

private:
  void BuildControls();
  TBreakpointRec Settings() const;

  TVelmoraApp& app_;
  int32_t type_ = 0;
  int32_t resultType_ = 0;
  int64_t fillCount_ = 1;
};

} // namespace velmora
