// A debugging session as a user has it: two example warriors opened, a breakpoint set by a
// click in a core view, Start stopping at it, a single step, a cell edited from the view,
// the breakpoint taken off again and the round played to its end.

#include <QtTest>

#include "tests/ui/support/debugger_session.h"
#include "tests/ui/support/debugger_support.h"
#include "ui/edit_core_form.h"

using namespace velmora;
using test::TDebugSession;

class DebuggingSessionTest : public QObject {
  Q_OBJECT
private slots:
  void breakStepEditAndFinish();
};

void DebuggingSessionTest::breakStepEditAndFinish() {
  TDebugSession s;
  QCOMPARE(s.form.State(), RunState::Stopped);
  TCore& core = s.Core();
  const TWarrior* dwarf = nullptr;
  for (int32_t k = 1; k <= core.NumWarriors; ++k)
    if (core.Warriors[size_t(k)]->Name == "Velmora Dwarf") dwarf = core.Warriors[size_t(k)].get();
  QVERIFY(dwarf);
  const int32_t start = core.QueueEntry(*dwarf, 0);
  const int32_t jump = (start + 2) % core.CoreSize, bomb = (start + 3) % core.CoreSize;

  // The dwarf's loop in a core view; a click on the location column of its JMP.
  TFormView* view = s.OpenView();
  TDebugSession::MoveView(view, start);
  QVERIFY(view->Lines()[0].Next);
  QVERIFY(view->Lines()[2].Text.find("JMP.A") != std::string::npos);
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(2, 3));
  QCOMPARE(s.At(jump).BreakpointType, uint8_t{1});
  QCOMPARE(view->Lines()[2].Glyph, BreakpointGlyph::Square);
  QVERIFY(!view->Lines()[2].Hit);

  // Start runs until the dwarf is about to execute its JMP.
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(s.form.State(), RunState::Stopped);
  const QString stopped = QString("Stopped at breakpoint @ %1").arg(jump);
  QCOMPARE(s.form.LabelStatusOutput->text(), stopped);
  QCOMPARE(core.HitList.front(), jump);
  QCOMPARE(core.QueueEntry(*dwarf, 0), jump);
  QVERIFY(view->Lines()[2].Hit);
  QVERIFY(view->Lines()[2].Next);
  const int32_t cycles = core.CycleCount;
  QVERIFY(cycles >= 2);

  // One step: the dwarf jumps back to the start of its loop.
  QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(s.form.State(), RunState::Stopped);
  QCOMPARE(core.CycleCount, cycles + 1);
  QCOMPARE(core.QueueEntry(*dwarf, 0), start);
  QVERIFY(view->Lines()[0].Next);

  // The bomb gets a new B-field through the cell editor, opened by a double click.
  const uint8_t marker = s.At(bomb).Marker;
  test::WhenModal([](QWidget* modal) {
    auto* editor = qobject_cast<TFormEditCore*>(modal);
    if (editor) editor->MemoCore->setPlainText("DAT.F #0, #1000");
    editor ? editor->ButtonOK->click() : void(modal->close());
  });
  test::DoubleClick(view, view->ListingPoint(3, 20));
  QCOMPARE(s.At(bomb).BField, 1000);
  QCOMPARE(s.At(bomb).Marker, marker);
  QCOMPARE(view->Lines()[3].Text.substr(8), std::string("DAT.F  #      0,  #   1000"));

  // Two more clicks take the breakpoint off; Start then plays the round to its end, the
  // dwarf bombing on from the edited position.
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(2, 3));
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(2, 3));
  QCOMPARE(s.At(jump).BreakpointType, uint8_t{0});
  QVERIFY(core.BreakpointAddresses.empty());
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(s.form.State(), RunState::Complete);
  QVERIFY(s.form.LabelStatusOutput->text().startsWith("Won by") ||
          s.form.LabelStatusOutput->text() == "Drawn");
  QCOMPARE(s.app.Tournament.CurrentResult()->RoundsPlayed, 1);
  QVERIFY(view->isVisible());
}

QTEST_MAIN(DebuggingSessionTest)
#include "debugging_session_test.moc"
