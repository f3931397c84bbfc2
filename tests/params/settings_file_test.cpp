// Settings files: the 23 lines written, read back, older 18-line files, and every loaded
// value checked with the rest of the file still loading.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "params/settings_file.h"
#include "params/text_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// Every field away from its default.
TSetupFields Unusual() {
  TSetupFields f;
  f.CoreSizeText = "8192";
  f.RandomCoreSize = true;
  f.MinCoreSizeText = "4096";
  f.DisplayLevel = 2;
  f.EarlyDrawCheck = false;
  f.PauseBetweenRounds = true;
  f.MaxCyclesText = "100000";
  f.MaxProcessesText = "64";
  f.MaxLengthText = "200";
  f.MinDistanceText = "200";
  f.ReadLimit = {-1, "500"};
  f.WriteLimit = {1, ""};
  f.PSpace = {1, ""};
  f.TournamentType = 3;
  f.RoundsText = "250";
  f.StandardItem = 1;
  f.CircularDisplay = true;
  f.SelfFights = true;
  f.ScoreFormula = "W - S";
  f.Percent = false;
  f.SecondPosition = 0;
  f.FixedPositionText = "4000";
  f.SeedMode = 0;
  f.FixedSeedText = "77";
  f.InitialInstruction = "MOV 0, 1";
  return f;
}

void ExpectSameFields(const TSetupFields& a, const TSetupFields& b) {
  EXPECT_EQ(SettingsLines(a), SettingsLines(b));
  EXPECT_EQ(a.ReadLimit.Item, b.ReadLimit.Item);
  EXPECT_EQ(a.ReadLimit.Text, b.ReadLimit.Text);
  EXPECT_EQ(a.SecondPosition, b.SecondPosition);
  EXPECT_EQ(a.SeedMode, b.SeedMode);
}

TEST(ParamsSettingsFile, WritesTheDocumentedLinesAndReadsThemBack) {
  std::vector<std::string> lines = SettingsLines(TSetupFields{});
  ASSERT_EQ(lines.size(), size_t(kSettingsLineCount));
  const std::vector<std::string> head(lines.begin(), lines.begin() + 4);
  EXPECT_EQ(head,
            (std::vector<std::string>{"8000 = Core Size", "0 = Random Core Size checked",
                                      "8000 = Min Core Size", "4 = Graphical Display option"}));
  EXPECT_EQ(lines[10], "0 = Read Limit");
  EXPECT_EQ(lines[18], "(W*W-1)/S");
  EXPECT_EQ(lines[20], "-1 = Second warrior position");
  EXPECT_EQ(lines[22], "DAT 0,0 = Initialize instruction");
  // Every field away from its default reads back.
  const TSetupFields written = Unusual();
  lines = SettingsLines(written);
  EXPECT_EQ(lines[10], "-500 = Read Limit");
  EXPECT_EQ(lines[13], "3 = Tournament Type");
  EXPECT_EQ(lines[22], "MOV 0, 1 = Initialize instruction");
  TSetupFields read;
  std::vector<SettingsMessage> messages;
  ApplySettingsLines(lines, read, messages);
  EXPECT_TRUE(messages.empty()) << messages.front().Text;
  ExpectSameFields(read, written);
  EXPECT_EQ(read.TournamentType, 3);
  EXPECT_EQ(read.InitialInstruction, "MOV 0, 1");
  EXPECT_EQ(read.ReadLimit.Item, -1);
  EXPECT_EQ(read.ReadLimit.Text, "500");
}

TEST(ParamsSettingsFile, AnEighteenLineFileTakesTheDefaultsOfTheRest) {
  std::vector<std::string> lines = SettingsLines(Unusual());
  lines.resize(18);
  TSetupFields read = Unusual(); // a file loaded before must not leak into the missing lines
  std::vector<SettingsMessage> messages;
  ApplySettingsLines(lines, read, messages);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(read.ScoreFormula, "(W*W-1)/S");
  EXPECT_TRUE(read.Percent);
  EXPECT_EQ(read.SecondPosition, kPositionRandom);
  EXPECT_EQ(read.SeedMode, kSeedRandom);
  EXPECT_EQ(read.InitialInstruction, "DAT 0,0");
  EXPECT_EQ(read.RoundsText, "250");
}

TEST(ParamsSettingsFile, AShortFileIsReportedAndKeepsWhatItHas) {
  std::vector<std::string> lines = SettingsLines(Unusual());
  lines.resize(5);
  TSetupFields read;
  std::vector<SettingsMessage> messages;
  ApplySettingsLines(lines, read, messages);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Line, 6);
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
    const TSetupFields good = Unusual();
    std::vector<std::string> lines = SettingsLines(good);
    lines[size_t(c.Line - 1)] = c.Text;
    TSetupFields read;
    std::vector<SettingsMessage> messages;
    ApplySettingsLines(lines, read, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Line, c.Line);
    EXPECT_EQ(messages[0].Text, c.Message);
    // The failing line keeps the default; every other line loaded.
    std::vector<std::string> expected = SettingsLines(good);
    expected[size_t(c.Line - 1)] = SettingsLines(TSetupFields{})[size_t(c.Line - 1)];
    // Without the random size the size is fixed, and is its own minimum.
    if (c.Line == 2) expected[2] = "8192 = Min Core Size";
    EXPECT_EQ(SettingsLines(read), expected);
  }
}

