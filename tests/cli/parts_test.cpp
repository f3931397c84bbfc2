// The command line's parts: parsing options, the order in which matchups go to the engines,
// and the progress line.

#include <gtest/gtest.h>

#include <filesystem>

#include "assembler/assembler.h"
#include "cli/battle.h"
#include "cli/options.h"
#include "cli/progress_line.h"
#include "cli_support.h"
#include "params/text_file.h"

namespace velmora::cli {
namespace {

// The settings as "name=value" and the files, in order, or the error.
std::string Parsed(const std::vector<std::string>& args, CliOptions& o) {
  std::string error, out;
  if (!ParseOptions(args, o, error)) return error;
  for (const auto& [name, value] : o.Settings)
    out += name + "=" + value + " ";
  for (const std::string& file : o.Files)
    out += "[" + file + "]";
  return out;
}

TEST(CliOptions, BecomeSettingsInOrderOrAreRefused) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"-r", "100", "-s", "8000", "-c", "80000", "-p", "8000", "-l", "100", "-d", "100", "a.red",
        "b.red"},
       "rounds=100 core-size=8000 max-cycles=80000 max-processes=8000 max-length=100 "
       "min-distance=100 [a.red][b.red]"},
      {{"-r250", "-S500", "x"}, "rounds=250 pspace-size=500 [x]"},
      {{"-8", "-P", "-f", "-F", "4000", "-=", "W-S"},
       "standard=88 position=permutate seed=checksum position=4000 formula=W-S "},
      {{"--type", "melee", "--rounds=3", "--standard", "94p", "--seed", "7", "--initial", "DAT 0,0",
        "--no-early-draw", "--self-fights", "--percent"},
       "type=melee rounds=3 standard=94p seed=7 initial=DAT 0,0 early-draw=0 self-fights=1 "
       "percent=1 "},
      {{"--read-limit", "1/4", "--write-limit", "300", "--min-core-size", "400", "--position",
        "random", "--no-percent", "--no-self-fights", "--early-draw"},
       "read-limit=1/4 write-limit=300 min-core-size=400 position=random percent=0 self-fights=0 "
       "early-draw=1 "},
      {{"-r", "2", "--", "-odd.red", "x"}, "rounds=2 [-odd.red][x]"},
      {{"--bogus"}, "Unknown option --bogus"},
      {{"-x"}, "Unknown option -x"},
      {{"-kb"}, "Unknown option -kb"},
      {{"-r"}, "Option -r needs a value"},
      {{"--rounds"}, "Option --rounds needs a value"},
      {{"--quiet=1"}, "Option --quiet takes no value"},
      {{"--threads", "0"}, "Threads must be a number from 1 to 1024"},
      {{"--threads", "1025"}, "Threads must be a number from 1 to 1024"},
      {{"--threads", "two"}, "Threads must be a number from 1 to 1024"}};
  for (const auto& [args, expected] : cases) {
    CliOptions o;
    EXPECT_EQ(Parsed(args, o), expected);
  }
  // Flags and files of the program itself set their fields.
  CliOptions o;
  ASSERT_EQ(
      Parsed({"-k", "-o", "-b", "--listing", "-q", "--threads", "1024", "--json", "-", "--report",
              "r.txt", "--settings", "s.cfg", "--benchmark", "b", "--save-settings", "o.cfg"},
             o),
      "");
  EXPECT_TRUE(o.Koth && o.SortByScore && o.Brief && o.Listing && o.Quiet);
  EXPECT_EQ(o.Threads, 1024);
  using File = std::optional<std::string>;
  EXPECT_EQ(std::vector<File>(
                {o.JsonFile, o.ReportFile, o.SettingsFile, o.BenchmarkFile, o.SaveSettingsFile}),
            std::vector<File>({"-", "r.txt", "s.cfg", "b", "o.cfg"}));
}

using Cells = std::vector<std::pair<int32_t, int32_t>>;

// Three warriors and two benchmark warriors, set up by the schedule itself, whose own walk through
// the same cells is tested with it.
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
  TNullMardexForm form;
  THeadlessPlatform platform;
  TParamsRec params = DefaultParams();
  params.NumWarriors = 3;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.Type) << " " << c.SelfFights);
    auto core = TCore::Create(params, form, platform);
    InstallAssembler(*core);
    TTournament t;
    for (int i = 0; i < 3; ++i) {
      t.WarriorList.push_back({i + 1, "W" + std::to_string(i), "A", {"jmp 0"}, ""});
      if (i < 2) t.BenchmarkList.push_back({i + 1, "B" + std::to_string(i), "A", {"jmp 0"}, ""});
    }
    t.Rec.TournamentType = c.Type;
    t.Rec.SelfFights = c.SelfFights;
    t.Rec.Rounds = 1;
    ASSERT_TRUE(t.SetUpTournament(*core));
    Cells got;
    for (const Matchup& m : ScheduleOrder(t.Rec))
      got.emplace_back(m.Row, m.Column);
    EXPECT_EQ(got, c.Order);
  }
}

TEST(CliProgressText, CountsElapsedAndWhatRemains) {
  const struct {
    int32_t Matchups, TotalMatchups;
    int64_t Rounds, TotalRounds;
    double Elapsed;
    const char* Text;
  } cases[] = {
      {0, 66, 0, 6600, 0.2, "matchups 0/66  rounds 0/6600  0:00 elapsed"},
      {0, 66, 5, 6600, 0.0, "matchups 0/66  rounds 5/6600  0:00 elapsed"},
      // A quarter done in 10 s leaves three times as long.
      {16, 66, 1650, 6600, 10.0,
       "matchups 16/66  rounds 1650/6600  165 rounds/s  0:10 elapsed  about 0:30 left"},
      {1, 1, 500, 1000, 3700.0,
       "matchups 1/1  rounds 500/1000  0.1 rounds/s  1:01:40 elapsed  about 1:01:40 left"},
      {66, 66, 6600, 6600, 75.0, "matchups 66/66  rounds 6600/6600  88 rounds/s  1:15 elapsed"}};
  for (const auto& c : cases)
    EXPECT_EQ(ProgressText(c.Matchups, c.TotalMatchups, c.Rounds, c.TotalRounds, c.Elapsed),
              c.Text);
}

} // namespace
} // namespace velmora::cli
