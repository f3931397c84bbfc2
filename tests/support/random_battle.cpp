#include "tests/support/random_battle.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "engine/known_forms.h"

namespace velmora::test {

namespace {

// Opcode-modifier byte and modes byte of each form the fast path resolves at compile time.
constexpr std::pair<uint8_t, uint8_t> kKnownForms[] = {
#define VELMORA_KNOWN_FORM_BYTES(op, mod, am, bm)                                                  \
  {PackOpcodeModifier(Opcode::op, Modifier::mod), PackModes(AddressMode::am, AddressMode::bm)},
    VELMORA_KNOWN_FORMS(VELMORA_KNOWN_FORM_BYTES)
#undef VELMORA_KNOWN_FORM_BYTES
};

} // namespace

RandomBattle DrawBattle(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  RandomBattle b;
  HarnessOptions& o = b.Options;
  o.CoreSize = pick(16, 300);
  o.Warriors = pick(1, 4);
  o.MaxProcesses = pick(1, 12);
  o.ReadLimit = pick(0, 1) ? o.CoreSize : pick(1, o.CoreSize);
  o.WriteLimit = pick(0, 2) ? o.ReadLimit : pick(1, o.CoreSize);
  o.PSpaceSize = pick(1, 20);
  o.MaxCycles = pick(1, 400);
  o.DisplayLevel = pick(0, 5);
  o.EarlyDrawCheck = pick(0, 1);
  b.Seed = static_cast<uint32_t>(rng());
  return b;
}

void PopulateBattle(Harness& h, const RandomBattle& b) {
  std::mt19937 rng(b.Seed);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TCore& c = h.Core();
  const int32_t size = c.CoreSize;
  if (b.Breakpoints) { // types 1 and 2, and one that reacts to every event, firing every second
    TBreakpointRec& every = c.BreakpointTypes[3];
    every = TBreakpointRec{};
    every.Write = every.IncDec = every.Compare = every.Read = every.Movable = true;
    every.Frequency = 2;
    c.BreakpointTypeCount = 4;
  }
  for (int32_t a = 0; a < size; ++a) {
    CoreCell& cell = h.At(a);
    // Bias towards the real opcodes, but every code of the byte occurs.
    const int op = pick(0, 9) ? pick(0, 24) : pick(0, 31);
    cell.OpcodeModifier = static_cast<uint8_t>(op | (pick(0, 7) << 5));
    cell.Modes = static_cast<uint8_t>((pick(0, 7) << 4) | pick(0, 7));
    cell.AField = pick(0, 3) ? pick(0, std::min(size - 1, 12)) : pick(0, size - 1);
    cell.BField = pick(0, 3) ? size - 1 - pick(0, std::min(size - 1, 12)) : pick(0, size - 1);
    cell.Marker = static_cast<uint8_t>(pick(0, 255));
    if (b.KnownForms && pick(0, 1)) {
      const auto& form = kKnownForms[pick(0, std::size(kKnownForms) - 1)];
      cell.OpcodeModifier = form.first;
      cell.Modes = form.second;
    }
    if (b.Breakpoints && pick(0, 9) == 0) {
      cell.BreakpointType = static_cast<uint8_t>(pick(1, 3));
      c.AddBreakpoint(a);
    }
  }
  // One shift of the whole ring, so that stretches also run across the end of the block.
  const int32_t entries = c.QueueBlockSize / 4;
  const int32_t shift = pick(0, entries - 1);
  std::shared_ptr<TPSpace> shared;
  for (int k = 1; k <= c.NumWarriors; ++k) {
    TWarrior& w = h.Warrior(k);
    w.QueueHead = (((k - 1) * (c.MaxProcesses + 1) + shift) % entries) * 4;
    w.QueueTail = w.QueueHead;
    w.ProcessCount = 0;
    const int processes = pick(1, c.MaxProcesses);
    for (int i = 0; i < processes; ++i)
      c.QueueAppend(w, pick(0, size - 1));
    w.ProcessCount = processes;
    w.Alive = true;
    w.LastResult = pick(0, 1) ? size - 1 : pick(0, 4);
    // Warriors 1 and 2 sometimes share one block, as an equal PIN makes them.
    if (k == 2 && pick(0, 1)) {
      w.PSpace = shared;
    } else {
      for (int32_t& v : *w.PSpace)
        v = pick(0, size - 1);
      shared = w.PSpace;
    }
  }
  h.BeginRound();
}

} // namespace velmora::test
