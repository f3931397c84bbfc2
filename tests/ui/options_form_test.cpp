// The options dialog: loading and storing the options, Cancel and Escape storing nothing,
// the engine getting the new display level, the battle timer, and a topology change.

#include <QtTest>

#include "tests/ui/support/scripted_platform.h"
#include "ui/mardex_form.h"
#include "ui/options_form.h"

using namespace velmora;

namespace {

std::string Example(const char* name) {
  return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
}

QRadioButton* LevelButton(TFormOptions& form, int level) {
  QRadioButton* buttons[] = {form.RadioButtonNone,   form.RadioButtonExec,    form.RadioButtonWrite,
                             form.RadioButtonIncDec, form.RadioButtonCompare, form.RadioButtonRead};
  return buttons[level];
}

int CountPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      n += image.pixel(x, y) == colour;
  return n;
}

// A main window with a round of two example warriors set up.
struct Battle {
  test::TScriptedPlatform Platform;
  TVelmoraApp App{Platform};
  TMardexForm Form{App};

  Battle() {
    Form.CreateEngine();
    Form.OpenWarriorFiles({Example("imp.red"), Example("dwarf.red")});
  }
  TFormOptions& Options() { return *App.FormOptions; }
};

} // namespace

class OptionsFormTest : public QObject {
  Q_OBJECT
private slots:
  void captions();
  void formShowLoadsTheOptions_data();
  void formShowLoadsTheOptions();
  void okStoresTheOptions_data();
  void okStoresTheOptions();
  void cancelStoresNothing();
  void escapeCancelsAndEnterConfirms();
  void optionsButtonGivesTheEngineTheLevels();
  void optionsButtonPausesTheTimer();
  void topologyChangeClearsTheDisplay();
};

void OptionsFormTest::captions() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TFormOptions form(app);
  QCOMPARE(form.windowTitle(), QString("Options"));
  QCOMPARE(form.CheckBoxImpCheck->text(), QString("Check for early draws"));
  QCOMPARE(form.CheckBoxPause->text(), QString("Pause between rounds"));
  const QStringList levels = {"None",
                              "Executed only",
                              "Executed and written to",
                              "...And incremented/decremented",
                              "...And compared to",
                              "...And read from...everything!"};
  for (int level = 0; level < 6; ++level)
    QCOMPARE(LevelButton(form, level)->text(), levels[level]);
  const auto* cells = qobject_cast<QGroupBox*>(form.RadioButtonNone->parentWidget());
  QVERIFY(cells);
  QCOMPARE(cells->title(), QString("Cells to Display"));
  const auto* topology = qobject_cast<QGroupBox*>(form.RadioButtonCircular->parentWidget());
  QVERIFY(topology);
  QCOMPARE(topology->title(), QString("Display Topology"));
  QCOMPARE(form.RadioButtonCircular->text(), QString("Circular"));
  QCOMPARE(form.RadioButtonRectangular->text(), QString("Rectangular"));
  QVERIFY(form.ButtonOK->isDefault());
}

void OptionsFormTest::formShowLoadsTheOptions_data() {
  QTest::addColumn<int>("level");
  QTest::addColumn<bool>("earlyDraws");
  QTest::addColumn<bool>("pause");
  QTest::addColumn<bool>("circular");
  QTest::newRow("none, rectangular") << 0 << false << true << false;
  QTest::newRow("executed") << 1 << true << false << true;
  QTest::newRow("written") << 2 << false << false << false;
  QTest::newRow("inc/dec") << 3 << true << true << true;
  QTest::newRow("compared") << 4 << true << false << false;
  QTest::newRow("read") << 5 << false << true << true;
}

