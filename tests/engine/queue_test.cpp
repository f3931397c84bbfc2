// The shared process ring: where queues start, wrap at the end of the block, the debugger's
// edits (insert, delete, roll, swap, replace) in queues that do and do not run across the end,
// the round's live count after an edit kills or revives a warrior, where a revived queue
// restarts, and the debugger's P-space edits.
#include <gtest/gtest.h>

#include <climits>

#include "engine/pspace_edit.h"
#include "engine/queue_edit.h"
#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

TEST(Queue, StartsAtFixedPlacesAndWrapsAtTheEndOfTheBlock) {
  Harness h(Queue(2, 8000));
  EXPECT_EQ(h.Core().QueueBlockSize, 8001 * 2 * 4);
  h.Start(1, 10);
  h.Start(2, 20);
  EXPECT_EQ(h.Warrior(1).QueueHead, 0);
  EXPECT_EQ(h.Warrior(1).QueueTail, 4);
  EXPECT_EQ(h.Warrior(2).QueueHead, 32004);
  EXPECT_EQ(h.Warrior(2).QueueTail, 32008);
  EXPECT_EQ(h.Core().QueueEntries(h.Warrior(2)), std::vector<int32_t>{20});

  Harness g(Queue(2, 3)); // 8 entries: 32 bytes
  TWarrior& w = g.Warrior(2);
  w.QueueHead = w.QueueTail = 28;
  g.Core().QueueAppend(w, 7);
  g.Core().QueueAppend(w, 8);
  EXPECT_EQ(w.QueueTail, 4);
  EXPECT_EQ(g.Core().QueueTake(w), 7);
  EXPECT_EQ(w.QueueHead, 0);
  EXPECT_EQ(g.Core().QueueTake(w), 8);
  EXPECT_EQ(w.QueueHead, 4);

  // A spinner fills its stretch, which runs across the end of the block, on every path.
  for (Path p : kAllPaths) {
    Harness s(Queue(2, 3)); // warrior 2 from byte 16
    s.Put(100, {"SPL.B $0, $0", "JMP.B $-1, $0"});
    s.Start(2, 100);
    TWarrior& spinner = s.Warrior(2);
    for (int i = 0; i < 9; ++i)
      StepOn(p, s.Core(), spinner);
    EXPECT_EQ(spinner.ProcessCount, 3) << PathName(p);
    EXPECT_EQ(s.Core().QueueEntries(spinner), (std::vector<int32_t>{100, 101, 100}));
    EXPECT_EQ(spinner.QueueHead, (16 + 9 * 4) % 32);
    EXPECT_EQ(spinner.QueueTail, 0);
  }
}

enum class Edit { Insert, Delete, Roll, Swap, Replace };
struct EditRow {
  const char* what;
  Edit edit;
  int32_t p, q; // q: the other entry of a swap, the address of an insert or replace
  std::vector<int32_t> expected;
};
const EditRow kEdits[] = {
    {"insert at the front", Edit::Insert, 0, 9, {9, 1, 2, 3, 4}},
    {"insert in the middle", Edit::Insert, 2, 9, {1, 2, 9, 3, 4}},
    {"insert at the end", Edit::Insert, 4, 9, {1, 2, 3, 4, 9}},
    {"insert -1", Edit::Insert, 1, -1, {1, 7999, 2, 3, 4}},
    {"delete the front", Edit::Delete, 0, 0, {2, 3, 4}},
    {"delete in the middle", Edit::Delete, 1, 0, {1, 3, 4}},
    {"delete the last", Edit::Delete, 3, 0, {1, 2, 3}},
    {"roll line 2 to the top", Edit::Roll, 2, 0, {3, 4, 1, 2}},
    {"roll the last line", Edit::Roll, 3, 0, {4, 1, 2, 3}},
    {"roll the top line", Edit::Roll, 0, 0, {1, 2, 3, 4}},
    {"move the head down", Edit::Swap, 0, 1, {2, 1, 3, 4}},
    {"move the last up", Edit::Swap, 3, 2, {1, 2, 4, 3}},
    {"replace", Edit::Replace, 1, 77, {1, 77, 3, 4}},
    {"replace with -1", Edit::Replace, 3, -1, {1, 2, 3, 7999}},
    {"replace with the core size", Edit::Replace, 0, 8000, {0, 2, 3, 4}},
};

bool Apply(Harness& h, Edit edit, int32_t p, int32_t q) {
  TWarrior& w = h.Warrior(1);
  switch (edit) {
  case Edit::Insert: return InsertProcess(h.Core(), w, p, q);
  case Edit::Delete: return DeleteProcess(h.Core(), w, p);
  case Edit::Roll: return RollProcessToTop(h.Core(), w, p);
  case Edit::Swap: return SwapProcesses(h.Core(), w, p, q);
  default: return ReplaceProcess(h.Core(), w, p, q);
  }
}

