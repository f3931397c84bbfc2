// The debugger's windows on a real battle, driven by clicks and keys: a whole debugging
// session, then the core view, the breakpoint list and editor, the cell editor and the
// location dialog, the processes editor and the P-space window.

#include <QtTest>

#include "tests/ui/support/session.h"
#include "ui/breakpoints_form.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/edit_code_form.h"
#include "ui/edit_core_form.h"
#include "ui/edit_pspace_form.h"
#include "ui/ex_pts_form.h"
#include "ui/ex_pts_text.h"
#include "ui/input_form.h"
#include "ui/pspace_form.h"

// Designated initializers leave the other members at their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace velmora;
using test::InModal;
using test::Join;
using test::TSession;

namespace {

constexpr int kCancel = -99999; // a location answer that stands for "Cancel"
constexpr auto Imm = AddressMode::Immediate, Dir = AddressMode::Direct;

// Ticks these boxes of the breakpoint editor ("EWICRTM") and fills its texts.
void FillEditor(TFormEditBreakpoint& editor, const QString& ticked, const QString& frequency,
                const QString& fill, const QString& test = "") {
  QCheckBox* boxes[] = {editor.CheckBoxExecute, editor.CheckBoxWrite, editor.CheckBoxIncDec,
                        editor.CheckBoxCompare, editor.CheckBoxRead,  editor.CheckBoxTest,
                        editor.CheckBoxMovable};
  for (int i = 0; i < 7; ++i)
    boxes[i]->setChecked(ticked[i] != '.');
  editor.EditFrequency->setText(frequency);
  editor.EditFillNext->setText(fill);
  editor.EditOperandTest->setText(test);
}

// Answers the breakpoint editor, when it opens, with these settings and OK; records the
// caption it showed and whether it opened with Execute ticked.
void AnswerEditor(const QString& ticked, const QString& frequency, const QString& fill,
                  QString* seen = nullptr) {
  InModal<TFormEditBreakpoint>([=](TFormEditBreakpoint& editor) {
    if (seen) *seen = Join(editor.windowTitle(), editor.CheckBoxExecute->isChecked());
    FillEditor(editor, ticked, frequency, fill);
    QTest::mouseClick(editor.ButtonOK, Qt::LeftButton);
  });
}

// The location dialog, when it next opens, records its start value and gets this answer.
void AnswerLocation(int answer, std::vector<int>* offered) {
  InModal<TFormInput>([=](TFormInput& input) {
    offered->push_back(input.EditLocation->text().toInt());
    if (answer == kCancel) return QTest::mouseClick(input.ButtonCancel, Qt::LeftButton);
    input.EditLocation->setText(QString::number(answer));
    QTest::mouseClick(input.ButtonOK, Qt::LeftButton);
  });
}

// Lists a core view from a location typed into its location box.
void Go(TFormView* view, int32_t location) {
  test::TypeAndEnter(view->EditLocation, QString::number(location));
}

// What a core view shows at its top: location, first address, the location box.
QString Top(const TFormView* view) {
  return Join(view->TopLocation(), view->Lines()[0].Address, view->EditLocation->text());
}

void Register(TCore& core, int32_t address, uint8_t type, int32_t counter) {
  core.Core[static_cast<size_t>(address)].BreakpointType = type;
  core.AddBreakpoint(address);
  core.BreakpointCounters.back() = counter;
}

} // namespace

class DebuggerTest : public QObject {
  Q_OBJECT
private slots:
  void coreView();
  void breakpoints();
  void cellEditorAndLocationDialog();
  void processesEditor();
  void pspaceWindow();
};

