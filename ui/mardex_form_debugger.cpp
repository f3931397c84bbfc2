// The main window's share of the debugger: the open core views and which is current, showing
// a cell of the core display in a view, and the breakpoint editor applied to the cells.

#include <QApplication>

#include <algorithm>

#include "ui/debugger_actions.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/mardex_form.h"
#include "ui/view_form.h"

namespace velmora {

TFormView* TMardexForm::OpenCoreView() {
  auto* view = new TFormView(app_, this);
  CoreViews.push_back(view);
  LastCoreView = view;
  // The first view, and the first after one was closed, opens where the last one stood.
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
