// Whole runs of the command line on the example warriors.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/options.h"
#include "cli_support.h"

namespace velmora::cli::test {
namespace {

using nlohmann::json;
using Args = std::vector<std::string>;

Args With(Args args, const std::vector<std::string>& files) {
  args.insert(args.end(), files.begin(), files.end());
  return args;
}

std::vector<std::string> Five() {
  return {Example("imp"), Example("dwarf"), Example("stone"), Example("paper"), Example("scanner")};
}

TEST(CliRun, EveryTypePrintsTheReportAndRecordsEveryRound) {
  const struct {
    Args Options;
    const char* TournamentLine;
    int64_t Matchups; // a round robin fills both mirror cells of each matchup
  } cases[] = {{{}, "Melee with 5 warriors, 6 rounds", 5},
               {{"--type", "round-robin"}, "Round robin with 5 warriors, 6 rounds per matchup", 20},
               {{"--type", "challenge"},
                "Challenge by Velmora Imp against 4 warriors, 6 rounds per matchup",
                4},
               {{"--benchmark", Example("switcher")},
                "Benchmark of 5 warriors with 1 benchmark warriors, 6 rounds per matchup",
                5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.TournamentLine);
    const std::string dir = TempDir("types");
    const std::string jsonPath = dir + "/out.json";
    const CliRun r =
        RunIn(dir, With(With(c.Options, {"-r", "6", "--seed", "11", "--json", jsonPath}), Five()));
    ASSERT_EQ(r.Status, kExitOk) << r.Err;
    const std::vector<std::string> lines = SplitLines(r.Out);
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Tournament Results");
    EXPECT_EQ(lines[5], c.TournamentLine);
    int64_t fought = 0;
    const json doc = json::parse(ReadFile(jsonPath));
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

TEST(CliRun, TwoWarriorsFightOneMatchup) {
  const CliRun r = Cli({"-k", "-r", "20", "-f", Example("stone"), Example("paper")});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  const std::vector<std::string> lines = SplitLines(r.Out);
  ASSERT_EQ(lines.size(), 2u);
  int wins[2], ties[2];
  for (int i = 0; i < 2; ++i)
    ASSERT_EQ(std::sscanf(lines[size_t(i)].c_str(), "%d %d", &wins[i], &ties[i]), 2);
  EXPECT_EQ(ties[0], ties[1]);
  EXPECT_EQ(wins[0] + wins[1] + ties[0], 20);
}

TEST(CliRun, KothMeleeLinesAddUp) {
  const Args melee = {"-r",
                      "8",
                      "--seed",
                      "3",
                      Example("imp"),
                      Example("dwarf"),
                      Example("stone"),
                      Example("paper")};
  auto withOptions = [&](Args options) { return With(options, melee); };
  const CliRun r = Cli(withOptions({"-k"}));
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  const std::vector<std::string> lines = SplitLines(r.Out);
  ASSERT_EQ(lines.size(), 4u);
  // -o: the same lines, highest score first, ties in warrior order.
  std::vector<std::string> byScore = lines;
  std::stable_sort(byScore.begin(), byScore.end(), [](const std::string& a, const std::string& b) {
    return std::stoll(a) > std::stoll(b);
  });
  EXPECT_EQ(SplitLines(Cli(withOptions({"-k", "-o"})).Out), byScore);
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::vector<int64_t> v;
    for (int64_t x; in >> x;)
      v.push_back(x);
    ASSERT_EQ(v.size(), 6u) << line; // score, survivals with 1..4 alive, losses
    // Score: 15/S points per round survived with S alive (integer division).
    EXPECT_EQ(v[0], 15 * v[1] + 7 * v[2] + 5 * v[3] + 3 * v[4]) << line;
    EXPECT_EQ(v[1] + v[2] + v[3] + v[4] + v[5], 8) << line;
  }
}

TEST(CliRun, PermutateFightsEveryOffsetTwice) {
  const std::string dir = TempDir("permutate");
  const CliRun r = RunIn(dir, {"-P", "-s", "200", "-d", "40", "-l", "20", "--json", "-",
                               Example("dwarf"), Example("imp")});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  const json doc = json::parse(r.Out);
  EXPECT_EQ(doc["parameters"]["rounds"], (200 - 2 * 40 + 1) * 2);
  EXPECT_EQ(doc["parameters"]["position"], "permutate");
  EXPECT_EQ(doc["matchups"][1]["roundsPlayed"], (200 - 2 * 40 + 1) * 2);
}

TEST(CliRun, SameSeedSameOutput) {
  const Args seeds[] = {
      {"--seed", "4242"}, {"-f"}, {"-F", "2000", "--seed", "1"}, {"--initial", "RANDOM", "-f"}};
  for (const Args& options : seeds) {
    SCOPED_TRACE(options[0]);
    const Args args = With(With(options, {"--type", "round-robin", "-r", "12"}), Five());
    const CliRun a = Cli(args);
    ASSERT_EQ(a.Status, kExitOk) << a.Err;
    EXPECT_EQ(a.Out, Cli(args).Out);
    EXPECT_FALSE(a.Out.empty());
  }
}

TEST(CliRun, ThreadsGiveIdenticalJson) {
  std::string outputs[3];
  for (int threads = 1; threads <= 3; ++threads) {
    const CliRun r = Cli(With({"--type", "round-robin", "--self-fights", "-r", "10", "--seed", "99",
                               "--threads", std::to_string(threads), "--json", "-"},
                              AllExamples()));
    ASSERT_EQ(r.Status, kExitOk) << r.Err;
    outputs[threads - 1] = r.Out;
  }
  EXPECT_EQ(outputs[0], outputs[1]);
  EXPECT_EQ(outputs[0], outputs[2]);
  const json doc = json::parse(outputs[0]);
  EXPECT_EQ(doc["warriors"].size(), 7u);
  EXPECT_EQ(doc["summary"].size(), 7u);
  EXPECT_EQ(doc["matchups"].size(), 49u);
}

TEST(CliRun, JsonNamesEveryPart) {
  const CliRun r = Cli({"--json", "-", "-r", "3", "-f", Example("imp"), Example("dwarf")});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  const json doc = json::parse(r.Out);
  for (const char* key :
       {"program", "version", "parameters", "warriors", "benchmarkWarriors", "matchups", "summary"})
    EXPECT_TRUE(doc.contains(key)) << key;
  EXPECT_EQ(doc["warriors"][0]["name"], "Velmora Imp");
  EXPECT_EQ(doc["warriors"][1]["id"], 2);
  EXPECT_EQ(doc["warriors"][1]["file"], Example("dwarf"));
  EXPECT_EQ(doc["parameters"]["seed"], "checksum");
  EXPECT_EQ(doc["parameters"]["type"], "round-robin");
  const json& m = doc["matchups"][1];
  EXPECT_EQ(m["row"], 0);
  EXPECT_EQ(m["column"], 1);
  EXPECT_EQ(m["opponent"], 1);
  EXPECT_EQ(m["survivorCounts"].size(), 2u);
  EXPECT_TRUE(m["averageCycles"].is_number());
  const json& s = doc["summary"][0];
  for (const char* key :
       {"id", "name", "author", "length", "score", "given", "wins", "losses", "ties"})
    EXPECT_TRUE(s.contains(key)) << key;
  EXPECT_TRUE(s["id"].is_number_integer());
  EXPECT_TRUE(s["wins"].is_number_integer());
  EXPECT_TRUE(s["ties"][0].is_number_integer());
  // Both rows of the summary account for every round of the one matchup.
  for (const json& row : doc["summary"])
    EXPECT_EQ(row["wins"].get<int>() + row["losses"].get<int>() + row["ties"][0].get<int>(), 3);
}

TEST(CliRun, ReportFileIsTheReportWithCrLf) {
  const std::string dir = TempDir("report");
  const CliRun r = RunIn(dir, {"--report", "r.txt", "-r", "4", "--seed", "5", "--no-percent",
                               Example("imp"), Example("dwarf"), Example("paper")});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  std::string expected;
  for (const std::string& line : SplitLines(r.Out))
    expected += line + "\r\n";
  EXPECT_EQ(ReadFile(dir + "/r.txt"), expected);
  EXPECT_NE(r.Out.find("    Wins  Losses   Ties2   Ties3"), std::string::npos);
}

TEST(CliRun, ListingPrintsLoadFilesAndABrokenWarriorFails) {
  const CliRun r = Cli({"--listing", Example("imp"), Example("dwarf")});
  EXPECT_EQ(r.Status, kExitOk) << r.Err;
  EXPECT_NE(r.Out.find(";name Velmora Imp"), std::string::npos);
  EXPECT_NE(r.Out.find(";name Velmora Dwarf"), std::string::npos);
  EXPECT_NE(r.Out.find("MOV.I"), std::string::npos);
  const std::string dir = TempDir("broken");
  WriteFile(dir + "/broken.red", ";redcode-94\n;name Broken\nmov 0, 1\nbogus 1, 2\n");
  const CliRun listing = RunIn(dir, {"--listing", Example("imp"), "broken.red"});
  EXPECT_EQ(listing.Status, kExitBattleFailed);
  EXPECT_NE(listing.Out.find("broken.red: "), std::string::npos) << listing.Out;
  EXPECT_NE(listing.Out.find("broken.red: Bad Opcode in line"), std::string::npos) << listing.Out;
  const CliRun battle = RunIn(dir, {Example("imp"), "broken.red"});
  EXPECT_EQ(battle.Status, kExitBattleFailed);
  EXPECT_TRUE(battle.Out.empty());
  EXPECT_NE(battle.Err.find("broken.red: Bad Opcode in line"), std::string::npos) << battle.Err;
  EXPECT_NE(battle.Err.find("broken.red: Warrior Broken failed to compile."), std::string::npos);
}

TEST(CliRun, WarningsOncePerWarriorAndInTheJson) {
  const std::string dir = TempDir("warned");
  WriteFile(dir + "/warned.red", ";name Warned\njmp-1\n");
  const CliRun r = RunIn(dir, {"--type", "round-robin", "-r", "2", "-q", "--json", "out.json",
                               "warned.red", Example("imp"), Example("dwarf")});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  // Two matchups of warned.red, one warning line.
  const std::string line =
      "warned.red: warning: line 1: the opcode word ends at \"-\", as on the hills\n";
  const size_t at = r.Err.find(line);
  EXPECT_NE(at, std::string::npos) << r.Err;
  EXPECT_EQ(r.Err.find(line, at + 1), std::string::npos) << r.Err;
  const json doc = json::parse(ReadFile(dir + "/out.json"));
  EXPECT_EQ(doc["warriors"][0]["warnings"],
            json::array({"line 1: the opcode word ends at \"-\", as on the hills"}));
  EXPECT_EQ(doc["warriors"][1]["warnings"], json::array());
}

TEST(CliRun, RefusedWithExitTwoAndTheMessage) {
  const std::pair<Args, const char*> cases[] = {
      {{"--frobnicate"}, "Unknown option --frobnicate"},
      {{"-s", "5"}, "Core size must be at least 16"},
      {{"-p", "0"}, "Max Processes must be at least 1"},
      {{"-c", "2147483647"}, "Max Cycles must be less than $80000000"},
      {{"-r", "many"}, "Number of rounds must be a number"},
      {{"-F", "50"}, "Second warrior position must be at least Max Distance"},
      {{"--seed", "-3"}, "RNG Seed must be between 0 and 2147483646"},
      {{"--initial", "FOO 1"}, "Initial instruction failed to compile."},
      {{"-=", "1/(S-1)"}, "Score formula: Division by zero"},
      {{"--type", "benchmark"},
       "To run a Benchmark tournament, you must select a warrior or warrior list."},
      {{"--settings", "/nonexistent/x.cfg"}, "Cannot read settings file"},
      {{"-S", "1/4"}, "PSpace Size must be a number"},
      {{"--read-limit", "9000"}, "Read Limit must not exceed Core Size"},
      {{"--type", "knockout"}, "Unknown tournament type knockout"}};
  for (const auto& [options, message] : cases) {
    const CliRun r = Cli(With(options, {Example("imp"), Example("dwarf")}));
    EXPECT_EQ(r.Status, kExitBadUsage) << message;
    EXPECT_NE(r.Err.find(message), std::string::npos) << r.Err;
    EXPECT_TRUE(r.Out.empty()) << message;
  }
}

TEST(CliRun, AFormulaFailingAtTwoSurvivorsStillReports) {
  const CliRun r =
      Cli({"-=", "(W*W-1)/S/(2-S)", "-r", "5", "-f", Example("imp"), Example("dwarf")});
  EXPECT_EQ(r.Status, kExitOk) << r.Err;
  EXPECT_NE(r.Err.find("Division by zero for W=2, S=2"), std::string::npos);
  EXPECT_NE(r.Out.find("Summary"), std::string::npos);
}

TEST(CliRun, SettingsFileIsCheckedLineByLine) {
  const std::string dir = TempDir("defaultcfg");
  std::string cfg;
  // An eighteen-line file: core size, random, minimum, display, early draw, pause, cycles,
  // processes, length, distance, read, write, pspace, type, rounds, standard, circular, self.
  for (const char* l : {"5", "0", "800", "4", "1", "1", "4000", "0", "100", "100", "0", "0", "0",
                        "1", "3", "2", "0", "0"})
    cfg += std::string(l) + " = x\r\n";
  WriteFile(dir + "/s.cfg", cfg);
  const CliRun r =
      RunIn(dir, {"--settings", "s.cfg", "--json", "-", "-f", Example("imp"), Example("dwarf")});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  EXPECT_NE(r.Err.find("s.cfg:1: Core size must be at least 16"), std::string::npos);
  EXPECT_NE(r.Err.find("s.cfg:8: Max Processes must be at least 1"), std::string::npos);
  const json doc = json::parse(r.Out);
  EXPECT_EQ(doc["parameters"]["coreSize"], 8000);
  EXPECT_EQ(doc["parameters"]["maxProcesses"], 8000);
  EXPECT_EQ(doc["parameters"]["maxCycles"], 4000);
  EXPECT_EQ(doc["parameters"]["rounds"], 3);
  EXPECT_EQ(doc["matchups"][1]["roundsPlayed"], 3); // no pause between rounds here
}

TEST(CliRun, SavedSettingsLoadBack) {
  const std::string dir = TempDir("save");
  const CliRun save = RunIn(dir, {"--save-settings", "s.cfg", "-s", "800", "-r", "4", "--standard",
                                  "94", "--seed", "17", "-=", "W-S"});
  ASSERT_EQ(save.Status, kExitOk) << save.Err;
  EXPECT_EQ(SplitLines(ReadFile(dir + "/s.cfg")).size(), 23u);
  const CliRun r =
      RunIn(dir, {"--settings", "s.cfg", "--json", "-", Example("imp"), Example("dwarf")});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  const json doc = json::parse(r.Out);
  EXPECT_EQ(doc["parameters"]["coreSize"], 800);
  EXPECT_EQ(doc["parameters"]["rounds"], 4);
  EXPECT_EQ(doc["parameters"]["standard"], "94");
  EXPECT_EQ(doc["parameters"]["seed"], 17);
  EXPECT_EQ(doc["parameters"]["scoreFormula"], "W-S");
}

TEST(CliRun, AWarriorListFileIsReadAsAList) {
  const std::string dir = TempDir("list");
  WriteFile(dir + "/hill.txt", ";warriorlist\n" + Example("imp") + "\n" + Example("dwarf") + "\n" +
                                   Example("paper") + "\n");
  const CliRun r = RunIn(dir, {"--json", "-", "-r", "2", "-f", "hill.txt"});
  ASSERT_EQ(r.Status, kExitOk) << r.Err;
  const json doc = json::parse(r.Out);
  ASSERT_EQ(doc["warriors"].size(), 3u);
  EXPECT_EQ(doc["parameters"]["type"], "melee");
  EXPECT_EQ(doc["warriors"][2]["name"], "Velmora Paper");
}

TEST(CliRun, TheEightyEightStandardRefusesModifiers) {
  const std::string dir = TempDir("std88");
  WriteFile(dir + "/old.red", ";redcode\n;name Old Imp\nMOV 0, 1\n");
  const CliRun ok = RunIn(dir, {"-8", "-r", "2", "-k", "old.red", "old.red"});
  EXPECT_EQ(ok.Status, kExitOk) << ok.Err;
  EXPECT_EQ(SplitLines(ok.Out).size(), 2u);
  const CliRun refused = RunIn(dir, {"-8", "-r", "2", "old.red", Example("imp")});
  EXPECT_EQ(refused.Status, kExitBattleFailed);
  EXPECT_NE(refused.Err.find("Standards violation"), std::string::npos) << refused.Err;
}

} // namespace
} // namespace velmora::cli::test
