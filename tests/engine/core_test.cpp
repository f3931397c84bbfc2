// Creating the engine and its memory, failures told to the user, and the random generator's
// exact arithmetic, which every replay of a seed depends on.
#include <gtest/gtest.h>

#include "engine/core.h"
#include "engine/random.h"

namespace velmora {
namespace {

TEST(Core, CreateAllocatesOrSaysWhyNot) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  TParamsRec p;
  p.CoreSizeMax = 5000;
  p.CoreSizeMin = 100;
  p.NumWarriors = 3;
  p.MaxProcesses = 64;
  p.ReadLimit = 400;
  p.InitialInstruction = "RANDOM";
  auto core = TCore::Create(p, form, platform);
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(core->Core.size(), 5000u);
  EXPECT_EQ(core->ReadLimit, 400);
  EXPECT_EQ(core->InitialInstruction, "RANDOM");
  EXPECT_NE(core->CoreSizeMin, 100) << "the minimum is copied only for a random core size";
  EXPECT_EQ(core->QueueBlockSize, 65 * 3 * 4);
  ASSERT_EQ(core->Warriors.size(), 1u) << "only the private warrior";
  EXPECT_EQ(core->BreakpointTypeCount, 3);
  for (const CoreCell& c : core->Core)
    ASSERT_TRUE(c.OpcodeModifier == 0 && c.AField == 0 && c.BField == 0);
  p.RandomCoreSize = true;
  EXPECT_EQ(TCore::Create(p, form, platform)->CoreSizeMin, 100);
  EXPECT_TRUE(platform.Messages.empty());

  // A failed re-allocation keeps what the engine had.
  core->Core[5].AField = 9;
  ASSERT_TRUE(core->AllocateCore(800));
  EXPECT_EQ(core->CoreSize, 800);
  EXPECT_EQ(core->Core[5].AField, 0) << "a new core is zero-filled";
  EXPECT_FALSE(core->AllocateCore(-5));
  EXPECT_EQ(core->Core.size(), 800u);
  core->MaxProcesses = 400000000;
  EXPECT_FALSE(core->AllocateQueue());
  EXPECT_EQ(core->QueueMemory.size(), 65u * 3);

  p.CoreSizeMax = 0;
  EXPECT_EQ(TCore::Create(p, form, platform), nullptr);
  p.CoreSizeMax = 8000;
  p.MaxProcesses = 2147483646;
  EXPECT_EQ(TCore::Create(p, form, platform), nullptr);
  const std::string memory = "Not enough memory to create Core";
  const std::string queue = "Max Processes too large for 3 warriors: the process queues would "
                            "exceed 2147483647 bytes";
  EXPECT_EQ(platform.Messages, (std::vector<std::string>{memory, queue, memory, queue}));
}

TEST(Core, RunningWithoutACoreOrWarriorsDoesNothing) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  TParamsRec p;
  p.NumWarriors = 2;
  auto core = TCore::Create(p, form, platform);
  core->RoundState = kRoundRunning;
  core->RunCycles(10, 1); // no battle warriors added yet
  core->AddWarrior();
  core->AddWarrior();
  core->FreeCore();
  EXPECT_TRUE(core->Core.empty());
  core->RunCycles(10, 1);
  EXPECT_EQ(core->CycleCount, 0);
  EXPECT_EQ(core->RoundState, kRoundRunning);
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
  for (int i = 0; i < 1000; ++i) {
    const double r = rng.RandomReal();
    ASSERT_TRUE(r >= 0.0 && r < 1.0) << r;
  }
  rng.SeedFromClock(ClockTime{13, 45, 7, 250});
  EXPECT_EQ(rng.State, 49507250u) << "milliseconds of the day";
}

} // namespace
} // namespace velmora