void OptionsFormTest::formShowLoadsTheOptions() {
  QFETCH(int, level);
  QFETCH(bool, earlyDraws);
  QFETCH(bool, pause);
  QFETCH(bool, circular);
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  app.Params.DisplayLevel = level;
  app.Params.EarlyDrawCheck = earlyDraws;
  app.Params.CircularDisplay = circular;
  app.Tournament.Rec.PauseBetweenRounds = pause;
  TFormOptions form(app);
  // Opposite states first, so that showing must change every control.
  form.CheckBoxImpCheck->setChecked(!earlyDraws);
  form.CheckBoxPause->setChecked(!pause);
  LevelButton(form, (level + 3) % 6)->setChecked(true);
  (circular ? form.RadioButtonRectangular : form.RadioButtonCircular)->setChecked(true);
  form.FormShow();
  QCOMPARE(form.CheckBoxImpCheck->isChecked(), earlyDraws);
  QCOMPARE(form.CheckBoxPause->isChecked(), pause);
  for (int i = 0; i < 6; ++i)
    QCOMPARE(LevelButton(form, i)->isChecked(), i == level);
  QCOMPARE(form.RadioButtonCircular->isChecked(), circular);
  QCOMPARE(form.RadioButtonRectangular->isChecked(), !circular);
}

void OptionsFormTest::okStoresTheOptions_data() {
  formShowLoadsTheOptions_data();
}

void OptionsFormTest::okStoresTheOptions() {
  QFETCH(int, level);
  QFETCH(bool, earlyDraws);
  QFETCH(bool, pause);
  QFETCH(bool, circular);
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  app.Params.DisplayLevel = (level + 2) % 6;
  app.Params.EarlyDrawCheck = !earlyDraws;
  app.Params.CircularDisplay = !circular;
  app.Tournament.Rec.PauseBetweenRounds = !pause;
  TFormOptions form(app);
  QTimer::singleShot(0, &form, [&] {
    form.CheckBoxImpCheck->setChecked(earlyDraws);
    form.CheckBoxPause->setChecked(pause);
    LevelButton(form, level)->setChecked(true);
    (circular ? form.RadioButtonCircular : form.RadioButtonRectangular)->setChecked(true);
    form.ButtonOK->click();
  });
  QCOMPARE(form.exec(), int(QDialog::Accepted));
  QCOMPARE(app.Params.DisplayLevel, level);
  QCOMPARE(app.Params.EarlyDrawCheck, earlyDraws);
  QCOMPARE(app.Params.CircularDisplay, circular);
  QCOMPARE(app.Tournament.Rec.PauseBetweenRounds, pause);
  // Setup's pending copies follow, so its next OK keeps these.
  QCOMPARE(app.Setup.DisplayLevel, level);
  QCOMPARE(app.Setup.EarlyDrawCheck, earlyDraws);
  QCOMPARE(app.Setup.CircularDisplay, circular);
  QCOMPARE(app.Setup.PauseBetweenRounds, pause);
}

void OptionsFormTest::cancelStoresNothing() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  app.Params.DisplayLevel = 4;
  app.Params.EarlyDrawCheck = true;
  app.Params.CircularDisplay = true;
  app.Setup.DisplayLevel = 4;
  app.Setup.CircularDisplay = true;
  TFormOptions form(app);
  QTimer::singleShot(0, &form, [&] {
    form.CheckBoxImpCheck->setChecked(false);
    form.CheckBoxPause->setChecked(true);
    form.RadioButtonNone->setChecked(true);
    form.RadioButtonRectangular->setChecked(true);
    form.ButtonCancel->click();
  });
  QCOMPARE(form.exec(), int(QDialog::Rejected));
  QCOMPARE(app.Params.DisplayLevel, 4);
  QCOMPARE(app.Params.EarlyDrawCheck, true);
  QCOMPARE(app.Params.CircularDisplay, true);
  QCOMPARE(app.Tournament.Rec.PauseBetweenRounds, false);
  QCOMPARE(app.Setup.DisplayLevel, 4);
  QCOMPARE(app.Setup.CircularDisplay, true);
  QCOMPARE(app.Setup.PauseBetweenRounds, false);
}

void OptionsFormTest::escapeCancelsAndEnterConfirms() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  app.Params.DisplayLevel = 4;
  TFormOptions form(app);
  QTimer::singleShot(0, &form, [&] {
    form.RadioButtonExec->setChecked(true);
    QTest::keyClick(&form, Qt::Key_Escape);
  });
  QCOMPARE(form.exec(), int(QDialog::Rejected));
  QCOMPARE(app.Params.DisplayLevel, 4);
  QTimer::singleShot(0, &form, [&] {
    form.RadioButtonExec->setChecked(true);
    QTest::keyClick(&form, Qt::Key_Return);
  });
  QCOMPARE(form.exec(), int(QDialog::Accepted));
  QCOMPARE(app.Params.DisplayLevel, 1);
}

