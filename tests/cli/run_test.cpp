// Whole runs of the command line on the example warriors: the report, KotH lines, JSON, the
// sweep, and what it does when memory or threads run out.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "assembler/assembler.h"
#include "cli/battle.h"
#include "cli_support.h"

namespace velmora::cli::test {
namespace {

using nlohmann::json;

const std::string kFive = " " + Example("imp") + " " + Example("dwarf") + " " + Example("stone") +
                          " " + Example("paper") + " " + Example("scanner");

TEST(CliRun, EveryTypePrintsTheReportAndRecordsEveryRound) {
  const struct {
    std::string Options;
    const char* TournamentLine;
    int64_t Matchups; // a round robin fills both mirror cells of each matchup
  } cases[] = {
      {"--no-percent", "Melee with 5 warriors, 6 rounds", 5},
      {"--type round-robin", "Round robin with 5 warriors, 6 rounds per matchup", 20},
      {"--type challenge", "Challenge by Velmora Imp against 4 warriors, 6 rounds per matchup", 4},
      {"--benchmark " + Example("switcher"),
       "Benchmark of 5 warriors with 1 benchmark warriors, 6 rounds per matchup", 5}};
  const std::string dir = TempDir("types");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.TournamentLine);
    const CliRun r =
        Shell(dir, c.Options + " -q -r 6 --seed 11 --json out.json --report r.txt" + kFive);
    ASSERT_EQ(r.Status, 0) << r.Err;
    const std::vector<std::string> lines = SplitLines(r.Out);
    std::string report; // the report file is the report with CR LF lines
    for (const std::string& line : lines)
      report += line + "\r\n";
    EXPECT_EQ(ReadFile(dir + "/r.txt"), report);
    // Counts instead of percentages.
    EXPECT_EQ(r.Out.find("    Wins  Losses   Ties2   Ties3") != std::string::npos,
              c.Options == "--no-percent");
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Tournament Results");
    EXPECT_EQ(lines[5], c.TournamentLine);
    int64_t fought = 0;
    const json doc = json::parse(ReadFile(dir + "/out.json"));
    for (const json& m : doc["matchups"])
      if (m["roundsPlayed"].get<int>() > 0) {
        ++fought;
        int total = m["losses"].get<int>();
        for (const json& k : m["survivorCounts"])
          total += k.get<int>();
        EXPECT_EQ(total, 6);
        EXPECT_EQ(m["roundsPlayed"], 6);
      }
    EXPECT_EQ(fought, c.Matchups);
  }
}

std::vector<std::vector<int64_t>> Numbers(const std::string& out) {
  std::vector<std::vector<int64_t>> rows;
  for (const std::string& line : SplitLines(out)) {
    std::istringstream in(line);
    rows.emplace_back();
    for (int64_t x; in >> x;)
      rows.back().push_back(x);
  }
  return rows;
}

TEST(CliRun, KothLinesAddUp) {
  const std::string dir = TempDir("koth");
  // Two warriors: "wins ties" each, over 20 rounds.
  const auto two =
      Numbers(Shell(dir, "-q -k -r 20 -f " + Example("stone") + " " + Example("paper")).Out);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0][1], two[1][1]);
  EXPECT_EQ(two[0][0] + two[1][0] + two[0][1], 20);
  // A melee: score, survivals with 1..4 alive and losses; -o orders by score, ties kept.
  const std::string melee = " -q -r 8 --seed 3 " + Example("imp") + " " + Example("dwarf") + " " +
                            Example("stone") + " " + Example("paper");
  const CliRun r = Shell(dir, "-k" + melee);
  ASSERT_EQ(r.Status, 0) << r.Err;
  std::vector<std::string> byScore = SplitLines(r.Out);
  std::stable_sort(byScore.begin(), byScore.end(), [](const std::string& a, const std::string& b) {
    return std::stoll(a) > std::stoll(b);
  });
  EXPECT_EQ(SplitLines(Shell(dir, "-k -o" + melee).Out), byScore);
  const auto rows = Numbers(r.Out);
  ASSERT_EQ(rows.size(), 4u);
  for (const auto& v : rows) {
    ASSERT_EQ(v.size(), 6u);
    // Score: 15/S points per round survived with S alive (integer division).
    EXPECT_EQ(v[0], 15 * v[1] + 7 * v[2] + 5 * v[3] + 3 * v[4]);
    EXPECT_EQ(v[1] + v[2] + v[3] + v[4] + v[5], 8);
  }
}

