#pragma once
// Small pieces the windows share.

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>

#include "engine/core.h"

namespace velmora {

// Changes a progress bar with its updates held: QProgressBar repaints at once, window and
// all, whenever its filled part moves, which during a run costs more than the battle. The
// change is painted with the window's next frame instead.
template <typename Change> void ChangeGauge(QProgressBar& bar, Change&& change) {
  bar.setUpdatesEnabled(false);
  change(bar);
  bar.setUpdatesEnabled(true);
}
// A new value, painted with the next frame; nothing at all when it is the same.
inline void SetGaugeValue(QProgressBar& bar, int value) {
  if (bar.value() != value) ChangeGauge(bar, [value](QProgressBar& b) { b.setValue(value); });
}
// A new range 0..maximum, value and text display, likewise: a gauge repaints whenever it is
// changed, even to what it shows.
inline void SetGaugeState(QProgressBar& bar, int maximum, int value, bool textVisible) {
  if (bar.minimum() == 0 && bar.maximum() == maximum && bar.value() == value &&
      bar.isTextVisible() == textVisible)
    return;
  ChangeGauge(bar, [&](QProgressBar& b) {
    b.setRange(0, maximum);
    b.setValue(value);
    b.setTextVisible(textVisible);
  });
}

// A button that Enter does not press unless it is the dialog's default.
QPushButton* MakeButton(const char* caption, QWidget* parent);

// Fills a warrior choice with the names of the engine's battle warriors (slots 1..W) and
// chooses the first.
void FillWarriorChoice(QComboBox& choice, const TCore* core);
// The engine warrior a choice filled that way names, or null.
TWarrior* ChosenWarrior(const QComboBox& choice, const TCore* core);

} // namespace velmora
