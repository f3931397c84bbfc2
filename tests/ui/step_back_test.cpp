// Stepping back as a user does it: a battle stopped at a breakpoint, three single steps, then
// Step Back by click, key and click again, the core view, counter and gauges showing each
// earlier state; stepping forward again gives the same round; Back to Breakpoint goes to the
// start of each cycle in which the breakpoint fires.

#include <QtTest>

#include "tests/ui/support/session.h"
#include "ui/edit_core_form.h"

using namespace velmora;

class StepBackTest : public QObject {
  Q_OBJECT
private slots:
  void stepBackFromABreakpoint();
  void stepBackIntoAnEndedRoundAndEditing();
};

namespace {

// What the window shows of the round, and the core behind it.
struct Shown {
  QString Cycles, Status;
  std::vector<int> Gauges;
  std::vector<std::string> Lines;
  std::vector<uint8_t> Markers;
  bool operator==(const Shown&) const = default;
};

Shown Show(test::TRecordingMainForm& form, TFormView* view, const TCore& core) {
  Shown s{form.LabelCycleCount->text(), form.LabelStatusOutput->text(), {}, {}, {}};
  for (int i = 0; i < 2; ++i)
    s.Gauges.push_back(form.GaugeQueue[size_t(i)]->value());
  for (const TListingLine& line : view->Lines())
    s.Lines.push_back(line.Text + (line.Next ? " next" : ""));
  for (int32_t a = 0; a < core.CoreSize; ++a)
    s.Markers.push_back(core.Core[size_t(a)].Marker);
  return s;
}

// A key with Shift, typed where the main window's focus is.
void Press(QWidget& form, Qt::Key key) {
  form.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus && focus->window() == &form ? focus : &form, key, Qt::ShiftModifier);
}

} // namespace

void StepBackTest::stepBackFromABreakpoint() {
  test::TSession s({test::Example("paper.red"), test::Example("dwarf.red")});
  test::TRecordingMainForm& form = s.form;
  TCore& core = s.Core();
  QVERIFY(!form.ButtonStepBack->isEnabled() && form.ButtonStepBack->toolTip().contains("Shift+F7"));
  const TWarrior& dwarf = s.Warrior(2);
  QCOMPARE(dwarf.Name, std::string("Velmora Dwarf"));
  const int32_t start = core.QueueEntry(dwarf, 0), jump = (start + 2) % core.CoreSize;

  // A breakpoint on the dwarf's JMP, clicked in a core view that lists the dwarf.
  TFormView* view = s.OpenView();
  test::TypeAndEnter(view->EditLocation, QString::number(start));
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(2, 3));
  QCOMPARE(core.Core[size_t(jump)].BreakpointType, uint8_t{1});
  QTest::mouseClick(form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(form.State(), RunState::Stopped);
  const int32_t hit = core.CycleCount;
  QVERIFY(form.ButtonStepBack->isEnabled());

  // Three steps forward, each state kept; the paper's processes grow meanwhile.
  std::vector<Shown> shown{Show(form, view, core)};
  for (int i = 0; i < 3; ++i) {
    QTest::mouseClick(form.ButtonSingleStep, Qt::LeftButton);
    shown.push_back(Show(form, view, core));
  }
  QVERIFY(shown[3].Gauges != shown[0].Gauges || shown[3].Lines != shown[0].Lines);

  // Back three times: a click, the key, a click; each time the earlier round is shown.
  const auto sameRound = [](const Shown& a, const Shown& b) {
    return a.Cycles == b.Cycles && a.Gauges == b.Gauges && a.Lines == b.Lines &&
           a.Markers == b.Markers;
  };
  QTest::mouseClick(form.ButtonStepBack, Qt::LeftButton);
  QVERIFY(sameRound(Show(form, view, core), shown[2]));
  QCOMPARE(form.LabelStatusOutput->text(), QString("Stepped back to cycle %1").arg(hit + 2));
  // The cells the undone cycle had changed are marked in a view listing them.
  QVERIFY(!core.UndoneCells.empty());
  TFormView* marks = s.OpenView();
  test::TypeAndEnter(marks->EditLocation, QString::number(core.UndoneCells.front()));
  QVERIFY(marks->Lines()[0].Undone);
  Press(form, Qt::Key_F7);
  QVERIFY(sameRound(Show(form, view, core), shown[1]));
  QTest::mouseClick(form.ButtonStepBack, Qt::LeftButton);
  QVERIFY(sameRound(Show(form, view, core), shown[0]));
  QCOMPARE(core.CycleCount, hit);

  // Forward again: the same cycles run again, the same round shown, marks gone.
  for (int i = 0; i < 3; ++i)
    QTest::mouseClick(form.ButtonSingleStep, Qt::LeftButton);
  QVERIFY(Show(form, view, core) == shown[3]);
  QCOMPARE(form.LabelStatusOutput->text(), QString("Stopped at breakpoint @ %1").arg(jump));
  QVERIFY(!marks->Lines()[0].Undone);

  // The breakpoint fired in this cycle and three before: back to the start of each.
  QTest::mouseClick(form.ButtonBackToBreakpoint, Qt::LeftButton);
  QCOMPARE(core.CycleCount, hit + 2);
  Press(form, Qt::Key_F8);
  QCOMPARE(core.CycleCount, hit - 1);
  QVERIFY(form.LabelStatusOutput->text().startsWith(QString("Back at cycle %1").arg(hit - 1)));
  QCOMPARE(core.QueueEntry(dwarf, 0), (start + 1) % core.CoreSize);
}

