// Round set-up: the initial instruction, loading warriors (lethal counts, wrapping, display
// marks, breakpoints), LastResult of the first round, and the round state left behind.
#include <gtest/gtest.h>

#include "tests/engine/setup_support.h"

namespace velmora::test {
namespace {

TEST(RoundSetup, DatFillAndLethalCountFollowTheCore) {
  SetupHarness h;
  h.SetCode(1, {"MOV.I $0, $1"});
  h.SetCode(2, {"DAT.F #0, #0", "SPL.B $0, $0", "DIV.F $1, $1"});
  h.At(5000) = ParseCell("JMP.B $0, $0", 8000); // rubbish of the last round
  ASSERT_TRUE(h.Core().SetUpRound(true));
  // 8000 DATs, minus the four loaded cells, plus the two lethal ones among them.
  EXPECT_EQ(h.Core().LethalCount, 8000 - 4 + 2);
  EXPECT_EQ(h.Core().LethalCount, h.LethalCells());
  const int32_t a = h.LoadAddress(2);
  EXPECT_EQ(CellText(h.At(a + 2)), "DIV.F $1, $1");
  for (int32_t x : {1, 4999, 5000, 7999})
    if (x < a || x > a + 2) {
      EXPECT_EQ(CellText(h.At(x)), "DAT.F $0, $0") << x;
    }
  EXPECT_EQ(h.At(a).Marker, 0) << "no marks at display level 0";
}

TEST(RoundSetup, LethalCountMatchesTheCoreInEverySetting) {
  for (int32_t distance : {0, 3, 100})
    for (int warriors : {1, 2, 5}) {
      SetupOptions o;
      o.CoreSize = 800;
      o.MinDistance = distance;
      o.Warriors = warriors;
      SetupHarness h(o);
      for (int k = 1; k <= warriors; ++k)
        h.SetCode(k, {"DAT.F #1, #1", "MOV.I $0, $1", "MOD.F #3, #3", "SPL.B $0, $0"});
      for (int r = 0; r < 20; ++r)
        if (h.Core().SetUpRound(r == 0)) {
          EXPECT_EQ(h.Core().LethalCount, h.LethalCells());
        }
    }
}

TEST(RoundSetup, LastResultOfTheFirstRoundIsCoreSizeMinusOne) {
  SetupHarness h;
  h.Warrior(1).LastResult = -1;
  h.Warrior(2).LastResult = 2;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Warrior(1).LastResult, 7999);
  EXPECT_EQ(h.Warrior(2).LastResult, 2);
  ASSERT_TRUE(h.Core().SetUpRound(false));
  EXPECT_EQ(h.Warrior(1).LastResult, 7999) << "only a negative value is moved";
}

TEST(RoundSetup, WarriorStraddlingTheEndWrapsToZero) {
  SetupOptions o;
  o.CoreSize = 100;
  o.MinDistance = 2;
  o.SecondPosition = 98;
  SetupHarness h(o);
  h.SetCode(1, {"SPL.B $0, $0"});
  h.SetCode(2, {"MOV.I $1, $2", "ADD.AB #3, $4", "JMP.B $-2, $0"}, 2);
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(CellText(h.At(98)), "MOV.I $1, $2");
  EXPECT_EQ(CellText(h.At(99)), "ADD.AB #3, $4");
  EXPECT_EQ(CellText(h.At(0)), "JMP.B $98, $0") << "over warrior 1's cell";
  EXPECT_EQ(h.Core().QueueEntry(h.Warrior(2), 0), 0);
  EXPECT_EQ(h.Core().LethalCount, h.LethalCells());
}

TEST(RoundSetup, WarriorLongerThanTheCoreWrapsOverItself) {
  SetupOptions o;
  o.CoreSize = 16;
  o.Warriors = 1;
  SetupHarness h(o);
  std::vector<std::string> code;
  for (int i = 0; i < 20; ++i)
    code.push_back((i < 16 ? "ADD.AB #" : "SUB.AB #") + std::to_string(i) + ", $1");
  h.SetCode(1, code, 19);
  ASSERT_TRUE(h.Core().SetUpRound(true));
  for (int32_t a = 0; a < 16; ++a) // cells 0..3 were written twice, the second time by SUB
    EXPECT_EQ(CellText(h.At(a)), (a < 4 ? "SUB.AB #" : "ADD.AB #") + std::to_string(a) + ", $1");
  EXPECT_EQ(h.Core().QueueEntry(h.Warrior(1), 0), 3);
  EXPECT_EQ(h.Core().LethalCount, 0);
}

TEST(RoundSetup, RandomFillKeepsToTheStandard) {
  for (uint8_t standard : {0, 1, 2}) {
    SetupOptions o;
    o.CoreSize = 4000;
    SetupHarness h(o);
    h.Core().Standard = standard;
    h.Core().InitialInstruction = kInitialRandom;
    const StandardTable& st = StandardInfo(standard);
    ASSERT_TRUE(h.Core().SetUpRound(true));
    bool sawHighMode = false;
    for (int32_t a = 1; a < 4000; ++a) {
      if (a == h.LoadAddress(2)) continue;
      const CoreCell& c = h.At(a);
      EXPECT_LE(static_cast<int>(GetAMode(c)), st.HighestMode);
      EXPECT_LE(static_cast<int>(GetBMode(c)), st.HighestMode);
      EXPECT_LE(static_cast<int>(GetModifier(c)), 6);
      bool listed = false;
      for (int i = 0; i < st.RandomOpcodeCount; ++i)
        listed = listed || RandomFillOpcodes[static_cast<size_t>(i)] == GetOpcode(c);
      EXPECT_TRUE(listed) << a;
      sawHighMode = sawHighMode || static_cast<int>(GetAMode(c)) == st.HighestMode;
    }
    EXPECT_TRUE(sawHighMode);
    EXPECT_EQ(h.Core().LethalCount, h.LethalCells());
  }
}

TEST(RoundSetup, RandomFillDrawsSixTimesPerCellBeforePlacing) {
  SetupOptions o;
  o.CoreSize = 300;
  o.MinDistance = 50;
  SetupHarness h(o);
  h.Core().InitialInstruction = kInitialRandom;
  h.SetCode(1, {"JMP.B $0, $0"});
  TRandom expect = h.Core().Rng;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  std::vector<CoreCell> cells;
  for (int a = 0; a < 300; ++a) {
    const auto op = RandomFillOpcodes[static_cast<size_t>(expect.Random(19))];
    const auto mod = static_cast<Modifier>(expect.Random(7));
    const auto am = static_cast<AddressMode>(expect.Random(8));
    const auto bm = static_cast<AddressMode>(expect.Random(8));
    const int32_t af = expect.Random(300);
    cells.push_back(MakeCell(op, mod, am, af, bm, expect.Random(300)));
  }
  const int32_t second = 50 + expect.Random(201);
  EXPECT_EQ(h.LoadAddress(2), second);
  for (int32_t a = 1; a < 300; ++a)
    if (a != second) {
      EXPECT_EQ(CellText(h.At(a)), CellText(cells[static_cast<size_t>(a)])) << a;
    }
}

TEST(RoundSetup, CustomInstructionWithoutAnAssemblerKeepsTheCore) {
  SetupHarness h;
  h.Core().InitialInstruction = "SPL.B #0, 0";
  h.At(300) = ParseCell("SLT.B $1, $2", 8000);
  h.At(300).BreakpointType = 1;
  h.At(301) = ParseCell("MOV.I $0, $1", 8000);
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Platform.Messages,
            std::vector<std::string>{"Initial instruction failed to compile."});
  if (h.LoadAddress(2) != 300) {
    EXPECT_EQ(CellText(h.At(300)), "SLT.B $1, $2");
    EXPECT_EQ(h.At(300).BreakpointType, 0) << "its registration is gone, so is the type";
  }
  EXPECT_EQ(h.Core().LethalCount, h.LethalCells());
}

