// The main window: the enabling of its controls per run state, and battles driven by its
// buttons.

#include <QtTest>

#include "tests/ui/support/scripted_platform.h"
#include "ui/mardex_form.h"

using namespace velmora;

namespace {

std::string Example(const char* name) {
  return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
}

// A shown main window with its own scripted platform.
struct Window {
  test::TScriptedPlatform Platform;
  TVelmoraApp App{Platform};
  TMardexForm Form{App};
  Window() {
    Form.show();
    if (!QTest::qWaitForWindowActive(&Form)) qWarning("the main window did not become active");
  }
  int32_t Cycles() const { return App.Core->CycleCount; }
  int32_t RoundsPlayed() const { return App.Tournament.CurrentResult()->RoundsPlayed; }
};

std::string WriteFile(const QTemporaryDir& dir, const char* name, const char* text) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(text);
  return path.toStdString();
}

} // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
private slots:
  void enablingFollowsTheRunState_data();
  void enablingFollowsTheRunState();
  void startRunsTheBattleToTheEnd();
  void pauseBetweenRoundsWaitsForStart();
  void breakpointStopsTheRun();
  void singleStepAndNewBattle();
  void slowSpeedsRunFromTheTimer();
  void stopEndsARunBetweenBatches();
  void maxMovesTheSpeedAndBack();
  void openingNothingLeavesTheWindowIdle();
  void maxShowsTheCountersWhenTheRunEnds();
  void topSpeedShowsTheLastRoundWhenTheRunEnds();
  void topSpeedPaintsThePanelAFewTimesASecond();
  void topSpeedPictureMatchesEventByEvent_data();
  void topSpeedPictureMatchesEventByEvent();
  void tenWarriorsShowEightButtons();
  void unchangedSizesKeepTheirMemory();
  void statusNamesTheOutcome_data();
  void statusNamesTheOutcome();
};

void MainWindowTest::enablingFollowsTheRunState_data() {
  QTest::addColumn<int>("state");
  // Setup, New Battle, Stop, Start, Single Step, Show Results, View Core, Warrior 1; focus.
  QTest::addColumn<QString>("enabled");
  QTest::addColumn<QString>("focus");
  QTest::newRow("Idle") << 0 << "10000001"
                        << "Setup";
  QTest::newRow("Stopped") << 1 << "11011111"
                           << "Start";
  QTest::newRow("Running") << 2 << "00100110"
                           << "Stop";
  QTest::newRow("Complete") << 3 << "11000111"
                            << "Show Results";
}

void MainWindowTest::enablingFollowsTheRunState() {
  QFETCH(int, state);
  QFETCH(QString, enabled);
  QFETCH(QString, focus);
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TMardexForm form(app);
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  form.Controller().SetRunState(static_cast<RunState>(state));
  const QPushButton* buttons[] = {
      form.ButtonParams,     form.ButtonNewBattle,         form.ButtonStop, form.ButtonStart,
      form.ButtonSingleStep, form.ButtonTournamentResults, form.ButtonView, form.ButtonEdit[0]};
  QString seen;
  for (const QPushButton* b : buttons)
    seen += b->isEnabled() ? '1' : '0';
  QCOMPARE(seen, enabled);
  QCOMPARE(form.ButtonViewPSpace->isEnabled(), form.ButtonView->isEnabled());
  QVERIFY(QApplication::focusWidget());
  QCOMPARE(static_cast<QPushButton*>(QApplication::focusWidget())->text(), focus);
  QVERIFY(!form.TimerBattle->isActive());
}

void MainWindowTest::startRunsTheBattleToTheEnd() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TMardexForm form(app);
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  form.OpenWarriorFiles({Example("imp.red"), Example("dwarf.red")});
  QCOMPARE(form.State(), RunState::Stopped);
  QCOMPARE(form.LabelTournamentTypeOutput->text(), QString("Round Robin"));
  QVERIFY(form.ButtonEdit[1]->isVisible());
  QVERIFY(!form.ButtonEdit[2]->isVisible());
  QTest::mouseClick(form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(form.State(), RunState::Complete);
  QVERIFY(form.LabelStatusOutput->text().startsWith("Won by") ||
          form.LabelStatusOutput->text() == "Drawn");
  QCOMPARE(app.Tournament.CurrentResult()->RoundsPlayed, 1);
}

