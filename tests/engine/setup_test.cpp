// Round set-up: the gap ring, warrior placement (first gap, random, fixed and permutate
// positions, the order of the random draws, failures to fit, settings at the edges), the
// initial instruction, loading (lethal counts, wrapping, display marks, breakpoints) and the
// round state left behind.
#include <gtest/gtest.h>

#include <map>

#include "engine/circle_list.h"
#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

struct SetupOptions {
  int32_t CoreSize = 8000;
  int32_t Warriors = 2;
  int32_t MinDistance = 100;
  int32_t MaxProcesses = 8000;
  int32_t SecondPosition = kPositionRandom;
  int32_t DisplayLevel = 0;
  uint32_t Seed = 12345;
};

HarnessOptions ToHarness(const SetupOptions& o) {
  HarnessOptions h;
  h.CoreSize = o.CoreSize;
  h.Warriors = o.Warriors;
  h.MaxProcesses = o.MaxProcesses;
  h.PSpaceSize = 1;
  h.DisplayLevel = o.DisplayLevel;
  return h;
}

// Warriors W1, W2, ... of one JMP.B $0, $0 each, until SetCode gives them other code.
struct SetupHarness : Harness {
  explicit SetupHarness(const SetupOptions& o = {}) : Harness(ToHarness(o)) {
    Core().MinDistance = o.MinDistance;
    Core().SecondPosition = o.SecondPosition;
    Core().Rng.Seed(o.Seed);
    for (int k = 1; k <= o.Warriors; ++k) {
      Warrior(k).Name = "W" + std::to_string(k);
      SetCode(k, {"JMP.B $0, $0"});
    }
  }
  // Object code as the assembler leaves it: the warrior's colour in each Marker.
  void SetCode(int k, const std::vector<std::string>& cells, int32_t start = 0) {
    TWarrior& w = Warrior(k);
    w.Code.clear();
    for (const auto& text : cells) {
      w.Code.push_back(ParseCell(text, Core().CoreSizeMax));
      w.Code.back().Marker = static_cast<uint8_t>(k);
    }
    w.CodeLength = static_cast<int32_t>(cells.size());
    w.Code.push_back(CoreCell{});
    w.StartOffset = start;
  }
  // The address warrior k was loaded at: its first process minus its start offset.
  int32_t LoadAddress(int k) {
    return Wrap(Core().QueueEntry(Warrior(k), 0) - Warrior(k).StartOffset);
  }
  int32_t LethalCells() {
    int32_t n = 0;
    for (int32_t a = 0; a < Core().CoreSize; ++a)
      n += IsLethal(At(a)) ? 1 : 0;
    return n;
  }
};

int32_t CircularDistance(int32_t a, int32_t b, int32_t coreSize) {
  const int32_t d = a > b ? a - b : b - a;
  return d < coreSize - d ? d : coreSize - d;
}

TEST(CircleList, AddsBesideCurrentDeletesMovingOnAndWalks) {
  TCircleList ring;
  const auto walk = [&] { // starts from Current round the ring once
    std::vector<int64_t> starts;
    for (int32_t i = 0; i < ring.Count(); ++i, ring.Next())
      starts.push_back(ring.Current().Start);
    return starts;
  };
  EXPECT_TRUE(ring.Empty());
  ASSERT_TRUE(ring.Add({1, 1}, true));
  ASSERT_TRUE(ring.Add({2, 1}, true));  // after 1
  ASSERT_TRUE(ring.Add({3, 1}, true));  // after 1, before 2
  ASSERT_TRUE(ring.Add({4, 1}, false)); // before 1
  EXPECT_EQ(walk(), (std::vector<int64_t>{1, 3, 2, 4}));
  ring.Next(); // at 3
  ASSERT_TRUE(ring.Delete());
  EXPECT_EQ(walk(), (std::vector<int64_t>{2, 4, 1}));
  ring.Current().Length = 7;
  EXPECT_TRUE(ring.Delete() && ring.Delete());
  EXPECT_EQ(walk(), (std::vector<int64_t>{1}));
  ring.Next(); // one node is its own neighbour
  EXPECT_EQ(ring.Current().Start, 1);
  ASSERT_TRUE(ring.Delete());
  EXPECT_TRUE(ring.Empty());
  EXPECT_EQ(ring.Count(), 0);
  EXPECT_FALSE(ring.Delete());
  ring.Next(); // harmless on an empty ring
  ASSERT_TRUE(ring.Add({9, 1}, false));
  ring.Clear();
  EXPECT_TRUE(ring.Empty());
}

