// The main window, the options dialog, the results window, the warrior editor, the score
// formula dialog and the core display, driven by clicks and keys.

#include <QHeaderView>
#include <QtTest>

#include <csignal>
#include <fstream>
#include <sstream>

#include <sys/resource.h>

#include "assembler/assembler.h"
#include "params/text_file.h"
#include "results/report.h"
#include "tests/ui/support/session.h"
#include "ui/core_display.h"
#include "ui/edit_code_form.h"
#include "ui/edit_score_form.h"
#include "ui/options_form.h"
#include "ui/params_form.h"
#include "ui/results_form.h"

// Designated initializers leave the other members at their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace velmora;
using test::Example;
using test::FileBytes;
using test::InModal;
using test::Join;
using test::TSession;

namespace {

constexpr QRgb kRed = 0xFFFF0000u, kBlack = 0xFF000000u, kGrey = 0xFF808080u;
constexpr QRgb kFirst = 0xFF123456u, kSecond = 0xFFABCDEFu;

// The enabling of Setup, New Battle, Stop, Start, Single Step, Show Results, View Core and
// the first warrior's button, and the text of the button with the focus.
QString Enabling(const TMardexForm& f) {
  QString seen;
  for (const QPushButton* b :
       {f.ButtonParams, f.ButtonNewBattle, f.ButtonStop, f.ButtonStart, f.ButtonSingleStep,
        f.ButtonTournamentResults, f.ButtonView, f.ButtonEdit[0]})
    seen += b->isEnabled() ? '1' : '0';
  const auto* focus = qobject_cast<QPushButton*>(QApplication::focusWidget());
  const bool pspace = f.ButtonViewPSpace->isEnabled() == f.ButtonView->isEnabled();
  return Join(seen, focus ? focus->text() : "none", pspace);
}

int CountPixels(const TCoreDisplay& display, QRgb colour, int from = 1, int to = 4) {
  int n = 0;
  for (int i = from; i <= to; ++i)
    for (int y = 0; y < display.Image(i).height(); ++y)
      for (int x = 0; x < display.Image(i).width(); ++x)
        n += display.Image(i).pixel(x, y) == colour;
  return n;
}

// The c x c square of a cell, row by row; "#" for `on`, "." for black, "?" for anything else.
QString Square(const TCoreDisplay& display, int64_t address, QRgb on) {
  const auto cell = display.Geometry().CellOf(address);
  const int c = display.Geometry().CellSize();
  QStringList rows;
  for (int y = 0; y < c; ++y) {
    rows << "";
    for (int x = 0; x < c; ++x) {
      const QRgb p = display.Image(cell->Image).pixel(cell->X + x, cell->Y + y);
      rows.back() += p == on ? '#' : p == kBlack ? '.' : '?';
    }
  }
  return rows.join('/');
}

// A tournament of two-warrior battles filled by hand: row warrior's wins, losses and draws.
void Tournament(TTournament& t, uint8_t type, std::vector<std::string> names,
                std::vector<std::array<int32_t, 5>> matches) {
  t.WarriorList.clear();
  for (const std::string& name : names)
    t.WarriorList.push_back({int32_t(t.WarriorList.size()) + 1, name, "By " + name, {}, {}});
  t.Rec.TournamentType = type;
  t.Rec.WarriorCount = int32_t(names.size());
  t.Rec.WarriorsPerBattle = 2;
  t.Rec.Rounds = 10;
  t.Rec.Results.assign(type == Challenge ? 1 : names.size(),
                       std::vector<MatchupResult>(names.size()));
  for (auto& row : t.Rec.Results)
    for (size_t c = 0; c < row.size(); ++c)
      row[c] = {.Opponent = int32_t(c), .SurvivorCounts = {0, 0}};
  for (const auto& [r, c, w, l, d] : matches)
    for (const auto& [a, b, wins, losses] : {std::array{r, c, w, l}, {c, r, l, w}})
      if (size_t(a) < t.Rec.Results.size())
        t.Rec.Results[size_t(a)][size_t(b)] = {.Opponent = b,
                                               .RoundsPlayed = wins + losses + d,
                                               .Losses = losses,
                                               .SurvivorCounts = {wins, d},
                                               .AverageCycles = 40000};
}

QString Column(const QTableWidget* grid, int column) {
  QStringList texts;
  for (int r = 0; r < grid->rowCount(); ++r)
    texts << (grid->item(r, column) ? grid->item(r, column)->text().trimmed() : QString());
  return texts.join(',');
}

void ClickHeading(QTableWidget* grid, int column) {
  QHeaderView* header = grid->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    {header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                     header->height() / 2});
}

