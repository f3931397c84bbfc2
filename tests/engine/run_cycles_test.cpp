// RunCycles on the display path and the fast path: the end of a round, the cycle limit and the
// early-draw test.
#include <gtest/gtest.h>

#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

struct Round {
  const char* what;
  int32_t maxCycles;
  bool earlyDraw;
  std::vector<std::pair<int32_t, std::vector<std::string>>> warriors; // address, code
  std::vector<int32_t> calls;                                         // cycles, first warrior 1
  uint8_t state;
  int32_t winner, cycles, alive;
  std::vector<int32_t> lastResults; // empty: not looked at
  bool noLethalCells = false;
};

// clang-format off
const Round kRounds[] = {
    {"the last process dying ends the cycle at once", 80000, false, {{0, {"DAT.F $0, $0"}}, {100,
     {"MOV.AB #1, $5"}}}, {10}, kRoundDecided, 2, 1, 1, {0, 1}},
    {"three warriors go on until one is left", 80000, false, {{0, {"DAT.F $0, $0"}}, {100,
     {"JMP.B $1, $0", "DAT.F $0, $0"}}, {200, {"JMP.B $0, $0"}}}, {1}, kRoundRunning, 0, 1, 2, {}},
    {"three warriors, to the end", 80000, false, {{0, {"DAT.F $0, $0"}}, {100, {"JMP.B $1, $0",
     "DAT.F $0, $0"}}, {200, {"JMP.B $0, $0"}}}, {1, 5}, kRoundDecided, 3, 2, 1, {0, 0, 1}},
    {"a lone warrior that dies wins", 80000, false, {{0, {"JMP.B $1, $0", "DAT.F $0, $0"}}}, {100},
     kRoundDecided, 1, 2, 0, {}},
    {"a lone warrior draws at the limit", 50, false, {{0, {"JMP.B $0, $0"}}}, {1000}, kRoundDrawn,
     0, 50, 1, {1}},
    {"a batch stops short of the limit", 1000, false, {{0, {"JMP.B $0, $0"}}, {100,
     {"SPL.B $0, $0", "JMP.B $-1, $0"}}}, {400}, kRoundRunning, 0, 400, 2, {}},
    {"the cycle limit draws with both alive", 1000, false, {{0, {"JMP.B $0, $0"}}, {100,
     {"SPL.B $0, $0", "JMP.B $-1, $0"}}}, {400, 5000}, kRoundDrawn, 0, 1000, 2, {2, 2}},
    {"nothing runs without cycles", 80000, false, {{0, {"MOV.I $0, $1"}}}, {0}, kRoundRunning, 0,
     0, 1, {}},
    // The early-draw test: every process on an imp (MOV.I with a B offset of 1) with lethal
    // cells about, or no lethal cell at all.
    {"two imps", 80000, true, {{0, {"MOV.I $0, $1"}}, {4000, {"MOV.I $0, $1"}}}, {3}, kRoundDrawn,
     0, 3, 2, {2, 2}},
    {"an imp with an immediate A", 80000, true, {{0, {"MOV.I $0, $1"}}, {4000, {"MOV.I #7, $1"}}},
     {3}, kRoundDrawn, 0, 3, 2, {}},
    {"an imp and a loop", 80000, true, {{0, {"MOV.I $0, $1"}}, {4000, {"JMP.B $0, $0"}}}, {3},
     kRoundRunning, 0, 3, 2, {}},
    {"an imp and an imp gate", 80000, true, {{0, {"MOV.I $0, $1"}}, {4000, {"MOV.I $0, $2",
     "MOV.I $1, $1", "MOV.I $0, $1"}}}, {3}, kRoundRunning, 0, 3, 2, {}},
    {"an imp and a two-step", 80000, true, {{0, {"MOV.I $0, $1"}}, {4000, {"MOV.I $0, $2",
     "JMP.B $-1, $0"}}}, {3}, kRoundRunning, 0, 3, 2, {}},
    {"no lethal cells", 80000, true, {{0, {"JMP.B $0, $0"}}, {100, {"SPL.B $0, $0"}}}, {1},
     kRoundDrawn, 0, 1, 2, {2, 2}, true},
    {"no lethal cells, no check", 80000, false, {{0, {"JMP.B $0, $0"}}, {100, {"SPL.B $0, $0"}}},
     {1}, kRoundRunning, 0, 1, 2, {}, true},
};
// clang-format on

TEST(RunCycles, RoundsEndAsTheyShouldOnBothPaths) {
  for (const Round& r : kRounds)
    for (bool fast : {false, true}) {
      SCOPED_TRACE(std::string(r.what) + (fast ? " (fast)" : " (display)"));
      Harness h({.Warriors = int32_t(r.warriors.size()),
                 .MaxCycles = r.maxCycles,
                 .EarlyDrawCheck = r.earlyDraw});
      h.BeginRound(r.warriors);
      if (r.noLethalCells) h.Core().LethalCount = 0;
      h.Core().MaxSpeed = fast;
      for (int32_t cycles : r.calls)
        h.Core().RunCycles(cycles, 1);
      EXPECT_EQ(std::tuple(h.Core().RoundState, h.Core().Winner, h.Core().CycleCount,
                           h.Core().AliveCount),
                std::tuple(r.state, r.winner, r.cycles, r.alive));
      for (size_t k = 0; k < r.lastResults.size(); ++k)
        EXPECT_EQ(h.Warrior(int(k) + 1).LastResult, r.lastResults[k]) << "warrior " << k + 1;
      // The processes not run stay where they were.
      const int last = int(r.warriors.size());
      if (r.cycles == 0 || r.winner == 2) {
        EXPECT_EQ(h.Core().QueueEntry(h.Warrior(last), 0), r.warriors.back().first);
      }
    }
}

} // namespace
} // namespace velmora::test
