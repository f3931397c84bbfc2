// The Setup dialog: its creation from default.cfg, the checks on leaving a field and on OK,
// the warrior list actions, the enabling rules, the settings files, and a confirmed Setup
// reaching the engine through the main window.

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

#include "params/settings_file.h"
#include "params/text_file.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/edit_code_form.h"
#include "ui/mardex_form.h"
#include "ui/params_form.h"
#include "ui/results_form.h"

using namespace velmora;

namespace {

// A folder of one-line warriors named as asked, and list files naming them.
class WarriorFolder {
public:
  std::string Warrior(const std::string& name) {
    const std::string path = Path(name + ".red");
    std::ofstream(path) << ";redcode-94\n;name " << name << "\nMOV 0, 1\n";
    return path;
  }
  std::string List(std::initializer_list<const char*> names) {
    const std::string path = Path("list" + std::to_string(lists_++) + ".txt");
    std::ofstream out(path);
    out << ";warriorlist\n";
    for (const char* n : names)
      out << Warrior(n) << '\n';
    return path;
  }
  std::string Settings(const TSetupFields& fields, const std::string& name) {
    std::string error;
    const std::string path = Path(name);
    if (!SaveSettingsFile(path, fields, error)) qFatal("%s", error.c_str());
    return path;
  }
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  std::string Folder() const { return dir_.path().toStdString(); }

private:
  QTemporaryDir dir_;
  int lists_ = 0;
};

QString Items(const QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i)
    names << list->item(i)->text();
  return names.join(",");
}

QString Items(const QComboBox* combo) {
  QStringList names;
  for (int i = 0; i < combo->count(); ++i)
    names << combo->itemText(i);
  return names.join(",");
}

QList<int> SelectedRows(const QListWidget* list) {
  QList<int> rows;
  for (const QListWidgetItem* item : list->selectedItems())
    rows << list->row(item);
  std::sort(rows.begin(), rows.end());
  return rows;
}

// An application whose start folder is a fresh folder (no default.cfg unless written).
struct Fixture {
  Fixture() : app(platform) { app.StartDirectory = folder.Folder(); }
  // The dialog as the program creates it, then filled as every showing does.
  TFormParams& Dialog() {
    if (!dialog) {
      dialog = std::make_unique<TFormParams>(app);
      dialog->FormShow();
    }
    return *dialog;
  }
  // Puts warriors into the dialog through "Add" with one list file.
  void Add(std::initializer_list<const char*> names) {
    platform.FileNames.push_back(folder.List(names));
    Dialog().ButtonAddFiles->click();
  }

  WarriorFolder folder;
  test::TScriptedPlatform platform;
  TVelmoraApp app;
  std::unique_ptr<TFormParams> dialog;
};

} // namespace

class ParamsFormTest : public QObject {
  Q_OBJECT
private slots:
  void creationConfirmsTheDefaultFile();
  void creationWithoutDefaultFileKeepsTheDefaults();
  void creationRefusesABadCustomInstruction();
  void leavingAFieldChecksIt_data();
  void leavingAFieldChecksIt();
  void limitChosenFromItsListIsNotChecked();
  void focusLeavingAFieldRunsItsCheck();
  void okChecksFieldsNeverLeftAndStoresNothing();
  void okRefusesACustomInstructionThatDoesNotCompile();
  void okStoresInTheRecords();
  void okWithOneWarriorMakesAMelee();
  void benchmarkWithoutWarriorsKeepsTheDialogOpen();
  void benchmarkSelectionFillsItsList();
  void challengerChoiceSwapsWithTheFirst();
  void permutateComputesRoundsAndRestoresThem();
  void randomCoreSizeShowsTheMinimum();
  void fixedChoicesFillTheirFields();
  void removeSelectsTheEntryBefore_data();
  void removeSelectsTheEntryBefore();
  void removeAllAndSortList();
  void newAndEditUseTheEditor();
  void saveSettingsWritesTheDialogsFields();
  void loadedBenchmarkTypeSelectsNoOtherType();
  void cancelLeavesEverythingUntouched();
  void escapeClosesAndOkIsTheDefault();
  void tabOrderFollowsTheLayout();
  void loadSettingsThenOkReachesTheEngine();
  void newWarriorCompilesWithTheDialogsParameters();
};

