// The Setup dialog's warrior lists: Add, Remove, Sort, the challenger and benchmark lists,
// New and Edit with the warrior editor, and a confirmed Setup reaching the engine through
// the main window.

#include <QtTest>

#include "tests/ui/support/setup_fixture.h"
#include "ui/edit_code_form.h"
#include "ui/mardex_form.h"
#include "ui/results_form.h"

using namespace velmora;
using namespace velmora::test;

class ParamsFormListsTest : public QObject {
  Q_OBJECT
private slots:
  void benchmarkWithoutWarriorsKeepsTheDialogOpen();
  void benchmarkSelectionFillsItsList();
  void challengerChoiceSwapsWithTheFirst();
  void removeSelectsTheEntryBefore_data();
  void removeSelectsTheEntryBefore();
  void removeAllAndSortList();
  void newAndEditUseTheEditor();
  void loadSettingsThenOkReachesTheEngine();
  void newWarriorCompilesWithTheDialogsParameters();
};

void ParamsFormListsTest::benchmarkWithoutWarriorsKeepsTheDialogOpen() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"A", "B"});
  d.show();
  d.RadioButtonBenchmark->click(); // its file dialog cancelled
  QVERIFY(!d.ComboBoxBenchmark->isEnabled());
  QVERIFY(!d.ComboBoxChallenger->isEnabled());
  fx.platform.DialogTitles.clear();
  d.ButtonOK->click();
  QCOMPARE(fx.platform.Messages,
           std::vector<std::string>{
               "To run a Benchmark tournament, you must select a warrior or warrior list."});
  QCOMPARE(fx.platform.DialogTitles, std::vector<std::string>{"Select Benchmark Warrior or List"});
  QVERIFY(d.isVisible());
  QVERIFY(fx.app.Tournament.WarriorList.empty());
}

void ParamsFormListsTest::benchmarkSelectionFillsItsList() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"A", "B"});
  fx.platform.FileNames.push_back(fx.folder.List({"X", "Y"}));
  d.RadioButtonBenchmark->click();
  QCOMPARE(Items(d.ComboBoxBenchmark), QString("X,Y"));
  QCOMPARE(d.ComboBoxBenchmark->currentIndex(), 0);
  QVERIFY(d.ComboBoxBenchmark->isEnabled());
  // A cancelled selection keeps the list.
  d.RadioButtonMelee->click();
  d.RadioButtonBenchmark->click();
  QCOMPARE(Items(d.ComboBoxBenchmark), QString("X,Y"));
  d.ButtonOKClick();
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(fx.app.Tournament.Rec.TournamentType, uint8_t(Benchmark));
  QCOMPARE(fx.app.Tournament.Rec.BenchmarkCount, 2);
  QCOMPARE(fx.app.Tournament.BenchmarkList[1].Name, std::string("Y"));
  // Shown again, the benchmark list comes from the tournament.
  d.FormShow();
  QVERIFY(d.RadioButtonBenchmark->isChecked());
  QCOMPARE(Items(d.ComboBoxBenchmark), QString("X,Y"));
}

void ParamsFormListsTest::challengerChoiceSwapsWithTheFirst() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"A", "B", "C"});
  QCOMPARE(d.ComboBoxChallenger->currentText(), QString("A"));
  d.RadioButtonChallenge->click();
  QVERIFY(d.ComboBoxChallenger->isEnabled());
  d.ComboBoxChallenger->setCurrentIndex(2);
  d.ComboBoxChallengerChange(2);
  QCOMPARE(Items(d.ListBoxWarriors), QString("C,B,A"));
  QCOMPARE(Items(d.ComboBoxChallenger), QString("C,B,A"));
  QCOMPARE(d.ComboBoxChallenger->currentText(), QString("C"));
  QCOMPARE(d.Warriors()[2].Name, std::string("A"));
}

