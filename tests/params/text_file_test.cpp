// The program's file writer and bounded reader on what a user may point them at: links,
// read-only files, FIFOs, devices, long names; and warrior list files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
      {{";warriorlist", "", "c.red"}, Lines{"", "c.red"}},
      {{";warriorlist ", "a.red"}, std::nullopt},
      {{";WarriorList", "a.red"}, std::nullopt},
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