TEST(Placement, FirstAtZeroSecondDrawnOnceFromTheFirstGapOrFixedOnANewBattle) {
  SetupHarness h;
  TRandom expect = h.Core().Rng;
  h.Core().CycleCount = 77;
  h.Core().Winner = 2;
  h.Core().AliveCount = 1;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.LoadAddress(1), 0);
  EXPECT_EQ(h.LoadAddress(2), 100 + expect.Random(7801)); // addresses 100..7900
  EXPECT_EQ(h.Core().Rng.State, expect.State) << "exactly one draw";
  EXPECT_EQ(h.Core().RoundState, kRoundRunning);
  EXPECT_EQ(h.Core().AliveCount, 2);
  EXPECT_EQ(h.Core().CycleCount, 0);
  EXPECT_EQ(h.Core().Winner, 0);

  SetupOptions o;
  o.SecondPosition = 4000;
  SetupHarness f(o);
  expect = f.Core().Rng;
  ASSERT_TRUE(f.Core().SetUpRound(true));
  EXPECT_EQ(f.LoadAddress(2), 4000);
  EXPECT_EQ(f.Core().Rng.State, expect.State) << "a fixed position draws nothing";
  ASSERT_TRUE(f.Core().SetUpRound(false));
  EXPECT_EQ(f.LoadAddress(2), 100 + expect.Random(7801));

  // Permutate: the offset counts from the distance over 7801 positions, then starts again.
  o.SecondPosition = kPositionPermutate;
  for (const auto& [offset, address] : std::vector<std::pair<int32_t, int32_t>>{
           {0, 100}, {1, 101}, {7800, 7900}, {7801, 100}, {7803, 102}}) {
    SetupHarness p(o);
    p.Core().PermutationOffset = offset;
    const uint32_t before = p.Core().Rng.State;
    ASSERT_TRUE(p.Core().SetUpRound(false));
    EXPECT_EQ(p.LoadAddress(2), address) << offset;
    EXPECT_EQ(p.Core().Rng.State, before);
  }
}

TEST(Placement, UniformOverTheAllowedRange) {
  SetupOptions o;
  o.CoreSize = 64;
  o.MinDistance = 10; // addresses 10..54
  SetupHarness h(o);
  std::map<int32_t, int> seen;
  for (int r = 0; r < 9000; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    ++seen[h.LoadAddress(2)];
  }
  ASSERT_EQ(seen.size(), 45u);
  EXPECT_EQ(seen.begin()->first, 10);
  EXPECT_EQ(seen.rbegin()->first, 54);
  for (const auto& [address, count] : seen) { // 200 expected each
    EXPECT_GT(count, 120) << address;
    EXPECT_LT(count, 280) << address;
  }
}

TEST(Placement, WarriorsThatCannotFitAreNamedAndEarlierOnesStay) {
  // A core smaller than twice the distance; a distance that must not overflow.
  for (const auto& [size, distance] : {std::pair{150, 100}, std::pair{8000, 2147483646}}) {
    SetupOptions o;
    o.CoreSize = size;
    o.MinDistance = distance;
    SetupHarness h(o);
    EXPECT_FALSE(h.Core().SetUpRound(true));
    EXPECT_EQ(h.Core().RoundState, kRoundIdle);
    EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"Unable to fit warrior W2 into core"});
    EXPECT_TRUE(h.Warrior(1).Alive) << "earlier warriors stay loaded";
    EXPECT_EQ(GetOpcode(h.At(0)), Opcode::JMP);
  }
  SetupOptions o;
  o.CoreSize = 200; // exactly one position
  o.MinDistance = 100;
  SetupHarness h(o);
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.LoadAddress(2), 100);
}

TEST(Placement, EveryPairKeepsTheDistanceOrTheRoundFailsWithTheMessage) {
  // Six warriors in 800 cells, distance 100: the first gap holds 601 addresses and each
  // placement removes up to 199, so some rounds cannot fit everyone.
  int fails = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    SetupOptions o;
    o.CoreSize = 800;
    o.Warriors = 6;
    o.Seed = seed;
    SetupHarness h(o);
    if (h.Core().SetUpRound(true)) {
      for (int i = 1; i <= 6; ++i)
        for (int j = i + 1; j <= 6; ++j)
          EXPECT_GE(CircularDistance(h.LoadAddress(i), h.LoadAddress(j), 800), 100);
    } else {
      ++fails;
      ASSERT_EQ(h.Platform.Messages.size(), 1u);
      EXPECT_EQ(h.Platform.Messages[0].rfind("Unable to fit warrior W", 0), 0u);
      EXPECT_EQ(h.Core().RoundState, kRoundIdle);
    }
  }
  EXPECT_GT(fails, 0);
  EXPECT_LT(fails, 200);
  SetupOptions o;
  o.CoreSize = 1000;
  o.Warriors = 3;
  SetupHarness h(o);
  for (int r = 0; r < 500; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    const int32_t a2 = h.LoadAddress(2), a3 = h.LoadAddress(3);
    EXPECT_GE(CircularDistance(0, a2, 1000), 100);
    EXPECT_GE(CircularDistance(0, a3, 1000), 100);
    EXPECT_GE(CircularDistance(a2, a3, 1000), 100);
  }
}