void ParamsFormTest::creationConfirmsTheDefaultFile() {
  Fixture fx;
  TSetupFields f;
  f.CoreSizeText = "800";
  f.RoundsText = "7";
  f.TournamentType = RoundRobin;
  f.ReadLimit = {1, ""};
  f.InitialInstruction = "MOV 0, 1";
  f.SeedMode = 0;
  f.FixedSeedText = "99";
  f.ScoreFormula = "W*2";
  fx.folder.Settings(f, "default.cfg");
  TFormParams dialog(fx.app);
  QCOMPARE(fx.app.FormParams, &dialog);
  QVERIFY(fx.platform.Messages.empty());
  QCOMPARE(fx.app.Params.CoreSizeMax, 800);
  QCOMPARE(fx.app.Params.ReadLimit, 200);
  QCOMPARE(fx.app.Params.InitialInstruction, std::string("MOV 0, 1"));
  QCOMPARE(fx.app.Params.SeedMode, 99);
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 7);
  QCOMPARE(fx.app.Tournament.Rec.TournamentType, uint8_t(RoundRobin));
  QCOMPARE(fx.app.Tournament.Rec.ScoreFormula, std::string("W*2"));
  QCOMPARE(fx.app.Setup.ReadLimit.Item, 1);
}

void ParamsFormTest::creationWithoutDefaultFileKeepsTheDefaults() {
  Fixture fx;
  fx.app.Params.CoreSizeMax = 55440; // anything the defaults must replace
  TFormParams dialog(fx.app);
  QVERIFY(fx.platform.Messages.empty());
  QVERIFY(fx.platform.DialogTitles.empty());
  QCOMPARE(fx.app.Params.CoreSizeMax, 8000);
  QCOMPARE(fx.app.Params.MaxCycles, 80000);
  QCOMPARE(fx.app.Params.PSpaceSize, 500);
  QCOMPARE(fx.app.Params.InitialInstruction, std::string("DAT 0,0"));
  QCOMPARE(fx.app.Tournament.Rec.TournamentType, uint8_t(Melee));
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 1);
}

void ParamsFormTest::creationRefusesABadCustomInstruction() {
  Fixture fx;
  TSetupFields f;
  f.CoreSizeText = "800";
  f.InitialInstruction = "NOP 1/0";
  fx.folder.Settings(f, "default.cfg");
  TFormParams dialog(fx.app);
  QCOMPARE(fx.platform.Messages.size(), size_t(1));
  QVERIFY(fx.platform.Messages[0].starts_with("Initial instruction failed to compile."));
  // The rest of the file is confirmed; the instruction stays the previous one.
  QCOMPARE(fx.app.Params.CoreSizeMax, 800);
  QCOMPARE(fx.app.Params.InitialInstruction, std::string("DAT 0,0"));
}

void ParamsFormTest::leavingAFieldChecksIt_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message"); // empty: accepted
  QTest::addColumn<QString>("after");
  auto row = [](const char* control, const char* text, const char* message, const char* after) {
    QTest::newRow((std::string(control) + " " + text).c_str())
        << control << text << message << after;
  };
  row("ComboBoxCSFixed", "15", "Core size must be at least 16", "8000");
  row("ComboBoxCSFixed", "$1F40", "", "$1F40");
  row("ComboBoxBattleLength", "2147483647", "Max Cycles must be less than $80000000", "80000");
  row("ComboBoxQueueLimit", "none", "Max Processes must be a number", "8000");
  row("ComboBoxBufferSize", "-5", "Min Distance must be at least 0", "100");
  row("EditNumBattles", "0", "Number of rounds must be at least 1", "1");
  row("ComboBoxReadLimit", "9000", "Read Limit must not exceed Core Size", "8000");
  row("ComboBoxWriteLimit", "0", "Write Limit must be at least 1", "1");
  row("ComboBoxPSpace", "p", "PSpace Size must be a number", "8000");
  row("ComboBoxMaxLength", "4000", "Max Length too large to load all Warriors", "100");
  row("ComboBoxMaxLength", "3900", "", "3900");
  row("EditFixedPosition", "7901",
      "Second warrior position must not exceed Core Size minus Max Distance", "100");
  row("EditFixedSeed", "-3", "RNG Seed must be between 0 and 2147483646", "0");
}

