// The Setup dialog as a user has it: typing into fields and leaving them with Tab, OK,
// Cancel and Escape, the choices that enable and fill fields, the settings files, the warrior
// lists, and a confirmed Setup reaching the engine through the main window.

#include <QtTest>

#include "params/text_file.h"
#include "tests/ui/support/setup_fixture.h"
#include "ui/edit_code_form.h"
#include "ui/mardex_form.h"
#include "ui/results_form.h"

using namespace velmora;
using namespace velmora::test;

namespace {

// The dialog shown and active, so that focus and keys reach it.
TFormParams& Shown(Fixture& fx) {
  TFormParams& d = fx.Dialog();
  d.show();
  if (!QTest::qWaitForWindowActive(&d)) qWarning("the Setup dialog did not become active");
  return d;
}

QLineEdit* EditOf(QWidget* field) {
  auto* combo = qobject_cast<QComboBox*>(field);
  return combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(field);
}

// Puts the focus into a field, types over its text and presses Tab to leave it.
void TypeAndLeave(QWidget* field, const QString& text) {
  field->setFocus(Qt::TabFocusReason);
  EditOf(field)->selectAll();
  QTest::keyClicks(EditOf(field), text);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                    list->visualItemRect(list->item(row)).center());
}

std::vector<std::string> Said(const char* message) {
  return *message ? std::vector<std::string>{message} : std::vector<std::string>{};
}

// A main window whose start folder is a fresh one (no default.cfg).
struct MainWindow {
  WarriorFolder folder;
  QString previous = QDir::currentPath();
  bool moved = QDir::setCurrent(QString::fromStdString(folder.Folder()));
  TScriptedPlatform platform;
  TVelmoraApp app{platform};
  TMardexForm form{app};
  MainWindow() {
    QDir::setCurrent(previous);
    form.show();
    if (!QTest::qWaitForWindowActive(&form)) qWarning("the main window did not become active");
  }
};

} // namespace

class SetupTest : public QObject {
  Q_OBJECT
private slots:
  void leavingAFieldChecksIt();
  void okChecksEverythingCancelAndEscapeStoreNothing();
  void choicesEnableAndFillTheirFields();
  void settingsFiles();
  void warriorLists();
  void confirmedSetupReachesTheEngine();
};

// Plain edits are checked as the focus leaves them. The combo-box number fields are not
// (issue 20), so their check shows only at OK; either way the user sees the message once and
// the valid value back in the field.
void SetupTest::leavingAFieldChecksIt() {
  const struct {
    const char *Control, *Text, *Message, *After;
  } rows[] = {
      {"ComboBoxCSFixed", "15", "Core size must be at least 16", "8000"},
      {"ComboBoxCSFixed", "$1F40", "", "$1F40"},
      {"ComboBoxBattleLength", "2147483647", "Max Cycles must be less than $80000000", "80000"},
      {"ComboBoxQueueLimit", "none", "Max Processes must be a number", "8000"},
      {"ComboBoxBufferSize", "-5", "Min Distance must be at least 0", "100"},
      {"EditNumBattles", "0", "Number of rounds must be at least 1", "1"},
      {"EditNumBattles", "-2", "Number of rounds must be at least 1", "1"},
      {"ComboBoxReadLimit", "9000", "Read Limit must not exceed Core Size", "8000"},
      {"ComboBoxWriteLimit", "0", "Write Limit must be at least 1", "1"},
      {"ComboBoxPSpace", "p", "PSpace Size must be a number", "8000"},
      {"ComboBoxMaxLength", "4000", "Max Length too large to load all Warriors", "100"},
      {"ComboBoxMaxLength", "3900", "", "3900"},
      {"EditFixedPosition", "7901",
       "Second warrior position must not exceed Core Size minus Max Distance", "100"},
      {"EditFixedPosition", "99", "Second warrior position must be at least Max Distance", "100"},
      {"EditFixedSeed", "-3", "RNG Seed must be between 0 and 2147483646", "0"},
      {"EditFixedSeed", "x", "RNG Seed must be a number", "0"},
      {"EditCSRandom", "nine", "Minimum core size must be a number", "8000"}};
  for (const auto& r : rows) {
    Fixture fx;
    TFormParams& d = Shown(fx);
    // Position and seed count only when fixed; max length counts two warriors a battle.
    d.RadioButtonRoundRobin->click();
    d.RadioButtonFixedPosition->click();
    d.RadioButtonFixedSeed->click();
    if (QString(r.Control) == "EditCSRandom") d.RadioButtonRandom->click();
    QWidget* field = d.findChild<QWidget*>(r.Control);
    QVERIFY2(field, r.Control);
    TypeAndLeave(field, r.Text);
    QVERIFY2(!field->hasFocus(), r.Control);
    QCOMPARE(fx.platform.Messages, Said(r.Message));
    QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
    QCOMPARE(fx.platform.Messages, Said(r.Message));
    QCOMPARE(EditOf(field)->text(), QString(r.After));
  }
  // Leaving for Cancel checks nothing: the dialog closes storing nothing anyway.
  Fixture fx;
  TFormParams& d = Shown(fx);
  d.EditNumBattles->setFocus();
  QTest::keyClicks(d.EditNumBattles, "x");
  QTest::mouseClick(d.ButtonCancel, Qt::LeftButton);
  QVERIFY(fx.platform.Messages.empty());
  QCOMPARE(d.result(), int(QDialog::Rejected));
}

