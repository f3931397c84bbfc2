// The debugger's queue edits: rolling, swapping and replacing entries in queues that do and
// do not run across the end of the ring, the round's live count after killing or reviving a
// warrior, and where a revived warrior's queue restarts.
#include <gtest/gtest.h>

#include "engine/queue_edit.h"
#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

// Warrior 1 of two with processes 1, 2, 3, 4 from byte offset `head` of a 16-entry ring.
void FillQueue(Harness& h, int32_t head) {
  TWarrior& w = h.Warrior(1);
  w.QueueHead = w.QueueTail = head;
  for (int32_t a : {1, 2, 3, 4})
    h.Core().QueueAppend(w, a);
  w.ProcessCount = 4;
  w.Alive = true;
}

enum class Edit { Roll, Swap, Replace };

struct EditRow {
  const char* what;
  Edit edit;
  int32_t p, q; // q: the other entry of a swap, the address of a replace
  std::vector<int32_t> expected;
};

const EditRow kEdits[] = {
    {"roll line 2 to the top", Edit::Roll, 2, 0, {3, 4, 1, 2}},
    {"roll the last line", Edit::Roll, 3, 0, {4, 1, 2, 3}},
    {"roll the top line", Edit::Roll, 0, 0, {1, 2, 3, 4}},
    {"move the head down", Edit::Swap, 0, 1, {2, 1, 3, 4}},
    {"move the last up", Edit::Swap, 3, 2, {1, 2, 4, 3}},
    {"replace", Edit::Replace, 1, 77, {1, 77, 3, 4}},
    {"replace with -1", Edit::Replace, 3, -1, {1, 2, 3, 7999}},
    {"replace with the core size", Edit::Replace, 0, 8000, {0, 2, 3, 4}},
};

TEST(QueueEdit, EditsKeepHeadTailAndCountWhetherOrNotTheQueueWraps) {
  for (int32_t head : {0, 56}) { // 56: entries at slots 14, 15, 0, 1
    for (const EditRow& r : kEdits) {
      Harness h(Queue(2, 7)); // 16 entries
      FillQueue(h, head);
      TWarrior& w = h.Warrior(1);
      const bool done = r.edit == Edit::Roll   ? RollProcessToTop(h.Core(), w, r.p)
                        : r.edit == Edit::Swap ? SwapProcesses(h.Core(), w, r.p, r.q)
                                               : ReplaceProcess(h.Core(), w, r.p, r.q);
      EXPECT_TRUE(done) << r.what << " at " << head;
      EXPECT_EQ(h.Core().QueueEntries(w), r.expected) << r.what << " at " << head;
      EXPECT_EQ(w.QueueHead, head) << r.what;
      EXPECT_EQ(w.QueueTail, (head + 16) % 64) << r.what;
      EXPECT_EQ(w.ProcessCount, 4) << r.what;
    }
  }
}

TEST(QueueEdit, PositionsOutsideTheQueueAreRefused) {
  Harness h(Queue(2, 7));
  FillQueue(h, 0);
  TWarrior& w = h.Warrior(1);
  EXPECT_FALSE(RollProcessToTop(h.Core(), w, 4));
  EXPECT_FALSE(RollProcessToTop(h.Core(), w, -1));
  EXPECT_FALSE(SwapProcesses(h.Core(), w, 3, 4));
  EXPECT_FALSE(ReplaceProcess(h.Core(), w, 4, 9));
  EXPECT_FALSE(DeleteProcess(h.Core(), w, 4));
  EXPECT_EQ(h.Core().QueueEntries(w), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(QueueEdit, FullQueueIsRefused) {
  Harness h(Queue(2, 2));
  h.Start(1, 5);
  TWarrior& w = h.Warrior(1);
  ASSERT_TRUE(InsertProcess(h.Core(), w, 0, 6));
  EXPECT_FALSE(InsertProcess(h.Core(), w, 0, 7));
  EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"Process queue full"});
  EXPECT_EQ(h.Core().QueueEntries(w), (std::vector<int32_t>{6, 5}));
}

// Two warriors looping on the spot, round running.
void StartLoopers(Harness& h) {
  h.Put(0, {"JMP.B $0, $0"});
  h.Put(50, {"JMP.B $0, $0"});
  h.Start(1, 0);
  h.Start(2, 50);
  h.BeginRound();
}

TEST(QueueEdit, DeletingTheLastProcessEndsTheRoundForTheSurvivor) {
  Harness h(Queue(2, 10));
  StartLoopers(h);
  ASSERT_TRUE(DeleteProcess(h.Core(), h.Warrior(2), 0));
  EXPECT_FALSE(h.Warrior(2).Alive);
  EXPECT_EQ(h.Core().AliveCount, 1);
  h.Core().RunCycles(10, 1);
  EXPECT_EQ(h.Core().RoundState, kRoundDecided);
  EXPECT_EQ(h.Core().Winner, 1);
  EXPECT_EQ(h.Warrior(1).LastResult, 1);
  EXPECT_EQ(h.Warrior(2).LastResult, 0);
}

