// The cell editor and the location dialog: the cell's instruction offered for editing,
// typed Redcode assembled into the core from the location on (wrapping, each cell keeping
// its breakpoint and marker), text that does not compile, the warrior editor's round trip,
// and locations that are or are not numbers.

#include <QtTest>

#include "tests/ui/support/debugger_session.h"
#include "tests/ui/support/debugger_support.h"
#include "ui/edit_code_form.h"
#include "ui/edit_core_form.h"
#include "ui/input_form.h"

using namespace velmora;
using test::TDebugSession;

class EditCoreFormTest : public QObject {
  Q_OBJECT
private slots:
  void offersTheCellsInstruction();
  void threeLinesWrapPastTheCoreEnd();
  void negativeFieldsAreStoredWithinTheCore();
  void textThatDoesNotCompileChangesNothing_data();
  void textThatDoesNotCompileChangesNothing();
  void warriorEditorRoundTrip();
  void locationDialog_data();
  void locationDialog();
};

void EditCoreFormTest::offersTheCellsInstruction() {
  TDebugSession s;
  s.At(7999) =
      MakeCell(Opcode::MOV, Modifier::I, AddressMode::Direct, 0, AddressMode::Direct, 7999);
  s.app.SelectedLocation = 7999;
  TFormEditCore& editor = *s.app.FormEditCore;
  editor.Prepare();
  QCOMPARE(editor.windowTitle(), QString("Edit Core at location 7999"));
  QCOMPARE(editor.MemoCore->toPlainText(), QString("MOV.I  $0,  $-1"));
  s.Core().Standard = 0;
  editor.Prepare();
  QCOMPARE(editor.MemoCore->toPlainText(), QString("MOV    $0,  $-1"));
}

void EditCoreFormTest::threeLinesWrapPastTheCoreEnd() {
  TDebugSession s;
  const std::string scratchName = s.Core().Warriors[1]->Name;
  for (int32_t a : {7998, 7999, 0, 1, 2})
    s.At(a) =
        MakeCell(Opcode::DAT, Modifier::F, AddressMode::Immediate, 0, AddressMode::Immediate, 0);
  s.At(7999).BreakpointType = 1;
  s.At(7999).Marker = 0x21;
  s.At(0).Marker = 0x52;
  s.At(1).BreakpointType = 2;
  s.Core().AddBreakpoint(7999);
  s.Core().AddBreakpoint(1);
  s.app.SelectedLocation = 7999;
  TFormEditCore& editor = *s.app.FormEditCore;
  editor.show();
  editor.MemoCore->setPlainText("ADD.AB #4, $3\nMOV.I $-2, @-2\nJMP $-2, #0");
  editor.ButtonOK->click();
  QVERIFY(!editor.isVisible());
  QCOMPARE(editor.result(), int(QDialog::Accepted));
  QVERIFY(SameInstruction(s.At(7999), MakeCell(Opcode::ADD, Modifier::AB, AddressMode::Immediate, 4,
                                               AddressMode::Direct, 3)));
  QVERIFY(SameInstruction(s.At(0), MakeCell(Opcode::MOV, Modifier::I, AddressMode::Direct, 7998,
                                            AddressMode::BIndirect, 7998)));
  QVERIFY(SameInstruction(s.At(1), MakeCell(Opcode::JMP, Modifier::B, AddressMode::Direct, 7998,
                                            AddressMode::Immediate, 0)));
  QCOMPARE(s.At(7999).BreakpointType, uint8_t{1});
  QCOMPARE(s.At(7999).Marker, uint8_t{0x21});
  QCOMPARE(s.At(0).Marker, uint8_t{0x52});
  QCOMPARE(s.At(1).BreakpointType, uint8_t{2});
  QCOMPARE(s.Core().BreakpointAddresses, (std::vector<int32_t>{7999, 1}));
  QCOMPARE(s.At(7998).OpcodeModifier,
           MakeCell(Opcode::DAT, Modifier::F, AddressMode::Immediate, 0, AddressMode::Immediate, 0)
               .OpcodeModifier);
  QCOMPARE(s.At(2).OpcodeModifier, s.At(7998).OpcodeModifier);
  // The scratch warrior did the work; the battle's warriors are untouched.
  QCOMPARE(s.Core().Warriors[0]->Name, std::string("Core Contents at 7999"));
  QCOMPARE(s.Core().Warriors[1]->Name, scratchName);
}

