// The main window: its controls, their layout and the windows it creates after itself.

#include "ui/mardex_form.h"
#include "ui/widgets.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/about_form.h"
#include "ui/breakpoints_form.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/edit_code_form.h"
#include "ui/edit_core_form.h"
#include "ui/edit_pspace_form.h"
#include "ui/edit_score_form.h"
#include "ui/ex_pts_form.h"
#include "ui/input_form.h"
#include "ui/options_form.h"
#include "ui/params_form.h"
#include "ui/pspace_form.h"
#include "ui/results_form.h"

// The icon and other resources live in the window library, which a static link would
// otherwise leave unregistered.
static void InitResources() {
  Q_INIT_RESOURCE(velmora);
}

namespace velmora {

namespace {

QString Hex(uint32_t rgb) {
  return QString("#%1").arg(rgb, 6, 16, QChar('0'));
}

} // namespace

TMardexForm::TMardexForm(TVelmoraApp& app, QWidget* parent) : QWidget(parent), app_(app) {
  app_.MainForm = this;
  InitResources();
  setWindowTitle("Velmora");
  setWindowIcon(QIcon(":/velmora.svg"));
  BuildControls();
  // FormCreate: circular display, empty lists, colours of the queue labels, start folder.
  app_.StartDirectory = QDir::currentPath().toStdString();
  app_.Params.CircularDisplay = true;
  app_.Setup.CircularDisplay = true;
  display_->ApplyTopology(true);
  ShowWarriorControls();
  CreateWindows();
  RunStateChanged(RunState::Idle);
}

TMardexForm::~TMardexForm() {
  if (app_.MainForm == this) app_.MainForm = nullptr;
  app_.Core = nullptr;
}

QWidget* TMardexForm::BuildInfoPanel() {
  auto* panel = new QWidget;
  auto* column = new QVBoxLayout(panel);
  auto* info = new QGroupBox("Battle Info", panel);
  auto* grid = new QGridLayout(info);
  auto value = [&](const char* caption, int row, QLabel*& label, const char* text = "") {
    grid->addWidget(new QLabel(caption, info), row, 0);
    label = new QLabel(text, info);
    grid->addWidget(label, row, 1, 1, 3);
  };
  value("Core Size:", 0, LabelCoreSizeOutput);
  value("Max Cycles:", 1, LabelBattleLengthOutput);
  value("Battle Status:", 2, LabelStatusOutput, "Stopped");
  grid->addWidget(new QLabel("Completion:", info), 3, 0);
  GaugeCyclesOutput = new QProgressBar(info);
  GaugeCyclesOutput->setTextVisible(false);
  grid->addWidget(GaugeCyclesOutput, 3, 1, 1, 2);
  LabelCycleCount = new QLabel("0", info);
  grid->addWidget(LabelCycleCount, 3, 3);
  value("Tournament Type:", 4, LabelTournamentTypeOutput, "Round Robin");
  auto ofLine = [&](const char* caption, int row, QLabel*& out, QLabel*& max) {
    grid->addWidget(new QLabel(caption, info), row, 0);
    out = new QLabel(info);
    max = new QLabel(info);
    grid->addWidget(out, row, 1);
    grid->addWidget(new QLabel("of", info), row, 2);
    grid->addWidget(max, row, 3);
  };
  ofLine("Round", 5, LabelBattleOutput, LabelBattleMax);
  ofLine("Matchup", 6, LabelMatchupOutput, LabelMatchupMax);
  column->addWidget(info);

  auto* queues = new QGridLayout;
  LabelQueueLimit = new QLabel("Max Processes:", panel);
  LabelQueueLimitOutput = new QLabel(panel);
  queues->addWidget(LabelQueueLimit, 0, 0);
  queues->addWidget(LabelQueueLimitOutput, 0, 1);
  for (size_t i = 0; i < 8; ++i) {
    GaugeQueue[i] = new QProgressBar(panel);
    GaugeQueue[i]->setObjectName(QString("GaugeQueue%1").arg(i + 1));
    GaugeQueue[i]->setFormat("%v");
    LabelQueue[i] = new QLabel(panel);
    LabelQueue[i]->setObjectName(QString("LabelQueue%1").arg(i + 1));
    LabelQueue[i]->setMinimumWidth(48);
    LabelQueue[i]->setAutoFillBackground(true);
    queues->addWidget(LabelQueue[i], int(i) + 1, 0);
    queues->addWidget(GaugeQueue[i], int(i) + 1, 1);
  }
  column->addLayout(queues);
  column->addStretch();
  return panel;
}

void TMardexForm::BuildControls() {
  display_ = new TCoreDisplay(this);
  display_->SetCentre(BuildInfoPanel());
  connect(display_, &TCoreDisplay::CellClicked, this, &TMardexForm::ShowCellInView);

  ButtonStart = MakeButton("Start", this);
  ButtonStop = MakeButton("Stop", this);
  ButtonSingleStep = MakeButton("Single Step", this);
  ButtonNewBattle = MakeButton("New Battle", this);
  ButtonStepBack = MakeButton("Step Back", this);
  ButtonStepBack->setToolTip("Undo the last cycle (Shift+F7)");
  ButtonBackToBreakpoint = MakeButton("Back to Breakpoint", this);
  ButtonBackToBreakpoint->setToolTip(
      "Undo cycles back to the start of the last one in which a breakpoint fires (Shift+F8)");
  ButtonView = MakeButton("View Core", this);
  ButtonViewPSpace = MakeButton("View P-space", this);
  ButtonParams = MakeButton("Setup", this);
  ButtonOptions = MakeButton("Options", this);
  ButtonTournamentResults = MakeButton("Show Results", this);
  ButtonAbout = MakeButton("About", this);
  ButtonExit = MakeButton("Exit", this);
  TrackBarSpeed = new QSlider(Qt::Horizontal, this);
  TrackBarSpeed->setRange(0, 6);
  TrackBarSpeed->setPageStep(1);
  TrackBarSpeed->setTickPosition(QSlider::TicksBelow);
  TrackBarSpeed->setValue(6);
  chkbxMax = new QCheckBox("Max", this);
  TimerBattle = new QTimer(this);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {ButtonStart, ButtonStop, ButtonSingleStep, ButtonStepBack,
                         ButtonBackToBreakpoint, ButtonNewBattle})
    buttons->addWidget(b);
  auto* speed = new QHBoxLayout;
  speed->addWidget(new QLabel("Slow", this));
  speed->addWidget(TrackBarSpeed);
  speed->addWidget(new QLabel("Fast", this));
  buttons->addLayout(speed);
  buttons->addWidget(chkbxMax);
  buttons->addSpacing(12);
  for (QPushButton* b : {ButtonView, ButtonViewPSpace, ButtonParams, ButtonOptions,
                         ButtonTournamentResults, ButtonAbout, ButtonExit})
    buttons->addWidget(b);
  buttons->addSpacing(12);
  for (size_t i = 0; i < 8; ++i) {
    ButtonEdit[i] = MakeButton("", this);
    ButtonEdit[i]->setObjectName(QString("ButtonEdit%1").arg(i + 1));
    buttons->addWidget(ButtonEdit[i]);
    connect(ButtonEdit[i], &QPushButton::clicked, this, [this, i] { ButtonEditClick(int32_t(i)); });
    ButtonEdit[i]->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ButtonEdit[i], &QWidget::customContextMenuRequested, this,
            [this, i](const QPoint& at) { WarriorMenu(int32_t(i), at); });
  }
  buttons->addStretch();

  auto* top = new QHBoxLayout(this);
  top->addWidget(display_, 0, Qt::AlignTop);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);

  connect(ButtonStart, &QPushButton::clicked, this, [this] { controller_->RunLoop(); });
  connect(ButtonStop, &QPushButton::clicked, this, [this] { controller_->StopBattle(); });
  connect(ButtonSingleStep, &QPushButton::clicked, this, [this] {
    controller_->SingleStep();
    UpdateStepBackButtons();
  });
  connect(ButtonStepBack, &QPushButton::clicked, this, [this] { StepBack(false); });
  connect(ButtonBackToBreakpoint, &QPushButton::clicked, this, [this] { StepBack(true); });
  connect(ButtonNewBattle, &QPushButton::clicked, this, [this] { controller_->NewBattle(); });
  connect(ButtonParams, &QPushButton::clicked, this, &TMardexForm::ButtonParamsClick);
  connect(ButtonView, &QPushButton::clicked, this, &TMardexForm::ButtonViewClick);
  connect(ButtonViewPSpace, &QPushButton::clicked, this, &TMardexForm::ButtonViewPSpaceClick);
  connect(ButtonOptions, &QPushButton::clicked, this, &TMardexForm::ButtonOptionsClick);
  connect(ButtonTournamentResults, &QPushButton::clicked, this,
          &TMardexForm::ButtonTournamentResultsClick);
  connect(ButtonAbout, &QPushButton::clicked, this, &TMardexForm::ButtonAboutClick);
  connect(ButtonExit, &QPushButton::clicked, this, &QWidget::close);
  connect(chkbxMax, &QCheckBox::toggled, this, &TMardexForm::chkbxMaxClick);
  connect(TimerBattle, &QTimer::timeout, this, [this] {
    if (controller_) controller_->TimerTick();
  });
}