// A single step that ends a round stops there; stepping back goes into the round, and the
// round is recorded once, when a step hands it on. A cell edit ends the history.
void StepBackTest::stepBackIntoAnEndedRoundAndEditing() {
  test::TSession s(test::kNoWarriors);
  test::TRecordingMainForm& form = s.form;
  s.app.Params.MaxCycles = 3;
  s.app.Setup.RoundsText = "2";
  form.OpenWarriorFiles({test::Example("imp.red"), test::Example("dwarf.red")});
  TCore& core = s.Core();
  for (int i = 0; i < 3; ++i)
    QTest::keyClick(form.ButtonSingleStep, Qt::Key_Space);
  QCOMPARE(test::Join(s.Status(), form.State()), test::Join("Drawn", RunState::Stopped));
  Press(form, Qt::Key_F7);
  QCOMPARE(test::Join(core.RoundState == kRoundRunning, form.LabelCycleCount->text()),
           QString("y|2"));
  QTest::mouseClick(form.ButtonSingleStep, Qt::LeftButton);
  const QString ended = test::Join(s.Status(), s.app.Tournament.CurrentResult()->RoundsPlayed,
                                   form.LabelBattleOutput->text());
  QTest::mouseClick(form.ButtonSingleStep, Qt::LeftButton); // sets the next round up
  QCOMPARE(test::Join(ended, s.Status(), s.app.Tournament.CurrentResult()->RoundsPlayed,
                      form.LabelBattleOutput->text(), core.CycleCount),
           QString("Drawn|0|1|Stopped|1|2|0"));
  QTest::mouseClick(form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(core.CycleCount, 1);

  // The next round's first cycle can be undone, until a cell is edited.
  QVERIFY(form.ButtonStepBack->isEnabled());
  TFormView* view = s.OpenView();
  test::WhenModal([](QWidget* modal) {
    auto* editor = qobject_cast<TFormEditCore*>(modal);
    if (editor) editor->MemoCore->setPlainText("DAT.F #0, #7");
    editor ? editor->ButtonOK->click() : void(modal->close());
  });
  test::DoubleClick(view, view->ListingPoint(0, 20));
  QCOMPARE(form.LabelStatusOutput->text(),
           QString("Edited: the cycles before can no longer be stepped back"));
  QVERIFY(!form.ButtonStepBack->isEnabled());
}

QTEST_MAIN(StepBackTest)
#include "step_back_test.moc"