void ParamsFormListsTest::removeSelectsTheEntryBefore_data() {
  QTest::addColumn<QList<int>>("selected");
  QTest::addColumn<QString>("after");
  QTest::addColumn<int>("current");
  QTest::newRow("entries 1 and 3") << QList<int>{1, 3} << "A,C,E" << 0;
  QTest::newRow("only entry 4") << QList<int>{4} << "A,B,C,D" << 3;
  QTest::newRow("every entry") << QList<int>{0, 1, 2, 3, 4} << "" << -1;
}

void ParamsFormListsTest::removeSelectsTheEntryBefore() {
  QFETCH(QList<int>, selected);
  QFETCH(QString, after);
  QFETCH(int, current);
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"A", "B", "C", "D", "E"});
  QCOMPARE(d.StaticTextTotal->text(), QString("5"));
  QCOMPARE(SelectedRows(d.ListBoxWarriors), QList<int>{4});
  d.ListBoxWarriors->clearSelection();
  for (int row : selected)
    d.ListBoxWarriors->item(row)->setSelected(true);
  d.ButtonRemove->click();
  QCOMPARE(Items(d.ListBoxWarriors), after);
  QCOMPARE(Items(d.ComboBoxChallenger), after);
  QCOMPARE(d.StaticTextTotal->text(), QString::number(5 - selected.size()));
  QCOMPARE(SelectedRows(d.ListBoxWarriors), current < 0 ? QList<int>{} : QList<int>{current});
  const bool any = current >= 0;
  for (QPushButton* b :
       {d.ButtonRemove, d.ButtonRemoveAll, d.ButtonEditWarrior, d.ButtonSaveList, d.ButtonSortList})
    QCOMPARE(b->isEnabled(), any);
}

void ParamsFormListsTest::removeAllAndSortList() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  QVERIFY(!d.ButtonSortList->isEnabled());
  fx.Add({"dwarf", "Imp", "bomber"});
  d.ComboBoxChallengerChange(2);
  d.ButtonSortList->click();
  QCOMPARE(Items(d.ListBoxWarriors), QString("bomber,dwarf,Imp"));
  QCOMPARE(d.ComboBoxChallenger->currentText(), QString("bomber"));
  d.ButtonRemoveAll->click();
  QCOMPARE(d.ListBoxWarriors->count(), 0);
  QCOMPARE(d.ComboBoxChallenger->count(), 0);
  QCOMPARE(d.StaticTextTotal->text(), QString("0"));
  QVERIFY(!d.ButtonRemove->isEnabled());
  QVERIFY(!d.ButtonSaveList->isEnabled());
  QVERIFY(d.ButtonAddFiles->isEnabled());
  QVERIFY(d.ButtonNewWarrior->isEnabled());
}

void ParamsFormListsTest::newAndEditUseTheEditor() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"A", "B"});
  std::vector<std::pair<int32_t, TWarriorData>> calls;
  bool confirm = true;
  d.EditWarrior = [&](int32_t number, TWarriorData& w) {
    calls.emplace_back(number, w);
    w.Name = "Renamed " + std::to_string(calls.size());
    w.Source = {"JMP 0"};
    return confirm;
  };
  d.ListBoxWarriors->setCurrentRow(1);
  d.ButtonEditWarrior->click();
  QCOMPARE(calls.size(), size_t(1));
  QCOMPARE(calls[0].first, 2);
  QCOMPARE(calls[0].second.Name, std::string("B"));
  QCOMPARE(Items(d.ListBoxWarriors), QString("A,Renamed 1"));
  QCOMPARE(Items(d.ComboBoxChallenger), QString("A,Renamed 1"));
  QCOMPARE(d.Warriors()[1].Source, std::vector<std::string>{"JMP 0"});

  d.ButtonNewWarrior->click();
  QCOMPARE(calls[1].first, 0);
  QCOMPARE(calls[1].second.Name, std::string("No Name"));
  QCOMPARE(calls[1].second.Author, std::string("Anonymous"));
  QVERIFY(calls[1].second.FileName.empty());
  QCOMPARE(Items(d.ListBoxWarriors), QString("A,Renamed 1,Renamed 2"));
  QCOMPARE(d.StaticTextTotal->text(), QString("3"));

  confirm = false;
  d.ButtonNewWarrior->click();
  d.ListBoxWarriors->setCurrentRow(0);
  d.ButtonEditWarrior->click();
  QCOMPARE(calls.size(), size_t(4));
  QCOMPARE(Items(d.ListBoxWarriors), QString("A,Renamed 1,Renamed 2"));
  QVERIFY(fx.app.Tournament.WarriorList.empty());
}

