// The schedule: matchup orders of every tournament type, records from both sides, totals,
// the completion message, the first-warrior and permutation-offset sequences, refusals of
// battles that cannot start, and P-space blocks shared by PIN.
#include <gtest/gtest.h>

#include <utility>

#include "battle_support.h"

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

TEST(Schedule, MatchupsComeInTheirOrderAndEachPlaysItsRounds) {
  struct Row {
    uint8_t type;
    bool selfFights;
    Order expected;
  };
  // clang-format off
  const Row rows[] = {
      {RoundRobin, false, {{0, 1}, {0, 2}, {1, 2}}},
      {RoundRobin, true, {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}}},
      {Challenge, false, {{0, 1}, {0, 2}}},
      {Challenge, true, {{0, 0}, {0, 1}, {0, 2}}},
      {Benchmark, false, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
      {Benchmark, true, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
      {Melee, false, {{0, 0}}},
  };
  // clang-format on
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(TournamentTypeName(r.type)) + (r.selfFights ? " with self" : ""));
    Battle b;
    for (const char* name : {"A", "B", "C"})
      b.Add(name, kDies);
    for (const char* name : {"X", "Y"})
      b.Add(name, kDies, true);
    b.Tour.Rec.TournamentType = r.type;
    b.Tour.Rec.SelfFights = r.selfFights;
    b.Tour.Rec.Rounds = 2;
    EXPECT_EQ(PlayedOrder(b), r.expected);
    EXPECT_EQ(b.Controller->State(), RunState::Complete);
    EXPECT_EQ(b.Tour.MatchupCount(), int32_t(r.expected.size()));
    EXPECT_EQ(b.Tour.TotalRounds, 2 * int32_t(r.expected.size()));
    for (const auto& [row, column] : r.expected)
      EXPECT_EQ(b.Result(row, column).RoundsPlayed, 2) << row << "," << column;
    if (r.type == Benchmark) {
      EXPECT_EQ(b.Tour.WarriorColours[1], WarriorPalette[2]);
      EXPECT_EQ(b.Tour.WarriorColours[2], WarriorPalette[4]) << "benchmark j: (N + j) mod 8";
    }
  }
}

TEST(Schedule, RoundRobinRecordsBothMirrorCellsAndASelfFightOnce) {
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

  Battle s;
  s.Add("A", kSurvives);
  s.Add("B", kSurvives);
  s.Core->MaxCycles = 5;
  s.Tour.Rec.TournamentType = RoundRobin;
  s.Tour.Rec.SelfFights = true;
  s.Tour.Rec.Rounds = 3; // odd: a self fight recorded from both slots would play 4
  s.Controller->NewBattle();
  s.Controller->RunLoop();
  EXPECT_EQ(s.Result(0, 0).RoundsPlayed, 3);
  EXPECT_EQ(s.Result(0, 0).SurvivorCounts, (std::vector<int32_t>{0, 3}));
  EXPECT_EQ(s.Result(0, 1).RoundsPlayed, 3);
  EXPECT_EQ(s.Result(1, 0).RoundsPlayed, 3);
  EXPECT_DOUBLE_EQ(s.Result(1, 1).AverageCycles, 5.0);
}

TEST(Schedule, CompletionMessageOnlyAfterTwoRoundsOrMoreAndALoneMeleeWarrior) {
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
    EXPECT_EQ(b.Result(0, 0).Losses, dies ? 1 : 0);
    EXPECT_EQ(b.Result(0, 0).SurvivorCounts, std::vector<int32_t>{dies ? 0 : 1});
    EXPECT_EQ(b.Controller->State(), RunState::Complete);
  }
}

