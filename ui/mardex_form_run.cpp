// The main window as the engine's display and the run controller's window: status texts,
// counters, gauges, the enabling of the controls and the pacing of batches.

#include <QApplication>
#include <QEventLoop>

#include "ui/mardex_form.h"
#include "ui/pspace_form.h"
#include "ui/widgets.h"

namespace velmora {

namespace {

QString Number(int64_t n) {
  return QString::number(n);
}

// Milliseconds of the pause a brake of so many count-down steps stands for: 36 ms before a
// batch at speed 3, 10 ms at speeds 4 and 5, none at 6.
constexpr qint64 kEventIntervalMs = 1;

int32_t DelayMilliseconds(int32_t steps) {
  return steps / 32768;
}

} // namespace

bool TMardexForm::CreateEngine() {
  if (core_) return true;
  app_.Params.NumWarriors = 1;
  core_ = TCore::Create(app_.Params, *this, app_.Platform);
  if (!core_) return false;
  app_.Core = core_.get();
  controller_ = std::make_unique<TRunController>(*core_, app_.Tournament, *this);
  core_->DisplayLevel = app_.Params.DisplayLevel;
  core_->EarlyDrawCheck = app_.Params.EarlyDrawCheck;
  core_->History.SetLimit(app_.HistoryBytes);
  display_->SetCoreSizeMax(core_->CoreSizeMax);
  controller_->SetRunState(RunState::Idle);
  return true;
}

// --- TCustomMardexForm ----------------------------------------------------------------------

void TMardexForm::ColorPixel(int32_t Address, int32_t Color, int32_t Kind, bool Highlight) {
  display_->ColorPixel(Address, Color, Kind, Highlight);
}

void TMardexForm::ColorPixels(const TPixelEvent* events, size_t count) {
  display_->ColorPixels(events, count);
}

int32_t TMardexForm::GetRounds() {
  return app_.Tournament.Rec.Rounds;
}

void TMardexForm::InitScreenInfo(bool Full) {
  const TTournament& tour = app_.Tournament;
  // Even at Max speed: a click on the display must know where this round's core ends.
  display_->SetCoreSize(core_->CoreSize);
  if (core_->MaxSpeed && !Full) {
    // A round at Max can take less time than painting its number, and painting the window
    // costs milliseconds: the counters are shown 4 times a second, and always when the run
    // stops.
    if (FrameDue(250)) ShowRoundCounters();
    return;
  }
  app_.Tournament.TotalRounds = tour.MatchupCount() * int64_t{tour.Rec.Rounds};
  if (!core_->MaxSpeed && core_->DisplayLevel >= 1) display_->PaintOutsideCore(core_->CoreSize);
  // At the top speed short rounds follow each other every millisecond or two, faster than
  // the panel can be painted: a running battle shows it with its next panel. (At Max, where
  // no panels follow, only a new matchup gets here, and is shown at once.)
  if (!core_->MaxSpeed && RunningAtTopSpeed()) {
    infoStale_ = true;
    return;
  }
  ShowScreenInfo();
  // A round set up while the battle stands still is shown at once; during a run, with the
  // next frame.
  if (State() != RunState::Running) ShowDisplay();
  RefreshViews();
}

void TMardexForm::ShowScreenInfo() {
  const TTournament& tour = app_.Tournament;
  infoStale_ = false;
  ShowRoundCounters();
  LabelCoreSizeOutput->setText(Number(core_->CoreSize));
  LabelStatusOutput->setText("Stopped");
  LabelBattleMax->setText(Number(tour.Rec.Rounds));
  LabelMatchupMax->setText(Number(tour.MatchupCount()));
  SetGaugeState(*GaugeCyclesOutput, std::max(core_->MaxCycles, 1), 0, false);
  LabelCycleCount->setText("0");
  LabelBattleLengthOutput->setText(Number(core_->MaxCycles));
  LabelQueueLimitOutput->setText(Number(core_->MaxProcesses));
  LabelQueueLimit->setVisible(true);
  for (int32_t i = 1; i <= 8; ++i)
    SetGauge(i, controller_->GaugeActive(i));
}

void TMardexForm::SetGauge(int32_t gauge, bool active) {
  const auto i = static_cast<size_t>(gauge - 1);
  QProgressBar* bar = GaugeQueue[i];
  QLabel* label = LabelQueue[i];
  SetGaugeState(*bar, active ? std::max(core_->MaxProcesses, 1) : std::max(bar->maximum(), 1), 1,
                active);
  // Restyling a widget costs more than a short round: only when the look changes.
  const QString style = active ? "QProgressBar { background: white; color: green; }"
                               : "QProgressBar { background: #c0c0c0; }";
  if (bar->styleSheet() != style) bar->setStyleSheet(style);
  const QColor colour = active ? QColor::fromRgb(WarriorPalette[i]) : QColor(0x808080);
  if (label->palette().color(QPalette::Window) != colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
  }
  label->setText(active ? " 1" : "");
}

// At the top speed a batch takes well under a frame, and painting the window after each
// would cost more than the battle: a running battle is shown at most 25 times a second,
// however short its rounds. A stop and a breakpoint are always shown at once.
bool TMardexForm::FrameDue(int32_t intervalMs) {
  return Due(sinceFrame_, intervalMs);
}

bool TMardexForm::RunningAtTopSpeed() const {
  return controller_->State() == RunState::Running && controller_->Speed() == 6;
}

bool TMardexForm::Due(QElapsedTimer& since, int32_t intervalMs) {
  if (RunningAtTopSpeed() && since.isValid() && since.elapsed() < intervalMs) return false;
  since.start();
  return true;
}

void TMardexForm::ShowRoundCounters() {
  const MatchupResult* result = app_.Tournament.CurrentResult();
  // Once the last round is recorded the number stays at the last round played.
  const int32_t round = result ? std::min(result->RoundsPlayed + 1, app_.Tournament.Rec.Rounds) : 1;
  LabelBattleOutput->setText(Number(std::max(round, 1)));
  LabelMatchupOutput->setText(Number(app_.Tournament.MatchupNumber));
}

void TMardexForm::UpdateScreenInfo() {
  frameShown_ = FrameDue(40);
  // The panel's gauges cost more to paint than the core: 5 times a second is enough to read.
  frameSkipped_ = !frameShown_ || !Due(sincePanel_, 200);
  if (!frameSkipped_) ShowFrame();
}

void TMardexForm::ShowFrame() {
  frameSkipped_ = false;
  if (infoStale_) ShowScreenInfo();
  SetGaugeValue(*GaugeCyclesOutput, std::min(core_->CycleCount, GaugeCyclesOutput->maximum()));
  LabelCycleCount->setText(Number(core_->CycleCount));
  ShowRoundCounters();
  LabelStatusOutput->setText(QString::fromStdString(controller_->StatusText()));
  for (const auto& g : controller_->ProcessGauges()) {
    const auto i = static_cast<size_t>(g.Gauge - 1);
    SetGaugeValue(*GaugeQueue[i], std::min(g.Processes, GaugeQueue[i]->maximum()));
    LabelQueue[i]->setText(" " + Number(g.Processes));
  }
  RefreshViews();
}

// --- TRunView -------------------------------------------------------------------------------

void TMardexForm::RunStateChanged(RunState state) {
  const bool idle = state == RunState::Idle, stopped = state == RunState::Stopped;
  const bool running = state == RunState::Running, complete = state == RunState::Complete;
  if (!running) TimerBattle->stop();
  if (!running && core_) ShowStandingPanel(idle);
  if (!running) {
    ShowDisplay();
    ChooseDrawing(TrackBarSpeed->value() == 6, false);
  }
  ButtonParams->setEnabled(!running);
  ButtonNewBattle->setEnabled(stopped || complete);
  ButtonStop->setEnabled(running);
  ButtonStart->setEnabled(stopped);
  ButtonSingleStep->setEnabled(stopped);
  UpdateStepBackButtons();
  // A battle that stopped on an error keeps the results of the matchups it played.
  ButtonTournamentResults->setEnabled(!idle || (controller_ && controller_->ResultsReachable()));
  ButtonView->setEnabled(!idle);
  ButtonViewPSpace->setEnabled(!idle);
  for (QPushButton* b : ButtonEdit)
    b->setEnabled(!running);
  QPushButton* focus = idle      ? ButtonParams
                       : stopped ? ButtonStart
                       : running ? ButtonStop
                                 : ButtonTournamentResults;
  focus->setFocus();
}

// Once the battle stands still the panel tells its true state: the round as the engine has
// it (also after a run at Max, which paints no panels), or, when nothing could be set up,
// no warrior at work.
void TMardexForm::ShowStandingPanel(bool idle) {
  if (idle) {
    if (app_.Tournament.WarriorList.empty()) return;
    infoStale_ = frameSkipped_ = false;
    SetGaugeState(*GaugeCyclesOutput, std::max(core_->MaxCycles, 1), 0, false);
    LabelCycleCount->setText("0");
    for (int32_t i = 1; i <= 8; ++i)
      SetGauge(i, false);
    ShowRoundCounters();
    LabelStatusOutput->setText("Idle");
    return;
  }
  if (infoStale_) ShowScreenInfo();
  const bool panelBehind = frameSkipped_ || core_->MaxSpeed || core_->DisplayLevel < 1;
  if (panelBehind && core_->RoundState != kRoundIdle)
    ShowFrame();
  else if (app_.Tournament.CurrentResult())
    ShowRoundCounters();
}

void TMardexForm::ClearDisplay() {
  display_->ClearDisplay();
}
// After every batch at the top speed; painted only with the status, at most 25 times a second.
void TMardexForm::RepaintDisplay() {
  if (frameShown_) ShowDisplay();
}

void TMardexForm::ShowDisplay() {
  if (display_->Mirror() && core_)
    display_->MirrorCore(core_->Core.data(), core_->CoreSize,
                         core_->RoundState != kRoundIdle ? core_->NextInstructions()
                                                         : std::vector<int32_t>{});
  display_->RepaintDisplay();
}

// While a battle runs at the top speed the display mirrors the core's Markers once a frame,
// and the engine collects no events for it. A stopped battle draws its events again, so
// that the debugger's highlights and their erasing show as they come.
void TMardexForm::ChooseDrawing(bool fast, bool running) {
  display_->SetFastDrawing(fast);
  const bool mirror = fast && running && core_ && core_->DisplayLevel >= 1 && display_->CanMirror();
  if (mirror != display_->Mirror()) {
    // Leaving: the picture catches up with the Markers before events are drawn again.
    if (!mirror) ShowDisplay();
    display_->SetMirror(mirror);
  }
  if (core_) core_->CollectPixels = !display_->Mirror();
}
void TMardexForm::ShowStatus(const std::string& text) {
  LabelStatusOutput->setText(QString::fromStdString(text));
}

// Between two batches. At the top speed a batch can take a few microseconds and asking the
// window system costs tens of them, so the window asks at most once a millisecond: a
// click still takes effect long before a user could tell.
void TMardexForm::ProcessPendingEvents() {
  if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs) return;
  QApplication::processEvents();
  sinceEvents_.start();
}