TWarriorData Record(const std::string& name, std::vector<std::string> source) {
  return {4, name, "Someone", std::move(source), "/nowhere/kept.red"};
}

QString Record(const TWarriorData& w) {
  return Join(w.ID, w.Name, w.Author, w.FileName, w.Source);
}

} // namespace

class WindowsTest : public QObject {
  Q_OBJECT
private slots:
  void mainWindowRunStates();
  void topSpeed();
  void optionsDialog();
  void resultsWindow();
  void warriorEditor();
  void warriorEditorFiles();
  void coreDisplayDrawing();
  void coreDisplayClicks();
};

void WindowsTest::mainWindowRunStates() {
  TSession idle(test::kNoWarriors);
  QCOMPARE(Join(idle.form.State(), Enabling(idle.form)), Join(RunState::Idle, "10000001|Setup|y"));
  // Opening nothing leaves it idle and says so.
  idle.form.OpenWarriorFiles({"/nonexistent/warrior.red"});
  QVERIFY(idle.form.State() == RunState::Idle && !idle.platform.Messages.empty());
  QVERIFY(!idle.form.ButtonEdit[0]->isVisible());

  TSession s;
  QCOMPARE(Join(Enabling(s.form), s.form.LabelTournamentTypeOutput->text(),
                s.form.ButtonEdit[1]->isVisible(), s.form.ButtonEdit[2]->isVisible()),
           QString("11011111|Start|y|Round Robin|y|n"));
  // Single steps, then a new battle from the start.
  QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(Join(s.Core().CycleCount, s.form.LabelCycleCount->text(), s.Status()),
           QString("2|2|Stopped"));
  QTest::mouseClick(s.form.ButtonNewBattle, Qt::LeftButton);
  QCOMPARE(Join(s.Core().CycleCount, s.form.LabelCycleCount->text(), s.form.State()),
           Join(0, 0, RunState::Stopped));
  // At the slowest speeds the timer carries the battle, a cycle a tick; Stop stops it.
  s.form.TrackBarSpeed->setValue(0);
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QCOMPARE(Join(Enabling(s.form), s.Core().CycleCount, s.form.TimerBattle->isActive(),
                s.form.TimerBattle->interval()),
           QString("00100110|Stop|y|0|y|250"));
  s.form.TrackBarSpeed->setValue(2);
  QTRY_VERIFY(s.Core().CycleCount >= 2);
  QCOMPARE(s.form.TimerBattle->interval(), 1);
  QTest::mouseClick(s.form.ButtonStop, Qt::LeftButton);
  const int32_t stoppedAt = s.Core().CycleCount;
  QTest::qWait(20);
  QCOMPARE(Join(s.form.TimerBattle->isActive(), s.Core().CycleCount, Enabling(s.form)),
           Join(false, stoppedAt, "11011111|Start|y"));
  // Max moves the speed to the top and back.
  s.form.TrackBarSpeed->setValue(3);
  s.form.chkbxMax->click();
  QCOMPARE(Join(s.form.TrackBarSpeed->value(), s.Core().MaxSpeed), QString("6|y"));
  s.form.chkbxMax->click();
  QCOMPARE(Join(s.form.TrackBarSpeed->value(), s.Core().MaxSpeed), QString("3|n"));
  s.form.TrackBarSpeed->setValue(6);
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(s.form.State(), RunState::Complete);
  QCOMPARE(Join(Enabling(s.form), s.form.TimerBattle->isActive(),
                s.app.Tournament.CurrentResult()->RoundsPlayed),
           QString("11000111|Show Results|y|n|1"));
  QVERIFY(s.Status().startsWith("Won by") || s.Status() == "Drawn");
}

