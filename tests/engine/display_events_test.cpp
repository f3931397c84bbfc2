// What the display path reports and records: colours and event kinds per display level, the cells'
// markers, the events of a run handed over in batches, and breakpoint counters, frequencies and the
// order of hits.
#include <gtest/gtest.h>

#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

using Px = RecordingForm::Pixel;

struct EventRow {
  const char* what;
  int32_t level;
  std::vector<std::string> cells; // from 100
  std::vector<Px> pixels;
};

// Warrior 2 (colour 2) executes at 100.
const EventRow kEventRows[] = {
    {"imp, level 5", 5, {"MOV.I $0, $1"}, {{100, 2, 1}, {101, 2, 2}}},
    {"imp, level 1", 1, {"MOV.I $0, $1"}, {{100, 2, 1}}},
    {"imp, level 0", 0, {"MOV.I $0, $1"}, {}},
    {"read source", 5, {"ADD.AB $2, $1"}, {{100, 2, 1}, {101, 2, 2}, {102, 2, 5}}},
    {"predecrement", 3, {"MOV.AB #0, <1"}, {{100, 2, 1}, {101, 2, 4}, {100, 2, 2}}},
    {"postincrement", 3, {"MOV.AB #0, }1", "DAT $1, $0"}, {{100, 2, 1}, {101, 2, 3}, {102, 2, 2}}},
    {"indirect read", 5, {"JMP.B @1, $0", "DAT $0, $3"}, {{100, 2, 1}, {101, 2, 5}}},
    {"jump test", 4, {"JMZ.B $0, $1"}, {{100, 2, 1}, {101, 2, 5}}},
    {"jump test below 4", 3, {"JMZ.B $0, $1"}, {{100, 2, 1}}},
    {"compare", 4, {"SEQ.I $1, $2"}, {{100, 2, 1}, {101, 2, 5}, {102, 2, 5}}},
    {"djn", 3, {"DJN.B $0, $1", "DAT $0, $5"}, {{100, 2, 1}, {101, 2, 4}}},
    {"ldp", 2, {"LDP.AB #0, $1"}, {{100, 2, 1}, {101, 2, 2}}},
    {"stp", 5, {"STP.B $2, $1", "DAT $0, $4"}, {{100, 2, 1}, {102, 2, 5}}},
    {"div survives",
     5,
     {"DIV.B $2, $1", "DAT $0, $9", "DAT $0, $3"},
     {{100, 2, 1}, {101, 2, 2}, {102, 2, 5}}},
    {"div dies", 5, {"DIV.B $2, $1", "DAT $0, $9", "DAT $0, $0"}, {{100, 2, 1}}},
    {"spl", 5, {"SPL.B $3, $0"}, {{100, 2, 1}}},
};

TEST(DisplayEvents, ColourPixelsPerLevel) {
  for (const EventRow& r : kEventRows) {
    Harness h({.Warriors = 2, .DisplayLevel = r.level});
    h.Put(100, r.cells);
    h.Start(2, 100);
    h.Core().ExecuteStep(h.Warrior(2));
    EXPECT_EQ(h.Form.Pixels, r.pixels) << r.what;
  }
}

TEST(DisplayEvents, ImpLeavesExecuteAndWriteMarkers) {
  Harness h({.Warriors = 11}); // warriors nine and up reuse the colours: 11 has colour 3
  h.Put(100, {"MOV.I $0, $1"});
  h.At(100).Marker = 0x51;
  h.Start(11, 100);
  h.Core().ExecuteStep(h.Warrior(11));
  EXPECT_EQ(std::tuple(h.At(100).Marker, h.At(101).Marker), std::tuple(0x13, 0x23))
      << "MOV.I on the display path does not copy the marker";
  // The fast path copies the whole cell, marker included, and reports nothing.
  h.Form.Pixels.clear();
  h.Core().ExecuteStepFast(h.Warrior(11), true);
  EXPECT_EQ(h.At(102).Marker, 0x23);
  EXPECT_TRUE(h.Form.Pixels.empty());
}