void SetupTest::okChecksEverythingCancelAndEscapeStoreNothing() {
  Fixture fx;
  fx.Add({"A", "B", "C"});
  TFormParams& d = Shown(fx);
  QCOMPARE(d.windowTitle(), QString("Settings"));
  QVERIFY(d.ButtonOK->isDefault());
  // The tab order: the list column, core size and parameters, the tournament, positions and
  // instruction column, then the buttons at the bottom.
  const std::vector<QWidget*> order = {
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
    if (std::find(order.begin(), order.end(), w) != order.end()) seen.push_back(w);
    w = w->nextInFocusChain();
  } while (w != d.ListBoxWarriors);
  QCOMPARE(seen, order);

  // OK checks the fields never left, stores nothing on a failure and points at the field.
  const TParamsRec before = fx.app.Params;
  d.ComboBoxCSFixed->setCurrentText("8192");
  d.ComboBoxQueueLimit->setCurrentText("lots");
  d.EditNumBattles->setText("12");
  d.RadioButtonCustom->click();
  d.EditInitialCustom->setText("JUMP 0");
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(fx.platform.Messages, std::vector<std::string>{"Max Processes must be a number"});
  QCOMPARE(d.ComboBoxQueueLimit->currentText(), QString("8000"));
  QCOMPARE(QApplication::focusWidget(), d.ComboBoxQueueLimit);
  QCOMPARE(d.ComboBoxCSFixed->currentText(), QString("8192"));
  // Then the initial instruction's test compile.
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(fx.platform.Messages.back(), std::string("Initial instruction failed to compile."));
  QCOMPARE(QApplication::focusWidget(), d.EditInitialCustom);
  QVERIFY(d.isVisible());
  QCOMPARE(fx.app.Params.CoreSizeMax, before.CoreSizeMax);
  QCOMPARE(fx.app.Params.MaxProcesses, before.MaxProcesses);
  QCOMPARE(fx.app.Params.InitialInstruction, std::string("DAT 0,0"));
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 1);
  QVERIFY(fx.app.Tournament.WarriorList.empty());
  d.EditInitialCustom->setText("JMP 0");

  // A challenge of B, chosen in its box, with limits from their lists.
  d.RadioButtonChallenge->click();
  QVERIFY(d.ComboBoxChallenger->isEnabled());
  d.ComboBoxChallenger->setFocus();
  QTest::keyClick(d.ComboBoxChallenger, Qt::Key_Down);
  QCOMPARE(Items(d.ListBoxWarriors), QString("B,A,C"));
  QCOMPARE(d.ComboBoxChallenger->currentText(), QString("B"));
  d.ComboBoxReadLimit->setCurrentIndex(2);
  QCOMPARE(d.ComboBoxReadLimit->currentText(), QString("1/16 Core Size"));
  d.ComboBoxWriteLimit->setCurrentIndex(1);
  d.ComboBoxPSpace->setCurrentIndex(1);
  d.ComboBoxStandards->setCurrentIndex(0);
  d.CheckBoxSelfFights->click();
  d.RadioButtonChecksumSeed->click();
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(fx.platform.Messages.size(), size_t(2));
  QCOMPARE(d.result(), int(QDialog::Accepted));
  const TTournament& t = fx.app.Tournament;
  QVERIFY(t.Rec.TournamentType == Challenge && t.Rec.WarriorCount == 3 && t.Rec.SelfFights);
  QVERIFY(t.WarriorList[0].Name == "B" && t.WarriorList[0].ID == 1 && t.WarriorList[2].ID == 3);
  QCOMPARE(t.Rec.Rounds, 12);
  const TParamsRec& p = fx.app.Params;
  const std::vector<int32_t> stored = {p.CoreSizeMax, p.ReadLimit, p.WriteLimit,
                                       p.PSpaceSize,  p.Standard,  p.SeedMode};
  QCOMPARE(stored, (std::vector<int32_t>{8192, 512, 2048, 8192, 0, kSeedChecksum}));
  QCOMPARE(fx.app.Setup.ReadLimit.Item, 2);
  QCOMPARE(p.InitialInstruction, std::string("JMP 0"));

  // Cancel and Escape store nothing; shown again, the dialog shows the records.
  for (const bool escape : {false, true}) {
    QTimer::singleShot(0, &d, [&] {
      d.ComboBoxCSFixed->setCurrentText("800");
      d.EditNumBattles->setText("40");
      d.RadioButtonMelee->click();
      QTest::mouseClick(d.ButtonRemoveAll, Qt::LeftButton);
      escape ? QTest::keyClick(&d, Qt::Key_Escape)
             : QTest::mouseClick(d.ButtonCancel, Qt::LeftButton);
    });
    QVERIFY(!d.Execute());
    QCOMPARE(t.WarriorList.size(), size_t(3));
    QVERIFY(p.CoreSizeMax == 8192 && t.Rec.Rounds == 12 && t.Rec.TournamentType == Challenge);
    QCOMPARE(fx.app.Setup.CoreSizeText, std::string("8192"));
  }
  QTimer::singleShot(0, &d, [&] {
    QCOMPARE(d.ComboBoxCSFixed->currentText(), QString("8192"));
    QCOMPARE(Items(d.ListBoxWarriors), QString("B,A,C"));
    QVERIFY(d.RadioButtonChallenge->isChecked());
    QTest::keyClick(&d, Qt::Key_Return);
  });
  QVERIFY(d.Execute());
}

