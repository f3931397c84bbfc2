// Options applied to the dialog's fields, and the checks made before a battle.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/settings.h"
#include "cli_support.h"
#include "params/settings_file.h"

namespace velmora::cli {
namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

struct ApplyCase {
  const char* Label;
  Settings Given;
  std::vector<std::string> Lines; // expected settings lines, by 1-based number: "n:text"
};

void PrintTo(const ApplyCase& c, std::ostream* os) {
  *os << c.Label;
}

class CliApplySettings : public testing::TestWithParam<ApplyCase> {};

TEST_P(CliApplySettings, ChangeTheFieldsAsTheDialogWould) {
  TSetupFields f;
  std::string error;
  ASSERT_TRUE(ApplySettings(GetParam().Given, f, error)) << error;
  const std::vector<std::string> lines = SettingsLines(f);
  for (const std::string& expected : GetParam().Lines) {
    const size_t colon = expected.find(':');
    const size_t line = std::stoul(expected.substr(0, colon));
    EXPECT_EQ(lines[line - 1], expected.substr(colon + 1)) << "line " << line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliApplySettings,
    testing::Values(
        ApplyCase{
            "coreFixed", {{"core-size", "800"}}, {"1:800 = Core Size", "3:800 = Min Core Size"}},
        ApplyCase{"coreRandom",
                  {{"min-core-size", "400"}, {"core-size", "800"}},
                  {"1:800 = Core Size", "2:1 = Random Core Size checked", "3:400 = Min Core Size"}},
        ApplyCase{"limits",
                  {{"read-limit", "500"}, {"write-limit", "1/16"}, {"pspace-size", "core"}},
                  {"11:-500 = Read Limit", "12:2 = Write Limit", "13:1 = PSpace Size"}},
        ApplyCase{"type", {{"type", "benchmark"}}, {"14:3 = Tournament Type"}},
        ApplyCase{"standard88", {{"standard", "88"}}, {"16:0 = Standards index"}},
        ApplyCase{"positionSeed",
                  {{"position", "4000"}, {"seed", "checksum"}},
                  {"21:4000 = Second warrior position", "22:-2 = RNG Seed"}},
        ApplyCase{"permutateRandomSeed",
                  {{"position", "permutate"}, {"seed", "random"}},
                  {"21:-2 = Second warrior position", "22:-1 = RNG Seed"}},
        ApplyCase{"initial", {{"initial", "random"}}, {"23:RANDOM = Initialize instruction"}},
        ApplyCase{"custom", {{"initial", "MOV 0, 1"}}, {"23:MOV 0, 1 = Initialize instruction"}},
        ApplyCase{"switches",
                  {{"self-fights", "1"}, {"percent", "0"}, {"early-draw", "0"}, {"formula", "W"}},
                  {"18:1 = Self fights", "20:0 = Show percent WLT",
                   "5:0 = Imp Draw detection checked", "19:W"}}));

struct RefuseCase {
  Settings Given;
  const char* Error;
};

class CliApplySettingsRefused : public testing::TestWithParam<RefuseCase> {};

TEST_P(CliApplySettingsRefused, NameTheWord) {
  TSetupFields f;
  std::string error;
  EXPECT_FALSE(ApplySettings(GetParam().Given, f, error));
  EXPECT_EQ(error, GetParam().Error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliApplySettingsRefused,
    testing::Values(RefuseCase{{{"type", "swiss"}}, "Unknown tournament type swiss"},
                    RefuseCase{{{"standard", "86"}}, "Unknown standard 86 (88, 94 or 94p)"},
                    RefuseCase{{{"read-limit", "half"}}, "Unknown read limit half"},
                    RefuseCase{{{"pspace-size", "quarter"}}, "Unknown P-space size quarter"}));

struct ConfirmCase {
  const char* Label;
  Settings Given;
  bool RoundsGiven;
  int32_t Warriors;
  std::string Rounds;
  std::vector<std::string> Messages;
};

void PrintTo(const ConfirmCase& c, std::ostream* os) {
  *os << c.Label;
}

class CliConfirmFields : public testing::TestWithParam<ConfirmCase> {};

TEST_P(CliConfirmFields, CheckAndDerive) {
  TSetupFields f;
  std::string error;
  ASSERT_TRUE(ApplySettings(GetParam().Given, f, error));
  EXPECT_EQ(ConfirmFields(f, GetParam().RoundsGiven, GetParam().Warriors), GetParam().Messages);
  EXPECT_EQ(f.RoundsText, GetParam().Rounds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliConfirmFields,
    testing::Values(
        ConfirmCase{"permutate", {{"position", "permutate"}}, false, 2, "15602", {}},
        ConfirmCase{"permutateSmall",
                    {{"position", "permutate"}, {"core-size", "800"}, {"min-distance", "50"}},
                    false,
                    2,
                    "1402",
                    {}},
        ConfirmCase{
            "permutateRounds", {{"position", "permutate"}, {"rounds", "10"}}, true, 2, "10", {}},
        ConfirmCase{"permutateRandom",
                    {{"position", "permutate"}, {"min-core-size", "800"}},
                    false,
                    2,
                    "1",
                    {"Permutate cannot be used with a random core size"}},
        ConfirmCase{
            "permutateTooClose",
            {{"position", "permutate"},
             {"core-size", "800"},
             {"min-distance", "500"},
             {"max-length", "10"}},
            false,
            2,
            "-398",
            {"Number of rounds must be at least 1", "Max Length too large to load all Warriors"}},
        ConfirmCase{"melee",
                    {{"max-length", "1000"}},
                    false,
                    10,
                    "1",
                    {"Max Length too large to load all Warriors"}},
        ConfirmCase{"badValues",
                    {{"max-processes", "0"}, {"seed", "-5"}, {"position", "9999"}},
                    false,
                    2,
                    "1",
                    {"Max Processes must be at least 1",
                     "Second warrior position must not exceed Core Size minus Max Distance",
                     "RNG Seed must be between 0 and 2147483646"}}));

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
  test::WriteFile(dir + "/other.cfg", [&] {
    std::string text;
    for (const std::string& l : lines)
      text += l + "\r\n";
    return text;
  }());
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
