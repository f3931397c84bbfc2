// Stepping back: undoing recorded cycles puts every part of the round back as it was, and running
// them again gives the round it had before; the history's budget, going back to a breakpoint, and
// what empties it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>

#include "tests/support/random_battle.h"

namespace velmora::test {
namespace {

// Everything a cycle can change, compared whole: the core as its bytes, the queue block.
auto Snapshot(Harness& h) {
  TCore& c = h.Core();
  std::vector<std::tuple<bool, int32_t, int32_t, int32_t, int32_t, TPSpace>> warriors;
  for (int k = 1; k <= c.NumWarriors; ++k) {
    const TWarrior& w = h.Warrior(k);
    warriors.emplace_back(w.Alive, w.ProcessCount, w.QueueHead, w.QueueTail, w.LastResult,
                          *w.PSpace);
  }
  const char* core = reinterpret_cast<const char*>(c.Core.data());
  return std::tuple(std::string(core, core + sizeof(CoreCell) * size_t(c.CoreSize)), c.QueueMemory,
                    c.HitList, c.BreakpointAddresses, c.BreakpointCounters, warriors, c.CycleCount,
                    c.AliveCount, c.Winner, c.RoundState);
}
using RoundState = decltype(Snapshot(std::declval<Harness&>()));

struct Call {
  int32_t Cycles, First;
};

// Undoes cycles until the round stands at `cycle`.
void UndoTo(TCore& c, int32_t cycle, uint32_t seed) {
  while (c.CycleCount > cycle)
    ASSERT_TRUE(c.UndoCycle()) << "seed " << seed << " history ended at cycle " << c.CycleCount;
}

TEST(History, UndoingCyclesRestoresTheRoundAndRunningThemAgainRepeatsIt) {
  std::mt19937 rng(20261218);
  int decided = 0, drawn = 0, withHits = 0;
  for (int battle = 0; battle < 2500; ++battle) {
    RandomBattle b = DrawBattle(rng);
    b.Breakpoints = battle % 2 == 0;
    Harness h(b.Options);
    PopulateBattle(h, b);
    TCore& c = h.Core();
    // Half the battles without breakpoints run on the path that only leaves Markers.
    c.CollectPixels = battle % 4 != 1;
    // Snapshots close together, so that undoing crosses many of them.
    c.History.Interval = 8 + battle % 64;
    std::vector<Call> calls;
    std::vector<RoundState> after{Snapshot(h)};
    std::uniform_int_distribution<int> cycles(1, 40);
    while (c.RoundState == kRoundRunning && calls.size() < 12) {
      calls.push_back({cycles(rng), 1 + cycles(rng) % b.Options.Warriors});
      c.RunCycles(calls.back().Cycles, calls.back().First);
      after.push_back(Snapshot(h));
      withHits += c.HitList.empty() ? 0 : 1;
    }
    decided += c.RoundState == kRoundDecided;
    drawn += c.RoundState == kRoundDrawn;
    // Back to the end of a random earlier call, then the same calls again.
    const size_t back = std::uniform_int_distribution<size_t>(0, calls.size())(rng);
    UndoTo(c, std::get<6>(after[back]), b.Seed); // its cycle count
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Snapshot(h) == after[back]) << "seed " << b.Seed << " undone to call " << back;
    for (size_t i = back; i < calls.size(); ++i) {
      c.RunCycles(calls[i].Cycles, calls[i].First);
      ASSERT_TRUE(Snapshot(h) == after[i + 1]) << "seed " << b.Seed << " call " << i + 1;
    }
    UndoTo(c, 0, b.Seed);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Snapshot(h) == after[0]) << "seed " << b.Seed;
    ASSERT_FALSE(c.UndoCycle()) << "seed " << b.Seed;
  }
  // Rounds must end inside the recorded span, both ways, and breakpoints must fire.
  EXPECT_GT(std::min({decided, drawn, withHits}), 200);
}

