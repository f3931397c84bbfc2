// The desktop application as a player drives it: the Setup dialog's number fields, the
// warrior editor opened from it, and battles stepped, run at Max, broken and scored from
// the main window, all through focus changes, clicks and keys.

#include <QHeaderView>
#include <QtTest>

#include "tests/ui/support/scripted_platform.h"
#include "tests/ui/support/session.h"
#include "tests/ui/support/setup_fixture.h"
#include "ui/breakpoints_form.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/edit_code_form.h"
#include "ui/input_form.h"
#include "ui/mardex_form.h"
#include "ui/params_form.h"
#include "ui/redcode_highlighter.h"
#include "ui/results_chart.h"
#include "ui/results_form.h"
#include "ui/view_form.h"
#include "ui/window_places.h"

using namespace velmora;

namespace {

const char* kSuicide = ";name Suicide\n        dat.f   #0, #0\n";
const char* kLooper = ";name Looper\nloop    jmp.a   loop\n";

struct Window {
  test::TScriptedPlatform Platform;
  TVelmoraApp App{Platform};
  TMardexForm Form{App};
  QTemporaryDir Dir;
  Window() {
    Form.show();
    if (!QTest::qWaitForWindowActive(&Form)) qWarning("the main window did not become active");
  }
  std::string File(const char* name, const char* text) {
    const QString path = Dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text);
    return path.toStdString();
  }
  std::string Example(const char* name) {
    return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
  }
  QString Status() const { return Form.LabelStatusOutput->text(); }
};

// Replaces a field's contents as a user does: select all, type (Return between lines).
void Retype(QWidget* field, const QString& text) {
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  const QStringList lines = text.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    if (i > 0) QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, lines[i]);
  }
}

// Acts in the next modal window once it is showing and has the keyboard, as a user's would.
void WhenActiveModal(std::function<void(QWidget*)> act) {
  test::WhenModal([act](QWidget* modal) {
    QApplication::setActiveWindow(modal);
    if (!QTest::qWaitForWindowActive(modal)) qWarning("the modal window did not become active");
    act(modal);
  });
}

// Acts in the next modal window when it is a T; any other is closed.
template <class T> void InActiveModal(std::function<void(T*)> act) {
  WhenActiveModal([act](QWidget* modal) {
    if (auto* window = qobject_cast<T*>(modal))
      act(window);
    else
      modal->close();
  });
}

} // namespace

class PlayerFlowTest : public QObject {
  Q_OBJECT
private slots:
  void setupNumberFieldsCheckOnLeaving_data();
  void setupNumberFieldsCheckOnLeaving();
  void setupEditorListsWarriorOne_data();
  void setupEditorListsWarriorOne();
  void singleStepShowsTheOutcomeBeforeTheNextRound();
  void maxRunShowsTheLastRound();
  void failedCompileShowsNoStaleBattle();
  void everyCompileFailureIsListedAtOnce();
  void resultsStayReachableAfterAnError();
  void failingFormulaGivesOneMessagePerComputation();
  void editorColoursAndNumbersTheSource();
  void chartFollowsTheTable();
  void windowsOpenWhereTheyWereLeft();
};

void PlayerFlowTest::setupNumberFieldsCheckOnLeaving_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("typed");
  for (const char* field : {"CSFixed", "BattleLength", "QueueLimit", "MaxLength", "BufferSize",
                            "ReadLimit", "WriteLimit", "PSpace"})
    QTest::newRow(field) << field << "abc";
  QTest::newRow("CSFixed zero") << "CSFixed"
                                << "0";
  QTest::newRow("QueueLimit zero") << "QueueLimit"
                                   << "0";
}

void PlayerFlowTest::setupNumberFieldsCheckOnLeaving() {
  QFETCH(QString, field);
  QFETCH(QString, typed);
  test::Fixture fx;
  TFormParams& d = fx.Dialog();
  d.show();
  QApplication::setActiveWindow(&d);
  QVERIFY(QTest::qWaitForWindowActive(&d));
  auto* combo = d.findChild<QComboBox*>("ComboBox" + field);
  QVERIFY(combo);
  combo->setFocus(Qt::MouseFocusReason);
  QCOMPARE(QApplication::focusWidget(), combo);
  Retype(combo, typed);
  QVERIFY(fx.platform.Messages.empty());
  QTest::keyClick(combo, Qt::Key_Tab); // the focus leaves the field
  QVERIFY(QApplication::focusWidget() != combo);
  QCOMPARE(fx.platform.Messages.size(), size_t(1));
  QVERIFY2(combo->currentText() != typed, qPrintable(combo->currentText()));
  d.hide();
}

