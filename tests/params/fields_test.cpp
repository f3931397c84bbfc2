// Typed numbers, the field checks (every condition at its boundary, with its exact message
// and reset), derived values and confirming the fields into the parameter record.

#include <gtest/gtest.h>

#include "params/field_checks.h"
#include "params/number_text.h"
#include "params/setup_fields.h"

namespace velmora {
namespace {

enum Which { Core, MinCore, Cycles, Procs, Dist, Rounds, Read, Write, PSpace, Length, Pos, Seed };

// Runs one check on the text, with the core size and the other field it reads (and a count).
FieldCheck RunCheck(Which check, const char* t, const char* c, const char* other, int n) {
  switch (check) {
  case Core: return CheckCoreSize(t, n != 0, other);
  case MinCore: return CheckMinCoreSize(t, c);
  case Cycles: return CheckMaxCycles(t);
  case Procs: return CheckMaxProcesses(t);
  case Dist: return CheckMinDistance(t);
  case Rounds: return CheckRounds(t);
  case Read: return CheckReadLimit(t, c);
  case Write: return CheckWriteLimit(t, c);
  case PSpace: return CheckPSpaceSize(t, c);
  case Length: return CheckMaxLength(t, c, other, n);
  case Pos: return CheckSecondPosition(t, c, other);
  case Seed: return CheckFixedSeed(t);
  }
  return {};
}

// A check of a text with the message it gives ("" when it passes) and the reset after a
// failure; then the core size text, the other field it reads and a count (when it needs them).
struct CheckCase {
  Which Check;
  const char *Text, *Message;
  ResetTo Reset = ResetTo::Stored;
  const char *Core = "", *Other = "";
  int Count = 0;
};

constexpr ResetTo kStored = ResetTo::Stored, kBoth = ResetTo::CoreSizeFields,
                  kCoreText = ResetTo::CoreSizeText, kOne = ResetTo::One,
                  kDistText = ResetTo::MinDistanceText, kZero = ResetTo::Zero;
const char* const kMaxLen = "Max Length too large to load all Warriors";
const char* const kPos = "Second warrior position must ";
const char* const kSeed = "RNG Seed must be between 0 and 2147483646";

const CheckCase kChecks[] = {
    {Core, "16", ""},
    {Core, "15", "Core size must be at least 16", kBoth},
    {Core, "134217727", ""},
    {Core, "134217728", "Core size must be less than $8000000", kBoth},
    {Core, "8000 ", "Core size must be a number", kBoth},
    {Core, "800", "Maximum core size must not be less than the minimum core size", kBoth, "", "801",
     1},
    {Core, "800", "", kStored, "", "801"},
    {Core, "800", "", kStored, "", "800", 1},
    {MinCore, "x", "Minimum core size must be a number", kBoth, "8000"},
    {MinCore, "15", "Minimum core size must be at least 16", kBoth, "8000"},
    {MinCore, "8001", "Minimum core size must not exceed the maximum core size", kBoth, "8000"},
    {MinCore, "8000", "", kStored, "8000"},
    {Cycles, "2147483646", ""},
    {Cycles, "2147483647", "Max Cycles must be less than $80000000"},
    {Cycles, "0", "Max Cycles must be at least 1"},
    {Procs, "1", ""},
    {Procs, "0", "Max Processes must be at least 1"},
    {Procs, "$7FFFFFFF", "Max Processes must not exceed $80000000"},
    {Procs, "", "Max Processes must be a number"},
    {Dist, "0", ""},
    {Dist, "-1", "Min Distance must be at least 0"},
    {Dist, "2147483647", "Min Distance must be less than $80000000"},
    {Rounds, "1", ""},
    {Rounds, "0", "Number of rounds must be at least 1"},
    {Rounds, "2147483647", "Number of rounds must not exceed $80000000"},
    {Read, "8000", "", kStored, "8000"},
    {Read, "half", "Read Limit must be a number", kCoreText, "8000"},
    {Read, "0", "Read Limit must be at least 1", kOne, "8000"},
    {Read, "8001", "Read Limit must not exceed Core Size", kCoreText, "8000"},
    {Write, "-", "Write Limit must be a number", kCoreText, "8000"},
    {Write, "-4", "Write Limit must be at least 1", kOne, "8000"},
    {Write, "801", "Write Limit must not exceed Core Size", kCoreText, "800"},
    {PSpace, "1", "", kStored, "16"},
    {PSpace, "x", "PSpace Size must be a number", kCoreText, "8000"},
    {PSpace, "0", "PSpace Size must be at least 1", kOne, "8000"},
    {PSpace, "8001", "PSpace Size must not exceed Core Size", kCoreText, "8000"},
    {Length, "1000", "", kStored, "8000", "100", 2},
    {Length, "1000", kMaxLen, kStored, "8000", "100", 10},
    {Length, "700", "", kStored, "8000", "100", 10},
    {Length, "234", kMaxLen, kStored, "800", "33", 3},
    {Length, "100000", "", kStored, "8000", "100"},
    {Length, "0", "Max Length must be at least 1", kOne, "8000", "100", 2},
    {Length, "long", "Max Length must be a number", kStored, "8000", "100", 2},
    {Pos, "100", "", kStored, "8000", "100"},
    {Pos, "7900", "", kStored, "8000", "100"},
    {Pos, "99", "be at least Max Distance", kDistText, "8000", "100"},
    {Pos, "7901", "not exceed Core Size minus Max Distance", kDistText, "8000", "100"},
    {Pos, "far", "be a number", kDistText, "8000", "100"},
    {Seed, "0", ""},
    {Seed, "2147483646", ""},
    {Seed, "-1", kSeed, kZero},
    {Seed, "2147483647", kSeed, kZero},
    {Seed, "lucky", "RNG Seed must be a number", kZero}};

TEST(ParamsFieldChecks, GiveTheMessageAndReset) {
  for (const CheckCase& c : kChecks) {
    SCOPED_TRACE(c.Text);
    const FieldCheck r = RunCheck(c.Check, c.Text, c.Core, c.Other, c.Count);
    const std::string want =
        c.Check == Pos && *c.Message ? kPos + std::string(c.Message) : c.Message;
    EXPECT_EQ(r.Message, want);
    EXPECT_EQ(r.Ok(), want.empty());
    if (!r.Ok()) {
      EXPECT_EQ(r.Reset, c.Reset);
    }
  }
  // A passing check gives the number read.
  EXPECT_EQ(CheckCoreSize(" $1F40", false, "").Value, 8000);
  EXPECT_EQ(CheckRounds("+250").Value, 250);
  EXPECT_EQ(CheckMaxCycles("x").Value, NotANumber);
}

TEST(ParamsFieldChecks, CoreSizeResetKeepsWhatTheOtherFieldWouldBreak) {
  // Stored: maximum 8000, minimum 4000.
  const struct {
    const char *Core, *Min, *CoreAfter, *MinAfter;
  } cases[] = {{"15", "4000", "8000", "15"},
               {"15", "9000", "9000", "15"},
               {"3000", "5", "8000", "3000"},
               {"x", "y", "8000", "4000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Core);
    EXPECT_EQ(CoreSizeReset(c.Core, c.Min, 8000, 4000),
              std::make_pair(std::string(c.CoreAfter), std::string(c.MinAfter)));
  }
}

TEST(ParamsNumberText, ReadsAsTheDialogDoes) {
  // clang-format off
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"8000", 8000}, {"$1F40", 8000}, {"$1f40", 8000}, {" 8000", 8000}, {"   -12", -12},
      {"+5", 5}, {"-$10", -16}, {"0", 0}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
      {"$7FFFFFFF", 2147483647}, {"$abcdef", 0xabcdef}, {"8000 ", {}}, {"", {}}, {"   ", {}},
      {"-", {}}, {"$", {}}, {"12a", {}}, {"1.5", {}}, {"$1G", {}}, {"--1", {}}, {"2147483648", {}},
      {"-2147483649", {}}, {"$80000000", {}}, {"99999999999999999999", {}}};
  // clang-format on
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(ParseNumberText(text), value) << '"' << text << '"';
    EXPECT_EQ(NumberOrDefault(text, 7), value.value_or(7)) << '"' << text << '"';
  }
  // The checks cannot tell the typed sentinel from text that is not a number.
  EXPECT_EQ(ParseNumberText("-93845"), NotANumber);
}

