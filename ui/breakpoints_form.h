#pragma once
// TFormBreakpoints, "Breakpoints": every core address that carries a breakpoint, in address
// order, with its type and instruction; "*" marks those that fired in the last run. New,
// Edit, Clear and Clear All change them; "Close and Move" hands the selected address to the
// core view.

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cstdint>
#include <vector>

#include "ui/app.h"

namespace velmora {

class TFormBreakpoints : public QDialog {
  Q_OBJECT
public:
  explicit TFormBreakpoints(TVelmoraApp& app, QWidget* parent = nullptr);

  // Rebuilds the list from the engine's registry, sorted, first line selected.
  void FillList();
  void ButtonNewClick();
  void ButtonEditClick();
  void ButtonClearClick();
  void ButtonClearAllClick();
  void ButtonOKClick();

  // The address of each line.
  const std::vector<int32_t>& ListedAddresses() const { return listed_; }

  QLabel* LabelNumBPs;
  QListWidget* ListBoxBreakpoints;
  QPushButton *ButtonOK, *ButtonCancel, *ButtonNew, *ButtonEdit, *ButtonClear, *ButtonClearAll;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void UpdateButtons();
  void Select(int row);
  void RefreshViews();

  TVelmoraApp& app_;
  std::vector<int32_t> listed_;
};

} // namespace velmora
