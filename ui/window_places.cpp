#include "ui/window_places.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <typeinfo>

namespace velmora {

QString TWindowPlaces::KeyOf(const QWidget* window) {
  const QString type = typeid(*window).name();
  if (!type.contains("velmora")) return {};
  return "windows/" + type;
}

bool TWindowPlaces::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::Show && type != QEvent::Hide) return false;
  auto* window = qobject_cast<QWidget*>(watched);
  if (!window || !window->isWindow() || event->spontaneous()) return false;
  const QString key = KeyOf(window);
  if (key.isEmpty()) return false;
  QSettings settings;
  if (type == QEvent::Hide) {
    settings.setValue(key, window->saveGeometry());
  } else if (!restored_.contains(key)) {
    restored_.insert(key);
    const QByteArray geometry = settings.value(key).toByteArray();
    // restoreGeometry keeps a window on a screen that is still there.
    if (!geometry.isEmpty()) window->restoreGeometry(geometry);
  }
  return false;
}

} // namespace velmora
