// Breakpoints around round set-up and the fast path: an execute breakpoint fires before its
// cell runs, never at set-up; a type carried by the fast path's MOV.I is registered when an
// event reaches it.
#include <gtest/gtest.h>

#include "tests/engine/setup_support.h"

namespace velmora::test {
namespace {

TEST(BreakpointSetup, ExecuteBreakpointFiresWhenTheCellIsNextToRun) {
  SetupOptions o;
  o.SecondPosition = 500;
  SetupHarness h(o);
  // Warrior 1 starts on a breakpoint; warrior 2 reaches one after two steps.
  h.SetCode(1, {"JMP.B $0, $0"});
  h.SetCode(2, {"NOP.F $0, $0", "NOP.F $0, $0", "JMP.B $0, $0"});
  h.Warrior(1).Code[0].BreakpointType = 0;
  h.Warrior(2).Code[2].BreakpointType = 1;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_TRUE(h.Core().HitList.empty()) << "set-up fires nothing";
  h.Core().RunCycles(10, 1);
  EXPECT_EQ(h.Core().CycleCount, 2);
  EXPECT_EQ(h.Core().HitList, std::vector<int32_t>{502});
  EXPECT_EQ(h.Core().QueueEntry(h.Warrior(2), 0), 502) << "the cell has not run yet";
}

TEST(BreakpointSetup, FastPathCopyIsRegisteredWhenAnEventReachesIt) {
  SetupOptions o;
  o.Warriors = 1;
  SetupHarness h(o);
  // A movable execute breakpoint on an imp: the fast path drags it along unregistered.
  h.SetCode(1, {"MOV.I $0, $1"});
  h.Warrior(1).Code[0].BreakpointType = 2;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  h.Core().MaxSpeed = true;
  h.Core().RunCycles(3, 1);
  EXPECT_EQ(h.At(3).BreakpointType, 2);
  EXPECT_EQ(h.Core().BreakpointAddresses, std::vector<int32_t>{0});

  h.Core().MaxSpeed = false;
  h.Core().RunCycles(1, 1); // the imp moves onto cell 4; its execute event is at 4
  EXPECT_TRUE(h.Platform.Messages.empty()) << h.Platform.Messages.front();
  EXPECT_EQ(h.Core().HitList, std::vector<int32_t>{4});
  EXPECT_EQ(h.Core().BreakpointAddresses, (std::vector<int32_t>{0, 4}));
  EXPECT_EQ(h.Core().BreakpointCounters, (std::vector<int32_t>{0, 0}));
}

TEST(BreakpointSetup, FreshCounterCountsTowardsTheFrequency) {
  Harness h;
  h.Core().BreakpointTypes[3] = TBreakpointRec{};
  h.Core().BreakpointTypes[3].Execute = true;
  h.Core().BreakpointTypes[3].Frequency = 2;
  h.At(9).BreakpointType = 3; // carries a type, never registered
  h.Core().BreakpointEvent(9, h.At(9));
  EXPECT_TRUE(h.Core().HitList.empty());
  EXPECT_EQ(h.Core().BreakpointCounters, std::vector<int32_t>{1});
  h.Core().BreakpointEvent(9, h.At(9));
  EXPECT_EQ(h.Core().HitList, std::vector<int32_t>{9});
  EXPECT_TRUE(h.Platform.Messages.empty());
}

TEST(BreakpointSetup, EventOnACellWithoutTypeStillReportsTheMissingList) {
  Harness h;
  h.Core().BreakpointEvent(11, h.At(11));
  EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"No BreakpointList defined at 11"});
  EXPECT_TRUE(h.Core().BreakpointAddresses.empty());
}

} // namespace
} // namespace velmora::test
