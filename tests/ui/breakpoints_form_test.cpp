// The breakpoint list and the breakpoint editor: the sorted list with its fired marks,
// New, Edit, Clear, Clear All and Close and Move; the editor's field checks, the types its
// settings give, and EditBreakpointAt filling consecutive cells.

#include <QtTest>

#include "tests/ui/support/debugger_session.h"
#include "tests/ui/support/debugger_support.h"
#include "ui/breakpoints_form.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/input_form.h"

using namespace velmora;
using test::TDebugSession;

namespace {

// Answers the breakpoint editor, when it opens, with these boxes ticked ("EWICRTM") and
// these texts; records the caption it showed.
void AnswerEditor(const QString& ticked, const QString& frequency, const QString& fill,
                  QString* caption = nullptr, const QString& test = "") {
  test::WhenModal([=](QWidget* modal) {
    auto* editor = qobject_cast<TFormEditBreakpoint*>(modal);
    if (!editor) {
      modal->close();
      return;
    }
    if (caption) *caption = editor->windowTitle();
    QCheckBox* boxes[] = {editor->CheckBoxExecute, editor->CheckBoxWrite, editor->CheckBoxIncDec,
                          editor->CheckBoxCompare, editor->CheckBoxRead,  editor->CheckBoxTest,
                          editor->CheckBoxMovable};
    for (int i = 0; i < 7; ++i)
      boxes[i]->setChecked(ticked[i] != '.');
    editor->EditFrequency->setText(frequency);
    editor->EditFillNext->setText(fill);
    editor->EditOperandTest->setText(test);
    editor->ButtonOK->click();
  });
}

void Register(TCore& core, int32_t address, uint8_t type, int32_t counter) {
  core.Core[static_cast<size_t>(address)].BreakpointType = type;
  core.AddBreakpoint(address);
  core.BreakpointCounters.back() = counter;
}

} // namespace

class BreakpointsFormTest : public QObject {
  Q_OBJECT
private slots:
  void listIsSortedAndMarksFiredLines();
  void clearSelectsTheSameLineOrTheOneBefore();
  void clearAllEmptiesEverything();
  void newAsksForALocationFirst();
  void editKeepsTheLineSelected();
  void closeAndMoveListsTheViewFromTheSelection();
  void plainExecuteSettingsUseThePredefinedTypes_data();
  void plainExecuteSettingsUseThePredefinedTypes();
  void twoEditsDefineTwoTypes();
  void fillNextWrapsAtTheCoreEnd();
  void editorShowsTheTypesSettings();
  void editorRefusesBadFields_data();
  void editorRefusesBadFields();
  void cancelChangesNothing();
};

void BreakpointsFormTest::listIsSortedAndMarksFiredLines() {
  TDebugSession s;
  s.At(300) = MakeCell(Opcode::JMP, Modifier::B, AddressMode::Direct, 7990, AddressMode::Direct, 0);
  Register(s.Core(), 300, 1, 0);
  Register(s.Core(), 7, 2, 1);
  Register(s.Core(), 5000, 3, 2);
  s.Core().HitList = {300};
  TFormBreakpoints& list = *s.app.FormBreakpoints;
  list.show();
  QCOMPARE(list.windowTitle(), QString("Breakpoints"));
  QCOMPARE(list.ListedAddresses(), (std::vector<int32_t>{7, 300, 5000}));
  QCOMPARE(s.Core().BreakpointCounters, (std::vector<int32_t>{1, 0, 2}));
  QCOMPARE(list.LabelNumBPs->text(), QString("Total: 3"));
  QCOMPARE(list.ListBoxBreakpoints->currentRow(), 0);
  QCOMPARE(list.ListBoxBreakpoints->item(1)->text(),
           QString("*    300   1 JMP.B  $    -10,  $      0"));
  QVERIFY(list.ListBoxBreakpoints->item(0)->text().startsWith("       7   2 "));
  QVERIFY(list.ButtonEdit->isEnabled());
  QVERIFY(list.ButtonClear->isEnabled());
  list.ButtonCancel->click();
  QCOMPARE(list.result(), int(QDialog::Rejected));
}