void WindowsTest::topSpeed() {
  // When the run ends the panel shows the last round as it stands.
  TSession s(test::kNoWarriors);
  s.app.Setup.RoundsText = "40";
  s.app.Setup.RandomCoreSize = true;
  s.app.Setup.MinCoreSizeText = "4000";
  s.form.OpenWarriorFiles({Example("dwarf.red"), Example("paper.red")});
  s.form.TrackBarSpeed->setValue(6);
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(s.form.State(), RunState::Complete);
  const TCore& core = s.Core();
  QCOMPARE(Join(s.app.Tournament.CurrentResult()->RoundsPlayed, s.form.LabelBattleOutput->text(),
                s.form.LabelCoreSizeOutput->text(), s.form.LabelCycleCount->text(),
                s.form.GaugeCyclesOutput->value()),
           Join(40, 40, core.CoreSize, core.CycleCount, core.CycleCount));
  // Stopped, the display draws what it is told again: a view's marks show.
  const TFormView* view = s.OpenView();
  QVERIFY(Square(s.form.Display(), view->Lines()[0].Address, kRed).contains('#'));

  // The top speed copies the cells' Markers once a frame instead of drawing every event; the
  // picture must come out as drawing every event makes it at speed 5.
  for (const auto& [circular, level] : {std::pair{true, 5}, {false, 5}, {true, 2}}) {
    QImage pictures[2][kDisplayImageCount];
    for (int run = 0; run < 2; ++run) {
      TSession r(test::kNoWarriors);
      r.app.Setup.MaxCyclesText = "1000";
      r.app.Setup.RoundsText = "2";
      r.app.Setup.SeedMode = 0;
      r.app.Setup.FixedSeedText = "77";
      r.app.Setup.DisplayLevel = level;
      r.app.Setup.CircularDisplay = circular;
      r.form.OpenWarriorFiles({Example("dwarf.red"), Example("paper.red")});
      r.form.TrackBarSpeed->setValue(run == 0 ? 6 : 5);
      QTest::mouseClick(r.form.ButtonStart, Qt::LeftButton);
      QTRY_COMPARE_WITH_TIMEOUT(r.form.State(), RunState::Complete, 20000);
      QCOMPARE(Join(r.form.Display().MirrorCopies() > 0, r.form.Display().Mirror(),
                    r.Core().CollectPixels),
               Join(run == 0, false, true));
      for (int i = 1; i <= kDisplayImageCount; ++i)
        pictures[run][i - 1] = r.form.Display().Image(i);
    }
    for (int i = 0; i < kDisplayImageCount; ++i)
      QVERIFY2(pictures[0][i] == pictures[1][i], qPrintable(QString("image %1").arg(i + 1)));
  }
}

void WindowsTest::optionsDialog() {
  TSession s;
  TFormOptions& o = *s.app.FormOptions;
  QRadioButton* levels[] = {o.RadioButtonNone,   o.RadioButtonExec,    o.RadioButtonWrite,
                            o.RadioButtonIncDec, o.RadioButtonCompare, o.RadioButtonRead};
  // The dialog shows the options and OK stores them, with Setup's pending copies, and gives
  // the engine its levels; each row changes every control.
  // clang-format off
  for (const auto& [level, early, pause, circular] : {
           std::tuple{0, false, true, false}, {1, true, false, true}, {3, true, true, true},
           {2, false, false, false}, {4, true, false, false}, {5, false, true, true}}) {
    // clang-format on
    s.app.Params.DisplayLevel = (level + 5) % 6;
    s.app.Params.EarlyDrawCheck = !early;
    s.app.Tournament.Rec.PauseBetweenRounds = !pause;
    s.app.Params.CircularDisplay = !circular;
    InModal<TFormOptions>([&](TFormOptions& d) {
      QCOMPARE(Join(d.CheckBoxImpCheck->isChecked(), d.CheckBoxPause->isChecked(),
                    levels[(level + 5) % 6]->isChecked(), d.RadioButtonCircular->isChecked(),
                    d.RadioButtonRectangular->isChecked()),
               Join(!early, !pause, true, !circular, circular));
      if (d.CheckBoxImpCheck->isChecked() != early) d.CheckBoxImpCheck->click();
      if (d.CheckBoxPause->isChecked() != pause) d.CheckBoxPause->click();
      levels[level]->click();
      (circular ? d.RadioButtonCircular : d.RadioButtonRectangular)->click();
      QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
    });
    QTest::mouseClick(s.form.ButtonOptions, Qt::LeftButton);
    const TSetupFields& p = s.app.Setup;
    QCOMPARE(
        Join(s.app.Params.DisplayLevel, s.app.Params.EarlyDrawCheck, s.app.Params.CircularDisplay,
             s.app.Tournament.Rec.PauseBetweenRounds, p.DisplayLevel, p.EarlyDrawCheck,
             p.CircularDisplay, p.PauseBetweenRounds, s.Core().DisplayLevel,
             s.Core().EarlyDrawCheck, s.form.Display().Circular()),
        Join(level, early, circular, pause, level, early, circular, pause, level, early, circular));
  }
  // Cancel and Escape store nothing; Return confirms. The battle's timer is paused while the
  // dialog shows, and runs on after it when the battle ran.
  s.app.Params.DisplayLevel = 4;
  s.app.Tournament.Rec.PauseBetweenRounds = false;
  s.form.TrackBarSpeed->setValue(0);
  for (const int key : {0, int(Qt::Key_Escape), int(Qt::Key_Return)}) {
    const bool running = key == Qt::Key_Escape;
    if (running) QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
    bool ranWhileOpen = true;
    InModal<TFormOptions>([&](TFormOptions& d) {
      ranWhileOpen = s.form.TimerBattle->isActive();
      d.RadioButtonExec->click();
      d.CheckBoxPause->click();
      key ? QTest::keyClick(&d, Qt::Key(key)) : QTest::mouseClick(d.ButtonCancel, Qt::LeftButton);
    });
    QTest::mouseClick(s.form.ButtonOptions, Qt::LeftButton);
    QCOMPARE(Join(s.app.Params.DisplayLevel, s.app.Tournament.Rec.PauseBetweenRounds, ranWhileOpen,
                  s.form.TimerBattle->isActive()),
             Join(key == Qt::Key_Return ? "1|y" : "4|n", false, running));
    if (running) QTest::mouseClick(s.form.ButtonStop, Qt::LeftButton);
  }
  // A new topology clears the display, grey only beyond the 8000 cells, then draws on.
  for (int i = 0; i < 20; ++i)
    QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  TCoreDisplay& display = s.form.Display();
  QVERIFY(CountPixels(display, kBlack) + CountPixels(display, kGrey) < 4 * 512 * 128);
  InModal<TFormOptions>([](TFormOptions& d) {
    d.RadioButtonRectangular->click();
    QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  });
  QTest::mouseClick(s.form.ButtonOptions, Qt::LeftButton);
  QCOMPARE(
      Join(display.Circular(), CountPixels(display, kGrey, 4), CountPixels(display, kBlack, 4)),
      Join(false, 192 * 16, 512 * 256 - 192 * 16));
  QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  QVERIFY(CountPixels(display, kBlack, 4) < 512 * 256 - 192 * 16);
}