void MainWindowTest::pauseBetweenRoundsWaitsForStart() {
  Window w;
  w.App.Setup.PauseBetweenRounds = true;
  w.App.Setup.RoundsText = "3";
  w.Form.OpenWarriorFiles({Example("dwarf.red"), Example("imp.red")});
  QVERIFY(w.App.Tournament.Rec.PauseBetweenRounds);
  w.Form.ButtonStart->click();
  // The round is over and shown, but not yet recorded.
  QCOMPARE(w.Form.State(), RunState::Stopped);
  const QString status = w.Form.LabelStatusOutput->text();
  QVERIFY2(status.startsWith("Won by ") || status == "Drawn", qPrintable(status));
  QCOMPARE(w.RoundsPlayed(), 0);
  QCOMPARE(w.Form.LabelBattleOutput->text(), QString("1"));
  w.Form.ButtonStart->click();
  QCOMPARE(w.RoundsPlayed(), 1);
  QCOMPARE(w.Form.State(), RunState::Stopped);
  QCOMPARE(w.Form.LabelBattleOutput->text(), QString("2"));
}

void MainWindowTest::breakpointStopsTheRun() {
  QTemporaryDir dir;
  const std::string file = WriteFile(dir, "looper.red",
                                     ";redcode-94\n;name Looper\n;debug\n"
                                     "start   nop.f   0, 0\n"
                                     ";break\n"
                                     "        jmp.a   start\n");
  Window w;
  w.App.Setup.SecondPosition = 4000;
  w.App.Setup.FixedPositionText = "4000";
  w.App.Params.SecondPosition = 4000;
  w.Form.OpenWarriorFiles({file, Example("imp.red")});
  QCOMPARE(w.Form.State(), RunState::Stopped);
  w.Form.ButtonStart->click();
  QCOMPARE(w.Form.State(), RunState::Stopped);
  QVERIFY(!w.App.Core->HitList.empty());
  const int32_t hit = w.App.Core->HitList.front();
  QCOMPARE(w.App.Core->Core[size_t(hit)].BreakpointType != 0, true);
  QCOMPARE(w.Form.LabelStatusOutput->text(), QString("Stopped at breakpoint @ %1").arg(hit));
  QVERIFY(w.Form.ButtonStart->isEnabled());
  // The breakpoint sits in a two-instruction loop: the run stops after the batch in which
  // it fired, well before the round's end.
  QVERIFY(w.Cycles() < w.App.Core->MaxCycles);
}

void MainWindowTest::singleStepAndNewBattle() {
  Window w;
  w.Form.OpenWarriorFiles({Example("dwarf.red"), Example("imp.red")});
  w.Form.ButtonSingleStep->click();
  w.Form.ButtonSingleStep->click();
  QCOMPARE(w.Cycles(), 2);
  QCOMPARE(w.Form.LabelCycleCount->text(), QString("2"));
  QCOMPARE(w.Form.State(), RunState::Stopped);
  QCOMPARE(w.Form.LabelStatusOutput->text(), QString("Stopped"));
  w.Form.ButtonNewBattle->click();
  QCOMPARE(w.Cycles(), 0);
  QCOMPARE(w.Form.LabelCycleCount->text(), QString("0"));
  QCOMPARE(w.RoundsPlayed(), 0);
  QCOMPARE(w.Form.State(), RunState::Stopped);
}

void MainWindowTest::slowSpeedsRunFromTheTimer() {
  Window w;
  w.Form.OpenWarriorFiles({Example("dwarf.red"), Example("imp.red")});
  w.Form.TrackBarSpeed->setValue(0);
  w.Form.ButtonStart->click();
  // Nothing runs inside the Start handler; the timer carries the battle, a cycle a tick.
  QCOMPARE(w.Cycles(), 0);
  QCOMPARE(w.Form.State(), RunState::Running);
  QVERIFY(w.Form.TimerBattle->isActive());
  QCOMPARE(w.Form.TimerBattle->interval(), 250);
  w.Form.TrackBarSpeed->setValue(2);
  QTRY_VERIFY(w.Cycles() >= 2);
  QCOMPARE(w.Form.TimerBattle->interval(), 1);
  w.Form.ButtonStop->click();
  QVERIFY(!w.Form.TimerBattle->isActive());
  const int32_t stoppedAt = w.Cycles();
  QTest::qWait(20);
  QCOMPARE(w.Cycles(), stoppedAt);
}