void BreakpointsFormTest::clearSelectsTheSameLineOrTheOneBefore() {
  TDebugSession s;
  for (int32_t a : {10, 20, 30, 40})
    Register(s.Core(), a, 1, 0);
  TFormBreakpoints& list = *s.app.FormBreakpoints;
  list.show();
  list.ListBoxBreakpoints->setCurrentRow(1);
  list.ButtonClear->click();
  QCOMPARE(list.ListedAddresses(), (std::vector<int32_t>{10, 30, 40}));
  QCOMPARE(s.At(20).BreakpointType, uint8_t{0});
  QCOMPARE(list.ListBoxBreakpoints->currentRow(), 1);
  list.ListBoxBreakpoints->setCurrentRow(2);
  list.ButtonClear->click();
  QCOMPARE(list.ListedAddresses(), (std::vector<int32_t>{10, 30}));
  QCOMPARE(list.ListBoxBreakpoints->currentRow(), 1);
  QCOMPARE(list.LabelNumBPs->text(), QString("Total: 2"));
  QCOMPARE(s.Core().BreakpointAddresses, (std::vector<int32_t>{10, 30}));
  list.close();
}

void BreakpointsFormTest::clearAllEmptiesEverything() {
  TDebugSession s;
  for (int32_t a : {10, 7999})
    Register(s.Core(), a, 1, 0);
  s.At(55).BreakpointType = 2; // a cell whose address was never registered
  TFormView* view = s.OpenView();
  TDebugSession::MoveView(view, 7999);
  QCOMPARE(view->Lines()[0].Glyph, BreakpointGlyph::Square);
  TFormBreakpoints& list = *s.app.FormBreakpoints;
  list.show();
  list.ButtonClearAll->click();
  QCOMPARE(list.LabelNumBPs->text(), QString("Total: 0"));
  QCOMPARE(list.ListBoxBreakpoints->count(), 0);
  QVERIFY(!list.ButtonEdit->isEnabled());
  QVERIFY(!list.ButtonClear->isEnabled());
  QVERIFY(s.Core().BreakpointAddresses.empty());
  QVERIFY(s.Core().BreakpointCounters.empty());
  for (int32_t a : {10, 55, 7999})
    QCOMPARE(s.At(a).BreakpointType, uint8_t{0});
  QCOMPARE(view->Lines()[0].Glyph, BreakpointGlyph::None);
  list.close();
}

void BreakpointsFormTest::newAsksForALocationFirst() {
  TDebugSession s;
  TFormBreakpoints& list = *s.app.FormBreakpoints;
  list.show();
  QVERIFY(!list.ButtonEdit->isEnabled());
  QString offered, caption;
  test::WhenModal([&](QWidget* modal) {
    auto* input = qobject_cast<TFormInput*>(modal);
    if (!input) {
      modal->close();
      return;
    }
    offered = input->EditLocation->text();
    input->EditLocation->setText("-2");
    AnswerEditor("E......", "1", "1", &caption);
    input->ButtonOK->click();
  });
  list.ButtonNew->click();
  QCOMPARE(offered, QString("0"));
  QCOMPARE(caption, QString("Edit Breakpoint at 7998"));
  QCOMPARE(s.At(7998).BreakpointType, uint8_t{1});
  QCOMPARE(list.ListedAddresses(), std::vector<int32_t>{7998});
  QCOMPARE(list.LabelNumBPs->text(), QString("Total: 1"));
  list.close();
}

void BreakpointsFormTest::editKeepsTheLineSelected() {
  TDebugSession s;
  for (int32_t a : {10, 20, 30})
    Register(s.Core(), a, 1, 0);
  TFormBreakpoints& list = *s.app.FormBreakpoints;
  list.show();
  list.ListBoxBreakpoints->setCurrentRow(1);
  QString caption;
  AnswerEditor(".W.....", "1", "1", &caption);
  list.ButtonEdit->click();
  QCOMPARE(caption, QString("Edit Breakpoint at 20"));
  QCOMPARE(s.At(20).BreakpointType, uint8_t{3});
  QCOMPARE(list.ListBoxBreakpoints->currentRow(), 1);
  QVERIFY(list.ListBoxBreakpoints->item(1)->text().startsWith("      20   3 "));
  list.close();
}