void WindowsTest::resultsWindow() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormResults form(app);
  QTableWidget* grid = form.StringGridResults;
  const auto col = [&](int column) { return Column(grid, column); };
  // alpha: score 120.0, 7 wins, 3 draws; Beta: 130.0, 8 wins, 2 draws; Carl: 185.0, 12, 1.
  Tournament(app.Tournament, RoundRobin, {"alpha", "Beta", "Carl"},
             {{0, 1, 6, 2, 2}, {0, 2, 1, 8, 1}, {1, 2, 6, 4, 0}});
  app.Setup.Percent = false;
  form.FormShow();
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(col(1), QString("Carl,Beta,alpha")); // by score, highest first
  // Heading clicks: score lowest first, then highest; warrior A to Z regardless of case and
  // back; wins and ties most first.
  const std::pair<int, const char*> sorts[] = {{4, "alpha,Beta,Carl"}, {4, "Carl,Beta,alpha"},
                                               {1, "alpha,Beta,Carl"}, {1, "Carl,Beta,alpha"},
                                               {1, "alpha,Beta,Carl"}, {6, "Carl,Beta,alpha"},
                                               {8, "alpha,Beta,Carl"}};
  for (const auto& [column, names] : sorts) {
    ClickHeading(grid, column);
    QCOMPARE(col(1), QString(names));
  }
  ClickHeading(grid, 1);
  // alpha's details: the opponents' side of each matchup.
  QTest::mouseClick(form.ButtonResultsShow, Qt::LeftButton);
  QCOMPARE(Join(form.DetailsShown(), form.ComboBoxDetailWarrior->isHidden(),
                form.LabelWarriorName->isHidden(), form.ComboBoxDetailWarrior->count(),
                form.ComboBoxDetailWarrior->currentText(), col(1)),
           QString("y|n|y|3|alpha|Beta,Carl"));
  // The report is saved with the extension added, and the window goes on showing alpha's
  // details; a cancelled dialog writes nothing; a missing folder is reported.
  QTemporaryDir dir;
  platform.FileNames = {dir.filePath("results").toStdString(), std::nullopt,
                        dir.filePath("missing/report.txt").toStdString()};
  for (int i = 0; i < 3; ++i)
    QTest::mouseClick(form.ButtonSave, Qt::LeftButton);
  QCOMPARE(Join(QDir(dir.path()).entryList(QDir::Files), platform.Messages.size()),
           QString("results.txt|1"));
  QVERIFY(QString::fromStdString(platform.Messages[0]).contains("missing/report.txt"));
  ClickHeading(grid, 1);
  QCOMPARE(Join(form.SelectedWarrior(), col(1)), QString("1|Carl,Beta"));

  // Alpha wins 6, loses 2 and draws 2 against Beta: the percent box rescales the outcomes
  // only.
  Tournament(app.Tournament, RoundRobin, {"Alpha", "Beta"}, {{0, 1, 6, 2, 2}});
  form.FormShow();
  QCOMPARE(Join(col(1), col(4), col(5)),
           QString("Beta,Alpha|80.0,200.0|200.0,80.0")); // still by warrior, Z to A
  QTest::mouseClick(form.ButtonResultsShow, Qt::LeftButton);
  form.ComboBoxDetailWarrior->setFocus();
  QTest::keyClick(form.ComboBoxDetailWarrior, Qt::Key_Down);
  const auto row = [&] {
    QStringList t;
    for (int c = 1; c < 9; ++c)
      t << grid->item(0, c)->text().trimmed();
    return Join(form.SelectedWarrior(), grid->rowCount(), t.join(','));
  };
  QCOMPARE(row(), QString("2|1|Alpha,By Alpha,0.50000,200.0,80.0,6,2,2"));
  form.CheckBoxPercent->click();
  QCOMPARE(Join(app.Setup.Percent, row()),
           QString("y|2|1|Alpha,By Alpha,0.50000,200.0,80.0,60.0,20.0,20.0"));
  QTest::mouseClick(form.ButtonResultsShow, Qt::LeftButton);
  QCOMPARE(Join(form.DetailsShown(), grid->rowCount()), QString("n|2"));
  // A formula failing for two survivors: one message for the whole recomputation, each
  // failing W, S once; the rows keep the wins' points alone: (3/(1-2)) = -3 a win or loss.
  QVERIFY(!form.findChild<TFormEditScore*>()); // made on first use when the program has none
  InModal<TFormEditScore>([](TFormEditScore& d) {
    d.EditScore->setText("(W*W-1)/(S-2)");
    QTest::mouseClick(d.ButtonOK, Qt::LeftButton);
  });
  QTest::mouseClick(form.ButtonChange, Qt::LeftButton);
  QCOMPARE(Join(app.Tournament.Rec.ScoreFormula, app.Setup.ScoreFormula, form.EditScore->text(),
                platform.Messages.size(), platform.Messages.back(), col(1), col(4), col(5)),
           QString("(W*W-1)/(S-2)|(W*W-1)/(S-2)|(W*W-1)/(S-2)|2|Division by zero for W=2, S=2|"
                   "Beta,Alpha|-60.0,-180.0|-180.0,-60.0"));
  // A challenge's details name the challenger; a melee has none.
  Tournament(app.Tournament, Challenge, {"Champ", "One", "Two"},
             {{0, 1, 5, 5, 0}, {0, 2, 10, 0, 0}});
  form.FormShow();
  QTest::mouseClick(form.ButtonResultsShow, Qt::LeftButton);
  QCOMPARE(Join(form.ComboBoxDetailWarrior->isHidden(), form.LabelWarriorName->isHidden(),
                form.LabelWarriorName->text(), col(1)),
           QString("y|n|Champ|Two,One")); // by warrior, Z to A
  Tournament(app.Tournament, Melee, {"A", "B", "C", "D"}, {});
  form.FormShow();
  QCOMPARE(Join(form.ButtonResultsShow->isHidden(), form.DetailsShown()), QString("y|n"));
  // The main window's results button: its own window, with its own score formula dialog.
  // Return there is OK, which stores the text at once and then refuses a formula failing for
  // a sole survivor or not understood; Escape then keeps the old one.
  TSession s;
  const std::pair<const char*, const char*> formulas[] = {
      {"(W*W-1)/(S-2)", ""}, {"w+s", ""}, {"(W*W-1)/(S-1)", "Division by zero"}, {"W*Q", "?"}};
  InModal<TFormResults>([&](TFormResults& r) {
    for (const auto& [formula, message] : formulas) {
      const std::string before = s.app.Tournament.Rec.ScoreFormula;
      const bool refused = *message != 0;
      QString seen;
      InModal<TFormEditScore>([&](TFormEditScore& d) {
        seen = d.EditScore->text();
        test::TypeAndEnter(d.EditScore, formula);
        seen += Join("", d.isVisible(), s.app.Tournament.Rec.ScoreFormula);
        if (d.isVisible()) QTest::keyClick(&d, Qt::Key_Escape);
      });
      s.platform.Messages.clear();
      QTest::mouseClick(r.ButtonChange, Qt::LeftButton);
      QCOMPARE(
          Join(seen, s.app.Tournament.Rec.ScoreFormula, r.EditScore->text()),
          Join(before, refused, formula, refused ? before : formula, refused ? before : formula));
      if (refused)
        QVERIFY(!s.platform.Messages.empty() &&
                s.platform.Messages[0].starts_with(*message == '?' ? "" : message));
    }
    QTest::keyClick(&r, Qt::Key_Escape);
  });
  QTest::mouseClick(s.form.ButtonTournamentResults, Qt::LeftButton);
  QVERIFY(!s.app.FormResults->isVisible());
}

