// The core view: where it opens, its lines, navigation, the location box, breakpoints by
// clicks, the dialogs opened by double clicks, the operand popup, highlights on the core
// display, refreshing, and the main window's bookkeeping of open views.

#include <QtTest>

#include "tests/ui/support/debugger_session.h"
#include "tests/ui/support/debugger_support.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/edit_core_form.h"

using namespace velmora;
using test::TDebugSession;

class ViewFormTest : public QObject {
  Q_OBJECT
private slots:
  void opensAtTheFirstWarriorsNextInstruction();
  void listsTheCellsAsLines();
  void highlightsTheListedCells();
  void scrollsPastEitherEnd();
  void locationBox_data();
  void locationBox();
  void locationBoxRefusesText();
  void clicksStepTheBreakpoint();
  void doubleClickOnTheColumnEditsTheBreakpoint();
  void doubleClickOnTheInstructionEditsTheCell();
  void operandPopupFollowsThePointer();
  void immediateOperandHasNoPopup();
  void refreshesWhenTheMainWindowAsks();
  void closingKeepsTheBookkeeping();
  void showCellInViewUsesTheCurrentView();
  void hugeCoreListsOnlyTheVisibleLines();
};

void ViewFormTest::opensAtTheFirstWarriorsNextInstruction() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  QVERIFY(view && view->isVisible());
  QCOMPARE(view->windowTitle(), QString("Core View"));
  QCOMPARE(s.form.CoreViews.size(), size_t{1});
  QCOMPARE(view->pos(), QPoint(620, 190));
  const TWarrior& first = *s.Core().Warriors[1];
  QCOMPARE(view->TopLocation(), s.Core().QueueEntry(first, 0));
  QVERIFY(view->LineCount() > 5);
  QCOMPARE(view->Lines().size(), size_t(view->LineCount()));
  QVERIFY(view->Lines().front().Next);
  QCOMPARE(view->EditLocation->text(), QString::number(view->TopLocation()));
  QVERIFY(view->windowFlags().testFlag(Qt::Tool));
}

void ViewFormTest::listsTheCellsAsLines() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  s.At(0) = MakeCell(Opcode::MOV, Modifier::I, AddressMode::Direct, 0, AddressMode::Direct, 1);
  s.At(1) =
      MakeCell(Opcode::DAT, Modifier::F, AddressMode::Immediate, 0, AddressMode::Direct, 7999);
  TDebugSession::MoveView(view, 0);
  QCOMPARE(view->Lines()[0].Text, std::string("      0 MOV.I  $      0,  $      1"));
  QCOMPARE(view->Lines()[1].Text, std::string("      1 DAT.F  #      0,  $     -1"));
  QCOMPARE(view->Lines()[2].Address, 2);
}

void ViewFormTest::highlightsTheListedCells() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  const std::vector<int32_t> shownFirst = test::ListedOf(view);
  s.form.Pixels.clear();
  TDebugSession::MoveView(view, 300);
  std::vector<int32_t> erased, marked;
  for (const auto& p : s.form.Pixels)
    (p.Highlight ? marked : erased).push_back(p.Address);
  QCOMPARE(erased, shownFirst);
  QCOMPARE(marked, test::ListedOf(view));
  QCOMPARE(marked.front(), 300);
  // Each cell is marked in its own colour and kind, the next instructions red.
  s.At(301).Marker = 0x32;
  s.form.Pixels.clear();
  s.form.RefreshViews();
  QCOMPARE(s.form.Pixels[1].Address, 301);
  QCOMPARE(s.form.Pixels[1].Colour, 2);
  QCOMPARE(s.form.Pixels[1].Kind, 3);
  s.form.Pixels.clear();
  view->close();
  QCOMPARE(s.form.Pixels.size(), size_t(view->LineCount()));
  for (const auto& p : s.form.Pixels)
    QVERIFY(!p.Highlight);
}

void ViewFormTest::scrollsPastEitherEnd() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  TDebugSession::MoveView(view, 0);
  view->SpinButtonSmallUp->click();
  QCOMPARE(view->TopLocation(), 7999);
  QCOMPARE(view->Lines()[0].Address, 7999);
  QCOMPARE(view->Lines()[1].Address, 0);
  QCOMPARE(view->EditLocation->text(), QString("7999"));
  view->SpinButtonSmallDown->click();
  QCOMPARE(view->TopLocation(), 0);
  const int32_t n = view->LineCount();
  view->SpinButtonLargeUp->click();
  QCOMPARE(view->TopLocation(), 8000 - n);
  QCOMPARE(view->Lines().back().Address, 7999);
  view->SpinButtonLargeDown->click();
  QCOMPARE(view->TopLocation(), 0);
  TDebugSession::MoveView(view, 7995);
  QCOMPARE(view->Lines()[5].Address, 0);
  view->SpinButtonLargeDown->click();
  QCOMPARE(view->TopLocation(), 7995 + n - 8000);
}