void ParamsFormTest::leavingAFieldChecksIt() {
  QFETCH(QString, control);
  QFETCH(QString, text);
  QFETCH(QString, message);
  QFETCH(QString, after);
  Fixture fx;
  TFormParams& d = fx.Dialog();
  // Position and seed count only when fixed; max length counts two warriors a battle.
  d.RadioButtonRoundRobin->click();
  d.RadioButtonFixedPosition->click();
  d.RadioButtonFixedSeed->click();
  QWidget* widget = d.findChild<QWidget*>(control);
  QVERIFY(widget);
  auto* combo = qobject_cast<QComboBox*>(widget);
  auto* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(widget);
  edit->setText(text);
  const std::map<QString, void (TFormParams::*)()> exits = {
      {"ComboBoxCSFixed", &TFormParams::ComboBoxCSFixedExit},
      {"ComboBoxBattleLength", &TFormParams::ComboBoxBattleLengthExit},
      {"ComboBoxQueueLimit", &TFormParams::ComboBoxQueueLimitExit},
      {"ComboBoxBufferSize", &TFormParams::ComboBoxBufferSizeExit},
      {"EditNumBattles", &TFormParams::EditNumBattlesExit},
      {"ComboBoxReadLimit", &TFormParams::ComboBoxReadLimitExit},
      {"ComboBoxWriteLimit", &TFormParams::ComboBoxWriteLimitExit},
      {"ComboBoxPSpace", &TFormParams::ComboBoxPSpaceExit},
      {"ComboBoxMaxLength", &TFormParams::ComboBoxMaxLengthExit},
      {"EditFixedPosition", &TFormParams::EditFixedPositionExit},
      {"EditFixedSeed", &TFormParams::EditFixedSeedExit}};
  (d.*exits.at(control))();
  const std::vector<std::string> expected = message.isEmpty()
                                                ? std::vector<std::string>{}
                                                : std::vector<std::string>{message.toStdString()};
  QCOMPARE(fx.platform.Messages, expected);
  QCOMPARE(edit->text(), after);
}

void ParamsFormTest::limitChosenFromItsListIsNotChecked() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  d.ComboBoxCSFixed->setCurrentText("800");
  d.ComboBoxReadLimit->setCurrentIndex(2);
  d.ComboBoxReadLimitExit();
  QVERIFY(fx.platform.Messages.empty());
  QCOMPARE(d.ComboBoxReadLimit->currentText(), QString("1/16 Core Size"));
  QCOMPARE(d.TakeFields().ReadLimit.Item, 2);
}

void ParamsFormTest::focusLeavingAFieldRunsItsCheck() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  d.show();
  QVERIFY(QTest::qWaitForWindowActive(&d));
  d.EditNumBattles->setFocus();
  QTRY_VERIFY(d.EditNumBattles->hasFocus());
  d.EditNumBattles->selectAll();
  QTest::keyClicks(d.EditNumBattles, "-2");
  QTest::keyClick(d.EditNumBattles, Qt::Key_Tab);
  QCOMPARE(fx.platform.Messages, std::vector<std::string>{"Number of rounds must be at least 1"});
  QCOMPARE(d.EditNumBattles->text(), QString("1"));
  QVERIFY(!d.EditNumBattles->hasFocus());
  // Leaving for Cancel checks nothing: the dialog closes storing nothing anyway.
  d.EditNumBattles->setFocus();
  d.EditNumBattles->setText("x");
  QTest::mouseClick(d.ButtonCancel, Qt::LeftButton);
  QCOMPARE(fx.platform.Messages.size(), size_t(1));
  QCOMPARE(d.result(), int(QDialog::Rejected));
}

