// Options applied to the dialog's fields, and the checks made before a battle.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/settings.h"
#include "cli_support.h"
#include "params/settings_file.h"
#include "params/text_file.h"

namespace velmora::cli {
namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

TEST(CliSettings, ChangeTheFieldsAsTheDialogWould) {
  const struct {
    Settings Given;
    std::vector<std::string> Lines; // expected settings lines, by 1-based number: "n:text"
  } cases[] = {{{{"core-size", "800"}}, {"1:800 = Core Size", "3:800 = Min Core Size"}},
               {{{"min-core-size", "400"}, {"core-size", "800"}},
                {"1:800 = Core Size", "2:1 = Random Core Size checked", "3:400 = Min Core Size"}},
               {{{"read-limit", "500"}, {"write-limit", "1/16"}, {"pspace-size", "core"}},
                {"11:-500 = Read Limit", "12:2 = Write Limit", "13:1 = PSpace Size"}},
               {{{"type", "benchmark"}}, {"14:3 = Tournament Type"}},
               {{{"standard", "88"}}, {"16:0 = Standards index"}},
               {{{"position", "4000"}, {"seed", "checksum"}},
                {"21:4000 = Second warrior position", "22:-2 = RNG Seed"}},
               {{{"position", "permutate"}, {"seed", "random"}},
                {"21:-2 = Second warrior position", "22:-1 = RNG Seed"}},
               {{{"initial", "random"}}, {"23:RANDOM = Initialize instruction"}},
               {{{"initial", "MOV 0, 1"}}, {"23:MOV 0, 1 = Initialize instruction"}},
               {{{"self-fights", "1"}, {"percent", "0"}, {"early-draw", "0"}, {"formula", "W"}},
                {"18:1 = Self fights", "20:0 = Show percent WLT",
                 "5:0 = Imp Draw detection checked", "19:W"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Given[0].first);
    TSetupFields f;
    std::string error;
    ASSERT_TRUE(ApplySettings(c.Given, f, error)) << error;
    const std::vector<std::string> lines = SettingsLines(f);
    for (const std::string& expected : c.Lines) {
      const size_t colon = expected.find(':');
      const size_t line = std::stoul(expected.substr(0, colon));
      EXPECT_EQ(lines[line - 1], expected.substr(colon + 1)) << "line " << line;
    }
  }
  // An unknown word is named.
  const std::pair<Settings, const char*> refused[] = {
      {{{"type", "swiss"}}, "Unknown tournament type swiss"},
      {{{"standard", "86"}}, "Unknown standard 86 (88, 94 or 94p)"},
      {{{"read-limit", "half"}}, "Unknown read limit half"},
      {{{"pspace-size", "quarter"}}, "Unknown P-space size quarter"}};
  for (const auto& [given, message] : refused) {
    TSetupFields f;
    std::string error;
    EXPECT_FALSE(ApplySettings(given, f, error)) << message;
    EXPECT_EQ(error, message);
  }
}

TEST(CliSettings, ConfirmChecksAndDerives) {
  const struct {
    Settings Given;
    bool RoundsGiven;
    int32_t Warriors;
    std::string Rounds;
    std::vector<std::string> Messages;
  } cases[] = {
      {{{"position", "permutate"}}, false, 2, "15602", {}},
      {{{"position", "permutate"}, {"core-size", "800"}, {"min-distance", "50"}},
       false,
       2,
       "1402",
       {}},
      {{{"position", "permutate"}, {"rounds", "10"}}, true, 2, "10", {}},
      {{{"position", "permutate"}, {"min-core-size", "800"}},
       false,
       2,
       "1",
       {"Permutate cannot be used with a random core size"}},
      {{{"position", "permutate"},
        {"core-size", "800"},
        {"min-distance", "500"},
        {"max-length", "10"}},
       false,
       2,
       "-398",
       {"Number of rounds must be at least 1", "Max Length too large to load all Warriors"}},
      {{{"max-length", "1000"}}, false, 10, "1", {"Max Length too large to load all Warriors"}},
      {{{"max-processes", "0"}, {"seed", "-5"}, {"position", "9999"}},
       false,
       2,
       "1",
       {"Max Processes must be at least 1",
        "Second warrior position must not exceed Core Size minus Max Distance",
        "RNG Seed must be between 0 and 2147483646"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rounds);
    TSetupFields f;
    std::string error;
    ASSERT_TRUE(ApplySettings(c.Given, f, error));
    EXPECT_EQ(ConfirmFields(f, c.RoundsGiven, c.Warriors), c.Messages);
    EXPECT_EQ(f.RoundsText, c.Rounds);
  }
}

TEST(CliLoadSettings, OnlyTheNamedFileWhichReportsBadLines) {
  const std::string dir = test::TempDir("settings");
  TSetupFields written;
  written.CoreSizeText = "800";
  written.MinCoreSizeText = "800";
  written.RoundsText = "7";
  std::string error;
  ASSERT_TRUE(SaveSettingsFile(dir + "/default.cfg", written, error));
  std::vector<std::string> lines = SettingsLines(written);
  lines[7] = "0 = Queue Limit"; // refused: the default stays
  lines[14] = "9 = Number of battles per matchup";
  test::WriteFile(dir + "/other.cfg", JoinCrLf(lines));
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  TSetupFields f, unused;
  std::ostringstream err, ignored;
  EXPECT_FALSE(LoadSettings("missing.cfg", unused, ignored));
  EXPECT_TRUE(LoadSettings("", unused, ignored));
  EXPECT_EQ(unused.RoundsText, TSetupFields{}.RoundsText); // default.cfg is not read
  EXPECT_TRUE(LoadSettings("other.cfg", f, err));
  std::filesystem::current_path(before);
  EXPECT_EQ(f.CoreSizeText, "800");
  EXPECT_EQ(f.RoundsText, "9");
  EXPECT_EQ(f.MaxProcessesText, "8000");
  EXPECT_EQ(err.str(), "other.cfg:8: Max Processes must be at least 1\n");
}

} // namespace
} // namespace velmora::cli