void BreakpointsFormTest::closeAndMoveListsTheViewFromTheSelection() {
  TDebugSession s;
  for (int32_t a : {1234, 4321})
    Register(s.Core(), a, 1, 0);
  TFormView* view = s.OpenView();
  test::WhenModal([](QWidget* modal) {
    auto* list = qobject_cast<TFormBreakpoints*>(modal);
    if (list) list->ListBoxBreakpoints->setCurrentRow(1);
    list ? list->ButtonOK->click() : void(modal->close());
  });
  view->ButtonBreakpoints->click();
  QCOMPARE(s.app.SelectedLocation, 4321);
  QCOMPARE(view->TopLocation(), 4321);
  QCOMPARE(view->Lines()[0].Glyph, BreakpointGlyph::Square);
  // "Close" leaves the view where it was.
  test::WhenModal([](QWidget* modal) {
    auto* list = qobject_cast<TFormBreakpoints*>(modal);
    list ? list->ButtonCancel->click() : void(modal->close());
  });
  TDebugSession::MoveView(view, 3);
  view->ButtonBreakpoints->click();
  QCOMPARE(view->TopLocation(), 3);
}

void BreakpointsFormTest::plainExecuteSettingsUseThePredefinedTypes_data() {
  QTest::addColumn<QString>("ticked");
  QTest::addColumn<int>("type");
  QTest::newRow("execute") << "E......" << 1;
  QTest::newRow("execute, movable") << "E.....M" << 2;
  QTest::newRow("nothing removes") << "......." << 0;
}

void BreakpointsFormTest::plainExecuteSettingsUseThePredefinedTypes() {
  QFETCH(QString, ticked);
  QFETCH(int, type);
  TDebugSession s;
  Register(s.Core(), 600, 1, 4);
  AnswerEditor(ticked, "1", "1");
  s.form.EditBreakpointAt(600, 1);
  QCOMPARE(int(s.At(600).BreakpointType), type);
  QCOMPARE(s.Core().BreakpointTypeCount, 3);
  if (type == 0) {
    QVERIFY(s.Core().BreakpointAddresses.empty());
  } else {
    QCOMPARE(s.Core().BreakpointAddresses, std::vector<int32_t>{600});
    QCOMPARE(s.Core().BreakpointCounters, std::vector<int32_t>{0});
  }
}

void BreakpointsFormTest::twoEditsDefineTwoTypes() {
  TDebugSession s;
  QCOMPARE(s.Core().BreakpointTypeCount, 3);
  AnswerEditor(".W..R..", "2", "1");
  s.form.EditBreakpointAt(10, 0);
  AnswerEditor(".W..R..", "2", "1");
  s.form.EditBreakpointAt(11, 0);
  QCOMPARE(s.At(10).BreakpointType, uint8_t{3});
  QCOMPARE(s.At(11).BreakpointType, uint8_t{4});
  QCOMPARE(s.Core().BreakpointTypeCount, 5);
  for (size_t t : {3, 4}) {
    QVERIFY(s.Core().BreakpointTypes[t].Write && s.Core().BreakpointTypes[t].Read);
    QVERIFY(!s.Core().BreakpointTypes[t].Execute);
    QCOMPARE(s.Core().BreakpointTypes[t].Frequency, 2);
  }
}

void BreakpointsFormTest::fillNextWrapsAtTheCoreEnd() {
  TDebugSession s;
  AnswerEditor("E......", "1", "5");
  s.form.EditBreakpointAt(7998, 0);
  for (int32_t a : {7998, 7999, 0, 1, 2})
    QCOMPARE(s.At(a).BreakpointType, uint8_t{1});
  QCOMPARE(s.At(3).BreakpointType, uint8_t{0});
  QCOMPARE(s.At(7997).BreakpointType, uint8_t{0});
  QCOMPARE(s.Core().BreakpointAddresses, (std::vector<int32_t>{7998, 7999, 0, 1, 2}));
}

void BreakpointsFormTest::editorShowsTheTypesSettings() {
  TDebugSession s;
  TBreakpointRec& rec = s.Core().BreakpointTypes[3];
  rec = TBreakpointRec{};
  rec.IncDec = true;
  rec.Test = true;
  rec.Frequency = 4;
  rec.TestExpression = "B==0";
  s.Core().BreakpointTypeCount = 4;
  TFormEditBreakpoint& editor = *s.app.FormEditBreakpoint;
  editor.Prepare(42, 3);
  QCOMPARE(editor.windowTitle(), QString("Edit Breakpoint at 42"));
  QVERIFY(editor.CheckBoxIncDec->isChecked() && editor.CheckBoxTest->isChecked());
  QVERIFY(!editor.CheckBoxExecute->isChecked() && !editor.CheckBoxMovable->isChecked());
  QCOMPARE(editor.EditFrequency->text(), QString("4"));
  QCOMPARE(editor.EditOperandTest->text(), QString("B==0"));
  QCOMPARE(editor.EditFillNext->text(), QString("1"));
  QVERIFY(editor.EditOperandTest->isEnabled());
  editor.CheckBoxTest->setChecked(false);
  QVERIFY(!editor.EditOperandTest->isEnabled());
  editor.Prepare(42, 2);
  QVERIFY(editor.CheckBoxExecute->isChecked() && editor.CheckBoxMovable->isChecked());
  QVERIFY(!editor.EditOperandTest->isEnabled());
}