void ParamsFormTest::okChecksFieldsNeverLeftAndStoresNothing() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"A", "B"});
  d.show();
  QVERIFY(QTest::qWaitForWindowActive(&d));
  const TParamsRec before = fx.app.Params;
  // Changed fields before and after one still holding text that is no number.
  d.ComboBoxCSFixed->setCurrentText("800");
  d.ComboBoxQueueLimit->setCurrentText("lots");
  d.EditNumBattles->setText("12");
  d.ButtonOK->click();
  QCOMPARE(fx.platform.Messages, std::vector<std::string>{"Max Processes must be a number"});
  QVERIFY(d.isVisible());
  QCOMPARE(d.ComboBoxQueueLimit->currentText(), QString("8000"));
  QCOMPARE(QApplication::focusWidget(), d.ComboBoxQueueLimit);
  QCOMPARE(fx.app.Params.CoreSizeMax, before.CoreSizeMax);
  QCOMPARE(fx.app.Params.MaxProcesses, before.MaxProcesses);
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 1);
  QVERIFY(fx.app.Tournament.WarriorList.empty());
  // The user's other edits are still there; OK now goes through.
  QCOMPARE(d.ComboBoxCSFixed->currentText(), QString("800"));
  d.ButtonOK->click();
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(fx.app.Params.CoreSizeMax, 800);
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 12);
}

void ParamsFormTest::okRefusesACustomInstructionThatDoesNotCompile() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  d.show();
  QVERIFY(QTest::qWaitForWindowActive(&d));
  d.RadioButtonCustom->click();
  d.EditInitialCustom->setText("JUMP 0");
  d.ComboBoxCSFixed->setCurrentText("800");
  d.ButtonOK->click();
  QCOMPARE(fx.platform.Messages,
           std::vector<std::string>{"Initial instruction failed to compile."});
  QVERIFY(d.isVisible());
  QCOMPARE(fx.app.Params.CoreSizeMax, 8000);
  QCOMPARE(fx.app.Params.InitialInstruction, std::string("DAT 0,0"));
  d.EditInitialCustom->setText("JMP 0");
  d.ButtonOK->click();
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(fx.app.Params.InitialInstruction, std::string("JMP 0"));
}

void ParamsFormTest::okStoresInTheRecords() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"A", "B", "C"});
  d.RadioButtonChallenge->click();
  d.ComboBoxChallenger->setCurrentIndex(1);
  d.ComboBoxChallengerChange(1);
  d.ComboBoxCSFixed->setCurrentText("8192");
  d.ComboBoxWriteLimit->setCurrentIndex(1);
  d.ComboBoxPSpace->setCurrentIndex(1);
  d.ComboBoxStandards->setCurrentIndex(0);
  d.CheckBoxSelfFights->setChecked(true);
  d.RadioButtonChecksumSeed->click();
  d.RadioButtonFixedPosition->click();
  d.EditFixedPosition->setText("4000");
  d.RadioButtonInitialRandom->click();
  d.ButtonOKClick();
  QVERIFY(fx.platform.Messages.empty());
  const TTournament& t = fx.app.Tournament;
  QCOMPARE(t.Rec.TournamentType, uint8_t(Challenge));
  QCOMPARE(t.Rec.WarriorCount, 3);
  QCOMPARE(t.WarriorList[0].Name, std::string("B"));
  QCOMPARE(t.WarriorList[0].ID, 1);
  QCOMPARE(t.WarriorList[2].ID, 3);
  QVERIFY(t.Rec.SelfFights);
  const TParamsRec& p = fx.app.Params;
  QCOMPARE(p.CoreSizeMax, 8192);
  QCOMPARE(p.ReadLimit, 8192);
  QCOMPARE(p.WriteLimit, 2048);
  QCOMPARE(p.PSpaceSize, 8192);
  QCOMPARE(p.Standard, uint8_t(0));
  QCOMPARE(p.SeedMode, kSeedChecksum);
  QCOMPARE(p.SecondPosition, 4000);
  QCOMPARE(p.InitialInstruction, std::string("RANDOM"));
  // The dialog's list is a copy: later edits there leave the tournament alone.
  d.ButtonRemoveAll->click();
  QCOMPARE(t.WarriorList.size(), size_t(3));
}

