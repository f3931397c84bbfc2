#pragma once
// Small pieces the windows share.

#include <QComboBox>
#include <QPushButton>

#include "engine/core.h"

namespace velmora {

// A button that Enter does not press unless it is the dialog's default.
QPushButton* MakeButton(const char* caption, QWidget* parent);

// Fills a warrior choice with the names of the engine's battle warriors (slots 1..W) and
// chooses the first.
void FillWarriorChoice(QComboBox& choice, const TCore* core);
// The engine warrior a choice filled that way names, or null.
TWarrior* ChosenWarrior(const QComboBox& choice, const TCore* core);

} // namespace velmora
