// The desktop application as a player drives it: the warrior editor opened from Setup and
// from the main window, warriors that fail to compile, the results chart, and windows that
// open where they were left, all through focus changes, clicks and keys.

#include <QHeaderView>
#include <QtTest>

#include "tests/ui/support/session.h"
#include "ui/breakpoints_form.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/edit_code_form.h"
#include "ui/input_form.h"
#include "ui/params_form.h"
#include "ui/redcode_highlighter.h"
#include "ui/results_chart.h"
#include "ui/results_form.h"
#include "ui/window_places.h"

using namespace velmora;
using test::Example;
using test::Join;
using test::TSession;

namespace {

// Replaces a field's contents as a user does: select all, type (Return between lines).
void Retype(QWidget* field, const QString& text) {
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  const QStringList lines = text.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    if (i > 0) QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, lines[i]);
  }
}

// Acts in the next modal window once it is showing and has the keyboard, as a user's would; a
// window of another type is closed.
template <class T> void InActiveModal(std::function<void(T*)> act) {
  test::WhenModal([act](QWidget* modal) {
    QApplication::setActiveWindow(modal);
    if (!QTest::qWaitForWindowActive(modal)) qWarning("the modal window did not become active");
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
  void setupEditorListsWarriorOne();
  void compileFailuresAndErrors();
  void errorLinesLeadToTheSource();
  void chartFollowsTheTable();
  void windowsOpenWhereTheyWereLeft();
};

// The object-code listing prints the warrior number the Setup dialog gives: always 1.
void PlayerFlowTest::setupEditorListsWarriorOne() {
  for (const bool edit : {false, true}) {
    TSession s;
    TFormParams& d = *s.app.FormParams;
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
    if (edit) test::ClickRow(d.ListBoxWarriors, 1);
    QTest::mouseClick(edit ? d.ButtonEditWarrior : d.ButtonNewWarrior, Qt::LeftButton);
    const QStringList lines = listing.split('\n');
    QCOMPARE(Join(lines.size(), lines.value(0).mid(5, 2), lines.value(1).mid(5, 2)),
             QString("2|01|01"));
    d.hide();
  }
}

// Every failure is listed at once before anything runs; a warrior edited into one that does
// not compile leaves nothing of the old battle on the panel; a round that cannot be set up
// stops the battle, the rounds played still reachable.
void PlayerFlowTest::compileFailuresAndErrors() {
  TSession s(test::kNoWarriors);
  s.form.OpenWarriorFiles({s.File("a.red", ";name Fine\njmp 0\n"),
                           s.File("b.red", ";name Broken\nfrobnicate 1, 2\n"),
                           s.File("c.red", ";name Undefined\njmp nowhere\n")});
  const QString m = Join(s.platform.Messages);
  QVERIFY2(s.platform.Messages.size() == 1 && m.contains("Warrior Broken failed to compile.") &&
               m.contains("Warrior Undefined failed to compile.") && !m.contains("Fine"),
           qPrintable(m));
  QCOMPARE(Join(s.form.State(), s.Core().CycleCount, s.form.ButtonStart->isEnabled()),
           Join(RunState::Idle, 0, false));

  s.form.OpenWarriorFiles({Example("dwarf.red"), Example("paper.red")});
  for (int i = 0; i < 30; ++i)
    QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  QVERIFY(s.form.LabelQueue[1]->text() != " 1");
  InActiveModal<TFormEditCode>([&](TFormEditCode* editor) {
    QTest::mouseClick(editor->MemoSource, Qt::LeftButton);
    Retype(editor->MemoSource, "frobnicate 1, 2");
    QTest::mouseClick(editor->ButtonOK, Qt::LeftButton);
  });
  QTest::mouseClick(s.form.ButtonEdit[1], Qt::LeftButton);
  QVERIFY(s.platform.Messages.back().starts_with("Warrior "));
  QCOMPARE(Join(s.form.State(), s.Status(), s.form.LabelCycleCount->text(),
                s.form.GaugeCyclesOutput->value(), s.form.LabelQueue[0]->text(),
                s.form.LabelQueue[1]->text(), s.form.ButtonTournamentResults->isEnabled()),
           Join(RunState::Idle, "Idle", 0, 0, "", "", false));

  s.app.Setup.RoundsText = "3";
  s.form.OpenWarriorFiles({s.File("s.red", ";name Suicide\ndat.f #0, #0\n"),
                           s.File("l.red", ";name Looper\nloop jmp.a loop\n")});
  QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  s.Core().MinDistance = 5000; // no room for the next round
  QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(Join(s.form.State(), s.form.ButtonTournamentResults->isEnabled()),
           Join(RunState::Idle, true));
  int rows = 0;
  InActiveModal<TFormResults>([&](TFormResults* results) {
    rows = results->StringGridResults->rowCount();
    results->close();
  });
  QTest::mouseClick(s.form.ButtonTournamentResults, Qt::LeftButton);
  QCOMPARE(rows, 2);
}

// Compiling a source whose bad statement sits below comments and a loop, then clicking its
// error: the source line is selected and marked.
void PlayerFlowTest::errorLinesLeadToTheSource() {
  TSession s(test::kNoWarriors);
  const std::string file = s.File("bad.red", ";redcode-94\n;name Bad\n; a comment\n"
                                             "start   mov.i   #1, @2\n"
                                             "i       for     2\n        dat     i\n"
                                             "        rof\n"
                                             "        frobnicate 1, 2\n"
                                             "        jmp     start\n");
  s.form.OpenWarriorFiles({file, Example("imp.red")});
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
  QTest::mouseClick(s.form.ButtonEdit[0], Qt::LeftButton);
  QVERIFY2(errors.contains(" in line "), qPrintable(errors));
  QCOMPARE(Join(gutter, coloured, marked, selected),
           Join(true, true, 7, "        frobnicate 1, 2"));
}

// The chart shows the table's rows in its order, counts or percentages as the table does.
void PlayerFlowTest::chartFollowsTheTable() {
  TSession s(test::kNoWarriors);
  s.app.Setup.RoundsText = "4";
  s.form.OpenWarriorFiles({Example("dwarf.red"), Example("imp.red"), Example("paper.red")});
  s.form.chkbxMax->click();
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QCOMPARE(s.form.State(), RunState::Complete);
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
  QTest::mouseClick(s.form.ButtonTournamentResults, Qt::LeftButton);
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
    TSession s;
    if (run == 0) {
      TFormView* view = s.OpenView();
      const QRect main = s.form.frameGeometry();
      if (main.right() + 8 + view->width() <= s.form.screen()->availableGeometry().right())
        QCOMPARE(view->x(), main.right() + 8);
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
      QTest::mouseClick(view->ButtonBreakpoints, Qt::LeftButton);
      view->close();
    }
    test::WhenModal([&](QWidget* modal) {
      auto* results = qobject_cast<TFormResults*>(modal);
      if (results && run == 0) {
        const QTableWidget* grid = results->StringGridResults;
        columnsFit = grid->horizontalHeader()->length() <= grid->viewport()->width();
        results->setGeometry(QRect(QPoint(40, 30), results->size() + QSize(30, 20)));
      }
      seen << modal->geometry();
      modal->close();
    });
    QTest::mouseClick(s.form.ButtonTournamentResults, Qt::LeftButton);
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