void MainWindowTest::stopEndsARunBetweenBatches() {
  Window w;
  w.App.Setup.RoundsText = "50";
  w.Form.OpenWarriorFiles({Example("paper.red"), Example("paper.red")});
  w.Form.TrackBarSpeed->setValue(3);
  // Speed 3 pauses before every batch of 5 cycles; Stop, clicked during the run, ends it
  // after at most one more batch.
  QTimer::singleShot(100, w.Form.ButtonStop, [&] {
    QVERIFY(w.Form.ButtonStop->isEnabled());
    w.Form.ButtonStop->click();
  });
  w.Form.ButtonStart->click();
  QCOMPARE(w.Form.State(), RunState::Stopped);
  QCOMPARE(w.Form.LabelStatusOutput->text(), QString("Stopped"));
  QVERIFY(w.Cycles() > 0);
  QCOMPARE(w.Cycles() % 5, 0);
  QCOMPARE(w.RoundsPlayed(), 0);
}

void MainWindowTest::maxMovesTheSpeedAndBack() {
  Window w;
  w.Form.TrackBarSpeed->setValue(3);
  w.Form.chkbxMax->setChecked(true);
  QCOMPARE(w.Form.TrackBarSpeed->value(), 6);
  QVERIFY(w.App.Core->MaxSpeed);
  w.Form.chkbxMax->setChecked(false);
  QCOMPARE(w.Form.TrackBarSpeed->value(), 3);
  QVERIFY(!w.App.Core->MaxSpeed);
}

void MainWindowTest::openingNothingLeavesTheWindowIdle() {
  Window w;
  w.Form.OpenWarriorFiles({"/nonexistent/warrior.red"});
  QCOMPARE(w.Form.State(), RunState::Idle);
  QVERIFY(!w.Platform.Messages.empty());
  QVERIFY(!w.Form.ButtonEdit[0]->isVisible());
  w.Form.ButtonTournamentResults->setEnabled(true);
  w.Form.ButtonTournamentResults->click();
  QCOMPARE(w.Platform.Messages.back(), std::string("Tournament not yet set up"));
}

// Painting the panel's gauges takes longer than a short round: at the top speed a run of
// many rounds paints them a few times a second, not once a round.
void MainWindowTest::topSpeedPaintsThePanelAFewTimesASecond() {
  struct PaintCounter : QObject {
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      Paints += event->type() == QEvent::Paint;
      return false;
    }
  } counter;
  Window w;
  w.App.Setup.RoundsText = "300";
  w.App.Setup.MaxCyclesText = "300";
  w.Form.OpenWarriorFiles({Example("dwarf.red"), Example("paper.red")});
  w.Form.TrackBarSpeed->setValue(6);
  QCoreApplication::processEvents();
  w.Form.GaugeCyclesOutput->installEventFilter(&counter);
  w.Form.GaugeQueue[1]->installEventFilter(&counter); // paper's, which splits
  w.Form.LabelBattleOutput->installEventFilter(&counter);
  QElapsedTimer clock;
  clock.start();
  w.Form.ButtonStart->click();
  QTRY_COMPARE(w.Form.State(), RunState::Complete);
  const double seconds = double(clock.elapsed()) / 1000;
  QCOMPARE(w.RoundsPlayed(), 300);
  QVERIFY2(counter.Paints <= 8 + int(40 * seconds),
           qPrintable(QString("%1 paints in %2 s").arg(counter.Paints).arg(seconds)));
}