TEST(ParamsSettingsFile, TypedNumbersAreSavedAsTheNumbersChecked) {
  TSetupFields typed;
  typed.CoreSizeText = " 4000";   // a leading blank passes the check
  typed.MinCoreSizeText = "9999"; // hidden while the size is fixed
  typed.MaxCyclesText = "$1F40";
  typed.RoundsText = "+3";
  typed.ReadLimit = {-1, "+500"};
  typed.PSpace = {-1, " 250"};
  typed.SecondPosition = 0;
  typed.FixedPositionText = "+2000";
  typed.SeedMode = 0;
  typed.FixedSeedText = " 7";
  const std::vector<std::string> lines = SettingsLines(typed);
  EXPECT_EQ(lines[0], "4000 = Core Size");
  EXPECT_EQ(lines[2], "4000 = Min Core Size");
  EXPECT_EQ(lines[6], "8000 = Battle Length");
  EXPECT_EQ(lines[10], "-500 = Read Limit");
  EXPECT_EQ(lines[12], "-250 = PSpace Size");
  TSetupFields read;
  std::vector<SettingsMessage> messages;
  ApplySettingsLines(lines, read, messages);
  EXPECT_TRUE(messages.empty()) << messages.front().Line << ": " << messages.front().Text;
  EXPECT_EQ(SettingsLines(read), lines); // saved again, the same file
  EXPECT_EQ(read.ReadLimit.Text, "500");
  EXPECT_EQ(read.FixedSeedText, "7");
  // Line 3 is checked with a fixed size too.
  std::vector<std::string> bad = lines;
  bad[2] = "12 = Min Core Size";
  ApplySettingsLines(bad, read, messages);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Line, 3);
  EXPECT_EQ(messages[0].Text, "Minimum core size must be at least 16");
}

TEST(ParamsSettingsFile, ATypedZeroLimitIsAnItem) {
  // "-0" is 0, which is item 0, not a typed value.
  std::vector<std::string> lines = SettingsLines(TSetupFields{});
  lines[11] = "-0 = Write Limit";
  TSetupFields read;
  read.WriteLimit = {2, ""};
  std::vector<SettingsMessage> messages;
  ApplySettingsLines(lines, read, messages);
  EXPECT_TRUE(messages.empty());
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
    std::vector<std::string> lines = SettingsLines(TSetupFields{});
    lines[22] = line;
    TSetupFields read;
    std::vector<SettingsMessage> messages;
    ApplySettingsLines(lines, read, messages);
    EXPECT_EQ(read.InitialInstruction, instruction) << line;
  }
}

class ParamsSettingsFiles : public testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("velmora-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  size_t FileCount() const {
    return size_t(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()));
  }
  fs::path Dir;
};

TEST_F(ParamsSettingsFiles, SaveWritesCrLfLinesAndLoadReadsThem) {
  const std::string path = (Dir / "default.cfg").string();
  std::string error;
  ASSERT_TRUE(SaveSettingsFile(path, Unusual(), error)) << error;
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, JoinCrLf(SettingsLines(Unusual())));
  EXPECT_EQ(bytes.substr(0, 18), "8192 = Core Size\r\n");
  TSetupFields read;
  std::vector<SettingsMessage> messages;
  ASSERT_TRUE(LoadSettingsFile(path, read, messages));
  EXPECT_TRUE(messages.empty());
  ExpectSameFields(read, Unusual());
  EXPECT_EQ(FileCount(), 1u); // no temporary file left behind
}

TEST_F(ParamsSettingsFiles, AFailedWriteLeavesThePreviousFileAndAMissingOneLoadsNothing) {
  TSetupFields read = Unusual();
  std::vector<SettingsMessage> messages;
  EXPECT_FALSE(LoadSettingsFile((Dir / "none.cfg").string(), read, messages));
  ExpectSameFields(read, Unusual());
  const fs::path target = Dir / "keep.cfg";
  std::string error;
  ASSERT_TRUE(SaveSettingsFile(target.string(), TSetupFields{}, error));
  // A folder in the target's place cannot be replaced by a file.
  const fs::path blocked = Dir / "blocked.cfg";
  fs::create_directories(blocked / "inside");
  EXPECT_FALSE(SaveSettingsFile(blocked.string(), Unusual(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_FALSE(SaveSettingsFile((Dir / "no-such-folder" / "x.cfg").string(), Unusual(), error));
  EXPECT_EQ(FileCount(), 2u);
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(target.string(), lines));
  EXPECT_EQ(lines, SettingsLines(TSetupFields{}));
}

} // namespace
} // namespace velmora
