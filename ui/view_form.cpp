// The core view: its controls, the listing, navigation and its life as a window.

#include "ui/view_form.h"
#include "ui/widgets.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/mardex_form.h"

namespace velmora {

namespace {

QToolButton* Arrow(Qt::ArrowType type, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setArrowType(type);
  b->setAutoRepeat(true);
  return b;
}

} // namespace

TFormView::TFormView(TVelmoraApp& app, QWidget* parent) : QWidget(parent, Qt::Tool), app_(app) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Core View");
  BuildControls();
  if (app_.MainForm)
    connect(app_.MainForm, &TMardexForm::ViewsRefreshRequested, this, &TFormView::RefreshRequested);
}

TFormView::~TFormView() {
  if (app_.MainForm) app_.MainForm->ForgetCoreView(this);
}

void TFormView::BuildControls() {
  RichEditView = new TCoreListing(this);
  RichEditView->setAttribute(Qt::WA_TransparentForMouseEvents);
  connect(RichEditView, &TCoreListing::Resized, this, &TFormView::ListingResized);

  SpinButtonSmallUp = Arrow(Qt::UpArrow, this);
  SpinButtonSmallDown = Arrow(Qt::DownArrow, this);
  SpinButtonLargeUp = Arrow(Qt::UpArrow, this);
  SpinButtonLargeDown = Arrow(Qt::DownArrow, this);
  EditLocation = new QLineEdit(this);
  EditLocation->setMaximumWidth(90);
  ButtonExPts = MakeButton("Processes", this);
  ButtonBreakpoints = MakeButton("Breakpoints", this);
  ButtonCoreviewClose = MakeButton("Close", this);

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel("Line", this));
  controls->addWidget(SpinButtonSmallUp);
  controls->addWidget(SpinButtonSmallDown);
  controls->addSpacing(6);
  controls->addWidget(new QLabel("Page", this));
  controls->addWidget(SpinButtonLargeUp);
  controls->addWidget(SpinButtonLargeDown);
  controls->addSpacing(6);
  controls->addWidget(new QLabel("Location:", this));
  controls->addWidget(EditLocation);
  controls->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonExPts);
  buttons->addWidget(ButtonBreakpoints);
  buttons->addStretch();
  buttons->addWidget(ButtonCoreviewClose);
  auto* column = new QVBoxLayout(this);
  column->addWidget(RichEditView, 1);
  column->addLayout(controls);
  column->addLayout(buttons);

  PopupMenuView = new QMenu(this);
  N1 = PopupMenuView->addAction(QString());
  N2 = PopupMenuView->addAction(QString());

  connect(SpinButtonSmallUp, &QToolButton::clicked, this, &TFormView::SpinButtonSmallUpClick);
  connect(SpinButtonSmallDown, &QToolButton::clicked, this, &TFormView::SpinButtonSmallDownClick);
  connect(SpinButtonLargeUp, &QToolButton::clicked, this, &TFormView::SpinButtonLargeUpClick);
  connect(SpinButtonLargeDown, &QToolButton::clicked, this, &TFormView::SpinButtonLargeDownClick);
  connect(EditLocation, &QLineEdit::editingFinished, this, &TFormView::EditLocationExit);
  connect(ButtonExPts, &QPushButton::clicked, this, &TFormView::ButtonExPtsClick);
  connect(ButtonBreakpoints, &QPushButton::clicked, this, &TFormView::ButtonBreakpointsClick);
  connect(ButtonCoreviewClose, &QPushButton::clicked, this, &TFormView::ButtonCoreviewCloseClick);
  connect(N1, &QAction::triggered, this, &TFormView::N1Click);
  connect(N2, &QAction::triggered, this, &TFormView::N2Click);

  // The width of one listing line; the height is the user's.
  const int width = RichEditView->CharWidth() * 36 + 40;
  setFixedWidth(std::max(width, sizeHint().width()));
  resize(this->width(), 420);
}

// --- The listing ----------------------------------------------------------------------------