void OptionsFormTest::optionsButtonGivesTheEngineTheLevels() {
  Battle battle;
  QVERIFY(battle.App.Core);
  TCore& core = *battle.App.Core;
  const int32_t level = core.DisplayLevel;
  const bool earlyDraws = core.EarlyDrawCheck;
  QTimer::singleShot(0, &battle.Options(), [&] {
    battle.Options().RadioButtonNone->setChecked(true);
    battle.Options().CheckBoxImpCheck->setChecked(!earlyDraws);
    battle.Options().ButtonCancel->click();
  });
  battle.Form.ButtonOptions->click();
  QCOMPARE(core.DisplayLevel, level);
  QCOMPARE(core.EarlyDrawCheck, earlyDraws);
  QTimer::singleShot(0, &battle.Options(), [&] {
    battle.Options().RadioButtonWrite->setChecked(true);
    battle.Options().CheckBoxImpCheck->setChecked(!earlyDraws);
    battle.Options().ButtonOK->click();
  });
  battle.Form.ButtonOptions->click();
  QCOMPARE(core.DisplayLevel, 2);
  QCOMPARE(core.EarlyDrawCheck, !earlyDraws);
}

void OptionsFormTest::optionsButtonPausesTheTimer() {
  Battle battle;
  battle.Form.TrackBarSpeed->setValue(0);
  battle.Form.ButtonStart->click();
  QVERIFY(battle.Form.TimerBattle->isActive());
  bool ranWhileOpen = true;
  QTimer::singleShot(0, &battle.Options(), [&] {
    ranWhileOpen = battle.Form.TimerBattle->isActive();
    battle.Options().ButtonOK->click();
  });
  battle.Form.ButtonOptions->click();
  QVERIFY(!ranWhileOpen);
  QVERIFY(battle.Form.TimerBattle->isActive());
  battle.Form.ButtonStop->click();
  QVERIFY(!battle.Form.TimerBattle->isActive());
  // A stopped battle's timer stays off.
  QTimer::singleShot(0, &battle.Options(), [&] { battle.Options().ButtonOK->click(); });
  battle.Form.ButtonOptions->click();
  QVERIFY(!battle.Form.TimerBattle->isActive());
}

void OptionsFormTest::topologyChangeClearsTheDisplay() {
  Battle battle;
  // Without a default.cfg the Setup dialog's defaults start rectangular.
  battle.Form.ApplyTopology(true);
  TCoreDisplay& display = battle.Form.Display();
  for (int i = 0; i < 20; ++i)
    battle.Form.ButtonSingleStep->click();
  const QRgb black = 0xFF000000u, grey = 0xFF808080u;
  int drawn = 0;
  for (int image = 1; image <= 4; ++image)
    drawn += display.Image(image).width() * display.Image(image).height() -
             CountPixels(display.Image(image), black) - CountPixels(display.Image(image), grey);
  QVERIFY(drawn > 0);

  QTimer::singleShot(0, &battle.Options(), [&] {
    battle.Options().RadioButtonRectangular->setChecked(true);
    battle.Options().ButtonOK->click();
  });
  battle.Form.ButtonOptions->click();
  QVERIFY(!display.Circular());
  QVERIFY(!battle.App.Params.CircularDisplay);
  QVERIFY(!battle.App.Setup.CircularDisplay);
  const QImage& image = display.Image(4);
  QCOMPARE(image.size(), QSize(512, 256));
  // Cleared, with only the positions beyond the 8000 cells grey: 192 cells of 4 x 4.
  QCOMPARE(CountPixels(image, grey), 192 * 16);
  QCOMPARE(CountPixels(image, black), 512 * 256 - 192 * 16);
  // The battle goes on drawing in the new layout.
  battle.Form.ButtonSingleStep->click();
  QVERIFY(CountPixels(image, black) < 512 * 256 - 192 * 16);
}

QTEST_MAIN(OptionsFormTest)
#include "options_form_test.moc"
