// The schedule: matchup orders of every tournament type, totals, records from both sides and of
// self fights, the completion message, refusals of battles that cannot start and P-space blocks
// shared by PIN; the run controller's replays under fixed and checksum seeds and its slow speeds.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "battle_support.h"

namespace velmora::test {
namespace {

using Order = std::vector<std::pair<int32_t, int32_t>>;
const std::vector<std::string> kDies = {"dat 0, 0"};     // dies on its first move
const std::vector<std::string> kSurvives = {"jmp 0, 0"}; // never dies

TEST(Schedule, MatchupsComeInTheirOrderAndEachPlaysItsRounds) {
  struct Row {
    uint8_t type;
    bool selfFights;
    Order expected;
  };
  const Row rows[] = {
      {RoundRobin, false, {{0, 1}, {0, 2}, {1, 2}}},
      {RoundRobin, true, {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}}},
      {Challenge, false, {{0, 1}, {0, 2}}},
      {Challenge, true, {{0, 0}, {0, 1}, {0, 2}}},
      {Benchmark, false, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
      {Benchmark, true, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
      {Melee, false, {{0, 0}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(TournamentTypeName(r.type)) + (r.selfFights ? " with self" : ""));
    Battle b;
    b.Add({{"A", kDies}, {"B", kDies}, {"C", kDies}});
    b.Add("X", kDies, true);
    b.Add("Y", kDies, true);
    b.Tour.Rec.SelfFights = r.selfFights;
    b.Start(r.type, 2);
    // The whole tournament one cycle at a time, noting every matchup.
    Order order = {{b.Tour.Rec.CurrentRow, b.Tour.Rec.CurrentColumn}};
    for (int32_t guard = 0, matchup = b.Tour.MatchupNumber;
         guard < 1000 && b.Controller->State() != RunState::Complete; ++guard) {
      b.Controller->SingleStep();
      if (b.Tour.MatchupNumber == matchup) continue;
      matchup = b.Tour.MatchupNumber;
      order.emplace_back(b.Tour.Rec.CurrentRow, b.Tour.Rec.CurrentColumn);
    }
    EXPECT_EQ(order, r.expected);
    EXPECT_EQ(b.Controller->State(), RunState::Complete);
    const int32_t n = int32_t(r.expected.size());
    EXPECT_EQ(std::tuple(b.Tour.MatchupCount(), b.Tour.TotalRounds), std::tuple(n, 2 * n));
    for (const auto& [row, column] : r.expected)
      EXPECT_EQ(b.Result(row, column).RoundsPlayed, 2) << row << "," << column;
    if (r.type == Benchmark) { // benchmark j: (N + j) mod 8
      EXPECT_EQ(std::tuple(b.Tour.WarriorColours[1], b.Tour.WarriorColours[2]),
                std::tuple(WarriorPalette[2], WarriorPalette[4]));
    }
  }
}

TEST(Schedule, RoundRobinRecordsBothMirrorCellsAndASelfFightOnce) {
  Battle b;
  b.Add({{"Survivor", kSurvives}, {"Victim", kDies}});
  b.Start(RoundRobin, 3);
  b.Controller->RunLoop();
  const auto record = [&](int row, int column) {
    const MatchupResult& m = b.Result(row, column);
    return std::tuple(m.SurvivorCounts, m.Losses, m.RoundsPlayed, m.Opponent);
  };
  EXPECT_EQ(record(0, 1), std::tuple(std::vector{3, 0}, 0, 3, 1));
  EXPECT_EQ(record(1, 0), std::tuple(std::vector{0, 0}, 3, 3, 0));
  // The victim dies on its first move: in one cycle when it moves first, else in the second half of
  // the first cycle. First warriors 1, 2, 1.
  EXPECT_DOUBLE_EQ(b.Result(0, 1).AverageCycles, 1.0);
  EXPECT_EQ(b.Result(0, 0).RoundsPlayed, 0);
  EXPECT_EQ(b.Platform.Messages, std::vector<std::string>{"Tournament complete."});

  Battle s;
  s.Add({{"A", kSurvives}, {"B", kSurvives}});
  s.Core->MaxCycles = 5;
  s.Tour.Rec.SelfFights = true;
  s.Start(RoundRobin, 3); // odd: a self fight recorded from both slots would play 4
  s.Controller->RunLoop();
  EXPECT_EQ(std::tuple(s.Result(0, 0).RoundsPlayed, s.Result(0, 0).SurvivorCounts,
                       s.Result(0, 1).RoundsPlayed, s.Result(1, 0).RoundsPlayed),
            std::tuple(3, std::vector{0, 3}, 3, 3));
  EXPECT_DOUBLE_EQ(s.Result(1, 1).AverageCycles, 5.0);
}

TEST(Schedule, CompletionMessageOnlyAfterTwoRoundsOrMoreAndALoneMeleeWarrior) {
  for (int32_t rounds : {1, 2}) {
    Battle b;
    b.Add({{"A", kSurvives}, {"B", kDies}});
    b.Start(RoundRobin, rounds);
    b.Controller->RunLoop();
    EXPECT_EQ(b.Controller->State(), RunState::Complete);
    EXPECT_EQ(b.Platform.Messages.size(), rounds >= 2 ? 1u : 0u) << rounds;
  }
  // A lone melee warrior loses or draws; the paused round is recorded by the next run.
  for (bool dies : {false, true}) {
    Battle b;
    b.Add("Solo", dies ? kDies : kSurvives);
    b.Core->MaxCycles = 10;
    b.Start(Melee, 1, true);
    b.Controller->RunLoop();
    EXPECT_EQ(std::tuple(b.Controller->State(), b.Controller->StatusText()),
              std::tuple(RunState::Stopped, dies ? "Lost by Solo" : "Drawn"));
    b.Controller->RunLoop();
    EXPECT_EQ(
        std::tuple(b.Result(0, 0).Losses, b.Result(0, 0).SurvivorCounts, b.Controller->State()),
        std::tuple(dies ? 1 : 0, std::vector{dies ? 0 : 1}, RunState::Complete));
  }
}

TEST(Schedule, BattlesThatCannotStartAsAskedSayWhy) {
  const std::string melee = "Single warrior battles are only supported by Melee tournaments. The "
                            "tournament type has been set to Melee.";
  const std::string bench = "To run a Benchmark tournament, you must select a warrior or warrior "
                            "list.";
  const std::string noFit = "Unable to fit warrior B into core";
  // Compile failures are listed together before any matchup.
  const std::string compile = "Warrior B failed to compile.\n    Bad Opcode in line 1:  1, 2\n"
                              "Warrior C failed to compile.\n    Undefined Symbol in line 1:  "
                              "jmp undefined";
  const std::vector<std::string> bad = {"frobnicate 1, 2"}, undefined = {"jmp undefined"};
  struct Row {
    std::vector<std::vector<std::string>> warriors; // sources of A, B, ...
    uint8_t type;
    int32_t minDistance;
    RunState state;
    std::string message; // the only message
    std::vector<bool> loaded;
    bool benchmarkWarrior = false;
  };
  const Row rows[] = {
      {{}, RoundRobin, 100, RunState::Idle, "", {}},
      {{kSurvives}, RoundRobin, 100, RunState::Stopped, melee, {true}},
      {{kSurvives}, Benchmark, 100, RunState::Stopped, "", {true}, true},
      {{kSurvives, kSurvives}, Benchmark, 100, RunState::Idle, bench, {false}},
      {{kSurvives, bad, undefined}, RoundRobin, 100, RunState::Idle, compile, {false}},
      {{kSurvives, kSurvives}, RoundRobin, 5000, RunState::Idle, noFit, {true}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.message + " " + std::to_string(r.warriors.size()));
    Battle b;
    for (size_t i = 0; i < r.warriors.size(); ++i)
      b.Add(std::string(1, char('A' + i)), r.warriors[i]);
    if (r.benchmarkWarrior) b.Add("Bench", kSurvives, true);
    b.Core->MinDistance = r.minDistance;
    b.Start(r.type);
    EXPECT_EQ(b.Controller->State(), r.state);
    EXPECT_EQ(b.Platform.Messages,
              r.message.empty() ? std::vector<std::string>{} : std::vector{r.message});
    EXPECT_EQ(b.View.Loaded, r.loaded);
    EXPECT_EQ(b.Tour.Rec.TournamentType, r.message == melee ? uint8_t{Melee} : r.type);
    b.Controller->SingleStep();
    EXPECT_EQ(b.Core->CycleCount, r.state == RunState::Idle ? 0 : 1);
  }
}

TEST(PSpace, SamePinSharesOneBlockAndCompilingClearsBlocksAndTheOffset) {
  Battle b;
  b.Add({{"P7a", {"pin 7", "jmp 0"}},
         {"P7b", {"pin 7", "jmp 0"}},
         {"Free", {"jmp 0"}},
         {"P8", {"pin 8", "jmp 0"}}});
  b.Core->MinDistance = 10;
  b.Controller->NewBattle();
  ASSERT_EQ(b.Controller->State(), RunState::Stopped);
  EXPECT_EQ(b.Slot(1).PSpace, b.Slot(2).PSpace);
  EXPECT_EQ(std::set({b.Slot(1).PSpace, b.Slot(3).PSpace, b.Slot(4).PSpace}).size(), 3u);
  EXPECT_EQ(b.Slot(1).PSpace->size(), size_t(b.Core->PSpaceSize));
  for (int k = 1; k <= 4; ++k)
    EXPECT_EQ(b.Slot(k).LastResult, b.Core->CoreSize - 1) << k;
  (*b.Slot(1).PSpace)[4] = 99;
  b.Core->PermutationOffset = 12;
  ASSERT_TRUE(CompileWarriors(*b.Core));
  EXPECT_EQ(std::tuple((*b.Slot(2).PSpace)[4], b.Slot(1).LastResult, b.Core->PermutationOffset),
            std::tuple(0, -1, 0));
}

// Written for these tests: a bomber that drops a DAT on every fifth cell, and a paper-like
// replicator that keeps copying itself.
const std::vector<std::string> kBomber = {";name Bomber", "top   add #5, bomb",
                                          "      mov bomb, @bomb", "      jmp top",
                                          "bomb  dat #0, #5"};
const std::vector<std::string> kReplicator = {
    ";name Replicator",    "src   spl 1",        "      mov #5, cnt",    "copy  mov <cnt, <dst",
    "      djn copy, cnt", "      spl @dst",     "      add #1234, dst", "      jmp src",
    "cnt   dat #0, #0",    "dst   dat #0, #1700"};

// Ten rounds of the bomber against the replicator: wins and ties, losses, mean cycles.
auto PlayTenRounds(int32_t seedMode) {
  TParamsRec p = BattleParams();
  p.SeedMode = seedMode;
  p.MaxCycles = 20000;
  Battle b(p);
  b.Add({{"Bomber", kBomber}, {"Replicator", kReplicator}});
  b.Controller->SetMaxSpeed(true);
  b.Start(RoundRobin, 10);
  b.Controller->RunLoop();
  EXPECT_EQ(std::tuple(b.Controller->State(), b.Result(0, 1).RoundsPlayed),
            std::tuple(RunState::Complete, 10));
  const MatchupResult& r = b.Result(0, 1);
  return std::tuple(r.SurvivorCounts, r.Losses, b.Result(1, 0).Losses, r.AverageCycles);
}

TEST(RunController, FixedAndChecksumSeedsReplayTheSameBattle) {
  for (int32_t seed : {4711, kSeedChecksum}) {
    const auto first = PlayTenRounds(seed);
    EXPECT_EQ(PlayTenRounds(seed), first) << seed;
    EXPECT_GT(std::get<3>(first), 0.0);
  }
}

} // namespace
} // namespace velmora::test