void DebuggerTest::coreView() {
  TSession s;
  TFormView* view = s.OpenView();
  QVERIFY(view->isVisible() && view->Lines().front().Next);
  const int32_t n = view->LineCount(), pc = s.Core().QueueEntry(s.Warrior(1), 0);
  QCOMPARE(Top(view), Join(pc, pc, pc));
  // Moving erases the marks of the cells listed before and marks the new ones, each in its
  // own colour and kind; the view follows the main window.
  const std::vector<int32_t> shownFirst = test::ListedOf(view);
  s.form.Pixels.clear();
  Go(view, 300);
  std::vector<int32_t> erased, marked;
  for (const auto& p : s.form.Pixels)
    (p.Highlight ? marked : erased).push_back(p.Address);
  QCOMPARE(Join(erased, marked), Join(shownFirst, test::ListedOf(view)));
  QCOMPARE(marked.front(), 300);
  // A typed location, text that is none, and scrolling past either end of the core.
  test::TypeAndEnter(view->EditLocation, "$10");
  test::TypeAndEnter(view->EditLocation, "twelve");
  QCOMPARE(Join(s.platform.Messages, Top(view)),
           QString("'twelve' is not a valid integer value|16|16|16"));
  Go(view, 0);
  for (const auto& [button, top] : {std::pair{view->SpinButtonSmallUp, 7999},
                                    {view->SpinButtonSmallDown, 0},
                                    {view->SpinButtonLargeUp, 8000 - n},
                                    {view->SpinButtonLargeDown, 0}}) {
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(Top(view), Join(top, top, top));
  }

  // Clicks on the location column, to its last, step the breakpoint; a type of its own is
  // left alone.
  Go(view, 500);
  for (const auto& [type, glyph] : {std::pair{1, BreakpointGlyph::Square},
                                    {2, BreakpointGlyph::Circle},
                                    {0, BreakpointGlyph::None}}) {
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(3, 7));
    QCOMPARE(Join(s.At(503).BreakpointType, view->Lines()[3].Glyph, s.Core().BreakpointAddresses),
             Join(type, glyph, type ? std::vector<int32_t>{503} : std::vector<int32_t>{}));
  }
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(3, 10));
  s.At(504).BreakpointType = 9;
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(4, 0));
  QCOMPARE(Join(s.At(503).BreakpointType, s.At(504).BreakpointType, view->Lines()[4].Glyph),
           Join(0, 9, BreakpointGlyph::Diamond));
  // A double click on the column edits the breakpoint, having undone its first click.
  QString editor;
  AnswerEditor(".W.....", "1", "1", &editor);
  test::DoubleClick(view, view->ListingPoint(1, 1));
  QCOMPARE(Join(editor, s.At(501).BreakpointType, s.Core().BreakpointTypes[3].Write,
                view->Lines()[1].Glyph),
           Join("Edit Breakpoint at 501", false, 3, true, BreakpointGlyph::Diamond));
  // The right button on an operand, from its first column on, offers where it points; an
  // item opens a view there. Neither an immediate operand nor the opcode has a popup.
  s.At(100) = MakeCell(Opcode::MOV, Modifier::I, Dir, 0, AddressMode::BIndirect, 5);
  s.At(101) = MakeCell(Opcode::DAT, Modifier::F, Imm, 3, Imm, 5);
  s.At(105) = MakeCell(Opcode::DAT, Modifier::F, Imm, 0, Imm, 20);
  Go(view, 100);
  const auto popup = [&](int line, int column) {
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, view->ListingPoint(line, column));
    const QString seen = Join(view->PopupMenuView->isVisible(), view->N1->text(),
                              view->N2->isVisible() ? view->N2->text() : "-");
    view->PopupMenuView->hide();
    return seen;
  };
  QCOMPARE(popup(0, 26), QString("y|$ 5 = 105|@ 5 = 125"));
  view->N2->trigger();
  QCOMPARE(Join(s.form.CoreViews.size(), Top(s.form.LastCoreView).left(7)), QString("2|125|125"));
  QCOMPARE(popup(0, 15), QString("y|$ 0 = 100|-"));
  QCOMPARE(popup(1, 28).left(1) + popup(0, 14).left(1), QString("nn"));

  // Closing views erases their marks; a click on the display lists the cell.
  QTest::mouseClick(view->ButtonCoreviewClose, Qt::LeftButton);
  s.form.Pixels.clear();
  s.form.LastCoreView->close();
  QCOMPARE(Join(s.form.Pixels.size(), s.form.CoreViews.size(), s.form.LastCoreView == nullptr,
                std::count_if(s.form.Pixels.begin(), s.form.Pixels.end(),
                              [](auto& p) { return p.Highlight; })),
           Join(n, 0, true, 0));
  QTest::mouseClick(&s.form.Display(), Qt::LeftButton, {}, {9, 9}); // cell 258
  QCOMPARE(Join(s.form.CoreViews.size(), s.form.LastCoreView->TopLocation()), QString("1|258"));
}