void PlayerFlowTest::setupEditorListsWarriorOne_data() {
  QTest::addColumn<bool>("edit");
  QTest::newRow("New") << false;
  QTest::newRow("Edit") << true;
}

// The object-code listing prints the warrior number the Setup dialog gives: always 1.
void PlayerFlowTest::setupEditorListsWarriorOne() {
  QFETCH(bool, edit);
  Window w;
  w.Form.OpenWarriorFiles({w.Example("imp.red"), w.Example("dwarf.red")});
  TFormParams& d = *w.App.FormParams;
  d.FormShow();
  d.show();
  QApplication::setActiveWindow(&d);
  QVERIFY(QTest::qWaitForWindowActive(&d));
  QString listing;
  InActiveModal<TFormEditCode>([&](TFormEditCode* editor) {
    QTest::mouseClick(editor->MemoSource, Qt::LeftButton);
    Retype(editor->MemoSource, "mov 0, 1\ndat 0, 0");
    QTest::mouseClick(editor->ButtonCompile, Qt::LeftButton);
    listing = editor->MemoObjectCode->toPlainText();
    QTest::mouseClick(editor->ButtonCancel, Qt::LeftButton);
  });
  if (edit) {
    QTest::mouseClick(d.ListBoxWarriors->viewport(), Qt::LeftButton, {},
                      d.ListBoxWarriors->visualItemRect(d.ListBoxWarriors->item(1)).center());
    QTest::mouseClick(d.ButtonEditWarrior, Qt::LeftButton);
  } else {
    QTest::mouseClick(d.ButtonNewWarrior, Qt::LeftButton);
  }
  const QStringList lines = listing.split('\n');
  QCOMPARE(lines.size(), 2);
  for (const QString& line : lines)
    QCOMPARE(line.mid(5, 2), QString("01"));
  d.hide();
}

