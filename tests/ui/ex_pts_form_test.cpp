// The execution points editor on a real battle: its list and count, every button on queues
// that do and do not run across the end of the ring, killing and reviving a warrior, the
// process limit, and "Close and Move".

#include <QtTest>

#include <memory>

#include "engine/core.h"
#include "tests/ui/support/debugger_session.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/core_listing.h"
#include "ui/ex_pts_form.h"
#include "ui/input_form.h"
#include "ui/mardex_form.h"
#include "ui/view_form.h"

using namespace velmora;

namespace {

constexpr int kCancel = -99999; // a location answer that stands for "Cancel"

std::string Example(const char* name) {
  return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
}

// The main window with the imp and the dwarf set up for their first round, and the editor
// shown for warrior 1.
struct Session {
  test::TScriptedPlatform Platform;
  TVelmoraApp App{Platform};
  TMardexForm Main{App};
  TFormExPts& Editor = *App.FormExPts;
  TCore& Core() { return *App.Core; }
  TWarrior& Warrior(int k) { return *App.Core->Warriors[static_cast<size_t>(k)]; }
  std::vector<int> Offered; // the addresses the location dialog was opened with

  // The location dialog, when it next opens, records its start value and gets this answer.
  void Answer(int answer) {
    TFormInput* input = App.FormInput;
    QTimer::singleShot(0, input, [this, input, answer] {
      if (!input->isVisible()) return;
      Offered.push_back(input->EditLocation->text().toInt());
      if (answer == kCancel) {
        QTest::mouseClick(input->ButtonCancel, Qt::LeftButton);
        return;
      }
      input->EditLocation->setText(QString::number(answer));
      QTest::mouseClick(input->ButtonOK, Qt::LeftButton);
    });
  }

  Session() {
    Main.CreateEngine();
    Main.OpenWarriorFiles({Example("imp.red"), Example("dwarf.red")});
    Editor.show();
  }

  // Replaces warrior k's queue by these addresses from byte offset head on.
  void SetQueue(int k, int32_t head, const std::vector<int32_t>& addresses) {
    TWarrior& w = Warrior(k);
    w.QueueHead = w.QueueTail = head;
    for (int32_t a : addresses)
      Core().QueueAppend(w, a);
    w.ProcessCount = static_cast<int32_t>(addresses.size());
    w.Alive = true;
    Editor.ComboBoxWarrior->setCurrentIndex(k - 1);
    Editor.ComboBoxWarriorChange();
  }

  QString Listed() const {
    QStringList addresses;
    for (int i = 0; i < Editor.ListBoxExPts->count(); ++i)
      addresses << Editor.ListBoxExPts->item(i)->text().section(' ', 0, 0,
                                                                QString::SectionSkipEmpty);
    return addresses.join(' ');
  }
};

} // namespace

class ExPtsFormTest : public QObject {
  Q_OBJECT
private slots:
  void listsTheFirstWarriorsProcess();
  void editsInTheList_data();
  void editsInTheList();
  void buttonsFollowTheSelection();
  void deletingKillsAndAddingRevives();
  void aWarriorKilledInTheEditorLosesTheRound();
  void aFullQueueRefusesAnother();
  void closeAndMoveHandsBackTheAddress();
  void otherWarriorIsListedOnChoice();
  void theCoreViewsProcessesButtonOpensItAndMovesTheView();
};

void ExPtsFormTest::listsTheFirstWarriorsProcess() {
  Session s;
  QCOMPARE(s.Editor.windowTitle(), QString("Processes"));
  QCOMPARE(s.Editor.ComboBoxWarrior->count(), 2);
  QCOMPARE(s.Editor.ComboBoxWarrior->itemText(0), QString("Velmora Imp"));
  QCOMPARE(s.Editor.ComboBoxWarrior->currentIndex(), 0);
  QCOMPARE(s.Editor.LabelNumProcesses->text(), QString("1 process"));
  QCOMPARE(s.Editor.ListBoxExPts->count(), 1);
  const int32_t pc = s.Core().QueueEntry(s.Warrior(1), 0);
  QCOMPARE(s.Editor.ListBoxExPts->item(0)->text().toStdString(), FormatLine(s.Core(), pc));
  QVERIFY(s.Editor.ListBoxExPts->item(0)->text().startsWith("      0 MOV.I  $      0,  $      1"));
  QCOMPARE(s.Editor.SelectedLine(), 0);
}

