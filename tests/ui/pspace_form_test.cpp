// The P-space window and its editor on a real battle: location 0 showing the last result,
// edits of it, fill next wrapping at the end, navigation, bad typed values, and redrawing
// with the main window's views.

#include <QtTest>

#include <functional>

#include "engine/core.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/edit_pspace_form.h"
#include "ui/mardex_form.h"
#include "ui/pspace_form.h"

using namespace velmora;

namespace {

std::string Example(const char* name) {
  return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
}

// The main window with the imp and the dwarf set up for their first round (P-space of 500
// locations, core of 8000), and the P-space window opened from its button.
struct Session {
  test::TScriptedPlatform Platform;
  TVelmoraApp App{Platform};
  TMardexForm Main{App};
  TFormPSpace& View = *App.FormPSpace;
  TFormEditPSpace& Editor = *App.FormEditPSpace;
  TWarrior& Warrior(int k) { return *App.Core->Warriors[static_cast<size_t>(k)]; }

  Session() {
    Main.CreateEngine();
    Main.OpenWarriorFiles({Example("imp.red"), Example("dwarf.red")});
    Main.ButtonViewPSpace->click();
  }

  QString Line(int i) const { return View.RichEditView->Lines().value(i); }

  // Double-clicks line i of the listing; the editor, once open, gets these texts and OK.
  void EditLine(int i, const QString& value, const QString& fill) {
    QTimer::singleShot(0, &Editor, [this, value, fill] {
      Editor.EditPSpace->setText(value);
      Editor.EditFillNext->setText(fill);
      QTest::mouseClick(Editor.ButtonOK, Qt::LeftButton);
    });
    const int h = View.RichEditView->LineHeight();
    QTest::mouseDClick(View.RichEditView, Qt::LeftButton, {}, QPoint(20, i * h + h / 2));
  }
};

} // namespace

class PSpaceFormTest : public QObject {
  Q_OBJECT
private slots:
  void locationZeroShowsTheLastResult();
  void editingLocationZeroSetsTheLastResultAndCellZero();
  void fillNextWrapsFromTheLastLocationToZero();
  void minusOneIsStoredInTheCore();
  void badEditorValuesAreRefused_data();
  void badEditorValuesAreRefused();
  void navigation_data();
  void navigation();
  void aBadLocationLeavesTheListing();
  void redrawsWithTheViewsWhenVisible();
  void choosingAWarriorListsItsBlock();
};

void PSpaceFormTest::locationZeroShowsTheLastResult() {
  Session s;
  QVERIFY(s.View.isVisible());
  QCOMPARE(s.View.windowTitle(), QString("P-space View"));
  QCOMPARE(s.View.ComboBoxWarrior->count(), 2);
  QCOMPARE(s.View.ComboBoxWarrior->itemText(1), QString("Velmora Dwarf"));
  QVERIFY(s.View.LineCount() >= 3);
  QCOMPARE(s.View.RichEditView->Lines().size(), s.View.LineCount());
  QCOMPARE(s.Warrior(1).LastResult, 7999);
  QCOMPARE(s.Line(0), QString("       0      -1"));
  QCOMPARE(s.Line(1), QString("       1       0"));
  QCOMPARE(s.View.EditLocation->text(), QString("0"));
}

void PSpaceFormTest::editingLocationZeroSetsTheLastResultAndCellZero() {
  Session s;
  s.EditLine(0, "5", "1");
  QCOMPARE(s.App.SelectedLocation, 0);
  QCOMPARE(s.Warrior(1).LastResult, 5);
  QCOMPARE((*s.Warrior(1).PSpace)[0], 5);
  QCOMPARE((*s.Warrior(1).PSpace)[1], 0);
  QCOMPARE(s.Line(0), QString("       0       5"));
  QCOMPARE(s.Warrior(2).LastResult, 7999);
}

