// RunCycles: turn order, the end of a round, the cycle limit, the early-draw test and the
// marks left at the end of a call.
#include <gtest/gtest.h>

#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

HarnessOptions Warriors(int n, int32_t maxCycles = 80000) {
  HarnessOptions o;
  o.Warriors = n;
  o.MaxCycles = maxCycles;
  return o;
}

// Executed cells in the order the display saw them (kind 1, a warrior's colour).
std::vector<int32_t> ExecutedColours(const RecordingForm& f) {
  std::vector<int32_t> colours;
  for (const auto& p : f.Pixels)
    if (p.Kind == 1 && p.Color > 0) colours.push_back(p.Color);
  return colours;
}

TEST(RunCycles, LastProcessDyingEndsTheCycleAtOnce) {
  for (bool fast : {false, true}) {
    Harness h(Warriors(2));
    h.Put(0, {"DAT.F $0, $0"});
    h.Put(100, {"MOV.AB #1, $5"});
    h.Start(1, 0);
    h.Start(2, 100);
    h.BeginRound();
    h.Core().MaxSpeed = fast;
    h.Core().RunCycles(10, 1);
    EXPECT_EQ(h.Core().RoundState, kRoundDecided);
    EXPECT_EQ(h.Core().Winner, 2);
    EXPECT_EQ(h.Core().CycleCount, 1);
    EXPECT_EQ(h.Core().QueueEntries(h.Warrior(2)), std::vector<int32_t>{100}) << "warrior 2 moved";
    EXPECT_EQ(h.At(105).BField, 0);
    EXPECT_EQ(h.Warrior(2).LastResult, 1);
    EXPECT_EQ(h.Warrior(1).LastResult, 0);
  }
}

TEST(RunCycles, ThreeWarriorsGoOnUntilOneIsLeft) {
  Harness h(Warriors(3));
  h.Put(0, {"DAT.F $0, $0"});
  h.Put(100, {"JMP.B $1, $0", "DAT.F $0, $0"});
  h.Put(200, {"JMP.B $0, $0"});
  h.Start(1, 0);
  h.Start(2, 100);
  h.Start(3, 200);
  h.BeginRound();
  h.Core().RunCycles(1, 1);
  EXPECT_EQ(h.Core().RoundState, kRoundRunning);
  EXPECT_EQ(h.Core().AliveCount, 2);
  EXPECT_EQ(h.Core().Winner, 0);
  h.Core().RunCycles(5, 1);
  EXPECT_EQ(h.Core().RoundState, kRoundDecided);
  EXPECT_EQ(h.Core().Winner, 3);
  EXPECT_EQ(h.Core().CycleCount, 2);
  EXPECT_EQ(h.Warrior(3).LastResult, 1);
  EXPECT_EQ(h.Warrior(2).LastResult, 0);
}

TEST(RunCycles, OneWarriorEndsWhenItDiesOrDrawsAtTheLimit) {
  {
    Harness h(Warriors(1));
    h.Put(0, {"JMP.B $1, $0", "DAT.F $0, $0"});
    h.Start(1, 0);
    h.BeginRound();
    h.Core().RunCycles(100, 1);
    EXPECT_EQ(h.Core().RoundState, kRoundDecided);
    EXPECT_EQ(h.Core().Winner, 1);
    EXPECT_EQ(h.Core().CycleCount, 2);
  }
  {
    Harness h(Warriors(1, 50));
    h.Put(0, {"JMP.B $0, $0"});
    h.Start(1, 0);
    h.BeginRound();
    h.Core().RunCycles(1000, 1);
    EXPECT_EQ(h.Core().RoundState, kRoundDrawn);
    EXPECT_EQ(h.Core().CycleCount, 50);
    EXPECT_EQ(h.Warrior(1).LastResult, 1);
  }
}

TEST(RunCycles, CycleLimitDrawsWithBothAlive) {
  for (bool fast : {false, true}) {
    Harness h(Warriors(2, 1000));
    h.Put(0, {"JMP.B $0, $0"});
    h.Put(100, {"SPL.B $0, $0", "JMP.B $-1, $0"});
    h.Start(1, 0);
    h.Start(2, 100);
    h.BeginRound();
    h.Core().MaxSpeed = fast;
    h.Core().RunCycles(400, 1);
    EXPECT_EQ(h.Core().RoundState, kRoundRunning);
    EXPECT_EQ(h.Core().CycleCount, 400);
    h.Core().RunCycles(5000, 1);
    EXPECT_EQ(h.Core().RoundState, kRoundDrawn);
    EXPECT_EQ(h.Core().CycleCount, 1000);
    EXPECT_EQ(h.Warrior(1).LastResult, 2);
    EXPECT_EQ(h.Warrior(2).LastResult, 2);
  }
}