void DebuggerTest::breakpoints() {
  TSession s;
  s.At(300) = MakeCell(Opcode::JMP, Modifier::B, Dir, 7990, Dir, 0);
  for (const auto& [address, type, counter] :
       {std::tuple{300, 1, 0}, {7, 2, 1}, {5000, 1, 2}, {7999, 1, 0}})
    Register(s.Core(), address, uint8_t(type), counter);
  s.At(55).BreakpointType = 2; // a cell whose address was never registered
  s.Core().HitList = {300};
  TFormView* view = s.OpenView();
  Go(view, 7999);
  const auto list = [&](std::function<void(TFormBreakpoints&)> act) {
    InModal<TFormBreakpoints>(act);
    QTest::mouseClick(view->ButtonBreakpoints, Qt::LeftButton);
  };
  // Sorted, with the fired breakpoint marked; Close leaves the view where it was.
  list([&](TFormBreakpoints& l) {
    QCOMPARE(Join(l.windowTitle(), l.ListedAddresses(), s.Core().BreakpointCounters,
                  l.LabelNumBPs->text(), l.ListBoxBreakpoints->currentRow(),
                  l.ListBoxBreakpoints->item(1)->text(), l.ButtonEdit->isEnabled(),
                  l.ButtonClear->isEnabled()),
             QString("Breakpoints|7,300,5000,7999|1,0,2,0|Total: 4|0|*    300   1 JMP.B  $    -10, "
                     " $      0|y|y"));
    QTest::mouseClick(l.ButtonCancel, Qt::LeftButton);
  });
  QCOMPARE(view->TopLocation(), 7999);
  // Clear keeps the same line selected, or the one before at the end; Edit keeps it too;
  // "Close and Move" lists the view from the selected line.
  QString editor;
  list([&](TFormBreakpoints& l) {
    for (const int row : {1, 2}) {
      l.ListBoxBreakpoints->setCurrentRow(row);
      QTest::mouseClick(l.ButtonClear, Qt::LeftButton);
      QCOMPARE(l.ListBoxBreakpoints->currentRow(), 1);
    }
    QCOMPARE(Join(l.ListedAddresses(), l.LabelNumBPs->text(), s.Core().BreakpointAddresses),
             QString("7,5000|Total: 2|7,5000"));
    AnswerEditor(".W.....", "1", "1", &editor);
    QTest::mouseClick(l.ButtonEdit, Qt::LeftButton);
    QCOMPARE(l.ListBoxBreakpoints->currentRow(), 1);
    QVERIFY(l.ListBoxBreakpoints->item(1)->text().startsWith("    5000   3 "));
    QTest::mouseClick(l.ButtonOK, Qt::LeftButton);
  });
  QCOMPARE(Join(editor, s.At(300).BreakpointType, s.At(7999).BreakpointType, s.app.SelectedLocation,
                view->TopLocation(), view->Lines()[0].Glyph),
           Join("Edit Breakpoint at 5000", true, 0, 0, 5000, 5000, BreakpointGlyph::Diamond));
  // Clear All empties everything, cells never registered too; New asks for a location.
  std::vector<int> offered;
  list([&](TFormBreakpoints& l) {
    QTest::mouseClick(l.ButtonClearAll, Qt::LeftButton);
    QCOMPARE(Join(l.LabelNumBPs->text(), l.ListBoxBreakpoints->count(), l.ButtonEdit->isEnabled(),
                  l.ButtonClear->isEnabled(), s.Core().BreakpointAddresses,
                  s.Core().BreakpointCounters, s.At(7).BreakpointType, s.At(55).BreakpointType,
                  s.At(5000).BreakpointType),
             QString("Total: 0|0|n|n|||0|0|0"));
    AnswerLocation(-2, &offered);
    AnswerEditor("E......", "1", "1", &editor);
    QTest::mouseClick(l.ButtonNew, Qt::LeftButton);
    QCOMPARE(Join(l.ListedAddresses(), l.LabelNumBPs->text()), QString("7998|Total: 1"));
    QTest::mouseClick(l.ButtonCancel, Qt::LeftButton);
  });
  QCOMPARE(Join(view->Lines()[0].Glyph, offered, editor, s.At(7998).BreakpointType),
           Join(BreakpointGlyph::None, 0, "Edit Breakpoint at 7998|n", 1));

  // Two identical edits define two types; a fill wraps.
  Go(view, 10);
  for (int line : {0, 1}) {
    AnswerEditor(".W..R..", "2", "1");
    test::DoubleClick(view, view->ListingPoint(line, 1));
  }
  Go(view, 7998);
  AnswerEditor("E......", "1", "5");
  test::DoubleClick(view, view->ListingPoint(0, 1));
  QCOMPARE(Join(s.At(10).BreakpointType, s.At(11).BreakpointType, s.Core().BreakpointTypeCount,
                s.Core().BreakpointAddresses, s.At(3).BreakpointType, s.At(7997).BreakpointType),
           QString("4|5|6|7998,10,11,7999,0,1,2|0|0"));
  // The editor shows the type's settings; its test box enables the expression.
  s.Core().BreakpointTypes[6] = {
      .IncDec = true, .Test = true, .Frequency = 4, .TestExpression = "B==0"};
  s.Core().BreakpointTypeCount = 7;
  s.At(42).BreakpointType = 6;
  Go(view, 42);
  QString shown; // checked once the editor is closed, so that a failure cannot leave it open
  InModal<TFormEditBreakpoint>([&shown](TFormEditBreakpoint& e) {
    shown = Join(e.windowTitle(), e.CheckBoxIncDec->isChecked(), e.CheckBoxTest->isChecked(),
                 e.CheckBoxExecute->isChecked(), e.CheckBoxMovable->isChecked(),
                 e.EditFrequency->text(), e.EditOperandTest->text(), e.EditFillNext->text(),
                 e.EditOperandTest->isEnabled());
    e.CheckBoxTest->click();
    shown += Join("", e.EditOperandTest->isEnabled());
    QTest::mouseClick(e.ButtonCancel, Qt::LeftButton);
  });
  test::DoubleClick(view, view->ListingPoint(0, 1));
  QCOMPARE(shown, QString("Edit Breakpoint at 42|y|y|n|n|4|B==0|1|y|n"));
  // Bad fields are refused with the valid value back; the editor stays open.
  // clang-format off
  const struct { const char *Ticked, *Frequency, *Fill, *Test, *Message, *FrequencyAfter; } bad[] = {
      {"E......", "often", "1", "", "Frequency must be a number", "4"},
      {"E......", "1", "0", "", "Fill Next value must be a positive number", "1"},
      {".....T.", "1", "1", "", "Operand test expression cannot be blank", "1"},
      {".....T.", "1", "1", "B==", "Error evaluating operand test expression: ", "1"}};
  // clang-format on
  for (const auto& b : bad) {
    InModal<TFormEditBreakpoint>([&](TFormEditBreakpoint& e) {
      FillEditor(e, b.Ticked, b.Frequency, b.Fill, b.Test);
      QTest::mouseClick(e.ButtonOK, Qt::LeftButton);
      QVERIFY2(s.platform.Messages.back().starts_with(b.Message), b.Message);
      QCOMPARE(Join(e.isVisible(), e.EditFrequency->text(), e.EditFillNext->text()),
               Join(true, b.FrequencyAfter, "1"));
      QTest::mouseClick(e.ButtonCancel, Qt::LeftButton);
    });
    test::DoubleClick(view, view->ListingPoint(0, 1));
    QCOMPARE(Join(s.Core().BreakpointTypeCount, s.At(42).BreakpointType), QString("7|6"));
  }
  // Execute alone but not every time defines a type of its own.
  AnswerEditor("E......", "2", "1");
  test::DoubleClick(view, view->ListingPoint(0, 1));
  QCOMPARE(Join(s.At(42).BreakpointType, s.Core().BreakpointTypeCount), QString("7|8"));
}

