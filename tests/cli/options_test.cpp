// Parsing the command line: long and short options, attached values, and refusals.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/options.h"

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
  // The help names every option.
  std::istringstream names(
      "--type --benchmark --rounds --self-fights --core-size --min-core-size --max-cycles "
      "--max-processes --max-length --min-distance --read-limit --write-limit --pspace-size "
      "--standard --position --seed --initial --formula --percent --early-draw --no-early-draw "
      "--report --json --listing --threads --quiet --help --version --settings -k -o -b -P -F -f "
      "-8 -= -S");
  for (std::string name; names >> name;)
    EXPECT_NE(UsageText().find(name), std::string::npos) << name;
}

} // namespace
} // namespace velmora::cli
