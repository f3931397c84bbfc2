// The program's file writer and bounded reader on what a user may point them at: links,
// read-only files, FIFOs, devices, long names.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "params/text_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kLongName = std::string(246, 'n') + ".txt"; // 250 characters

class ParamsTextFile : public testing::Test {
public:
  void SetUp() override {
    Dir =
        fs::temp_directory_path() / ("velmora-files-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override { fs::remove_all(Dir); }
  void Put(const std::string& name, const std::string& text, mode_t mode) const {
    std::ofstream(Dir / name, std::ios::binary) << text;
    chmod((Dir / name).c_str(), mode);
  }
  // Empties the folder and sets up what a case names; returns the path to use.
  fs::path Prepare(const std::string& what) {
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    if (what == "mode") Put("mode.txt", "old", 0640);
    if (what == "link") Put("target.txt", "old", 0600);
    if (what == "long existing") Put(kLongName, "old", 0664);
    if (what == "ro" || what == "ro link") Put("ro.txt", "keep", 0444);
    if (what == "small") Put("a.red", "mov 0, 1\n", 0644);
    if (what == "link") fs::create_symlink("target.txt", Dir / "link.txt");
    if (what == "ro link") fs::create_symlink("ro.txt", Dir / "link.txt");
    if (what == "dangling") fs::create_symlink("later.txt", Dir / "link.txt");
    if (what == "fifo") mkfifo((Dir / "fifo").c_str(), 0600);
    if (what == "limit" || what == "over") {
      std::ofstream{Dir / "big.red"};
      fs::resize_file(Dir / "big.red", kMaxTextFileBytes + (what == "over"));
      return Dir / "big.red";
    }
    if (what.find("link") != std::string::npos || what == "dangling") return Dir / "link.txt";
    if (what == "new" || what == "ro") return Dir / (what + ".txt");
    if (what == "mode" || what == "small" || what == "fifo")
      return Dir / (what == "small" ? "a.red" : what == "fifo" ? "fifo" : "mode.txt");
    if (what.rfind("long", 0) == 0) return Dir / kLongName;
    return what == "folder" ? Dir : fs::path(what);
  }
  size_t EntryCount() const {
    return size_t(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()));
  }
  fs::path Dir;
};

TEST_F(ParamsTextFile, WritesWhereTheUserPointed) {
  const mode_t mask = umask(0); // a new file gets what the user's mask leaves
  umask(mask);
  const struct {
    const char* What;
    std::string Written; // where the text must end up
    mode_t Mode;         // and the mode bits it must have there (0: not checked)
  } cases[] = {{"new", "new.txt", mode_t(0666 & ~mask)},
               {"mode", "mode.txt", 0640},
               {"link", "target.txt", 0600},
               {"dangling", "later.txt", 0},
               {"long new", kLongName, 0},
               {"long existing", kLongName, 0664}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const fs::path path = Prepare(c.What);
    const bool wasLink = fs::is_symlink(path);
    std::string error;
    ASSERT_TRUE(WriteOutputFile(path.string(), "text\r\n", error)) << error;
    EXPECT_EQ(Slurp(Dir / c.Written), "text\r\n");
    EXPECT_EQ(fs::is_symlink(path), wasLink);
    struct stat st {};
    ASSERT_EQ(stat((Dir / c.Written).c_str(), &st), 0);
    if (c.Mode != 0) {
      EXPECT_EQ(st.st_mode & 07777, c.Mode);
    }
    EXPECT_EQ(EntryCount(), wasLink ? 2u : 1u); // no temporary file is left behind
  }
}

TEST_F(ParamsTextFile, RefusesWithTheSystemsReason) {
  // Read-only files are refused by their permission bits even for the superuser.
  const struct {
    const char *What, *Reason;
  } cases[] = {{"ro", "Permission denied"},
               {"ro link", "Permission denied"},
               {"/dev/full", "No space left on device"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const fs::path path = Prepare(c.What);
    std::string error;
    EXPECT_FALSE(WriteOutputFile(path.string(), "new", error));
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_NE(error.find(c.Reason), std::string::npos) << error;
    if (fs::exists(Dir / "ro.txt")) {
      EXPECT_EQ(Slurp(Dir / "ro.txt"), "keep");
      EXPECT_EQ(fs::status(Dir / "ro.txt").permissions(), fs::perms(0444));
    }
  }
}

TEST_F(ParamsTextFile, AFifoIsWrittenNotReplaced) {
  const fs::path fifo = Prepare("fifo");
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
}

TEST_F(ParamsTextFile, ReadsOnlyRegularFilesUpToTheLimit) {
  // A FIFO or an endless device may neither hang the reader nor grow without bound.
  const struct {
    const char* What;
    ReadStatus Status;
  } cases[] = {{"small", ReadStatus::Ok},
               {"limit", ReadStatus::Ok},
               {"over", ReadStatus::TooLarge},
               {"fifo", ReadStatus::NotRegular},
               {"/dev/zero", ReadStatus::NotRegular},
               {"folder", ReadStatus::CannotOpen}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    std::string data = "stale";
    EXPECT_EQ(ReadFileBounded(Prepare(c.What).string(), kMaxTextFileBytes, data), c.Status);
    if (c.Status != ReadStatus::Ok) {
      EXPECT_TRUE(data.empty());
    }
  }
}

} // namespace
} // namespace velmora