void SetupTest::choicesEnableAndFillTheirFields() {
  Fixture fx;
  TFormParams& d = Shown(fx);
  // Fixed position and seed fill their fields (the min distance, 0) and enable them.
  d.ComboBoxBufferSize->setCurrentText("200");
  d.EditFixedPosition->clear();
  d.EditFixedSeed->clear();
  QVERIFY(!d.EditFixedPosition->isEnabled() && !d.EditFixedSeed->isEnabled());
  d.RadioButtonFixedPosition->click();
  QCOMPARE(d.EditFixedPosition->text(), QString("200"));
  QVERIFY(d.EditFixedPosition->isEnabled());
  d.RadioButtonFixedSeed->click();
  QCOMPARE(d.EditFixedSeed->text(), QString("0"));
  QVERIFY(d.EditFixedSeed->isEnabled());
  d.RadioButtonChecksumSeed->click();
  QVERIFY(!d.EditFixedSeed->isEnabled());

  // Permutate computes its rounds, locks them and the random core size, and gives the
  // user's rounds back when left; the rounds follow the min distance.
  d.ComboBoxCSFixed->setCurrentText("8000");
  d.ComboBoxBufferSize->setCurrentText("100");
  TypeAndLeave(d.EditNumBattles, "5");
  d.RadioButtonPermutatePosition->click();
  QCOMPARE(d.EditNumBattles->text(), QString("15602"));
  QVERIFY(!d.EditNumBattles->isEnabled() && !d.RadioButtonRandom->isEnabled());
  QVERIFY(!d.EditFixedPosition->isEnabled());
  d.RadioButtonPermutatePosition->click(); // not taking the computed rounds for the user's
  d.RadioButtonRandomPosition->click();
  QCOMPARE(d.EditNumBattles->text(), QString("5"));
  QVERIFY(d.EditNumBattles->isEnabled() && d.RadioButtonRandom->isEnabled());
  TypeAndLeave(d.EditNumBattles, "6");
  d.RadioButtonFixedPosition->click();
  QCOMPARE(d.EditNumBattles->text(), QString("6"));
  d.RadioButtonPermutatePosition->click();
  TypeAndLeave(d.ComboBoxBufferSize, "1000");
  QCOMPARE(d.EditNumBattles->text(), QString("12002"));
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(fx.app.Tournament.Rec.Rounds, 12002);
  QCOMPARE(fx.app.Params.SecondPosition, kPositionPermutate);

  // A random core size shows its minimum, taken from the core size, and locks permutate.
  d.FormShow();
  Shown(fx);
  d.RadioButtonRandomPosition->click();
  QVERIFY(d.EditCSRandom->isHidden());
  d.ComboBoxCSFixed->setCurrentText("16384");
  d.RadioButtonRandom->click();
  QVERIFY(!d.EditCSRandom->isHidden() && !d.LabelMin->isHidden());
  QCOMPARE(d.EditCSRandom->text(), QString("16384"));
  QVERIFY(!d.RadioButtonPermutatePosition->isEnabled());
  TypeAndLeave(d.EditCSRandom, "4000");
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QVERIFY(fx.app.Params.RandomCoreSize);
  QCOMPARE(fx.app.Params.CoreSizeMin, 4000);
  QCOMPARE(fx.app.Params.CoreSizeMax, 16384);
  d.FormShow();
  QCOMPARE(d.EditCSRandom->text(), QString("4000"));
  d.RadioButtonFixed->click();
  QVERIFY(d.EditCSRandom->isHidden() && d.LabelMax->isHidden());
  QVERIFY(d.RadioButtonPermutatePosition->isEnabled());
}