// Warrior 1 of two with processes 1, 2, 3, 4 from byte offset `head` of a 16-entry ring.
void FillQueue(Harness& h, int32_t head) {
  TWarrior& w = h.Warrior(1);
  w.QueueHead = w.QueueTail = head;
  for (int32_t a : {1, 2, 3, 4})
    h.Core().QueueAppend(w, a);
  w.ProcessCount = 4;
  w.Alive = true;
}

TEST(Queue, EditsKeepHeadTailAndCountWhetherOrNotTheQueueWraps) {
  for (int32_t head : {0, 56, 60}) // 56: entries at slots 14, 15, 0, 1
    for (const EditRow& r : kEdits) {
      SCOPED_TRACE(std::string(r.what) + " from byte " + std::to_string(head));
      Harness h(Queue(2, 7)); // 16 entries
      FillQueue(h, head);
      TWarrior& w = h.Warrior(1);
      EXPECT_TRUE(Apply(h, r.edit, r.p, r.q));
      EXPECT_EQ(h.Core().QueueEntries(w), r.expected);
      EXPECT_EQ(w.QueueHead, head);
      EXPECT_EQ(w.QueueTail, (head + 4 * int32_t(r.expected.size())) % 64);
    }
  // Positions outside the queue are refused and change nothing.
  const std::tuple<Edit, int32_t, int32_t> refused[] = {
      {Edit::Insert, 5, 9}, {Edit::Insert, -1, 9}, {Edit::Delete, 4, 0}, {Edit::Roll, 4, 0},
      {Edit::Roll, -1, 0},  {Edit::Swap, 3, 4},    {Edit::Replace, 4, 9}};
  for (const auto& [edit, p, q] : refused) {
    Harness h(Queue(2, 7));
    FillQueue(h, 0);
    EXPECT_FALSE(Apply(h, edit, p, q)) << int(edit) << " at " << p;
    EXPECT_EQ(h.Core().QueueEntries(h.Warrior(1)), (std::vector<int32_t>{1, 2, 3, 4}));
  }
  Harness h(Queue(2, 2));
  h.Start(1, 5);
  ASSERT_TRUE(InsertProcess(h.Core(), h.Warrior(1), 0, 6));
  EXPECT_FALSE(InsertProcess(h.Core(), h.Warrior(1), 0, 7));
  EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"Process queue full"});
  EXPECT_EQ(h.Core().QueueEntries(h.Warrior(1)), (std::vector<int32_t>{6, 5}));
}

TEST(Queue, EditsThatKillOrReviveAWarriorKeepTheRoundsCount) {
  Harness h(Queue(2, 10));
  h.Put(0, {"JMP.B $0, $0"});
  h.Put(50, {"JMP.B $0, $0"});
  h.Start(1, 0);
  h.Start(2, 50);
  h.BeginRound();
  TWarrior& w = h.Warrior(2);
  ASSERT_TRUE(DeleteProcess(h.Core(), w, 0));
  EXPECT_FALSE(w.Alive);
  EXPECT_EQ(h.Core().AliveCount, 1);
  ASSERT_TRUE(InsertProcess(h.Core(), w, 0, 50));
  EXPECT_TRUE(w.Alive);
  EXPECT_EQ(h.Core().AliveCount, 2);
  h.Core().RunCycles(10, 1);
  EXPECT_EQ(h.Core().RoundState, kRoundRunning);
  EXPECT_EQ(h.Core().CycleCount, 10);

  ASSERT_TRUE(DeleteProcess(h.Core(), w, 0));
  h.Form.Pixels.clear();
  h.Core().RunCycles(10, 1); // the emptied warrior no longer moves; the round ends
  for (const auto& px : h.Form.Pixels)
    EXPECT_NE(px.Address, 50);
  EXPECT_EQ(h.Core().RoundState, kRoundDecided);
  EXPECT_EQ(h.Core().Winner, 1);
  EXPECT_EQ(h.Warrior(1).LastResult, 1);
  EXPECT_EQ(w.LastResult, 0);
  ASSERT_TRUE(InsertProcess(h.Core(), w, 0, 50));
  EXPECT_EQ(h.Core().AliveCount, 1) << "edits after the round leave its count alone";
}

// Three spinners (SPL 0 / JMP -1) in a ring of 3 x (max + 1) entries; warrior 3 emptied.
struct Spinners : Harness {
  explicit Spinners(int32_t maxProcesses) : Harness(Queue(3, maxProcesses)) {
    for (int k = 1; k <= 3; ++k) {
      Put(100 * k, {"SPL.B $0, $0", "JMP.B $-1, $0"});
      Start(k, 100 * k);
    }
    BeginRound();
    EXPECT_TRUE(DeleteProcess(Core(), Warrior(3), 0));
  }
};

