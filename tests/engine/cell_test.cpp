#include <gtest/gtest.h>

#include <string>

#include "engine/cell.h"

namespace velmora {
namespace {

TEST(CoreCell, EmptyCellIsDatFDirectDirect) {
  const CoreCell c =
      MakeCell(Opcode::DAT, Modifier::F, AddressMode::Direct, 0, AddressMode::Direct, 0);
  EXPECT_EQ(c.OpcodeModifier, 0x80);
  EXPECT_EQ(c.Modes, 0x11);
  EXPECT_EQ(c.OpcodeModifier, kEmptyCellOpcodeModifier);
  EXPECT_EQ(c.Modes, kEmptyCellModes);
  EXPECT_EQ(PackOpcodeModifier(Opcode::MOV, Modifier::I), kImpOpcodeModifier);
}

TEST(CoreCell, PackingRoundTripsEveryCode) {
  for (int op = 0; op < 32; ++op)
    for (int mod = 0; mod < 8; ++mod) {
      CoreCell c{};
      SetOpcode(c, static_cast<Opcode>(op));
      SetModifier(c, static_cast<Modifier>(mod));
      EXPECT_EQ(static_cast<int>(GetOpcode(c)), op);
      EXPECT_EQ(static_cast<int>(GetModifier(c)), mod);
    }
  for (int a = 0; a < 8; ++a)
    for (int b = 0; b < 8; ++b) {
      CoreCell c{};
      SetAMode(c, static_cast<AddressMode>(a));
      SetBMode(c, static_cast<AddressMode>(b));
      EXPECT_EQ(static_cast<int>(GetAMode(c)), a);
      EXPECT_EQ(static_cast<int>(GetBMode(c)), b);
      EXPECT_EQ(c.Modes, (a << 4) | b);
    }
}

TEST(CoreCell, NameTables) {
  std::string all;
  for (const char* n : OpcodeNames)
    all += std::string(n) + " ";
  EXPECT_EQ(all, "DAT MOV ADD SUB JMP JMZ JMN DJN CMP SPL SLT EQU END FOR ROF MUL DIV MOD ORG "
                 "SEQ SNE NOP LDP STP PIN ");
  std::string mods;
  for (const char* n : ModifierNames)
    mods += std::string(n) + " ";
  EXPECT_EQ(mods, "A B AB BA F X I NONE ");
  EXPECT_EQ(std::string(ModeSymbols), "#$@<>*{}");
}

TEST(CoreCell, SameInstructionIgnoresMarkerAndBreakpoint) {
  CoreCell a = MakeCell(Opcode::MOV, Modifier::I, AddressMode::Direct, 0, AddressMode::Direct, 1);
  CoreCell b = a;
  b.Marker = 0x21;
  b.BreakpointType = 3;
  EXPECT_TRUE(SameInstruction(a, b));
  b.Modes = PackModes(AddressMode::Immediate, AddressMode::Direct);
  EXPECT_FALSE(SameInstruction(a, b));
}

TEST(Standards, Tables) {
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
    // The random list never offers an opcode the standard forbids.
    for (int i = 0; i < t.RandomOpcodeCount; ++i)
      EXPECT_LE(static_cast<int>(RandomFillOpcodes[static_cast<size_t>(i)]), t.HighestOpcode);
  }
}

TEST(Standards, LethalOpcodesAreDatDivMod) {
  for (int op = 0; op < kOpcodeCount; ++op) {
    const bool expected = op == 0 || op == 16 || op == 17;
    EXPECT_EQ(IsLethal(static_cast<Opcode>(op)), expected) << OpcodeNames[static_cast<size_t>(op)];
  }
}

TEST(Arithmetic, WrapAndMod) {
  EXPECT_EQ(WrapAdd(7999, 7999, 8000), 7998);
  EXPECT_EQ(WrapAdd(3999, 4000, 8000), 7999);
  EXPECT_EQ(WrapAdd(4000, 4000, 8000), 0);
  EXPECT_EQ(WrapSub(0, 1, 8000), 7999);
  EXPECT_EQ(WrapSub(5, 5, 8000), 0);
  struct Row {
    int32_t v, size, expected;
  };
  const Row rows[] = {{-1, 8000, 7999},       {8000, 8000, 0},     {-8000, 8000, 0},
                      {-8001, 8000, 7999},    {12345, 8000, 4345}, {INT32_MIN, 8000, 4352},
                      {INT32_MAX, 8000, 3647}};
  for (const Row& r : rows)
    EXPECT_EQ(ModCore(r.v, r.size), r.expected) << r.v;
}

TEST(Arithmetic, Fold) {
  struct Row {
    int32_t value, limit, coreSize, expected;
  };
  const Row rows[] = {
      {7999, 400, 8000, 7999}, // offset -1 passes the early test
      {201, 400, 8000, 7801},  // 201 folds to -199
      {200, 400, 8000, 200},   // exactly half the limit stays
      {300, 400, 8000, 7900},  // 300 folds to -100
      {7801, 400, 8000, 7801}, // -199 is inside the window
      {7800, 400, 8000, 200},  // -200 is not: it reduces to +200, equal modulo the limit
      {7799, 400, 8000, 199},  // -201 is outside the window: reduced by the limit to +199
      {450, 400, 8000, 50},    // beyond one limit wraps by the limit
      {0, 1, 8000, 0},         // a limit of 1 folds everything near to 0
      {5, 1, 8000, 0},
  };
  for (const Row& r : rows)
    EXPECT_EQ(Fold(r.value, r.limit, r.coreSize), r.expected) << r.value << " by " << r.limit;
  for (int32_t x = 0; x < 8000; ++x)
    ASSERT_EQ(Fold(x, 8000, 8000), x);
  for (int32_t x = 0; x < 8001; ++x)
    ASSERT_EQ(Fold(x, 8001, 8001), x);
}

} // namespace
} // namespace velmora