void ExPtsFormTest::editsInTheList_data() {
  QTest::addColumn<bool>("wraps");
  QTest::addColumn<QString>("action");
  QTest::addColumn<int>("line"); // selected before the action; -1 none
  QTest::addColumn<int>("answer");
  QTest::addColumn<QString>("listed");
  QTest::addColumn<int>("selected");
  QTest::addColumn<int>("offered"); // the location dialog's start value; -1 not opened
  for (bool wraps : {false, true}) {
    auto row = [&](const char* name) {
      return &QTest::newRow((std::string(name) + (wraps ? ", across the end" : "")).c_str());
    };
    *row("roll line 2 to the top") << wraps << "roll" << 2 << 0 << "30 40 10 20" << 0 << -1;
    *row("roll the last line") << wraps << "roll" << 3 << 0 << "40 10 20 30" << 0 << -1;
    *row("move up") << wraps << "up" << 2 << 0 << "10 30 20 40" << 1 << -1;
    *row("move the head down") << wraps << "down" << 0 << 0 << "20 10 30 40" << 1 << -1;
    *row("move down without selection") << wraps << "down" << -1 << 0 << "10 20 30 40" << -1 << -1;
    *row("edit to -1") << wraps << "edit" << 1 << -1 << "10 7999 30 40" << 1 << 20;
    *row("edit cancelled") << wraps << "edit" << 1 << kCancel << "10 20 30 40" << 1 << 20;
    *row("add after a line") << wraps << "add" << 1 << 55 << "10 20 55 30 40" << 1 << 20;
    *row("add at the head") << wraps << "add" << -1 << 8005 << "5 10 20 30 40" << 0 << 0;
    *row("add cancelled") << wraps << "add" << 0 << kCancel << "10 20 30 40" << 0 << 10;
    *row("delete in the middle") << wraps << "delete" << 1 << 0 << "10 30 40" << 1 << -1;
    *row("delete the last line") << wraps << "delete" << 3 << 0 << "10 20 30" << 2 << -1;
  }
}

void ExPtsFormTest::editsInTheList() {
  QFETCH(bool, wraps);
  QFETCH(QString, action);
  QFETCH(int, line);
  QFETCH(int, answer);
  QFETCH(QString, listed);
  QFETCH(int, selected);
  QFETCH(int, offered);
  Session s;
  // Wrapping: the first two entries are the ring's last two slots.
  const int32_t head = wraps ? s.Core().QueueBlockSize - 8 : 0;
  s.SetQueue(1, head, {10, 20, 30, 40});
  QCOMPARE(s.Listed(), QString("10 20 30 40"));
  if (line >= 0)
    s.Editor.ListBoxExPts->setCurrentRow(line);
  else
    s.Editor.ListBoxExPts->clearSelection();
  s.Answer(answer);
  QSignalSpy refreshed(&s.Main, &TMardexForm::ViewsRefreshRequested);

  const std::map<QString, QPushButton*> buttons = {
      {"roll", s.Editor.ButtonRollToTop}, {"up", s.Editor.ButtonMoveUp},
      {"down", s.Editor.ButtonMoveDown},  {"edit", s.Editor.ButtonEdit},
      {"add", s.Editor.ButtonAdd},        {"delete", s.Editor.ButtonDelete}};
  QPushButton* button = buttons.at(action);
  QVERIFY(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);

  QCOMPARE(s.Listed(), listed);
  QCOMPARE(s.Editor.SelectedLine(), selected);
  QCOMPARE(s.Offered.empty() ? -1 : s.Offered.front(), offered);
  const int count = static_cast<int>(listed.split(' ').size());
  QCOMPARE(s.Warrior(1).ProcessCount, count);
  QCOMPARE(s.Editor.LabelNumProcesses->text(), QString("%1 processes").arg(count));
  QCOMPARE(s.Warrior(1).QueueHead, head);
  QCOMPARE(s.Warrior(1).QueueTail,
           static_cast<int32_t>((head + 4 * count) % s.Core().QueueBlockSize));
  const bool changed = listed != "10 20 30 40";
  QCOMPARE(refreshed.count() > 0, changed);
}

void ExPtsFormTest::buttonsFollowTheSelection() {
  Session s;
  s.SetQueue(1, 0, {10, 20, 30});
  QVERIFY(!s.Editor.ButtonMoveUp->isEnabled());
  QVERIFY(!s.Editor.ButtonRollToTop->isEnabled());
  QVERIFY(s.Editor.ButtonMoveDown->isEnabled());
  QTest::mouseClick(s.Editor.ListBoxExPts->viewport(), Qt::LeftButton, {},
                    s.Editor.ListBoxExPts->visualItemRect(s.Editor.ListBoxExPts->item(2)).center());
  QCOMPARE(s.Editor.SelectedLine(), 2);
  QVERIFY(s.Editor.ButtonMoveUp->isEnabled());
  QVERIFY(s.Editor.ButtonRollToTop->isEnabled());
  QVERIFY(!s.Editor.ButtonMoveDown->isEnabled());
  s.Editor.ListBoxExPts->clearSelection();
  QVERIFY(!s.Editor.ButtonDelete->isEnabled());
  QVERIFY(!s.Editor.ButtonEdit->isEnabled());
}

