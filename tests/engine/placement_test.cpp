// Warrior placement: the first gap, random, fixed and permutate positions, the order of the
// random draws, the failure to fit, and settings at the edges (tiny cores, distance 0, a
// crowded melee, a lone warrior).
#include <gtest/gtest.h>

#include <map>

#include "tests/engine/setup_support.h"

namespace velmora::test {
namespace {

TEST(Placement, FirstWarriorAtZeroSecondDrawnFromTheFirstGap) {
  SetupHarness h;
  TRandom expect = h.Core().Rng;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.LoadAddress(1), 0);
  // One draw over the 7801 allowed addresses 100..7900.
  EXPECT_EQ(h.LoadAddress(2), 100 + expect.Random(7801));
  EXPECT_EQ(h.Core().Rng.State, expect.State) << "exactly one draw";
  EXPECT_EQ(h.Core().RoundState, kRoundRunning);
  EXPECT_EQ(h.Core().AliveCount, 2);
}

TEST(Placement, UniformOverTheAllowedRange) {
  SetupOptions o;
  o.CoreSize = 64;
  o.MinDistance = 10; // addresses 10..54
  SetupHarness h(o);
  std::map<int32_t, int> seen;
  constexpr int kRounds = 9000;
  for (int r = 0; r < kRounds; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    ++seen[h.LoadAddress(2)];
  }
  ASSERT_EQ(seen.size(), 45u);
  EXPECT_EQ(seen.begin()->first, 10);
  EXPECT_EQ(seen.rbegin()->first, 54);
  for (const auto& [address, count] : seen) { // 200 expected each
    EXPECT_GT(count, 120) << address;
    EXPECT_LT(count, 280) << address;
  }
}

TEST(Placement, CoreSmallerThanTwiceTheDistanceCannotFit) {
  SetupOptions o;
  o.CoreSize = 150;
  SetupHarness h(o);
  EXPECT_FALSE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Core().RoundState, kRoundIdle);
  EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"Unable to fit warrior W2 into core"});
  EXPECT_TRUE(h.Warrior(1).Alive) << "earlier warriors stay loaded";
  EXPECT_EQ(GetOpcode(h.At(0)), Opcode::JMP);
}

TEST(Placement, FixedPositionOnANewBattleThenRandom) {
  SetupOptions o;
  o.SecondPosition = 4000;
  SetupHarness h(o);
  TRandom expect = h.Core().Rng;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.LoadAddress(2), 4000);
  EXPECT_EQ(h.Core().Rng.State, expect.State) << "a fixed position draws nothing";
  ASSERT_TRUE(h.Core().SetUpRound(false));
  EXPECT_EQ(h.LoadAddress(2), 100 + expect.Random(7801));
}

struct PermutateCase {
  int32_t Offset, Address;
};
class PlacementPermutate : public testing::TestWithParam<PermutateCase> {};

TEST_P(PlacementPermutate, OffsetCountsFromTheDistance) {
  SetupOptions o;
  o.SecondPosition = kPositionPermutate;
  SetupHarness h(o);
  h.Core().PermutationOffset = GetParam().Offset;
  const uint32_t before = h.Core().Rng.State;
  ASSERT_TRUE(h.Core().SetUpRound(false));
  EXPECT_EQ(h.LoadAddress(2), GetParam().Address);
  EXPECT_EQ(h.Core().Rng.State, before);
}
// 7801 positions; offsets past the last one start again at the first.
INSTANTIATE_TEST_SUITE_P(Offsets, PlacementPermutate,
                         testing::Values(PermutateCase{0, 100}, PermutateCase{1, 101},
                                         PermutateCase{7800, 7900}, PermutateCase{7801, 100},
                                         PermutateCase{7803, 102}));

TEST(Placement, StartOffsetGivesTheFirstProcessAndQueuesAreSpaced) {
  SetupOptions o;
  o.MaxProcesses = 50;
  o.Warriors = 3;
  SetupHarness h(o);
  h.SetCode(2, {"DAT.F $0, $0", "JMP.B $0, $0"}, 1);
  ASSERT_TRUE(h.Core().SetUpRound(true));
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(h.Warrior(k).QueueHead, (k - 1) * 51 * 4);
    EXPECT_EQ(h.Warrior(k).QueueTail, h.Warrior(k).QueueHead + 4);
    EXPECT_EQ(h.Warrior(k).ProcessCount, 1);
    EXPECT_TRUE(h.Warrior(k).Alive);
  }
  EXPECT_EQ(GetOpcode(h.At(h.Core().QueueEntry(h.Warrior(2), 0))), Opcode::JMP);
}