void WindowsTest::warriorEditor() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  const auto compile = [&](const QString& source) {
    form.MemoSource->setPlainText(source);
    QTest::mouseClick(form.ButtonCompile, Qt::LeftButton);
  };
  const auto panes = [&] {
    return Join(form.ButtonSaveLoad->isEnabled(), form.MemoObjectCode->toPlainText(),
                form.MemoRestoredSource->toPlainText(), form.MemoErrors->toPlainText());
  };
  form.Prepare(2, Record("Keeper", {"mov 0, 1", "\tdat 0"}));
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QCOMPARE(Join(form.MemoSource->toPlainText(), form.EditName->text(), form.LabelSource->text(),
                form.ButtonSaveLoad->isEnabled()),
           QString("mov 0, 1\n\tdat 0|Keeper|/nowhere/kept.red|n"));
  QTest::mouseClick(form.ButtonCompile, Qt::LeftButton);
  QVERIFY(form.ButtonSaveLoad->isEnabled() && form.MemoObjectCode->blockCount() == 2);
  const QString objectCode = form.MemoObjectCode->toPlainText();
  const QString restored = form.MemoRestoredSource->toPlainText();
  // An arithmetic error keeps the window's listings.
  compile("mov 0, 1\ndat 1/0, 0");
  QCOMPARE(
      Join(platform.Messages, form.MemoObjectCode->toPlainText(), form.ButtonSaveLoad->isEnabled()),
      Join("Division by zero", objectCode, true));
  // Source without statements leaves the listings as they were, with nothing to save.
  for (const char* source : {"", ";redcode\n; nothing here\n;name Ghost"}) {
    compile(source);
    QCOMPARE(panes(), Join(false, objectCode, restored, ""));
  }
  // The name after a compile: the name line's, else the record's, whatever an earlier compile
  // showed.
  const std::pair<const char*, const char*> names[] = {{"mov 0, 1", "Keeper"},
                                                       {";name Imp\nmov 0, 1", "Imp"},
                                                       {";name Other\ndat 0", "Other"},
                                                       {";name \t Imp Two\nmov 0, 1", "Imp Two"}};
  for (const auto& [source, name] : names) {
    form.Prepare(1, Record("Keeper", {}));
    compile(";name Other\ndat 0");
    compile(source);
    QCOMPARE(form.EditName->text(), QString(name));
  }
  // Opening again on another record starts afresh.
  form.Prepare(1, Record("Other", {}));
  QCOMPARE(panes(), QString("n|||"));
  form.reject();
}

