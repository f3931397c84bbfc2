// velmora-screenshots: pictures of the windows for people to look at, taken on a real X
// display (scripts/screenshots runs it under Xvfb).
//   velmora-screenshots grab FILE WINDOW-ID   the picture of one window of any program
//   velmora-screenshots windows DIR           drives Velmora's windows and saves each one

#include <QApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <array>
#include <cstdio>
#include <functional>

#include "engine/platform.h"
#include "ui/breakpoints_form.h"
#include "ui/edit_breakpoint_form.h"
#include "ui/edit_code_form.h"
#include "ui/ex_pts_form.h"
#include "ui/mardex_form.h"
#include "ui/params_form.h"
#include "ui/pspace_form.h"
#include "ui/results_form.h"
#include "ui/tune_form.h"
#include "ui/view_form.h"

using namespace velmora;

namespace {

bool Save(const QPixmap& picture, const QString& path) {
  if (!picture.save(path)) {
    std::fprintf(stderr, "velmora-screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// Lets the window paint before its picture is taken.
void Settle(int ms = 200) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// A window that is normally modal, shown without blocking for its picture.
bool Shoot(QWidget& window, const QString& path) {
  window.show();
  window.raise();
  Settle(400);
  const bool ok = Save(window.grab(), path);
  window.hide();
  return ok;
}

// Runs the battle at speed 6 for a while, then stops it.
void RunFor(TMardexForm& form, int ms) {
  form.TrackBarSpeed->setValue(6);
  QTimer::singleShot(ms, &form, [&form] {
    if (form.ButtonStop->isEnabled()) form.ButtonStop->click();
  });
  if (form.ButtonStart->isEnabled()) form.ButtonStart->click();
  Settle();
}

int Windows(const QString& dir) {
  THeadlessPlatform platform; // every question cancelled, every message listed at the end
  TVelmoraApp app(platform);
  TMardexForm form(app);
  form.show();
  app.Setup.RoundsText = "5";
  form.OpenWarriorFiles(
      {VELMORA_SOURCE_DIR "/examples/dwarf.red", VELMORA_SOURCE_DIR "/examples/paper.red"});
  RunFor(form, 3000);
  bool ok = Save(form.grab(), dir + "/main-circular.png");
  form.ApplyTopology(false);
  form.ButtonNewBattle->click();
  RunFor(form, 3000);
  ok = Save(form.grab(), dir + "/main-rectangular.png") && ok;

  // A finished round robin of four examples, and its results.
  form.ApplyTopology(true);
  app.Setup.RoundsText = "20";
  form.OpenWarriorFiles(
      {VELMORA_SOURCE_DIR "/examples/dwarf.red", VELMORA_SOURCE_DIR "/examples/paper.red",
       VELMORA_SOURCE_DIR "/examples/stone.red", VELMORA_SOURCE_DIR "/examples/scanner.red"});
  form.chkbxMax->setChecked(true);
  form.ButtonStart->click();
  form.chkbxMax->setChecked(false);
  ok = Save(form.grab(), dir + "/main-complete.png") && ok;
  app.FormResults->FormShow();
  ok = Shoot(*app.FormResults, dir + "/results.png") && ok;
  app.FormResults->TabsResults->setCurrentIndex(1);
  ok = Shoot(*app.FormResults, dir + "/results-chart.png") && ok;
  app.FormResults->TabsResults->setCurrentIndex(0);
  app.FormParams->FormShow();
  ok = Shoot(*app.FormParams, dir + "/setup.png") && ok;

  // The warrior editor after compiling the first warrior with a mistake typed in.
  TWarriorData warrior = app.Tournament.WarriorList.front();
  warrior.Source.insert(warrior.Source.begin() + 6, "        mvo.i   0, 1");
  app.FormEditCode->Prepare(1, warrior);
  app.FormEditCode->ButtonCompileClick();
  ok = Shoot(*app.FormEditCode, dir + "/editor.png") && ok;
  // ... and with its error clicked: the source line is selected and marked.
  app.FormEditCode->show();
  Settle();
  QPlainTextEdit* errors = app.FormEditCode->MemoErrors;
  const QPoint firstError =
      errors->cursorRect(QTextCursor(errors->document()->firstBlock())).center();
  QTest::mouseClick(errors->viewport(), Qt::LeftButton, {}, firstError);
  ok = Shoot(*app.FormEditCode, dir + "/editor-error.png") && ok;

  // Finished sweeps against the other three: the stone's bombing step, then the scanner's
  // step and first bomb as a heat map.
  auto sweep = [&](int32_t tuned, std::vector<std::array<const char*, 4>> ranges,
                   const char* rounds, const QString& path) {
    form.TuneWarrior(tuned);
    TFormTune& tune = *form.FormTune;
    for (const auto& r : ranges)
      for (int i = 0; i < tune.ListEquates->count(); ++i)
        if (tune.ListEquates->item(i)->text().startsWith(QString(r[0]) + " ="))
          tune.ListEquates->item(i)->setCheckState(Qt::Checked);
    for (size_t i = 0; i < ranges.size(); ++i) {
      tune.EditFrom[i]->setText(ranges[i][1]);
      tune.EditTo[i]->setText(ranges[i][2]);
      tune.EditStep[i]->setText(ranges[i][3]);
    }
    tune.EditRounds->setText(rounds);
    tune.ButtonRunClick();
    while (tune.Running())
      Settle(100);
    ok = Shoot(tune, path) && ok;
  };
  sweep(2, {{"step", "2900", "3200", "4"}}, "20", dir + "/tune.png");
  sweep(3, {{"step", "3", "14", "1"}, {"first", "1", "8", "1"}}, "10", dir + "/tune-heatmap.png");

  // The debugger on a battle stopped at a breakpoint on the dwarf's bombing instruction.
  form.ApplyTopology(true);
  app.Setup.RoundsText = "1";
  form.OpenWarriorFiles(
      {VELMORA_SOURCE_DIR "/examples/dwarf.red", VELMORA_SOURCE_DIR "/examples/paper.red"});
  TCore& core = *app.Core;
  const int32_t dwarf = core.QueueEntry(*core.Warriors[1], 0);
  const int32_t bomb = (dwarf + 1) % core.CoreSize;
  core.Core[size_t(bomb)].BreakpointType = 1;
  core.AddBreakpoint(bomb);
  for (int i = 0; i < 40; ++i)
    form.ButtonSingleStep->click();
  form.ButtonStart->click();
  form.ShowCellInView((dwarf + core.CoreSize - 3) % core.CoreSize);
  if (TFormView* view = form.LastCoreView) {
    Settle(400);
    ok = Save(view->grab(), dir + "/core-view.png") && ok;
  }
  ok = Save(form.grab(), dir + "/main-breakpoint.png") && ok;
  app.FormBreakpoints->FillList();
  ok = Shoot(*app.FormBreakpoints, dir + "/breakpoints.png") && ok;
  app.FormEditBreakpoint->Prepare(bomb, 1);
  ok = Shoot(*app.FormEditBreakpoint, dir + "/breakpoint-editor.png") && ok;
  app.SelectedLocation = dwarf;
  app.FormExPts->FormShow();
  ok = Shoot(*app.FormExPts, dir + "/processes.png") && ok;
  app.FormPSpace->FormShow();
  ok = Shoot(*app.FormPSpace, dir + "/pspace.png") && ok;
  for (const std::string& m : platform.Messages)
    std::fprintf(stderr, "message: %s\n", m.c_str());
  return ok ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() == 4 && args[1] == "grab") {
    bool ok = false;
    const WId id = args[3].toULongLong(&ok, 0);
    if (!ok) return 2;
    return Save(QGuiApplication::primaryScreen()->grabWindow(id), args[2]) ? 0 : 1;
  }
  if (args.size() == 3 && args[1] == "windows") return Windows(args[2]);
  std::fprintf(stderr, "usage: velmora-screenshots grab FILE WINDOW-ID | windows DIR\n");
  return 2;
}
