#pragma once
// A main window with a battle of two example warriors set up and stopped, whose core
// display records every cell it is asked to draw: the stage of the debugger windows' tests.

#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "tests/ui/support/scripted_platform.h"
#include "ui/mardex_form.h"
#include "ui/view_form.h"

namespace velmora::test {

class TRecordingMainForm : public TMardexForm {
public:
  using TMardexForm::TMardexForm;
  struct Pixel {
    int32_t Address, Colour, Kind;
    bool Highlight;
  };
  void ColorPixel(int32_t Address, int32_t Color, int32_t Kind, bool Highlight) override {
    Pixels.push_back({Address, Color, Kind, Highlight});
    TMardexForm::ColorPixel(Address, Color, Kind, Highlight);
  }
  std::vector<Pixel> Pixels;
};

inline std::string Example(const char* name) {
  return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
}

// The addresses a core view lists, in order.
inline std::vector<int32_t> ListedOf(const TFormView* view) {
  std::vector<int32_t> addresses;
  for (const TListingLine& line : view->Lines())
    addresses.push_back(line.Address);
  return addresses;
}

// A double click as the window system delivers it: press, release, press, double click,
// release. (QTest's own double click sends the double click event alone.)
inline void DoubleClick(QWidget* widget, QPoint point) {
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, point);
}

struct TDebugSession {
  explicit TDebugSession(int32_t coreSize = 8000) {
    app.Params.CoreSizeMax = coreSize;
    app.Params.ReadLimit = coreSize;
    app.Params.WriteLimit = coreSize;
    form.show();
    form.OpenWarriorFiles({Example("imp.red"), Example("dwarf.red")});
  }
  TCore& Core() { return *app.Core; }
  CoreCell& At(int32_t a) { return app.Core->Core[static_cast<size_t>(a)]; }
  TFormView* OpenView() {
    form.ButtonView->click();
    return form.LastCoreView;
  }
  // Lists from a location as typing it into the location box does.
  static void MoveView(TFormView* view, int32_t location) {
    view->EditLocation->setText(QString::number(location));
    view->EditLocationExit();
  }

  TScriptedPlatform platform;
  TVelmoraApp app{platform};
  TRecordingMainForm form{app};
};

} // namespace velmora::test