void ParamsFormTest::okWithOneWarriorMakesAMelee() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"Lonely"});
  d.RadioButtonRoundRobin->click();
  d.ButtonOKClick();
  QCOMPARE(fx.platform.Messages,
           std::vector<std::string>{"Single warrior battles are only supported by Melee "
                                    "tournaments. The tournament type has been set to Melee."});
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(fx.app.Tournament.Rec.TournamentType, uint8_t(Melee));
  QVERIFY(d.RadioButtonMelee->isChecked());
  d.FormShow();
  QVERIFY(d.RadioButtonMelee->isChecked());
}

void ParamsFormTest::benchmarkWithoutWarriorsKeepsTheDialogOpen() {
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

void ParamsFormTest::benchmarkSelectionFillsItsList() {
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

void ParamsFormTest::challengerChoiceSwapsWithTheFirst() {
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

void ParamsFormTest::permutateComputesRoundsAndRestoresThem() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  d.ComboBoxCSFixed->setCurrentText("8000");
  d.ComboBoxBufferSize->setCurrentText("100");
  d.EditNumBattles->setText("5");
  d.RadioButtonPermutatePosition->click();
  QCOMPARE(d.EditNumBattles->text(), QString("15602"));
  QVERIFY(!d.EditNumBattles->isEnabled());
  QVERIFY(!d.RadioButtonRandom->isEnabled());
  QVERIFY(!d.EditFixedPosition->isEnabled());
  // A second click must not take the computed rounds for the user's.
  d.RadioButtonPermutatePosition->click();
  // The rounds follow a changed min distance.
  d.ComboBoxBufferSize->setCurrentText("1000");
  d.ComboBoxBufferSizeExit();
  QCOMPARE(d.EditNumBattles->text(), QString("12002"));
  d.RadioButtonRandomPosition->click();
  QCOMPARE(d.EditNumBattles->text(), QString("5"));
  QVERIFY(d.EditNumBattles->isEnabled());
  QVERIFY(d.RadioButtonRandom->isEnabled());
  // Leaving a position that is not permutate keeps the rounds typed since.
  d.EditNumBattles->setText("6");
  d.EditNumBattlesExit();
  d.RadioButtonFixedPosition->click();
  QCOMPARE(d.EditNumBattles->text(), QString("6"));
  d.RadioButtonPermutatePosition->click();
  d.ButtonOKClick();
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 12002);
  QCOMPARE(fx.app.Params.SecondPosition, kPositionPermutate);
}

void ParamsFormTest::randomCoreSizeShowsTheMinimum() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  QVERIFY(d.EditCSRandom->isHidden());
  d.ComboBoxCSFixed->setCurrentText("16384");
  d.RadioButtonRandom->click();
  QVERIFY(!d.EditCSRandom->isHidden());
  QVERIFY(!d.LabelMin->isHidden());
  QCOMPARE(d.EditCSRandom->text(), QString("16384"));
  QVERIFY(!d.RadioButtonPermutatePosition->isEnabled());
  d.EditCSRandom->setText("4000");
  d.ButtonOKClick();
  QVERIFY(fx.app.Params.RandomCoreSize);
  QCOMPARE(fx.app.Params.CoreSizeMin, 4000);
  QCOMPARE(fx.app.Params.CoreSizeMax, 16384);
  d.FormShow();
  QCOMPARE(d.EditCSRandom->text(), QString("4000"));
  d.RadioButtonFixed->click();
  QVERIFY(d.EditCSRandom->isHidden());
  QVERIFY(d.LabelMax->isHidden());
  QVERIFY(d.RadioButtonPermutatePosition->isEnabled());
}

