#include "ui/widgets.h"

#include <algorithm>

namespace velmora {

QPushButton* MakeButton(const char* caption, QWidget* parent) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setAutoDefault(false);
  return b;
}

void FillWarriorChoice(QComboBox& choice, const TCore* core) {
  choice.clear();
  if (core) {
    const auto last = std::min<size_t>(static_cast<size_t>(std::max(core->NumWarriors, 0)),
                                       core->Warriors.size() - 1);
    for (size_t k = 1; k <= last; ++k)
      choice.addItem(QString::fromStdString(core->Warriors[k]->Name));
  }
  if (choice.count() > 0) choice.setCurrentIndex(0);
}

TWarrior* ChosenWarrior(const QComboBox& choice, const TCore* core) {
  const int slot = choice.currentIndex() + 1;
  if (!core || slot < 1 || slot > core->NumWarriors ||
      static_cast<size_t>(slot) >= core->Warriors.size())
    return nullptr;
  return core->Warriors[static_cast<size_t>(slot)].get();
}

} // namespace velmora
