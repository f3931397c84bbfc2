// The Tune window as a player drives it: from the warrior editor's button and from the main
// window's warrior menu, pick the constant, run a small sweep, click a point, use its value.

#include <QtTest>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

#include "assembler/assembler.h"
#include "tests/ui/support/session.h"
#include "tournament/warrior_input.h"
#include "tuning/equates.h"
#include "ui/edit_code_form.h"
#include "ui/mardex_form.h"
#include "ui/tune_form.h"

using namespace velmora;
using test::Example;
using test::Join;

namespace {

void Retype(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// Ticks the first constant with the keyboard, types its range and the rounds, and runs.
void RunSweep(TFormTune& tune, const QString& from, const QString& to, const QString& step) {
  QVERIFY(tune.isVisible());
  tune.ListEquates->setFocus();
  QTest::keyClick(tune.ListEquates, Qt::Key_Home);
  QTest::keyClick(tune.ListEquates, Qt::Key_Space);
  QCOMPARE(tune.ListEquates->item(0)->checkState(), Qt::Checked);
  Retype(tune.EditFrom[0], from);
  Retype(tune.EditTo[0], to);
  Retype(tune.EditStep[0], step);
  Retype(tune.EditRounds, "3");
  QTest::mouseClick(tune.ButtonRun, Qt::LeftButton);
  QVERIFY(tune.Running());
  QTRY_VERIFY_WITH_TIMEOUT(!tune.Running(), 60000);
}

// Clicks the chart's dot of point index; returns its value.
int32_t ClickPoint(TFormTune& tune, size_t index) {
  // The chart lays out its new axes when it next paints.
  QTest::qWait(100);
  const SweepPoint& p = tune.Outcome().Points[index];
  const QPointF scene =
      tune.ChartView->chart()->mapToPosition(QPointF(p.Values[0], p.Score), tune.SeriesPoints);
  QTest::mouseClick(tune.ChartView->viewport(), Qt::LeftButton, {},
                    tune.ChartView->mapFromScene(scene));
  return p.Values[0];
}

} // namespace

class TuneFormTest : public QObject {
  Q_OBJECT
private slots:
  void editorButtonTunesTheSourceInTheEditor();
  void warriorMenuTunesAListWarriorThroughTheEditor();
};

void TuneFormTest::editorButtonTunesTheSourceInTheEditor() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  for (const char* name : {"dwarf.red", "imp.red", "paper.red"})
    AddWarriorFile(platform, Example(name), false, app.Tournament.WarriorList);
  TFormEditCode editor(app);
  TWarriorData stone;
  stone.Name = "Velmora Stone";
  std::string author, name;
  ReadWarriorFile(platform, Example("stone.red"), stone.Source, author, name);
  editor.Prepare(0, stone);
  editor.show();
  QVERIFY(QTest::qWaitForWindowExposed(&editor));
  QTest::mouseClick(editor.ButtonTune, Qt::LeftButton);
  QVERIFY(editor.FormTune);
  TFormTune& tune = *editor.FormTune;
  QCOMPARE(Join(test::Items(tune.ListEquates), tune.ButtonUse->isEnabled()),
           QString("step = 3044|n"));

  RunSweep(tune, "3036", "3052", "4");
  const SweepOutcome& out = tune.Outcome();
  QCOMPARE(Join(out.Points.size(), out.Ranking.size(), tune.SeriesPoints->count(),
                tune.SeriesLine->count(), tune.SeriesBest->count(), tune.ChosenPoint()),
           Join(5, 5, 5, 5, 1, out.Ranking.front()));
  // The best point is marked and chosen.
  const SweepPoint& best = out.Points[out.Ranking.front()];
  QCOMPARE(tune.SeriesBest->at(0), QPointF(best.Values[0], best.Score));

  // Clicking the worst point shows its outcome; Use writes its value into the EQU line.
  const size_t worst = out.Ranking.back();
  const int32_t value = ClickPoint(tune, worst);
  QCOMPARE(tune.ChosenPoint(), int32_t(worst));
  QVERIFY2(tune.LabelPoint->text().startsWith(QString("step = %1: score").arg(value)),
           qPrintable(tune.LabelPoint->text()));
  QTest::mouseClick(tune.ButtonUse, Qt::LeftButton);
  const auto equate = FindEquate(editor.Edited().Source, "step");
  QVERIFY(equate);
  QCOMPARE(equate->Text, std::to_string(value));
  QVERIFY(editor.MemoSource->toPlainText().contains(QString("step    equ     %1\n").arg(value)));

  // Stop ends a long sweep at once; the window keeps what finished.
  Retype(tune.EditTo[0], "3436");
  QTest::mouseClick(tune.ButtonRun, Qt::LeftButton);
  QTest::mouseClick(tune.ButtonStop, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!tune.Running(), 20000);
  QCOMPARE(
      Join(tune.Outcome().Stopped, tune.LabelStatus->text().left(8), tune.ButtonRun->isEnabled()),
      QString("y|Stopped.|y"));
  // The Tune window goes with the editor.
  editor.reject();
  QVERIFY(!tune.isVisible());
}

void TuneFormTest::warriorMenuTunesAListWarriorThroughTheEditor() {
  test::TSession s({Example("dwarf.red"), Example("imp.red"), Example("paper.red")});
  TVelmoraApp& app = s.app;
  TMardexForm& main = s.form;

  // Right-click on the dwarf's button, "Tune...".
  QTimer::singleShot(0, &main, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 2);
    menu->actions().at(1)->trigger();
    menu->close();
  });
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(4, 4),
                          main.ButtonEdit[0]->mapToGlobal(QPoint(4, 4)));
  QApplication::sendEvent(main.ButtonEdit[0], &click);
  QVERIFY(main.FormTune);
  TFormTune& tune = *main.FormTune;
  QCOMPARE(tune.ListEquates->item(0)->text(), QString("step = 4"));
  RunSweep(tune, "3", "6", "1");
  QCOMPARE(tune.Outcome().Ranking.size(), size_t(4));

  // Use opens the editor on the warrior with the value written in; OK takes it.
  const int32_t value = ClickPoint(tune, 0);
  QString shown;
  QTimer::singleShot(0, app.FormEditCode, [&] {
    shown = app.FormEditCode->MemoSource->toPlainText();
    app.FormEditCode->accept();
  });
  QTest::mouseClick(tune.ButtonUse, Qt::LeftButton);
  QVERIFY(shown.contains(QString("step    equ     %1").arg(value)));
  QCOMPARE(FindEquate(app.Tournament.WarriorList[0].Source, "step")->Text, std::to_string(value));
  QCOMPARE(main.State(), RunState::Stopped);
}

QTEST_MAIN(TuneFormTest)
#include "tune_form_test.moc"
