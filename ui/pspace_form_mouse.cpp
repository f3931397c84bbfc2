// The P-space window's mouse: a double click on a line edits that location.

#include <QMouseEvent>

#include "engine/pspace_edit.h"
#include "ui/edit_pspace_form.h"
#include "ui/mardex_form.h"
#include "ui/pspace_form.h"

namespace velmora {

void TFormPSpace::mousePressEvent(QMouseEvent* event) {
  pointerY_ = RichEditView->mapFrom(this, event->position().toPoint()).y();
  QWidget::mousePressEvent(event);
}

void TFormPSpace::mouseDoubleClickEvent(QMouseEvent* event) {
  pointerY_ = RichEditView->mapFrom(this, event->position().toPoint()).y();
  FormDblClick();
}

bool TFormPSpace::eventFilter(QObject* watched, QEvent* event) {
  // A double click in the location box goes there at once, as leaving it does.
  if (watched == EditLocation && event->type() == QEvent::MouseButtonDblClick) EditLocationExit();
  return QWidget::eventFilter(watched, event);
}

void TFormPSpace::FormDblClick() {
  TWarrior* w = ChosenWarrior();
  const int32_t size = Locations();
  if (!w || size < 1 || !app_.FormEditPSpace || pointerY_ < 0) return;
  const int32_t line = pointerY_ / RichEditView->LineHeight();
  if (line >= RichEditView->Lines().size()) return;
  const int32_t location = static_cast<int32_t>((int64_t{line} + top_) % size);
  app_.SelectedLocation = location;
  const int32_t coreSize = app_.Core->CoreSize;
  if (!app_.FormEditPSpace->Execute(w->Name, PSpaceValue(*w, location), coreSize)) return;
  FillPSpace(*w, location, app_.FormEditPSpace->Value, app_.FormEditPSpace->FillCount, coreSize);
  if (app_.MainForm) app_.MainForm->RoundEdited();
  DisplayLines();
}

} // namespace velmora