TEST(RoundSetup, LoadingMarksCellsAtDisplayLevelTwo) {
  SetupOptions o;
  o.DisplayLevel = 2;
  o.SecondPosition = 500;
  SetupHarness h(o);
  h.SetCode(2, {"DAT.F $0, $0", "JMP.B $-1, $0"}, 1);
  ASSERT_TRUE(h.Core().SetUpRound(true));
  using Px = RecordingForm::Pixel;
  EXPECT_EQ(h.Form.Pixels, (std::vector<Px>{{0, -1, 1}, {500, 2, 1}, {501, -1, 1}}));
  EXPECT_EQ(h.At(500).Marker, 0x12);

  h.Form.Pixels.clear();
  h.Core().MaxSpeed = true;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_TRUE(h.Form.Pixels.empty());
  EXPECT_EQ(h.At(500).Marker, 0) << "the fast path leaves no marks";
}

TEST(RoundSetup, BreakpointsComeBackFromTheObjectCodeEachRound) {
  SetupOptions o;
  o.SecondPosition = 500;
  SetupHarness h(o);
  h.Warrior(2).Code[0].BreakpointType = 1;
  h.Core().AddBreakpoint(42); // a registration of the last round
  h.At(42).BreakpointType = 2;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Core().BreakpointAddresses, std::vector<int32_t>{500});
  EXPECT_EQ(h.Core().BreakpointCounters, std::vector<int32_t>{0});
  EXPECT_EQ(h.At(42).BreakpointType, 0);
  EXPECT_EQ(h.At(500).BreakpointType, 1);
}

TEST(RoundSetup, ResetsTheRoundCounters) {
  SetupHarness h;
  h.Core().CycleCount = 77;
  h.Core().Winner = 2;
  h.Core().RoundState = kRoundDecided;
  h.Core().AliveCount = 1;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Core().CycleCount, 0);
  EXPECT_EQ(h.Core().Winner, 0);
  EXPECT_EQ(h.Core().RoundState, kRoundRunning);
  EXPECT_EQ(h.Core().AliveCount, 2);
}

} // namespace
} // namespace velmora::test
