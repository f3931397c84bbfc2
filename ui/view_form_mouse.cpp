// The core view's mouse: breakpoints by clicks on the location column, the cell editor and
// the breakpoint editor by double clicks, and the operand popup by a right click; and the
// buttons that open the debugger's other dialogs.

#include <QMouseEvent>

#include "ui/breakpoints_form.h"
#include "ui/edit_core_form.h"
#include "ui/ex_pts_form.h"
#include "ui/mardex_form.h"
#include "ui/view_form.h"

namespace velmora {

QPoint TFormView::ListingPoint(int32_t line, int32_t column) const {
  const int h = RichEditView->LineHeight(), w = RichEditView->CharWidth();
  return RichEditView->mapTo(this, QPoint(column * w + w / 2, line * h + h / 2));
}

bool TFormView::PressedCell(int32_t& address, LinePart& part) const {
  if (!Core() || !RichEditView->rect().contains(pressPos_)) return false;
  const auto line = static_cast<size_t>(pressPos_.y() / RichEditView->LineHeight());
  if (line >= Lines().size()) return false;
  address = Lines()[line].Address;
  // A listing older than a change of core size names no cell.
  if (address >= Core()->CoreSize) return false;
  part = PartAtColumn(pressPos_.x() / RichEditView->CharWidth());
  return true;
}

void TFormView::mousePressEvent(QMouseEvent* event) {
  pressPos_ = RichEditView->mapFrom(this, event->position().toPoint());
  pressed_ = event->button() == Qt::LeftButton;
  FormMouseDown(event->button(), event->globalPosition().toPoint());
  QWidget::mousePressEvent(event);
}

void TFormView::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && !doubleClicked_ &&
                     rect().contains(event->position().toPoint());
  pressed_ = false;
  doubleClicked_ = false;
  if (click) FormClick();
  QWidget::mouseReleaseEvent(event);
}

void TFormView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The press of the second click: its release is part of the double click.
  pressPos_ = RichEditView->mapFrom(this, event->position().toPoint());
  doubleClicked_ = true;
  FormDblClick();
}

void TFormView::FormMouseDown(Qt::MouseButton button, QPoint globalPos) {
  int32_t address = 0;
  LinePart part{};
  if (button != Qt::RightButton || !PressedCell(address, part)) return;
  if (part == LinePart::AOperand || part == LinePart::BOperand)
    OpenOperandPopup(address, part == LinePart::BOperand, globalPos);
}

void TFormView::FormClick() {
  int32_t address = 0;
  LinePart part{};
  if (!PressedCell(address, part) || part != LinePart::BreakpointColumn) return;
  const int32_t type = Core()->Core[static_cast<size_t>(address)].BreakpointType;
  if (type <= 2) SetCellBreakpoint(*Core(), address, ClickedBreakpointType(type));
  if (app_.MainForm) app_.MainForm->RefreshViews();
}

void TFormView::FormDblClick() {
  int32_t address = 0;
  LinePart part{};
  if (!PressedCell(address, part) || !app_.MainForm) return;
  TMardexForm& main = *app_.MainForm;
  if (part == LinePart::BreakpointColumn) {
    int32_t type = Core()->Core[static_cast<size_t>(address)].BreakpointType;
    if (type <= 2) {
      type = DoubleClickedBreakpointType(type);
      SetCellBreakpoint(*Core(), address, type);
    }
    main.RefreshViews();
    main.EditBreakpointAt(address, type);
    main.RefreshViews();
    return;
  }
  app_.SelectedLocation = address;
  if (app_.FormEditCore && app_.FormEditCore->exec() == QDialog::Accepted) {
    main.RoundEdited();
    main.RefreshViews();
  }
}

// --- Operand popup --------------------------------------------------------------------------

void TFormView::OpenOperandPopup(int32_t address, bool bOperand, QPoint globalPos) {
  const std::optional<TOperandPopup> popup = OperandPopup(*Core(), address, bOperand);
  if (!popup) return;
  N1->setText(QString::fromStdString(popup->N1.Caption));
  n1Target_ = popup->N1.Target;
  N2->setText(QString::fromStdString(popup->N2.Caption));
  n2Target_ = popup->N2.Target;
  N2->setVisible(n2Target_ != -1);
  PopupMenuView->popup(globalPos);
}

void TFormView::OpenViewAt(int32_t target) {
  if (target == -1 || !app_.MainForm) return;
  TFormView* view = app_.MainForm->OpenCoreView();
  view->EraseHighlights();
  view->SetTopLocation(target);
  view->DisplayLines();
  app_.MainForm->RepaintDisplay();
}

void TFormView::N1Click() {
  OpenViewAt(n1Target_);
}

void TFormView::N2Click() {
  OpenViewAt(n2Target_);
}

// --- Buttons --------------------------------------------------------------------------------

bool TFormView::ShowExecutionPoints() {
  return app_.FormExPts && app_.FormExPts->exec() == QDialog::Accepted;
}

void TFormView::ButtonExPtsClick() {
  if (!ShowExecutionPoints()) return;
  EditLocation->setText(QString::number(app_.SelectedLocation));
  EditLocationExit();
}

void TFormView::ButtonBreakpointsClick() {
  if (!app_.FormBreakpoints) return;
  app_.SelectedLocation = top_;
  if (app_.FormBreakpoints->exec() != QDialog::Accepted) return;
  EditLocation->setText(QString::number(app_.SelectedLocation));
  EditLocationExit();
}

} // namespace velmora
