#pragma once
// TFormExPts, the execution points editor ("Processes"): the process queue of one warrior,
// one line per process in execution order, with adding, deleting, changing and reordering
// of processes while the battle is stopped. Changes reach the engine at once; "Close" does
// not undo them. "Close and Move" hands the selected process's address to the caller
// through SelectedLocation.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <optional>

#include "ui/app.h"

namespace velmora {

class TFormExPts : public QDialog {
  Q_OBJECT
public:
  explicit TFormExPts(TVelmoraApp& app, QWidget* parent = nullptr);

  QComboBox* ComboBoxWarrior;
  QListWidget* ListBoxExPts;
  QLabel* LabelNumProcesses;
  QPushButton *ButtonOK, *ButtonCancel, *ButtonAdd, *ButtonDelete, *ButtonEdit;
  QPushButton *ButtonRollToTop, *ButtonMoveUp, *ButtonMoveDown;

  // The warriors of the battle into the combo box, the first one listed.
  void FormShow();
  // Lists the processes of the warrior chosen in the combo box.
  void ComboBoxWarriorChange();
  void UpdateButtons();

  void ButtonAddClick();
  void ButtonDeleteClick();
  void ButtonEditClick();
  void ButtonRollToTopClick();
  void ButtonMoveUpClick();
  void ButtonMoveDownClick();
  void ButtonOKClick();

  // The selected line, -1 when none.
  int32_t SelectedLine() const;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void BuildControls();
  TWarrior* ChosenWarrior() const;
  std::optional<int32_t> LineAddress(int32_t line) const;
  // The location dialog, opened with `initial`; nothing when cancelled.
  std::optional<int32_t> AskLocation(int32_t initial);
  // After an edit: list again, select `line` (negative: the first, as listing does), the
  // buttons, the views.
  void Changed(int32_t line);

  TVelmoraApp& app_;
};

} // namespace velmora
