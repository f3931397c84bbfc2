// A user's whole tournament through the windows: Setup, Start at Max, the results window
// and its report, which must match the command line's for the same settings.

#include <QtTest>

#include <sstream>

#include "cli/app.h"
#include "tests/ui/support/session.h"
#include "ui/params_form.h"
#include "ui/results_form.h"

using namespace velmora;
using test::Example;

class EndToEndTest : public QObject {
  Q_OBJECT
private slots:
  void tournamentReportMatchesTheCommandLine();
};

void EndToEndTest::tournamentReportMatchesTheCommandLine() {
  QTemporaryDir dir;
  test::TSession s(test::kNoWarriors);
  QCOMPARE(s.form.State(), RunState::Idle);

  // Setup: add two examples, a round robin of 20 rounds with a fixed seed, OK.
  s.platform.FileNames = {Example("dwarf.red"), Example("paper.red")};
  test::InModal<TFormParams>([](TFormParams& setup) {
    QTest::mouseClick(setup.ButtonAddFiles, Qt::LeftButton);
    QTest::mouseClick(setup.ButtonAddFiles, Qt::LeftButton);
    QTest::mouseClick(setup.RadioButtonRoundRobin, Qt::LeftButton);
    setup.EditNumBattles->setFocus();
    setup.EditNumBattles->selectAll();
    QTest::keyClicks(setup.EditNumBattles, "20");
    QTest::mouseClick(setup.RadioButtonFixedSeed, Qt::LeftButton);
    setup.EditFixedSeed->selectAll();
    QTest::keyClicks(setup.EditFixedSeed, "4321");
    QTest::mouseClick(setup.ButtonOK, Qt::LeftButton);
  });
  QTest::mouseClick(s.form.ButtonParams, Qt::LeftButton);
  QVERIFY(!s.app.FormParams->isVisible());
  QCOMPARE(test::Join(s.app.Tournament.WarriorList.size(), s.form.State(),
                      s.form.LabelBattleMax->text()),
           test::Join(2, RunState::Stopped, 20));

  // Start at Max and wait for the end of the tournament.
  QTest::mouseClick(s.form.chkbxMax, Qt::LeftButton);
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(s.form.State(), RunState::Complete);
  QCOMPARE(s.platform.Messages.back(), std::string("Tournament complete."));
  QCOMPARE(s.form.focusWidget(), s.form.ButtonTournamentResults);

  // The results window saves its report.
  const QString saved = dir.filePath("window.txt");
  s.platform.FileNames = {saved.toStdString()};
  test::InModal<TFormResults>([](TFormResults& results) {
    QTest::mouseClick(results.ButtonSave, Qt::LeftButton);
    QTest::mouseClick(results.ButtonResultsClose, Qt::LeftButton);
  });
  QTest::mouseClick(s.form.ButtonTournamentResults, Qt::LeftButton);
  const std::string window = test::FileBytes(saved.toStdString());
  QVERIFY(!window.empty());

  // The command line with the same settings.
  const QString cliReport = dir.filePath("cli.txt");
  std::ostringstream out, err;
  const int status =
      cli::RunCli({"--type", "round-robin", "--rounds", "20", "--seed", "4321", "--report",
                   cliReport.toStdString(), "-q", Example("dwarf.red"), Example("paper.red")},
                  out, err, false);
  QCOMPARE(status, 0);
  QCOMPARE(window, test::FileBytes(cliReport.toStdString()));
}

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
