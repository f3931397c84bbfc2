// The results window: sorting by a heading, the details of one warrior, the percent box,
// changing the score formula, saving the report, and opening from the main window.

#include <QHeaderView>
#include <QtTest>

#include <fstream>
#include <sstream>

#include "assembler/assembler.h"
#include "params/text_file.h"
#include "results/report.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/edit_score_form.h"
#include "ui/mardex_form.h"
#include "ui/results_form.h"

using namespace velmora;

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A tournament of two-warrior battles filled by hand.
struct Results {
  test::TScriptedPlatform Platform;
  TVelmoraApp App{Platform};

  void Warriors(uint8_t type, const std::vector<std::string>& names) {
    TTournament& t = App.Tournament;
    t.WarriorList.clear();
    for (const std::string& name : names) {
      TWarriorData w;
      w.ID = int32_t(t.WarriorList.size()) + 1;
      w.Name = name;
      w.Author = "By " + name;
      t.WarriorList.push_back(w);
    }
    TTournamentRec& rec = t.Rec;
    rec.TournamentType = type;
    rec.WarriorCount = int32_t(names.size());
    rec.WarriorsPerBattle = 2;
    rec.Rounds = 10;
    const size_t rows = type == Challenge ? 1 : names.size();
    rec.Results.assign(rows, std::vector<MatchupResult>(names.size()));
    for (auto& row : rec.Results)
      for (size_t c = 0; c < row.size(); ++c) {
        row[c].Opponent = int32_t(c);
        row[c].SurvivorCounts.assign(2, 0);
      }
  }
  // Row warrior's wins, losses and draws against column's warrior, and the mirror cell.
  void Match(size_t row, size_t column, int32_t wins, int32_t losses, int32_t draws) {
    auto set = [&](size_t r, size_t c, int32_t w, int32_t l) {
      if (r >= App.Tournament.Rec.Results.size()) return;
      MatchupResult& m = App.Tournament.Rec.Results[r][c];
      m.SurvivorCounts = {w, draws};
      m.Losses = l;
      m.RoundsPlayed = w + l + draws;
      m.AverageCycles = 40000;
    };
    set(row, column, wins, losses);
    set(column, row, losses, wins);
  }
  // Alpha wins 6, loses 2 and draws 2 against Beta.
  void AlphaBeta() {
    Warriors(RoundRobin, {"Alpha", "Beta"});
    Match(0, 1, 6, 2, 2);
  }
};

QStringList Column(const QTableWidget* grid, int column) {
  QStringList texts;
  for (int r = 0; r < grid->rowCount(); ++r)
    texts << (grid->item(r, column) ? grid->item(r, column)->text().trimmed() : QString());
  return texts;
}

QString Heading(const QTableWidget* grid, int column) {
  return grid->horizontalHeaderItem(column)->text();
}