int32_t TMardexForm::SpeedPosition() {
  const int32_t p = TrackBarSpeed->value();
  ChooseDrawing(p == 6, State() == RunState::Running);
  return p;
}

void TMardexForm::SetTimer(bool enabled, int32_t intervalMs) {
  if (!enabled) {
    TimerBattle->stop();
    return;
  }
  TimerBattle->setInterval(intervalMs);
  if (!TimerBattle->isActive()) TimerBattle->start();
}

// A real pause instead of a count-down loop that an optimiser deletes: the window keeps
// handling events meanwhile, so Stop takes effect before the next batch.
void TMardexForm::Delay(int32_t steps) {
  const int32_t ms = DelayMilliseconds(steps);
  if (ms <= 0) return;
  QEventLoop pause;
  QTimer::singleShot(ms, &pause, &QEventLoop::quit);
  pause.exec();
}

void TMardexForm::MatchupLoaded(bool compiled) {
  if (compiled) display_->RebuildGlyphs(app_.Tournament.WarriorColours);
  // The P-space window lists the new warriors.
  if (compiled && app_.FormPSpace) app_.FormPSpace->FormShow();
  RefreshViews();
}

void TMardexForm::RefreshViews() {
  UpdateStepBackButtons();
  emit ViewsRefreshRequested();
}

} // namespace velmora