void ParamsFormTest::fixedChoicesFillTheirFields() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  d.ComboBoxBufferSize->setCurrentText("200");
  d.EditFixedPosition->clear();
  d.EditFixedSeed->clear();
  QVERIFY(!d.EditFixedPosition->isEnabled());
  d.RadioButtonFixedPosition->click();
  QCOMPARE(d.EditFixedPosition->text(), QString("200"));
  QVERIFY(d.EditFixedPosition->isEnabled());
  d.RadioButtonFixedSeed->click();
  QCOMPARE(d.EditFixedSeed->text(), QString("0"));
  QVERIFY(d.EditFixedSeed->isEnabled());
  d.RadioButtonChecksumSeed->click();
  QVERIFY(!d.EditFixedSeed->isEnabled());
}

void ParamsFormTest::removeSelectsTheEntryBefore_data() {
  QTest::addColumn<QList<int>>("selected");
  QTest::addColumn<QString>("after");
  QTest::addColumn<int>("current");
  QTest::newRow("entries 1 and 3") << QList<int>{1, 3} << "A,C,E" << 0;
  QTest::newRow("only entry 4") << QList<int>{4} << "A,B,C,D" << 3;
  QTest::newRow("every entry") << QList<int>{0, 1, 2, 3, 4} << "" << -1;
}

void ParamsFormTest::removeSelectsTheEntryBefore() {
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

void ParamsFormTest::removeAllAndSortList() {
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

void ParamsFormTest::newAndEditUseTheEditor() {
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

void ParamsFormTest::saveSettingsWritesTheDialogsFields() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  d.ComboBoxCSFixed->setCurrentText("55440");
  d.ComboBoxReadLimit->setCurrentText("500");
  d.RadioButtonCustom->click();
  d.EditInitialCustom->setText("MOV 0, 1");
  fx.platform.Answers = {Answer::Yes};
  d.ButtonSaveDefaults->click();
  std::vector<std::string> lines;
  QVERIFY(ReadTextLines(fx.folder.Path("default.cfg"), lines));
  QCOMPARE(lines.size(), size_t(23));
  QCOMPARE(lines[0], std::string("55440 = Core Size"));
  QCOMPARE(lines[10], std::string("-500 = Read Limit"));
  QCOMPARE(lines[22], std::string("MOV 0, 1 = Initialize instruction"));
  // Loading it into a changed dialog brings the saved fields back.
  d.ComboBoxCSFixed->setCurrentText("800");
  d.RadioButtonDat->click();
  fx.platform.Answers = {Answer::Yes};
  d.ButtonLoadDefaults->click();
  QCOMPARE(d.ComboBoxCSFixed->currentText(), QString("55440"));
  QCOMPARE(d.ComboBoxReadLimit->currentText(), QString("500"));
  QCOMPARE(d.TakeFields().ReadLimit.Item, -1);
  QVERIFY(d.RadioButtonCustom->isChecked());
  QCOMPARE(d.EditInitialCustom->text(), QString("MOV 0, 1"));
  // Cancel answers write and read nothing.
  const auto messages = fx.platform.Messages.size();
  d.ButtonSaveDefaults->click();
  d.ButtonLoadDefaults->click();
  QCOMPARE(fx.platform.Messages.size(), messages + 2);
  QVERIFY(fx.platform.DialogTitles.empty());
}

void ParamsFormTest::loadedBenchmarkTypeSelectsNoOtherType() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  TSetupFields f;
  f.TournamentType = Benchmark;
  f.RoundsText = "3";
  const std::string path = fx.folder.Settings(f, "bench.cfg");
  d.RadioButtonRoundRobin->click();
  fx.platform.Answers = {Answer::No};
  fx.platform.FileNames = {path};
  d.ButtonLoadDefaults->click();
  QCOMPARE(fx.platform.DialogTitles, std::vector<std::string>{"Load Settings"});
  QVERIFY(!d.RadioButtonMelee->isChecked());
  QVERIFY(!d.RadioButtonRoundRobin->isChecked());
  QVERIFY(!d.RadioButtonChallenge->isChecked());
  QVERIFY(!d.RadioButtonBenchmark->isChecked());
  QCOMPARE(d.EditNumBattles->text(), QString("3"));
}

void ParamsFormTest::cancelLeavesEverythingUntouched() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  fx.Add({"A", "B"});
  d.RadioButtonRoundRobin->click();
  d.ButtonOKClick();
  const TParamsRec params = fx.app.Params;
  const TSetupFields setup = fx.app.Setup;
  QTimer::singleShot(0, &d, [&] {
    d.ComboBoxCSFixed->setCurrentText("800");
    d.EditNumBattles->setText("40");
    d.RadioButtonMelee->click();
    d.ButtonRemoveAll->click();
    d.ButtonCancel->click();
  });
  QVERIFY(!d.Execute());
  QCOMPARE(fx.app.Params.CoreSizeMax, params.CoreSizeMax);
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 1);
  QCOMPARE(fx.app.Tournament.Rec.TournamentType, uint8_t(RoundRobin));
  QCOMPARE(fx.app.Tournament.WarriorList.size(), size_t(2));
  QCOMPARE(fx.app.Setup.CoreSizeText, setup.CoreSizeText);
  // Shown again, the dialog shows the records, not the cancelled edits.
  QTimer::singleShot(0, &d, [&] {
    QCOMPARE(d.ComboBoxCSFixed->currentText(), QString("8000"));
    QCOMPARE(Items(d.ListBoxWarriors), QString("A,B"));
    QVERIFY(d.RadioButtonRoundRobin->isChecked());
    d.ButtonOK->click();
  });
  QVERIFY(d.Execute());
}

