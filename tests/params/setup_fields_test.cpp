// Derived values and confirming the dialog's fields into the parameter record.

#include <gtest/gtest.h>

#include "params/setup_fields.h"

namespace velmora {
namespace {

struct LimitCase {
  int32_t Item, Core, Limit, PSpace;
};

class ParamsDerivedLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(ParamsDerivedLimits, DivideTheCoreSizeTruncating) {
  const LimitCase& c = GetParam();
  EXPECT_EQ(LimitOfItem(c.Item, c.Core), c.Limit);
  if (c.PSpace >= 0) {
    EXPECT_EQ(PSpaceOfItem(c.Item, c.Core), c.PSpace);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParamsDerivedLimits,
                         testing::Values(LimitCase{0, 8000, 8000, 500},
                                         LimitCase{1, 8000, 2000, 8000},
                                         LimitCase{2, 8000, 500, -1}, LimitCase{2, 8001, 500, -1},
                                         LimitCase{1, 8003, 2000, 8003},
                                         LimitCase{0, 55440, 55440, 3465}));

struct PermutateCase {
  int32_t Core, Distance;
  int64_t Rounds;
};

class ParamsPermutateRounds : public testing::TestWithParam<PermutateCase> {};

TEST_P(ParamsPermutateRounds, FightEveryOffsetTwice) {
  const PermutateCase& c = GetParam();
  EXPECT_EQ(PermutateRounds(c.Core, c.Distance), c.Rounds);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParamsPermutateRounds,
                         testing::Values(PermutateCase{8000, 100, 15602},
                                         PermutateCase{800, 0, 1602}, PermutateCase{800, 400, 2},
                                         PermutateCase{800, 1000, -2398},
                                         PermutateCase{134217727, 0, 268435456}));

TEST(ParamsSetupFields, DefaultFieldsStoreTheDefaultRecord) {
  TParamsRec p;
  p.CoreSizeMax = 1; // every stored field must be overwritten
  p.MaxCycles = 1;
  p.ReadLimit = p.WriteLimit = p.PSpaceSize = 1;
  StoreSetupFields(TSetupFields{}, p);
  const TParamsRec d = DefaultParams();
  EXPECT_EQ(p.CoreSizeMax, d.CoreSizeMax);
  EXPECT_EQ(p.CoreSizeMin, d.CoreSizeMin);
  EXPECT_EQ(p.MaxCycles, d.MaxCycles);
  EXPECT_EQ(p.MaxProcesses, d.MaxProcesses);
  EXPECT_EQ(p.MaxLength, d.MaxLength);
  EXPECT_EQ(p.MinDistance, d.MinDistance);
  EXPECT_EQ(p.ReadLimit, d.ReadLimit);
  EXPECT_EQ(p.WriteLimit, d.WriteLimit);
  EXPECT_EQ(p.PSpaceSize, d.PSpaceSize);
  EXPECT_EQ(p.Standard, d.Standard);
  EXPECT_EQ(p.SecondPosition, d.SecondPosition);
  EXPECT_EQ(p.SeedMode, d.SeedMode);
  EXPECT_EQ(p.InitialInstruction, d.InitialInstruction);
  EXPECT_TRUE(CheckSetupFields(TSetupFields{}, 2).empty());
}

TEST(ParamsSetupFields, StoresTypedAndChosenValues) {
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
  TParamsRec p;
  StoreSetupFields(f, p);
  EXPECT_TRUE(p.RandomCoreSize);
  EXPECT_EQ(p.CoreSizeMax, 8000);
  EXPECT_EQ(p.CoreSizeMin, 4000);
  EXPECT_EQ(p.ReadLimit, 500);
  EXPECT_EQ(p.WriteLimit, 400);
  EXPECT_EQ(p.PSpaceSize, 8000);
  EXPECT_EQ(p.Standard, 0);
  EXPECT_EQ(p.SecondPosition, 4000);
  EXPECT_EQ(p.SeedMode, 12345);
  EXPECT_EQ(p.InitialInstruction, "MOV 0, 1");
}

TEST(ParamsSetupFields, AFixedSizeHasNoSeparateMinimum) {
  TSetupFields f;
  f.CoreSizeText = "800";
  f.MinCoreSizeText = "8000"; // left over in the hidden field
  ASSERT_TRUE(CheckSetupFields(f, 2).empty());
  TParamsRec p;
  StoreSetupFields(f, p);
  EXPECT_EQ(p.CoreSizeMin, 800);
  EXPECT_EQ(p.PSpaceSize, 50);
}

struct BadFieldCase {
  const char* Label;
  void (*Change)(TSetupFields&);
  int32_t Warriors;
  std::vector<std::string> Messages;
};

void PrintTo(const BadFieldCase& c, std::ostream* os) {
  *os << c.Label;
}

class ParamsCheckSetupFields : public testing::TestWithParam<BadFieldCase> {};

TEST_P(ParamsCheckSetupFields, ReportEveryFailingFieldInOrder) {
  TSetupFields f;
  GetParam().Change(f);
  EXPECT_EQ(CheckSetupFields(f, GetParam().Warriors), GetParam().Messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParamsCheckSetupFields,
    testing::Values(BadFieldCase{"core",
                                 [](TSetupFields& f) { f.CoreSizeText = "5"; },
                                 2,
                                 {"Core size must be at least 16",
                                  "Max Length too large to load all Warriors"}},
                    BadFieldCase{"processes",
                                 [](TSetupFields& f) { f.MaxProcessesText = "0"; },
                                 2,
                                 {"Max Processes must be at least 1"}},
                    BadFieldCase{"randomMin",
                                 [](TSetupFields& f) {
                                   f.RandomCoreSize = true;
                                   f.MinCoreSizeText = "9000";
                                 },
                                 2,
                                 {"Maximum core size must not be less than the minimum core size",
                                  "Minimum core size must not exceed the maximum core size"}},
                    BadFieldCase{"typedLimit",
                                 [](TSetupFields& f) {
                                   f.ReadLimit = {-1, "9000"};
                                 },
                                 2,
                                 {"Read Limit must not exceed Core Size"}},
                    BadFieldCase{"chosenLimitUnchecked",
                                 [](TSetupFields& f) {
                                   f.ReadLimit = {1, "x"};
                                 },
                                 2,
                                 {}},
                    BadFieldCase{"melee",
                                 [](TSetupFields& f) { f.MaxLengthText = "1000"; },
                                 10,
                                 {"Max Length too large to load all Warriors"}},
                    BadFieldCase{
                        "position",
                        [](TSetupFields& f) {
                          f.SecondPosition = 0;
                          f.FixedPositionText = "7901";
                        },
                        2,
                        {"Second warrior position must not exceed Core Size minus Max Distance"}},
                    BadFieldCase{"seed",
                                 [](TSetupFields& f) {
                                   f.SeedMode = 0;
                                   f.FixedSeedText = "-5";
                                 },
                                 2,
                                 {"RNG Seed must be between 0 and 2147483646"}},
                    BadFieldCase{"rounds",
                                 [](TSetupFields& f) { f.RoundsText = "0"; },
                                 2,
                                 {"Number of rounds must be at least 1"}}));

} // namespace
} // namespace velmora