TEST(Placement, MeleeKeepsEveryPairApartOrFailsWithTheMessage) {
  // Eight warriors in 800 cells, distance 100: the first gap holds 601 addresses and each
  // placement removes up to 199, so most rounds cannot fit everyone.
  int fits = 0, fails = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    SetupOptions o;
    o.CoreSize = 800;
    o.Warriors = 8;
    o.Seed = seed;
    SetupHarness h(o);
    if (h.Core().SetUpRound(true)) {
      ++fits;
      for (int i = 1; i <= 8; ++i)
        for (int j = i + 1; j <= 8; ++j)
          EXPECT_GE(CircularDistance(h.LoadAddress(i), h.LoadAddress(j), 800), 100);
    } else {
      ++fails;
      ASSERT_EQ(h.Platform.Messages.size(), 1u);
      EXPECT_EQ(h.Platform.Messages[0].rfind("Unable to fit warrior W", 0), 0u);
      EXPECT_EQ(h.Core().RoundState, kRoundIdle);
    }
  }
  EXPECT_GT(fails, 0);
  EXPECT_EQ(fits + fails, 200);
}

TEST(Placement, ThreeWarriorsAreAlwaysApartAndWalkTheRing) {
  SetupOptions o;
  o.CoreSize = 1000;
  o.Warriors = 3;
  SetupHarness h(o);
  for (int r = 0; r < 500; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    const int32_t a2 = h.LoadAddress(2), a3 = h.LoadAddress(3);
    EXPECT_GE(CircularDistance(0, a2, 1000), 100);
    EXPECT_GE(CircularDistance(0, a3, 1000), 100);
    EXPECT_GE(CircularDistance(a2, a3, 1000), 100);
  }
}

TEST(Placement, ZeroDistanceStaysInsideTheCore) {
  SetupOptions o;
  o.CoreSize = 16;
  o.MinDistance = 0;
  o.Warriors = 8;
  SetupHarness h(o);
  std::map<int32_t, int> seen;
  for (int r = 0; r < 2000; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    for (int k = 2; k <= 8; ++k)
      ++seen[h.Core().QueueEntry(h.Warrior(k), 0)];
  }
  EXPECT_EQ(seen.size(), 16u) << "every address is allowed";
  EXPECT_GE(seen.begin()->first, 0);
  EXPECT_LT(seen.rbegin()->first, 16);
}

TEST(Placement, TinyCoreWithOneWarriorAlone) {
  SetupOptions o;
  o.CoreSize = 16;
  o.Warriors = 1;
  SetupHarness h(o);
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Core().AliveCount, 1);
  EXPECT_TRUE(h.Platform.Messages.empty());
  h.Core().RunCycles(100, 1);
  EXPECT_EQ(h.Core().CycleCount, 100);
}

TEST(Placement, HugeDistanceFailsWithoutOverflow) {
  SetupOptions o;
  o.MinDistance = 2147483646;
  SetupHarness h(o);
  EXPECT_FALSE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"Unable to fit warrior W2 into core"});
}

TEST(Placement, RandomCoreSizeIsDrawnFirst) {
  SetupHarness h;
  h.Core().RandomCoreSize = true;
  h.Core().CoreSizeMin = 4000;
  TRandom expect = h.Core().Rng;
  for (int r = 0; r < 50; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    const int32_t size = 4000 + static_cast<int32_t>(expect.RandomReal() * 4001);
    EXPECT_EQ(h.Core().CoreSize, size);
    EXPECT_EQ(h.LoadAddress(2), 100 + expect.Random(size - 199));
  }
}

TEST(Placement, MoreWarriorsThanTheQueueBlockHeldGetANewBlock) {
  SetupOptions o;
  o.Warriors = 3;
  o.MaxProcesses = 10;
  SetupHarness h(o);
  h.Core().MaxProcesses = 20; // changed since the block was allocated
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Core().QueueBlockSize, 21 * 3 * 4);
  EXPECT_EQ(h.Warrior(3).QueueHead, 2 * 21 * 4);
}

} // namespace
} // namespace velmora::test