// At the top speed short rounds are painted at most once a frame; when the run ends the
// panel shows the last round as it stands, core size, cycles and gauges.
void MainWindowTest::topSpeedShowsTheLastRoundWhenTheRunEnds() {
  Window w;
  w.App.Setup.RoundsText = "40";
  w.App.Setup.RandomCoreSize = true;
  w.App.Setup.MinCoreSizeText = "4000";
  w.Form.OpenWarriorFiles({Example("dwarf.red"), Example("paper.red")});
  w.Form.TrackBarSpeed->setValue(6);
  w.Form.ButtonStart->click();
  QTRY_COMPARE(w.Form.State(), RunState::Complete);
  QCOMPARE(w.RoundsPlayed(), 40);
  const TCore& core = *w.App.Core;
  QCOMPARE(w.Form.LabelBattleOutput->text(), QString("40"));
  QCOMPARE(w.Form.LabelCoreSizeOutput->text(), QString::number(core.CoreSize));
  QCOMPARE(w.Form.LabelCycleCount->text(), QString::number(core.CycleCount));
  QCOMPARE(w.Form.GaugeCyclesOutput->value(), core.CycleCount);
  for (int k = 1; k <= 2; ++k) {
    const TWarrior& warrior = *core.Warriors[static_cast<size_t>(k)];
    QCOMPARE(w.Form.GaugeQueue[static_cast<size_t>(k - 1)]->value(),
             warrior.Alive ? std::max(warrior.ProcessCount, 1) : 1);
  }
  QVERIFY(w.Form.LabelStatusOutput->text().startsWith("Won by") ||
          w.Form.LabelStatusOutput->text() == "Drawn");

  // Stopped, the display draws what it is told again: a highlight outlives the next repaint.
  TCoreDisplay& display = w.Form.Display();
  const auto redPixels = [&](int32_t address) {
    const auto cell = display.Geometry().CellOf(address);
    const int32_t c = display.Geometry().CellSize();
    int count = 0;
    for (int y = 0; y < c; ++y)
      for (int x = 0; x < c; ++x)
        count += display.Image(cell->Image).pixel(cell->X + x, cell->Y + y) == 0xFFFF0000u;
    return count;
  };
  int32_t address = 0;
  while (redPixels(address) > 0)
    ++address;
  display.ColorPixel(address, 1, 1, true);
  w.Form.RepaintDisplay();
  QVERIFY(redPixels(address) > 0);
}

// At the top speed the display copies the cells' Markers once a frame instead of drawing
// every event; the picture must come out as drawing every event makes it at speed 5.
void MainWindowTest::topSpeedPictureMatchesEventByEvent_data() {
  QTest::addColumn<bool>("circular");
  QTest::addColumn<int>("level");
  QTest::newRow("circular, every event") << true << 5;
  QTest::newRow("rectangular, every event") << false << 5;
  QTest::newRow("circular, executions and writes") << true << 2;
}

void MainWindowTest::topSpeedPictureMatchesEventByEvent() {
  QFETCH(bool, circular);
  QFETCH(int, level);
  QImage pictures[2][kDisplayImageCount];
  for (int run = 0; run < 2; ++run) {
    Window w;
    w.App.Setup.MaxCyclesText = "1000";
    w.App.Setup.RoundsText = "2";
    w.App.Setup.SeedMode = 0;
    w.App.Setup.FixedSeedText = "77";
    w.App.Setup.DisplayLevel = level;
    w.App.Setup.CircularDisplay = circular;
    w.Form.OpenWarriorFiles({Example("dwarf.red"), Example("paper.red")});
    w.Form.TrackBarSpeed->setValue(run == 0 ? 6 : 5);
    w.Form.ButtonStart->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.Form.State(), RunState::Complete, 20000);
    // The top speed copied the Markers; speed 5 drew every event.
    QCOMPARE(w.Form.Display().MirrorCopies() > 0, run == 0);
    QVERIFY(!w.Form.Display().Mirror());
    QVERIFY(w.App.Core->CollectPixels);
    for (int i = 1; i <= kDisplayImageCount; ++i)
      pictures[run][i - 1] = w.Form.Display().Image(i);
  }
  for (int i = 0; i < kDisplayImageCount; ++i)
    QVERIFY2(pictures[0][i] == pictures[1][i], qPrintable(QString("image %1").arg(i + 1)));
}