// The other windows, in their start-up order; each lives as long as this one.
void TMardexForm::CreateWindows() {
  app_.FormExPts = new TFormExPts(app_, this);
  app_.FormOptions = new TFormOptions(app_, this);
  app_.FormResults = new TFormResults(app_, this);
  app_.FormParams = new TFormParams(app_, this);
  app_.FormPSpace = new TFormPSpace(app_, this);
  app_.FormAbout = new TFormAbout(this);
  app_.FormEditCore = new TFormEditCore(app_, this);
  app_.FormEditPSpace = new TFormEditPSpace(app_, this);
  app_.FormEditScore = new TFormEditScore(app_, this);
  app_.FormEditCode = new TFormEditCode(app_, this);
  app_.FormInput = new TFormInput(app_, this);
  app_.FormEditBreakpoint = new TFormEditBreakpoint(app_, this);
  app_.FormBreakpoints = new TFormBreakpoints(app_, this);
}

void TMardexForm::ShowWarriorControls() {
  const auto count = app_.Tournament.WarriorList.size();
  for (size_t i = 0; i < 8; ++i) {
    const bool shown = i < count;
    if (shown) ButtonEdit[i]->setText(QString::fromStdString(app_.Tournament.WarriorList[i].Name));
    ButtonEdit[i]->setVisible(shown);
    GaugeQueue[i]->setVisible(shown);
    LabelQueue[i]->setVisible(shown);
    QPalette palette = LabelQueue[i]->palette();
    palette.setColor(QPalette::Window, QColor(Hex(WarriorPalette[i])));
    LabelQueue[i]->setPalette(palette);
  }
}

void TMardexForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!core_ && !CreateEngine()) close();
}

void TMardexForm::closeEvent(QCloseEvent* event) {
  // A run in progress ends after its batch; the program then ends with this window.
  closing_ = true;
  if (controller_ && controller_->State() == RunState::Running) controller_->StopBattle();
  TimerBattle->stop();
  event->accept();
}

} // namespace velmora