void DebuggerTest::cellEditorAndLocationDialog() {
  TSession s;
  TFormView* view = s.OpenView();
  Go(view, 7999);
  const auto edit = [&](int line, std::function<void(TFormEditCore&)> act) {
    InModal<TFormEditCore>(act);
    test::DoubleClick(view, view->ListingPoint(line, 12));
  };
  // Offered as one instruction, in the engine's standard; text that does not compile
  // changes nothing and keeps the editor open.
  s.At(7999) = MakeCell(Opcode::MOV, Modifier::I, Dir, 0, Dir, 7999);
  const CoreCell before = s.At(7999);
  s.Core().Standard = 0;
  edit(0, [&](TFormEditCore& e) {
    QCOMPARE(Join(e.windowTitle(), e.MemoCore->toPlainText()),
             QString("Edit Core at location 7999|MOV    $0,  $-1"));
    for (const char* text : {"", "; nothing here\n;name nobody", "XYZ 1, 2"}) {
      e.MemoCore->setPlainText(text);
      QTest::mouseClick(e.ButtonOK, Qt::LeftButton);
      QCOMPARE(Join(s.platform.Messages.back(), e.isVisible(), e.MemoCore->toPlainText()),
               Join("Source code failed to compile.", true, text));
    }
    QTest::mouseClick(e.ButtonCancel, Qt::LeftButton);
  });
  QVERIFY(!s.app.FormEditCore->isVisible() && SameInstruction(s.At(7999), before));
  s.Core().Standard = 2;
  // The warrior editor's round trip: Cancel there keeps the text, OK brings it back. Three
  // lines from 7999 on then wrap past the core's end, each cell keeping its marks, by a
  // scratch warrior of its own.
  for (int32_t a : {7998, 0, 1, 2})
    s.At(a) = MakeCell(Opcode::DAT, Modifier::F, Imm, 0, Imm, 0);
  s.At(7999).Marker = 0x21;
  s.At(0).Marker = 0x52;
  for (const int line : {0, 2, 2})
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->ListingPoint(line, 1));
  const std::string battleWarrior = s.Warrior(1).Name;
  QString offered;
  const char* code = "ADD.AB #4, $3\nMOV.I $-2, @-2\nJMP $-2, #0";
  edit(0, [&](TFormEditCore& e) {
    e.MemoCore->setPlainText("JMP $0");
    for (const bool ok : {false, true}) {
      InModal<TFormEditCode>([&, ok](TFormEditCode& c) {
        offered = Join(c.EditName->text(), c.MemoSource->toPlainText());
        c.MemoSource->setPlainText(ok ? code : "this is thrown away");
        QTest::mouseClick(ok ? c.ButtonOK : c.ButtonCancel, Qt::LeftButton);
      });
      QTest::mouseClick(e.ButtonSource, Qt::LeftButton);
      QCOMPARE(Join(offered, e.MemoCore->toPlainText()),
               Join("Core Contents at 7999", "JMP $0", ok ? code : "JMP $0"));
    }
    QTest::mouseClick(e.ButtonOK, Qt::LeftButton);
  });
  QVERIFY(!s.app.FormEditCore->isVisible() && s.app.FormEditCore->result() == QDialog::Accepted);
  QVERIFY(SameInstruction(s.At(7999), MakeCell(Opcode::ADD, Modifier::AB, Imm, 4, Dir, 3)));
  QVERIFY(SameInstruction(
      s.At(0), MakeCell(Opcode::MOV, Modifier::I, Dir, 7998, AddressMode::BIndirect, 7998)));
  QVERIFY(SameInstruction(s.At(1), MakeCell(Opcode::JMP, Modifier::B, Dir, 7998, Imm, 0)));
  QVERIFY(SameInstruction(s.At(7998), s.At(2)) &&
          s.At(2).OpcodeModifier == s.At(7998).OpcodeModifier);
  QCOMPARE(Join(s.At(7999).BreakpointType, s.At(7999).Marker, s.At(0).Marker,
                s.At(1).BreakpointType, s.Core().BreakpointAddresses, s.Core().Warriors[0]->Name,
                s.Warrior(1).Name),
           Join(1, 0x21, 0x52, 2, "7999,1", "Core Contents at 7999", battleWarrior));
  // A negative field is stored within the core.
  edit(1, [](TFormEditCore& e) {
    e.MemoCore->setPlainText("DAT #-1, #0");
    QTest::mouseClick(e.ButtonOK, Qt::LeftButton);
  });
  QCOMPARE(Join(s.At(0).AField, s.At(0).BField), QString("7999|0"));

  // The location dialog takes numbers as typed; anything else is refused.
  TFormInput& input = *s.app.FormInput;
  for (const auto& [typed, accepted, value] :
       {std::tuple{"-1", true, -1}, {"8005", true, 8005}, {"here", false, 77}, {"", false, 77}}) {
    input.Value = 77;
    input.show();
    QCOMPARE(Join(input.windowTitle(), input.EditLocation->selectedText()), QString("Location|77"));
    QTest::keyClicks(input.EditLocation, typed);
    if (!*typed) QTest::keyClick(input.EditLocation, Qt::Key_Backspace);
    QTest::mouseClick(input.ButtonOK, Qt::LeftButton);
    QCOMPARE(Join(input.isVisible(), input.Value), Join(!accepted, value));
    if (accepted) continue;
    QCOMPARE(Join(s.platform.Messages.back(), input.EditLocation->text()),
             QString("Location must be a number|77"));
    QTest::mouseClick(input.ButtonCancel, Qt::LeftButton);
  }
}