TEST(ParamsSetupFields, DerivedValuesTruncateAndDoNotOverflow) {
  EXPECT_EQ(LimitOfItem(1, 8003), 2000);   // a quarter
  EXPECT_EQ(PSpaceOfItem(0, 55440), 3465); // a sixteenth
  // Permutated rounds fight every offset twice.
  EXPECT_EQ(PermutateRounds(134217727, 0), 268435456);
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
  EXPECT_EQ(check([](TSetupFields& f) { f.RandomCoreSize = true, f.MinCoreSizeText = "9000"; }, 2),
            (M{"Maximum core size must not be less than the minimum core size",
               "Minimum core size must not exceed the maximum core size"}));
  EXPECT_EQ(check([](TSetupFields& f) { f.ReadLimit = {1, "x"}; }, 2), M{}); // a chosen item
  EXPECT_EQ(check([](TSetupFields& f) { f.MaxLengthText = "1000"; }, 10),
            M{"Max Length too large to load all Warriors"});
  EXPECT_EQ(check([](TSetupFields& f) { f.SecondPosition = 0, f.FixedPositionText = "7901"; }, 2),
            M{"Second warrior position must not exceed Core Size minus Max Distance"});
  EXPECT_EQ(check([](TSetupFields& f) { f.RoundsText = "0"; }, 2),
            M{"Number of rounds must be at least 1"});
}

} // namespace
} // namespace velmora
