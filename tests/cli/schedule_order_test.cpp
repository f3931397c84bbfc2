// The order in which the command line hands matchups to its engines is the schedule's own.

#include <gtest/gtest.h>

#include "assembler/assembler.h"
#include "cli/battle.h"

namespace velmora::cli {
namespace {

using Cells = std::vector<std::pair<int32_t, int32_t>>;

// Three warriors and two benchmark warriors, set up by the schedule itself; the order is
// then compared with the schedule's own walk through AdvanceAfterRound.
TEST(CliScheduleOrder, MatchesTheSchedule) {
  const struct {
    uint8_t Type;
    bool SelfFights;
    Cells Order;
  } cases[] = {{RoundRobin, false, {{0, 1}, {0, 2}, {1, 2}}},
               {RoundRobin, true, {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}}},
               {Challenge, false, {{0, 1}, {0, 2}}},
               {Challenge, true, {{0, 0}, {0, 1}, {0, 2}}},
               {Benchmark, true, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}},
               {Melee, false, {{0, 0}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.Type) << " " << c.SelfFights);
    TNullMardexForm form;
    THeadlessPlatform platform;
    TParamsRec params = DefaultParams();
    params.NumWarriors = 3;
    auto core = TCore::Create(params, form, platform);
    ASSERT_TRUE(core);
    InstallAssembler(*core);
    TTournament t;
    for (int i = 0; i < 3; ++i)
      t.WarriorList.push_back({i + 1, "W" + std::to_string(i), "A", {"jmp 0"}, ""});
    for (int i = 0; i < 2; ++i)
      t.BenchmarkList.push_back({i + 1, "B" + std::to_string(i), "A", {"jmp 0"}, ""});
    t.Rec.TournamentType = c.Type;
    t.Rec.SelfFights = c.SelfFights;
    t.Rec.Rounds = 1;
    ASSERT_TRUE(t.SetUpTournament(*core));
    Cells got;
    for (const Matchup& m : ScheduleOrder(t.Rec))
      got.emplace_back(m.Row, m.Column);
    EXPECT_EQ(got, c.Order);
    // The schedule visits the same cells when every round is a draw.
    Cells walked{{t.Rec.CurrentRow, t.Rec.CurrentColumn}};
    for (size_t i = 0; i < got.size(); ++i) {
      core->RoundState = kRoundDrawn;
      for (auto& w : core->Warriors)
        w->Alive = true;
      core->AliveCount = core->NumWarriors;
      const AdvanceStep step = t.AdvanceAfterRound(*core);
      if (step == AdvanceStep::Complete) break;
      walked.emplace_back(t.Rec.CurrentRow, t.Rec.CurrentColumn);
    }
    EXPECT_EQ(walked, c.Order);
  }
}

} // namespace
} // namespace velmora::cli
