// The main window's stepping back: Step Back, Back to Breakpoint, and what a debugger edit
// does to the history.

#include <QKeyEvent>

#include "ui/mardex_form.h"

namespace velmora {

namespace {

QString CycleText(int32_t cycle) {
  return QString::number(cycle);
}

} // namespace

void TMardexForm::UpdateStepBackButtons() {
  const bool can =
      core_ && State() == RunState::Stopped && core_->RoundState != kRoundIdle && core_->CanUndo();
  ButtonStepBack->setEnabled(can);
  ButtonBackToBreakpoint->setEnabled(can);
}

void TMardexForm::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers() == Qt::ShiftModifier;
  QPushButton* button = !shift                       ? nullptr
                        : event->key() == Qt::Key_F7 ? ButtonStepBack
                        : event->key() == Qt::Key_F8 ? ButtonBackToBreakpoint
                                                     : nullptr;
  if (!button) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (button->isEnabled()) button->click();
  event->accept();
}

void TMardexForm::StepBack(bool toBreakpoint) {
  if (!core_ || State() != RunState::Stopped || !core_->CanUndo()) return;
  bool atBreakpoint = false;
  if (toBreakpoint) {
    atBreakpoint = core_->UndoToBreakpoint().AtBreakpoint;
  } else {
    core_->UndoCycle();
  }
  RedrawCore();
  ShowFrame();
  const QString cycle = CycleText(core_->CycleCount);
  if (atBreakpoint)
    LabelStatusOutput->setText("Back at cycle " + cycle + ": a breakpoint fires in the next one");
  else if (toBreakpoint)
    LabelStatusOutput->setText("Back at cycle " + cycle +
                               ": the history holds no earlier breakpoint");
  else
    LabelStatusOutput->setText("Stepped back to cycle " + cycle);
  UpdateStepBackButtons();
  // The keys keep working: the focus must not stay on a button that became disabled.
  if (!ButtonStepBack->isEnabled()) ButtonSingleStep->setFocus();
}

void TMardexForm::RedrawCore() {
  if (core_->MaxSpeed || core_->DisplayLevel < 1) return;
  // Many cycles may have been undone: every cell is drawn again as its Marker says.
  for (int32_t a = 0; a < core_->CoreSize; ++a) {
    const uint8_t marker = core_->Core[static_cast<size_t>(a)].Marker;
    // A Marker of 0: the cell had not been touched yet, and is black again.
    if ((marker & 0x0F) == 0)
      display_->ColorPixel(a, 0, 0, false);
    else
      display_->ColorPixel(a, marker & 0x0F, marker >> 4, false);
  }
  for (const int32_t a : core_->NextInstructions())
    display_->ColorPixel(a, -1, 1, false);
  display_->RepaintDisplay();
}

void TMardexForm::RoundEdited() {
  if (!core_ || core_->History.Empty()) return;
  core_->History.Clear();
  core_->UndoneCells.clear();
  LabelStatusOutput->setText("Edited: the cycles before can no longer be stepped back");
  UpdateStepBackButtons();
}

void TMardexForm::SetHistoryLimit(int64_t bytes) {
  app_.HistoryBytes = bytes;
  if (core_) core_->History.SetLimit(bytes);
  UpdateStepBackButtons();
}

} // namespace velmora