void ClickHeading(QTableWidget* grid, int column) {
  QHeaderView* header = grid->horizontalHeader();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class ResultsFormTest : public QObject {
  Q_OBJECT
private slots:
  void headingClicksSort_data();
  void headingClicksSort();
  void detailsShowTheOpponentsSide();
  void percentBoxRescalesOnlyTheOutcomes();
  void formulaFailingForTwoSurvivors();
  void cancelledChangeKeepsTheFormula();
  void challengeDetailsNameTheChallenger();
  void meleeHasNoDetails();
  void saveWritesTheReport();
  void saveAddsTheExtensionAndCancelWritesNothing();
  void mainWindowOpensTheResults();
};

void ResultsFormTest::headingClicksSort_data() {
  QTest::addColumn<QList<int>>("clicks"); // heading columns clicked, in order
  QTest::addColumn<QStringList>("names");
  // alpha: score 120.0, 7 wins, 3 draws; Beta: 130.0, 8 wins, 2 draws; Carl: 185.0, 12, 1.
  QTest::newRow("opens by score, highest first")
      << QList<int>{} << QStringList{"Carl", "Beta", "alpha"};
  QTest::newRow("score once: lowest first")
      << QList<int>{4} << QStringList{"alpha", "Beta", "Carl"};
  QTest::newRow("score twice: highest first")
      << QList<int>{4, 4} << QStringList{"Carl", "Beta", "alpha"};
  QTest::newRow("warrior: A to Z regardless of case")
      << QList<int>{1} << QStringList{"alpha", "Beta", "Carl"};
  QTest::newRow("warrior twice: Z to A")
      << QList<int>{1, 1} << QStringList{"Carl", "Beta", "alpha"};
  QTest::newRow("wins: most first") << QList<int>{1, 6} << QStringList{"Carl", "Beta", "alpha"};
  QTest::newRow("ties: most first") << QList<int>{8} << QStringList{"alpha", "Beta", "Carl"};
}

void ResultsFormTest::headingClicksSort() {
  QFETCH(QList<int>, clicks);
  QFETCH(QStringList, names);
  Results r;
  r.Warriors(RoundRobin, {"alpha", "Beta", "Carl"});
  r.Match(0, 1, 6, 2, 2);
  r.Match(0, 2, 1, 8, 1);
  r.Match(1, 2, 6, 4, 0);
  TFormResults form(r.App);
  form.FormShow();
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  for (int column : clicks)
    ClickHeading(form.StringGridResults, column);
  QCOMPARE(Column(form.StringGridResults, 1), names);
  QCOMPARE(Heading(form.StringGridResults, 1), QString("Warrior"));
  QVERIFY(r.Platform.Messages.empty());
}

void ResultsFormTest::detailsShowTheOpponentsSide() {
  Results r;
  r.AlphaBeta();
  TFormResults form(r.App);
  r.App.Setup.Percent = false;
  form.FormShow();
  QCOMPARE(Column(form.StringGridResults, 1), (QStringList{"Alpha", "Beta"}));
  QCOMPARE(Column(form.StringGridResults, 4), (QStringList{"200.0", "80.0"}));
  QCOMPARE(Column(form.StringGridResults, 5), (QStringList{"80.0", "200.0"}));

  form.ButtonResultsShowClick();
  QVERIFY(form.DetailsShown());
  QCOMPARE(form.LabelResultsTitle->text(), QString("Details for"));
  QCOMPARE(form.ButtonResultsShow->text(), QString("Show Summary"));
  QCOMPARE(Heading(form.StringGridResults, 1), QString("Opponent"));
  QVERIFY(!form.ComboBoxDetailWarrior->isHidden());
  QVERIFY(form.LabelWarriorName->isHidden());
  QCOMPARE(form.ComboBoxDetailWarrior->count(), 2);
  QCOMPARE(form.ComboBoxDetailWarrior->currentText(), QString("Alpha"));
  // Alpha's details: one row, Beta's side of the matchup.
  QCOMPARE(form.StringGridResults->rowCount(), 1);
  QStringList row;
  for (int c = 1; c < 9; ++c)
    row << Column(form.StringGridResults, c)[0];
  QCOMPARE(row, (QStringList{"Beta", "By Beta", "0.50000", "80.0", "200.0", "2", "6", "2"}));

  form.ComboBoxDetailWarrior->setCurrentIndex(1);
  QCOMPARE(form.SelectedWarrior(), 2);
  QCOMPARE(Column(form.StringGridResults, 1), QStringList{"Alpha"});
  QCOMPARE(Column(form.StringGridResults, 4), QStringList{"200.0"});

  form.ButtonResultsShowClick();
  QCOMPARE(form.LabelResultsTitle->text(), QString("Summary"));
  QCOMPARE(Heading(form.StringGridResults, 1), QString("Warrior"));
  QVERIFY(form.ComboBoxDetailWarrior->isHidden());
  QCOMPARE(form.StringGridResults->rowCount(), 2);
}

void ResultsFormTest::percentBoxRescalesOnlyTheOutcomes() {
  Results r;
  r.AlphaBeta();
  TFormResults form(r.App);
  r.App.Setup.Percent = false;
  form.FormShow();
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.ButtonResultsShowClick();
  form.ComboBoxDetailWarrior->setCurrentIndex(1);
  QCOMPARE(Heading(form.StringGridResults, 6), QString("     Wins"));
  auto texts = [&](int from, int to) {
    QStringList t;
    for (int c = from; c < to; ++c)
      t << form.StringGridResults->item(0, c)->text().trimmed();
    return t;
  };
  const QStringList before = texts(0, 6);
  QCOMPARE(texts(6, 9), (QStringList{"6", "2", "2"}));

  QTest::mouseClick(form.CheckBoxPercent, Qt::LeftButton);
  QVERIFY(form.CheckBoxPercent->isChecked());
  QVERIFY(r.App.Setup.Percent);
  QCOMPARE(form.SelectedWarrior(), 2);
  QCOMPARE(texts(0, 6), before);
  QCOMPARE(texts(6, 9), (QStringList{"60.0", "20.0", "20.0"}));
  QCOMPARE(Heading(form.StringGridResults, 6), QString("      W%"));
  QCOMPARE(Heading(form.StringGridResults, 7), QString("       L%"));
  QCOMPARE(Heading(form.StringGridResults, 8), QString("       T%"));
  QCOMPARE(Heading(form.StringGridResults, 1), QString("Opponent"));

  // The box follows the settings each time the window opens, as settings files set them.
  r.App.Setup.Percent = false;
  form.FormShow();
  QVERIFY(!form.CheckBoxPercent->isChecked());
  QCOMPARE(Heading(form.StringGridResults, 6), QString("     Wins"));
  QCOMPARE(Column(form.StringGridResults, 6), (QStringList{"6", "2"}));
}

void ResultsFormTest::formulaFailingForTwoSurvivors() {
  Results r;
  r.AlphaBeta();
  TFormResults form(r.App);
  form.FormShow();
  TFormEditScore* dialog = form.findChild<TFormEditScore*>();
  QVERIFY(!dialog); // made on first use when the program has none
  bool checkPassed = false;
  QTimer::singleShot(0, &form, [&] {
    auto* d = form.findChild<TFormEditScore*>();
    QVERIFY(d);
    d->EditScore->setText("(W*W-1)/(S-2)");
    QTest::mouseClick(d->ButtonOK, Qt::LeftButton);
    checkPassed = !d->isVisible();
    if (!checkPassed) d->reject();
  });
  form.ButtonChangeClick();
  QVERIFY(checkPassed);
  QCOMPARE(r.App.Tournament.Rec.ScoreFormula, std::string("(W*W-1)/(S-2)"));
  QCOMPARE(r.App.Setup.ScoreFormula, std::string("(W*W-1)/(S-2)"));
  QCOMPARE(form.EditScore->text(), QString("(W*W-1)/(S-2)"));
  // One message per row computed, for the draws; the rows keep the wins' points alone:
  // (3/(1-2)) = -3 points per win or per loss given.
  QCOMPARE(r.Platform.Messages.size(), size_t(2));
  for (const std::string& m : r.Platform.Messages)
    QVERIFY2(QString::fromStdString(m).endsWith(" for W=2, S=2"), m.c_str());
  QCOMPARE(Column(form.StringGridResults, 1), (QStringList{"Beta", "Alpha"}));
  QCOMPARE(Column(form.StringGridResults, 4), (QStringList{"-60.0", "-180.0"}));
  QCOMPARE(Column(form.StringGridResults, 5), (QStringList{"-180.0", "-60.0"}));
}

void ResultsFormTest::cancelledChangeKeepsTheFormula() {
  Results r;
  r.AlphaBeta();
  test::TScriptedPlatform& platform = r.Platform;
  TMardexForm main(r.App); // makes the program's own score formula dialog
  TFormResults& form = *r.App.FormResults;
  form.FormShow();
  bool keptOpen = false;
  QTimer::singleShot(0, r.App.FormEditScore, [&] {
    TFormEditScore* d = r.App.FormEditScore;
    QCOMPARE(d->EditScore->text(), QString("(W*W-1)/S"));
    d->EditScore->setText("(W*W-1)/(S-1)");
    QTest::mouseClick(d->ButtonOK, Qt::LeftButton);
    keptOpen = d->isVisible();
    QTest::keyClick(d, Qt::Key_Escape);
  });
  form.ButtonChangeClick();
  QVERIFY(keptOpen);
  QCOMPARE(platform.Messages, std::vector<std::string>{"Division by zero"});
  QCOMPARE(r.App.Tournament.Rec.ScoreFormula, std::string("(W*W-1)/S"));
  QCOMPARE(form.EditScore->text(), QString("(W*W-1)/S"));
}

void ResultsFormTest::challengeDetailsNameTheChallenger() {
  Results r;
  r.Warriors(Challenge, {"Champ", "One", "Two"});
  r.Match(0, 1, 5, 5, 0);
  r.Match(0, 2, 10, 0, 0);
  TFormResults form(r.App);
  form.FormShow();
  QCOMPARE(form.StringGridResults->rowCount(), 1);
  QCOMPARE(Column(form.StringGridResults, 1), QStringList{"Champ"});
  form.ButtonResultsShowClick();
  QVERIFY(form.ComboBoxDetailWarrior->isHidden());
  QVERIFY(!form.LabelWarriorName->isHidden());
  QCOMPARE(form.LabelWarriorName->text(), QString("Champ"));
  // The challenger's own column is left out without self fights.
  QCOMPARE(Column(form.StringGridResults, 1), (QStringList{"One", "Two"}));
}

void ResultsFormTest::meleeHasNoDetails() {
  Results r;
  r.Warriors(Melee, {"A", "B", "C", "D"});
  TTournamentRec& rec = r.App.Tournament.Rec;
  rec.WarriorsPerBattle = 4;
  rec.Results.assign(4, std::vector<MatchupResult>(1));
  for (size_t i = 0; i < 4; ++i)
    rec.Results[i][0].SurvivorCounts.assign(4, 0);
  TFormResults form(r.App);
  form.FormShow();
  QVERIFY(form.ButtonResultsShow->isHidden());
  QCOMPARE(form.StringGridResults->columnCount(), 11);
  QCOMPARE(form.StringGridResults->rowCount(), 4);
  QCOMPARE(Heading(form.StringGridResults, 9), QString("    3  T%"));
  // A row without rounds shows zeros.
  QCOMPARE(Column(form.StringGridResults, 4), (QStringList{"0.0", "0.0", "0.0", "0.0"}));
}

void ResultsFormTest::saveWritesTheReport() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  Results r;
  r.Warriors(RoundRobin, {"alpha", "Beta", "Carl"});
  r.Match(0, 1, 6, 2, 2);
  r.Match(0, 2, 1, 8, 1);
  r.Match(1, 2, 6, 4, 0);
  TFormResults form(r.App);
  r.App.Setup.Percent = false;
  form.FormShow();
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  ClickHeading(form.StringGridResults, 1);
  form.ButtonResultsShowClick(); // alpha's details
  const QStringList shown = Column(form.StringGridResults, 1);
  QCOMPARE(shown, (QStringList{"Beta", "Carl"}));

  const std::string path = dir.filePath("results.txt").toStdString();
  r.Platform.FileNames.push_back(path);
  form.ButtonSaveClick();
  QCOMPARE(r.Platform.DialogTitles, std::vector<std::string>{"Save Results"});

  // The same report from a table of its own, with the window's settings.
  TNullMardexForm display;
  std::unique_ptr<TCore> core = TCore::Create(r.App.Params, display, r.Platform);
  InstallAssembler(*core);
  TResultsTable table(*core, r.App.Tournament);
  table.SortColumn = 1;
  table.Descending = false;
  table.Percent = false;
  const std::string expected = JoinCrLf(ReportLines(table, r.App.Tournament, *core));
  QCOMPARE(FileBytes(path), expected);
  QVERIFY(QString::fromStdString(expected).contains("Round robin with 3 warriors"));

  // The window still shows, and goes on showing, alpha's details.
  QCOMPARE(Column(form.StringGridResults, 1), shown);
  ClickHeading(form.StringGridResults, 1);
  QCOMPARE(form.SelectedWarrior(), 1);
  QCOMPARE(Column(form.StringGridResults, 1), (QStringList{"Carl", "Beta"}));
}