// A run collects its events and hands them over in batches: every event must arrive, in the order
// that single steps report them, then the red next instructions. Several thousand events fill the
// collection more than once.
TEST(DisplayEvents, ARunReportsWhatItsStepsReport) {
  for (const int32_t limit : {0, 400}) {
    const HarnessOptions o{.Warriors = 2, .ReadLimit = limit, .WriteLimit = limit};
    Harness run(o), steps(o);
    for (Harness* h : {&run, &steps}) {
      h->BeginRound({{100, {"ADD.AB #4, $3", "MOV.I $2, @2", "JMP.B $-2, $0", "DAT #0, #0"}},
                     {4000, {"SPL.B #0, <-20", "MOV.I {-1, <-1", "JMP.B $-2, }-2"}}});
    }
    constexpr int kCycles = 900;
    run.Core().RunCycles(kCycles, 1);
    for (int cycle = 0; cycle < kCycles; ++cycle) {
      steps.Core().ExecuteStep(steps.Warrior(1));
      steps.Core().ExecuteStep(steps.Warrior(2));
    }
    std::vector<Px> expected = steps.Form.Pixels;
    ASSERT_GT(expected.size(), 3000u) << "limit " << limit;
    expected.push_back({steps.Core().QueueEntry(steps.Warrior(1), 0), -1, 1});
    expected.push_back({steps.Core().QueueEntry(steps.Warrior(2), 0), -1, 1});
    EXPECT_EQ(run.Form.Pixels, expected) << "limit " << limit;
  }
}

// Registrations: adding again resets the counter, removing unregisters, a frequency of 2 fires
// every second event, a type carried by a cell but never registered gets a fresh counter, and an
// event on a cell without a type is reported.
TEST(Breakpoints, CountersAndRegistrations) {
  Harness h;
  h.Core().AddBreakpoint(7);
  h.Core().AddBreakpoint(9);
  h.Core().BreakpointCounters[0] = 5;
  h.Core().AddBreakpoint(7);
  EXPECT_EQ(h.Core().BreakpointCounters, (std::vector<int32_t>{0, 0}));
  h.Core().RemoveBreakpoint(7);
  h.Core().RemoveBreakpoint(42);
  EXPECT_EQ(std::tuple(h.Core().BreakpointAddresses, h.Core().BreakpointCounters.size()),
            std::tuple(std::vector{9}, 1u));

  h.Core().BreakpointTypes[3] =
      TBreakpointRec{.Execute = true, .Frequency = 2, .TestExpression = ""};
  h.Core().BreakpointTypeCount = 4;
  h.At(11).BreakpointType = 3; // carries a type, never registered
  h.Core().BreakpointEvent(11, h.At(11));
  EXPECT_TRUE(h.Core().HitList.empty());
  EXPECT_EQ(h.Core().BreakpointCounters, (std::vector<int32_t>{0, 1}));
  h.Core().BreakpointEvent(11, h.At(11));
  EXPECT_EQ(h.Core().HitList, std::vector<int32_t>{11});
  h.Core().BreakpointEvent(12, h.At(12));
  EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"No BreakpointList defined at 12"});
  EXPECT_EQ(h.Core().BreakpointAddresses, (std::vector<int32_t>{9, 11}));
}

TEST(Breakpoints, AFrequencyOfTwoStopsEverySecondCycleAndHitsComeInTurnOrder) {
  Harness h({.Warriors = 2});
  h.Core().BreakpointTypes[3] =
      TBreakpointRec{.Execute = true, .Frequency = 2, .TestExpression = ""};
  h.Core().BreakpointTypeCount = 4;
  h.BeginRound({{100, {"JMP.B $0, $0"}}, {200, {"JMP.B $0, $0"}}});
  h.At(100).BreakpointType = 3;
  h.At(200).BreakpointType = 1;
  h.Core().AddBreakpoint(200);
  h.Core().AddBreakpoint(100);
  std::vector<int32_t> cyclesAtStop;
  std::vector<std::vector<int32_t>> hits;
  for (int i = 0; i < 5; ++i) {
    if (i == 3) h.At(200).BreakpointType = 0; // from now on only the one at 100
    h.Core().RunCycles(10, 2);
    cyclesAtStop.push_back(h.Core().CycleCount);
    hits.push_back(h.Core().HitList);
  }
  EXPECT_EQ(cyclesAtStop, (std::vector<int32_t>{1, 2, 3, 4, 6}));
  EXPECT_EQ(hits, (std::vector<std::vector<int32_t>>{{200}, {200, 100}, {200}, {100}, {100}}));
}

} // namespace
} // namespace velmora::test
