// The display path, the display path that only leaves the Markers and the fast path must leave
// identical cores, queues, counts, P-space and outcomes, and the two display paths identical
// Markers. Thousands of random battles (random cells of every code, 1 to 4 warriors with random
// queues, random core sizes, limits equal to or below the core size) check it.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

#include "tests/support/random_battle.h"

namespace velmora::test {
namespace {

void ExpectSameState(Harness& display, Harness& fast, uint32_t seed) {
  TCore& d = display.Core();
  TCore& f = fast.Core();
  for (int32_t a = 0; a < d.CoreSize; ++a)
    ASSERT_TRUE(SameInstruction(display.At(a), fast.At(a)))
        << "seed " << seed << " cell " << a << ": " << CellText(display.At(a)) << " vs "
        << CellText(fast.At(a));
  const auto round = [](TCore& c) {
    return std::tuple(c.RoundState, c.Winner, c.CycleCount, c.AliveCount);
  };
  ASSERT_EQ(round(d), round(f)) << "seed " << seed;
  for (int k = 1; k <= d.NumWarriors; ++k) {
    const auto warrior = [k](Harness& h) {
      const TWarrior& w = h.Warrior(k);
      return std::tuple(w.Alive, w.ProcessCount, w.QueueHead, w.QueueTail, h.Core().QueueEntries(w),
                        w.LastResult, *w.PSpace);
    };
    ASSERT_EQ(warrior(display), warrior(fast)) << "seed " << seed << " warrior " << k;
  }
}

// Runs the battles from identical starts on the display path, on the display path that only
// leaves the Markers (the display reads them itself; with no breakpoint in the core it leaves
// out event collection and breakpoint checks) and on the fast path; returns how they ended.
struct Endings {
  int Decided = 0, Drawn = 0, Folded = 0;
};

Endings RunAll(int battles, uint32_t seed, bool knownForms) {
  std::mt19937 rng(seed);
  Endings e;
  for (int battle = 0; battle < battles; ++battle) {
    RandomBattle b = DrawBattle(rng);
    b.KnownForms = knownForms;
    if (knownForms) b.Options.ReadLimit = b.Options.WriteLimit = b.Options.CoreSize;
    Harness display(b.Options), markers(b.Options), fast(b.Options);
    for (Harness* h : {&display, &markers, &fast})
      PopulateBattle(*h, b);
    markers.Core().CollectPixels = false;
    fast.Core().MaxSpeed = true;
    const bool noFold =
        b.Options.ReadLimit == b.Options.CoreSize && b.Options.WriteLimit == b.Options.CoreSize;
    e.Folded += noFold ? 0 : 1;
    // Several calls, as the run loop makes them, each with its own first warrior; long enough
    // that a look for breakpoints in these small cores is worth it; the last to the end.
    for (int call = 0; call < 4 && display.Core().RoundState == kRoundRunning; ++call) {
      const int first = 1 + call % b.Options.Warriors;
      const int32_t cycles = call < 3 ? 100 : std::numeric_limits<int32_t>::max();
      for (Harness* h : {&display, &markers, &fast})
        h->Core().RunCycles(cycles, first);
      ExpectSameState(display, fast, b.Seed);
      ExpectSameState(display, markers, b.Seed);
      if (::testing::Test::HasFatalFailure()) return e;
      for (int32_t a = 0; a < display.Core().CoreSize; ++a)
        if (display.At(a).Marker != markers.At(a).Marker) {
          ADD_FAILURE() << "seed " << b.Seed << " cell " << a << ": Markers differ";
          return e;
        }
    }
    e.Decided += display.Core().RoundState == kRoundDecided;
    e.Drawn += display.Core().RoundState == kRoundDrawn;
  }
  return e;
}

// Random battles, then the forms with code of their own thick on the ground: imps wrapping at
// the core's end, splits into a full queue, jumps onto dead cells. The samples must reach
// every kind of ending, and the first both kinds of limits, to mean anything.
TEST(PathsAgree, RandomBattlesAndKnownForms) {
  const Endings e = RunAll(3000, 20261206, false);
  if (HasFailure()) return;
  EXPECT_GT(std::min(e.Decided, e.Drawn), 100);
  EXPECT_GT(e.Folded, 500);
  const Endings k = RunAll(1500, 20261207, true);
  if (HasFailure()) return;
  EXPECT_GT(std::min(k.Decided, k.Drawn), 50);
}

} // namespace
} // namespace velmora::test
