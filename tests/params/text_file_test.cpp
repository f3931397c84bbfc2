// The program's file writer and bounded reader on what a user may point them at: links,
// read-only files, FIFOs, devices, long names.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

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

class ParamsTextFile : public testing::Test {
public:
  void SetUp() override {
    Dir =
        fs::temp_directory_path() / ("velmora-files-" + std::to_string(getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  void Put(const fs::path& p, const std::string& text, mode_t mode = 0644) const {
    std::ofstream(p, std::ios::binary) << text;
    chmod(p.c_str(), mode);
  }
  size_t EntryCount() const {
    return size_t(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()));
  }
  fs::path Dir;
};

struct WriteCase {
  const char* Label;
  // Prepares the folder; returns the path to write.
  std::function<fs::path(const fs::path& dir, ParamsTextFile& t)> Prepare;
  // Where the text must end up, and the mode bits it must have there.
  const char* Written;
  mode_t Mode;
};

TEST_F(ParamsTextFile, WritesWhereTheUserPointed) {
  const std::string longName = std::string(246, 'n') + ".txt"; // 250 characters
  const mode_t mask = umask(0); // a new file gets what the user's mask leaves
  umask(mask);
  const WriteCase cases[] = {
      {"new file", [](const fs::path& d, ParamsTextFile&) { return d / "new.txt"; }, "new.txt",
       mode_t(0666 & ~mask)},
      {"mode kept",
       [](const fs::path& d, ParamsTextFile& t) {
         t.Put(d / "mode.txt", "old", 0640);
         return d / "mode.txt";
       },
       "mode.txt", 0640},
      {"through a link",
       [](const fs::path& d, ParamsTextFile& t) {
         t.Put(d / "target.txt", "old", 0600);
         fs::create_symlink("target.txt", d / "link.txt");
         return d / "link.txt";
       },
       "target.txt", 0600},
      {"dangling link",
       [](const fs::path& d, ParamsTextFile&) {
         fs::create_symlink("later.txt", d / "dangling.txt");
         return d / "dangling.txt";
       },
       "later.txt", 0},
      {"long new name", [&](const fs::path& d, ParamsTextFile&) { return d / longName; },
       longName.c_str(), 0},
      {"long existing name",
       [&](const fs::path& d, ParamsTextFile& t) {
         t.Put(d / longName, "old", 0664);
         return d / longName;
       },
       longName.c_str(), 0664},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.Label);
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    const fs::path path = c.Prepare(Dir, *this);
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
    // No temporary file is left behind.
    EXPECT_EQ(EntryCount(), wasLink ? 2u : 1u);
  }
}

struct RefusalCase {
  const char* Label;
  std::function<fs::path(const fs::path& dir, ParamsTextFile& t)> Prepare;
  const char* Reason; // the system's text in the message
};

TEST_F(ParamsTextFile, RefusesWithTheSystemsReason) {
  const RefusalCase cases[] = {
      // Refused by its permission bits even for the superuser, who may write anything.
      {"read-only file",
       [](const fs::path& d, ParamsTextFile& t) {
         t.Put(d / "ro.txt", "keep", 0444);
         return d / "ro.txt";
       },
       "Permission denied"},
      {"read-only through a link",
       [](const fs::path& d, ParamsTextFile& t) {
         t.Put(d / "ro.txt", "keep", 0444);
         fs::create_symlink("ro.txt", d / "link.txt");
         return d / "link.txt";
       },
       "Permission denied"},
      {"full device", [](const fs::path&, ParamsTextFile&) { return fs::path("/dev/full"); },
       "No space left on device"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.Label);
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    const fs::path path = c.Prepare(Dir, *this);
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
  const fs::path fifo = Dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
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

struct ReadCase {
  const char* Label;
  std::function<fs::path(const fs::path& dir, ParamsTextFile& t)> Prepare;
  ReadStatus Status;
};

TEST_F(ParamsTextFile, ReadsOnlyRegularFilesUpToTheLimit) {
  auto sized = [](const char* name, off_t size) {
    return [=](const fs::path& d, ParamsTextFile&) {
      const fs::path p = d / name;
      std::ofstream{p};
      fs::resize_file(p, uintmax_t(size));
      return p;
    };
  };
  const ReadCase cases[] = {
      {"small",
       [](const fs::path& d, ParamsTextFile& t) {
         t.Put(d / "a.red", "mov 0, 1\n");
         return d / "a.red";
       },
       ReadStatus::Ok},
      {"at the limit", sized("limit.red", off_t(kMaxTextFileBytes)), ReadStatus::Ok},
      {"over the limit", sized("big.red", off_t(kMaxTextFileBytes) + 1), ReadStatus::TooLarge},
      // Neither may hang nor grow without bound.
      {"fifo",
       [](const fs::path& d, ParamsTextFile&) {
         mkfifo((d / "fifo").c_str(), 0600);
         return d / "fifo";
       },
       ReadStatus::NotRegular},
      {"endless device", [](const fs::path&, ParamsTextFile&) { return fs::path("/dev/zero"); },
       ReadStatus::NotRegular},
      {"folder", [](const fs::path& d, ParamsTextFile&) { return d; }, ReadStatus::CannotOpen},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.Label);
    std::string data = "stale";
    EXPECT_EQ(ReadFileBounded(c.Prepare(Dir, *this).string(), kMaxTextFileBytes, data), c.Status);
    if (c.Status != ReadStatus::Ok) {
      EXPECT_TRUE(data.empty());
    }
  }
}

} // namespace
} // namespace velmora
