#pragma once
// TMardexForm, the main window: it owns the engine, drives battles through the run
// controller, shows the battle information, the process gauges and the core display, and
// opens every other window.

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

#include "engine/mardex_form.h"
#include "tournament/run_controller.h"
#include "ui/app.h"
#include "ui/core_display.h"

namespace velmora {

class TFormView;
class TFormTune;

class TMardexForm : public QWidget, public TCustomMardexForm, public TRunView {
  Q_OBJECT
public:
  explicit TMardexForm(TVelmoraApp& app, QWidget* parent = nullptr);
  ~TMardexForm() override;

  // --- The engine's display (TCustomMardexForm) ------------------------------------------
  void ColorPixel(int32_t Address, int32_t Color, int32_t Kind, bool Highlight) override;
  void ColorPixels(const TPixelEvent* events, size_t count) override;
  void UpdateScreenInfo() override;
  void InitScreenInfo(bool Full) override;
  int32_t GetRounds() override;

  // --- The run controller's window (TRunView) ---------------------------------------------
  void RunStateChanged(RunState state) override;
  void ClearDisplay() override;
  void RepaintDisplay() override;
  void ShowStatus(const std::string& text) override;
  void ProcessPendingEvents() override;
  int32_t SpeedPosition() override;
  void SetTimer(bool enabled, int32_t intervalMs) override;
  void Delay(int32_t steps) override;
  void MatchupLoaded(bool compiled) override;

  // Creates the engine from the parameter record; false (message shown) when it cannot.
  // The first showing does this; tests may call it before.
  bool CreateEngine();
  // Steps 3 to 11 of confirming Setup: the record into the engine, the core and queue block
  // re-allocated when their sizes changed, the warrior buttons, then a new battle.
  void ApplySetup(int32_t oldCoreSizeMax, int64_t oldQueueBytes);
  // Puts warrior files and lists in the warrior list and sets up the first round, as if
  // they had been added in Setup and confirmed.
  void OpenWarriorFiles(const std::vector<std::string>& paths);
  // Rearranges the window for the display topology and stores it in the parameter record;
  // a change clears the display and, once the engine exists, redraws the glyphs and the
  // positions beyond the core.
  void ApplyTopology(bool circular);
  // Redraws the open core views and the P-space window.
  void RefreshViews();
  // A debugger edit changed the round outside its cycles: the cycles before it can no longer
  // be undone, and the status says so.
  void RoundEdited();
  // Bytes the step-back history of a round may hold; 0 turns stepping back off.
  void SetHistoryLimit(int64_t bytes);
  // The breakpoint editor for one address, its result applied to the cells.
  void EditBreakpointAt(int32_t location, int32_t type);
  // Shows the most recent core view (or a new one) at an address.
  void ShowCellInView(int32_t address);

  // --- Core views (bookkeeping in mardex_form_debugger.cpp) ------------------------------
  // Opens and shows a new core view, which becomes LastCoreView.
  TFormView* OpenCoreView();
  void CoreViewActivated(TFormView* view);
  // A closing view: its place is remembered for the next one, LastCoreView moves on.
  void CoreViewClosing(TFormView* view);
  // A view that is going away, closed or not.
  void ForgetCoreView(TFormView* view);
  std::vector<TFormView*> CoreViews;
  TFormView* LastCoreView = nullptr;
  int32_t ViewLeft = 620, ViewTop = 190;

  TRunController& Controller() { return *controller_; }
  TCoreDisplay& Display() { return *display_; }
  RunState State() const { return controller_ ? controller_->State() : RunState::Idle; }

