// The score formula dialog: which formulas its check lets through, and what it stores.

#include <QtTest>

#include "tests/ui/support/scripted_platform.h"
#include "ui/edit_score_form.h"

using namespace velmora;

class EditScoreFormTest : public QObject {
  Q_OBJECT
private slots:
  void showsTheTournamentsFormula();
  void okChecksTheFormula_data();
  void okChecksTheFormula();
};

void EditScoreFormTest::showsTheTournamentsFormula() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  app.Tournament.Rec.ScoreFormula = "W-S";
  TFormEditScore dialog(app);
  QCOMPARE(dialog.windowTitle(), QString("Edit Score Formula"));
  dialog.FormShow();
  QCOMPARE(dialog.EditScore->text(), QString("W-S"));
  QVERIFY(dialog.ButtonOK->isDefault());
}

void EditScoreFormTest::okChecksTheFormula_data() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<bool>("accepted");
  QTest::addColumn<QString>("message"); // start of the message shown, if any
  QTest::newRow("default") << "(W*W-1)/S" << true << "";
  QTest::newRow("fails only for two survivors") << "(W*W-1)/(S-2)" << true << "";
  QTest::newRow("lower-case symbols") << "w+s" << true << "";
  QTest::newRow("predefined symbols") << "CORESIZE/S" << true << "";
  QTest::newRow("fails for a sole survivor") << "(W*W-1)/(S-1)" << false << "Division by zero";
  QTest::newRow("unknown symbol") << "W*Q" << false << "";
}

void EditScoreFormTest::okChecksTheFormula() {
  QFETCH(QString, formula);
  QFETCH(bool, accepted);
  QFETCH(QString, message);
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormEditScore dialog(app);
  dialog.FormShow();
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  dialog.EditScore->setText(formula);
  QTest::keyClick(dialog.EditScore, Qt::Key_Return);
  // OK stores the text at once, checked or not.
  QCOMPARE(QString::fromStdString(app.Tournament.Rec.ScoreFormula), formula);
  QCOMPARE(dialog.isVisible(), !accepted);
  QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
  QCOMPARE(platform.Messages.size(), size_t(accepted ? 0 : 1));
  if (!accepted) {
    QVERIFY(!platform.Messages[0].empty());
    QVERIFY(QString::fromStdString(platform.Messages[0]).startsWith(message));
  }
}

QTEST_MAIN(EditScoreFormTest)
#include "edit_score_form_test.moc"