void SetupTest::settingsFiles() {
  // At creation the dialog confirms default.cfg, a bad instruction in it excepted.
  {
    Fixture fx;
    TSetupFields f;
    f.CoreSizeText = "800";
    f.RoundsText = "7";
    f.TournamentType = RoundRobin;
    f.ReadLimit = {1, ""};
    f.InitialInstruction = "NOP 1/0";
    f.SeedMode = 0;
    f.FixedSeedText = "99";
    f.ScoreFormula = "W*2";
    fx.folder.Settings(f, "default.cfg");
    fx.app.Params.CoreSizeMax = 55440;
    TFormParams dialog(fx.app);
    QCOMPARE(fx.app.FormParams, &dialog);
    QCOMPARE(fx.platform.Messages.size(), size_t(1));
    QVERIFY(fx.platform.Messages[0].starts_with("Initial instruction failed to compile."));
    const TParamsRec& p = fx.app.Params;
    QVERIFY(p.CoreSizeMax == 800 && p.ReadLimit == 200 && p.SeedMode == 99);
    QCOMPARE(p.InitialInstruction, std::string("DAT 0,0"));
    QVERIFY(fx.app.Tournament.Rec.Rounds == 7 &&
            fx.app.Tournament.Rec.TournamentType == RoundRobin);
    QCOMPARE(fx.app.Tournament.Rec.ScoreFormula, std::string("W*2"));
    QCOMPARE(fx.app.Setup.ReadLimit.Item, 1);
  }
  Fixture fx;
  fx.app.Params.CoreSizeMax = 55440; // anything the defaults must replace
  TFormParams& d = Shown(fx);
  QVERIFY(fx.platform.Messages.empty() && fx.platform.DialogTitles.empty());
  const TParamsRec& p = fx.app.Params;
  QVERIFY(p.CoreSizeMax == 8000 && p.MaxCycles == 80000 && p.PSpaceSize == 500);
  QVERIFY(fx.app.Tournament.Rec.TournamentType == Melee && fx.app.Tournament.Rec.Rounds == 1);

  // Save Settings writes the dialog's fields; Load Settings brings them back.
  d.ComboBoxCSFixed->setCurrentText("55440");
  d.ComboBoxReadLimit->setCurrentText("500");
  d.RadioButtonCustom->click();
  d.EditInitialCustom->setText("MOV 0, 1");
  fx.platform.Answers = {Answer::Yes};
  QTest::mouseClick(d.ButtonSaveDefaults, Qt::LeftButton);
  std::vector<std::string> lines;
  QVERIFY(ReadTextLines(fx.folder.Path("default.cfg"), lines));
  QCOMPARE(lines.size(), size_t(23));
  QCOMPARE(lines[0] + "|" + lines[10] + "|" + lines[22],
           std::string("55440 = Core Size|-500 = Read Limit|MOV 0, 1 = Initialize instruction"));
  d.ComboBoxCSFixed->setCurrentText("800");
  d.RadioButtonDat->click();
  fx.platform.Answers = {Answer::Yes};
  QTest::mouseClick(d.ButtonLoadDefaults, Qt::LeftButton);
  QCOMPARE(d.ComboBoxCSFixed->currentText(), QString("55440"));
  QCOMPARE(d.ComboBoxReadLimit->currentText(), QString("500"));
  QCOMPARE(d.TakeFields().ReadLimit.Item, -1);
  QVERIFY(d.RadioButtonCustom->isChecked());
  QCOMPARE(d.EditInitialCustom->text(), QString("MOV 0, 1"));
  // Cancel answers write and read nothing.
  QTest::mouseClick(d.ButtonSaveDefaults, Qt::LeftButton);
  QTest::mouseClick(d.ButtonLoadDefaults, Qt::LeftButton);
  QCOMPARE(fx.platform.Messages.size(), size_t(4));
  QVERIFY(fx.platform.DialogTitles.empty());
  // A file chosen to load; its benchmark type selects no type without benchmark warriors.
  TSetupFields bench;
  bench.TournamentType = Benchmark;
  bench.RoundsText = "3";
  d.RadioButtonRoundRobin->click();
  fx.platform.Answers = {Answer::No};
  fx.platform.FileNames = {fx.folder.Settings(bench, "bench.cfg")};
  QTest::mouseClick(d.ButtonLoadDefaults, Qt::LeftButton);
  QCOMPARE(fx.platform.DialogTitles, std::vector<std::string>{"Load Settings"});
  for (QRadioButton* type : {d.RadioButtonMelee, d.RadioButtonRoundRobin, d.RadioButtonChallenge,
                             d.RadioButtonBenchmark})
    QVERIFY(!type->isChecked());
  QCOMPARE(d.EditNumBattles->text(), QString("3"));
}

