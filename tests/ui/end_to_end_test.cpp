// A user's whole tournament through the windows: Setup, Start at Max, the results window
// and its report, which must match the command line's for the same settings.

#include <QtTest>

#include <sstream>

#include "cli/app.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/mardex_form.h"
#include "ui/params_form.h"
#include "ui/results_form.h"

using namespace velmora;

namespace {

std::string Example(const char* name) {
  return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class EndToEndTest : public QObject {
  Q_OBJECT
private slots:
  void tournamentReportMatchesTheCommandLine();
};

void EndToEndTest::tournamentReportMatchesTheCommandLine() {
  QTemporaryDir dir;
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TMardexForm form(app);
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QCOMPARE(form.State(), RunState::Idle);

  // Setup: add two examples, a round robin of 20 rounds with a fixed seed, OK.
  platform.FileNames = {Example("dwarf.red"), Example("paper.red")};
  bool confirmed = false;
  QTimer::singleShot(0, &form, [&] {
    TFormParams& setup = *app.FormParams;
    QVERIFY(setup.isVisible());
    setup.ButtonAddFiles->click();
    setup.ButtonAddFiles->click();
    setup.RadioButtonRoundRobin->click();
    setup.EditNumBattles->setText("20");
    setup.EditNumBattlesExit();
    setup.RadioButtonFixedSeed->click();
    setup.EditFixedSeed->setText("4321");
    setup.EditFixedSeedExit();
    setup.ButtonOK->click();
    confirmed = !setup.isVisible();
  });
  form.ButtonParams->click();
  QVERIFY(confirmed);
  QCOMPARE(app.Tournament.WarriorList.size(), size_t(2));
  QCOMPARE(form.State(), RunState::Stopped);
  QCOMPARE(form.LabelBattleMax->text(), QString("20"));

  // Start at Max and wait for the end of the tournament.
  form.chkbxMax->click();
  form.ButtonStart->click();
  QTRY_COMPARE(form.State(), RunState::Complete);
  QCOMPARE(platform.Messages.back(), std::string("Tournament complete."));
  QCOMPARE(form.focusWidget(), form.ButtonTournamentResults);

  // The results window saves its report.
  const QString saved = dir.filePath("window.txt");
  platform.FileNames = {saved.toStdString()};
  QTimer::singleShot(0, &form, [&] {
    TFormResults& results = *app.FormResults;
    results.ButtonSave->click();
    results.ButtonResultsClose->click();
  });
  form.ButtonTournamentResults->click();
  const QByteArray window = ReadAll(saved);
  QVERIFY(!window.isEmpty());

  // The command line with the same settings.
  const QString cliReport = dir.filePath("cli.txt");
  std::ostringstream out, err;
  const int status =
      cli::RunCli({"--type", "round-robin", "--rounds", "20", "--seed", "4321", "--report",
                   cliReport.toStdString(), "-q", Example("dwarf.red"), Example("paper.red")},
                  out, err, false);
  QCOMPARE(status, 0);
  QCOMPARE(window, ReadAll(cliReport));
}

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