TEST(Placement, ZeroDistanceAndALoneWarriorInATinyCore) {
  SetupOptions o;
  o.CoreSize = 16;
  o.MinDistance = 0;
  o.Warriors = 8;
  SetupHarness h(o);
  std::map<int32_t, int> seen;
  for (int r = 0; r < 2000; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    for (int k = 2; k <= 8; ++k)
      ++seen[h.Core().QueueEntry(h.Warrior(k), 0)];
  }
  EXPECT_EQ(seen.size(), 16u) << "every address is allowed";
  EXPECT_GE(seen.begin()->first, 0);
  EXPECT_LT(seen.rbegin()->first, 16);

  o.Warriors = 1;
  o.MinDistance = 100;
  SetupHarness alone(o);
  ASSERT_TRUE(alone.Core().SetUpRound(true));
  EXPECT_EQ(alone.Core().AliveCount, 1);
  EXPECT_TRUE(alone.Platform.Messages.empty());
  alone.Core().RunCycles(100, 1);
  EXPECT_EQ(alone.Core().CycleCount, 100);
}

TEST(Placement, RandomCoreSizeIsDrawnFirst) {
  SetupHarness h;
  h.Core().RandomCoreSize = true;
  h.Core().CoreSizeMin = 4000;
  TRandom expect = h.Core().Rng;
  for (int r = 0; r < 50; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    const int32_t size = 4000 + static_cast<int32_t>(expect.RandomReal() * 4001);
    EXPECT_EQ(h.Core().CoreSize, size);
    EXPECT_EQ(h.LoadAddress(2), 100 + expect.Random(size - 199));
  }
}

TEST(Placement, StartOffsetsAndQueuesSpacedByTheCurrentProcessLimit) {
  SetupOptions o;
  o.Warriors = 3;
  o.MaxProcesses = 10;
  SetupHarness h(o);
  h.Core().MaxProcesses = 20; // changed since the block was allocated
  h.SetCode(2, {"DAT.F $0, $0", "JMP.B $0, $0"}, 1);
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_EQ(h.Core().QueueBlockSize, 21 * 3 * 4);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(h.Warrior(k).QueueHead, (k - 1) * 21 * 4);
    EXPECT_EQ(h.Warrior(k).QueueTail, h.Warrior(k).QueueHead + 4);
    EXPECT_EQ(h.Warrior(k).ProcessCount, 1);
    EXPECT_TRUE(h.Warrior(k).Alive);
  }
  EXPECT_EQ(GetOpcode(h.At(h.Core().QueueEntry(h.Warrior(2), 0))), Opcode::JMP);
}

TEST(RoundSetup, DatFillLethalCountAndLastResultOfTheFirstRound) {
  SetupHarness h;
  h.SetCode(1, {"MOV.I $0, $1"});
  h.SetCode(2, {"DAT.F #0, #0", "SPL.B $0, $0", "DIV.F $1, $1"});
  h.At(5000) = ParseCell("JMP.B $0, $0", 8000); // rubbish of the last round
  h.Warrior(1).LastResult = -1;
  h.Warrior(2).LastResult = 0;
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
  EXPECT_EQ(h.Warrior(1).LastResult, 7999);
  EXPECT_EQ(h.Warrior(2).LastResult, 0) << "only a negative value is moved";

  for (int32_t distance : {0, 3, 100})
    for (int warriors : {1, 2, 5}) {
      SetupOptions o;
      o.CoreSize = 800;
      o.MinDistance = distance;
      o.Warriors = warriors;
      SetupHarness s(o);
      for (int k = 1; k <= warriors; ++k)
        s.SetCode(k, {"DAT.F #1, #1", "MOV.I $0, $1", "MOD.F #3, #3", "SPL.B $0, $0"});
      for (int r = 0; r < 20; ++r)
        if (s.Core().SetUpRound(r == 0)) {
          EXPECT_EQ(s.Core().LethalCount, s.LethalCells());
        }
    }
}