TEST(CliRun, TheSameSeedGivesTheSameOutputOnAnyNumberOfThreads) {
  const std::string dir = TempDir("same");
  std::string examples;
  for (const std::string& file : AllExamples())
    examples += " " + file;
  for (const char* options : {"--seed 4242", "-f", "-F 2000 --seed 1", "--initial RANDOM -f"}) {
    SCOPED_TRACE(options);
    std::string outputs[2];
    for (const int threads : {1, 3}) {
      const CliRun r =
          Shell(dir, std::string(options) + " --json - -q --type round-robin " +
                         "--self-fights -r 10 --threads " + std::to_string(threads) + examples);
      ASSERT_EQ(r.Status, 0) << r.Err;
      outputs[threads / 3] = r.Out;
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_EQ(json::parse(outputs[0])["matchups"].size(), 49u); // seven warriors, self fights
  }
}

std::string Keys(const json& object) {
  std::string keys;
  for (const auto& [key, value] : object.items())
    keys += (keys.empty() ? "" : " ") + key;
  return keys;
}

TEST(CliRun, JsonNamesEveryPart) {
  const std::string dir = WorkDir();
  const CliRun r = Shell(dir, "--json - -q -r 3 -f j.red warned.red " + Example("dwarf"));
  ASSERT_EQ(r.Status, 0) << r.Err;
  const json doc = json::parse(r.Out);
  EXPECT_EQ(Keys(doc), "benchmarkWarriors matchups parameters program summary version warriors");
  // 8-bit names reach the JSON as UTF-8; warnings go with their warrior.
  EXPECT_EQ(doc["warriors"][0]["name"], "J\xC3\xB6rg");
  EXPECT_EQ(doc["warriors"][0]["author"], "M\xC3\xBCller \xC2\xA9");
  EXPECT_EQ(doc["warriors"][1]["warnings"],
            json::array({"line 1: the opcode word ends at \"-\", as on the hills"}));
  const json& dwarf = doc["warriors"][2];
  EXPECT_EQ(std::tuple(dwarf["warnings"], dwarf["id"], dwarf["file"], doc["parameters"]["type"]),
            std::tuple(json::array(), 3, Example("dwarf"), "melee"));
  const json& m = doc["matchups"][0];
  EXPECT_EQ(Keys(m), "averageCycles column losses opponent roundsPlayed row survivorCounts");
  EXPECT_EQ(std::tuple(m["row"], m["column"], m["opponent"], m["survivorCounts"].size()),
            std::tuple(0, 0, 0, 3u));
  for (const json& s : doc["summary"]) {
    EXPECT_EQ(Keys(s), "author given id length losses name score ties wins");
    // Every row accounts for every round, in whole numbers.
    EXPECT_EQ(s["wins"].get<int>() + s["losses"].get<int>() + s["ties"][0].get<int>() +
                  s["ties"][1].get<int>(),
              3);
    EXPECT_TRUE(s["wins"].is_number_integer() && s["ties"][0].is_number_integer());
  }
}

TEST(CliRun, ParametersComeFromOptionsSettingsFilesAndLists) {
  const std::string dir = WorkDir();
  const std::string two = " " + Example("imp") + " " + Example("dwarf");
  const struct {
    std::string Arguments;
    int Warriors, Rounds;   // the warriors, and the most rounds of a matchup
    const char *Json, *Err; // these of the JSON's parameters; standard error
  } cases[] = {
      {"-s 800" + two, 2, 1,
       R"({"coreSize": 800, "minCoreSize": 800, "randomCoreSize": false, "pspaceSize": 50})", ""},
      {"--min-core-size 400 -s 800" + two, 2, 1, R"({"randomCoreSize": true, "minCoreSize": 400})",
       ""},
      {"--read-limit 500 --write-limit 1/16 --pspace-size core" + two, 2, 1,
       R"({"readLimit": 500, "writeLimit": 500, "pspaceSize": 8000})", ""},
      {"--position 4000 --seed checksum --initial random" + two, 2, 1,
       R"({"position": 4000, "seed": "checksum", "initialInstruction": "RANDOM"})", ""},
      {"--initial 'MOV 0, 1' --self-fights --no-percent --no-early-draw -= W" + two, 2, 1,
       R"({"initialInstruction": "MOV 0, 1", "selfFights": true, "percent": false,
           "earlyDrawCheck": false, "scoreFormula": "W"})",
       ""},
      {"-8 --benchmark old.red old.red", 1, 1, R"({"type": "benchmark", "standard": "88"})", ""},
      // Permutate fights every offset twice, unless the rounds are given.
      {"-P -c 10 -s 800 -d 50" + two, 2, 1402, R"({"position": "permutate"})", ""},
      {"-P -c 10 -r 10" + two, 2, 10, R"({"rounds": 10})", ""},
      // Bad lines are told and keep their defaults; no pause between rounds here.
      {"--settings default.cfg -f" + two, 2, 3,
       R"({"coreSize": 8000, "maxProcesses": 8000, "maxCycles": 4000, "rounds": 3})",
       "default.cfg:1: Core size must be at least 16\ndefault.cfg:8: Max Processes must be at "
       "least 1\n"},
      {"--save-settings s.cfg -s 800 -r 4 --standard 94 --seed 17 -= W-S", 0, 0, "{}", ""},
      {"--settings s.cfg" + two, 2, 4,
       R"({"coreSize": 800, "rounds": 4, "standard": "94", "seed": 17, "scoreFormula": "W-S"})",
       ""},
      {"-f sub/ok.lst", 3, 1, R"({"type": "melee"})", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const CliRun r = Shell(dir, "-q --json - " + c.Arguments);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, c.Err);
    if (c.Warriors == 0) continue; // only saved
    const json doc = json::parse(r.Out), expected = json::parse(c.Json);
    for (const auto& [key, value] : expected.items())
      EXPECT_EQ(doc["parameters"][key], value) << key;
    EXPECT_EQ(doc["warriors"].size(), size_t(c.Warriors));
    int rounds = 0;
    for (const json& m : doc["matchups"])
      rounds = std::max(rounds, m["roundsPlayed"].get<int>());
    EXPECT_EQ(rounds, c.Rounds);
  }
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

