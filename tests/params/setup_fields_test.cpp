// Derived values and confirming the dialog's fields into the parameter record.

#include <gtest/gtest.h>

#include "params/setup_fields.h"

namespace velmora {
namespace {

TEST(ParamsSetupFields, DerivedLimitsDivideTheCoreSizeTruncating) {
  const struct {
    int32_t Item, Core, Limit, PSpace; // PSpace -1: no such item
  } cases[] = {{0, 8000, 8000, 500}, {1, 8000, 2000, 8000}, {2, 8000, 500, -1},
               {2, 8001, 500, -1},   {1, 8003, 2000, 8003}, {0, 55440, 55440, 3465}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Item << " of " << c.Core);
    EXPECT_EQ(LimitOfItem(c.Item, c.Core), c.Limit);
    if (c.PSpace >= 0) {
      EXPECT_EQ(PSpaceOfItem(c.Item, c.Core), c.PSpace);
    }
  }
  // Permutated rounds fight every offset twice.
  const struct {
    int32_t Core, Distance;
    int64_t Rounds;
  } permutated[] = {{8000, 100, 15602},
                    {800, 0, 1602},
                    {800, 400, 2},
                    {800, 1000, -2398},
                    {134217727, 0, 268435456}};
  for (const auto& c : permutated)
    EXPECT_EQ(PermutateRounds(c.Core, c.Distance), c.Rounds) << c.Core << " " << c.Distance;
}

auto Stored(const TParamsRec& p) {
  return std::tuple(p.CoreSizeMax, p.CoreSizeMin, p.MaxCycles, p.MaxProcesses, p.MaxLength,
                    p.MinDistance, p.ReadLimit, p.WriteLimit, p.PSpaceSize, p.Standard,
                    p.SecondPosition, p.SeedMode, p.InitialInstruction);
}

TEST(ParamsSetupFields, StoresDefaultTypedAndChosenValues) {
  TParamsRec p;
  p.CoreSizeMax = 1; // every stored field must be overwritten
  p.MaxCycles = 1;
  p.ReadLimit = p.WriteLimit = p.PSpaceSize = 1;
  StoreSetupFields(TSetupFields{}, p);
  EXPECT_EQ(Stored(p), Stored(DefaultParams()));
  EXPECT_TRUE(CheckSetupFields(TSetupFields{}, 2).empty());

  TSetupFields f;
  f.CoreSizeText = "$1F40";
  f.RandomCoreSize = true;
  f.MinCoreSizeText = "4000";
  f.ReadLimit = {2, ""};
  f.WriteLimit = {-1, "400"};
  f.PSpace = {1, ""};
  f.StandardItem = 0;
  f.SecondPosition = 0;
  f.FixedPositionText = "4000";
  f.SeedMode = 0;
  f.FixedSeedText = "12345";
  f.InitialInstruction = "MOV 0, 1";
  ASSERT_TRUE(CheckSetupFields(f, 2).empty());
  StoreSetupFields(f, p);
  EXPECT_TRUE(p.RandomCoreSize);
  EXPECT_EQ(Stored(p), std::tuple(8000, 4000, p.MaxCycles, p.MaxProcesses, p.MaxLength,
                                  p.MinDistance, 500, 400, 8000, 0, 4000, 12345, "MOV 0, 1"));

  // A fixed size has no separate minimum.
  TSetupFields fixed;
  fixed.CoreSizeText = "800";
  fixed.MinCoreSizeText = "8000"; // left over in the hidden field
  ASSERT_TRUE(CheckSetupFields(fixed, 2).empty());
  StoreSetupFields(fixed, p);
  EXPECT_EQ(p.CoreSizeMin, 800);
  EXPECT_EQ(p.PSpaceSize, 50);
}

TEST(ParamsSetupFields, CheckReportsEveryFailingFieldInOrder) {
  auto check = [](void (*change)(TSetupFields&), int32_t warriors) {
    TSetupFields f;
    change(f);
    return CheckSetupFields(f, warriors);
  };
  using M = std::vector<std::string>;
  EXPECT_EQ(check([](TSetupFields& f) { f.CoreSizeText = "5"; }, 2),
            (M{"Core size must be at least 16", "Max Length too large to load all Warriors"}));
  EXPECT_EQ(check([](TSetupFields& f) { f.MaxProcessesText = "0"; }, 2),
            M{"Max Processes must be at least 1"});
  EXPECT_EQ(check([](TSetupFields& f) { f.RandomCoreSize = true, f.MinCoreSizeText = "9000"; }, 2),
            (M{"Maximum core size must not be less than the minimum core size",
               "Minimum core size must not exceed the maximum core size"}));
  EXPECT_EQ(check(
                [](TSetupFields& f) {
                  f.ReadLimit = {-1, "9000"};
                },
                2),
            M{"Read Limit must not exceed Core Size"});
  EXPECT_EQ(check([](TSetupFields& f) { f.ReadLimit = {1, "x"}; }, 2), M{}); // a chosen item
  EXPECT_EQ(check([](TSetupFields& f) { f.MaxLengthText = "1000"; }, 10),
            M{"Max Length too large to load all Warriors"});
  EXPECT_EQ(check([](TSetupFields& f) { f.SecondPosition = 0, f.FixedPositionText = "7901"; }, 2),
            M{"Second warrior position must not exceed Core Size minus Max Distance"});
  EXPECT_EQ(check([](TSetupFields& f) { f.SeedMode = 0, f.FixedSeedText = "-5"; }, 2),
            M{"RNG Seed must be between 0 and 2147483646"});
  EXPECT_EQ(check([](TSetupFields& f) { f.RoundsText = "0"; }, 2),
            M{"Number of rounds must be at least 1"});
}

} // namespace
} // namespace velmora