void ParamsFormTest::escapeClosesAndOkIsTheDefault() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  QVERIFY(d.ButtonOK->isDefault());
  QCOMPARE(d.windowTitle(), QString("Settings"));
  QTimer::singleShot(0, &d, [&] {
    d.EditNumBattles->setText("77");
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  QVERIFY(!d.Execute());
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 1);
}

void ParamsFormTest::tabOrderFollowsTheLayout() {
  Fixture fx;
  TFormParams& d = fx.Dialog();
  // The warrior list column, then core size and parameters, then the tournament, positions
  // and instruction column, then the buttons at the bottom.
  const std::vector<QWidget*> expected = {
      d.ListBoxWarriors,   d.ButtonNewWarrior,   d.ButtonAddFiles,       d.ButtonEditWarrior,
      d.ButtonRemove,      d.ButtonSaveList,     d.ComboBoxStandards,    d.RadioButtonFixed,
      d.ComboBoxCSFixed,   d.EditCSRandom,       d.ComboBoxBattleLength, d.ComboBoxQueueLimit,
      d.ComboBoxMaxLength, d.ComboBoxBufferSize, d.ComboBoxReadLimit,    d.ComboBoxWriteLimit,
      d.ComboBoxPSpace,    d.RadioButtonMelee,   d.ComboBoxChallenger,   d.ComboBoxBenchmark,
      d.EditNumBattles,    d.CheckBoxSelfFights, d.EditFixedPosition,    d.EditFixedSeed,
      d.EditInitialCustom, d.ButtonSaveDefaults, d.ButtonLoadDefaults,   d.ButtonOK,
      d.ButtonCancel};
  std::vector<QWidget*> seen;
  QWidget* w = d.ListBoxWarriors;
  do {
    if (std::find(expected.begin(), expected.end(), w) != expected.end()) seen.push_back(w);
    w = w->nextInFocusChain();
  } while (w != d.ListBoxWarriors);
  QCOMPARE(seen, expected);
}

void ParamsFormTest::loadSettingsThenOkReachesTheEngine() {
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
  test::TScriptedPlatform platform;
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

void ParamsFormTest::newWarriorCompilesWithTheDialogsParameters() {
  WarriorFolder folder;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(folder.Folder()));
  test::TScriptedPlatform platform;
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

QTEST_MAIN(ParamsFormTest)
#include "params_form_test.moc"
