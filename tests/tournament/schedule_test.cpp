// The schedule: matchup orders of every tournament type, records from both sides, totals,
// the completion message, and the first-warrior and permutation-offset sequences.
#include <gtest/gtest.h>

#include <utility>

#include "tests/tournament/battle_support.h"

namespace velmora::test {
namespace {

using Order = std::vector<std::pair<int32_t, int32_t>>;
const std::vector<std::string> kDies = {"dat 0, 0"};     // dies on its first move
const std::vector<std::string> kSurvives = {"jmp 0, 0"}; // never dies

// Runs a whole tournament one cycle at a time; returns the (row, column) of every matchup.
Order PlayedOrder(Battle& b) {
  Order order;
  b.Controller->NewBattle();
  order.emplace_back(b.Tour.Rec.CurrentRow, b.Tour.Rec.CurrentColumn);
  int32_t matchup = b.Tour.MatchupNumber;
  for (int guard = 0; guard < 1000 && b.Controller->State() != RunState::Complete; ++guard) {
    b.Controller->SingleStep();
    if (b.Tour.MatchupNumber != matchup) {
      matchup = b.Tour.MatchupNumber;
      order.emplace_back(b.Tour.Rec.CurrentRow, b.Tour.Rec.CurrentColumn);
    }
  }
  return order;
}

struct OrderCase {
  const char* Name;
  uint8_t Type;
  bool SelfFights;
  Order Expected;
};
class ScheduleOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(ScheduleOrder, MatchupsComeInTheirOrder) {
  const OrderCase& c = GetParam();
  Battle b;
  for (const char* name : {"A", "B", "C"})
    b.Add(name, kDies);
  for (const char* name : {"X", "Y"})
    b.Add(name, kDies, true);
  b.Tour.Rec.TournamentType = c.Type;
  b.Tour.Rec.SelfFights = c.SelfFights;
  b.Tour.Rec.Rounds = 2;
  EXPECT_EQ(PlayedOrder(b), c.Expected);
  EXPECT_EQ(b.Controller->State(), RunState::Complete);
  EXPECT_EQ(b.Tour.MatchupCount(), static_cast<int32_t>(c.Expected.size()));
  EXPECT_EQ(b.Tour.TotalRounds, 2 * static_cast<int32_t>(c.Expected.size()));
  for (const auto& [row, column] : c.Expected)
    EXPECT_EQ(b.Result(row, column).RoundsPlayed, 2) << row << "," << column;
}

INSTANTIATE_TEST_SUITE_P(
    Types, ScheduleOrder,
    testing::Values(
        OrderCase{"RoundRobin", RoundRobin, false, {{0, 1}, {0, 2}, {1, 2}}},
        OrderCase{
            "RoundRobinSelf", RoundRobin, true, {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}}},
        OrderCase{"Challenge", Challenge, false, {{0, 1}, {0, 2}}},
        OrderCase{"ChallengeSelf", Challenge, true, {{0, 0}, {0, 1}, {0, 2}}},
        OrderCase{"Benchmark", Benchmark, false, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
        OrderCase{
            "BenchmarkSelf", Benchmark, true, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
        OrderCase{"Melee", Melee, false, {{0, 0}}}),
    [](const testing::TestParamInfo<OrderCase>& i) { return std::string(i.param.Name); });

TEST(Schedule, RoundRobinRecordsBothMirrorCells) {
  Battle b;
  b.Add("Survivor", kSurvives);
  b.Add("Victim", kDies);
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.Rounds = 3;
  b.Controller->NewBattle();
  b.Controller->RunLoop();
  const MatchupResult& a = b.Result(0, 1);
  const MatchupResult& v = b.Result(1, 0);
  EXPECT_EQ(a.SurvivorCounts, (std::vector<int32_t>{3, 0}));
  EXPECT_EQ(a.Losses, 0);
  EXPECT_EQ(v.Losses, 3);
  EXPECT_EQ(v.SurvivorCounts, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(a.RoundsPlayed, 3);
  EXPECT_EQ(v.RoundsPlayed, 3);
  EXPECT_EQ(a.Opponent, 1);
  EXPECT_EQ(v.Opponent, 0);
  // The victim dies on its first move: in one cycle when it moves first, else in the second
  // half of the first cycle. First warriors 1, 2, 1.
  EXPECT_DOUBLE_EQ(a.AverageCycles, 1.0);
  EXPECT_EQ(b.Result(0, 0).RoundsPlayed, 0);
  EXPECT_EQ(b.Platform.Messages, std::vector<std::string>{"Tournament complete."});
}

TEST(Schedule, SelfFightIsRecordedOnceFromSlotOne) {
  Battle b;
  b.Add("A", kSurvives);
  b.Add("B", kSurvives);
  b.Core->MaxCycles = 5;
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.SelfFights = true;
  b.Tour.Rec.Rounds = 2;
  b.Controller->NewBattle();
  b.Controller->RunLoop();
  EXPECT_EQ(b.Result(0, 0).RoundsPlayed, 2);
  EXPECT_EQ(b.Result(0, 0).SurvivorCounts, (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(b.Result(0, 1).RoundsPlayed, 2);
  EXPECT_EQ(b.Result(1, 0).RoundsPlayed, 2);
  EXPECT_DOUBLE_EQ(b.Result(1, 1).AverageCycles, 5.0);
}

TEST(Schedule, CompletionMessageOnlyAfterTwoRoundsOrMore) {
  for (int32_t rounds : {1, 2}) {
    Battle b;
    b.Add("A", kSurvives);
    b.Add("B", kDies);
    b.Tour.Rec.TournamentType = RoundRobin;
    b.Tour.Rec.Rounds = rounds;
    b.Controller->NewBattle();
    b.Controller->RunLoop();
    EXPECT_EQ(b.Controller->State(), RunState::Complete);
    EXPECT_EQ(b.Platform.Messages.size(), rounds >= 2 ? 1u : 0u) << rounds;
  }
}

TEST(Schedule, LoneMeleeWarriorSurvivesOrLoses) {
  for (bool dies : {false, true}) {
    Battle b;
    b.Add("Solo", dies ? kDies : kSurvives);
    b.Core->MaxCycles = 10;
    b.Tour.Rec.PauseBetweenRounds = true;
    b.Controller->NewBattle();
    b.Controller->RunLoop();
    EXPECT_EQ(b.Controller->State(), RunState::Stopped);
    EXPECT_EQ(b.Controller->StatusText(), dies ? "Lost by Solo" : "Drawn");
    b.Controller->RunLoop(); // records the paused round
    const MatchupResult& r = b.Result(0, 0);
    EXPECT_EQ(r.Losses, dies ? 1 : 0);
    EXPECT_EQ(r.SurvivorCounts, std::vector<int32_t>{dies ? 0 : 1});
    EXPECT_EQ(b.Controller->State(), RunState::Complete);
  }
}

TEST(Schedule, SingleWarriorBecomesAMeleeUnlessBenchmarked) {
  for (const uint8_t type : {RoundRobin, Challenge, Benchmark}) {
    Battle b;
    b.Add("Solo", kSurvives);
    b.Add("Bench", kSurvives, true);
    b.Tour.Rec.TournamentType = type;
    b.Controller->NewBattle();
    const bool benchmark = type == Benchmark;
    EXPECT_EQ(b.Tour.Rec.TournamentType, benchmark ? Benchmark : Melee);
    ASSERT_EQ(b.Platform.Messages.size(), benchmark ? 0u : 1u);
    if (!benchmark) {
      EXPECT_EQ(b.Platform.Messages[0].rfind("Single warrior battles", 0), 0u);
    }
    EXPECT_EQ(b.Controller->State(), RunState::Stopped);
  }
}

TEST(Schedule, BenchmarkWithoutBenchmarkWarriorsStaysIdle) {
  Battle b;
  b.Add("A", kSurvives);
  b.Add("B", kSurvives);
  b.Tour.Rec.TournamentType = Benchmark;
  b.Controller->NewBattle();
  EXPECT_EQ(b.Controller->State(), RunState::Idle);
  EXPECT_EQ(b.Platform.Messages,
            std::vector<std::string>{
                "To run a Benchmark tournament, you must select a warrior or warrior list."});
}

struct RoundStart {
  int32_t First, Offset, Second;
  bool operator==(const RoundStart&) const = default;
};

// First warrior, permutation offset and warrior 2's load address of every round set up.
std::vector<RoundStart> RoundStarts(Battle& b) {
  std::vector<RoundStart> starts;
  b.Form.OnInit = [&] {
    const TWarrior& w = *b.Core->Warriors[2];
    starts.push_back({b.Tour.FirstWarrior, b.Core->PermutationOffset,
                      ModCore(b.Core->QueueEntry(w, 0) - w.StartOffset, b.Core->CoreSize)});
  };
  b.Controller->NewBattle();
  b.Controller->RunLoop();
  return starts;
}

TEST(Schedule, PermutateAlternatesFirstWarriorsThenMovesTheOffset) {
  Battle b;
  b.Add("A", kSurvives);
  b.Add("B", kDies);
  b.Core->SecondPosition = kPositionPermutate;
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.Rounds = 4;
  EXPECT_EQ(RoundStarts(b),
            (std::vector<RoundStart>{{1, 0, 100}, {2, 0, 100}, {1, 1, 101}, {2, 1, 101}}));
}

TEST(Schedule, MeleeRotatesTheFirstWarriorOverAllSlots) {
  Battle b;
  for (const char* name : {"A", "B", "C"})
    b.Add(name, kSurvives);
  b.Core->MaxCycles = 3;
  b.Core->MinDistance = 10;
  b.Tour.Rec.Rounds = 4;
  std::vector<int32_t> firsts;
  for (const auto& s : RoundStarts(b))
    firsts.push_back(s.First);
  EXPECT_EQ(firsts, (std::vector<int32_t>{1, 2, 3, 1}));
  EXPECT_EQ(b.Result(2, 0).SurvivorCounts, (std::vector<int32_t>{0, 0, 4}));
}

TEST(Schedule, NewMatchupStartsAtFirstWarriorOneAndOffsetZero) {
  Battle b;
  for (const char* name : {"A", "B", "C"})
    b.Add(name, kDies);
  b.Core->SecondPosition = kPositionPermutate;
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.Rounds = 3;
  const auto starts = RoundStarts(b);
  ASSERT_EQ(starts.size(), 9u);
  for (size_t m = 0; m < 3; ++m) {
    EXPECT_EQ(starts[m * 3], (RoundStart{1, 0, 100})) << m;
    EXPECT_EQ(starts[m * 3 + 1], (RoundStart{2, 0, 100})) << m;
    EXPECT_EQ(starts[m * 3 + 2], (RoundStart{1, 1, 101})) << m;
  }
}

TEST(Schedule, ColoursFollowListIndexes) {
  Battle b;
  for (int i = 0; i < 3; ++i)
    b.Add("W" + std::to_string(i), kDies);
  b.Add("X", kDies, true);
  b.Add("Y", kDies, true);
  b.Tour.Rec.TournamentType = Benchmark;
  b.Controller->NewBattle();
  EXPECT_EQ(b.Tour.WarriorColours[1], WarriorPalette[0]);
  EXPECT_EQ(b.Tour.WarriorColours[2], WarriorPalette[3]) << "benchmark j: (N + j) mod 8";
  EXPECT_STREQ(TournamentTypeName(Benchmark), "Benchmark");
  EXPECT_STREQ(TournamentTypeName(9), "Unknown");
}

} // namespace
} // namespace velmora::test
