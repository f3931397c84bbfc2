#include "ui/window_places.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>
#include <typeinfo>

namespace velmora {

namespace {

// Room the title bar takes beside the caption: the window icon and three buttons.
constexpr int kTitleBarControls = 140;

// Widens a window that would cut its caption off. Dialogs built on a vertical box get a strut,
// which also holds for layouts that fix the window at their own size.
void FitCaption(QWidget& window) {
  const int wanted = TWindowPlaces::CaptionWidth(window);
  if (window.width() >= wanted) return;
  auto* box = qobject_cast<QBoxLayout*>(window.layout());
  if (box && (box->direction() == QBoxLayout::TopToBottom ||
              box->direction() == QBoxLayout::BottomToTop)) {
    const QMargins margins = box->contentsMargins();
    box->addStrut(wanted - margins.left() - margins.right());
    box->activate();
  } else {
    window.setMinimumWidth(std::min(wanted, window.maximumWidth()));
  }
  window.resize(std::max(window.width(), wanted), window.height());
}

} // namespace

QString TWindowPlaces::KeyOf(const QWidget* window) {
  const QString type = typeid(*window).name();
  if (!type.contains("velmora")) return {};
  return "windows/" + type;
}

int TWindowPlaces::CaptionWidth(const QWidget& window) {
  // Title bars usually set the caption in a bold face of the system font.
  QFont font = window.font();
  font.setBold(true);
  return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + kTitleBarControls;
}

bool TWindowPlaces::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowTitleChange)
    return false;
  auto* window = qobject_cast<QWidget*>(watched);
  if (!window || !window->isWindow() || event->spontaneous()) return false;
  const QString key = KeyOf(window);
  if (key.isEmpty()) return false;
  if (type == QEvent::WindowTitleChange) {
    if (window->isVisible()) FitCaption(*window);
    return false;
  }
  QSettings settings;
  if (type == QEvent::Hide) {
    settings.setValue(key, window->saveGeometry());
  } else if (!restored_.contains(key)) {
    restored_.insert(key);
    const QByteArray geometry = settings.value(key).toByteArray();
    // restoreGeometry keeps a window on a screen that is still there.
    if (!geometry.isEmpty()) window->restoreGeometry(geometry);
  }
  if (type == QEvent::Show) FitCaption(*window);
  return false;
}

} // namespace velmora
