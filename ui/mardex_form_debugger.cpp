// The main window's share of the debugger: the open core views and which is current, showing
// a cell of the core display in a view, and the breakpoint editor applied to the cells.

#include <QApplication>
#include <QScreen>

#include <algorithm>

#include "ui/debugger_actions.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/mardex_form.h"
#include "ui/view_form.h"

namespace velmora {

void TMardexForm::PlaceBesideMe(const QWidget& view) {
  const QRect me = frameGeometry();
  const QScreen* screen = this->screen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 14, 1 << 14);
  const int width = std::max(view.sizeHint().width(), view.width());
  int left = me.right() + 8;
  if (left + width > room.right() && me.left() - 8 - width >= room.left())
    left = me.left() - 8 - width;
  ViewLeft = std::clamp(left, room.left(), std::max(room.left(), room.right() - width));
  ViewTop = std::max(me.top(), room.top());
}

TFormView* TMardexForm::OpenCoreView() {
  auto* view = new TFormView(app_, this);
  CoreViews.push_back(view);
  LastCoreView = view;
  // The very first view opens beside this window, not over its buttons; the first after
  // one was closed opens where that one stood.
  if (!viewPlaceChosen_) {
    PlaceBesideMe(*view);
    viewPlaceChosen_ = true;
  }
  if (viewPlaceFree_) {
    view->move(ViewLeft, ViewTop);
    viewPlaceFree_ = false;
  }
  view->show();
  return view;
}

void TMardexForm::ButtonViewClick() {
  OpenCoreView();
}

void TMardexForm::ShowCellInView(int32_t address) {
  if (!ButtonView->isEnabled()) return;
  TFormView* view = LastCoreView ? LastCoreView : OpenCoreView();
  view->raise();
  view->EraseHighlights();
  view->SetTopLocation(address);
  view->DisplayLines();
  RepaintDisplay();
}

void TMardexForm::CoreViewActivated(TFormView* view) {
  if (std::find(CoreViews.begin(), CoreViews.end(), view) != CoreViews.end()) LastCoreView = view;
}

void TMardexForm::CoreViewClosing(TFormView* view) {
  ViewLeft = view->x();
  ViewTop = view->y();
  viewPlaceFree_ = true;
  ForgetCoreView(view);
}

void TMardexForm::ForgetCoreView(TFormView* view) {
  CoreViews.erase(std::remove(CoreViews.begin(), CoreViews.end(), view), CoreViews.end());
  if (LastCoreView != view) return;
  LastCoreView = nullptr;
  for (auto it = CoreViews.rbegin(); it != CoreViews.rend(); ++it) {
    if ((*it)->isVisible()) {
      LastCoreView = *it;
      break;
    }
  }
}

void TMardexForm::EditBreakpointAt(int32_t location, int32_t type) {
  if (!core_ || !app_.FormEditBreakpoint || core_->CoreSize < 1) return;
  int32_t result = 0;
  int64_t fillCount = 0;
  if (!app_.FormEditBreakpoint->Execute(location, type, result, fillCount)) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  FillBreakpoints(*core_, location, result, fillCount);
  QApplication::restoreOverrideCursor();
}

} // namespace velmora
