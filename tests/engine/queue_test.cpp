// The shared process ring: placement at set-up, wrap at the end of the block, the debugger's
// insertions and deletions, and settings whose ring cannot be held.
#include <gtest/gtest.h>

#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

TEST(Queue, WarriorsStartAtTheirFixedPlace) {
  Harness h(Queue(2, 8000));
  EXPECT_EQ(h.Core().QueueBlockSize, 8001 * 2 * 4);
  h.Start(1, 10);
  h.Start(2, 20);
  EXPECT_EQ(h.Warrior(1).QueueHead, 0);
  EXPECT_EQ(h.Warrior(1).QueueTail, 4);
  EXPECT_EQ(h.Warrior(2).QueueHead, 32004);
  EXPECT_EQ(h.Warrior(2).QueueTail, 32008);
  EXPECT_EQ(h.Core().QueueEntries(h.Warrior(2)), std::vector<int32_t>{20});
}

TEST(Queue, TakeAndAppendWrapAtTheEndOfTheBlock) {
  Harness h(Queue(2, 3)); // 8 entries: 32 bytes
  TWarrior& w = h.Warrior(2);
  w.QueueHead = 28;
  w.QueueTail = 28;
  w.ProcessCount = 0;
  h.Core().QueueAppend(w, 7);
  h.Core().QueueAppend(w, 8);
  EXPECT_EQ(w.QueueTail, 4);
  w.ProcessCount = 2;
  EXPECT_EQ(h.Core().QueueEntries(w), (std::vector<int32_t>{7, 8}));
  EXPECT_EQ(h.Core().QueueTake(w), 7);
  EXPECT_EQ(w.QueueHead, 0);
  EXPECT_EQ(h.Core().QueueTake(w), 8);
  EXPECT_EQ(w.QueueHead, 4);
}

TEST(Queue, ExecutionWrapsLikeTheRing) {
  // A spinner fills its stretch, which runs across the end of the block.
  for (Path p : kAllPaths) {
    Harness h(Queue(2, 3)); // 8 entries: 32 bytes, warrior 2 from byte 16
    h.Put(100, {"SPL.B $0, $0", "JMP.B $-1, $0"});
    h.Start(2, 100);
    TWarrior& w = h.Warrior(2);
    for (int i = 0; i < 9; ++i)
      StepOn(p, h.Core(), w);
    EXPECT_EQ(w.ProcessCount, 3);
    EXPECT_EQ(h.Core().QueueEntries(w), (std::vector<int32_t>{100, 101, 100}));
    EXPECT_EQ(w.QueueHead, (16 + 9 * 4) % 32);
    EXPECT_EQ(w.QueueTail, 0);
  }
}

TEST(Queue, InsertAndDeleteAtAListPosition) {
  struct Row {
    const char* what;
    int32_t head; // byte offset of the first entry
    std::vector<int32_t> start;
    bool insert;
    int32_t position, address;
    std::vector<int32_t> expected;
  };
  const Row rows[] = {
      {"insert at front", 0, {1, 2, 3}, true, 0, 9, {9, 1, 2, 3}},
      {"insert in middle", 0, {1, 2, 3}, true, 2, 9, {1, 2, 9, 3}},
      {"insert at end", 0, {1, 2, 3}, true, 3, 9, {1, 2, 3, 9}},
      {"insert across the end", 56, {1, 2, 3}, true, 1, 9, {1, 9, 2, 3}},
      {"insert wraps the address", 0, {1}, true, 1, -1, {1, 7999}},
      {"delete front", 0, {1, 2, 3}, false, 0, 0, {2, 3}},
      {"delete middle across the end", 56, {1, 2, 3, 4}, false, 1, 0, {1, 3, 4}},
      {"delete last", 60, {1, 2, 3}, false, 2, 0, {1, 2}},
  };
  for (const Row& r : rows) {
    Harness h(Queue(2, 7)); // 16 entries
    TWarrior& w = h.Warrior(1);
    w.QueueHead = w.QueueTail = r.head;
    for (int32_t a : r.start)
      h.Core().QueueAppend(w, a);
    w.ProcessCount = static_cast<int32_t>(r.start.size());
    w.Alive = true;
    const bool done = r.insert ? h.Core().QueueInsert(w, r.position, r.address)
                               : h.Core().QueueDelete(w, r.position);
    EXPECT_TRUE(done) << r.what;
    EXPECT_EQ(h.Core().QueueEntries(w), r.expected) << r.what;
    EXPECT_EQ(w.QueueHead, r.head) << r.what;
    EXPECT_EQ(w.QueueTail, (r.head + 4 * static_cast<int32_t>(r.expected.size())) % 64) << r.what;
  }
}

TEST(Queue, FullQueueIsRefused) {
  Harness h(Queue(1, 2));
  TWarrior& w = h.Warrior(1);
  h.Start(1, 5);
  ASSERT_TRUE(h.Core().QueueInsert(w, 1, 6));
  EXPECT_FALSE(h.Core().QueueInsert(w, 0, 7));
  EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"Process queue full"});
  EXPECT_EQ(h.Core().QueueEntries(w), (std::vector<int32_t>{5, 6}));
}

TEST(Queue, EmptyingAndRefillingSetsAlive) {
  Harness h(Queue(2, 10));
  h.Put(0, {"JMP.B $0, $0"});
  h.Put(50, {"JMP.B $0, $0"});
  h.Start(1, 0);
  h.Start(2, 50);
  h.BeginRound();
  TWarrior& w = h.Warrior(1);
  ASSERT_TRUE(h.Core().QueueDelete(w, 0));
  EXPECT_FALSE(w.Alive);
  // The engine skips the emptied warrior: only warrior 2 moves.
  h.Form.Pixels.clear();
  h.Core().RunCycles(1, 1);
  ASSERT_FALSE(h.Form.Pixels.empty());
  EXPECT_EQ(h.Form.Pixels.front().Address, 50);
  ASSERT_TRUE(h.Core().QueueInsert(w, 0, 0));
  EXPECT_TRUE(w.Alive);
  EXPECT_FALSE(h.Core().QueueDelete(w, 1)) << "no entry at position 1";
}

TEST(Queue, BlocksBeyondSigned32BitsAreRefused) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  TParamsRec p;
  p.NumWarriors = 2;
  p.MaxProcesses = 2147483646;
  EXPECT_EQ(TCore::Create(p, form, platform), nullptr);
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_NE(platform.Messages[0].find("Max Processes too large"), std::string::npos);

  // Re-allocating for such settings keeps the block the engine had.
  Harness h(Queue(2, 100));
  h.Core().MaxProcesses = 400000000;
  EXPECT_FALSE(h.Core().AllocateQueue());
  EXPECT_EQ(h.Core().QueueBlockSize, 101 * 2 * 4);
  EXPECT_EQ(h.Core().QueueMemory.size(), 202u);
}

} // namespace
} // namespace velmora::test
