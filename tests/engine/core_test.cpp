// Creating the engine: parameters copied, core and queue block allocated zero-filled, the
// private warrior in place, the breakpoint types reset, and failures told to the user.
#include <gtest/gtest.h>

#include "engine/core.h"

namespace velmora {
namespace {

TEST(Core, CreateCopiesParametersAndAllocates) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  TParamsRec p;
  p.CoreSizeMax = 5000;
  p.NumWarriors = 3;
  p.MaxProcesses = 64;
  p.ReadLimit = 400;
  p.InitialInstruction = "RANDOM";
  auto core = TCore::Create(p, form, platform);
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(core->CoreSize, 5000);
  EXPECT_EQ(core->CoreSizeMax, 5000);
  EXPECT_EQ(core->Core.size(), 5000u);
  EXPECT_EQ(core->ReadLimit, 400);
  EXPECT_EQ(core->InitialInstruction, "RANDOM");
  EXPECT_EQ(core->QueueBlockSize, 65 * 3 * 4);
  EXPECT_EQ(core->RoundState, kRoundIdle);
  ASSERT_EQ(core->Warriors.size(), 1u) << "only the private warrior";
  EXPECT_EQ(core->Warriors[0]->Owner, core.get());
  EXPECT_EQ(core->BreakpointTypeCount, 3);
  for (const CoreCell& c : core->Core) {
    ASSERT_EQ(c.OpcodeModifier, 0);
    ASSERT_EQ(c.AField, 0);
  }
  EXPECT_TRUE(platform.Messages.empty());
}

TEST(Core, MinimumCoreSizeIsCopiedOnlyWhenRandom) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  TParamsRec p;
  p.CoreSizeMin = 100;
  p.RandomCoreSize = false;
  auto fixed = TCore::Create(p, form, platform);
  ASSERT_NE(fixed, nullptr);
  EXPECT_NE(fixed->CoreSizeMin, 100);
  p.RandomCoreSize = true;
  auto random = TCore::Create(p, form, platform);
  ASSERT_NE(random, nullptr);
  EXPECT_EQ(random->CoreSizeMin, 100);
}

TEST(Core, CoreThatCannotBeHeldIsRefused) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  TParamsRec p;
  p.CoreSizeMax = 0;
  EXPECT_EQ(TCore::Create(p, form, platform), nullptr);
  EXPECT_EQ(platform.Messages, std::vector<std::string>{"Not enough memory to create Core"});
}

TEST(Core, ReallocatingTheCoreResizesIt) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  auto core = TCore::Create(TParamsRec{}, form, platform);
  ASSERT_NE(core, nullptr);
  core->Core[5].AField = 9;
  ASSERT_TRUE(core->AllocateCore(800));
  EXPECT_EQ(core->CoreSize, 800);
  EXPECT_EQ(core->CoreSizeMax, 800);
  EXPECT_EQ(core->Core[5].AField, 0) << "a new core is zero-filled";
  EXPECT_FALSE(core->AllocateCore(-5));
  EXPECT_EQ(core->CoreSize, 800) << "a failed allocation keeps the core it had";
  EXPECT_EQ(core->Core.size(), 800u);
  core->FreeCore();
  EXPECT_TRUE(core->Core.empty());
}

TEST(Core, RunningWithoutACoreOrWarriorsDoesNothing) {
  THeadlessPlatform platform;
  TNullMardexForm form;
  TParamsRec p;
  p.NumWarriors = 2;
  auto core = TCore::Create(p, form, platform);
  ASSERT_NE(core, nullptr);
  core->RoundState = kRoundRunning;
  core->RunCycles(10, 1); // no battle warriors added yet
  EXPECT_EQ(core->CycleCount, 0);
  core->AddWarrior();
  core->AddWarrior();
  core->FreeCore();
  core->RunCycles(10, 1);
  EXPECT_EQ(core->CycleCount, 0);
  EXPECT_EQ(core->RoundState, kRoundRunning);
}

} // namespace
} // namespace velmora
