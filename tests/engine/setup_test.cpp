// Round set-up: warrior placement (first gap, random, fixed and permutate positions, the order of
// the random draws, failures to fit), the random core size, queues spaced by the current process
// limit, the initial instruction, loading (lethal counts, wrapping, display marks, breakpoints) and
// the round state left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "engine/circle_list.h"
#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

struct SetupOptions {
  int32_t CoreSize = 8000, Warriors = 2, MinDistance = 100, MaxProcesses = 8000;
  int32_t SecondPosition = kPositionRandom, DisplayLevel = 0;
  uint32_t Seed = 12345;
};

// Warriors W1, W2, ... of one JMP.B $0, $0 each, until SetCode gives them other code.
struct SetupHarness : Harness {
  explicit SetupHarness(const SetupOptions& o = {})
      : Harness({.CoreSize = o.CoreSize,
                 .Warriors = o.Warriors,
                 .MaxProcesses = o.MaxProcesses,
                 .PSpaceSize = 1,
                 .DisplayLevel = o.DisplayLevel}) {
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

// The ring of gaps placement draws from: adding beside the current gap, deleting moves on to
// the next, walking round once.
TEST(CircleList, AddsBesideCurrentDeletesMovingOnAndWalks) {
  TCircleList ring;
  const auto walk = [&] {
    std::vector<int64_t> starts;
    for (int32_t i = 0; i < ring.Count(); ++i, ring.Next())
      starts.push_back(ring.Current().Start);
    return starts;
  };
  const std::pair<int64_t, bool> adds[] = {{1, true}, {2, true}, {3, true}, {4, false}};
  for (const auto& [start, after] : adds)
    ASSERT_TRUE(ring.Add({start, 1}, after));
  EXPECT_EQ(walk(), (std::vector<int64_t>{1, 3, 2, 4}));
  ring.Next(); // at 3
  ASSERT_TRUE(ring.Delete());
  EXPECT_EQ(walk(), (std::vector<int64_t>{2, 4, 1}));
  EXPECT_TRUE(ring.Delete() && ring.Delete() && ring.Delete() && ring.Empty());
  EXPECT_FALSE(ring.Delete());
  ring.Next(); // harmless on an empty ring
}

TEST(Placement, FirstAtZeroSecondDrawnOnceFromTheFirstGapOrFixedOnANewBattle) {
  SetupHarness h;
  TRandom expect = h.Core().Rng;
  h.Core().CycleCount = 77;
  h.Core().Winner = 2;
  h.Core().AliveCount = 1;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  // Addresses 100..7900, exactly one draw; the round's state starts afresh.
  EXPECT_EQ(std::tuple(h.LoadAddress(1), h.LoadAddress(2)),
            std::tuple(0, 100 + expect.Random(7801)));
  EXPECT_EQ(h.Core().Rng.State, expect.State);
  EXPECT_EQ(
      std::tuple(h.Core().RoundState, h.Core().AliveCount, h.Core().CycleCount, h.Core().Winner),
      std::tuple(kRoundRunning, 2, 0, 0));

  SetupHarness f({.SecondPosition = 4000});
  expect = f.Core().Rng;
  ASSERT_TRUE(f.Core().SetUpRound(true));
  EXPECT_EQ(f.LoadAddress(2), 4000);
  EXPECT_EQ(f.Core().Rng.State, expect.State) << "a fixed position draws nothing";
  ASSERT_TRUE(f.Core().SetUpRound(false));
  EXPECT_EQ(f.LoadAddress(2), 100 + expect.Random(7801));

  // Permutate: the offset counts from the distance over 7801 positions, then starts again.
  const int32_t permutations[][2] = {{0, 100}, {1, 101}, {7800, 7900}, {7801, 100}, {7803, 102}};
  for (const auto& [offset, address] : permutations) {
    SetupHarness p({.SecondPosition = kPositionPermutate});
    p.Core().PermutationOffset = offset;
    ASSERT_TRUE(p.Core().SetUpRound(false));
    EXPECT_EQ(p.LoadAddress(2), address) << offset;
    EXPECT_EQ(p.Core().Rng.State, 12345u) << "permutate draws nothing";
  }
}

TEST(Placement, WarriorsThatCannotFitAreNamedAndEveryPairKeepsTheDistance) {
  // A core smaller than twice the distance; a distance that must not overflow. Earlier
  // warriors stay loaded.
  for (const auto& [size, distance] : {std::pair{150, 100}, std::pair{8000, 2147483646}}) {
    SetupHarness h({.CoreSize = size, .MinDistance = distance});
    EXPECT_FALSE(h.Core().SetUpRound(true));
    EXPECT_EQ(h.Platform.Messages, std::vector<std::string>{"Unable to fit warrior W2 into core"});
    EXPECT_EQ(std::tuple(h.Core().RoundState, h.Warrior(1).Alive, GetOpcode(h.At(0))),
              std::tuple(kRoundIdle, true, Opcode::JMP));
  }
  SetupHarness one({.CoreSize = 200}); // exactly one position
  ASSERT_TRUE(one.Core().SetUpRound(true));
  EXPECT_EQ(one.LoadAddress(2), 100);

  // Six warriors in 800 cells, distance 100: the first gap holds 601 addresses and each
  // placement removes up to 199, so some rounds cannot fit everyone.
  int fails = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    SetupHarness h({.CoreSize = 800, .Warriors = 6, .Seed = seed});
    if (!h.Core().SetUpRound(true)) {
      ++fails;
      ASSERT_EQ(h.Platform.Messages.size(), 1u);
      EXPECT_EQ(h.Platform.Messages[0].rfind("Unable to fit warrior W", 0), 0u);
      EXPECT_EQ(h.Core().RoundState, kRoundIdle);
      continue;
    }
    for (int i = 1; i <= 6; ++i)
      for (int j = i + 1; j <= 6; ++j) {
        const int32_t d = std::abs(h.LoadAddress(i) - h.LoadAddress(j));
        EXPECT_GE(std::min(d, 800 - d), 100) << seed;
      }
  }
  EXPECT_TRUE(fails > 0 && fails < 200) << fails;
}

TEST(Placement, RandomCoreSizeIsDrawnFirstAndQueuesSpacedByTheCurrentProcessLimit) {
  SetupHarness h;
  h.Core().RandomCoreSize = true;
  h.Core().CoreSizeMin = 4000;
  TRandom expect = h.Core().Rng;
  for (int r = 0; r < 50; ++r) {
    ASSERT_TRUE(h.Core().SetUpRound(false));
    const int32_t size = 4000 + static_cast<int32_t>(expect.RandomReal() * 4001);
    EXPECT_EQ(std::tuple(h.Core().CoreSize, h.LoadAddress(2)),
              std::tuple(size, 100 + expect.Random(size - 199)));
  }

  SetupHarness q({.Warriors = 3, .MaxProcesses = 10});
  q.Core().MaxProcesses = 20; // changed since the block was allocated
  q.SetCode(2, {"DAT.F $0, $0", "JMP.B $0, $0"}, 1);
  ASSERT_TRUE(q.Core().SetUpRound(true));
  EXPECT_EQ(q.Core().QueueBlockSize, 21 * 3 * 4);
  for (int k = 1; k <= 3; ++k) {
    const TWarrior& w = q.Warrior(k);
    EXPECT_EQ(std::tuple(w.QueueHead, w.QueueTail, w.ProcessCount, w.Alive),
              std::tuple((k - 1) * 84, (k - 1) * 84 + 4, 1, true));
  }
  EXPECT_EQ(GetOpcode(q.At(q.Core().QueueEntry(q.Warrior(2), 0))), Opcode::JMP);
}

TEST(RoundSetup, DatFillLethalCountLastResultAndWrapping) {
  SetupHarness h;
  h.SetCode(1, {"MOV.I $0, $1"});
  h.SetCode(2, {"DAT.F #0, #0", "SPL.B $0, $0", "DIV.F $1, $1", "MOD.F $1, $1"});
  h.At(5000) = ParseCell("JMP.B $0, $0", 8000); // rubbish of the last round
  h.Warrior(1).LastResult = -1;
  h.Warrior(2).LastResult = 0;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  // 8000 DATs, minus the five loaded cells, plus the three lethal ones among them.
  EXPECT_EQ(h.Core().LethalCount, 8000 - 5 + 3);
  const int32_t a = h.LoadAddress(2);
  EXPECT_EQ(CellText(h.At(a + 2)), "DIV.F $1, $1");
  for (int32_t x : {1, 4999, 5000, 7999})
    if (x < a || x > a + 3) {
      EXPECT_EQ(CellText(h.At(x)), "DAT.F $0, $0") << x;
    }
  EXPECT_EQ(h.At(a).Marker, 0) << "no marks at display level 0";
  // Only a negative value is moved into the core.
  EXPECT_EQ(std::tuple(h.Warrior(1).LastResult, h.Warrior(2).LastResult), std::tuple(7999, 0));

  // Warrior 2 at 98 of 100 wraps over warrior 1's cell.
  SetupHarness w({.CoreSize = 100, .MinDistance = 2, .SecondPosition = 98});
  w.SetCode(1, {"SPL.B $0, $0"});
  w.SetCode(2, {"MOV.I $1, $2", "ADD.AB #3, $4", "JMP.B $-2, $0"}, 2);
  ASSERT_TRUE(w.Core().SetUpRound(true));
  EXPECT_EQ(std::tuple(CellText(w.At(98)), CellText(w.At(99)), CellText(w.At(0))),
            std::tuple("MOV.I $1, $2", "ADD.AB #3, $4", "JMP.B $98, $0"));
  EXPECT_EQ(std::tuple(w.Core().QueueEntry(w.Warrior(2), 0), w.Core().LethalCount),
            std::tuple(0, w.LethalCells()));
}

// Each cell takes six draws, all before placing.
TEST(RoundSetup, RandomFillDrawsSixTimesPerCellBeforePlacing) {
  SetupHarness h({.CoreSize = 300, .MinDistance = 50});
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

TEST(RoundSetup, LoadingMarksCellsAtDisplayLevelTwoAndRegistersBreakpoints) {
  SetupHarness h({.SecondPosition = 500, .DisplayLevel = 2});
  h.SetCode(2, {"DAT.F $0, $0", "JMP.B $-1, $0"}, 1);
  h.Warrior(2).Code[0].BreakpointType = 1;
  h.Core().AddBreakpoint(42); // a registration of the last round
  h.At(42).BreakpointType = 2;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  using Px = RecordingForm::Pixel;
  EXPECT_EQ(h.Form.Pixels, (std::vector<Px>{{0, -1, 1}, {500, 2, 1}, {501, -1, 1}}));
  EXPECT_EQ(h.At(500).Marker, 0x12);
  EXPECT_EQ(std::tuple(h.Core().BreakpointAddresses, h.Core().BreakpointCounters),
            std::tuple(std::vector{500}, std::vector{0}));
  EXPECT_EQ(std::tuple(h.At(42).BreakpointType, h.At(500).BreakpointType), std::tuple(0, 1));
  h.Form.Pixels.clear();
  h.Core().MaxSpeed = true;
  ASSERT_TRUE(h.Core().SetUpRound(true));
  EXPECT_TRUE(h.Form.Pixels.empty());
  EXPECT_EQ(h.At(500).Marker, 0) << "the fast path leaves no marks";

  // An execute breakpoint fires when its cell is next to run, never at set-up.
  SetupHarness e({.SecondPosition = 500});
  e.SetCode(2, {"NOP.F $0, $0", "NOP.F $0, $0", "JMP.B $0, $0"});
  e.Warrior(2).Code[2].BreakpointType = 1;
  ASSERT_TRUE(e.Core().SetUpRound(true));
  EXPECT_TRUE(e.Core().HitList.empty());
  e.Core().RunCycles(10, 1);
  EXPECT_EQ(std::tuple(e.Core().CycleCount, e.Core().HitList, e.Core().QueueEntry(e.Warrior(2), 0)),
            std::tuple(2, std::vector{502}, 502));
}

} // namespace
} // namespace velmora::test