TEST(SweepCli, PrintsTheTableWritesEveryPointAndNamesABadConstant) {
  const std::string dir = TempDir("sweep");
  const CliRun run =
      Shell(dir, "--vary step=3040..3048:4 -r 3 --seed 9 --threads 2 --json s.json "
                 "--csv s.csv " +
                     Example("stone") + " " + Example("dwarf") + " " + Example("imp"));
  ASSERT_EQ(run.Status, 0) << run.Err;
  const std::vector<std::string> lines = SplitLines(run.Out);
  ASSERT_EQ(lines.size(), 4u) << run.Out;
  EXPECT_EQ(lines[0], "rank        step     score      W%      L%      T%");
  const json doc = json::parse(ReadFile(dir + "/s.json"));
  ASSERT_EQ(doc["points"].size(), 3u);
  EXPECT_EQ(doc["opponents"].size(), 2u);
  // The scores and their order are the sweep's own; here the first row is the best point.
  for (const auto& p : doc["points"]) {
    if (p["rank"] != 1) continue;
    EXPECT_NE(lines[1].find(p["values"]["step"].dump()), std::string::npos) << lines[1];
  }
  const std::string csv = ReadFile(dir + "/s.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "step,score,W%,L%,T%,rounds,status");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
  const CliRun bad = Shell(dir, "--vary gap=1..3 " + Example("stone") + " " + Example("imp"));
  EXPECT_EQ(bad.Status, 2);
  EXPECT_NE(bad.Err.find("gap is not a single-line EQU of Velmora Stone"), std::string::npos)
      << bad.Err;
}

} // namespace
} // namespace velmora::cli::test
