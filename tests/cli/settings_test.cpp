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
  // Expected settings lines by 1-based number, "n:text"; or the message of a refusal.
  const std::pair<Settings, std::vector<std::string>> cases[] = {
      {{{"core-size", "800"}}, {"1:800 = Core Size", "3:800 = Min Core Size"}},
      {{{"min-core-size", "400"}, {"core-size", "800"}},
       {"1:800 = Core Size", "2:1 = Random Core Size checked", "3:400 = Min Core Size"}},
      {{{"read-limit", "500"}, {"write-limit", "1/16"}, {"pspace-size", "core"}},
       {"11:-500 = Read Limit", "12:2 = Write Limit", "13:1 = PSpace Size"}},
      {{{"type", "benchmark"}, {"standard", "88"}},
       {"14:3 = Tournament Type", "16:0 = Standards index"}},
      {{{"position", "4000"}, {"seed", "checksum"}},
       {"21:4000 = Second warrior position", "22:-2 = RNG Seed"}},
      {{{"position", "permutate"}, {"seed", "random"}, {"initial", "random"}},
       {"21:-2 = Second warrior position", "22:-1 = RNG Seed",
        "23:RANDOM = Initialize instruction"}},
      {{{"initial", "MOV 0, 1"}}, {"23:MOV 0, 1 = Initialize instruction"}},
      {{{"self-fights", "1"}, {"percent", "0"}, {"early-draw", "0"}, {"formula", "W"}},
       {"18:1 = Self fights", "20:0 = Show percent WLT", "5:0 = Imp Draw detection checked",
        "19:W"}},
      {{{"type", "swiss"}}, {"Unknown tournament type swiss"}},
      {{{"standard", "86"}}, {"Unknown standard 86 (88, 94 or 94p)"}},
      {{{"read-limit", "half"}}, {"Unknown read limit half"}},
      {{{"pspace-size", "quarter"}}, {"Unknown P-space size quarter"}}};
  for (const auto& [given, expected] : cases) {
    SCOPED_TRACE(given[0].first);
    TSetupFields f;
    std::string error;
    const bool refused = expected[0].find(':') == std::string::npos;
    ASSERT_EQ(ApplySettings(given, f, error), !refused) << error;
    if (refused) {
      EXPECT_EQ(error, expected[0]);
      continue;
    }
    const std::vector<std::string> lines = SettingsLines(f);
    for (const std::string& line : expected) {
      const size_t colon = line.find(':'), n = std::stoul(line.substr(0, colon));
      EXPECT_EQ(lines[n - 1], line.substr(colon + 1)) << "line " << n;
    }
  }
}

TEST(CliSettings, ConfirmChecksAndDerives) {
  const struct {
    int32_t Warriors;
    const char *Rounds, *Messages; // the rounds after confirming; the messages joined by "; "
    Settings Given;
  } cases[] = {
      {2, "15602", "", {{"position", "permutate"}}},
      {2, "1402", "", {{"position", "permutate"}, {"core-size", "800"}, {"min-distance", "50"}}},
      {2, "10", "", {{"position", "permutate"}, {"rounds", "10"}}},
      {2,
       "1",
       "Permutate cannot be used with a random core size",
       {{"position", "permutate"}, {"min-core-size", "800"}}},
      {2,
       "-398",
       "Number of rounds must be at least 1; Max Length too large to load all Warriors",
       {{"position", "permutate"},
        {"core-size", "800"},
        {"min-distance", "500"},
        {"max-length", "10"}}},
      {10, "1", "Max Length too large to load all Warriors", {{"max-length", "1000"}}},
      {2,
       "1",
       "Max Processes must be at least 1; Second warrior position must not exceed Core Size minus "
       "Max Distance; RNG Seed must be between 0 and 2147483646",
       {{"max-processes", "0"}, {"seed", "-5"}, {"position", "9999"}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rounds);
    TSetupFields f;
    std::string error, messages;
    ASSERT_TRUE(ApplySettings(c.Given, f, error));
    const bool roundsGiven = c.Given.back().first == "rounds";
    for (const std::string& m : ConfirmFields(f, roundsGiven, c.Warriors))
      messages += (messages.empty() ? "" : "; ") + m;
    EXPECT_EQ(messages, c.Messages);
    EXPECT_EQ(f.RoundsText, c.Rounds);
  }
}

TEST(CliLoadSettings, OnlyTheNamedFileWhichReportsBadLines) {
  const std::string dir = test::TempDir("settings");
  TSetupFields written;
  written.CoreSizeText = written.MinCoreSizeText = "800";
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
  EXPECT_TRUE(LoadSettings("other.cfg", f, err));
  std::filesystem::current_path(before);
  EXPECT_EQ(SettingsLines(unused), SettingsLines(TSetupFields{})); // default.cfg is not read
  EXPECT_EQ(std::tuple(f.CoreSizeText, f.RoundsText, f.MaxProcessesText),
            std::tuple("800", "9", "8000"));
  EXPECT_EQ(err.str(), "other.cfg:8: Max Processes must be at least 1\n");
}

} // namespace
} // namespace velmora::cli