void PlayerFlowTest::singleStepShowsTheOutcomeBeforeTheNextRound() {
  Window w;
  w.App.Setup.RoundsText = "2";
  w.Form.OpenWarriorFiles({w.File("s.red", kSuicide), w.File("l.red", kLooper)});
  QTest::mouseClick(w.Form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(w.Status(), QString("Won by Looper"));
  QCOMPARE(w.Form.State(), RunState::Stopped);
  QCOMPARE(w.Form.LabelBattleOutput->text(), QString("1"));
  QCOMPARE(w.App.Tournament.CurrentResult()->RoundsPlayed, 0);
  QTest::mouseClick(w.Form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(w.App.Tournament.CurrentResult()->RoundsPlayed, 1);
  QCOMPARE(w.Form.LabelBattleOutput->text(), QString("2"));
  QCOMPARE(w.Form.LabelCycleCount->text(), QString("0"));
  QCOMPARE(w.Status(), QString("Stopped"));
  QTest::mouseClick(w.Form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(w.Status(), QString("Won by Looper"));
}

// At Max no panel is painted during the run: when it ends, the panel shows the last round
// as the engine has it.
void PlayerFlowTest::maxRunShowsTheLastRound() {
  Window w;
  w.App.Setup.RoundsText = "3";
  w.Form.OpenWarriorFiles({w.Example("dwarf.red"), w.Example("imp.red")});
  w.Form.chkbxMax->click();
  QVERIFY(w.Form.chkbxMax->isChecked());
  QTest::mouseClick(w.Form.ButtonStart, Qt::LeftButton);
  QCOMPARE(w.Form.State(), RunState::Complete);
  const TCore& core = *w.App.Core;
  QVERIFY(w.Status().startsWith("Won by ") || w.Status() == "Drawn");
  QVERIFY(core.CycleCount > 0);
  QCOMPARE(w.Form.LabelCycleCount->text(), QString::number(core.CycleCount));
  QCOMPARE(w.Form.GaugeCyclesOutput->value(), core.CycleCount);
  for (int slot = 1; slot <= 2; ++slot)
    QCOMPARE(w.Form.LabelQueue[size_t(slot - 1)]->text(),
             " " + QString::number(core.Warriors[size_t(slot)]->ProcessCount));
}

// A battle that ran, then a warrior edited into one that does not compile: nothing of the
// old battle stays on the panel.
void PlayerFlowTest::failedCompileShowsNoStaleBattle() {
  Window w;
  w.Form.OpenWarriorFiles({w.Example("dwarf.red"), w.Example("paper.red")});
  for (int i = 0; i < 30; ++i)
    QTest::mouseClick(w.Form.ButtonSingleStep, Qt::LeftButton);
  QVERIFY(w.Form.LabelQueue[1]->text() != " 1");
  InActiveModal<TFormEditCode>([&](TFormEditCode* editor) {
    QTest::mouseClick(editor->MemoSource, Qt::LeftButton);
    Retype(editor->MemoSource, "frobnicate 1, 2");
    QTest::mouseClick(editor->ButtonOK, Qt::LeftButton);
  });
  QTest::mouseClick(w.Form.ButtonEdit[1], Qt::LeftButton);
  QCOMPARE(w.Form.State(), RunState::Idle);
  QVERIFY(w.Platform.Messages.back().starts_with("Warrior "));
  QCOMPARE(w.Status(), QString("Idle"));
  QCOMPARE(w.Form.LabelCycleCount->text(), QString("0"));
  QCOMPARE(w.Form.GaugeCyclesOutput->value(), 0);
  for (QLabel* label : w.Form.LabelQueue)
    QCOMPARE(label->text(), QString());
  QVERIFY(!w.Form.ButtonTournamentResults->isEnabled());
}

void PlayerFlowTest::everyCompileFailureIsListedAtOnce() {
  Window w;
  w.Form.OpenWarriorFiles({w.File("a.red", ";name Fine\njmp 0\n"),
                           w.File("b.red", ";name Broken\nfrobnicate 1, 2\n"),
                           w.File("c.red", ";name Undefined\njmp nowhere\n")});
  QCOMPARE(w.Form.State(), RunState::Idle);
  QCOMPARE(w.Platform.Messages.size(), size_t(1));
  const QString m = QString::fromStdString(w.Platform.Messages[0]);
  QVERIFY2(m.contains("Warrior Broken failed to compile.") &&
               m.contains("Warrior Undefined failed to compile.") && !m.contains("Fine"),
           qPrintable(m));
  QCOMPARE(w.App.Core->CycleCount, 0);
  QVERIFY(!w.Form.ButtonStart->isEnabled());
}

// A round that cannot be set up stops the battle; the rounds played can still be looked at.
void PlayerFlowTest::resultsStayReachableAfterAnError() {
  Window w;
  w.App.Setup.RoundsText = "3";
  w.Form.OpenWarriorFiles({w.File("s.red", kSuicide), w.File("l.red", kLooper)});
  QTest::mouseClick(w.Form.ButtonSingleStep, Qt::LeftButton);
  w.App.Core->MinDistance = 5000; // no room for the next round
  QTest::mouseClick(w.Form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(w.Form.State(), RunState::Idle);
  QVERIFY(w.Form.ButtonTournamentResults->isEnabled());
  int rows = 0;
  WhenActiveModal([&](QWidget* modal) {
    if (auto* results = qobject_cast<TFormResults*>(modal))
      rows = results->StringGridResults->rowCount();
    modal->close();
  });
  QTest::mouseClick(w.Form.ButtonTournamentResults, Qt::LeftButton);
  QCOMPARE(rows, 2);
}

// A formula that divides by S-2 fails for every row: one message for the whole table.
void PlayerFlowTest::failingFormulaGivesOneMessagePerComputation() {
  Window w;
  w.App.Setup.RoundsText = "2";
  w.App.Setup.ScoreFormula = "(W*W-1)/(S-2)";
  w.Form.OpenWarriorFiles({w.Example("dwarf.red"), w.Example("imp.red")});
  w.Form.chkbxMax->click();
  QTest::mouseClick(w.Form.ButtonStart, Qt::LeftButton);
  QCOMPARE(w.Form.State(), RunState::Complete);
  w.Platform.Messages.clear();
  std::vector<size_t> counts;
  InActiveModal<TFormResults>([&](TFormResults* results) {
    counts.push_back(w.Platform.Messages.size());
    QTest::mouseClick(results->ButtonResultsShow, Qt::LeftButton); // details
    counts.push_back(w.Platform.Messages.size());
    QTest::mouseClick(results->CheckBoxPercent, Qt::LeftButton);
    counts.push_back(w.Platform.Messages.size());
    QTest::mouseClick(results->ButtonResultsClose, Qt::LeftButton);
  });
  QTest::mouseClick(w.Form.ButtonTournamentResults, Qt::LeftButton);
  QCOMPARE(counts, (std::vector<size_t>{1, 2, 3}));
  QCOMPARE(w.Platform.Messages[0], std::string("Division by zero for W=2, S=2"));
}

// Compiling a source whose bad statement sits below comments and a loop, then clicking its
// error:
// the source line is selected and marked.
void PlayerFlowTest::editorColoursAndNumbersTheSource() {
  Window w;
  const std::string file = w.File("bad.red", ";redcode-94\n;name Bad\n; a comment\n"
                                             "start   mov.i   #1, @2\n"
                                             "i       for     2\n        dat     i\n"
                                             "        rof\n"
                                             "        frobnicate 1, 2\n"
                                             "        jmp     start\n");
  w.Form.OpenWarriorFiles({file, w.Example("imp.red")});
  int marked = -2;
  QString selected, errors;
  bool gutter = false, coloured = false;
  InActiveModal<TFormEditCode>([&](TFormEditCode* editor) {
    TCodeEditor* source = editor->MemoSource;
    gutter = source->GutterWidth() > 0 && source->viewport()->x() >= source->GutterWidth();
    const QTextBlock code = source->document()->findBlockByNumber(3);
    const auto& opcode = source->Highlighter()->Format(TRedcodeHighlighter::Kind::Opcode);
    for (const QTextLayout::FormatRange& r : code.layout()->formats())
      coloured = coloured || (r.start == 8 && r.length == 3 && r.format == opcode);
    QTest::mouseClick(editor->ButtonCompile, Qt::LeftButton);
    errors = editor->MemoErrors->toPlainText();
    const QRect at =
        editor->MemoErrors->cursorRect(QTextCursor(editor->MemoErrors->document()->firstBlock()));
    QTest::mouseClick(editor->MemoErrors->viewport(), Qt::LeftButton, {},
                      at.center() + QPoint(30, 0));
    marked = source->MarkedLine();
    selected = source->textCursor().selectedText();
    QTest::mouseClick(editor->ButtonCancel, Qt::LeftButton);
  });
  QTest::mouseClick(w.Form.ButtonEdit[0], Qt::LeftButton);
  QVERIFY(gutter);
  QVERIFY(coloured);
  QVERIFY2(errors.contains(" in line "), qPrintable(errors));
  QVERIFY2(marked == 7, qPrintable(errors + " marked " + QString::number(marked)));
  QCOMPARE(selected, QString("        frobnicate 1, 2"));
}

// The chart shows the table's rows in its order, counts or percentages as the table does.
void PlayerFlowTest::chartFollowsTheTable() {
  Window w;
  w.App.Setup.RoundsText = "4";
  w.Form.OpenWarriorFiles({w.Example("dwarf.red"), w.Example("imp.red"), w.Example("paper.red")});
  w.Form.chkbxMax->click();
  QTest::mouseClick(w.Form.ButtonStart, Qt::LeftButton);
  QCOMPARE(w.Form.State(), RunState::Complete);
  QStringList byScore, reversed, names;
  QList<QList<double>> counts, percents;
  InActiveModal<TFormResults>([&](TFormResults* results) {
    QTabBar* tabs = results->TabsResults->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    if (results->CheckBoxPercent->isChecked())
      QTest::mouseClick(results->CheckBoxPercent, Qt::LeftButton);
    byScore = results->ChartResults->Labels();
    counts = results->ChartResults->Values();
    for (int r = 0; r < results->StringGridResults->rowCount(); ++r)
      names << results->StringGridResults->item(r, 1)->text();
    QTest::mouseClick(results->CheckBoxPercent, Qt::LeftButton);
    percents = results->ChartResults->Values();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    QHeaderView* header = results->StringGridResults->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(4) + 5, header->height() / 2));
    reversed = results->ChartResults->Labels();
    QTest::mouseClick(results->ButtonResultsClose, Qt::LeftButton);
  });
  QTest::mouseClick(w.Form.ButtonTournamentResults, Qt::LeftButton);
  QCOMPARE(byScore.size(), 3);
  double last = 1e9;
  for (int i = 0; i < byScore.size(); ++i) {
    QVERIFY2(byScore[i].startsWith(QString("%1. %2  ").arg(i + 1).arg(names[i])),
             qPrintable(byScore[i]));
    const double score = byScore[i].section("  ", -1).toDouble();
    QVERIFY(score <= last);
    last = score;
    QCOMPARE(counts[i][0] + counts[i][1] + counts[i][2], 4.0); // a melee of 4 rounds
    QCOMPARE(percents[i][0] + percents[i][1] + percents[i][2], 100.0);
    QCOMPARE(reversed[i].section("  ", -1), byScore[2 - i].section("  ", -1));
  }
}

// The results window opens wide enough for its columns, and where and as large as it was
// left; the first core view opens beside the main window; dialogs are wide enough for their
// captions.
void PlayerFlowTest::windowsOpenWhereTheyWereLeft() {
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QList<QRect> seen;
  QStringList narrow; // the captions cut off
  int dialogs = 0;
  const auto fits = [&](QWidget& window) {
    ++dialogs;
    if (window.width() < TWindowPlaces::CaptionWidth(window)) narrow << window.windowTitle();
  };
  bool columnsFit = false;
  for (int run = 0; run < 2; ++run) { // two runs of the program
    TWindowPlaces places;
    qApp->installEventFilter(&places);
    Window w;
    w.Form.OpenWarriorFiles({w.Example("dwarf.red"), w.Example("imp.red")});
    if (run == 0) {
      QTest::mouseClick(w.Form.ButtonView, Qt::LeftButton);
      const QRect main = w.Form.frameGeometry();
      const QRect screen = w.Form.screen()->availableGeometry();
      if (main.right() + 8 + w.Form.LastCoreView->width() <= screen.right())
        QCOMPARE(w.Form.LastCoreView->x(), main.right() + 8);
      test::InModal<TFormBreakpoints>([&](TFormBreakpoints& list) {
        test::InModal<TFormInput>([&](TFormInput& input) {
          fits(input);
          test::TypeAndEnter(input.EditLocation, "7999");
        });
        test::InModal<TFormEditBreakpoint>([&](TFormEditBreakpoint& editor) {
          fits(editor);
          QTest::mouseClick(editor.ButtonCancel, Qt::LeftButton);
        });
        QTest::mouseClick(list.ButtonNew, Qt::LeftButton);
        fits(list);
        list.close();
      });
      QTest::mouseClick(w.Form.LastCoreView->ButtonBreakpoints, Qt::LeftButton);
      w.Form.LastCoreView->close();
    }
    WhenActiveModal([&](QWidget* modal) {
      auto* results = qobject_cast<TFormResults*>(modal);
      if (results && run == 0) {
        const QTableWidget* grid = results->StringGridResults;
        columnsFit = grid->horizontalHeader()->length() <= grid->viewport()->width();
        results->setGeometry(QRect(QPoint(40, 30), results->size() + QSize(30, 20)));
      }
      seen << modal->geometry();
      modal->close();
    });
    QTest::mouseClick(w.Form.ButtonTournamentResults, Qt::LeftButton);
    qApp->removeEventFilter(&places);
  }
  QVERIFY(columnsFit);
  QCOMPARE(dialogs, 3);
  QCOMPARE(narrow.join(", "), QString());
  QCOMPARE(seen.size(), 2);
  QCOMPARE(seen[1], seen[0]);
  QCOMPARE(seen[1].topLeft(), QPoint(40, 30));
}

QTEST_MAIN(PlayerFlowTest)
#include "player_flow_test.moc"
