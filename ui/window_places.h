#pragma once
// Every window of the program opens where the player last left it, with the size it had:
// the places are kept with QSettings between runs. Installed on the application by the
// program's entry (the tests install their own, on scratch settings). A window also opens
// wide enough for its caption to be read in the title bar.

#include <QObject>
#include <QSet>
#include <QString>

class QWidget;

namespace velmora {

class TWindowPlaces : public QObject {
public:
  explicit TWindowPlaces(QObject* parent = nullptr) : QObject(parent) {}
  // The settings key of a window: its class. Windows of other code (message boxes, file
  // dialogs) have none and are left to the system.
  static QString KeyOf(const QWidget* window);
  // How wide a window must be for the title bar to show its whole caption.
  static int CaptionWidth(const QWidget& window);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // A kind of window (several core views) takes its saved place once per run; later ones
  // open where the system puts them, not on top of the first.
  QSet<QString> restored_;
};

} // namespace velmora
