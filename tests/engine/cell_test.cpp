// Core arithmetic: wrapping, reduction into the core, folding by a limit, and the standards'
// limits that the assembler and the random fill obey.
#include <gtest/gtest.h>

#include <climits>

#include "engine/cell.h"

namespace velmora {
namespace {

TEST(Arithmetic, WrapModAndFold) {
  EXPECT_EQ(WrapAdd(7999, 7999, 8000), 7998);
  EXPECT_EQ(WrapAdd(3999, 4000, 8000), 7999);
  EXPECT_EQ(WrapAdd(4000, 4000, 8000), 0);
  EXPECT_EQ(WrapSub(0, 1, 8000), 7999);
  EXPECT_EQ(WrapSub(5, 5, 8000), 0);
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

TEST(Standards, LimitsAndTheRandomFill) {
  struct Row {
    uint8_t standard;
    const char* name;
    int highestOpcode, highestMode, randomCount;
  };
  const Row rows[] = {
      {0, "KVRT 88", 14, 3, 11}, {1, "94, no P-Space", 21, 7, 17}, {2, "94 + P-Space", 24, 7, 19}};
  for (const Row& r : rows) {
    const StandardTable& t = StandardInfo(r.standard);
    EXPECT_STREQ(t.Name, r.name);
    EXPECT_EQ(t.HighestOpcode, r.highestOpcode);
    EXPECT_EQ(t.HighestMode, r.highestMode);
    EXPECT_EQ(t.HighestRandomModifier, 6);
    EXPECT_EQ(t.RandomOpcodeCount, r.randomCount);
    for (int i = 0; i < t.RandomOpcodeCount; ++i)
      EXPECT_LE(static_cast<int>(RandomFillOpcodes[static_cast<size_t>(i)]), t.HighestOpcode);
  }
  for (int op = 0; op < kOpcodeCount; ++op)
    EXPECT_EQ(IsLethal(static_cast<Opcode>(op)), op == 0 || op == 16 || op == 17) << op;
}

} // namespace
} // namespace velmora
