// The Setup dialog's fields: its creation from default.cfg, the checks on leaving a field
// and on OK, the enabling rules, the settings files, Cancel and the keyboard.

#include <QtTest>

#include "params/text_file.h"
#include "tests/ui/support/setup_fixture.h"

using namespace velmora;
using namespace velmora::test;

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
  void permutateComputesRoundsAndRestoresThem();
  void randomCoreSizeShowsTheMinimum();
  void fixedChoicesFillTheirFields();
  void saveSettingsWritesTheDialogsFields();
  void loadedBenchmarkTypeSelectsNoOtherType();
  void cancelLeavesEverythingUntouched();
  void escapeClosesAndOkIsTheDefault();
  void tabOrderFollowsTheLayout();
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

QTEST_MAIN(ParamsFormTest)
#include "params_form_test.moc"
