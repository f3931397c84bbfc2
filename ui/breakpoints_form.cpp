#include "ui/breakpoints_form.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/core_listing.h"
#include "ui/debugger_actions.h"
#include "ui/input_form.h"
#include "ui/mardex_form.h"

namespace velmora {

TFormBreakpoints::TFormBreakpoints(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Breakpoints");
  LabelNumBPs = new QLabel("Total: 0", this);
  ListBoxBreakpoints = new QListWidget(this);
  ListBoxBreakpoints->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ListBoxBreakpoints->setMinimumWidth(
      ListBoxBreakpoints->fontMetrics().horizontalAdvance(QString(44, QChar('0'))));
  ButtonOK = MakeButton("Close and Move", this);
  ButtonCancel = MakeButton("Close", this);
  ButtonNew = MakeButton("New", this);
  ButtonEdit = MakeButton("Edit", this);
  ButtonClear = MakeButton("Clear", this);
  ButtonClearAll = MakeButton("Clear All", this);

  auto* actions = new QVBoxLayout;
  for (QPushButton* b : {ButtonNew, ButtonEdit, ButtonClear, ButtonClearAll})
    actions->addWidget(b);
  actions->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(ListBoxBreakpoints, 1);
  middle->addLayout(actions);
  auto* closing = new QHBoxLayout;
  closing->addStretch();
  closing->addWidget(ButtonOK);
  closing->addWidget(ButtonCancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(LabelNumBPs);
  column->addLayout(middle);
  column->addLayout(closing);

  connect(ListBoxBreakpoints, &QListWidget::currentRowChanged, this,
          &TFormBreakpoints::UpdateButtons);
  connect(ButtonNew, &QPushButton::clicked, this, &TFormBreakpoints::ButtonNewClick);
  connect(ButtonEdit, &QPushButton::clicked, this, &TFormBreakpoints::ButtonEditClick);
  connect(ButtonClear, &QPushButton::clicked, this, &TFormBreakpoints::ButtonClearClick);
  connect(ButtonClearAll, &QPushButton::clicked, this, &TFormBreakpoints::ButtonClearAllClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormBreakpoints::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormBreakpoints::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FillList();
}

void TFormBreakpoints::FillList() {
  ListBoxBreakpoints->clear();
  listed_.clear();
  if (TCore* core = app_.Core) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SortBreakpoints(*core);
    for (int32_t a : core->BreakpointAddresses) {
      listed_.push_back(a);
      ListBoxBreakpoints->addItem(QString::fromStdString(BreakpointListLine(*core, a)));
    }
    QApplication::restoreOverrideCursor();
  }
  if (!listed_.empty()) ListBoxBreakpoints->setCurrentRow(0);
  LabelNumBPs->setText(QString("Total: %1").arg(listed_.size()));
  UpdateButtons();
}

void TFormBreakpoints::UpdateButtons() {
  const bool selected = ListBoxBreakpoints->currentRow() >= 0;
  ButtonEdit->setEnabled(selected);
  ButtonClear->setEnabled(selected);
}

void TFormBreakpoints::Select(int row) {
  const int last = ListBoxBreakpoints->count() - 1;
  ListBoxBreakpoints->setCurrentRow(std::min(row, last));
  UpdateButtons();
}

void TFormBreakpoints::RefreshViews() {
  if (app_.MainForm) app_.MainForm->RefreshViews();
}

void TFormBreakpoints::ButtonNewClick() {
  TCore* core = app_.Core;
  if (!core || core->CoreSize < 1 || !app_.FormInput || !app_.MainForm) return;
  app_.FormInput->Value = 0;
  if (app_.FormInput->exec() != QDialog::Accepted) return;
  const int32_t location = ModCore(app_.FormInput->Value, core->CoreSize);
  app_.MainForm->EditBreakpointAt(location,
                                  core->Core[static_cast<size_t>(location)].BreakpointType);
  RefreshViews();
  FillList();
}

void TFormBreakpoints::ButtonEditClick() {
  const int row = ListBoxBreakpoints->currentRow();
  TCore* core = app_.Core;
  if (!core || row < 0 || static_cast<size_t>(row) >= listed_.size() || !app_.MainForm) return;
  const int32_t a = listed_[static_cast<size_t>(row)];
  app_.MainForm->EditBreakpointAt(a, core->Core[static_cast<size_t>(a)].BreakpointType);
  RefreshViews();
  FillList();
  Select(row);
}

void TFormBreakpoints::ButtonClearClick() {
  const int row = ListBoxBreakpoints->currentRow();
  TCore* core = app_.Core;
  if (!core || row < 0 || static_cast<size_t>(row) >= listed_.size()) return;
  ClearBreakpoint(*core, listed_[static_cast<size_t>(row)]);
  RefreshViews();
  FillList();
  Select(row);
}

void TFormBreakpoints::ButtonClearAllClick() {
  if (!app_.Core) return;
  ClearAllBreakpoints(*app_.Core);
  RefreshViews();
  FillList();
}

void TFormBreakpoints::ButtonOKClick() {
  const int row = ListBoxBreakpoints->currentRow();
  if (row >= 0 && static_cast<size_t>(row) < listed_.size())
    app_.SelectedLocation = listed_[static_cast<size_t>(row)];
  accept();
}

} // namespace velmora