void ViewFormTest::locationBox_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("top");
  QTest::newRow("-1") << "-1" << 7999;
  QTest::newRow("8005") << "8005" << 5;
  QTest::newRow("16000") << "16000" << 0;
  QTest::newRow("hexadecimal") << "$10" << 16;
}

void ViewFormTest::locationBox() {
  QFETCH(QString, typed);
  QFETCH(int, top);
  TDebugSession s;
  TFormView* view = s.OpenView();
  view->EditLocation->setText(typed);
  view->EditLocationExit();
  QCOMPARE(view->TopLocation(), top);
  QCOMPARE(view->Lines()[0].Address, top);
  QCOMPARE(view->EditLocation->text(), QString::number(top));
}

void ViewFormTest::locationBoxRefusesText() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  TDebugSession::MoveView(view, 250);
  view->EditLocation->setText("twelve");
  view->EditLocationExit();
  QCOMPARE(s.platform.Messages.back(), std::string("'twelve' is not a valid integer value"));
  QCOMPARE(view->TopLocation(), 250);
  QCOMPARE(view->Lines()[0].Address, 250);
  QCOMPARE(view->EditLocation->text(), QString("250"));
}

void ViewFormTest::clicksStepTheBreakpoint() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  TDebugSession::MoveView(view, 500);
  const QPoint column = view->ListingPoint(3, 2);
  const struct {
    uint8_t Type;
    BreakpointGlyph Glyph;
    bool Registered;
  } steps[] = {{1, BreakpointGlyph::Square, true},
               {2, BreakpointGlyph::Circle, true},
               {0, BreakpointGlyph::None, false}};
  for (const auto& step : steps) {
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, column);
    QCOMPARE(s.At(503).BreakpointType, step.Type);
    QCOMPARE(view->Lines()[3].Glyph, step.Glyph);
    const auto& listed = s.Core().BreakpointAddresses;
    QCOMPARE(std::find(listed.begin(), listed.end(), 503) != listed.end(), step.Registered);
  }
  // A click on the instruction sets nothing; a type of its own is left alone.
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(3, 10));
  QCOMPARE(s.At(503).BreakpointType, uint8_t{0});
  s.At(504).BreakpointType = 9;
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(4, 0));
  QCOMPARE(s.At(504).BreakpointType, uint8_t{9});
  QCOMPARE(view->Lines()[4].Glyph, BreakpointGlyph::Diamond);
}

void ViewFormTest::doubleClickOnTheColumnEditsTheBreakpoint() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  TDebugSession::MoveView(view, 700);
  QString title;
  bool executeTicked = false;
  test::WhenModal([&](QWidget* modal) {
    auto* editor = qobject_cast<TFormEditBreakpoint*>(modal);
    if (!editor) {
      modal->close();
      return;
    }
    title = editor->windowTitle();
    executeTicked = editor->CheckBoxExecute->isChecked();
    editor->CheckBoxExecute->setChecked(false);
    editor->CheckBoxWrite->setChecked(true);
    editor->ButtonOK->click();
  });
  test::DoubleClick(view, view->ListingPoint(1, 1));
  QCOMPARE(title, QString("Edit Breakpoint at 701"));
  // The double click undid its first click: the editor opened on no breakpoint.
  QVERIFY(!executeTicked);
  QCOMPARE(s.At(701).BreakpointType, uint8_t{3});
  QVERIFY(s.Core().BreakpointTypes[3].Write);
  QCOMPARE(view->Lines()[1].Glyph, BreakpointGlyph::Diamond);
}

void ViewFormTest::doubleClickOnTheInstructionEditsTheCell() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  TDebugSession::MoveView(view, 900);
  s.At(902) =
      MakeCell(Opcode::DAT, Modifier::F, AddressMode::Immediate, 0, AddressMode::Immediate, 0);
  QString title, text;
  test::WhenModal([&](QWidget* modal) {
    auto* editor = qobject_cast<TFormEditCore*>(modal);
    if (!editor) {
      modal->close();
      return;
    }
    title = editor->windowTitle();
    text = editor->MemoCore->toPlainText();
    editor->MemoCore->setPlainText("SPL.B $1, #2");
    editor->ButtonOK->click();
  });
  test::DoubleClick(view, view->ListingPoint(2, 12));
  QCOMPARE(title, QString("Edit Core at location 902"));
  QCOMPARE(text, QString("DAT.F  #0,  #0"));
  QCOMPARE(s.app.SelectedLocation, 902);
  QCOMPARE(view->Lines()[2].Text, std::string("    902 SPL.B  $      1,  #      2"));
  QCOMPARE(s.At(902).BreakpointType, uint8_t{0});
}

