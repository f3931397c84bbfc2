// Settings files (the 23 lines written, read back, older 18-line files, every loaded value
// checked with the rest of the file still loading), warrior lists, and the file writer and
// bounded reader on what a user may point them at: links, read-only files, FIFOs, devices.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "params/settings_file.h"
#include "params/text_file.h"
#include "params/warrior_list_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Lines Split(const std::string& text) {
  Lines lines;
  for (size_t start = 0; start < text.size(); start = text.find('\n', start) + 1)
    lines.push_back(text.substr(start, text.find('\n', start) - start));
  return lines;
}

// The file of the default fields, and one with every field away from its default.
const Lines kDefaults =
    Split("8000 = Core Size\n0 = Random Core Size checked\n8000 = Min Core Size\n"
          "4 = Graphical Display option\n1 = Imp Draw detection checked\n"
          "0 = Pause after battles checked\n80000 = Battle Length\n8000 = Queue Limit\n"
          "100 = Warrior Size limit\n100 = Buffer Size\n0 = Read Limit\n0 = Write Limit\n"
          "0 = PSpace Size\n0 = Tournament Type\n1 = Number of battles per matchup\n"
          "2 = Standards index\n0 = Circular display topology\n0 = Self fights\n(W*W-1)/S\n"
          "1 = Show percent WLT\n-1 = Second warrior position\n-1 = RNG Seed\n"
          "DAT 0,0 = Initialize instruction\n");
const Lines kUnusual =
    Split("8192 = Core Size\n1 = Random Core Size checked\n4096 = Min Core Size\n"
          "2 = Graphical Display option\n0 = Imp Draw detection checked\n"
          "1 = Pause after battles checked\n100000 = Battle Length\n64 = Queue Limit\n"
          "200 = Warrior Size limit\n200 = Buffer Size\n-500 = Read Limit\n1 = Write Limit\n"
          "1 = PSpace Size\n3 = Tournament Type\n250 = Number of battles per matchup\n"
          "1 = Standards index\n1 = Circular display topology\n1 = Self fights\nW - S\n"
          "0 = Show percent WLT\n4000 = Second warrior position\n77 = RNG Seed\n"
          "MOV 0, 1 = Initialize instruction\n");

// Applies the lines to the fields; gives the messages as "line: text".
Lines Apply(const Lines& lines, TSetupFields& fields) {
  std::vector<SettingsMessage> messages;
  ApplySettingsLines(lines, fields, messages);
  Lines out;
  for (const SettingsMessage& m : messages)
    out.push_back(std::to_string(m.Line) + ": " + m.Text);
  return out;
}