void MainWindowTest::maxShowsTheCountersWhenTheRunEnds() {
  Window w;
  w.App.Setup.RoundsText = "7";
  w.Form.OpenWarriorFiles({Example("dwarf.red"), Example("stone.red")});
  w.Form.chkbxMax->setChecked(true);
  w.Form.ButtonStart->click();
  QCOMPARE(w.Form.State(), RunState::Complete);
  QCOMPARE(w.RoundsPlayed(), 7);
  QCOMPARE(w.Form.LabelBattleOutput->text(), QString("7"));
  QCOMPARE(w.Form.LabelBattleMax->text(), QString("7"));
  QCOMPARE(w.Platform.Messages.back(), std::string("Tournament complete."));
  QCOMPARE(QApplication::focusWidget(), w.Form.ButtonTournamentResults);
}

void MainWindowTest::statusNamesTheOutcome_data() {
  QTest::addColumn<QStringList>("sources"); // warriors written for the case
  QTest::addColumn<QString>("status");
  const QString suicide = ";name Suicide\n        dat.f   #0, #0\n";
  const QString looper = ";name Looper\nloop    jmp.a   loop\n";
  QTest::newRow("one warrior dies") << QStringList{suicide} << "Lost by Suicide";
  QTest::newRow("one of two dies") << QStringList{suicide, looper} << "Won by Looper";
  QTest::newRow("neither dies") << QStringList{looper, looper} << "Drawn";
}

void MainWindowTest::statusNamesTheOutcome() {
  QFETCH(QStringList, sources);
  QFETCH(QString, status);
  QTemporaryDir dir;
  std::vector<std::string> files;
  for (int i = 0; i < sources.size(); ++i)
    files.push_back(WriteFile(dir, qPrintable(QString("w%1.red").arg(i)), qPrintable(sources[i])));
  Window w;
  w.App.Setup.PauseBetweenRounds = true;
  w.Form.OpenWarriorFiles(files);
  w.App.Core->MaxCycles = 500;
  w.Form.TrackBarSpeed->setValue(5);
  w.Form.ButtonStart->click();
  QCOMPARE(w.Form.State(), RunState::Stopped);
  QCOMPARE(w.Form.LabelStatusOutput->text(), status);
}

void MainWindowTest::tenWarriorsShowEightButtons() {
  Window w;
  const std::vector<std::string> files(10, Example("imp.red"));
  w.Form.OpenWarriorFiles(files);
  QCOMPARE(w.App.Tournament.WarriorList.size(), size_t(10));
  QCOMPARE(w.Form.LabelTournamentTypeOutput->text(), QString("Melee"));
  for (size_t i = 0; i < 8; ++i) {
    QVERIFY(w.Form.ButtonEdit[i]->isVisible());
    QVERIFY(w.Form.GaugeQueue[i]->isVisible());
    QCOMPARE(w.Form.LabelQueue[i]->text(), QString(" 1"));
  }
  QCOMPARE(w.App.Core->NumWarriors, 10);
}

void MainWindowTest::unchangedSizesKeepTheirMemory() {
  Window w;
  w.Form.OpenWarriorFiles({Example("dwarf.red"), Example("imp.red")});
  const CoreCell* core = w.App.Core->Core.data();
  const int32_t* queue = w.App.Core->QueueMemory.data();
  w.Form.ApplySetup(w.App.Params.CoreSizeMax, w.App.Core->QueueBlockSize);
  QCOMPARE(w.App.Core->Core.data(), core);
  QCOMPARE(w.App.Core->QueueMemory.data(), queue);
  // A larger core and process limit take new blocks of the new sizes.
  const int32_t oldSize = w.App.Params.CoreSizeMax;
  const int64_t oldQueue = w.App.Core->QueueBlockSize;
  w.App.Params.CoreSizeMax = 8192;
  w.App.Params.CoreSizeMin = 8192;
  w.App.Params.MaxProcesses = 100;
  w.Form.ApplySetup(oldSize, oldQueue);
  QCOMPARE(w.App.Core->Core.size(), size_t(8192));
  QCOMPARE(w.App.Core->QueueBlockSize, int32_t(101 * 2 * 4));
  QCOMPARE(w.Form.State(), RunState::Stopped);
  QCOMPARE(w.Form.LabelCoreSizeOutput->text(), QString("8192"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
