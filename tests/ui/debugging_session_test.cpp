// A debugging session as a user has it: two example warriors opened, a breakpoint set by a
// click in a core view, Start stopping at it, a single step, a cell edited from the view,
// the breakpoint taken off again and the round played to its end.

#include <QtTest>

#include "tests/ui/support/session.h"
#include "ui/edit_core_form.h"

using namespace velmora;
using test::Join;

class DebuggingSessionTest : public QObject {
  Q_OBJECT
private slots:
  void breakStepEditAndFinish();
};

void DebuggingSessionTest::breakStepEditAndFinish() {
  test::TSession s;
  QCOMPARE(s.form.State(), RunState::Stopped);
  TCore& core = s.Core();
  const TWarrior& dwarf = s.Warrior(2);
  QCOMPARE(dwarf.Name, std::string("Velmora Dwarf"));
  const int32_t start = core.QueueEntry(dwarf, 0);
  const int32_t jump = (start + 2) % core.CoreSize, bomb = (start + 3) % core.CoreSize;

  // The dwarf's loop in a core view; a click on the location column of its JMP.
  TFormView* view = s.OpenView();
  test::TypeAndEnter(view->EditLocation, QString::number(start));
  QVERIFY(view->Lines()[0].Next && view->Lines()[2].Text.find("JMP.A") != std::string::npos);
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(2, 3));
  QCOMPARE(Join(s.At(jump).BreakpointType, view->Lines()[2].Glyph, view->Lines()[2].Hit),
           Join(1, BreakpointGlyph::Square, false));

  // Start runs until the dwarf is about to execute its JMP.
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(s.form.State(), RunState::Stopped);
  QCOMPARE(Join(s.form.LabelStatusOutput->text(), core.HitList.front(), core.QueueEntry(dwarf, 0),
                view->Lines()[2].Hit, view->Lines()[2].Next),
           Join(QString("Stopped at breakpoint @ %1").arg(jump), jump, jump, true, true));
  const int32_t cycles = core.CycleCount;
  QVERIFY(cycles >= 2);

  // One step: the dwarf jumps back to the start of its loop.
  QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
  QCOMPARE(Join(s.form.State(), core.CycleCount, core.QueueEntry(dwarf, 0), view->Lines()[0].Next),
           Join(RunState::Stopped, cycles + 1, start, true));

  // The bomb gets a new B-field through the cell editor, opened by a double click.
  const uint8_t marker = s.At(bomb).Marker;
  test::InModal<TFormEditCore>([](TFormEditCore& editor) {
    editor.MemoCore->setPlainText("DAT.F #0, #1000");
    QTest::mouseClick(editor.ButtonOK, Qt::LeftButton);
  });
  test::DoubleClick(view, view->ListingPoint(3, 20));
  QCOMPARE(Join(s.At(bomb).BField, s.At(bomb).Marker, view->Lines()[3].Text.substr(8)),
           Join(1000, marker, "DAT.F  #      0,  #   1000"));

  // Two more clicks take the breakpoint off; Start then plays the round to its end, the
  // dwarf bombing on from the edited position.
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(2, 3));
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(2, 3));
  QVERIFY(s.At(jump).BreakpointType == 0 && core.BreakpointAddresses.empty());
  QTest::mouseClick(s.form.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(s.form.State(), RunState::Complete);
  QVERIFY(s.form.LabelStatusOutput->text().startsWith("Won by") ||
          s.form.LabelStatusOutput->text() == "Drawn");
  QVERIFY(s.app.Tournament.CurrentResult()->RoundsPlayed == 1 && view->isVisible());
}

QTEST_MAIN(DebuggingSessionTest)
#include "debugging_session_test.moc"