TEST(Queue, ARevivedQueueRestartsWhereItWouldBeHadItNeverDied) {
  Spinners h(3); // 12 slots; warrior k from slot 4(k - 1)
  TWarrior& w3 = h.Warrior(3);
  EXPECT_EQ(w3.QueueHead, 32);
  h.Core().RunCycles(2, 1);
  // Warrior 2's stretch now covers slots 6 to 8, where warrior 3 stopped.
  ASSERT_EQ(h.Warrior(2).QueueHead, 24);
  ASSERT_TRUE(InsertProcess(h.Core(), w3, 0, 300));
  EXPECT_EQ(w3.QueueHead, 40);
  EXPECT_EQ(h.Core().QueueEntries(w3), std::vector<int32_t>{300});
  h.Core().RunCycles(25, 1);
  ASSERT_EQ(h.Core().RoundState, kRoundRunning);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(h.Warrior(k).ProcessCount, 3) << "warrior " << k;
    for (int32_t a : h.Core().QueueEntries(h.Warrior(k)))
      EXPECT_TRUE(a == 100 * k || a == 100 * k + 1) << "warrior " << k << " runs " << a;
  }

  // Out of step: warrior 2's stretch, slots 7 to 9, covers warrior 3's place (8); the first
  // clear stretch follows warrior 1's.
  Spinners s(3);
  s.Warrior(2).QueueHead = 28;
  EXPECT_EQ(RevivalHead(s.Core(), s.Warrior(3)), 12);
  // 33 slots, stretches of 10, heads at 0 and 16: no room for two stretches; the head stays.
  Spinners t(10);
  t.Warrior(2).QueueHead = 64;
  EXPECT_EQ(RevivalHead(t.Core(), t.Warrior(3)), 88);
  // A lone warrior restarts where it stopped.
  Harness h2(Queue(2, 3));
  h2.Start(1, 100);
  h2.Start(2, 200);
  h2.BeginRound();
  h2.Warrior(1).QueueHead = 12;
  ASSERT_TRUE(DeleteProcess(h2.Core(), h2.Warrior(2), 0));
  ASSERT_TRUE(DeleteProcess(h2.Core(), h2.Warrior(1), 0));
  EXPECT_EQ(RevivalHead(h2.Core(), h2.Warrior(1)), 12);
}

TEST(PSpaceEdit, FillsWrapAndLocationZeroIsTheLastResult) {
  struct Row {
    const char* what;
    int32_t location, value, count;
    std::vector<int32_t> written; // locations that must hold the stored value
    int32_t stored;
  };
  const Row rows[] = {
      {"one cell", 7, 12, 1, {7}, 12},
      {"location 0", 0, 5, 1, {0}, 5},
      {"across the end", 499, 9, 3, {499, 0, 1}, 9},
      {"minus one", 10, -1, 2, {10, 11}, 7999},
      {"beyond the core", 3, 8001, 1, {3}, 1},
      {"a huge count writes each location once", 250, 6, INT32_MAX, {}, 6},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    HarnessOptions o;
    o.Warriors = 2;
    Harness h(o);
    TWarrior& w = h.Warrior(1);
    h.Warrior(2).PSpace = w.PSpace; // a sharer sees the cells but keeps its own location 0
    w.LastResult = 42;
    h.Warrior(2).LastResult = 43;
    ASSERT_TRUE(FillPSpace(w, r.location, r.value, r.count, 8000));
    for (int32_t l = 0; l < 500; ++l) {
      const bool written =
          r.written.empty() || std::find(r.written.begin(), r.written.end(), l) != r.written.end();
      EXPECT_EQ(PSpaceValue(w, l), written ? r.stored : l == 0 ? 42 : 0) << l;
      EXPECT_EQ(PSpaceValue(h.Warrior(2), l), l == 0 ? 43 : PSpaceValue(w, l)) << l;
    }
  }
  Harness h;
  TWarrior& w = h.Warrior(1);
  EXPECT_EQ(PSpaceLocations(w), 500);
  const std::tuple<int32_t, int32_t, int32_t> bad[] = {
      {500, 1, 8000}, {-1, 1, 8000}, {0, 0, 8000}, {0, 1, 0}};
  for (const auto& [location, count, size] : bad)
    EXPECT_FALSE(FillPSpace(w, location, 1, count, size)) << location << " " << count;
  EXPECT_EQ(*w.PSpace, TPSpace(500, 0));
  w.PSpace.reset();
  EXPECT_EQ(PSpaceLocations(w), 0);
  EXPECT_FALSE(FillPSpace(w, 0, 1, 1, 8000));
}

} // namespace
} // namespace velmora::test