void DebuggerTest::processesEditor() {
  TSession s;
  TFormView* view = s.OpenView();
  TWarrior &imp = s.Warrior(1), &dwarf = s.Warrior(2);
  const auto shown = [](TFormExPts& e) {
    return Join(e.LabelNumProcesses->text(), e.ListBoxExPts->count());
  };
  // The view's button opens it modally on the first warrior's processes.
  InModal<TFormExPts>([&](TFormExPts& e) {
    QCOMPARE(Join(e.windowTitle(), test::Items(e.ComboBoxWarrior),
                  e.ComboBoxWarrior->currentIndex(), shown(e), e.SelectedLine(),
                  e.ListBoxExPts->item(0)->text()),
             Join("Processes", "Velmora Imp,Velmora Dwarf", 0, "1 process|1", 0,
                  FormatLine(s.Core(), s.Core().QueueEntry(imp, 0))));
    // The dwarf chosen; deleting its process kills it, adding one revives it in its own
    // place, clear of the imp's; a full queue refuses another.
    e.ComboBoxWarrior->setFocus();
    QTest::keyClick(e.ComboBoxWarrior, Qt::Key_Down);
    QTest::mouseClick(e.ButtonDelete, Qt::LeftButton);
    QCOMPARE(Join(shown(e), dwarf.Alive, s.Core().AliveCount, e.ButtonDelete->isEnabled()),
             QString("0 processes|0|n|1|n"));
    std::vector<int> offered;
    AnswerLocation(4000, &offered);
    QTest::mouseClick(e.ButtonAdd, Qt::LeftButton);
    QCOMPARE(Join(offered, shown(e), dwarf.Alive, s.Core().AliveCount,
                  e.ListBoxExPts->item(0)->text(), dwarf.QueueHead - imp.QueueHead),
             Join(0, "1 process|1", true, 2, FormatLine(s.Core(), 4000),
                  (s.Core().MaxProcesses + 1) * 4));
    s.Core().MaxProcesses = 1;
    QTest::mouseClick(e.ButtonAdd, Qt::LeftButton);
    QCOMPARE(Join(s.platform.Messages, offered.size()), QString("Process queue full|1"));
    QTest::mouseClick(e.ButtonOK, Qt::LeftButton); // "Close and Move"
  });
  QTest::mouseClick(view->ButtonExPts, Qt::LeftButton);
  QCOMPARE(Join(s.app.SelectedLocation, Top(view), s.app.FormExPts->result() == QDialog::Accepted),
           QString("4000|4000|4000|4000|y"));

  // Every button on a queue of four, one not and one running across the end of its ring:
  // what is listed and selected, where the location dialog opened, and the queue.
  // clang-format off
  const struct { const char* Action; int Line, Answer; const char* Listed; int Selected, Offered; } rows[] = {
      {"roll", 2, 0, "30 40 10 20", 0, -1}, {"roll", 3, 0, "40 10 20 30", 0, -1},
      {"up", 2, 0, "10 30 20 40", 1, -1}, {"down", 0, 0, "20 10 30 40", 1, -1},
      {"down", -1, 0, "10 20 30 40", -1, -1}, {"edit", 1, -1, "10 7999 30 40", 1, 20},
      {"edit", 1, kCancel, "10 20 30 40", 1, 20}, {"add", 1, 55, "10 20 55 30 40", 1, 20},
      {"add", -1, 8005, "5 10 20 30 40", 0, 0}, {"add", 0, kCancel, "10 20 30 40", 0, 10},
      {"delete", 1, 0, "10 30 40", 1, -1}, {"delete", 3, 0, "10 20 30", 2, -1}};
  // clang-format on
  for (const bool wraps : {false, true})
    for (const auto& r : rows) {
      TSession q;
      TFormExPts& e = *q.app.FormExPts;
      TWarrior& w = q.Warrior(1);
      const int32_t head = wraps ? q.Core().QueueBlockSize - 8 : 0; // the last two slots first
      w.QueueHead = w.QueueTail = head;
      for (int32_t a : {10, 20, 30, 40})
        q.Core().QueueAppend(w, a);
      w.ProcessCount = 4;
      e.show();
      if (r.Line >= 0)
        QTest::mouseClick(e.ListBoxExPts->viewport(), Qt::LeftButton, {},
                          e.ListBoxExPts->visualItemRect(e.ListBoxExPts->item(r.Line)).center());
      else
        e.ListBoxExPts->clearSelection();
      std::vector<int> offered;
      if (r.Offered >= 0) AnswerLocation(r.Answer, &offered);
      QSignalSpy refreshed(&q.form, &TMardexForm::ViewsRefreshRequested);
      const std::map<QString, QPushButton*> buttons = {
          {"roll", e.ButtonRollToTop}, {"up", e.ButtonMoveUp}, {"down", e.ButtonMoveDown},
          {"edit", e.ButtonEdit},      {"add", e.ButtonAdd},   {"delete", e.ButtonDelete}};
      QVERIFY(buttons.at(r.Action)->isEnabled());
      QTest::mouseClick(buttons.at(r.Action), Qt::LeftButton);
      QStringList listed;
      for (int i = 0; i < e.ListBoxExPts->count(); ++i)
        listed << e.ListBoxExPts->item(i)->text().section(' ', 0, 0, QString::SectionSkipEmpty);
      const int count = int(listed.size());
      QCOMPARE(Join(listed.join(' '), e.SelectedLine(), offered.empty() ? -1 : offered.front(),
                    w.ProcessCount, e.LabelNumProcesses->text(), w.QueueHead, w.QueueTail,
                    refreshed.count() > 0),
               Join(r.Listed, r.Selected, r.Offered, count, QString("%1 processes").arg(count),
                    head, (head + 4 * count) % q.Core().QueueBlockSize,
                    QString(r.Listed) != "10 20 30 40"));
    }
}

