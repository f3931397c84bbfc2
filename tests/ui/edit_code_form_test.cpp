// The warrior editor: compiling, the name it shows, Open/Save/Cancel and their effect on
// the record, saving without losing the previous file, and the main window's warrior
// buttons.

#include <QtTest>

#include <csignal>
#include <fstream>
#include <sstream>

#include <sys/resource.h>

#include "assembler/assembler.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/edit_code_form.h"
#include "ui/mardex_form.h"

using namespace velmora;

namespace {

std::string Example(const char* name) {
  return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

QStringList Lines(const QPlainTextEdit* pane) {
  const QString text = pane->toPlainText();
  return text.isEmpty() ? QStringList() : text.split('\n');
}

// Records the name each save dialog suggests.
class SuggestionPlatform : public test::TScriptedPlatform {
public:
  std::optional<std::string> SaveFileName(const std::string& title, const std::string& filter,
                                          const std::string& suggested) override {
    Suggestions.push_back(suggested);
    return TScriptedPlatform::SaveFileName(title, filter, suggested);
  }
  std::vector<std::string> Suggestions;
};

TWarriorData Record(const std::string& name, std::vector<std::string> source) {
  TWarriorData w;
  w.ID = 4;
  w.Name = name;
  w.Author = "Someone";
  w.FileName = "/nowhere/kept.red";
  w.Source = std::move(source);
  return w;
}

bool SameRecord(const TWarriorData& a, const TWarriorData& b) {
  return a.ID == b.ID && a.Name == b.Name && a.Author == b.Author && a.FileName == b.FileName &&
         a.Source == b.Source;
}

} // namespace

class EditCodeFormTest : public QObject {
  Q_OBJECT
private slots:
  void showingTakesTheRecord();
  void splitText_data();
  void splitText();
  void compileWithoutStatementsKeepsTheListings_data();
  void compileWithoutStatementsKeepsTheListings();
  void oneBadLineAmongGoodOnes();
  void startOffsetIsMarked();
  void arithmeticErrorKeepsTheWindow();
  void nameAfterCompile_data();
  void nameAfterCompile();
  void cancelAfterOpenLeavesTheRecord();
  void escapeCancels();
  void tabMovesThroughTheControls();
  void okAfterOpenReturnsTheFile();
  void saveWritesCrLfAndAddsTheExtension();
  void failedSaveKeepsThePreviousFile();
  void saveLoadFileWritesTheCompiledWarrior();
  void warriorButtonEditsTheListEntry();
};

void EditCodeFormTest::showingTakesTheRecord() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(2, Record("Keeper", {"mov 0, 1", "\tdat 0"}));
  QCOMPARE(form.MemoSource->toPlainText(), QString("mov 0, 1\n\tdat 0"));
  QCOMPARE(form.EditName->text(), QString("Keeper"));
  QCOMPARE(form.LabelSource->text(), QString("/nowhere/kept.red"));
  QVERIFY(!form.ButtonSaveLoad->isEnabled());
  form.ButtonCompileClick();
  QVERIFY(form.ButtonSaveLoad->isEnabled());
  QVERIFY(!form.MemoObjectCode->toPlainText().isEmpty());
  // Opening again on another record starts afresh.
  form.Prepare(1, Record("Other", {}));
  QVERIFY(!form.ButtonSaveLoad->isEnabled());
  QVERIFY(form.MemoObjectCode->toPlainText().isEmpty());
  QVERIFY(form.MemoRestoredSource->toPlainText().isEmpty());
  QVERIFY(form.MemoErrors->toPlainText().isEmpty());
}

void EditCodeFormTest::splitText_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("empty") << "" << QStringList();
  QTest::newRow("one line") << "a" << QStringList{"a"};
  QTest::newRow("final line end") << "a\n" << QStringList{"a"};
  QTest::newRow("blank line kept") << "a\n\nb" << QStringList{"a", "", "b"};
  QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
  QTest::newRow("only a line end") << "\n" << QStringList{""};
}

void EditCodeFormTest::splitText() {
  QFETCH(QString, text);
  QFETCH(QStringList, lines);
  QStringList got;
  for (const std::string& line : SplitText(text.toStdString()))
    got << QString::fromStdString(line);
  QCOMPARE(got, lines);
}