void SetupTest::warriorLists() {
  Fixture fx;
  fx.Add({"A", "B", "C", "D", "E"});
  TFormParams& d = Shown(fx);
  QCOMPARE(d.StaticTextTotal->text(), QString("5"));
  QCOMPARE(SelectedRows(d.ListBoxWarriors), QList<int>{4});
  // Remove selects the entry before the lowest removed.
  const struct {
    QList<int> Selected;
    const char* After;
    int Current;
  } removals[] = {{{1, 3}, "A,C,E", 0}, {{2}, "A,C", 1}, {{0, 1}, "", -1}};
  for (const auto& r : removals) {
    ClickRow(d.ListBoxWarriors, r.Selected[0]);
    for (int row : r.Selected.mid(1))
      ClickRow(d.ListBoxWarriors, row, Qt::ControlModifier);
    QTest::mouseClick(d.ButtonRemove, Qt::LeftButton);
    QCOMPARE(Items(d.ListBoxWarriors), QString(r.After));
    QCOMPARE(Items(d.ComboBoxChallenger), QString(r.After));
    QCOMPARE(d.StaticTextTotal->text(), QString::number(d.ListBoxWarriors->count()));
    QCOMPARE(SelectedRows(d.ListBoxWarriors), r.Current < 0 ? QList<int>{} : QList{r.Current});
    for (QPushButton* b : {d.ButtonRemove, d.ButtonRemoveAll, d.ButtonEditWarrior, d.ButtonSaveList,
                           d.ButtonSortList})
      QCOMPARE(b->isEnabled(), r.Current >= 0);
  }
  QVERIFY(d.ButtonAddFiles->isEnabled() && d.ButtonNewWarrior->isEnabled());

  // Sort ignores case; Remove All empties both lists.
  fx.Add({"dwarf", "Imp", "bomber"});
  d.RadioButtonChallenge->click();
  d.ComboBoxChallenger->setFocus();
  QTest::keyClick(d.ComboBoxChallenger, Qt::Key_End);
  QCOMPARE(Items(d.ComboBoxChallenger), QString("bomber,Imp,dwarf"));
  QTest::mouseClick(d.ButtonSortList, Qt::LeftButton);
  QCOMPARE(Items(d.ListBoxWarriors), QString("bomber,dwarf,Imp"));
  QCOMPARE(d.ComboBoxChallenger->currentText(), QString("bomber"));
  QTest::mouseClick(d.ButtonRemoveAll, Qt::LeftButton);
  QVERIFY(d.ListBoxWarriors->count() == 0 && d.ComboBoxChallenger->count() == 0);
  QCOMPARE(d.StaticTextTotal->text(), QString("0"));

  // New and Edit (a double click) go through the warrior editor.
  std::vector<std::pair<int32_t, TWarriorData>> calls;
  bool confirm = true;
  d.EditWarrior = [&](int32_t number, TWarriorData& w) {
    calls.emplace_back(number, w);
    w.Name = "Renamed " + std::to_string(calls.size());
    w.Source = {"JMP 0"};
    return confirm;
  };
  fx.Add({"A", "B"});
  ClickRow(d.ListBoxWarriors, 1);
  QTest::mouseDClick(d.ListBoxWarriors->viewport(), Qt::LeftButton, {},
                     d.ListBoxWarriors->visualItemRect(d.ListBoxWarriors->item(1)).center());
  QCOMPARE(calls.size(), size_t(1));
  QVERIFY(calls[0].first == 1 && calls[0].second.Name == "B"); // compiled as warrior 1
  QCOMPARE(Items(d.ListBoxWarriors), QString("A,Renamed 1"));
  QCOMPARE(Items(d.ComboBoxChallenger), QString("A,Renamed 1"));
  QCOMPARE(d.Warriors()[1].Source, std::vector<std::string>{"JMP 0"});
  QTest::mouseClick(d.ButtonNewWarrior, Qt::LeftButton);
  QVERIFY(calls[1].first == 1 && calls[1].second.Name == "No Name");
  QVERIFY(calls[1].second.Author == "Anonymous" && calls[1].second.FileName.empty());
  QCOMPARE(Items(d.ListBoxWarriors), QString("A,Renamed 1,Renamed 2"));
  QCOMPARE(d.StaticTextTotal->text(), QString("3"));
  confirm = false;
  QTest::mouseClick(d.ButtonNewWarrior, Qt::LeftButton);
  ClickRow(d.ListBoxWarriors, 0);
  QTest::mouseClick(d.ButtonEditWarrior, Qt::LeftButton);
  QCOMPARE(calls.size(), size_t(4));
  QCOMPARE(Items(d.ListBoxWarriors), QString("A,Renamed 1,Renamed 2"));
  QVERIFY(fx.app.Tournament.WarriorList.empty());

  // Benchmark: its file dialog cancelled, OK asks for one; chosen, OK stores its list.
  d.RadioButtonBenchmark->click();
  QVERIFY(!d.ComboBoxBenchmark->isEnabled() && !d.ComboBoxChallenger->isEnabled());
  fx.platform.DialogTitles.clear();
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(fx.platform.Messages,
           std::vector<std::string>{"To run a Benchmark tournament, you must select a warrior "
                                    "or warrior list."});
  QCOMPARE(fx.platform.DialogTitles, std::vector<std::string>{"Select Benchmark Warrior or List"});
  QVERIFY(d.isVisible() && fx.app.Tournament.WarriorList.empty());
  fx.platform.FileNames.push_back(fx.folder.List({"X", "Y"}));
  d.RadioButtonMelee->click();
  d.RadioButtonBenchmark->click();
  QCOMPARE(Items(d.ComboBoxBenchmark), QString("X,Y"));
  QVERIFY(d.ComboBoxBenchmark->isEnabled() && d.ComboBoxBenchmark->currentIndex() == 0);
  d.RadioButtonMelee->click();
  d.RadioButtonBenchmark->click(); // cancelled: the list stays
  QCOMPARE(Items(d.ComboBoxBenchmark), QString("X,Y"));
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QVERIFY(fx.app.Tournament.Rec.TournamentType == Benchmark);
  QCOMPARE(fx.app.Tournament.Rec.BenchmarkCount, 2);
  QCOMPARE(fx.app.Tournament.BenchmarkList[1].Name, std::string("Y"));
  d.FormShow();
  Shown(fx);
  QVERIFY(d.RadioButtonBenchmark->isChecked());
  QCOMPARE(Items(d.ComboBoxBenchmark), QString("X,Y"));

  // One warrior makes a melee, said so.
  QTest::mouseClick(d.ButtonRemoveAll, Qt::LeftButton);
  fx.Add({"Lonely"});
  d.RadioButtonRoundRobin->click();
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(fx.platform.Messages.back(),
           std::string("Single warrior battles are only supported by Melee tournaments. The "
                       "tournament type has been set to Melee."));
  QVERIFY(fx.app.Tournament.Rec.TournamentType == Melee && d.RadioButtonMelee->isChecked());
  d.FormShow();
  QVERIFY(d.RadioButtonMelee->isChecked());
}