void WindowsTest::warriorEditorFiles() {
  QTemporaryDir dir;
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  const TWarriorData original = Record("Keeper", {"mov 0, 1"});
  // Cancel and Escape after changes, an Open among them, leave the record.
  for (const bool escape : {false, true}) {
    TWarriorData record = original;
    platform.FileNames.push_back(Example("dwarf.red"));
    QTimer::singleShot(0, &form, [&] {
      QTest::mouseClick(form.ButtonOpen, Qt::LeftButton);
      QVERIFY(form.LabelSource->text().endsWith("dwarf.red"));
      form.EditName->setText("Changed");
      QTest::mouseClick(form.ButtonCompile, Qt::LeftButton);
      escape ? QTest::keyClick(&form, Qt::Key_Escape)
             : QTest::mouseClick(form.ButtonCancel, Qt::LeftButton);
    });
    QVERIFY(!form.Execute(4, record));
    QCOMPARE(Record(record), Record(original));
  }
  // OK after Open returns the file's warrior.
  TWarriorData record = original;
  platform.FileNames.push_back(Example("imp.red"));
  QTimer::singleShot(0, &form, [&] {
    QTest::mouseClick(form.ButtonOpen, Qt::LeftButton);
    QTest::mouseClick(form.ButtonOK, Qt::LeftButton);
  });
  QVERIFY(form.Execute(1, record));
  form.show();
  std::vector<std::string> source;
  std::string author, name;
  ReadWarriorFile(platform, Example("imp.red"), source, author, name);
  QCOMPARE(Record(record), Join(4, "Velmora Imp", "Velmora", Example("imp.red"), source));
  // Save writes CR LF lines and adds the extension.
  form.Prepare(1, Record("Keeper", {"mov 0, 1", "", "\tdat 0"}));
  platform.FileNames.push_back(dir.filePath("saved").toStdString());
  QTest::mouseClick(form.ButtonSave, Qt::LeftButton);
  const std::string saved = dir.filePath("saved.red").toStdString();
  QCOMPARE(
      Join(FileBytes(saved), form.LabelSource->text(), form.Edited().FileName, platform.Messages),
      Join("mov 0, 1\r\n\r\n\tdat 0\r\n", saved, saved, ""));
  // A save failing partway (a file size limit, for any user) keeps the previous file.
  const std::string kept = dir.filePath("kept.red").toStdString();
  std::ofstream(kept, std::ios::binary) << ";name Old\r\ndat 0\r\n";
  form.Prepare(1, Record("Keeper", std::vector<std::string>(2000, "mov.i $0, $1 ; padding")));
  platform.FileNames.push_back(kept);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
  const rlimit before = limit;
  limit.rlim_cur = 4096;
  QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
  QTest::mouseClick(form.ButtonSave, Qt::LeftButton);
  setrlimit(RLIMIT_FSIZE, &before);
  QCOMPARE(Join(platform.Messages.size(), FileBytes(kept), form.LabelSource->text()),
           Join(1, ";name Old\r\ndat 0\r\n", "/nowhere/kept.red"));
  QVERIFY(QString::fromStdString(platform.Messages[0]).contains("kept.red"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"kept.red", "saved.red"}));
  // Save Load File writes the compiled warrior, which compiles back to the same code.
  form.Prepare(1, Record("Keeper", {";name Imp", "mov.i $0, $1"}));
  QTest::mouseClick(form.ButtonCompile, Qt::LeftButton);
  const std::string load = dir.filePath("imp.rc").toStdString();
  platform.FileNames.push_back(load);
  QTest::mouseClick(form.ButtonSaveLoad, Qt::LeftButton);
  QCOMPARE(platform.Suggestions.back(), std::string("Imp.rc"));
  const std::string text = FileBytes(load); // no PIN line: the source asked for none
  QVERIFY2(text.starts_with(";redcode\r\n;name Imp\r\n;length 1\r\n      ORG 0\r\n      MOV.I"),
           text.c_str());
  const QString objectCode = form.MemoObjectCode->toPlainText();
  form.MemoSource->setPlainText(QString::fromStdString(text));
  QTest::mouseClick(form.ButtonCompile, Qt::LeftButton);
  QCOMPARE(Join(form.MemoErrors->toPlainText(), form.MemoObjectCode->toPlainText()),
           Join("", objectCode));
}