void EditCodeFormTest::compileWithoutStatementsKeepsTheListings_data() {
  QTest::addColumn<QString>("source");
  QTest::newRow("empty") << "";
  QTest::newRow("comments only") << ";redcode\n; nothing here\n;name Ghost";
}

void EditCodeFormTest::compileWithoutStatementsKeepsTheListings() {
  QFETCH(QString, source);
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(1, Record("Keeper", {"mov 0, 1", "dat 0"}));
  form.ButtonCompileClick();
  const QString objectCode = form.MemoObjectCode->toPlainText();
  const QString restored = form.MemoRestoredSource->toPlainText();
  QCOMPARE(Lines(form.MemoObjectCode).size(), 2);
  QVERIFY(form.ButtonSaveLoad->isEnabled());

  form.MemoSource->setPlainText(source);
  form.ButtonCompileClick();
  QVERIFY(!form.ButtonSaveLoad->isEnabled());
  QCOMPARE(form.MemoObjectCode->toPlainText(), objectCode);
  QCOMPARE(form.MemoRestoredSource->toPlainText(), restored);
  QVERIFY(form.MemoErrors->toPlainText().isEmpty());
  // Save Load File has nothing to write now, even if asked directly.
  platform.FileNames.push_back(QDir::temp().filePath("velmora_never.rc").toStdString());
  form.ButtonSaveLoadClick();
  QVERIFY(platform.DialogTitles.empty());
}

void EditCodeFormTest::oneBadLineAmongGoodOnes() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(3, Record("Mixed", {"start mov 0, 1", "        dat #0, nowhere", "jmp start"}));
  form.ButtonCompileClick();
  const QStringList errors = Lines(form.MemoErrors);
  QCOMPARE(errors.size(), 1);
  QVERIFY2(errors[0].contains(" in line 2: "), qPrintable(errors[0]));
  const QStringList objectCode = Lines(form.MemoObjectCode);
  QCOMPARE(objectCode.size(), 3);
  QVERIFY(form.ButtonSaveLoad->isEnabled());
  // The bad line's cell is all zero; the others carry code and the warrior's number.
  QCOMPARE(objectCode[1], QString("0001 03000000 00000000 00000000"));
  QVERIFY(objectCode[0].startsWith("0000 03"));
  QVERIFY(objectCode[0] != "0000 03000000 00000000 00000000");
  QVERIFY(objectCode[2].startsWith("0002 03"));
  QVERIFY(objectCode[2].endsWith("fffffffe 00000000"));
  const QStringList restored = Lines(form.MemoRestoredSource);
  QCOMPARE(restored.size(), 3);
  QVERIFY(restored[0].startsWith("0000*MOV"));
  QVERIFY(restored[2].startsWith("0002 JMP"));
}

void EditCodeFormTest::startOffsetIsMarked() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(1, Record("Org", {"dat 0", "go mov 0, 1", "end go"}));
  form.ButtonCompileClick();
  const QStringList restored = Lines(form.MemoRestoredSource);
  QCOMPARE(restored.size(), 2);
  QCOMPARE(restored[0].mid(4, 1), QString(" "));
  QCOMPARE(restored[1].mid(4, 1), QString("*"));
}

void EditCodeFormTest::arithmeticErrorKeepsTheWindow() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(1, Record("Keeper", {"mov 0, 1"}));
  form.ButtonCompileClick();
  const QString objectCode = form.MemoObjectCode->toPlainText();
  form.MemoSource->setPlainText("mov 0, 1\ndat 1/0, 0");
  form.ButtonCompileClick();
  QCOMPARE(platform.Messages, std::vector<std::string>{"Division by zero"});
  QCOMPARE(form.MemoObjectCode->toPlainText(), objectCode);
  QVERIFY(form.ButtonSaveLoad->isEnabled());
  form.MemoSource->setPlainText(";name After\njmp 0");
  form.ButtonCompileClick();
  QCOMPARE(form.EditName->text(), QString("After"));
  QVERIFY(form.MemoObjectCode->toPlainText().startsWith("0000 01"));
}

