// The display path and the fast path must leave identical cores, queues, counts, P-space and
// outcomes. Thousands of random battles (random cells of every code, 1 to 4 warriors with
// random queues, random core sizes, limits equal to or below the core size) check it.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "engine/known_forms.h"
#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

struct RandomBattle {
  HarnessOptions Options;
  uint32_t Seed;
  bool KnownForms = false; // half the cells take a form the fast path compiles on its own
};

// Opcode-modifier byte and modes byte of each form the fast path resolves at compile time.
constexpr std::pair<uint8_t, uint8_t> kKnownForms[] = {
#define VELMORA_KNOWN_FORM_BYTES(op, mod, am, bm)                                                  \
  {PackOpcodeModifier(Opcode::op, Modifier::mod), PackModes(AddressMode::am, AddressMode::bm)},
    VELMORA_KNOWN_FORMS(VELMORA_KNOWN_FORM_BYTES)
#undef VELMORA_KNOWN_FORM_BYTES
};

RandomBattle Draw(std::mt19937& rng) {
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

// Fills a harness from the battle's seed: the same seed gives the same start.
void Populate(Harness& h, const RandomBattle& b) {
  std::mt19937 rng(b.Seed);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TCore& c = h.Core();
  const int32_t size = c.CoreSize;
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

void ExpectSameState(Harness& display, Harness& fast, uint32_t seed) {
  TCore& d = display.Core();
  TCore& f = fast.Core();
  for (int32_t a = 0; a < d.CoreSize; ++a)
    ASSERT_TRUE(SameInstruction(display.At(a), fast.At(a)))
        << "seed " << seed << " cell " << a << ": " << CellText(display.At(a)) << " vs "
        << CellText(fast.At(a));
  ASSERT_EQ(d.RoundState, f.RoundState) << "seed " << seed;
  ASSERT_EQ(d.Winner, f.Winner) << "seed " << seed;
  ASSERT_EQ(d.CycleCount, f.CycleCount) << "seed " << seed;
  ASSERT_EQ(d.AliveCount, f.AliveCount) << "seed " << seed;
  for (int k = 1; k <= d.NumWarriors; ++k) {
    TWarrior& dw = display.Warrior(k);
    TWarrior& fw = fast.Warrior(k);
    ASSERT_EQ(dw.Alive, fw.Alive) << "seed " << seed << " warrior " << k;
    ASSERT_EQ(dw.ProcessCount, fw.ProcessCount) << "seed " << seed << " warrior " << k;
    ASSERT_EQ(dw.QueueHead, fw.QueueHead) << "seed " << seed << " warrior " << k;
    ASSERT_EQ(dw.QueueTail, fw.QueueTail) << "seed " << seed << " warrior " << k;
    ASSERT_EQ(d.QueueEntries(dw), f.QueueEntries(fw)) << "seed " << seed << " warrior " << k;
    ASSERT_EQ(dw.LastResult, fw.LastResult) << "seed " << seed << " warrior " << k;
    ASSERT_EQ(*dw.PSpace, *fw.PSpace) << "seed " << seed << " warrior " << k;
  }
}

// Runs the battles on both paths from identical starts; returns how they ended.
struct Endings {
  int Decided = 0, Drawn = 0, Folded = 0;
};

Endings RunBoth(int battles, uint32_t seed, bool knownForms) {
  std::mt19937 rng(seed);
  Endings e;
  for (int battle = 0; battle < battles; ++battle) {
    RandomBattle b = Draw(rng);
    b.KnownForms = knownForms;
    if (knownForms) b.Options.ReadLimit = b.Options.WriteLimit = b.Options.CoreSize;
    Harness display(b.Options), fast(b.Options);
    Populate(display, b);
    Populate(fast, b);
    fast.Core().MaxSpeed = true;
    const bool noFold =
        b.Options.ReadLimit == b.Options.CoreSize && b.Options.WriteLimit == b.Options.CoreSize;
    e.Folded += noFold ? 0 : 1;
    // Several calls, as the run loop makes them, each with its own first warrior.
    for (int call = 0; call < 4 && display.Core().RoundState == kRoundRunning; ++call) {
      const int first = 1 + call % b.Options.Warriors;
      display.Core().RunCycles(37, first);
      fast.Core().RunCycles(37, first);
      ExpectSameState(display, fast, b.Seed);
      if (::testing::Test::HasFatalFailure()) return e;
    }
    e.Decided += display.Core().RoundState == kRoundDecided;
    e.Drawn += display.Core().RoundState == kRoundDrawn;
  }
  return e;
}

TEST(PathsAgree, RandomBattles) {
  const Endings e = RunBoth(3000, 20261206, false);
  if (HasFatalFailure()) return;
  // The sample must reach every kind of ending and both kinds of limits to mean anything.
  EXPECT_GT(e.Decided, 100);
  EXPECT_GT(e.Drawn, 100);
  EXPECT_GT(e.Folded, 500);
}

// The forms with code of their own, thick on the ground: imps wrapping at the core's end,
// splits into a full queue, jumps onto dead cells.
TEST(PathsAgree, KnownFormsAgreeWithTheGeneralPath) {
  const Endings e = RunBoth(1500, 20261207, true);
  if (HasFatalFailure()) return;
  EXPECT_GT(e.Decided, 50);
  EXPECT_GT(e.Drawn, 50);
}

// While the display reads the Markers itself and no cell has a breakpoint, the display path
// leaves out event collection and breakpoint checks: it must leave every Marker as the full
// display path leaves it, and everything else too.
TEST(PathsAgree, MarkersOnlyLeaveTheMarkersOfEveryEvent) {
  std::mt19937 rng(20261208);
  int runs = 0;
  for (int battle = 0; battle < 1500; ++battle) {
    const RandomBattle b = Draw(rng);
    Harness events(b.Options), markers(b.Options);
    Populate(events, b);
    Populate(markers, b);
    markers.Core().CollectPixels = false;
    for (int call = 0; call < 3 && events.Core().RoundState == kRoundRunning; ++call) {
      const int first = 1 + call % b.Options.Warriors;
      // Long enough that a look for breakpoints in these small cores is worth it; the last
      // call runs the round to its end.
      const int32_t cycles = call < 2 ? 100 : std::numeric_limits<int32_t>::max();
      events.Core().RunCycles(cycles, first);
      markers.Core().RunCycles(cycles, first);
      ExpectSameState(events, markers, b.Seed);
      if (HasFatalFailure()) return;
      for (int32_t a = 0; a < events.Core().CoreSize; ++a)
        ASSERT_EQ(events.At(a).Marker, markers.At(a).Marker) << "seed " << b.Seed << " cell " << a;
      ++runs;
    }
  }
  EXPECT_GT(runs, 2000);
}

} // namespace
} // namespace velmora::test
