// Settings files: the 23 lines written, read back, older 18-line files, and every loaded
// value checked with the rest of the file still loading.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "params/settings_file.h"
#include "params/text_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Every field away from its default.
const TSetupFields kUnusual{.CoreSizeText = "8192",
                            .RandomCoreSize = true,
                            .MinCoreSizeText = "4096",
                            .MaxCyclesText = "100000",
                            .MaxProcessesText = "64",
                            .MaxLengthText = "200",
                            .MinDistanceText = "200",
                            .ReadLimit = {-1, "500"},
                            .WriteLimit = {1, ""},
                            .PSpace = {1, ""},
                            .TournamentType = 3,
                            .RoundsText = "250",
                            .StandardItem = 1,
                            .SelfFights = true,
                            .SecondPosition = 0,
                            .FixedPositionText = "4000",
                            .SeedMode = 0,
                            .FixedSeedText = "77",
                            .InitialInstruction = "MOV 0, 1",
                            .DisplayLevel = 2,
                            .EarlyDrawCheck = false,
                            .PauseBetweenRounds = true,
                            .CircularDisplay = true,
                            .ScoreFormula = "W - S",
                            .Percent = false};

// Applies the lines to a copy of fields; gives the messages as "line: text".
Lines Apply(const Lines& lines, TSetupFields& fields) {
  std::vector<SettingsMessage> messages;
  ApplySettingsLines(lines, fields, messages);
  Lines out;
  for (const SettingsMessage& m : messages)
    out.push_back(std::to_string(m.Line) + ": " + m.Text);
  return out;
}

TEST(ParamsSettingsFile, WritesTheDocumentedLinesAndReadsThemBack) {
  EXPECT_EQ(SettingsLines(TSetupFields{}), (Lines{"8000 = Core Size",
                                                  "0 = Random Core Size checked",
                                                  "8000 = Min Core Size",
                                                  "4 = Graphical Display option",
                                                  "1 = Imp Draw detection checked",
                                                  "0 = Pause after battles checked",
                                                  "80000 = Battle Length",
                                                  "8000 = Queue Limit",
                                                  "100 = Warrior Size limit",
                                                  "100 = Buffer Size",
                                                  "0 = Read Limit",
                                                  "0 = Write Limit",
                                                  "0 = PSpace Size",
                                                  "0 = Tournament Type",
                                                  "1 = Number of battles per matchup",
                                                  "2 = Standards index",
                                                  "0 = Circular display topology",
                                                  "0 = Self fights",
                                                  "(W*W-1)/S",
                                                  "1 = Show percent WLT",
                                                  "-1 = Second warrior position",
                                                  "-1 = RNG Seed",
                                                  "DAT 0,0 = Initialize instruction"}));
  const Lines lines = SettingsLines(kUnusual);
  EXPECT_EQ(lines[10], "-500 = Read Limit");
  EXPECT_EQ(lines[20], "4000 = Second warrior position");
  TSetupFields read;
  EXPECT_EQ(Apply(lines, read), Lines{});
  EXPECT_EQ(SettingsLines(read), lines);
  EXPECT_EQ(
      std::tuple(read.ReadLimit.Item, read.ReadLimit.Text, read.SecondPosition, read.SeedMode),
      std::tuple(-1, "500", 0, 0));
  // An eighteen-line file takes the defaults of the rest, not what a file before left there.
  Lines expected = SettingsLines(TSetupFields{});
  std::copy(lines.begin(), lines.begin() + 18, expected.begin());
  EXPECT_EQ(Apply(Lines(lines.begin(), lines.begin() + 18), read), Lines{});
  EXPECT_EQ(SettingsLines(read), expected);
  // A shorter one is reported and keeps what it has.
  read = TSetupFields{};
  EXPECT_EQ(Apply(Lines(lines.begin(), lines.begin() + 5), read),
            Lines{"6: The settings file ends before line 18"});
  EXPECT_EQ(read.CoreSizeText, "8192");
  EXPECT_EQ(read.MaxCyclesText, TSetupFields{}.MaxCyclesText);
}

