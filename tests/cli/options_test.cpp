// Parsing the command line: long and short options, attached values, and refusals.

#include <gtest/gtest.h>

#include "cli/options.h"

namespace velmora::cli {
namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

struct ParseCase {
  const char* Label;
  std::vector<std::string> Args;
  Settings Expected;
  std::vector<std::string> Files;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << c.Label;
}

class CliOptionsSettings : public testing::TestWithParam<ParseCase> {};

TEST_P(CliOptionsSettings, BecomeSettingsInOrder) {
  CliOptions o;
  std::string error;
  ASSERT_TRUE(ParseOptions(GetParam().Args, o, error)) << error;
  EXPECT_EQ(o.Settings, GetParam().Expected);
  EXPECT_EQ(o.Files, GetParam().Files);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliOptionsSettings,
    testing::Values(
        ParseCase{"hillShort",
                  {"-r", "100", "-s", "8000", "-c", "80000", "-p", "8000", "-l", "100", "-d", "100",
                   "a.red", "b.red"},
                  {{"rounds", "100"},
                   {"core-size", "8000"},
                   {"max-cycles", "80000"},
                   {"max-processes", "8000"},
                   {"max-length", "100"},
                   {"min-distance", "100"}},
                  {"a.red", "b.red"}},
        ParseCase{"attached",
                  {"-r250", "-S500", "x"},
                  {{"rounds", "250"}, {"pspace-size", "500"}},
                  {"x"}},
        ParseCase{"flagsWithMeaning",
                  {"-8", "-P", "-f", "-F", "4000", "-=", "W-S"},
                  {{"standard", "88"},
                   {"position", "permutate"},
                   {"seed", "checksum"},
                   {"position", "4000"},
                   {"formula", "W-S"}},
                  {}},
        ParseCase{"long",
                  {"--type", "melee", "--rounds=3", "--standard", "94p", "--seed", "7", "--initial",
                   "DAT 0,0", "--no-early-draw", "--self-fights", "--percent"},
                  {{"type", "melee"},
                   {"rounds", "3"},
                   {"standard", "94p"},
                   {"seed", "7"},
                   {"initial", "DAT 0,0"},
                   {"early-draw", "0"},
                   {"self-fights", "1"},
                   {"percent", "1"}},
                  {}},
        ParseCase{"limits",
                  {"--read-limit", "1/4", "--write-limit", "300", "--min-core-size", "400",
                   "--position", "random"},
                  {{"read-limit", "1/4"},
                   {"write-limit", "300"},
                   {"min-core-size", "400"},
                   {"position", "random"}},
                  {}},
        ParseCase{"dashDash", {"-r", "2", "--", "-odd.red"}, {{"rounds", "2"}}, {"-odd.red"}}));

TEST(CliOptionsFlags, SetTheirFields) {
  CliOptions o;
  std::string error;
  ASSERT_TRUE(ParseOptions({"-k", "-o", "-b", "--listing", "-q", "--threads", "3", "--json", "-",
                            "--report", "r.txt", "--settings", "s.cfg", "--benchmark", "b",
                            "--save-settings", "o.cfg"},
                           o, error))
      << error;
  EXPECT_TRUE(o.Koth && o.SortByScore && o.Brief && o.Listing && o.Quiet);
  EXPECT_EQ(o.Threads, 3);
  EXPECT_EQ(o.JsonFile, "-");
  EXPECT_EQ(o.ReportFile, "r.txt");
  EXPECT_EQ(o.SettingsFile, "s.cfg");
  EXPECT_EQ(o.BenchmarkFile, "b");
  EXPECT_EQ(o.SaveSettingsFile, "o.cfg");
}

struct BadCase {
  std::vector<std::string> Args;
  const char* Error;
};

class CliOptionsRefused : public testing::TestWithParam<BadCase> {};

TEST_P(CliOptionsRefused, WithAMessage) {
  CliOptions o;
  std::string error;
  EXPECT_FALSE(ParseOptions(GetParam().Args, o, error));
  EXPECT_EQ(error, GetParam().Error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliOptionsRefused,
    testing::Values(BadCase{{"--bogus"}, "Unknown option --bogus"},
                    BadCase{{"-x"}, "Unknown option -x"}, BadCase{{"-kb"}, "Unknown option -kb"},
                    BadCase{{"-r"}, "Option -r needs a value"},
                    BadCase{{"--rounds"}, "Option --rounds needs a value"},
                    BadCase{{"--quiet=1"}, "Option --quiet takes no value"},
                    BadCase{{"--threads", "0"}, "Threads must be a number from 1 to 1024"},
                    BadCase{{"--threads", "two"}, "Threads must be a number from 1 to 1024"}));

TEST(CliOptionsUsage, ListsEveryLongOption) {
  const std::string usage = UsageText();
  for (const char* name : {"--type",
                           "--benchmark",
                           "--rounds",
                           "--self-fights",
                           "--core-size",
                           "--min-core-size",
                           "--max-cycles",
                           "--max-processes",
                           "--max-length",
                           "--min-distance",
                           "--read-limit",
                           "--write-limit",
                           "--pspace-size",
                           "--standard",
                           "--position",
                           "--seed",
                           "--initial",
                           "--formula",
                           "--percent",
                           "--early-draw",
                           "--no-early-draw",
                           "--report",
                           "--json",
                           "--listing",
                           "--threads",
                           "--quiet",
                           "--help",
                           "--version",
                           "--settings",
                           "-k",
                           "-o",
                           "-b",
                           "-P",
                           "-F",
                           "-f",
                           "-8",
                           "-=",
                           "-S"})
    EXPECT_NE(usage.find(name), std::string::npos) << name;
}

} // namespace
} // namespace velmora::cli