void SetupTest::confirmedSetupReachesTheEngine() {
  MainWindow w;
  QVERIFY(w.app.Core);
  QCOMPARE(w.app.Core->CoreSizeMax, 8000);
  TSetupFields f;
  f.CoreSizeText = "800";
  f.MaxCyclesText = "16000";
  f.MaxProcessesText = "64";
  f.MinDistanceText = f.MaxLengthText = "20";
  f.TournamentType = RoundRobin;
  f.RoundsText = "3";
  f.CircularDisplay = true;
  f.Percent = false;
  w.platform.Answers = {Answer::No};
  w.platform.FileNames = {w.folder.Settings(f, "mine.cfg"), w.folder.List({"Left", "Right"})};
  TFormParams& setup = *w.app.FormParams;
  TFormEditCode& editor = *w.app.FormEditCode;
  int32_t coreSizeWhileEditing = 0, standardWhileEditing = -1;
  QTimer::singleShot(0, &setup, [&] {
    // A new warrior compiles with the dialog's parameters; the engine gets its own back.
    setup.ComboBoxCSFixed->setCurrentText("400");
    setup.ComboBoxStandards->setCurrentIndex(0);
    QTimer::singleShot(0, &editor, [&] {
      coreSizeWhileEditing = w.app.Core->CoreSize;
      standardWhileEditing = w.app.Core->Standard;
      editor.MemoSource->setPlainText(";name Written\nMOV 0, 1");
      QTest::mouseClick(editor.ButtonCompile, Qt::LeftButton);
      QTest::mouseClick(editor.ButtonOK, Qt::LeftButton);
    });
    QTest::mouseClick(setup.ButtonNewWarrior, Qt::LeftButton);
    QCOMPARE(Items(setup.ListBoxWarriors), QString("Written"));
    QVERIFY(w.app.Core->CoreSize == 8000 && w.app.Core->Standard == 2);
    QTest::mouseClick(setup.ButtonRemoveAll, Qt::LeftButton);
    QTest::mouseClick(setup.ButtonLoadDefaults, Qt::LeftButton);
    QTest::mouseClick(setup.ButtonAddFiles, Qt::LeftButton);
    QTest::mouseClick(setup.ButtonOK, Qt::LeftButton);
  });
  QTest::mouseClick(w.form.ButtonParams, Qt::LeftButton);
  QVERIFY(coreSizeWhileEditing == 400 && standardWhileEditing == 0);
  QCOMPARE(w.platform.Messages.size(), size_t(1)); // the load question only
  const TCore& core = *w.app.Core;
  const std::vector<int32_t> engine = {core.CoreSizeMax, core.MaxCycles, core.MaxProcesses,
                                       core.MinDistance, core.NumWarriors};
  QCOMPARE(engine, (std::vector<int32_t>{800, 16000, 64, 20, 2}));
  QCOMPARE(w.form.LabelTournamentTypeOutput->text(), QString("Round Robin"));
  QCOMPARE(w.form.ButtonEdit[1]->text(), QString("Right"));
  QCOMPARE(w.form.State(), RunState::Stopped);
  QVERIFY(w.form.Display().Circular());
  QVERIFY(!w.app.FormResults->CheckBoxPercent->isChecked());
}

QTEST_MAIN(SetupTest)
#include "setup_test.moc"