TEST(RunCycles, FirstWarriorRotatesTheOrder) {
  struct Row {
    int first;
    std::vector<int32_t> order;
  };
  const Row rows[] = {{1, {1, 2, 3, 1, 2, 3}}, {2, {2, 3, 1, 2, 3, 1}}, {3, {3, 1, 2, 3, 1, 2}}};
  for (const Row& r : rows) {
    Harness h(Warriors(3));
    for (int k = 1; k <= 3; ++k) {
      h.Put(k * 100, {"JMP.B $0, $0"});
      h.Start(k, k * 100);
    }
    h.BeginRound();
    h.Core().RunCycles(2, r.first);
    EXPECT_EQ(ExecutedColours(h.Form), r.order) << "first warrior " << r.first;
  }
}

TEST(RunCycles, EarlyDrawWhenEveryProcessIsAnImp) {
  struct Row {
    std::vector<std::string> second;
    uint8_t expected;
  };
  const Row rows[] = {{{"MOV.I $0, $1"}, kRoundDrawn},
                      {{"MOV.I #7, $1"}, kRoundDrawn},
                      {{"JMP.B $0, $0"}, kRoundRunning},
                      {{"MOV.I $0, $2", "MOV.I $1, $1", "MOV.I $0, $1"}, kRoundRunning},
                      {{"MOV.I $0, $2", "JMP.B $-1, $0"}, kRoundRunning}};
  for (const Row& r : rows) {
    HarnessOptions o = Warriors(2);
    o.EarlyDrawCheck = true;
    Harness h(o);
    h.Put(0, {"MOV.I $0, $1"});
    h.Put(4000, r.second);
    h.Start(1, 0);
    h.Start(2, 4000);
    h.BeginRound();
    ASSERT_GT(h.Core().LethalCount, 0);
    h.Core().RunCycles(3, 1);
    EXPECT_EQ(h.Core().RoundState, r.expected) << r.second.front();
  }
}

TEST(RunCycles, EarlyDrawWithoutLethalCells) {
  HarnessOptions o = Warriors(2);
  o.EarlyDrawCheck = true;
  Harness h(o);
  h.Put(0, {"JMP.B $0, $0"});
  h.Put(100, {"SPL.B $0, $0"});
  h.Start(1, 0);
  h.Start(2, 100);
  h.BeginRound();
  h.Core().LethalCount = 0;
  h.Core().RunCycles(1, 1);
  EXPECT_EQ(h.Core().RoundState, kRoundDrawn);
  EXPECT_EQ(h.Warrior(1).LastResult, 2);
}

// Also while the display reads the Markers itself: a run with no breakpoint in the core then
// takes a path without breakpoint checks, and one breakpoint anywhere must still stop it.
TEST(RunCycles, BreakpointStopsAfterTheCycleInWhichItFired) {
  for (const bool collect : {true, false}) {
    Harness h(Warriors(2));
    h.Put(0, {"MOV.I $0, $1"});
    h.Put(4000, {"JMP.B $0, $0"});
    h.At(4).BreakpointType = 1;
    h.Core().AddBreakpoint(4);
    h.Start(1, 0);
    h.Start(2, 4000);
    h.BeginRound();
    h.Core().CollectPixels = collect;
    h.Core().RunCycles(2048, 1);
    EXPECT_EQ(h.Core().CycleCount, 4) << "collect " << collect;
    EXPECT_EQ(h.Core().HitList, std::vector<int32_t>{4}) << "collect " << collect;
    // The fast path ignores breakpoints.
    h.Core().MaxSpeed = true;
    h.Core().HitList.clear();
    h.Core().RunCycles(100, 1);
    EXPECT_EQ(h.Core().CycleCount, 104);
    EXPECT_TRUE(h.Core().HitList.empty());
  }
}

TEST(RunCycles, MarksEachLiveWarriorsNextInstructionAtTheEnd) {
  Harness h(Warriors(2));
  h.Put(0, {"JMP.B $5, $0"});
  h.Put(100, {"DAT.F $0, $0"});
  h.Put(200, {"JMP.B $0, $0"});
  h.Start(1, 0);
  h.Start(2, 200);
  h.BeginRound();
  h.Core().RunCycles(1, 1);
  ASSERT_GE(h.Form.Pixels.size(), 2u);
  const std::vector<RecordingForm::Pixel> tail(h.Form.Pixels.end() - 2, h.Form.Pixels.end());
  EXPECT_EQ(tail, (std::vector<RecordingForm::Pixel>{{5, -1, 1}, {200, -1, 1}}));
  h.Form.Pixels.clear();
  h.Core().MaxSpeed = true;
  h.Core().RunCycles(1, 1);
  EXPECT_TRUE(h.Form.Pixels.empty());
}

TEST(RunCycles, NothingRunsWithoutCycles) {
  Harness h(Warriors(1));
  h.Put(0, {"MOV.I $0, $1"});
  h.Start(1, 0);
  h.BeginRound();
  h.Core().RunCycles(0, 1);
  EXPECT_EQ(h.Core().CycleCount, 0);
  EXPECT_EQ(h.At(1).OpcodeModifier, kEmptyCellOpcodeModifier);
}

} // namespace
} // namespace velmora::test
