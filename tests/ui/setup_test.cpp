// The Setup dialog as a user has it: typing into fields and leaving them with Tab, OK,
// Cancel and Escape, the choices that enable and fill fields, the settings files, the warrior
// lists, and a confirmed Setup reaching the engine through the main window.

#include <QtTest>

#include "params/settings_file.h"
#include "tests/ui/support/session.h"
#include "ui/edit_code_form.h"
#include "ui/mardex_form.h"
#include "ui/params_form.h"
#include "ui/results_form.h"

// Designated initializers leave the other members at their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace velmora;
using namespace velmora::test;

namespace {

// An application whose start folder is a fresh folder (no default.cfg unless written), with
// one-line warriors, list files naming them and settings files written there.
struct Fixture {
  Fixture() : app(platform) { app.StartDirectory = dir.path().toStdString(); }
  std::string Path(const std::string& name) const {
    return dir.filePath(name.c_str()).toStdString();
  }
  std::string List(std::initializer_list<const char*> names) {
    const std::string path = Path("list" + std::to_string(lists++) + ".txt");
    std::ofstream out(path);
    out << ";warriorlist\n";
    for (const std::string n : names) {
      std::ofstream(Path(n + ".red")) << ";redcode-94\n;name " << n << "\nMOV 0, 1\n";
      out << Path(n + ".red") << '\n';
    }
    return path;
  }
  std::string Settings(const TSetupFields& fields, const std::string& name) {
    std::string error;
    if (!SaveSettingsFile(Path(name), fields, error)) qFatal("%s", error.c_str());
    return Path(name);
  }
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
    platform.FileNames.push_back(List(names));
    Dialog().ButtonAddFiles->click();
  }

  QTemporaryDir dir;
  int lists = 0;
  TScriptedPlatform platform;
  TVelmoraApp app;
  std::unique_ptr<TFormParams> dialog;
};

QList<int> SelectedRows(const QListWidget* list) {
  QList<int> rows;
  for (const QListWidgetItem* item : list->selectedItems())
    rows << list->row(item);
  std::sort(rows.begin(), rows.end());
  return rows;
}

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

// A main window whose start folder is a fresh one (no default.cfg).
struct MainWindow : Fixture {
  QString previous = QDir::currentPath();
  bool moved = QDir::setCurrent(dir.path());
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

// Each field is checked as the focus leaves it: the user sees the message once, OK adds none,
// and the field shows the valid value back: the stored one, or a limit.
void SetupTest::leavingAFieldChecksIt() {
  // clang-format off
  const struct { const char *Control, *Text, *Message, *After; } rows[] = {
      {"ComboBoxCSFixed", "15", "Core size must be at least 16", "8000"},
      {"ComboBoxCSFixed", "$1F40", "", "$1F40"},
      {"ComboBoxBattleLength", "2147483646", "", "2147483646"},
      {"ComboBoxBattleLength", "0", "Max Cycles must be at least 1", "80000"},
      {"ComboBoxQueueLimit", "0", "Max Processes must be at least 1", "8000"},
      {"ComboBoxBufferSize", "-5", "Min Distance must be at least 0", "100"},
      {"EditNumBattles", "0", "Number of rounds must be at least 1", "1"},
      {"EditNumBattles", "-93845", "Number of rounds must be a number", "1"},
      {"ComboBoxReadLimit", "9000", "Read Limit must not exceed Core Size", "8000"},
      {"ComboBoxReadLimit", "0", "Read Limit must be at least 1", "1"},
      {"ComboBoxReadLimit", "500", "", "500"},
      {"ComboBoxWriteLimit", "0", "Write Limit must be at least 1", "1"},
      {"ComboBoxPSpace", "8001", "PSpace Size must not exceed Core Size", "8000"},
      {"ComboBoxMaxLength", "4000", "Max Length too large to load all Warriors", "100"},
      {"ComboBoxMaxLength", "3900", "", "3900"},
      {"EditFixedPosition", "7901", "Second warrior position must not exceed Core Size minus Max Distance", "100"},
      {"EditFixedPosition", "99", "Second warrior position must be at least Max Distance", "100"},
      {"EditFixedPosition", "7900", "", "7900"},
      {"EditFixedSeed", "-3", "RNG Seed must be between 0 and 2147483646", "0"},
      {"EditFixedSeed", "2147483646", "", "2147483646"},
      {"EditCSRandom", "nine", "Minimum core size must be a number", "8000"}};
  // clang-format on
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
    QCOMPARE(Join(r.Control, r.Text, fx.platform.Messages), Join(r.Control, r.Text, r.Message));
    QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
    QCOMPARE(Join(fx.platform.Messages, EditOf(field)->text()), Join(r.Message, r.After));
  }
  // Leaving for Cancel checks nothing: the dialog closes storing nothing anyway.
  Fixture fx;
  TFormParams& d = Shown(fx);
  d.EditNumBattles->setFocus();
  QTest::keyClicks(d.EditNumBattles, "x");
  QTest::mouseClick(d.ButtonCancel, Qt::LeftButton);
  QCOMPARE(Join(fx.platform.Messages, d.result()), Join("", QDialog::Rejected));
}

