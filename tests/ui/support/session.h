#pragma once
// What the window tests share: example warriors, texts of several values compared at once, a
// user acting in the next modal dialog and typing into fields, and a main window with a
// battle of two example warriors set up whose core display records every cell it draws.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/ui/support/scripted_platform.h"
#include "ui/mardex_form.h"
#include "ui/view_form.h"

namespace velmora::test {

inline std::string Example(const char* name) {
  return std::string(VELMORA_SOURCE_DIR "/examples/") + name;
}

// A file's bytes; empty when it cannot be read.
inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Values as one text, "a|b|c", so that one comparison shows every difference together.
inline QString Str(const QString& s) {
  return s;
}
inline QString Str(const std::string& s) {
  return QString::fromStdString(s);
}
inline QString Str(const char* s) {
  return s;
}
inline QString Str(bool b) {
  return b ? "y" : "n";
}
template <class T>
requires std::is_arithmetic_v<T> || std::is_enum_v<T> QString Str(T v) {
  return QString::number(int64_t(v));
}
template <class T> QString Str(const std::vector<T>& v) {
  QStringList items;
  for (const T& x : v)
    items << Str(x);
  return items.join(',');
}
template <class T> QString Str(const QList<T>& v) {
  QStringList items;
  for (const T& x : v)
    items << Str(x);
  return items.join(',');
}
template <class... T> QString Join(const T&... v) {
  return QStringList{Str(v)...}.join('|');
}

// The items of a list or a combo box, comma-separated.
inline QString Items(const QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i)
    names << list->item(i)->text();
  return names.join(",");
}
inline QString Items(const QComboBox* combo) {
  QStringList names;
  for (int i = 0; i < combo->count(); ++i)
    names << combo->itemText(i);
  return names.join(",");
}

// Acts in the next modal dialog of type T once it shows (polling, since the dialog is only
// opened by the call that follows this one); gives up after some three seconds of waiting.
template <class T> void InModal(std::function<void(T&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act, ticks = 0]() mutable {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    const bool shown = dialog && dialog->isVisible();
    if (!shown && ++ticks < 300) return;
    timer->stop();
    timer->deleteLater();
    if (shown) act(*dialog);
  });
  timer->start();
}

// Acts in the next modal dialog, whatever its type.
inline void WhenModal(std::function<void(QWidget*)> act) {
  InModal<QWidget>([act](QWidget& modal) { act(&modal); });
}

// Types over a line edit's text and presses Return.
inline void TypeAndEnter(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
}

// Clicks a row of a list, with modifiers for choosing several.
inline void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                    list->visualItemRect(list->item(row)).center());
}

// A double click as the window system delivers it: press, release, press, double click,
// release. (QTest's own double click sends the double click event alone.)
inline void DoubleClick(QWidget* widget, QPoint point) {
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, point);
}

// The addresses a core view lists, in order.
inline std::vector<int32_t> ListedOf(const TFormView* view) {
  std::vector<int32_t> addresses;
  for (const TListingLine& line : view->Lines())
    addresses.push_back(line.Address);
  return addresses;
}

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

inline const std::vector<std::string> kNoWarriors;

// A shown main window; with warriors, a battle of the imp and the dwarf set up and stopped.
struct TSession {
  explicit TSession(std::vector<std::string> warriors = {Example("imp.red"), Example("dwarf.red")},
                    int32_t coreSize = 8000) {
    app.Params.CoreSizeMax = app.Params.ReadLimit = app.Params.WriteLimit = coreSize;
    form.show();
    if (!QTest::qWaitForWindowActive(&form)) qWarning("the main window did not become active");
    if (!warriors.empty()) form.OpenWarriorFiles(warriors);
  }
  TCore& Core() { return *app.Core; }
  CoreCell& At(int32_t a) { return app.Core->Core[static_cast<size_t>(a)]; }
  TWarrior& Warrior(int k) { return *app.Core->Warriors[static_cast<size_t>(k)]; }
  TFormView* OpenView() {
    QTest::mouseClick(form.ButtonView, Qt::LeftButton);
    return form.LastCoreView;
  }
  // A file of this text in the session's own folder.
  std::string File(const QString& name, const QString& text) {
    std::ofstream(dir.filePath(name).toStdString()) << text.toStdString();
    return dir.filePath(name).toStdString();
  }
  QString Status() const { return form.LabelStatusOutput->text(); }

  QTemporaryDir dir;

  TScriptedPlatform platform;
  TVelmoraApp app{platform};
  TRecordingMainForm form{app};
};

} // namespace velmora::test