void ExPtsFormTest::deletingKillsAndAddingRevives() {
  Session s;
  TWarrior& dwarf = s.Warrior(2);
  s.Editor.ComboBoxWarrior->setCurrentIndex(1);
  s.Editor.ComboBoxWarriorChange();
  QCOMPARE(s.Editor.LabelNumProcesses->text(), QString("1 process"));
  QTest::mouseClick(s.Editor.ButtonDelete, Qt::LeftButton);
  QCOMPARE(s.Editor.LabelNumProcesses->text(), QString("0 processes"));
  QCOMPARE(s.Editor.ListBoxExPts->count(), 0);
  QVERIFY(!dwarf.Alive);
  QCOMPARE(s.Core().AliveCount, 1);
  QVERIFY(!s.Editor.ButtonDelete->isEnabled());

  s.Answer(4000);
  QTest::mouseClick(s.Editor.ButtonAdd, Qt::LeftButton);
  QCOMPARE(s.Offered, std::vector<int>{0});
  QCOMPARE(s.Editor.LabelNumProcesses->text(), QString("1 process"));
  QVERIFY(dwarf.Alive);
  QCOMPARE(s.Core().AliveCount, 2);
  QCOMPARE(s.Editor.ListBoxExPts->item(0)->text().toStdString(), FormatLine(s.Core(), 4000));
  // The revived queue is back at its own place, clear of the imp's.
  QCOMPARE(dwarf.QueueHead - s.Warrior(1).QueueHead, (s.Core().MaxProcesses + 1) * 4);
}

void ExPtsFormTest::aWarriorKilledInTheEditorLosesTheRound() {
  Session s;
  s.Editor.ComboBoxWarrior->setCurrentIndex(1);
  s.Editor.ComboBoxWarriorChange();
  QTest::mouseClick(s.Editor.ButtonDelete, Qt::LeftButton);
  QTest::mouseClick(s.Editor.ButtonCancel, Qt::LeftButton);
  QTest::mouseClick(s.Main.ButtonStart, Qt::LeftButton);
  QTRY_COMPARE(s.Main.State(), RunState::Complete);
  QCOMPARE(s.Main.LabelStatusOutput->text(), QString("Won by Velmora Imp"));
  QCOMPARE(s.Core().CycleCount, 1);
  QCOMPARE(s.Warrior(1).LastResult, 1);
}

void ExPtsFormTest::aFullQueueRefusesAnother() {
  Session s;
  s.SetQueue(1, 0, {10, 20});
  s.Core().MaxProcesses = 2;
  s.Answer(30);
  QTest::mouseClick(s.Editor.ButtonAdd, Qt::LeftButton);
  QCOMPARE(s.Platform.Messages, std::vector<std::string>{"Process queue full"});
  QVERIFY(s.Offered.empty());
  QCOMPARE(s.Listed(), QString("10 20"));
  QCOMPARE(s.Warrior(1).ProcessCount, 2);
}

void ExPtsFormTest::closeAndMoveHandsBackTheAddress() {
  Session s;
  s.SetQueue(1, 0, {10, 20});
  s.App.SelectedLocation = 0;
  s.Editor.ListBoxExPts->setCurrentRow(1);
  QTest::mouseClick(s.Editor.ButtonOK, Qt::LeftButton);
  QCOMPARE(s.App.SelectedLocation, 20);
  QCOMPARE(s.Editor.result(), int(QDialog::Accepted));
  QVERIFY(!s.Editor.isVisible());
}

void ExPtsFormTest::otherWarriorIsListedOnChoice() {
  Session s;
  s.SetQueue(2, 0, {7, 8, 9});
  QCOMPARE(s.Listed(), QString("7 8 9"));
  QCOMPARE(s.Editor.LabelNumProcesses->text(), QString("3 processes"));
  // Showing again starts from warrior 1.
  s.Editor.hide();
  s.Editor.show();
  QCOMPARE(s.Editor.ComboBoxWarrior->currentIndex(), 0);
  QCOMPARE(s.Editor.ListBoxExPts->count(), 1);
}

void ExPtsFormTest::theCoreViewsProcessesButtonOpensItAndMovesTheView() {
  Session s;
  s.Editor.hide();
  s.Main.ButtonView->click();
  TFormView* view = s.Main.LastCoreView;
  QVERIFY(view);
  s.SetQueue(1, 0, {10, 20});
  bool wasModal = false;
  QTimer::singleShot(0, &s.Editor, [&] {
    wasModal = s.Editor.isModal() && s.Editor.isVisible();
    s.Editor.ListBoxExPts->setCurrentRow(1);
    QTest::mouseClick(s.Editor.ButtonOK, Qt::LeftButton);
  });
  QTest::mouseClick(view->ButtonExPts, Qt::LeftButton);
  QVERIFY(wasModal);
  QCOMPARE(view->EditLocation->text(), QString("20"));
  QCOMPARE(test::ListedOf(view).front(), 20);
}

QTEST_MAIN(ExPtsFormTest)
#include "ex_pts_form_test.moc"