// With a small budget the oldest snapshots go; undoing stops at the oldest one kept, which leaves
// the round as it stood then. Without room for one snapshot nothing can be undone.
TEST(History, TheBudgetDropsTheOldestCycles) {
  for (const int64_t limit : {int64_t{1}, int64_t{15000}, int64_t{1} << 20}) {
    Harness h({.CoreSize = 400, .Warriors = 2, .MaxProcesses = 64});
    h.BeginRound({{0, {"SPL.B #0, $0", "MOV.I $0, $1"}},
                  {200, {"ADD.AB #4, $3", "MOV.I $2, @2", "JMP.B $-2, $0", "DAT.F #0, #0"}}});
    TCore& c = h.Core();
    c.History.SetLimit(limit);
    std::vector<RoundState> states{Snapshot(h)};
    for (int32_t i = 0; i < 3000 && c.RoundState == kRoundRunning; ++i) {
      c.RunCycles(1, 1);
      states.push_back(Snapshot(h));
      ASSERT_LE(c.History.Bytes(), limit);
    }
    ASSERT_EQ(c.CycleCount, 3000) << "the round must outlast the history";
    const int32_t oldest = c.History.OldestCycle();
    EXPECT_EQ(std::tuple(oldest == -1, oldest > 0, oldest == 0),
              std::tuple(limit == 1, limit == 15000, limit == int64_t{1} << 20));
    int32_t undone = 0;
    while (c.UndoCycle())
      ++undone;
    EXPECT_EQ(undone, oldest < 0 ? 0 : 3000 - oldest) << limit;
    EXPECT_TRUE(Snapshot(h) == states[static_cast<size_t>(c.CycleCount)]) << limit;
  }
}

// Back to a breakpoint set after the cycles ran: the cycle in which it would fire is put back to
// its start; without one the history runs out.
TEST(History, BackToBreakpointStopsAtTheStartOfTheCycleInWhichItWouldFire) {
  struct Case {
    int32_t Cell;
    bool Write; // else execute
    int32_t Frequency;
    int32_t Expected; // the cycle count left
  };
  // The imp at 0 writes cell i in cycle i and is about to run cell i after it.
  for (const Case k : {Case{10, true, 1, 9}, Case{20, false, 1, 19}, Case{29, true, 1, 28},
                       Case{10, true, 0, 0}, Case{31, false, 1, 0}}) {
    Harness h;
    h.BeginRound({{0, {"MOV.I $0, $1"}}});
    TCore& c = h.Core();
    c.RunCycles(30, 1);
    c.BreakpointTypes[3] = {
        .Execute = !k.Write, .Write = k.Write, .Frequency = k.Frequency, .TestExpression = ""};
    // As the debugger sets it: on the cell and in the history.
    h.At(k.Cell).BreakpointType = 3;
    c.AddBreakpoint(k.Cell);
    c.History.SetBreakpoint(k.Cell, 3);
    const TCore::UndoResult back = c.UndoToBreakpoint();
    // The breakpoint set later stays on its cell, and nothing of the probing is left.
    EXPECT_EQ(std::tuple(back.Cycles, back.AtBreakpoint, c.CycleCount, h.At(k.Cell).BreakpointType,
                         c.HitList.size(), c.History.OldestCycle()),
              std::tuple(30 - k.Expected, k.Expected > 0, k.Expected, 3, 0u, 0))
        << k.Cell;
    // The cells the last undone cycle changed: the imp's own cell and the one it wrote.
    if (k.Expected > 0) {
      EXPECT_EQ(c.UndoneCells, (std::vector<int32_t>{k.Expected, k.Expected + 1})) << k.Cell;
    }
    // The fast path, and then a limit of 0, leave nothing to undo.
    c.MaxSpeed = true;
    c.RunCycles(1, 1);
    EXPECT_FALSE(c.CanUndo());
    c.MaxSpeed = false;
    c.History.SetLimit(0);
    c.RunCycles(1, 1);
    EXPECT_FALSE(c.UndoCycle());
  }
}

} // namespace
} // namespace velmora::test