TEST(ParamsSettingsFile, ABadLineKeepsItsFieldAndLoadsTheRest) {
  const struct {
    int32_t Line; // 1-based
    const char *Text, *Message;
  } cases[] = {
      {1, "5 = Core Size", "Core size must be at least 16"},
      {1, "big = Core Size", "Core size must be a number"},
      {2, "yes = Random Core Size checked", "Random Core Size checked must be a number"},
      {3, "9000 = Min Core Size", "Minimum core size must not exceed the maximum core size"},
      {4, "9 = Graphical Display option", "Graphical Display option must be between 0 and 5"},
      {7, "0 = Battle Length", "Max Cycles must be at least 1"},
      {8, "0 = Queue Limit", "Max Processes must be at least 1"},
      {9, "-3 = Warrior Size limit", "Max Length must be at least 1"},
      {10, "-1 = Buffer Size", "Min Distance must be at least 0"},
      {11, "-9000 = Read Limit", "Read Limit must not exceed Core Size"},
      {11, "3 = Read Limit", "Read Limit item must be between 0 and 2"},
      {12, "-$10000 = Write Limit", "Write Limit must not exceed Core Size"},
      {13, "2 = PSpace Size", "PSpace Size item must be between 0 and 1"},
      {14, "4 = Tournament Type", "Tournament Type must be between 0 and 3"},
      {15, "0 = Number of battles per matchup", "Number of rounds must be at least 1"},
      {16, "3 = Standards index", "Standards index must be between 0 and 2"},
      {20, "x = Show percent WLT", "Show percent WLT must be a number"},
      {21, "-3 = Second warrior position", "Second warrior position must be at least Max Distance"},
      {22, "-7 = RNG Seed", "RNG Seed must be between 0 and 2147483646"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    Lines lines = SettingsLines(kUnusual);
    lines[size_t(c.Line - 1)] = c.Text;
    TSetupFields read;
    EXPECT_EQ(Apply(lines, read), Lines{std::to_string(c.Line) + ": " + c.Message});
    // The failing line keeps the default; every other line loaded.
    Lines expected = SettingsLines(kUnusual);
    expected[size_t(c.Line - 1)] = SettingsLines(TSetupFields{})[size_t(c.Line - 1)];
    // Without the random size the size is fixed, and is its own minimum.
    if (c.Line == 2) expected[2] = "8192 = Min Core Size";
    EXPECT_EQ(SettingsLines(read), expected);
  }
}

TEST(ParamsSettingsFile, TypedNumbersAreSavedAsTheNumbersChecked) {
  // A leading blank passes the check; the minimum is hidden while the size is fixed.
  TSetupFields typed;
  typed.CoreSizeText = " 4000";
  typed.MinCoreSizeText = "9999";
  typed.MaxCyclesText = "$1F40";
  typed.ReadLimit = {-1, "+500"};
  typed.PSpace = {-1, " 250"};
  typed.RoundsText = "+3";
  typed.SecondPosition = typed.SeedMode = 0;
  typed.FixedPositionText = "+2000";
  typed.FixedSeedText = " 7";
  const Lines lines = SettingsLines(typed);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3),
            (Lines{"4000 = Core Size", "0 = Random Core Size checked", "4000 = Min Core Size"}));
  EXPECT_EQ(lines[6], "8000 = Battle Length");
  EXPECT_EQ(lines[10], "-500 = Read Limit");
  EXPECT_EQ(lines[12], "-250 = PSpace Size");
  EXPECT_EQ(lines[14], "3 = Number of battles per matchup");
  TSetupFields read;
  EXPECT_EQ(Apply(lines, read), Lines{});
  EXPECT_EQ(SettingsLines(read), lines); // saved again, the same file
  EXPECT_EQ(read.ReadLimit.Text, "500");
  EXPECT_EQ(read.FixedSeedText, "7");
  // Line 3 is checked with a fixed size too; "-0" is item 0, not a typed value.
  Lines bad = lines;
  bad[2] = "12 = Min Core Size";
  bad[11] = "-0 = Write Limit";
  read.WriteLimit = {2, ""};
  EXPECT_EQ(Apply(bad, read), Lines{"3: Minimum core size must be at least 16"});
  EXPECT_EQ(read.WriteLimit.Item, 0);
}

TEST(ParamsSettingsFile, ValuesStopAtTheFirstBlankOrEquals) {
  const std::pair<const char*, const char*> values[] = {{"8000 = Core Size", "8000"},
                                                        {"8000=Core Size", "8000"},
                                                        {"-500", "-500"},
                                                        {"", ""},
                                                        {" 1 = x", ""}};
  for (const auto& [line, value] : values)
    EXPECT_EQ(ValueOfLine(line), value) << line;
  // The initial instruction is the text before its description.
  const std::pair<const char*, const char*> instructions[] = {
      {"MOV 0, 1 = Initialize instruction", "MOV 0, 1"},
      {"RANDOM = Initialize instruction", "RANDOM"},
      {"DAT #a==1, 0 = Initialize instruction", "DAT #a==1, 0"},
      {"SPL 0 = something else", "SPL 0"},
      {"NOP 0, 0", "NOP 0, 0"}};
  for (const auto& [line, instruction] : instructions) {
    Lines lines = SettingsLines(TSetupFields{});
    lines[22] = line;
    TSetupFields read;
    Apply(lines, read);
    EXPECT_EQ(read.InitialInstruction, instruction) << line;
  }
}

TEST(ParamsSettingsFile, SavedFilesLoadAndAFailedWriteLeavesThePreviousFile) {
  const fs::path dir = fs::temp_directory_path() / ("velmora-settings-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "blocked.cfg" / "inside");
  const std::string path = (dir / "keep.cfg").string();
  std::string error;
  ASSERT_TRUE(SaveSettingsFile(path, kUnusual, error)) << error;
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), JoinCrLf(SettingsLines(kUnusual)));
  TSetupFields read;
  std::vector<SettingsMessage> messages;
  ASSERT_TRUE(LoadSettingsFile(path, read, messages));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(SettingsLines(read), SettingsLines(kUnusual));
  EXPECT_FALSE(LoadSettingsFile((dir / "none.cfg").string(), read, messages));
  EXPECT_EQ(SettingsLines(read), SettingsLines(kUnusual));
  // A folder in the target's place cannot be replaced by a file.
  EXPECT_FALSE(SaveSettingsFile((dir / "blocked.cfg").string(), TSetupFields{}, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(dir / "blocked.cfg" / "inside"));
  EXPECT_FALSE(SaveSettingsFile((dir / "no-such-folder" / "x.cfg").string(), kUnusual, error));
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  fs::remove_all(dir);
}

} // namespace
} // namespace velmora