void WindowsTest::coreDisplayDrawing() {
  // Each kind's glyph where the geometry puts the cell, in the warrior's colour, and nothing
  // outside its square (the glyphs themselves are the logic test's).
  // clang-format off
  const struct { int Size; bool Circular; int Address, Kind; const char* Square; } glyphs[] = {
      {4096, true, 70, 1, "#######./#######./#######./#######./#######./#######./#######./........"},
      {2048, false, 700, 4, "......../......../.######./.######./......../......../......../........"},
      {8000, true, 7999, 1, "###./###./###./...."}, {8000, false, 200, 3, ".#../###./.#../...."},
      {65536, true, 65535, 4, "../##"}, {100000, false, 99999, 2, "#"}};
  // clang-format on
  for (const auto& g : glyphs) {
    TCoreDisplay display;
    display.ApplyTopology(g.Circular);
    display.SetCoreSizeMax(g.Size);
    display.RebuildGlyphs({0, kFirst & 0xFFFFFF, kSecond & 0xFFFFFF});
    display.ColorPixel(g.Address, 2, g.Kind, false);
    QCOMPARE(Join(Square(display, g.Address, kSecond), CountPixels(display, kSecond),
                  CountPixels(display, kSecond) + CountPixels(display, kBlack)),
             Join(g.Square, QString(g.Square).count('#'), g.Circular ? 4 * 512 * 128 : 512 * 256));
  }
  // Colours above eight wrap round; unknown colours, kinds and addresses draw nothing.
  TCoreDisplay display;
  display.SetCoreSizeMax(4096);
  std::vector<uint32_t> colours{0};
  for (uint32_t i = 1; i <= 8; ++i)
    colours.push_back(0x200000 + i);
  display.RebuildGlyphs(colours);
  for (const auto& [color, kind] : {std::pair{-3, 1}, {1, 0}, {1, 6}, {2, -1}})
    display.ColorPixel(5, color, kind, false);
  for (const int address : {-1, 4096, 1 << 30})
    display.ColorPixel(address, -1, 1, false);
  QCOMPARE(CountPixels(display, kBlack), 4 * 512 * 128);
  display.ColorPixel(10, 9, 2, false);
  display.ColorPixel(11, 1, 2, false);
  QCOMPARE(Square(display, 10, 0xFF200001u), Square(display, 11, 0xFF200001u));
  QVERIFY(Square(display, 10, 0xFF200001u).contains('#'));
  // Rebuilding some colours keeps the other slots; the same geometry keeps the picture, a new
  // cell size clears it and draws with glyphs of the new size.
  display.RebuildGlyphs({0, 0x444444});
  display.SetCoreSizeMax(4000);
  QVERIFY(CountPixels(display, kBlack) < 4 * 512 * 128);
  display.SetCoreSizeMax(8000);
  QCOMPARE(CountPixels(display, kBlack), 4 * 512 * 128);
  display.ColorPixel(0, 1, 1, false);
  display.ColorPixel(1, 3, 1, false);
  QCOMPARE(Join(Square(display, 0, 0xFF444444u), Square(display, 1, 0xFF200003u)),
           QString("###./###./###./....|###./###./###./...."));
  // A highlight marks the cell's inner edge by its strip; erasing it draws the cell again.
  const char* bottom8 = "......../......../......../......../......../......../########/########";
  const char* right8 = "......##/......##/......##/......##/......##/......##/......##/......##";
  // clang-format off
  const struct { int Size; bool Circular; int Address; const char* Square; } edges[] = {
      {4096, true, 5, bottom8}, {4096, true, 1100, right8}, {4096, true, 2100, bottom8},
      {4096, true, 4000, right8}, {2048, false, 100, bottom8}, {8000, true, 100, "..../..../..../####"},
      {8000, true, 5000, "...#/...#/...#/...#"}, {65536, true, 40000, "../##"},
      {65536, true, 60000, ".#/.#"}, {8000, false, 200, "..../..../..../####"},
      {32768, false, 200, "../##"}, {100000, true, 70000, "#"}};
  // clang-format on
  for (const auto& e : edges) {
    TCoreDisplay d;
    d.ApplyTopology(e.Circular);
    d.SetCoreSizeMax(e.Size);
    d.ColorPixel(e.Address, 0, 0, true);
    QCOMPARE(Square(d, e.Address, kRed), QString(e.Square));
    d.ColorPixel(e.Address, 0, 0, false);
    QCOMPARE(CountPixels(d, kRed), 0);
  }
  // Beyond the core the cells are grey, a cell counting when any of its addresses lies beyond;
  // clearing blackens everything.
  // clang-format off
  for (const auto& [size, circular, coreSize] : {
           std::tuple{8000, true, 8000}, {8000, true, 6001}, {8000, false, 8000},
           {4096, true, 4096}, {1000000, true, 1000000}, {1000000, false, 1000000},
           {262144, false, 200001}}) {
    // clang-format on
    TCoreDisplay d;
    d.ApplyTopology(circular);
    d.SetCoreSizeMax(size);
    d.PaintOutsideCore(coreSize);
    const TDisplayGeometry& g = d.Geometry();
    const int c = g.CellSize();
    const int64_t perPixel = int64_t{1} << g.Shift();
    const int64_t greyCells =
        std::max<int64_t>((g.Capacity() - coreSize + perPixel - 1) / perPixel, 0);
    QCOMPARE(int64_t(CountPixels(d, kGrey)), greyCells * c * c);
    d.ColorPixel(5, 1, 1, true);
    d.ClearDisplay();
    QCOMPARE(CountPixels(d, kBlack), circular ? 4 * 512 * 128 : 512 * 256);
  }
}

