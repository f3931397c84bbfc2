// The shared process ring under the debugger's edits (insert, delete, roll, swap, replace) in
// queues that do and do not run across the end of the block, the round's live count after an edit
// kills or revives a warrior, and the debugger's P-space edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "engine/pspace_edit.h"
#include "engine/queue_edit.h"
#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

// Edits of warrior 1's queue 1, 2, 3, 4: Insert, Delete, Roll to the top, Swap, rePlace at
// position p with q (an address, or the other position of a swap). Positions outside the
// queue are refused (no queue after) and change nothing.
const std::tuple<char, int32_t, int32_t, std::vector<int32_t>> kEdits[] = {
    {'I', 0, 9, {9, 1, 2, 3, 4}},
    {'I', 2, 9, {1, 2, 9, 3, 4}},
    {'I', 4, 9, {1, 2, 3, 4, 9}},
    {'I', 1, -1, {1, 7999, 2, 3, 4}},
    {'D', 0, 0, {2, 3, 4}},
    {'D', 1, 0, {1, 3, 4}},
    {'D', 3, 0, {1, 2, 3}},
    {'R', 2, 0, {3, 4, 1, 2}},
    {'R', 3, 0, {4, 1, 2, 3}},
    {'R', 0, 0, {1, 2, 3, 4}},
    {'S', 0, 1, {2, 1, 3, 4}},
    {'S', 3, 2, {1, 2, 4, 3}},
    {'P', 1, 77, {1, 77, 3, 4}},
    {'P', 3, -1, {1, 2, 3, 7999}},
    {'P', 0, 8000, {0, 2, 3, 4}},
    {'I', 5, 9, {}},
    {'I', -1, 9, {}},
    {'D', 4, 0, {}},
    {'R', 4, 0, {}},
    {'R', -1, 0, {}},
    {'S', 3, 4, {}},
    {'P', 4, 9, {}}};

bool Apply(Harness& h, char edit, int32_t p, int32_t q) {
  TWarrior& w = h.Warrior(1);
  switch (edit) {
  case 'I': return InsertProcess(h.Core(), w, p, q);
  case 'D': return DeleteProcess(h.Core(), w, p);
  case 'R': return RollProcessToTop(h.Core(), w, p);
  case 'S': return SwapProcesses(h.Core(), w, p, q);
  default: return ReplaceProcess(h.Core(), w, p, q);
  }
}

TEST(Queue, EditsKeepHeadTailAndCountWhetherOrNotTheQueueWraps) {
  for (int32_t head : {0, 56, 60}) // 56: entries at slots 14, 15, 0, 1 of 16
    for (const auto& [edit, p, q, after] : kEdits) {
      SCOPED_TRACE(std::string(1, edit) + " " + std::to_string(p) + " from byte " +
                   std::to_string(head));
      const bool refused = after.empty();
      const std::vector<int32_t> expected = refused ? std::vector{1, 2, 3, 4} : after;
      Harness h({.Warriors = 2, .MaxProcesses = 7});
      TWarrior& w = h.Warrior(1);
      w.QueueHead = w.QueueTail = head;
      for (int32_t a : {1, 2, 3, 4})
        h.Core().QueueAppend(w, a);
      w.ProcessCount = 4;
      w.Alive = true;
      EXPECT_EQ(Apply(h, edit, p, q), !refused);
      EXPECT_EQ(std::tuple(h.Core().QueueEntries(w), w.QueueHead, w.QueueTail),
                std::tuple(expected, head, (head + 4 * int32_t(expected.size())) % 64));
    }
  Harness h({.Warriors = 2, .MaxProcesses = 2});
  h.Start(1, 5);
  ASSERT_TRUE(InsertProcess(h.Core(), h.Warrior(1), 0, 6));
  EXPECT_FALSE(InsertProcess(h.Core(), h.Warrior(1), 0, 7));
  EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"Process queue full"});
  EXPECT_EQ(h.Core().QueueEntries(h.Warrior(1)), (std::vector<int32_t>{6, 5}));
}

