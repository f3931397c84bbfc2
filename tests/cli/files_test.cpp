// What the command line does when the machine runs out: memory and threads.

#include <gtest/gtest.h>

#include "assembler/assembler.h"
#include "cli/battle.h"
#include "cli_support.h"

namespace velmora::cli::test {
namespace {

TEST(CliFiles, MemoryThatRunsOutEndsOrNarrowsTheRunWithoutAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than any limit leaves";
#endif
  // An 8M-cell core takes 96 MB: under the first limit one engine fits, under the second
  // none does. The program runs under a limit on its address space, as a shell starts it.
  const struct {
    int LimitKb, Status;
    const char* Contains;
  } cases[] = {{180000, 0, "Running 1 of 3 threads"}, {60000, 1, "Not enough memory"}};
  const std::string dir = TempDir("memory");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Contains);
    const CliRun r = Shell(dir,
                           "-s 8000000 -c 10 -r 1 -k --threads 3 --type round-robin " +
                               Example("imp") + " " + Example("dwarf") + " " + Example("stone"),
                           "ulimit -v " + std::to_string(c.LimitKb) + "; exec");
    EXPECT_EQ(r.Status, c.Status) << r.Err; // -1 when ended by a signal
    EXPECT_NE(r.Err.find(c.Contains), std::string::npos) << r.Err;
  }
}

TEST(CliFiles, ThreadsThatCannotStartLeaveTheRunToTheOthers) {
  TNullMardexForm form;
  THeadlessPlatform platform;
  TParamsRec params = DefaultParams();
  params.NumWarriors = 2;
  params.SeedMode = 5;
  std::string results[2];
  for (int refuse = 0; refuse < 2; ++refuse) {
    auto core = TCore::CreateWithoutMemory(params, form, platform);
    InstallAssembler(*core);
    TTournament t;
    for (const char* name : {"imp", "dwarf", "stone", "paper"}) {
      t.WarriorList.push_back({0, name, "A", {}, Example(name)});
      std::string author, warriorName;
      ReadWarriorFile(platform, Example(name), t.WarriorList.back().Source, author, warriorName);
    }
    t.Rec.TournamentType = RoundRobin;
    t.Rec.Rounds = 4;
    ASSERT_TRUE(t.SetUpTournament(*core));
    int started = 0;
    // The second and later threads are refused, as a system out of threads would.
    auto starter = [&](std::function<void()> body) {
      if (refuse && ++started > 1) throw std::system_error(EAGAIN, std::generic_category());
      return std::thread(std::move(body));
    };
    Progress progress;
    const BattleOutcome out = RunTournament(params, t, 4, progress, starter);
    EXPECT_TRUE(out.Ok);
    EXPECT_EQ(out.Warning, refuse ? "Running 2 of 4 threads: no more could be started" : "");
    EXPECT_EQ(progress.MatchupsDone, 6);
    for (const auto& row : t.Rec.Results)
      for (const MatchupResult& m : row)
        results[refuse] += std::to_string(m.RoundsPlayed) + "/" + std::to_string(m.Losses) + " ";
  }
  EXPECT_EQ(results[0], results[1]);
}

} // namespace
} // namespace velmora::cli::test
