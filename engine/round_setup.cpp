// Round set-up: the core size, the initial instruction, the placement of the warriors on a
// ring of free gaps, and their first processes. Every random draw happens in a fixed order
// (core size, core fill, one per random placement), so a seed replays the round.

#include <algorithm>

#include "engine/circle_list.h"
#include "engine/core.h"

namespace velmora {

namespace {

constexpr CoreCell kDat00 = {0, 0, kEmptyCellOpcodeModifier, kEmptyCellModes, 0, 0};

// Non-negative remainder, for offsets that must fall inside a gap.
int64_t Wrap(int64_t value, int64_t length) {
  const int64_t r = value % length;
  return r < 0 ? r + length : r;
}

} // namespace

bool TCore::SetUpRound(bool NewBattle) {
  History.Clear(); // the history belongs to one round
  UndoneCells.clear();
  BreakpointAddresses.clear();
  BreakpointCounters.clear();
  const int32_t n = std::min<int32_t>(NumWarriors, static_cast<int32_t>(Warriors.size()) - 1);
  // Parameters copied since the last allocation may need a larger core or queue block.
  if (n < 1 ||
      ((CoreSizeMax < 1 || static_cast<size_t>(CoreSizeMax) > Core.size()) &&
       !AllocateCore(CoreSizeMax)) ||
      (QueueBlockBytes(MaxProcesses, NumWarriors) != QueueBlockSize && !AllocateQueue())) {
    RoundState = kRoundIdle;
    return false;
  }

  if (RandomCoreSize) {
    const int32_t low = std::clamp(CoreSizeMin, 1, CoreSizeMax);
    const double span = static_cast<double>(CoreSizeMax) - low + 1;
    CoreSize = low + static_cast<int32_t>(Rng.RandomReal() * span);
  } else {
    CoreSize = CoreSizeMax;
  }

  int32_t lethal = 0;
  try {
    InitializeCore(lethal);
  } catch (...) {
    RoundState = kRoundIdle; // the caller reports the error; no round is ready
    throw;
  }
  for (int32_t k = 1; k <= n; ++k) {
    TWarrior& w = *Warriors[static_cast<size_t>(k)];
    if (w.LastResult < 0) w.LastResult += CoreSize;
  }

  int32_t delta = 0;
  TWarrior& first = *Warriors[1];
  LoadWarrior(first, 0, delta);
  lethal += delta;
  QueueStart(first, 1, ModCore(first.StartOffset, CoreSize));

  // A negative distance would put the first gap before address 0: treat it as 0.
  const int64_t distance = std::max(MinDistance, 0);
  TCircleList ring;
  if (!ring.Add(Gap{distance, CoreSize - 2 * distance + 1}, true)) {
    RoundState = kRoundIdle;
    return false;
  }
  int64_t total = ring.Current().Length;
  for (int32_t k = 2; k <= n; ++k) {
    TWarrior& w = *Warriors[static_cast<size_t>(k)];
    if (total < 1) {
      Platform->ShowMessage("Unable to fit warrior " + w.Name + " into core");
      RoundState = kRoundIdle;
      return false;
    }
    // At k = 2 the ring holds only the first gap, so Current is it. An offset beyond the gap
    // (more permutate rounds than positions, a fixed position beyond a random core) wraps.
    int64_t off;
    if (k == 2 && SecondPosition == kPositionPermutate) {
      off = Wrap(PermutationOffset, ring.Current().Length);
    } else if (k == 2 && SecondPosition >= 0 && NewBattle) {
      off = Wrap(static_cast<int64_t>(SecondPosition) - distance, ring.Current().Length);
    } else {
      int64_t r = Rng.Random(static_cast<int32_t>(total));
      do {
        ring.Next();
        r -= ring.Current().Length;
      } while (r >= 0);
      off = r + ring.Current().Length;
    }
    const Gap g = ring.Current();
    // With distance 0 the first gap reaches CoreSize itself, which is address 0.
    const auto address = static_cast<int32_t>((g.Start + off) % CoreSize);
    LoadWarrior(w, address, delta);
    lethal += delta;
    QueueStart(
        w, k,
        ModCore(static_cast<int32_t>((w.StartOffset + int64_t{address}) % CoreSize), CoreSize));

    total -= g.Length;
    const int64_t right = g.Length - off - distance;
    if (right > 0) {
      if (!ring.Add(Gap{g.Start + off + distance, right}, true)) {
        RoundState = kRoundIdle;
        return false;
      }
      total += right;
    }
    const int64_t left = off - distance + 1;
    ring.Current().Length = left;
    if (left < 1)
      ring.Delete();
    else
      total += left;
  }

  CycleCount = 0;
  RoundState = kRoundRunning;
  Winner = 0;
  AliveCount = n;
  LethalCount = lethal;
  return true;
}

void TCore::InitializeCore(int32_t& Lethal) {
  const auto size = static_cast<size_t>(CoreSize);
  if (InitialInstruction == kInitialDat00) {
    std::fill_n(Core.begin(), size, kDat00);
    Lethal = CoreSize;
  } else if (InitialInstruction == kInitialRandom) {
    const StandardTable& st = StandardInfo(Standard);
    const int32_t modes = st.HighestMode + 1;
    Lethal = 0;
    for (size_t a = 0; a < size; ++a) {
      // The draws in this order: opcode, modifier, A-mode, B-mode, A-field, B-field.
      const Opcode op = RandomFillOpcodes[static_cast<size_t>(Rng.Random(st.RandomOpcodeCount))];
      const auto mod = static_cast<Modifier>(Rng.Random(st.HighestRandomModifier + 1));
      const auto am = static_cast<AddressMode>(Rng.Random(modes));
      const auto bm = static_cast<AddressMode>(Rng.Random(modes));
      const int32_t af = Rng.Random(CoreSize);
      const int32_t bf = Rng.Random(CoreSize);
      Core[a] = MakeCell(op, mod, am, af, bm, bf);
      if (IsLethal(op)) ++Lethal;
    }
  } else if (InitialInstructionHook == nullptr || !InitialInstructionHook(*this, Lethal)) {
    Platform->ShowMessage("Initial instruction failed to compile.");
    // The cells stay, but their breakpoints were unregistered above: drop them too, and count
    // what is there so that the early-draw test sees the real core.
    Lethal = 0;
    for (size_t a = 0; a < size; ++a) {
      Core[a].BreakpointType = 0;
      if (IsLethal(Core[a])) ++Lethal;
    }
  }
}

void TCore::LoadWarrior(TWarrior& W, int32_t Address, int32_t& LethalDelta) {
  LethalDelta = 0;
  W.ProcessCount = 1;
  const bool display = !MaxSpeed && DisplayLevel >= 2;
  const int32_t length = std::min<int32_t>(W.CodeLength, static_cast<int32_t>(W.Code.size()));
  int32_t address = ModCore(Address, CoreSize);
  for (int32_t i = 1; i <= length; ++i) {
    CoreCell& c = Core[static_cast<size_t>(address)];
    const CoreCell& o = W.Code[static_cast<size_t>(i - 1)];
    c.BreakpointType = o.BreakpointType;
    if (o.BreakpointType != 0)
      AddBreakpoint(address);
    else
      RemoveBreakpoint(address);
    if (IsLethal(c)) --LethalDelta;
    if (IsLethal(o)) ++LethalDelta;
    c.OpcodeModifier = o.OpcodeModifier;
    c.Modes = o.Modes;
    c.AField = ModCore(o.AField, CoreSize);
    c.BField = ModCore(o.BField, CoreSize);
    if (display) {
      c.Marker = static_cast<uint8_t>((o.Marker & 0x0F) | 0x10);
      const int32_t colour = i == W.StartOffset + 1 ? -1 : (o.Marker & 0x0F);
      Form->ColorPixel(address, colour, 1, false);
    }
    address = address + 1 == CoreSize ? 0 : address + 1;
  }
  W.Alive = true;
}

} // namespace velmora