void PSpaceFormTest::fillNextWrapsFromTheLastLocationToZero() {
  Session s;
  QTest::mouseClick(s.View.SpinButtonSmallUp, Qt::LeftButton);
  QCOMPARE(s.View.TopLocation(), 499);
  QCOMPARE(s.View.EditLocation->text(), QString("499"));
  QCOMPARE(s.Line(1), QString("       0      -1"));
  s.EditLine(0, "9", "3");
  QCOMPARE(s.App.SelectedLocation, 499);
  const TPSpace& block = *s.Warrior(1).PSpace;
  QCOMPARE(block[499], 9);
  QCOMPARE(block[0], 9);
  QCOMPARE(block[1], 9);
  QCOMPARE(block[2], 0);
  QCOMPARE(block[498], 0);
  QCOMPARE(s.Warrior(1).LastResult, 9);
  QCOMPARE(s.Line(0), QString("     499       9"));
  QCOMPARE(s.Line(3), QString("       2       0"));
}

void PSpaceFormTest::minusOneIsStoredInTheCore() {
  Session s;
  s.EditLine(2, "-1", "1");
  QCOMPARE((*s.Warrior(1).PSpace)[2], 7999);
  QCOMPARE(s.Line(2), QString("       2      -1"));
}

void PSpaceFormTest::badEditorValuesAreRefused_data() {
  QTest::addColumn<QString>("value");
  QTest::addColumn<QString>("fill");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("valueAfter");
  QTest::addColumn<QString>("fillAfter");
  QTest::newRow("value not a number") << "five"
                                      << "2"
                                      << "PSpace value must be a number"
                                      << "7999"
                                      << "2";
  QTest::newRow("empty value") << ""
                               << "1"
                               << "PSpace value must be a number"
                               << "7999"
                               << "1";
  QTest::newRow("fill zero") << "3"
                             << "0"
                             << "Fill Next value must be a positive number"
                             << "3"
                             << "1";
  QTest::newRow("fill negative") << "3"
                                 << "-4"
                                 << "Fill Next value must be a positive number"
                                 << "3"
                                 << "1";
  QTest::newRow("fill not a number") << "3"
                                     << "x"
                                     << "Fill Next value must be a positive number"
                                     << "3"
                                     << "1";
}

void PSpaceFormTest::badEditorValuesAreRefused() {
  QFETCH(QString, value);
  QFETCH(QString, fill);
  QFETCH(QString, message);
  QFETCH(QString, valueAfter);
  QFETCH(QString, fillAfter);
  Session s;
  QString shownValue, seenValue, seenFill;
  bool stillOpen = false;
  QTimer::singleShot(0, &s.Editor, [&] {
    shownValue = s.Editor.EditPSpace->text();
    s.Editor.EditPSpace->setText(value);
    s.Editor.EditFillNext->setText(fill);
    QTest::mouseClick(s.Editor.ButtonOK, Qt::LeftButton);
    seenValue = s.Editor.EditPSpace->text();
    seenFill = s.Editor.EditFillNext->text();
    stillOpen = s.Editor.isVisible();
    QTest::mouseClick(s.Editor.ButtonCancel, Qt::LeftButton);
  });
  const int h = s.View.RichEditView->LineHeight();
  QTest::mouseDClick(s.View.RichEditView, Qt::LeftButton, {}, QPoint(20, h / 2));
  QCOMPARE(shownValue, QString("-1"));
  QCOMPARE(s.Platform.Messages, std::vector<std::string>{message.toStdString()});
  QCOMPARE(seenValue, valueAfter);
  QCOMPARE(seenFill, fillAfter);
  QVERIFY(stillOpen);
  QCOMPARE(s.Warrior(1).LastResult, 7999);
  QCOMPARE((*s.Warrior(1).PSpace)[0], 0);
}

