// The field checks: every condition at its boundary, with its exact message and reset.

#include <gtest/gtest.h>

#include "params/field_checks.h"
#include "params/number_text.h"

namespace velmora {
namespace {

// One signature for every check: the text, then the core size and the other fields it reads.
using Check = FieldCheck (*)(const char* text, const char* core, const char* other, int count);

FieldCheck Core(const char* t, const char*, const char* min, int random) {
  return CheckCoreSize(t, random != 0, min);
}
FieldCheck MinCore(const char* t, const char* c, const char*, int) {
  return CheckMinCoreSize(t, c);
}
FieldCheck Cycles(const char* t, const char*, const char*, int) {
  return CheckMaxCycles(t);
}
FieldCheck Procs(const char* t, const char*, const char*, int) {
  return CheckMaxProcesses(t);
}
FieldCheck Dist(const char* t, const char*, const char*, int) {
  return CheckMinDistance(t);
}
FieldCheck Rounds(const char* t, const char*, const char*, int) {
  return CheckRounds(t);
}
FieldCheck Read(const char* t, const char* c, const char*, int) {
  return CheckReadLimit(t, c);
}
FieldCheck Write(const char* t, const char* c, const char*, int) {
  return CheckWriteLimit(t, c);
}
FieldCheck PSpace(const char* t, const char* c, const char*, int) {
  return CheckPSpaceSize(t, c);
}
FieldCheck Length(const char* t, const char* c, const char* d, int n) {
  return CheckMaxLength(t, c, d, n);
}
FieldCheck Pos(const char* t, const char* c, const char* d, int) {
  return CheckSecondPosition(t, c, d);
}
FieldCheck Seed(const char* t, const char*, const char*, int) {
  return CheckFixedSeed(t);
}

struct CheckCase {
  Check Run;
  const char* Text;
  const char* Core;
  const char* Other;
  int Count;
  const char* Message; // "" when the value passes
  ResetTo Reset = ResetTo::Stored;
};

constexpr ResetTo kBoth = ResetTo::CoreSizeFields, kCoreText = ResetTo::CoreSizeText,
                  kOne = ResetTo::One, kDistText = ResetTo::MinDistanceText;
const char* const kMaxLen = "Max Length too large to load all Warriors";
const char* const kPos = "Second warrior position must ";
const char* const kSeed = "RNG Seed must be between 0 and 2147483646";

const CheckCase kChecks[] = {
    {Core, "$1F40", "", "", 0, ""},
    {Core, "16", "", "", 0, ""},
    {Core, "15", "", "", 0, "Core size must be at least 16", kBoth},
    {Core, "134217727", "", "", 0, ""},
    {Core, "134217728", "", "", 0, "Core size must be less than $8000000", kBoth},
    {Core, "8000 ", "", "", 0, "Core size must be a number", kBoth},
    {Core, "-93845", "", "", 0, "Core size must be a number", kBoth},
    {Core, "800", "", "801", 1, "Maximum core size must not be less than the minimum core size",
     kBoth},
    {Core, "800", "", "801", 0, ""},
    {Core, "800", "", "800", 1, ""},
    {MinCore, "x", "8000", "", 0, "Minimum core size must be a number", kBoth},
    {MinCore, "15", "8000", "", 0, "Minimum core size must be at least 16", kBoth},
    {MinCore, "8001", "8000", "", 0, "Minimum core size must not exceed the maximum core size",
     kBoth},
    {MinCore, "8000", "8000", "", 0, ""},
    {Cycles, "2147483646", "", "", 0, ""},
    {Cycles, "2147483647", "", "", 0, "Max Cycles must be less than $80000000"},
    {Cycles, "0", "", "", 0, "Max Cycles must be at least 1"},
    {Cycles, "abc", "", "", 0, "Max Cycles must be a number"},
    {Procs, "1", "", "", 0, ""},
    {Procs, "0", "", "", 0, "Max Processes must be at least 1"},
    {Procs, "$7FFFFFFF", "", "", 0, "Max Processes must not exceed $80000000"},
    {Procs, "", "", "", 0, "Max Processes must be a number"},
    {Dist, "0", "", "", 0, ""},
    {Dist, "-1", "", "", 0, "Min Distance must be at least 0"},
    {Dist, "2147483647", "", "", 0, "Min Distance must be less than $80000000"},
    {Dist, "1e3", "", "", 0, "Min Distance must be a number"},
    {Rounds, "1", "", "", 0, ""},
    {Rounds, "0", "", "", 0, "Number of rounds must be at least 1"},
    {Rounds, "2147483647", "", "", 0, "Number of rounds must not exceed $80000000"},
    {Rounds, "ten", "", "", 0, "Number of rounds must be a number"},
    {Read, "8000", "8000", "", 0, ""},
    {Read, "half", "8000", "", 0, "Read Limit must be a number", kCoreText},
    {Read, "0", "8000", "", 0, "Read Limit must be at least 1", kOne},
    {Read, "8001", "8000", "", 0, "Read Limit must not exceed Core Size", kCoreText},
    {Write, "-", "8000", "", 0, "Write Limit must be a number", kCoreText},
    {Write, "-4", "8000", "", 0, "Write Limit must be at least 1", kOne},
    {Write, "801", "800", "", 0, "Write Limit must not exceed Core Size", kCoreText},
    {PSpace, "1", "16", "", 0, ""},
    {PSpace, "x", "8000", "", 0, "PSpace Size must be a number", kCoreText},
    {PSpace, "0", "8000", "", 0, "PSpace Size must be at least 1", kOne},
    {PSpace, "8001", "8000", "", 0, "PSpace Size must not exceed Core Size", kCoreText},
    {Length, "1000", "8000", "100", 2, ""},
    {Length, "1000", "8000", "100", 10, kMaxLen},
    {Length, "700", "8000", "100", 10, ""},
    {Length, "234", "800", "33", 3, kMaxLen},
    {Length, "100000", "8000", "100", 0, ""},
    {Length, "0", "8000", "100", 2, "Max Length must be at least 1", kOne},
    {Length, "long", "8000", "100", 2, "Max Length must be a number"},
    {Pos, "100", "8000", "100", 0, ""},
    {Pos, "7900", "8000", "100", 0, ""},
    {Pos, "99", "8000", "100", 0, "be at least Max Distance", kDistText},
    {Pos, "7901", "8000", "100", 0, "not exceed Core Size minus Max Distance", kDistText},
    {Pos, "far", "8000", "100", 0, "be a number", kDistText},
    {Seed, "0", "", "", 0, ""},
    {Seed, "2147483646", "", "", 0, ""},
    {Seed, "-1", "", "", 0, kSeed, ResetTo::Zero},
    {Seed, "2147483647", "", "", 0, kSeed, ResetTo::Zero},
    {Seed, "lucky", "", "", 0, "RNG Seed must be a number", ResetTo::Zero},
};

TEST(ParamsFieldChecks, GiveTheMessageAndReset) {
  for (const CheckCase& c : kChecks) {
    SCOPED_TRACE(c.Text);
    const FieldCheck r = c.Run(c.Text, c.Core, c.Other, c.Count);
    const std::string want = c.Run == Pos && *c.Message ? kPos + std::string(c.Message) : c.Message;
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

} // namespace
} // namespace velmora