void WindowsTest::coreDisplayClicks() {
  // Clicks select the cell under the pointer.
  // clang-format off
  const struct { int Size; bool Circular; int CoreSize; QPoint Point; int Address; } clicks[] = {
      {4096, true, 4096, {2, 2}, 0}, {4096, true, 4096, {9, 9}, 17}, {4096, true, 4096, {0, 639}, 1024},
      {4096, true, 4096, {639, 639}, 2048}, {4096, true, 4096, {639, 0}, 3072},
      {4096, true, 4096, {130, 2}, 4080}, {4096, true, 4096, {300, 300}, -1}, // the panel's hole
      {4096, true, 3000, {639, 0}, -1}, {8000, true, 6001, {0, 512 + 127 - 4 * 16}, 4096 + 16},
      {8000, false, 8000, {289, 5}, 200}, {8000, false, 8000, {511, 255}, -1},
      {262144, false, 262144, {3, 1}, 1024 + 6}};
  // clang-format on
  for (const auto& c : clicks) {
    TCoreDisplay d;
    d.SetCentre(new QWidget);
    d.ApplyTopology(c.Circular);
    d.SetCoreSizeMax(c.Size);
    d.SetCoreSize(c.CoreSize);
    QSignalSpy clicked(&d, &TCoreDisplay::CellClicked);
    QTest::mouseClick(&d, Qt::LeftButton, {}, c.Point);
    QCOMPARE(clicked.count(), c.Address < 0 ? 0 : 1);
    if (c.Address >= 0) QCOMPARE(clicked.at(0).at(0).toInt(), c.Address);
  }
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
