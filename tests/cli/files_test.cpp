// What the command line does with the user's files and the machine's limits: outputs it
// may not or cannot write, 8-bit names in JSON, warrior paths that are no files, settings
// that can be saved but not run, memory and threads that run out.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include "assembler/assembler.h"
#include "cli/battle.h"
#include "cli/options.h"
#include "cli_support.h"

namespace velmora::cli::test {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

TEST(CliFiles, AnOutputThatCannotBeWrittenFailsTheRun) {
  const struct {
    Args Options;
    const char* Reason;
  } cases[] = {{{"--report", "/dev/full"}, "No space left on device"},
               {{"--json", "/dev/full"}, "No space left on device"},
               {{"--report", "ro.txt"}, "Permission denied"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Options[1]);
    const std::string dir = TempDir("outputs");
    WriteFile(dir + "/ro.txt", "keep");
    chmod((dir + "/ro.txt").c_str(), 0444);
    Args args = c.Options;
    args.insert(args.end(), {"-r", "1", "-k", Example("imp"), Example("dwarf")});
    const CliRun r = RunIn(dir, args);
    EXPECT_EQ(r.Status, kExitBattleFailed) << r.Err;
    EXPECT_NE(r.Err.find(c.Reason), std::string::npos) << r.Err;
    EXPECT_EQ(ReadFile(dir + "/ro.txt"), "keep");
  }
}

TEST(CliFiles, EightBitNamesReachJsonAsUtf8) {
  const std::string dir = TempDir("latin1");
  WriteFile(dir + "/j.red", ";redcode-94\n;name J\xF6rg\n;author M\xFCller \xA9\nmov 0, 1\n");
  const CliRun r = RunIn(dir, {"--json", "out.json", "-r", "2", "j.red", Example("dwarf")});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  const nlohmann::json doc = nlohmann::json::parse(ReadFile(dir + "/out.json"));
  EXPECT_EQ(doc["warriors"][0]["name"], "J\xC3\xB6rg");
  EXPECT_EQ(doc["warriors"][0]["author"], "M\xC3\xBCller \xC2\xA9");
  bool inSummary = false;
  for (const auto& row : doc["summary"])
    inSummary = inSummary || row["name"] == "J\xC3\xB6rg";
  EXPECT_TRUE(inSummary);
}

TEST(CliFiles, AWarriorPathThatIsAFifoIsRefusedWithoutWaiting) {
  const std::string dir = TempDir("fifo");
  ASSERT_EQ(mkfifo((dir + "/w.red").c_str(), 0600), 0);
  const CliRun r = RunIn(dir, {"-k", "-r", "1", "w.red", Example("imp"), Example("dwarf")});
  EXPECT_EQ(r.Status, kExitBattleFailed);
  EXPECT_NE(r.Err.find("w.red: Not a regular file"), std::string::npos) << r.Err;
}

TEST(CliFiles, HugeMaxProcessesSaveButDoNotRun) {
  const std::string dir = TempDir("processes");
  const CliRun save = RunIn(dir, {"-p", "2147483646", "--save-settings", "p.cfg"});
  ASSERT_EQ(save.Status, kExitOk) << save.Err;
  EXPECT_EQ(SplitLines(ReadFile(dir + "/p.cfg"))[7], "2147483646 = Queue Limit\r");
  const CliRun run = RunIn(dir, {"--settings", "p.cfg", Example("imp"), Example("dwarf")});
  EXPECT_EQ(run.Status, kExitBattleFailed);
  EXPECT_NE(run.Err.find("Max Processes too large for 2 warriors"), std::string::npos) << run.Err;
}

TEST(CliFiles, MemoryThatRunsOutEndsOrNarrowsTheRunWithoutAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than any limit leaves";
#endif
  // An 8M-cell core takes 96 MB: under the first limit one engine fits, under the second
  // none does. The program runs under a limit on its address space, as a shell starts it.
  const struct {
    int LimitKb, Status;
    const char* Contains;
  } cases[] = {{180000, kExitOk, "Running 1 of 3 threads"},
               {60000, kExitBattleFailed, "Not enough memory"}};
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
    for (const char* name : {"imp", "dwarf", "stone", "paper"})
      t.WarriorList.push_back({0, name, "A", {}, Example(name)});
    for (TWarriorData& w : t.WarriorList) {
      std::string author, warriorName;
      ReadWarriorFile(platform, w.FileName, w.Source, author, warriorName);
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
    const std::string warning = "Running 2 of 4 threads: no more could be started";
    EXPECT_EQ(out.Warning, refuse ? warning : "");
    EXPECT_EQ(progress.MatchupsDone, 6);
    for (const auto& row : t.Rec.Results)
      for (const MatchupResult& m : row)
        results[refuse] += std::to_string(m.RoundsPlayed) + "/" + std::to_string(m.Losses) + " ";
  }
  EXPECT_EQ(results[0], results[1]);
}

} // namespace
} // namespace velmora::cli::test