void PSpaceFormTest::navigation_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<int>("start");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("top"); // -n: the line count less n, from the block's size
  QTest::newRow("line down") << "line down" << 0 << "" << 1;
  QTest::newRow("line down at the end") << "line down" << 499 << "" << 0;
  QTest::newRow("line up at 0") << "line up" << 0 << "" << 499;
  QTest::newRow("page down") << "page down" << 0 << "" << 1000;
  QTest::newRow("page up at 0") << "page up" << 0 << "" << -1000;
  QTest::newRow("go to -1") << "go to" << 0 << "-1" << 499;
  QTest::newRow("go to 505") << "go to" << 0 << "505" << 5;
  QTest::newRow("go to 17") << "go to" << 0 << "17" << 17;
}

void PSpaceFormTest::navigation() {
  QFETCH(QString, action);
  QFETCH(int, start);
  QFETCH(QString, typed);
  QFETCH(int, top);
  Session s;
  s.View.EditLocation->setText(QString::number(start));
  s.View.EditLocationExit();
  QCOMPARE(s.View.TopLocation(), start);
  const int lines = s.View.LineCount();
  if (top == 1000) top = lines % 500;
  if (top == -1000) top = (500 - lines % 500) % 500;
  if (action == "line down") QTest::mouseClick(s.View.SpinButtonSmallDown, Qt::LeftButton);
  if (action == "line up") QTest::mouseClick(s.View.SpinButtonSmallUp, Qt::LeftButton);
  if (action == "page down") QTest::mouseClick(s.View.SpinButtonLargeDown, Qt::LeftButton);
  if (action == "page up") QTest::mouseClick(s.View.SpinButtonLargeUp, Qt::LeftButton);
  if (action == "go to") {
    s.View.EditLocation->setText(typed);
    s.View.EditLocationExit();
  }
  QCOMPARE(s.View.TopLocation(), top);
  QCOMPARE(s.View.EditLocation->text(), QString::number(top));
  QVERIFY(s.Line(0).startsWith(QString("%1 ").arg(top, 8)));
  QVERIFY(s.Platform.Messages.empty());
}

void PSpaceFormTest::aBadLocationLeavesTheListing() {
  Session s;
  s.View.EditLocation->setText("12");
  s.View.EditLocationExit();
  const QStringList before = s.View.RichEditView->Lines();
  s.View.EditLocation->setText("abc");
  s.View.EditLocationExit();
  QCOMPARE(s.Platform.Messages, std::vector<std::string>{"'abc' is not a valid integer value"});
  QCOMPARE(s.View.TopLocation(), 12);
  QCOMPARE(s.View.RichEditView->Lines(), before);
  QCOMPARE(s.View.EditLocation->text(), QString("12"));
}

void PSpaceFormTest::redrawsWithTheViewsWhenVisible() {
  Session s;
  (*s.Warrior(1).PSpace)[1] = 42;
  QCOMPARE(s.Line(1), QString("       1       0"));
  s.Main.RefreshViews();
  QCOMPARE(s.Line(1), QString("       1      42"));
  QTest::mouseClick(s.View.ButtonCoreviewClose, Qt::LeftButton);
  QVERIFY(!s.View.isVisible());
  (*s.Warrior(1).PSpace)[1] = 43;
  s.Main.RefreshViews();
  QCOMPARE(s.Line(1), QString("       1      42"));
  s.Main.ButtonViewPSpace->click();
  QCOMPARE(s.Line(1), QString("       1      43"));
}

void PSpaceFormTest::choosingAWarriorListsItsBlock() {
  Session s;
  (*s.Warrior(2).PSpace)[3] = 17;
  s.Warrior(2).LastResult = 1;
  s.View.EditLocation->setText("2");
  s.View.EditLocationExit();
  s.View.ComboBoxWarrior->setCurrentIndex(1);
  s.View.ComboBoxWarriorChange();
  QCOMPARE(s.View.TopLocation(), 0);
  QCOMPARE(s.Line(0), QString("       0       1"));
  QCOMPARE(s.Line(3), QString("       3      17"));
}

QTEST_MAIN(PSpaceFormTest)
#include "pspace_form_test.moc"
