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
} // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
private slots:
  void enablingFollowsTheRunState_data();
  void enablingFollowsTheRunState();
  void startRunsTheBattleToTheEnd();
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

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