TEST(QueueEdit, AddingToADeadWarriorRevivesItForTheRound) {
  Harness h(Queue(2, 10));
  StartLoopers(h);
  ASSERT_TRUE(DeleteProcess(h.Core(), h.Warrior(2), 0));
  ASSERT_TRUE(InsertProcess(h.Core(), h.Warrior(2), 0, 50));
  EXPECT_TRUE(h.Warrior(2).Alive);
  EXPECT_EQ(h.Core().AliveCount, 2);
  h.Core().RunCycles(10, 1);
  EXPECT_EQ(h.Core().RoundState, kRoundRunning);
  EXPECT_EQ(h.Core().CycleCount, 10);
}

TEST(QueueEdit, EditsAfterTheRoundLeaveItsCountsAlone) {
  Harness h(Queue(2, 10));
  StartLoopers(h);
  h.Core().RoundState = kRoundDrawn;
  ASSERT_TRUE(DeleteProcess(h.Core(), h.Warrior(2), 0));
  EXPECT_EQ(h.Core().AliveCount, 2);
}

// Three spinners (SPL 0 / JMP -1) in a ring of 3 x 4 entries, MaxProcesses 3: warrior k
// starts at slot 4(k - 1) and its processes never leave its own two cells.
void StartSpinners(Harness& h) {
  for (int k = 1; k <= 3; ++k) {
    h.Put(100 * k, {"SPL.B $0, $0", "JMP.B $-1, $0"});
    h.Start(k, 100 * k);
  }
  h.BeginRound();
}

TEST(QueueEdit, ARevivedQueueRestartsWhereItWouldBeHadItNeverDied) {
  Harness h(Queue(3, 3));
  StartSpinners(h);
  TWarrior& w3 = h.Warrior(3);
  ASSERT_TRUE(DeleteProcess(h.Core(), w3, 0));
  EXPECT_EQ(w3.QueueHead, 32);
  h.Core().RunCycles(2, 1);
  // Warrior 2's stretch now covers slots 6 to 8, where warrior 3 stopped.
  ASSERT_EQ(h.Warrior(2).QueueHead, 24);
  EXPECT_EQ(RevivalHead(h.Core(), w3), 40);
  ASSERT_TRUE(InsertProcess(h.Core(), w3, 0, 300));
  EXPECT_EQ(w3.QueueHead, 40);
  EXPECT_EQ(h.Core().QueueEntries(w3), std::vector<int32_t>{300});

  h.Core().RunCycles(25, 1);
  ASSERT_EQ(h.Core().RoundState, kRoundRunning);
  for (int k = 1; k <= 3; ++k) {
    const TWarrior& w = h.Warrior(k);
    EXPECT_EQ(w.ProcessCount, 3) << "warrior " << k;
    for (int32_t a : h.Core().QueueEntries(w))
      EXPECT_TRUE(a == 100 * k || a == 100 * k + 1) << "warrior " << k << " runs " << a;
  }
}

TEST(QueueEdit, RevivalOutOfStepTakesTheFirstClearStretch) {
  Harness h(Queue(3, 3)); // 12 slots
  StartSpinners(h);
  TWarrior& w3 = h.Warrior(3);
  ASSERT_TRUE(DeleteProcess(h.Core(), w3, 0));
  // Warrior 2's stretch, slots 7 to 9, covers warrior 3's place in the spacing (8).
  h.Warrior(2).QueueHead = 28;
  h.Warrior(2).QueueTail = 32;
  EXPECT_EQ(RevivalHead(h.Core(), w3), 12);
}

TEST(QueueEdit, RevivalWithoutRoomLeavesTheHead) {
  Harness h(Queue(3, 10)); // 33 slots, stretches of 10
  StartSpinners(h);
  TWarrior& w3 = h.Warrior(3);
  ASSERT_TRUE(DeleteProcess(h.Core(), w3, 0));
  // Heads at slots 0 and 16 leave gaps of 16 and 17 slots: no room for two stretches.
  h.Warrior(2).QueueHead = 64;
  h.Warrior(2).QueueTail = 68;
  EXPECT_EQ(RevivalHead(h.Core(), w3), 88);
}

TEST(QueueEdit, ALoneWarriorRestartsWhereItStopped) {
  Harness h(Queue(2, 3));
  h.Start(1, 100);
  h.Start(2, 200);
  h.BeginRound();
  TWarrior& w1 = h.Warrior(1);
  w1.QueueHead = 12;
  ASSERT_TRUE(DeleteProcess(h.Core(), h.Warrior(2), 0));
  ASSERT_TRUE(DeleteProcess(h.Core(), w1, 0));
  EXPECT_EQ(RevivalHead(h.Core(), w1), 12);
}

} // namespace
} // namespace velmora::test