  // The controls, named as the windows' tests and the debugger windows refer to them.
  QPushButton *ButtonStart, *ButtonStop, *ButtonSingleStep, *ButtonNewBattle;
  // Undo the last cycle; undo cycles back to one in which a breakpoint fires.
  QPushButton *ButtonStepBack, *ButtonBackToBreakpoint;
  QPushButton *ButtonView, *ButtonViewPSpace, *ButtonParams, *ButtonOptions;
  QPushButton *ButtonTournamentResults, *ButtonAbout, *ButtonExit;
  std::array<QPushButton*, 8> ButtonEdit;
  QSlider* TrackBarSpeed;
  QCheckBox* chkbxMax;
  QLabel *LabelCoreSizeOutput, *LabelBattleLengthOutput, *LabelStatusOutput, *LabelCycleCount;
  QLabel *LabelTournamentTypeOutput, *LabelBattleOutput, *LabelBattleMax;
  QLabel *LabelMatchupOutput, *LabelMatchupMax, *LabelQueueLimit, *LabelQueueLimitOutput;
  QProgressBar* GaugeCyclesOutput;
  std::array<QProgressBar*, 8> GaugeQueue;
  std::array<QLabel*, 8> LabelQueue;
  QTimer* TimerBattle;
  // The Tune window of the warrior buttons' menu; made at its first use.
  TFormTune* FormTune = nullptr;
  // The warrior buttons' menu: Edit, Tune.
  void WarriorMenu(int32_t k, const QPoint& at);
  // Opens the Tune window on list warrior k (0-based).
  void TuneWarrior(int32_t k);

signals:
  // Every open core view and the P-space window redraw their lines.
  void ViewsRefreshRequested();

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Shift+F7 steps back, Shift+F8 goes back to a breakpoint, wherever the focus is.
  void keyPressEvent(QKeyEvent* event) override;

private:
  void BuildControls();
  QWidget* BuildInfoPanel();
  void CreateWindows();
  void ShowWarriorControls();
  void SetGauge(int32_t gauge, bool active);
  void ShowNotYetAvailable(const char* what);

  // Step Back (one cycle) and Back to Breakpoint.
  void StepBack(bool toBreakpoint);
  // The step-back buttons are enabled while a stopped round has cycles to undo.
  void UpdateStepBackButtons();
  // Draws every cell as its Marker says, then the warriors' next instructions.
  void RedrawCore();
  void ButtonParamsClick();
  void ButtonEditClick(int32_t k);
  // The warrior editor on copy; OK puts it in place of list warrior k and starts anew.
  void EditWarrior(int32_t k, TWarriorData copy);
  void ButtonViewClick();
  void ButtonViewPSpaceClick();
  void ButtonOptionsClick();
  void ButtonTournamentResultsClick();
  void ButtonAboutClick();
  void chkbxMaxClick(bool checked);

  TVelmoraApp& app_;
  std::unique_ptr<TCore> core_;
  std::unique_ptr<TRunController> controller_;
  TCoreDisplay* display_;
  // Whether a running round at the top speed is due to be shown again.
  bool FrameDue(int32_t intervalMs);
  // True when `since` is older than the interval (and restarts it), or when the run may not
  // wait: any speed but 6, or stopped.
  bool Due(QElapsedTimer& since, int32_t intervalMs);
  // A battle running at speed 6: frames and panels are then painted only when due.
  bool RunningAtTopSpeed() const;
  template <class Show> void WithTimerPaused(Show show);
  void ShowRoundCounters();
  // The round's information in the panel: sizes, limits, counters and gauges.
  void ShowScreenInfo();
  // What a frame shows of the running round: cycles, status, process gauges, views.
  void ShowFrame();
  void ShowStandingPanel(bool idle);
  // (ViewLeft, ViewTop) := beside this window, on its screen.
  void PlaceBesideMe(const QWidget& view);
  // Brings the picture up to date and paints it.
  void ShowDisplay();
  void ChooseDrawing(bool fast, bool running);

  QElapsedTimer sinceEvents_;
  QElapsedTimer sinceFrame_;
  QElapsedTimer sincePanel_;
  bool frameShown_ = true;
  // The panel's round information waits for the next frame.
  bool infoStale_ = false;
  // The last batch's counters, status and gauges wait for the next frame.
  bool frameSkipped_ = false;
  int32_t savedSpeed_ = 6;
  bool closing_ = false;
  int32_t tunedWarrior_ = -1;
  bool viewPlaceFree_ = true;    // no open view stands at (ViewLeft, ViewTop)
  bool viewPlaceChosen_ = false; // (ViewLeft, ViewTop) was set beside this window or by a view
};

} // namespace velmora