void ParamsFormListsTest::loadSettingsThenOkReachesTheEngine() {
  WarriorFolder folder;
  TSetupFields f;
  f.CoreSizeText = "800";
  f.MaxCyclesText = "16000";
  f.MaxProcessesText = "64";
  f.MinDistanceText = "20";
  f.MaxLengthText = "20";
  f.TournamentType = RoundRobin;
  f.RoundsText = "3";
  f.CircularDisplay = true;
  f.Percent = false;
  const std::string settings = folder.Settings(f, "mine.cfg");
  const std::string list = folder.List({"Left", "Right"});
  // The start folder has no default.cfg.
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(folder.Folder()));
  TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TMardexForm form(app);
  QDir::setCurrent(previous);
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QVERIFY(app.Core);
  QCOMPARE(app.Core->CoreSizeMax, 8000);
  platform.Answers = {Answer::No};
  platform.FileNames = {settings, list};
  QTimer::singleShot(0, app.FormParams, [&] {
    app.FormParams->ButtonLoadDefaultsClick();
    app.FormParams->ButtonAddFilesClick();
    app.FormParams->ButtonOK->click();
  });
  form.ButtonParams->click();
  QVERIFY(platform.Messages.size() == 1); // the load question only
  QCOMPARE(app.Core->CoreSizeMax, 800);
  QCOMPARE(app.Core->MaxCycles, 16000);
  QCOMPARE(app.Core->MaxProcesses, 64);
  QCOMPARE(app.Core->MinDistance, 20);
  QCOMPARE(app.Core->NumWarriors, 2);
  QCOMPARE(form.LabelTournamentTypeOutput->text(), QString("Round Robin"));
  QCOMPARE(form.ButtonEdit[1]->text(), QString("Right"));
  QCOMPARE(form.State(), RunState::Stopped);
  QVERIFY(form.Display().Circular());
  QVERIFY(!app.FormResults->CheckBoxPercent->isChecked());
}

void ParamsFormListsTest::newWarriorCompilesWithTheDialogsParameters() {
  WarriorFolder folder;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(folder.Folder()));
  TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TMardexForm form(app);
  QDir::setCurrent(previous);
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  TFormParams& setup = *app.FormParams;
  TFormEditCode& editor = *app.FormEditCode;
  int32_t coreSizeWhileEditing = 0;
  int32_t standardWhileEditing = -1;
  QTimer::singleShot(0, &setup, [&] {
    setup.ComboBoxCSFixed->setCurrentText("800");
    setup.ComboBoxStandards->setCurrentIndex(0);
    QTimer::singleShot(0, &editor, [&] {
      coreSizeWhileEditing = app.Core->CoreSize;
      standardWhileEditing = app.Core->Standard;
      editor.MemoSource->setPlainText(";name Written\nMOV 0, 1");
      editor.ButtonCompile->click();
      editor.ButtonOK->click();
    });
    setup.ButtonNewWarrior->click();
    QCOMPARE(Items(setup.ListBoxWarriors), QString("Written"));
    // The engine has its own parameters back while the dialog is still open.
    QCOMPARE(app.Core->CoreSize, 8000);
    QCOMPARE(app.Core->Standard, uint8_t(2));
    setup.ButtonCancel->click();
  });
  form.ButtonParams->click();
  QCOMPARE(coreSizeWhileEditing, 800);
  QCOMPARE(standardWhileEditing, 0);
  QVERIFY(app.Tournament.WarriorList.empty());
}

QTEST_MAIN(ParamsFormListsTest)
#include "params_form_lists_test.moc"
