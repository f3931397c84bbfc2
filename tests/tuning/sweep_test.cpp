// Sweeps: every point scored as its own benchmark would score it, the same for any number of
// threads; successive halving keeping the best; bad names and ranges refused.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "assembler/assembler.h"
#include "results/results_table.h"
#include "tournament/run_controller.h"
#include "tournament/warrior_input.h"
#include "tuning/sweep.h"

namespace velmora {
namespace {

// The example warriors in file order.
std::vector<TWarriorData> Examples() {
  std::set<std::string> paths;
  for (const auto& e : std::filesystem::directory_iterator(VELMORA_EXAMPLES_DIR))
    if (e.path().extension() == ".red") paths.insert(e.path().string());
  THeadlessPlatform platform;
  std::vector<TWarriorData> list;
  for (const std::string& p : paths)
    AddWarriorFile(platform, p, true, list);
  return list;
}

// Stone with each of its bombing steps written in by hand, the versions fought as the warriors of
// one benchmark through the run controller: the summary rows, one per step.
std::vector<ResultRow> Benchmarked(const SweepSpec& plan, const std::vector<int32_t>& steps,
                                   int32_t seed) {
  TTournament tour;
  for (int32_t step : steps) {
    TWarriorData w = plan.Warrior;
    for (std::string& line : w.Source)
      if (line.starts_with("step")) line = "step equ " + std::to_string(step);
    tour.WarriorList.push_back(w);
  }
  TParamsRec params = plan.Params;
  params.NumWarriors = 2;
  params.SeedMode = seed;
  TNullMardexForm form(plan.Rounds);
  THeadlessPlatform platform;
  auto core = TCore::Create(params, form, platform);
  tour.Rec.TournamentType = Benchmark;
  tour.Rec.Rounds = plan.Rounds;
  tour.BenchmarkList = plan.Opponents;
  TRunView view;
  TRunController run(*core, tour, view);
  run.SetMaxSpeed(true);
  run.NewBattle();
  while (run.State() == RunState::Stopped || run.State() == RunState::Running)
    run.RunLoop();
  EXPECT_EQ(run.State(), RunState::Complete);
  TResultsTable table(*core, tour);
  table.Percent = false;
  table.ComputeSummary();
  return table.Rows;
}

// What a point came to, compared whole between runs.
auto Summary(const SweepOutcome& out) {
  std::vector<std::tuple<std::vector<int32_t>, double, int32_t, std::vector<std::string>>> points;
  for (const SweepPoint& p : out.Points) {
    std::vector<std::string> matchups;
    for (const MatchupResult& m : p.Matchups)
      matchups.push_back(testing::PrintToString(m.SurvivorCounts) + " " +
                         std::to_string(m.AverageCycles));
    points.emplace_back(p.Values, p.Score, p.Rounds, matchups);
  }
  return std::tuple(points, out.Ranking);
}

TEST(Sweep, ScoresEachPointAsItsOwnBenchmarkForAnyThreadCount) {
  struct Case {
    int32_t Position, Seed,
        SweepSeed; // the sweep replaces a checksum seed by 1
    bool Halving;
  };
  for (const Case c :
       {Case{kPositionRandom, 1, kSeedChecksum, false}, Case{kPositionPermutate, 77, 77, false},
        Case{kPositionRandom, 5, 5, true}}) {
    SweepSpec plan;
    plan.Opponents = Examples();
    plan.Warrior = *std::find_if(plan.Opponents.begin(), plan.Opponents.end(),
                                 [](auto& w) { return w.FileName.ends_with("stone.red"); });
    plan.Ranges = {{"step", 3040, 3052, 4}};
    plan.Params = DefaultParams();
    plan.Params.SecondPosition = c.Position;
    plan.Params.SeedMode = c.SweepSeed;
    plan.Rounds = 4;
    plan.Halving = c.Halving;
    plan.StartRounds = 2;
    std::vector<SweepOutcome> runs;
    for (int32_t threads : {1, 2, 3}) {
      plan.Threads = threads;
      SweepProgress progress;
      runs.push_back(RunSweep(plan, progress));
      EXPECT_EQ(progress.RoundsDone, progress.TotalRounds);
      if (threads > 1) {
        EXPECT_EQ(Summary(runs.back()), Summary(runs.front())) << threads;
      }
    }
    const SweepOutcome& out = runs.front();
    ASSERT_EQ(out.Points.size(), 4u);
    EXPECT_EQ(out.Ranking.size(), c.Halving ? 2u : 4u);
    const std::vector<ResultRow> own = Benchmarked(plan, {3040, 3044, 3048, 3052}, c.Seed);
    for (size_t i : out.Ranking) {
      const SweepPoint& p = out.Points[i];
      EXPECT_EQ(p.Score, own[i].Score) << p.Values[0];
      EXPECT_EQ(std::vector<double>({double(p.Wins), double(p.Losses), double(p.Ties)}),
                own[i].Outcomes);
    }
    for (size_t k = 1; k < out.Ranking.size(); ++k)
      EXPECT_GE(out.Points[out.Ranking[k - 1]].Score, out.Points[out.Ranking[k]].Score);
  }
}

// A warrior that lives `life` cycles against ones that live 100, 200, ... 600: the longer it lives,
// the more it wins, whatever the positions. A negative life is a negative PIN.
SweepSpec Ladder() {
  SweepSpec plan;
  plan.Warrior.Name = "Ladder";
  plan.Warrior.Source = {"life equ 0", "two equ 1",    " equ 2",
                         "pin life",   "djn 0, #life", "dat 0, 0"};
  for (int t = 100; t <= 600; t += 100)
    plan.Opponents.push_back(
        {0, "Lives" + std::to_string(t), "", {"djn 0, #" + std::to_string(t), "dat 0, 0"}, ""});
  plan.Ranges = {{"life", -50, 650, 100}};
  plan.Params = DefaultParams();
  plan.Rounds = 8;
  plan.Threads = 2;
  return plan;
}

TEST(Sweep, HalvingKeepsWhatTheFullSweepRanksBest) {
  SweepSpec plan = Ladder();
  SweepProgress fullProgress, halfProgress;
  const SweepOutcome full = RunSweep(plan, fullProgress);
  plan.Halving = true;
  plan.StartRounds = 1;
  const SweepOutcome half = RunSweep(plan, halfProgress);

  ASSERT_EQ(full.Points.size(), 8u);
  EXPECT_TRUE(full.Points[0].Failed);
  EXPECT_NE(full.Points[0].Message.find("Negative PIN"), std::string::npos);
  std::vector<int32_t> ranked;
  for (size_t i : full.Ranking)
    ranked.push_back(full.Points[i].Values[0]);
  EXPECT_EQ(ranked, (std::vector<int32_t>{650, 550, 450, 350, 250, 150, 50}));

  // 7 points with 1 round, the best 4 with 2, the best 2 with 4, the best with all 8.
  std::vector<int32_t> rounds;
  for (const SweepPoint& p : half.Points)
    rounds.push_back(p.Rounds);
  EXPECT_EQ(rounds, (std::vector<int32_t>{0, 1, 1, 1, 2, 2, 4, 8}));
  ASSERT_EQ(half.Ranking, std::vector<size_t>{7});
  EXPECT_EQ(half.Points[7].Score, 300.0);
  EXPECT_EQ(halfProgress.TotalRounds, (7 * 1 + 4 * 2 + 2 * 4 + 1 * 8) * 6);
  EXPECT_EQ(fullProgress.PointsDone, 7);
}

TEST(Sweep, RefusesNamesAndRangesThatMakeNoSweep) {
  const std::vector<std::pair<std::vector<SweepRange>, std::string>> cases = {
      {{{"gap", 1, 2, 1}}, "gap is not a single-line EQU of Ladder"},
      {{{"two", 1, 2, 1}}, "two is not a single-line EQU of Ladder"},
      {{{"life", 10, 1, 1}}, "The range life=10..1:1 is empty"},
      {{{"life", 1, 10, 0}}, "The step of life must not be 0"},
      {{{"life", 1, 2, 1}, {"life", 3, 4, 1}}, "life is varied twice"},
      {{{"life", 0, 400, 1}, {"two", 0, 1, 1}}, "two is not a single-line EQU of Ladder"},
      {{{"life", -2000000000, 2000000000, 1}}, "Too many points: a sweep takes at most 100000"},
  };
  SweepSpec plan = Ladder();
  for (const auto& [ranges, message] : cases) {
    plan.Ranges = ranges;
    SweepProgress progress;
    const SweepOutcome out = RunSweep(plan, progress);
    EXPECT_EQ(out.Fault, SweepOutcome::Failure::BadSweep);
    EXPECT_EQ(out.Error, message);
    EXPECT_TRUE(out.Points.empty());
  }
}

} // namespace
} // namespace velmora