void DebuggerTest::pspaceWindow() {
  TSession s;
  TWarrior &imp = s.Warrior(1), &dwarf = s.Warrior(2);
  QTest::mouseClick(s.form.ButtonViewPSpace, Qt::LeftButton);
  TFormPSpace& view = *s.app.FormPSpace;
  const auto lines = [&view](int from, int to) {
    return view.RichEditView->Lines().mid(from, to - from).join('|');
  };
  // Double-clicks line i; the editor shows, records what it shows, gets these texts and OK
  // (and when refused, records what it shows then, and Cancel).
  const auto edit = [&](int i, const QString& value, const QString& fill, QString* seen) {
    InModal<TFormEditPSpace>([=](TFormEditPSpace& e) {
      *seen = e.EditPSpace->text();
      e.EditPSpace->setText(value);
      e.EditFillNext->setText(fill);
      QTest::mouseClick(e.ButtonOK, Qt::LeftButton);
      if (!e.isVisible()) return;
      *seen += Join("", e.EditPSpace->text(), e.EditFillNext->text());
      QTest::mouseClick(e.ButtonCancel, Qt::LeftButton);
    });
    const int h = view.RichEditView->LineHeight();
    QTest::mouseDClick(view.RichEditView, Qt::LeftButton, {}, QPoint(20, i * h + h / 2));
  };
  // Location 0 shows the last result.
  QVERIFY(view.isVisible() && view.LineCount() >= 3 &&
          view.RichEditView->Lines().size() == view.LineCount());
  QCOMPARE(
      Join(view.windowTitle(), test::Items(view.ComboBoxWarrior), imp.LastResult, lines(0, 2),
           view.EditLocation->text()),
      QString("P-space View|Velmora Imp,Velmora Dwarf|7999|       0      -1|       1       0|0"));
  // Bad values in the editor are refused with the valid ones back.
  // clang-format off
  const struct { const char *Value, *Fill, *Message, *Seen; } bad[] = {
      {"five", "2", "PSpace value must be a number", "-1|7999|2"},
      {"3", "0", "Fill Next value must be a positive number", "-1|3|1"},
      {"3", "x", "Fill Next value must be a positive number", "-1|3|1"}};
  // clang-format on
  QString seen;
  for (const auto& b : bad) {
    edit(0, b.Value, b.Fill, &seen);
    QCOMPARE(Join(seen, s.platform.Messages.back(), imp.LastResult, (*imp.PSpace)[0]),
             Join(b.Seen, b.Message, 7999, 0));
  }
  // Editing location 0 sets the last result and cell 0; -1 is stored as 7999; a fill wraps
  // from the last location to 0.
  edit(0, "5", "1", &seen);
  QCOMPARE(Join(s.app.SelectedLocation, imp.LastResult, (*imp.PSpace)[0], (*imp.PSpace)[1],
                lines(0, 1), dwarf.LastResult),
           QString("0|5|5|0|       0       5|7999"));
  edit(2, "-1", "1", &seen);
  QCOMPARE(Join((*imp.PSpace)[2], lines(2, 3)), QString("7999|       2      -1"));
  QTest::mouseClick(view.SpinButtonSmallUp, Qt::LeftButton);
  QCOMPARE(Join(view.TopLocation(), lines(1, 2)), QString("499|       0       5"));
  edit(0, "9", "3", &seen);
  const TPSpace& block = *imp.PSpace;
  QCOMPARE(Join(seen, s.app.SelectedLocation, block[498], block[499], block[0], block[1], block[2],
                imp.LastResult, lines(0, 1), lines(3, 4)),
           QString("0|499|0|9|9|9|7999|9|     499       9|       2      -1"));
  // Navigation by the arrows and the location box, past either end of the block.
  const int n = view.LineCount();
  // clang-format off
  const struct { QToolButton* Button; const char* Typed; int Start, Top; } moves[] = {
      {view.SpinButtonSmallDown, "", 499, 0}, {view.SpinButtonSmallUp, "", 0, 499},
      {view.SpinButtonLargeDown, "", 0, n % 500}, {view.SpinButtonLargeUp, "", 0, (500 - n % 500) % 500},
      {nullptr, "-1", 0, 499}, {nullptr, "505", 0, 5}, {nullptr, "17", 0, 17}};
  // clang-format on
  for (const auto& m : moves) {
    test::TypeAndEnter(view.EditLocation, QString::number(m.Start));
    QCOMPARE(view.TopLocation(), m.Start);
    m.Button ? QTest::mouseClick(m.Button, Qt::LeftButton)
             : test::TypeAndEnter(view.EditLocation, m.Typed);
    QCOMPARE(Join(view.TopLocation(), view.EditLocation->text()), Join(m.Top, m.Top));
    QVERIFY(lines(0, 1).startsWith(QString("%1 ").arg(m.Top, 8)));
  }
  const QStringList before = view.RichEditView->Lines();
  test::TypeAndEnter(view.EditLocation, "abc");
  QCOMPARE(Join(s.platform.Messages.back(), s.platform.Messages.size(), view.TopLocation(),
                view.RichEditView->Lines() == before, view.EditLocation->text()),
           QString("'abc' is not a valid integer value|4|17|y|17"));
  // The window redraws with the main window's views while it shows: after a single step.
  test::TypeAndEnter(view.EditLocation, "0");
  for (const auto& [value, close, line] :
       {std::tuple{42, false, "       1      42"}, {43, true, "       1      42"}}) {
    (*imp.PSpace)[1] = value;
    if (close) QTest::mouseClick(view.ButtonCoreviewClose, Qt::LeftButton);
    QTest::mouseClick(s.form.ButtonSingleStep, Qt::LeftButton);
    QCOMPARE(Join(view.isVisible(), lines(1, 2)), Join(!close, line));
  }
  QTest::mouseClick(s.form.ButtonViewPSpace, Qt::LeftButton);
  QCOMPARE(lines(1, 2), QString("       1      43"));
}

QTEST_MAIN(DebuggerTest)
#include "debugger_test.moc"