TEST(Queue, EditsThatKillOrReviveAWarriorKeepTheRoundsCount) {
  Harness h({.Warriors = 2, .MaxProcesses = 10});
  h.BeginRound({{0, {"JMP.B $0, $0"}}, {50, {"JMP.B $0, $0"}}});
  TWarrior& w = h.Warrior(2);
  ASSERT_TRUE(DeleteProcess(h.Core(), w, 0));
  EXPECT_EQ(std::tuple(w.Alive, h.Core().AliveCount), std::tuple(false, 1));
  ASSERT_TRUE(InsertProcess(h.Core(), w, 0, 50));
  EXPECT_EQ(std::tuple(w.Alive, h.Core().AliveCount), std::tuple(true, 2));
  h.Core().RunCycles(10, 1);
  EXPECT_EQ(std::tuple(h.Core().RoundState, h.Core().CycleCount), std::tuple(kRoundRunning, 10));

  ASSERT_TRUE(DeleteProcess(h.Core(), w, 0));
  h.Form.Pixels.clear();
  h.Core().RunCycles(10,
                     1); // the emptied warrior no longer moves; the round ends
  for (const auto& px : h.Form.Pixels)
    EXPECT_NE(px.Address, 50);
  EXPECT_EQ(std::tuple(h.Core().RoundState, h.Core().Winner, h.Warrior(1).LastResult, w.LastResult),
            std::tuple(kRoundDecided, 1, 1, 0));
  ASSERT_TRUE(InsertProcess(h.Core(), w, 0, 50));
  EXPECT_EQ(h.Core().AliveCount, 1) << "edits after the round leave its count alone";
}

TEST(PSpaceEdit, FillsWrapAndLocationZeroIsTheLastResult) {
  // Location, value, count, the locations that must hold the stored value (empty: all).
  const std::tuple<int32_t, int32_t, int32_t, std::vector<int32_t>, int32_t> rows[] = {
      {7, 12, 1, {7}, 12},         {0, 5, 1, {0}, 5},    {499, 9, 3, {499, 0, 1}, 9},
      {10, -1, 2, {10, 11}, 7999}, {3, 8001, 1, {3}, 1}, {250, 6, INT32_MAX, {}, 6}};
  for (const auto& [location, value, count, written, stored] : rows) {
    Harness h({.Warriors = 2});
    TWarrior &w = h.Warrior(1), &sharer = h.Warrior(2);
    sharer.PSpace = w.PSpace; // sees the cells but keeps its own location 0
    w.LastResult = 42;
    sharer.LastResult = 43;
    ASSERT_TRUE(FillPSpace(w, location, value, count, 8000));
    for (int32_t l = 0; l < 500; ++l) {
      const bool set = written.empty() || std::count(written.begin(), written.end(), l);
      EXPECT_EQ(PSpaceValue(w, l), set ? stored : l == 0 ? 42 : 0) << location << ": " << l;
      EXPECT_EQ(PSpaceValue(sharer, l), l == 0 ? 43 : PSpaceValue(w, l)) << l;
    }
  }
  Harness h;
  TWarrior& w = h.Warrior(1);
  EXPECT_EQ(PSpaceLocations(w), 500);
  const int32_t bad[][3] = {{500, 1, 8000}, {-1, 1, 8000}, {0, 0, 8000}, {0, 1, 0}};
  for (const auto& [location, count, size] : bad)
    EXPECT_FALSE(FillPSpace(w, location, 1, count, size)) << location << " " << count;
  EXPECT_EQ(*w.PSpace, TPSpace(500, 0));
  w.PSpace.reset();
  EXPECT_EQ(PSpaceLocations(w), 0);
  EXPECT_FALSE(FillPSpace(w, 0, 1, 1, 8000));
}

} // namespace
} // namespace velmora::test