void EditCodeFormTest::nameAfterCompile_data() {
  QTest::addColumn<QString>("before"); // compiled first, in the same engine
  QTest::addColumn<QString>("source");
  QTest::addColumn<QString>("name");
  QTest::newRow("no name line keeps the name") << ""
                                               << "mov 0, 1"
                                               << "Keeper";
  QTest::newRow("name line") << ""
                             << ";name Imp\nmov 0, 1"
                             << "Imp";
  QTest::newRow("after another named warrior") << ";name Other\ndat 0"
                                               << ";name Imp\nmov 0, 1"
                                               << "Imp";
  QTest::newRow("no name line after a named warrior") << ";name Other\ndat 0"
                                                      << "mov 0, 1"
                                                      << "Keeper";
  QTest::newRow("blanks after the keyword") << ""
                                            << ";name \t Imp Two\nmov 0, 1"
                                            << "Imp Two";
}

void EditCodeFormTest::nameAfterCompile() {
  QFETCH(QString, before);
  QFETCH(QString, source);
  QFETCH(QString, name);
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(1, Record("Keeper", {}));
  if (!before.isEmpty()) {
    form.MemoSource->setPlainText(before);
    form.ButtonCompileClick();
  }
  form.MemoSource->setPlainText(source);
  form.ButtonCompileClick();
  QCOMPARE(form.EditName->text(), name);
}

void EditCodeFormTest::cancelAfterOpenLeavesTheRecord() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  const TWarriorData original = Record("Keeper", {"mov 0, 1"});
  TWarriorData record = original;
  platform.FileNames.push_back(Example("dwarf.red"));
  bool opened = false;
  QTimer::singleShot(0, &form, [&] {
    form.ButtonOpenClick();
    opened = form.LabelSource->text().endsWith("dwarf.red");
    form.MemoSource->appendPlainText("; edited");
    form.EditName->setText("Changed");
    form.ButtonCompileClick();
    QTest::mouseClick(form.ButtonCancel, Qt::LeftButton);
  });
  QVERIFY(!form.Execute(4, record));
  QVERIFY(opened);
  QVERIFY(SameRecord(record, original));
}

void EditCodeFormTest::escapeCancels() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  const TWarriorData original = Record("Keeper", {"mov 0, 1"});
  TWarriorData record = original;
  QTimer::singleShot(0, &form, [&] {
    form.EditName->setText("Changed");
    QTest::keyClick(&form, Qt::Key_Escape);
  });
  QVERIFY(!form.Execute(1, record));
  QVERIFY(SameRecord(record, original));
}

void EditCodeFormTest::tabMovesThroughTheControls() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(1, Record("Keeper", {"mov 0, 1"}));
  form.ButtonCompileClick(); // enables Save Load File
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QCOMPARE(QApplication::focusWidget(), form.MemoSource);
  // Tab is typed into the source; the other controls pass the focus on in reading order.
  QTest::keyClick(form.MemoSource, Qt::Key_Tab);
  QCOMPARE(form.MemoSource->toPlainText(), QString("\tmov 0, 1"));
  form.ButtonOpen->setFocus();
  const QWidget* expected[] = {form.ButtonSave,     form.ButtonCompile,  form.ButtonTune,
                               form.MemoErrors,     form.MemoObjectCode, form.MemoRestoredSource,
                               form.ButtonSaveLoad, form.EditName,       form.ButtonOK,
                               form.ButtonCancel};
  for (const QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), next);
  }
  QVERIFY(form.ButtonOK->isDefault());
  form.reject();
}

void EditCodeFormTest::okAfterOpenReturnsTheFile() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  TWarriorData record = Record("Keeper", {"mov 0, 1"});
  const std::string path = Example("imp.red");
  platform.FileNames.push_back(path);
  QTimer::singleShot(0, &form, [&] {
    form.ButtonOpenClick();
    QTest::mouseClick(form.ButtonOK, Qt::LeftButton);
  });
  QVERIFY(form.Execute(1, record));
  std::vector<std::string> lines;
  std::string author, name;
  ReadWarriorFile(platform, path, lines, author, name);
  QCOMPARE(record.Source, lines);
  QCOMPARE(record.Name, std::string("Velmora Imp"));
  QCOMPARE(record.Author, std::string("Velmora"));
  QCOMPARE(record.FileName, path);
  QCOMPARE(record.ID, 4);
}

void EditCodeFormTest::saveWritesCrLfAndAddsTheExtension() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(1, Record("Keeper", {"mov 0, 1", "", "\tdat 0"}));
  platform.FileNames.push_back(dir.filePath("saved").toStdString());
  form.ButtonSaveClick();
  const std::string path = dir.filePath("saved.red").toStdString();
  QCOMPARE(FileBytes(path), std::string("mov 0, 1\r\n\r\n\tdat 0\r\n"));
  QCOMPARE(form.LabelSource->text().toStdString(), path);
  QCOMPARE(form.Edited().FileName, path);
  QVERIFY(platform.Messages.empty());
}

