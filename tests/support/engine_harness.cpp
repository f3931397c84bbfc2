#include "tests/support/engine_harness.h"

#include <stdexcept>

namespace velmora::test {

Harness::Harness(const HarnessOptions& o) {
  TParamsRec p;
  p.CoreSizeMax = p.CoreSizeMin = o.CoreSize;
  p.NumWarriors = o.Warriors;
  p.MaxProcesses = o.MaxProcesses;
  p.ReadLimit = o.ReadLimit ? o.ReadLimit : o.CoreSize;
  p.WriteLimit = o.WriteLimit ? o.WriteLimit : o.CoreSize;
  p.PSpaceSize = o.PSpaceSize;
  p.MaxCycles = o.MaxCycles;
  p.DisplayLevel = o.DisplayLevel;
  p.EarlyDrawCheck = o.EarlyDrawCheck;
  core_ = TCore::Create(p, Form, Platform);
  if (!core_) throw std::runtime_error("engine not created");
  for (int k = 1; k <= o.Warriors; ++k) {
    TWarrior& w = core_->AddWarrior();
    w.PSpace = std::make_shared<TPSpace>(static_cast<size_t>(o.PSpaceSize), 0);
  }
  ClearCore();
}

void Harness::ClearCore() {
  for (int32_t a = 0; a < core_->CoreSize; ++a)
    core_->Core[static_cast<size_t>(a)] =
        CoreCell{0, 0, kEmptyCellOpcodeModifier, kEmptyCellModes, 0, 0};
}

void Harness::Put(int32_t address, const std::vector<std::string>& cells) {
  for (size_t i = 0; i < cells.size(); ++i)
    At(address + static_cast<int32_t>(i)) = ParseCell(cells[i], core_->CoreSize);
}

void Harness::Start(int k, int32_t pc) {
  TWarrior& w = Warrior(k);
  core_->QueueStart(w, k, Wrap(pc));
  w.Alive = true;
}

void Harness::BeginRound(
    const std::vector<std::pair<int32_t, std::vector<std::string>>>& warriors) {
  for (size_t k = 0; k < warriors.size(); ++k) {
    Put(warriors[k].first, warriors[k].second);
    Start(int(k) + 1, warriors[k].first);
  }
  BeginRound();
}

void Harness::BeginRound() {
  int32_t alive = 0;
  for (int k = 1; k <= core_->NumWarriors; ++k)
    alive += Warrior(k).Alive ? 1 : 0;
  int32_t lethal = 0;
  for (int32_t a = 0; a < core_->CoreSize; ++a)
    lethal += IsLethal(At(a)) ? 1 : 0;
  core_->AliveCount = alive;
  core_->LethalCount = lethal;
  core_->CycleCount = 0;
  core_->RoundState = kRoundRunning;
  core_->Winner = 0;
}

} // namespace velmora::test
