// The display path and the fast path must leave identical cores, queues, counts, P-space and
// outcomes. Thousands of random battles (random cells of every code, 1 to 4 warriors with
// random queues, random core sizes, limits equal to or below the core size) check it.
#include <gtest/gtest.h>

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
    RandomBattle b = DrawBattle(rng);
    b.KnownForms = knownForms;
    if (knownForms) b.Options.ReadLimit = b.Options.WriteLimit = b.Options.CoreSize;
    Harness display(b.Options), fast(b.Options);
    PopulateBattle(display, b);
    PopulateBattle(fast, b);
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
    const RandomBattle b = DrawBattle(rng);
    Harness events(b.Options), markers(b.Options);
    PopulateBattle(events, b);
    PopulateBattle(markers, b);
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