TEST(Schedule, BattlesThatCannotStartAsAskedSayWhy) {
  struct Row {
    const char* what;
    std::vector<std::vector<std::string>> warriors; // sources of A, B, ...
    uint8_t type;
    int32_t minDistance;
    RunState state;
    std::string message; // the only message
    std::vector<bool> loaded;
    bool benchmarkWarrior = false;
  };
  // clang-format off
  const Row rows[] = {
      {"no warriors", {}, RoundRobin, 100, RunState::Idle, "", {}},
      {"one warrior in a round robin", {kSurvives}, RoundRobin, 100, RunState::Stopped,
       "Single warrior battles are only supported by Melee tournaments. The tournament type has "
       "been set to Melee.", {true}},
      {"one warrior in a challenge", {kSurvives}, Challenge, 100, RunState::Stopped,
       "Single warrior battles are only supported by Melee tournaments. The tournament type has "
       "been set to Melee.", {true}},
      {"one warrior against a benchmark", {kSurvives}, Benchmark, 100, RunState::Stopped, "",
       {true}, true},
      {"a benchmark without benchmark warriors", {kSurvives, kSurvives}, Benchmark, 100,
       RunState::Idle, "To run a Benchmark tournament, you must select a warrior or warrior list.",
       {false}},
      {"a warrior that does not compile", {kSurvives, {"frobnicate 1, 2"}}, RoundRobin, 100,
       RunState::Idle, "Warrior B failed to compile.\n    Bad Opcode in line 1:  1, 2", {false}},
      {"warriors that do not fit", {kSurvives, kSurvives}, RoundRobin, 5000, RunState::Idle,
       "Unable to fit warrior B into core", {true}},
  };
  // clang-format on
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Battle b;
    for (size_t i = 0; i < r.warriors.size(); ++i)
      b.Add(std::string(1, char('A' + i)), r.warriors[i]);
    if (r.benchmarkWarrior) b.Add("Bench", kSurvives, true);
    b.Tour.Rec.TournamentType = r.type;
    b.Core->MinDistance = r.minDistance;
    b.Controller->NewBattle();
    EXPECT_EQ(b.Controller->State(), r.state);
    EXPECT_EQ(b.Platform.Messages,
              r.message.empty() ? std::vector<std::string>{} : std::vector{r.message});
    EXPECT_EQ(b.View.Loaded, r.loaded);
    EXPECT_EQ(b.Tour.Rec.TournamentType,
              r.message.rfind("Single", 0) == 0 ? uint8_t{Melee} : r.type);
    b.Controller->SingleStep();
    EXPECT_EQ(b.Core->CycleCount, r.state == RunState::Idle ? 0 : 1);
  }
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

TEST(Schedule, PermutateAlternatesFirstWarriorsThenMovesTheOffsetFromZeroEachMatchup) {
  Battle b;
  for (const char* name : {"A", "B", "C"})
    b.Add(name, kDies);
  b.Core->SecondPosition = kPositionPermutate;
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.Rounds = 4;
  const auto starts = RoundStarts(b);
  ASSERT_EQ(starts.size(), 12u);
  const RoundStart matchup[] = {{1, 0, 100}, {2, 0, 100}, {1, 1, 101}, {2, 1, 101}};
  for (size_t i = 0; i < 12; ++i)
    EXPECT_EQ(starts[i], matchup[i % 4]) << i;
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

// Reads P-space location 0 into its own B-field, then loops.
const std::vector<std::string> kReader = {"ldp.ab #0, 1", "jmp 0"};

TEST(PSpace, SamePinSharesOneBlockAndCompilingClearsBlocksAndTheOffset) {
  Battle b;
  b.Add("P7a", {"pin 7", "jmp 0"});
  b.Add("P7b", {"pin 7", "jmp 0"});
  b.Add("Free", {"jmp 0"});
  b.Add("P8", {"pin 8", "jmp 0"});
  b.Core->MinDistance = 10;
  b.Controller->NewBattle();
  ASSERT_EQ(b.Controller->State(), RunState::Stopped);
  EXPECT_EQ(b.Slot(1).PSpace, b.Slot(2).PSpace);
  EXPECT_NE(b.Slot(3).PSpace, b.Slot(1).PSpace);
  EXPECT_NE(b.Slot(4).PSpace, b.Slot(1).PSpace);
  EXPECT_EQ(b.Slot(1).PSpace->size(), size_t(b.Core->PSpaceSize));
  for (int k = 1; k <= 4; ++k)
    EXPECT_EQ(b.Slot(k).LastResult, b.Core->CoreSize - 1) << k;
  (*b.Slot(1).PSpace)[4] = 99;
  b.Core->PermutationOffset = 12;
  ASSERT_TRUE(CompileWarriors(*b.Core));
  EXPECT_EQ((*b.Slot(2).PSpace)[4], 0);
  EXPECT_EQ(b.Slot(1).LastResult, -1);
  EXPECT_EQ(b.Core->PermutationOffset, 0);
}

TEST(PSpace, FirstRoundReadsCoreSizeMinusOneThenTheResult) {
  for (bool fast : {false, true}) {
    Battle b;
    b.Add("Reader", kReader);
    b.Add("Victim", {"nop 0, 0", "dat 0, 0"}); // dies on its second move
    b.Tour.Rec.TournamentType = RoundRobin;
    b.Tour.Rec.Rounds = 2;
    b.Tour.Rec.PauseBetweenRounds = true;
    b.Controller->SetMaxSpeed(fast);
    b.Controller->NewBattle();
    b.Controller->SingleStep();
    EXPECT_EQ(b.Core->Core[1].BField, 7999) << fast;
    b.Controller->RunLoop(); // the victim dies; the round pauses
    EXPECT_EQ(b.Slot(1).LastResult, 1);
    EXPECT_EQ(b.Slot(2).LastResult, 0);
    b.Controller->SingleStep(); // hands on the round, sets up the next
    b.Controller->SingleStep(); // its first cycle
    EXPECT_EQ(b.Core->Core[1].BField, 1) << "a sole survivor reads 1";
    EXPECT_EQ(b.Slot(2).LastResult, 0) << "a loss stays 0 in the next round";
  }
}

} // namespace
} // namespace velmora::test