void ResultsFormTest::saveAddsTheExtensionAndCancelWritesNothing() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  Results r;
  r.AlphaBeta();
  TFormResults form(r.App);
  form.FormShow();
  form.ButtonSaveClick(); // cancelled
  QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  r.Platform.FileNames.push_back(dir.filePath("report").toStdString());
  form.ButtonSaveClick();
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.txt"});
  // A folder that does not exist is reported, not written.
  r.Platform.FileNames.push_back(dir.filePath("missing/report.txt").toStdString());
  form.ButtonSaveClick();
  QCOMPARE(r.Platform.Messages.size(), size_t(1));
  QVERIFY(QString::fromStdString(r.Platform.Messages[0]).contains("missing/report.txt"));
}

void ResultsFormTest::mainWindowOpensTheResults() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TMardexForm main(app);
  main.show();
  QVERIFY(QTest::qWaitForWindowActive(&main));
  main.OpenWarriorFiles({std::string(VELMORA_SOURCE_DIR "/examples/imp.red"),
                         std::string(VELMORA_SOURCE_DIR "/examples/dwarf.red")});
  int rows = 0;
  QString caption;
  QTimer::singleShot(0, app.FormResults, [&] {
    rows = app.FormResults->StringGridResults->rowCount();
    caption = app.FormResults->windowTitle();
    QTest::keyClick(app.FormResults, Qt::Key_Escape);
  });
  QTest::mouseClick(main.ButtonTournamentResults, Qt::LeftButton);
  QCOMPARE(rows, 2);
  QCOMPARE(caption, QString("Tournament Results"));
  QVERIFY(!app.FormResults->isVisible());
}

QTEST_MAIN(ResultsFormTest)
#include "results_form_test.moc"