void EditCoreFormTest::negativeFieldsAreStoredWithinTheCore() {
  TDebugSession s;
  s.app.SelectedLocation = 300;
  TFormEditCore& editor = *s.app.FormEditCore;
  editor.show();
  editor.MemoCore->setPlainText("DAT #-1, #0");
  editor.ButtonOKClick();
  QCOMPARE(s.At(300).AField, 7999);
  QCOMPARE(s.At(300).BField, 0);
}

void EditCoreFormTest::textThatDoesNotCompileChangesNothing_data() {
  QTest::addColumn<QString>("text");
  QTest::newRow("empty") << "";
  QTest::newRow("comments only") << "; nothing here\n;name nobody";
  QTest::newRow("bad opcode") << "XYZ 1, 2";
}

void EditCoreFormTest::textThatDoesNotCompileChangesNothing() {
  QFETCH(QString, text);
  TDebugSession s;
  s.At(50) = MakeCell(Opcode::SPL, Modifier::B, AddressMode::Direct, 2, AddressMode::Direct, 0);
  const CoreCell before = s.At(50);
  s.app.SelectedLocation = 50;
  TFormEditCore& editor = *s.app.FormEditCore;
  editor.show();
  editor.MemoCore->setPlainText(text);
  editor.ButtonOK->click();
  QCOMPARE(s.platform.Messages.back(), std::string("Source code failed to compile."));
  QVERIFY(editor.isVisible());
  QVERIFY(SameInstruction(s.At(50), before));
  QCOMPARE(editor.MemoCore->toPlainText(), text);
  editor.ButtonCancel->click();
  QVERIFY(!editor.isVisible());
}

void EditCoreFormTest::warriorEditorRoundTrip() {
  TDebugSession s;
  s.app.SelectedLocation = 12;
  TFormEditCore& editor = *s.app.FormEditCore;
  editor.show();
  editor.MemoCore->setPlainText("JMP $0");
  QString offeredName, offeredSource;
  // Cancel in the warrior editor keeps the text.
  test::WhenModal([&](QWidget* modal) {
    auto* code = qobject_cast<TFormEditCode*>(modal);
    if (code) {
      offeredName = code->EditName->text();
      offeredSource = code->MemoSource->toPlainText();
      code->MemoSource->setPlainText("this is thrown away");
      code->ButtonCancel->click();
    } else {
      modal->close();
    }
  });
  editor.ButtonSource->click();
  QCOMPARE(offeredName, QString("Core Contents at 12"));
  QCOMPARE(offeredSource, QString("JMP $0"));
  QCOMPARE(editor.MemoCore->toPlainText(), QString("JMP $0"));
  // OK brings the edited text back.
  test::WhenModal([&](QWidget* modal) {
    auto* code = qobject_cast<TFormEditCode*>(modal);
    if (code) code->MemoSource->setPlainText("SPL $0\nJMP $-1");
    code ? code->ButtonOK->click() : void(modal->close());
  });
  editor.ButtonSource->click();
  QCOMPARE(editor.MemoCore->toPlainText(), QString("SPL $0\nJMP $-1"));
  editor.ButtonCancel->click();
}

void EditCoreFormTest::locationDialog_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("accepted");
  QTest::addColumn<int>("value");
  QTest::newRow("-1") << "-1" << true << -1;
  QTest::newRow("8005 is not reduced here") << "8005" << true << 8005;
  QTest::newRow("text") << "here" << false << 77;
  QTest::newRow("empty") << "" << false << 77;
}

void EditCoreFormTest::locationDialog() {
  QFETCH(QString, typed);
  QFETCH(bool, accepted);
  QFETCH(int, value);
  TDebugSession s;
  TFormInput& input = *s.app.FormInput;
  input.Value = 77;
  input.show();
  QCOMPARE(input.windowTitle(), QString("Location"));
  QCOMPARE(input.EditLocation->text(), QString("77"));
  QCOMPARE(input.EditLocation->selectedText(), QString("77"));
  input.EditLocation->setText(typed);
  input.ButtonOK->click();
  QCOMPARE(input.isVisible(), !accepted);
  QCOMPARE(input.Value, value);
  if (!accepted) {
    QCOMPARE(s.platform.Messages.back(), std::string("Location must be a number"));
    QCOMPARE(input.EditLocation->text(), QString("77"));
    input.ButtonCancel->click();
  }
}

QTEST_MAIN(EditCoreFormTest)
#include "edit_core_form_test.moc"
