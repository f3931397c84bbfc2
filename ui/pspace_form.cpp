// The P-space window: its controls, the listing and the navigation.

#include "ui/pspace_form.h"
#include "ui/widgets.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "engine/pspace_edit.h"
#include "tournament/tournament.h"
#include "ui/core_listing.h"
#include "ui/mardex_form.h"
#include "ui/pspace_text.h"

namespace velmora {

TPSpaceListing::TPSpaceListing(QWidget* parent) : QWidget(parent) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::black);
  setPalette(p);
  setMinimumSize(fontMetrics().horizontalAdvance(QString(18, '0')) + 8, LineHeight());
}

void TPSpaceListing::SetLines(const QStringList& lines, QColor colour) {
  lines_ = lines;
  colour_ = colour;
  update();
}

int TPSpaceListing::LineHeight() const {
  return std::max(fontMetrics().lineSpacing(), 1);
}

int32_t TPSpaceListing::LinesThatFit() const {
  return std::max(height() / LineHeight(), 1);
}

void TPSpaceListing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(colour_);
  const int h = LineHeight();
  for (int i = 0; i < lines_.size(); ++i)
    painter.drawText(QRect(4, i * h, width() - 4, h), Qt::AlignLeft | Qt::AlignVCenter, lines_[i]);
}

namespace {

QToolButton* Arrow(Qt::ArrowType type, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setArrowType(type);
  b->setAutoRepeat(true);
  return b;
}

} // namespace

TFormPSpace::TFormPSpace(TVelmoraApp& app, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), app_(app) {
  setWindowTitle("P-space View");
  BuildControls();
  if (app_.MainForm)
    connect(app_.MainForm, &TMardexForm::ViewsRefreshRequested, this, [this] {
      if (isVisible()) DisplayLines();
    });
}

void TFormPSpace::BuildControls() {
  RichEditView = new TPSpaceListing(this);
  SpinButtonSmallUp = Arrow(Qt::UpArrow, this);
  SpinButtonSmallDown = Arrow(Qt::DownArrow, this);
  SpinButtonLargeUp = Arrow(Qt::UpArrow, this);
  SpinButtonLargeDown = Arrow(Qt::DownArrow, this);
  EditLocation = new QLineEdit("0", this);
  EditLocation->setMaximumWidth(90);
  EditLocation->installEventFilter(this);
  ButtonCoreviewClose = new QPushButton("Close", this);
  ButtonCoreviewClose->setAutoDefault(false);
  ComboBoxWarrior = new QComboBox(this);

  auto* controls = new QGridLayout;
  controls->addWidget(ComboBoxWarrior, 0, 0, 1, 4);
  controls->addWidget(new QLabel("Line", this), 1, 0);
  controls->addWidget(SpinButtonSmallUp, 1, 1);
  controls->addWidget(SpinButtonSmallDown, 1, 2);
  controls->addWidget(new QLabel("Page", this), 2, 0);
  controls->addWidget(SpinButtonLargeUp, 2, 1);
  controls->addWidget(SpinButtonLargeDown, 2, 2);
  controls->addWidget(new QLabel("Go To:", this), 3, 0);
  controls->addWidget(EditLocation, 3, 1, 1, 3);
  controls->addWidget(ButtonCoreviewClose, 4, 0, 1, 4);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(RichEditView, 1);
  layout->addLayout(controls);
  // A fixed width; the height is the user's, and the listing takes what the controls leave.
  const int width = std::max(layout->sizeHint().width(), 220);
  setMinimumWidth(width);
  setMaximumWidth(width);
  resize(width, 420);

  connect(SpinButtonSmallUp, &QToolButton::clicked, this, &TFormPSpace::SpinButtonSmallUpClick);
  connect(SpinButtonSmallDown, &QToolButton::clicked, this, &TFormPSpace::SpinButtonSmallDownClick);
  connect(SpinButtonLargeUp, &QToolButton::clicked, this, &TFormPSpace::SpinButtonLargeUpClick);
  connect(SpinButtonLargeDown, &QToolButton::clicked, this, &TFormPSpace::SpinButtonLargeDownClick);
  connect(EditLocation, &QLineEdit::editingFinished, this, &TFormPSpace::EditLocationExit);
  connect(ComboBoxWarrior, &QComboBox::activated, this, [this] { ComboBoxWarriorChange(); });
  connect(ButtonCoreviewClose, &QPushButton::clicked, this, &TFormPSpace::ButtonCoreviewCloseClick);
}

void TFormPSpace::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TFormPSpace::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  lineCount_ = RichEditView->LinesThatFit();
  DisplayLines();
}

void TFormPSpace::FormShow() {
  FillWarriorChoice(*ComboBoxWarrior, app_.Core);
  ComboBoxWarriorChange();
}

TWarrior* TFormPSpace::ChosenWarrior() const {
  return velmora::ChosenWarrior(*ComboBoxWarrior, app_.Core);
}

int32_t TFormPSpace::Locations() const {
  const TWarrior* w = ChosenWarrior();
  return w ? PSpaceLocations(*w) : 0;
}

void TFormPSpace::ComboBoxWarriorChange() {
  top_ = 0;
  DisplayLines();
}

void TFormPSpace::DisplayLines() {
  const TWarrior* w = ChosenWarrior();
  const int32_t size = Locations();
  QStringList lines;
  if (top_ >= size) top_ = 0;
  if (w && size > 0) {
    const int32_t coreSize = app_.Core->CoreSize;
    int32_t l = top_;
    for (int32_t i = 0; i < lineCount_; ++i) {
      lines << QString::fromStdString(PSpaceLine(l, PSpaceValue(*w, l), coreSize));
      l = l + 1 == size ? 0 : l + 1;
    }
  }
  const int32_t slot = ComboBoxWarrior->currentIndex() + 1;
  const std::vector<uint32_t>& colours = app_.Tournament.WarriorColours;
  const uint32_t rgb = slot >= 1 && static_cast<size_t>(slot) < colours.size()
                           ? colours[static_cast<size_t>(slot)]
                           : WarriorPalette[static_cast<size_t>(std::max(slot - 1, 0) % 8)];
  RichEditView->SetLines(lines, QColor::fromRgb(rgb));
  EditLocation->setText(QString::number(top_));
}

void TFormPSpace::MoveTop(int64_t delta) {
  const int32_t size = Locations();
  if (size > 0) top_ = ScrollTop(top_, delta, size);
  DisplayLines();
}

void TFormPSpace::SpinButtonSmallDownClick() {
  MoveTop(1);
}

void TFormPSpace::SpinButtonSmallUpClick() {
  MoveTop(-1);
}

void TFormPSpace::SpinButtonLargeDownClick() {
  MoveTop(lineCount_);
}

void TFormPSpace::SpinButtonLargeUpClick() {
  MoveTop(-int64_t{lineCount_});
}

void TFormPSpace::EditLocationExit() {
  const std::string text = EditLocation->text().toStdString();
  const int32_t size = Locations();
  if (size < 1) return;
  const std::optional<int32_t> location = LocationFromText(text, size);
  if (!location) {
    // The listing stays where it was; the box shows its location again.
    app_.Platform.ShowMessage("'" + text + "' is not a valid integer value");
    DisplayLines();
    return;
  }
  top_ = *location;
  DisplayLines();
}

} // namespace velmora