void SetupTest::okChecksEverythingCancelAndEscapeStoreNothing() {
  Fixture fx;
  fx.Add({"A", "B", "C"});
  TFormParams& d = Shown(fx);
  // OK checks the fields never left, stores nothing on a failure and points at the field;
  // then the initial instruction's test compile.
  const TParamsRec before = fx.app.Params;
  d.ComboBoxCSFixed->setCurrentText("8192");
  d.ComboBoxQueueLimit->setCurrentText("lots");
  d.EditNumBattles->setText("12");
  d.RadioButtonCustom->click();
  d.EditInitialCustom->setText("JUMP 0");
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(Join(fx.platform.Messages, d.ComboBoxQueueLimit->currentText(),
                QApplication::focusWidget() == d.ComboBoxQueueLimit,
                d.ComboBoxCSFixed->currentText()),
           QString("Max Processes must be a number|8000|y|8192"));
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(Join(fx.platform.Messages.back(), QApplication::focusWidget() == d.EditInitialCustom,
                d.isVisible(), fx.app.Params.CoreSizeMax, fx.app.Params.MaxProcesses,
                fx.app.Params.InitialInstruction, fx.app.Tournament.Rec.Rounds,
                fx.app.Tournament.WarriorList.size()),
           Join("Initial instruction failed to compile.", true, true, before.CoreSizeMax,
                before.MaxProcesses, "DAT 0,0", 1, 0));
  d.EditInitialCustom->setText("JMP 0");

  // A challenge of B, chosen in its box, with limits from their lists.
  d.RadioButtonChallenge->click();
  QVERIFY(d.ComboBoxChallenger->isEnabled());
  d.ComboBoxChallenger->setFocus();
  QTest::keyClick(d.ComboBoxChallenger, Qt::Key_Down);
  QCOMPARE(Join(Items(d.ListBoxWarriors), d.ComboBoxChallenger->currentText()), QString("B,A,C|B"));
  d.ComboBoxReadLimit->setCurrentIndex(2);
  d.ComboBoxWriteLimit->setCurrentIndex(1);
  d.ComboBoxPSpace->setCurrentIndex(1);
  d.ComboBoxStandards->setCurrentIndex(0);
  d.CheckBoxSelfFights->click();
  d.RadioButtonChecksumSeed->click();
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  const TTournament& t = fx.app.Tournament;
  const TParamsRec& p = fx.app.Params;
  QCOMPARE(Join(fx.platform.Messages.size(), d.result(), t.Rec.TournamentType, t.Rec.WarriorCount,
                t.Rec.SelfFights, t.WarriorList[0].Name, t.WarriorList[0].ID, t.WarriorList[2].ID,
                t.Rec.Rounds, fx.app.Setup.ReadLimit.Item, p.InitialInstruction),
           Join(2, QDialog::Accepted, Challenge, 3, true, "B", 1, 3, 12, 2, "JMP 0"));
  QCOMPARE(Join(p.CoreSizeMax, p.ReadLimit, p.WriteLimit, p.PSpaceSize, p.Standard, p.SeedMode),
           Join(8192, 512, 2048, 8192, 0, kSeedChecksum));

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
    QCOMPARE(Join(t.WarriorList.size(), p.CoreSizeMax, t.Rec.Rounds, t.Rec.TournamentType,
                  fx.app.Setup.CoreSizeText),
             Join(3, 8192, 12, Challenge, "8192"));
  }
  QTimer::singleShot(0, &d, [&] {
    QCOMPARE(Join(d.ComboBoxCSFixed->currentText(), Items(d.ListBoxWarriors),
                  d.RadioButtonChallenge->isChecked()),
             QString("8192|B,A,C|y"));
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
  d.RadioButtonFixedSeed->click();
  QCOMPARE(Join(d.EditFixedPosition->text(), d.EditFixedPosition->isEnabled(),
                d.EditFixedSeed->text(), d.EditFixedSeed->isEnabled()),
           QString("200|y|0|y"));
  d.RadioButtonChecksumSeed->click();
  QVERIFY(!d.EditFixedSeed->isEnabled());

  // Permutate computes its rounds, locks them and the random core size, and gives the
  // user's rounds back when left; the rounds follow the min distance.
  const auto rounds = [&d] {
    return Join(d.EditNumBattles->text(), d.EditNumBattles->isEnabled(),
                d.RadioButtonRandom->isEnabled(), d.EditFixedPosition->isEnabled());
  };
  d.ComboBoxCSFixed->setCurrentText("8000");
  d.ComboBoxBufferSize->setCurrentText("100");
  TypeAndLeave(d.EditNumBattles, "5");
  d.RadioButtonPermutatePosition->click();
  QCOMPARE(rounds(), QString("15602|n|n|n"));
  d.RadioButtonPermutatePosition->click(); // not taking the computed rounds for the user's
  d.RadioButtonRandomPosition->click();
  QCOMPARE(rounds(), QString("5|y|y|n"));
  TypeAndLeave(d.EditNumBattles, "6");
  d.RadioButtonFixedPosition->click();
  QCOMPARE(d.EditNumBattles->text(), QString("6"));
  d.RadioButtonPermutatePosition->click();
  TypeAndLeave(d.ComboBoxBufferSize, "1000");
  QCOMPARE(d.EditNumBattles->text(), QString("12002"));
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(Join(fx.app.Tournament.Rec.Rounds, fx.app.Params.SecondPosition),
           Join(12002, kPositionPermutate));

  // A random core size shows its minimum, taken from the core size, and locks permutate.
  d.FormShow();
  Shown(fx);
  d.RadioButtonRandomPosition->click();
  d.ComboBoxCSFixed->setCurrentText("16384");
  d.RadioButtonRandom->click();
  QCOMPARE(Join(d.EditCSRandom->isHidden(), d.EditCSRandom->text(),
                d.RadioButtonPermutatePosition->isEnabled()),
           QString("n|16384|n"));
  TypeAndLeave(d.EditCSRandom, "4000");
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(Join(fx.app.Params.RandomCoreSize, fx.app.Params.CoreSizeMin, fx.app.Params.CoreSizeMax),
           QString("y|4000|16384"));
}

void SetupTest::settingsFiles() {
  // At creation the dialog confirms default.cfg, a bad instruction in it excepted.
  {
    Fixture fx;
    fx.Settings({.CoreSizeText = "800",
                 .ReadLimit = {1, ""},
                 .TournamentType = RoundRobin,
                 .RoundsText = "7",
                 .SeedMode = 0,
                 .FixedSeedText = "99",
                 .InitialInstruction = "NOP 1/0",
                 .ScoreFormula = "W*2"},
                "default.cfg");
    fx.app.Params.CoreSizeMax = 55440;
    TFormParams dialog(fx.app);
    const TParamsRec& p = fx.app.Params;
    const TTournamentRec& t = fx.app.Tournament.Rec;
    QCOMPARE(Join(fx.app.FormParams == &dialog, fx.platform.Messages.size(), p.CoreSizeMax,
                  p.ReadLimit, p.SeedMode, p.InitialInstruction, t.Rounds, t.TournamentType,
                  t.ScoreFormula, fx.app.Setup.ReadLimit.Item),
             Join(true, 1, 800, 200, 99, "DAT 0,0", 7, RoundRobin, "W*2", 1));
    QVERIFY(fx.platform.Messages[0].starts_with("Initial instruction failed to compile."));
  }
  Fixture fx;
  fx.app.Params.CoreSizeMax = 55440; // anything the defaults must replace
  TFormParams& d = Shown(fx);
  const TParamsRec& p = fx.app.Params;
  QCOMPARE(Join(fx.platform.Messages.size(), fx.platform.DialogTitles.size(), p.CoreSizeMax,
                p.MaxCycles, p.PSpaceSize, fx.app.Tournament.Rec.TournamentType,
                fx.app.Tournament.Rec.Rounds),
           Join(0, 0, 8000, 80000, 500, Melee, 1));

  // Save Settings writes the dialog's fields; Load Settings brings them back.
  d.ComboBoxCSFixed->setCurrentText("55440");
  d.ComboBoxReadLimit->setCurrentText("500");
  d.RadioButtonCustom->click();
  d.EditInitialCustom->setText("MOV 0, 1");
  fx.platform.Answers = {Answer::Yes};
  QTest::mouseClick(d.ButtonSaveDefaults, Qt::LeftButton);
  QVERIFY(FileBytes(fx.Path("default.cfg")).starts_with("55440 = Core Size"));
  d.ComboBoxCSFixed->setCurrentText("800");
  d.RadioButtonDat->click();
  fx.platform.Answers = {Answer::Yes};
  QTest::mouseClick(d.ButtonLoadDefaults, Qt::LeftButton);
  QCOMPARE(Join(d.ComboBoxCSFixed->currentText(), d.ComboBoxReadLimit->currentText(),
                d.TakeFields().ReadLimit.Item, d.RadioButtonCustom->isChecked(),
                d.EditInitialCustom->text()),
           QString("55440|500|-1|y|MOV 0, 1"));
}

void SetupTest::warriorLists() {
  Fixture fx;
  fx.Add({"A", "B", "C", "D", "E"});
  TFormParams& d = Shown(fx);
  QCOMPARE(Join(d.StaticTextTotal->text(), SelectedRows(d.ListBoxWarriors)), QString("5|4"));
  // Remove selects the entry before the lowest removed.
  const struct {
    QList<int> Selected;
    const char* After;
    int Current;
  } removals[] = {{{1, 3}, "A,C,E", 0}, {{2}, "A,C", 1}, {{0, 1}, "", -1}};
  for (const auto& r : removals) {
    test::ClickRow(d.ListBoxWarriors, r.Selected[0]);
    for (int row : r.Selected.mid(1))
      test::ClickRow(d.ListBoxWarriors, row, Qt::ControlModifier);
    QTest::mouseClick(d.ButtonRemove, Qt::LeftButton);
    const bool any = r.Current >= 0;
    QCOMPARE(Join(Items(d.ListBoxWarriors), Items(d.ComboBoxChallenger), d.StaticTextTotal->text(),
                  SelectedRows(d.ListBoxWarriors), d.ButtonRemove->isEnabled(),
                  d.ButtonRemoveAll->isEnabled(), d.ButtonEditWarrior->isEnabled(),
                  d.ButtonSaveList->isEnabled(), d.ButtonSortList->isEnabled()),
             Join(r.After, r.After, d.ListBoxWarriors->count(),
                  any ? QList{r.Current} : QList<int>{}, any, any, any, any, any));
  }
  QVERIFY(d.ButtonAddFiles->isEnabled() && d.ButtonNewWarrior->isEnabled());

  // Sort ignores case; Remove All empties both lists.
  fx.Add({"dwarf", "Imp", "bomber"});
  d.RadioButtonChallenge->click();
  d.ComboBoxChallenger->setFocus();
  QTest::keyClick(d.ComboBoxChallenger, Qt::Key_End);
  QCOMPARE(Items(d.ComboBoxChallenger), QString("bomber,Imp,dwarf"));
  QTest::mouseClick(d.ButtonSortList, Qt::LeftButton);
  QCOMPARE(Join(Items(d.ListBoxWarriors), d.ComboBoxChallenger->currentText()),
           QString("bomber,dwarf,Imp|bomber"));
  QTest::mouseClick(d.ButtonRemoveAll, Qt::LeftButton);
  QCOMPARE(
      Join(d.ListBoxWarriors->count(), d.ComboBoxChallenger->count(), d.StaticTextTotal->text()),
      QString("0|0|0"));

  // New and Edit (a double click) go through the warrior editor, as warrior 1.
  std::vector<std::pair<int32_t, TWarriorData>> calls;
  d.EditWarrior = [&](int32_t number, TWarriorData& w) {
    calls.emplace_back(number, w);
    w.Name = "Renamed " + std::to_string(calls.size());
    w.Source = {"JMP 0"};
    return true;
  };
  fx.Add({"A", "B"});
  test::ClickRow(d.ListBoxWarriors, 1);
  QTest::mouseDClick(d.ListBoxWarriors->viewport(), Qt::LeftButton, {},
                     d.ListBoxWarriors->visualItemRect(d.ListBoxWarriors->item(1)).center());
  QTest::mouseClick(d.ButtonNewWarrior, Qt::LeftButton);
  QCOMPARE(
      Join(calls.size(), calls[0].first, calls[0].second.Name, Items(d.ComboBoxChallenger),
           d.Warriors()[1].Source, calls[1].first, calls[1].second.Name, calls[1].second.Author,
           calls[1].second.FileName, Items(d.ListBoxWarriors), d.StaticTextTotal->text()),
      QString("2|1|B|A,Renamed 1,Renamed 2|JMP 0|1|No Name|Anonymous||A,Renamed 1,Renamed 2|3"));

  // Benchmark: its file dialog cancelled, OK asks for one; chosen, OK stores its list.
  d.RadioButtonBenchmark->click();
  QVERIFY(!d.ComboBoxBenchmark->isEnabled() && !d.ComboBoxChallenger->isEnabled());
  fx.platform.DialogTitles.clear();
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  QCOMPARE(Join(fx.platform.Messages, fx.platform.DialogTitles, d.isVisible()),
           QString("To run a Benchmark tournament, you must select a warrior or warrior list."
                   "|Select Benchmark Warrior or List|y"));
  fx.platform.FileNames.push_back(fx.List({"X", "Y"}));
  d.RadioButtonMelee->click();
  d.RadioButtonBenchmark->click();
  QCOMPARE(Join(Items(d.ComboBoxBenchmark), d.ComboBoxBenchmark->isEnabled(),
                d.ComboBoxBenchmark->currentIndex()),
           QString("X,Y|y|0"));
  d.RadioButtonMelee->click();
  d.RadioButtonBenchmark->click(); // cancelled: the list stays
  QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  const TTournament& t = fx.app.Tournament;
  QCOMPARE(Join(d.result(), t.Rec.TournamentType, t.Rec.BenchmarkCount, t.BenchmarkList[1].Name),
           Join(QDialog::Accepted, Benchmark, 2, "Y"));
  d.FormShow();
  Shown(fx);
  QCOMPARE(Join(d.RadioButtonBenchmark->isChecked(), Items(d.ComboBoxBenchmark)), QString("y|X,Y"));
}

void SetupTest::confirmedSetupReachesTheEngine() {
  MainWindow w;
  QVERIFY(w.app.Core && w.app.Core->CoreSizeMax == 8000);
  w.platform.Answers = {Answer::No};
  w.platform.FileNames = {w.Settings({.CoreSizeText = "800",
                                      .MaxCyclesText = "16000",
                                      .MaxProcessesText = "64",
                                      .MaxLengthText = "20",
                                      .MinDistanceText = "20",
                                      .TournamentType = RoundRobin,
                                      .RoundsText = "3",
                                      .CircularDisplay = true,
                                      .Percent = false},
                                     "mine.cfg"),
                          w.List({"Left", "Right"})};
  TFormParams& setup = *w.app.FormParams;
  TFormEditCode& editor = *w.app.FormEditCode;
  const auto engine = [&w] {
    const TCore& c = *w.app.Core;
    return Join(c.CoreSize, c.MaxCycles, c.MaxProcesses, c.MinDistance, c.Standard, c.MaxLength,
                c.ReadLimit, c.WriteLimit, c.PSpaceSize);
  };
  const QString before = engine();
  QString whileEditing;
  QTimer::singleShot(0, &setup, [&] {
    // A new warrior compiles with the dialog's parameters; the engine gets its own back.
    const std::pair<QComboBox*, const char*> typed[] = {
        {setup.ComboBoxCSFixed, "400"},    {setup.ComboBoxBattleLength, "5000"},
        {setup.ComboBoxQueueLimit, "50"},  {setup.ComboBoxBufferSize, "30"},
        {setup.ComboBoxMaxLength, "40"},   {setup.ComboBoxReadLimit, "300"},
        {setup.ComboBoxWriteLimit, "301"}, {setup.ComboBoxPSpace, "10"}};
    for (const auto& [combo, text] : typed)
      combo->setCurrentText(text);
    setup.ComboBoxStandards->setCurrentIndex(0);
    QTimer::singleShot(0, &editor, [&] {
      whileEditing = engine();
      editor.MemoSource->setPlainText(";name Written\nMOV 0, 1");
      QTest::mouseClick(editor.ButtonCompile, Qt::LeftButton);
      QTest::mouseClick(editor.ButtonOK, Qt::LeftButton);
    });
    QTest::mouseClick(setup.ButtonNewWarrior, Qt::LeftButton);
    QCOMPARE(Join(Items(setup.ListBoxWarriors), engine()), Join("Written", before));
    QTest::mouseClick(setup.ButtonRemoveAll, Qt::LeftButton);
    QTest::mouseClick(setup.ButtonLoadDefaults, Qt::LeftButton);
    QTest::mouseClick(setup.ButtonAddFiles, Qt::LeftButton);
    QTest::mouseClick(setup.ButtonOK, Qt::LeftButton);
  });
  QTest::mouseClick(w.form.ButtonParams, Qt::LeftButton);
  const TCore& core = *w.app.Core;
  // One message: the load question.
  QCOMPARE(Join(whileEditing, w.platform.Messages.size(), core.CoreSizeMax, core.MaxCycles,
                core.MaxProcesses, core.MinDistance, core.NumWarriors,
                w.form.LabelTournamentTypeOutput->text(), w.form.ButtonEdit[1]->text(),
                w.form.State(), w.form.Display().Circular(),
                w.app.FormResults->CheckBoxPercent->isChecked()),
           Join("400|5000|50|30|0|40|300|301|10", 1, 800, 16000, 64, 20, 2, "Round Robin", "Right",
                RunState::Stopped, true, false));
}

QTEST_MAIN(SetupTest)
#include "setup_test.moc"
