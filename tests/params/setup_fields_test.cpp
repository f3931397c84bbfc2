// Derived values and confirming the dialog's fields into the parameter record.

#include <gtest/gtest.h>

#include "params/setup_fields.h"

namespace velmora {
namespace {

TEST(ParamsSetupFields, DerivedLimitsDivideTheCoreSizeTruncating) {
  // Limits of the items Core Size, a quarter and a sixteenth; P-space of a sixteenth and Core
  // Size; permutated rounds fight every offset twice.
  EXPECT_EQ(
      std::vector<int64_t>({LimitOfItem(0, 55440), LimitOfItem(1, 8003), LimitOfItem(2, 8001),
                            PSpaceOfItem(0, 55440), PSpaceOfItem(0, 8015), PSpaceOfItem(1, 8003),
                            PermutateRounds(8000, 100), PermutateRounds(800, 0),
                            PermutateRounds(800, 400), PermutateRounds(800, 1000),
                            PermutateRounds(134217727, 0)}),
      std::vector<int64_t>({55440, 2000, 500, 3465, 500, 8003, 15602, 1602, 2, -2398, 268435456}));
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
  EXPECT_EQ(check([](TSetupFields& f) { f.ReadLimit.Item = -1, f.ReadLimit.Text = "9000"; }, 2),
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