void ViewFormTest::operandPopupFollowsThePointer() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  s.At(100) = MakeCell(Opcode::MOV, Modifier::I, AddressMode::Direct, 0, AddressMode::BIndirect, 5);
  s.At(105) =
      MakeCell(Opcode::DAT, Modifier::F, AddressMode::Immediate, 0, AddressMode::Immediate, 20);
  TDebugSession::MoveView(view, 100);
  QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, view->ListingPoint(0, 28));
  QVERIFY(view->PopupMenuView->isVisible());
  QCOMPARE(view->N1->text(), QString("$ 5 = 105"));
  QCOMPARE(view->N2->text(), QString("@ 5 = 125"));
  QVERIFY(view->N2->isVisible());
  view->PopupMenuView->hide();
  view->N2->trigger();
  QCOMPARE(s.form.CoreViews.size(), size_t{2});
  TFormView* followed = s.form.LastCoreView;
  QVERIFY(followed != view);
  QCOMPARE(followed->TopLocation(), 125);
  QCOMPARE(followed->Lines()[0].Address, 125);

  // The A operand is direct: one item only.
  QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, view->ListingPoint(0, 18));
  QCOMPARE(view->N1->text(), QString("$ 0 = 100"));
  QVERIFY(!view->N2->isVisible());
  view->PopupMenuView->hide();
}

void ViewFormTest::immediateOperandHasNoPopup() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  s.At(100) =
      MakeCell(Opcode::DAT, Modifier::F, AddressMode::Immediate, 3, AddressMode::Immediate, 5);
  TDebugSession::MoveView(view, 100);
  QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, view->ListingPoint(0, 28));
  QVERIFY(!view->PopupMenuView->isVisible());
  // Neither does the opcode.
  s.At(101) = MakeCell(Opcode::JMP, Modifier::B, AddressMode::Direct, 3, AddressMode::Direct, 5);
  QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, view->ListingPoint(1, 9));
  QVERIFY(!view->PopupMenuView->isVisible());
}

void ViewFormTest::refreshesWhenTheMainWindowAsks() {
  TDebugSession s;
  TFormView* view = s.OpenView();
  TDebugSession::MoveView(view, 42);
  s.At(42) = MakeCell(Opcode::JMP, Modifier::B, AddressMode::Direct, 7, AddressMode::Direct, 0);
  QVERIFY(view->Lines()[0].Text.find("JMP") == std::string::npos);
  s.form.RefreshViews();
  QCOMPARE(view->Lines()[0].Text, std::string("     42 JMP.B  $      7,  $      0"));
}

void ViewFormTest::closingKeepsTheBookkeeping() {
  TDebugSession s;
  TFormView* first = s.OpenView();
  TFormView* second = s.OpenView();
  QCOMPARE(s.form.CoreViews.size(), size_t{2});
  QCOMPARE(s.form.LastCoreView, second);
  first->move(300, 200);
  s.form.CoreViewActivated(first);
  QCOMPARE(s.form.LastCoreView, first);
  first->ButtonCoreviewClose->click();
  QCOMPARE(s.form.CoreViews, std::vector<TFormView*>{second});
  QCOMPARE(s.form.LastCoreView, second);
  QCOMPARE(QPoint(s.form.ViewLeft, s.form.ViewTop), QPoint(300, 200));
  TFormView* third = s.OpenView();
  QCOMPARE(third->pos(), QPoint(300, 200));
  third->close();
  second->close();
  QVERIFY(s.form.CoreViews.empty());
  QVERIFY(!s.form.LastCoreView);
}

void ViewFormTest::showCellInViewUsesTheCurrentView() {
  TDebugSession s;
  s.form.ShowCellInView(4000);
  QCOMPARE(s.form.CoreViews.size(), size_t{1});
  TFormView* view = s.form.LastCoreView;
  QCOMPARE(view->TopLocation(), 4000);
  s.form.ShowCellInView(17);
  QCOMPARE(s.form.CoreViews.size(), size_t{1});
  QCOMPARE(view->TopLocation(), 17);
  s.form.Controller().SetRunState(RunState::Idle);
  s.form.ShowCellInView(99);
  QCOMPARE(view->TopLocation(), 17);
}

void ViewFormTest::hugeCoreListsOnlyTheVisibleLines() {
  TDebugSession s(1000000);
  QCOMPARE(s.Core().CoreSize, 1000000);
  s.form.Pixels.clear();
  TFormView* view = s.OpenView();
  QCOMPARE(s.form.Pixels.size(), size_t(view->LineCount()));
  TDebugSession::MoveView(view, 999999);
  QCOMPARE(view->Lines()[0].Text.substr(0, 8), std::string(" 999999 "));
  QCOMPARE(view->Lines()[1].Address, 0);
}

QTEST_MAIN(ViewFormTest)
#include "view_form_test.moc"