void BreakpointsFormTest::editorRefusesBadFields_data() {
  QTest::addColumn<QString>("ticked");
  QTest::addColumn<QString>("frequency");
  QTest::addColumn<QString>("fill");
  QTest::addColumn<QString>("test");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("frequencyAfter");
  QTest::addColumn<QString>("fillAfter");
  QTest::newRow("frequency not a number") << "E......"
                                          << "often"
                                          << "1"
                                          << ""
                                          << "Frequency must be a number"
                                          << "3"
                                          << "1";
  QTest::newRow("negative frequency") << "E......"
                                      << "-1"
                                      << "1"
                                      << ""
                                      << "Frequency must be at least 0"
                                      << "3"
                                      << "1";
  QTest::newRow("fill 0") << "E......"
                          << "1"
                          << "0"
                          << ""
                          << "Fill Next value must be a positive number"
                          << "1"
                          << "1";
  QTest::newRow("fill not a number") << "E......"
                                     << "1"
                                     << "five"
                                     << ""
                                     << "Fill Next value must be a positive number"
                                     << "1"
                                     << "1";
  QTest::newRow("blank test") << ".....T."
                              << "1"
                              << "1"
                              << ""
                              << "Operand test expression cannot be blank"
                              << "1"
                              << "1";
  QTest::newRow("bad test") << ".....T."
                            << "1"
                            << "1"
                            << "B=="
                            << "Error evaluating operand test expression: "
                            << "1"
                            << "1";
}

void BreakpointsFormTest::editorRefusesBadFields() {
  QFETCH(QString, ticked);
  QFETCH(QString, frequency);
  QFETCH(QString, fill);
  QFETCH(QString, test);
  QFETCH(QString, message);
  QFETCH(QString, frequencyAfter);
  QFETCH(QString, fillAfter);
  TDebugSession s;
  s.Core().BreakpointTypes[3] = TBreakpointRec{};
  s.Core().BreakpointTypes[3].Read = true;
  s.Core().BreakpointTypes[3].Frequency = 3;
  s.Core().BreakpointTypeCount = 4;
  TFormEditBreakpoint& editor = *s.app.FormEditBreakpoint;
  editor.Prepare(42, 3);
  editor.show();
  QCheckBox* boxes[] = {editor.CheckBoxExecute, editor.CheckBoxWrite, editor.CheckBoxIncDec,
                        editor.CheckBoxCompare, editor.CheckBoxRead,  editor.CheckBoxTest,
                        editor.CheckBoxMovable};
  for (int i = 0; i < 7; ++i)
    boxes[i]->setChecked(ticked[i] != '.');
  editor.EditFrequency->setText(frequency);
  editor.EditFillNext->setText(fill);
  editor.EditOperandTest->setText(test);
  editor.ButtonOK->click();
  QVERIFY(editor.isVisible());
  QVERIFY(QString::fromStdString(s.platform.Messages.back()).startsWith(message));
  QVERIFY(s.platform.Messages.back().size() > size_t(message.size()) || !message.endsWith(": "));
  QCOMPARE(editor.EditFrequency->text(), frequencyAfter);
  QCOMPARE(editor.EditFillNext->text(), fillAfter);
  QCOMPARE(s.Core().BreakpointTypeCount, 4);
  editor.ButtonCancel->click();
}

void BreakpointsFormTest::cancelChangesNothing() {
  TDebugSession s;
  Register(s.Core(), 70, 1, 0);
  test::WhenModal([](QWidget* modal) {
    auto* editor = qobject_cast<TFormEditBreakpoint*>(modal);
    if (editor) editor->CheckBoxExecute->setChecked(false);
    editor ? editor->ButtonCancel->click() : void(modal->close());
  });
  s.form.EditBreakpointAt(70, 1);
  QCOMPARE(s.At(70).BreakpointType, uint8_t{1});
  QCOMPARE(s.Core().BreakpointAddresses, std::vector<int32_t>{70});
}

QTEST_MAIN(BreakpointsFormTest)
#include "breakpoints_form_test.moc"