TEST(RoundSetup, WarriorsWrapAtTheEndOfTheCoreAndOverThemselves) {
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

  o.CoreSize = 16;
  o.Warriors = 1;
  SetupHarness s(o);
  std::vector<std::string> code;
  for (int i = 0; i < 20; ++i)
    code.push_back((i < 16 ? "ADD.AB #" : "SUB.AB #") + std::to_string(i) + ", $1");
  s.SetCode(1, code, 19);
  ASSERT_TRUE(s.Core().SetUpRound(true));
  for (int32_t a = 0; a < 16; ++a) // cells 0..3 were written twice, the second time by SUB
    EXPECT_EQ(CellText(s.At(a)), (a < 4 ? "SUB.AB #" : "ADD.AB #") + std::to_string(a) + ", $1");
  EXPECT_EQ(s.Core().QueueEntry(s.Warrior(1), 0), 3);
  EXPECT_EQ(s.Core().LethalCount, 0);
}

TEST(RoundSetup, RandomFillKeepsToTheStandardAndDrawsSixTimesPerCellBeforePlacing) {
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
      const auto end = RandomFillOpcodes.begin() + st.RandomOpcodeCount;
      EXPECT_NE(std::find(RandomFillOpcodes.begin(), end, GetOpcode(c)), end) << a;
      sawHighMode = sawHighMode || static_cast<int>(GetAMode(c)) == st.HighestMode;
    }
    EXPECT_TRUE(sawHighMode);
    EXPECT_EQ(h.Core().LethalCount, h.LethalCells());
  }

  SetupOptions o;
  o.CoreSize = 300;
  o.MinDistance = 50;
  SetupHarness h(o);
  h.Core().InitialInstruction = kInitialRandom;
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

TEST(RoundSetup, LoadingMarksCellsAtDisplayLevelTwoAndRegistersBreakpoints) {
  SetupOptions o;
  o.DisplayLevel = 2;
  o.SecondPosition = 500;
  SetupHarness h(o);
  h.SetCode(2, {"DAT.F $0, $0", "JMP.B $-1, $0"}, 1);
  h.Warrior(2).Code[0].BreakpointType = 1;
  h.Core().AddBreakpoint(42); // a registration of the last round
  h.At(42).BreakpointType = 2;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  using Px = RecordingForm::Pixel;
  EXPECT_EQ(h.Form.Pixels, (std::vector<Px>{{0, -1, 1}, {500, 2, 1}, {501, -1, 1}}));
  EXPECT_EQ(h.At(500).Marker, 0x12);
  EXPECT_EQ(h.Core().BreakpointAddresses, std::vector<int32_t>{500});
  EXPECT_EQ(h.Core().BreakpointCounters, std::vector<int32_t>{0});
  EXPECT_EQ(h.At(42).BreakpointType, 0);
  EXPECT_EQ(h.At(500).BreakpointType, 1);

  h.Form.Pixels.clear();
  h.Core().MaxSpeed = true;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_TRUE(h.Form.Pixels.empty());
  EXPECT_EQ(h.At(500).Marker, 0) << "the fast path leaves no marks";
}

TEST(BreakpointSetup, ExecuteBreakpointFiresWhenTheCellIsNextToRunNeverAtSetUp) {
  SetupOptions o;
  o.SecondPosition = 500;
  SetupHarness h(o);
  h.SetCode(2, {"NOP.F $0, $0", "NOP.F $0, $0", "JMP.B $0, $0"});
  h.Warrior(2).Code[2].BreakpointType = 1;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_TRUE(h.Core().HitList.empty()) << "set-up fires nothing";
  h.Core().RunCycles(10, 1);
  EXPECT_EQ(h.Core().CycleCount, 2);
  EXPECT_EQ(h.Core().HitList, std::vector<int32_t>{502});
  EXPECT_EQ(h.Core().QueueEntry(h.Warrior(2), 0), 502) << "the cell has not run yet";
}

TEST(BreakpointSetup, FastPathCopyIsRegisteredWhenAnEventReachesIt) {
  SetupOptions o;
  o.Warriors = 1;
  SetupHarness h(o);
  // A movable execute breakpoint on an imp: the fast path drags it along unregistered.
  h.SetCode(1, {"MOV.I $0, $1"});
  h.Warrior(1).Code[0].BreakpointType = 2;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  h.Core().MaxSpeed = true;
  h.Core().RunCycles(3, 1);
  EXPECT_EQ(h.At(3).BreakpointType, 2);
  EXPECT_EQ(h.Core().BreakpointAddresses, std::vector<int32_t>{0});

  h.Core().MaxSpeed = false;
  h.Core().RunCycles(1, 1); // the imp moves onto cell 4; its execute event is at 4
  EXPECT_TRUE(h.Platform.Messages.empty());
  EXPECT_EQ(h.Core().HitList, std::vector<int32_t>{4});
  EXPECT_EQ(h.Core().BreakpointAddresses, (std::vector<int32_t>{0, 4}));
  EXPECT_EQ(h.Core().BreakpointCounters, (std::vector<int32_t>{0, 0}));
}

} // namespace
} // namespace velmora::test