void EditCodeFormTest::failedSaveKeepsThePreviousFile() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const std::string path = dir.filePath("kept.red").toStdString();
  const std::string old = ";name Old\r\ndat 0\r\n";
  std::ofstream(path, std::ios::binary) << old;
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(1, Record("Keeper", std::vector<std::string>(2000, "mov.i $0, $1 ; padding")));
  platform.FileNames.push_back(path);

  // A file size limit makes the write fail partway, for any user.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
  form.ButtonSaveClick();
  setrlimit(RLIMIT_FSIZE, &saved);

  QCOMPARE(platform.Messages.size(), size_t(1));
  QVERIFY(QString::fromStdString(platform.Messages[0]).contains("kept.red"));
  QCOMPARE(FileBytes(path), old);
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.red"});
  QCOMPARE(form.LabelSource->text(), QString("/nowhere/kept.red"));
}

void EditCodeFormTest::saveLoadFileWritesTheCompiledWarrior() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  SuggestionPlatform platform;
  TVelmoraApp app(platform);
  TFormEditCode form(app);
  form.Prepare(1, Record("Keeper", {";name Imp", "mov.i $0, $1"}));
  form.ButtonCompileClick();
  const std::string path = dir.filePath("imp.rc").toStdString();
  platform.FileNames.push_back(path);
  form.ButtonSaveLoadClick();
  QCOMPARE(platform.Suggestions, std::vector<std::string>{"Imp.rc"});
  const std::string text = FileBytes(path);
  QVERIFY2(text.rfind(";redcode\r\n;name Imp\r\n;length 1\r\n      ORG 0\r\n      PIN 0\r\n", 0) ==
               0,
           text.c_str());
  // The load file compiles back to the same code.
  const QString objectCode = form.MemoObjectCode->toPlainText();
  form.MemoSource->setPlainText(QString::fromStdString(text));
  form.ButtonCompileClick();
  QVERIFY(form.MemoErrors->toPlainText().isEmpty());
  QCOMPARE(form.MemoObjectCode->toPlainText(), objectCode);
}

void EditCodeFormTest::warriorButtonEditsTheListEntry() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TMardexForm main(app);
  main.show();
  QVERIFY(QTest::qWaitForWindowActive(&main));
  main.OpenWarriorFiles({Example("imp.red"), Example("dwarf.red")});
  QCOMPARE(main.State(), RunState::Stopped);
  const TWarriorData before = app.Tournament.WarriorList[1];

  // Cancel changes nothing.
  QTimer::singleShot(0, app.FormEditCode, [&] {
    app.FormEditCode->EditName->setText("Not Taken");
    app.FormEditCode->reject();
  });
  QTest::mouseClick(main.ButtonEdit[1], Qt::LeftButton);
  QVERIFY(SameRecord(app.Tournament.WarriorList[1], before));
  QCOMPARE(main.ButtonEdit[1]->text().toStdString(), before.Name);

  // OK takes the edits, renames the button and restarts the battle with them.
  QString objectCode;
  QTimer::singleShot(0, app.FormEditCode, [&] {
    app.FormEditCode->MemoSource->setPlainText(";name Sitter\njmp 0");
    app.FormEditCode->ButtonCompileClick();
    objectCode = app.FormEditCode->MemoObjectCode->toPlainText();
    app.FormEditCode->accept();
  });
  QTest::mouseClick(main.ButtonEdit[1], Qt::LeftButton);
  const TWarriorData& after = app.Tournament.WarriorList[1];
  QCOMPARE(after.Name, std::string("Sitter"));
  QCOMPARE(after.Source, (std::vector<std::string>{";name Sitter", "jmp 0"}));
  QCOMPARE(after.ID, before.ID);
  QCOMPARE(main.ButtonEdit[1]->text(), QString("Sitter"));
  QVERIFY(objectCode.startsWith("0000 02"));
  QCOMPARE(main.State(), RunState::Stopped);
  QCOMPARE(app.Core->Warriors[2]->Source, after.Source);
}

QTEST_MAIN(EditCodeFormTest)
#include "edit_code_form_test.moc"
