// Reduction into the core and folding by a limit, failed allocations that keep what the engine had,
// running without a core, and the random generator's exact arithmetic, which every replay of a seed
// depends on.
#include <gtest/gtest.h>

#include <climits>

#include "engine/core.h"
#include "engine/random.h"

namespace velmora {
namespace {

TEST(Arithmetic, ModAndFold) {
  const int32_t mods[][2] = {{-1, 7999},    {8000, 0},         {-8000, 0},       {-8001, 7999},
                             {12345, 4345}, {INT32_MIN, 4352}, {INT32_MAX, 3647}};
  for (const auto& [v, expected] : mods)
    EXPECT_EQ(ModCore(v, 8000), expected) << v;
  // Value, limit, result in a core of 8000: -(limit/2)..+(limit/2), the rest reduced by it.
  const int32_t folds[][3] = {{7999, 400, 7999}, {201, 400, 7801},  {200, 400, 200},
                              {300, 400, 7900},  {7801, 400, 7801}, {7800, 400, 200},
                              {7799, 400, 199},  {450, 400, 50},    {0, 1, 0},
                              {5, 1, 0},         {4000, 7999, 4001}};
  for (const auto& [value, limit, expected] : folds)
    EXPECT_EQ(Fold(value, limit, 8000), expected) << value << " by " << limit;
  for (int32_t size : {8000, 8001})
    for (int32_t x = 0; x < size; ++x)
      ASSERT_EQ(Fold(x, size, size), x);
}

// Failed allocations keep what the engine had; running without battle warriors or without a
// core does nothing.
TEST(Core, FailedAllocationsKeepTheOldAndNothingRunsWithoutACore) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  TParamsRec p;
  p.NumWarriors = 3;
  p.MaxProcesses = 64;
  auto core = TCore::Create(p, form, platform);
  ASSERT_NE(core, nullptr);
  core->Core[5].AField = 9;
  ASSERT_TRUE(core->AllocateCore(800));
  EXPECT_EQ(std::tuple(core->CoreSize, core->Core[5].AField), std::tuple(800, 0));
  EXPECT_FALSE(core->AllocateCore(-5));
  core->MaxProcesses = 400000000;
  EXPECT_FALSE(core->AllocateQueue());
  EXPECT_EQ(std::tuple(core->Core.size(), core->QueueMemory.size(), platform.Messages.size()),
            std::tuple(800u, 65u * 3, 2u));
  p = TParamsRec{};
  p.NumWarriors = 2;
  core = TCore::Create(p, form, platform);
  core->RoundState = kRoundRunning;
  core->RunCycles(10, 1);
  core->AddWarrior();
  core->AddWarrior();
  core->FreeCore();
  core->RunCycles(10, 1);
  EXPECT_EQ(std::tuple(core->Core.size(), core->CycleCount, core->RoundState),
            std::tuple(0u, 0, kRoundRunning));
}

TEST(Random, ReplaysEveryDrawOfASeed) {
  // S := S x 134775813 + 1 mod 2^32; a draw below n is the high half of S x n.
  const std::tuple<int32_t, uint32_t, int32_t> draws[] = {{8000, 1655067934u, 3082},
                                                          {1, 1242767767u, 0},
                                                          {7, 342459380u, 0},
                                                          {2147483647, 2377737157u, 1188868577},
                                                          {0, 2721613530u, 0}};
  TRandom rng, other;
  rng.Seed(12345);
  other.Seed(12345);
  for (const auto& [n, state, value] : draws) {
    EXPECT_EQ(rng.Random(n), value) << n;
    EXPECT_EQ(rng.State, state) << n;
  }
  EXPECT_EQ(other.Random(8000), 3082) << "one generator's draws must not move another's";
  rng.Seed(0xFFFFFFFFu);
  EXPECT_DOUBLE_EQ(rng.RandomReal(), 4160191484.0 / 4294967296.0);
  rng.SeedFromClock(ClockTime{13, 45, 7, 250});
  EXPECT_EQ(rng.State, 49507250u) << "milliseconds of the day";
}

} // namespace
} // namespace velmora