void TFormView::Highlight(bool on) {
  TCore* core = Core();
  if (!core || !app_.MainForm || top_ < 0) return;
  for (int32_t a : ListedAddresses(top_, lineCount_, core->CoreSize)) {
    const TListingLine line = ListingLine(*core, a);
    app_.MainForm->ColorPixel(a, line.PixelColour, line.PixelKind, on);
  }
}

void TFormView::EraseHighlights() {
  Highlight(false);
}

void TFormView::FillListing() {
  TCore* core = Core();
  if (!core || core->CoreSize < 1) {
    RichEditView->SetLines({}, {});
    return;
  }
  if (top_ < 0 || top_ >= core->CoreSize) top_ = 0;
  std::vector<TListingLine> lines;
  for (int32_t a : ListedAddresses(top_, lineCount_, core->CoreSize))
    lines.push_back(ListingLine(*core, a));
  Highlight(true);
  RichEditView->SetLines(std::move(lines), app_.Tournament.WarriorColours);
  EditLocation->setText(QString::number(top_));
}

void TFormView::DisplayLines() {
  FillListing();
}

void TFormView::RefreshRequested() {
  if (isVisible()) DisplayLines();
}

void TFormView::SetTopLocation(int32_t address) {
  TCore* core = Core();
  if (!core || address < 0 || address > core->CoreSize) return;
  top_ = address;
}

void TFormView::ListingResized() {
  if (top_ == -1) return;
  EraseHighlights();
  lineCount_ = RichEditView->FittingLines();
  FillListing();
}

// --- Navigation -----------------------------------------------------------------------------

void TFormView::MoveTo(int32_t top) {
  EraseHighlights();
  top_ = top;
  FillListing();
}

void TFormView::SpinButtonSmallDownClick() {
  if (Core()) MoveTo(ScrollTop(top_, 1, Core()->CoreSize));
}
void TFormView::SpinButtonSmallUpClick() {
  if (Core()) MoveTo(ScrollTop(top_, -1, Core()->CoreSize));
}
void TFormView::SpinButtonLargeDownClick() {
  if (Core()) MoveTo(ScrollTop(top_, lineCount_, Core()->CoreSize));
}
void TFormView::SpinButtonLargeUpClick() {
  if (Core()) MoveTo(ScrollTop(top_, -int64_t{lineCount_}, Core()->CoreSize));
}

void TFormView::EditLocationExit() {
  TCore* core = Core();
  if (!core || top_ < 0) return;
  const std::string text = EditLocation->text().toStdString();
  const std::optional<int32_t> location = LocationFromText(text, core->CoreSize);
  if (!location) {
    // The listing stays where it was; the box shows its location again.
    app_.Platform.ShowMessage("'" + text + "' is not a valid integer value");
    FillListing();
    return;
  }
  MoveTo(*location);
}

void TFormView::wheelEvent(QWheelEvent* event) {
  TCore* core = Core();
  const int steps = event->angleDelta().y() / 40;
  if (core && steps != 0) MoveTo(ScrollTop(top_, -steps, core->CoreSize));
  event->accept();
}

// --- Life as a window -----------------------------------------------------------------------

void TFormView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  TCore* core = Core();
  int32_t top = 0;
  if (core && core->Warriors.size() > 1 && core->QueueBlockSize > 0) {
    const TWarrior& first = *core->Warriors[1];
    if (first.ProcessCount > 0) top = core->QueueEntry(first, 0);
  }
  top_ = top;
  lineCount_ = RichEditView->FittingLines();
  DisplayLines();
}

void TFormView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && app_.MainForm)
    app_.MainForm->CoreViewActivated(this);
}

void TFormView::closeEvent(QCloseEvent* event) {
  EraseHighlights();
  if (app_.MainForm) app_.MainForm->CoreViewClosing(this);
  event->accept();
}

void TFormView::ButtonCoreviewCloseClick() {
  close();
}

} // namespace velmora