TEST(ParamsSettingsFile, WritesTheDocumentedLinesAndReadsThemBack) {
  EXPECT_EQ(SettingsLines(TSetupFields{}), kDefaults);
  TSetupFields read;
  EXPECT_EQ(Apply(kUnusual, read), Lines{});
  EXPECT_EQ(SettingsLines(read), kUnusual);
  EXPECT_EQ(std::tuple(read.ReadLimit.Item, read.ReadLimit.Text, read.WriteLimit.Item,
                       read.SecondPosition, read.FixedPositionText, read.SeedMode, read.Percent),
            std::tuple(-1, "500", 1, 0, "4000", 0, false));
  // An eighteen-line file takes the defaults of the rest, not what a file before left there.
  Lines expected = kDefaults;
  std::copy(kUnusual.begin(), kUnusual.begin() + 18, expected.begin());
  EXPECT_EQ(Apply(Lines(kUnusual.begin(), kUnusual.begin() + 18), read), Lines{});
  EXPECT_EQ(SettingsLines(read), expected);
  // A shorter one is reported and keeps what it has.
  read = TSetupFields{};
  EXPECT_EQ(Apply(Lines(kUnusual.begin(), kUnusual.begin() + 5), read),
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
      {9, "-3 = Warrior Size limit", "Max Length must be at least 1"},
      {11, "-9000 = Read Limit", "Read Limit must not exceed Core Size"},
      {11, "3 = Read Limit", "Read Limit item must be between 0 and 2"},
      {13, "2 = PSpace Size", "PSpace Size item must be between 0 and 1"},
      {14, "4 = Tournament Type", "Tournament Type must be between 0 and 3"},
      {16, "3 = Standards index", "Standards index must be between 0 and 2"},
      {20, "x = Show percent WLT", "Show percent WLT must be a number"},
      {21, "-3 = Second warrior position", "Second warrior position must be at least Max Distance"},
      {22, "-7 = RNG Seed", "RNG Seed must be between 0 and 2147483646"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    Lines lines = kUnusual;
    lines[size_t(c.Line - 1)] = c.Text;
    TSetupFields read;
    EXPECT_EQ(Apply(lines, read), Lines{std::to_string(c.Line) + ": " + c.Message});
    // The failing line keeps the default; every other line loaded.
    Lines expected = kUnusual;
    expected[size_t(c.Line - 1)] = kDefaults[size_t(c.Line - 1)];
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
  Lines expected = kDefaults;
  for (const auto& [n, text] : {std::pair{0, "4000 = Core Size"},
                                {2, "4000 = Min Core Size"},
                                {6, "8000 = Battle Length"},
                                {10, "-500 = Read Limit"},
                                {12, "-250 = PSpace Size"},
                                {14, "3 = Number of battles per matchup"},
                                {20, "2000 = Second warrior position"},
                                {21, "7 = RNG Seed"}})
    expected[size_t(n)] = text;
  EXPECT_EQ(lines, expected);
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

TEST(ParamsSettingsFile, TheInitialInstructionIsTheTextBeforeItsDescription) {
  const std::pair<const char*, const char*> instructions[] = {
      {"MOV 0, 1 = Initialize instruction", "MOV 0, 1"},
      {"DAT #a==1, 0 = Initialize instruction", "DAT #a==1, 0"},
      {"SPL 0 = something else", "SPL 0"}, // an older writer's line
      {"NOP 0, 0", "NOP 0, 0"}};
  for (const auto& [line, instruction] : instructions) {
    Lines lines = kDefaults;
    lines[22] = line;
    TSetupFields read;
    Apply(lines, read);
    EXPECT_EQ(read.InitialInstruction, instruction) << line;
  }
  EXPECT_EQ(ValueOfLine("8000=Core Size"), "8000");
  EXPECT_EQ(ValueOfLine(" 1 = x"), "");
}

TEST(ParamsSettingsFile, SavedFilesLoadAndAFailedWriteLeavesThePreviousFile) {
  const fs::path dir = fs::temp_directory_path() / ("velmora-settings-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string path = (dir / "keep.cfg").string();
  TSetupFields unusual, read;
  Apply(kUnusual, unusual);
  std::string error;
  ASSERT_TRUE(SaveSettingsFile(path, unusual, error)) << error;
  EXPECT_EQ(Slurp(path), JoinCrLf(kUnusual));
  std::vector<SettingsMessage> messages;
  ASSERT_TRUE(LoadSettingsFile(path, read, messages));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(SettingsLines(read), kUnusual);
  EXPECT_FALSE(LoadSettingsFile((dir / "none.cfg").string(), read, messages));
  EXPECT_EQ(SettingsLines(read), kUnusual);
  // Refused writes are the file writer's, tested with it below.
  EXPECT_FALSE(SaveSettingsFile((dir / "no-such-folder" / "x.cfg").string(), unusual, error));
  fs::remove_all(dir);
}

const std::string kLongName = std::string(246, 'n') + ".txt"; // 250 characters

class ParamsTextFile : public testing::Test {
public:
  void TearDown() override { fs::remove_all(Dir); }
  // Empties the folder, then puts "old" in the file (when named) and a link.txt to linkTo.
  void Prepare(const std::string& file = "", mode_t mode = 0, const std::string& linkTo = "") {
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    if (!file.empty()) std::ofstream(Dir / file, std::ios::binary) << "old";
    if (!file.empty()) chmod((Dir / file).c_str(), mode);
    if (!linkTo.empty()) fs::create_symlink(linkTo, Dir / "link.txt");
  }
  const fs::path Dir =
      fs::temp_directory_path() / ("velmora-files-" + std::to_string(getpid()) + "-" +
                                   testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(ParamsTextFile, WritesWhereTheUserPointedOrRefusesWithTheReason) {
  const mode_t mask = umask(0); // a new file gets what the user's mask leaves
  umask(mask);
  const struct {
    std::string Path, File; // written to; the file there before
    mode_t FileMode;
    const char* LinkTo;  // link.txt's target
    std::string Written; // where the text must end up, or the reason it cannot
    mode_t Mode;         // and the mode bits it must have there (0: not checked)
  } cases[] = {{"new.txt", "", 0, "", "new.txt", mode_t(0666 & ~mask)},
               {"mode.txt", "mode.txt", 0640, "", "mode.txt", 0640},
               {"link.txt", "target.txt", 0600, "target.txt", "target.txt", 0600},
               {"link.txt", "", 0, "later.txt", "later.txt", 0},
               {kLongName, "", 0, "", kLongName, 0},
               {kLongName, kLongName, 0664, "", kLongName, 0664},
               // Read-only files are refused by their permission bits even for the superuser.
               {"ro.txt", "ro.txt", 0444, "", "Permission denied", 0444},
               {"link.txt", "ro.txt", 0444, "ro.txt", "Permission denied", 0444},
               {"/dev/full", "", 0, "", "No space left on device", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path + " " + c.File);
    Prepare(c.File, c.FileMode, c.LinkTo);
    const std::string path = c.Path[0] == '/' ? c.Path : (Dir / c.Path).string();
    const bool refused = c.Written.find(' ') != std::string::npos;
    std::string error;
    EXPECT_EQ(WriteOutputFile(path, "text\r\n", error), !refused) << error;
    if (refused) {
      EXPECT_NE(error.find(path), std::string::npos) << error;
      EXPECT_NE(error.find(c.Written), std::string::npos) << error;
    }
    const std::string target = refused ? c.File : c.Written;
    if (target.empty()) continue;
    EXPECT_EQ(Slurp(Dir / target), refused ? "old" : "text\r\n");
    EXPECT_EQ(fs::is_symlink(Dir / "link.txt"), *c.LinkTo != '\0');
    struct stat st {};
    ASSERT_EQ(stat((Dir / target).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.Mode ? c.Mode : st.st_mode & 07777);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()),
              1 + (*c.LinkTo != '\0'));
  }
}

TEST_F(ParamsTextFile, AFifoIsWrittenNotReplacedAndReadsAreBounded) {
  Prepare();
  const fs::path fifo = Dir / "fifo";
  mkfifo(fifo.c_str(), 0600);
  // A reader that is already there, so that the writer's open does not wait.
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::string error;
  EXPECT_TRUE(WriteOutputFile(fifo.string(), "through", error)) << error;
  char buffer[16] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer), 7);
  close(reader);
  EXPECT_EQ(std::string(buffer), "through");
  EXPECT_TRUE(fs::is_fifo(fifo));
  // A FIFO or an endless device may neither hang the reader nor grow without bound.
  for (const auto size : {kMaxTextFileBytes, kMaxTextFileBytes + 1}) {
    std::ofstream{Dir / "big.red"};
    fs::resize_file(Dir / "big.red", size);
    std::string data;
    EXPECT_EQ(ReadFileBounded((Dir / "big.red").string(), kMaxTextFileBytes, data),
              size == kMaxTextFileBytes ? ReadStatus::Ok : ReadStatus::TooLarge);
    EXPECT_EQ(data.size(), size == kMaxTextFileBytes ? size : 0);
  }
  const std::pair<fs::path, ReadStatus> cases[] = {{fifo, ReadStatus::NotRegular},
                                                   {"/dev/zero", ReadStatus::NotRegular},
                                                   {Dir, ReadStatus::CannotOpen}};
  for (const auto& [path, status] : cases) {
    std::string data = "stale";
    EXPECT_EQ(ReadFileBounded(path.string(), kMaxTextFileBytes, data), status) << path;
    EXPECT_TRUE(data.empty()) << path;
  }
}

TEST_F(ParamsTextFile, WarriorListsTakeEveryLineAfterAnExactHeader) {
  const std::pair<Lines, std::optional<Lines>> cases[] = {
      {{";warriorlist", "a.red", "b.red"}, Lines{"a.red", "b.red"}},
      {{";warriorlist"}, Lines{}},
      {{";warriorlist ", "a.red"}, std::nullopt},
      {{";redcode-94", "mov 0, 1"}, std::nullopt},
      {{}, std::nullopt}};
  for (const auto& [lines, paths] : cases)
    EXPECT_EQ(WarriorListPaths(lines), paths);
  // Saved lists read back.
  Prepare();
  const fs::path path = Dir / "list.txt";
  const Lines paths{"/tmp/a.red", "rel/b.red"};
  std::string error;
  ASSERT_TRUE(SaveWarriorListFile(path.string(), paths, error)) << error;
  Lines lines;
  ASSERT_TRUE(ReadTextLines(path.string(), lines));
  EXPECT_EQ(WarriorListPaths(lines), paths);
}

} // namespace
} // namespace velmora
