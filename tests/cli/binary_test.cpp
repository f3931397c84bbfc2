// The program itself, run as a shell runs it: exit statuses, standard output and error,
// warrior files and lists, the working directory, and every example of the README.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

#include "cli/options.h"
#include "cli_support.h"

namespace velmora::cli::test {
namespace {

namespace fs = std::filesystem;

struct Process {
  int Status = -1;
  std::string Out, Err;
};

// Runs "velmora-cli arguments" through the shell in dir.
Process Shell(const std::string& dir, const std::string& arguments) {
  const std::string errFile = dir + "/stderr.txt";
  const std::string command =
      "cd '" + dir + "' && { " + VELMORA_CLI_PATH + " " + arguments + "; } 2>'" + errFile + "'";
  Process p;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return p;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    p.Out.append(buffer, n);
  const int raw = pclose(pipe);
  p.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  p.Err = ReadFile(errFile);
  return p;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

struct ExitCase {
  const char* Label;
  std::string Arguments;
  int Status;
  const char* Err; // standard error holds it exactly once; "" means nothing at all
  int OutLines;    // lines on standard output, or -1
  const char* Out; // standard output holds it
};

void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << c.Label;
}

class CliBinary : public testing::TestWithParam<ExitCase> {
protected:
  // The working directory of every case: a default.cfg that must not count, an empty
  // file, a warrior with a false ;assert, and lists in sub/ naming files beside them.
  static void SetUpTestSuite() {
    Dir = TempDir("binary");
    const std::string cfg =
        "4000 = Core Size\r\n0 = Random Core Size checked\r\n"
        "4000 = Min Core Size\r\n4 = Graphical Display option\r\n"
        "1 = Imp Draw detection checked\r\n0 = Pause after battles checked\r\n"
        "500 = Battle Length\r\n8000 = Queue Limit\r\n100 = Warrior Size limit\r\n"
        "100 = Buffer Size\r\n0 = Read Limit\r\n0 = Write Limit\r\n"
        "0 = PSpace Size\r\n1 = Tournament Type\r\n"
        "9 = Number of battles per matchup\r\n2 = Standards index\r\n"
        "0 = Circular display topology\r\n1 = Self fights\r\n";
    WriteFile(Dir + "/default.cfg", cfg);
    WriteFile(Dir + "/empty.red", "");
    WriteFile(Dir + "/assert.red", ";redcode-94\n;name Asserty\n;assert CORESIZE == 55\n"
                                   "jmp 0\n");
    fs::create_directories(Dir + "/sub/w");
    fs::copy_file(Example("imp"), Dir + "/sub/w/imp.red");
    fs::copy_file(Example("imp"), Dir + "/here.red");
    fs::copy_file(Example("dwarf"), Dir + "/sub/here.red");
    WriteFile(Dir + "/sub/ok.lst", ";warriorlist\nw/imp.red\n" + Example("dwarf") + "\n");
    WriteFile(Dir + "/sub/first.lst", ";warriorlist\nhere.red\n");
    WriteFile(Dir + "/sub/blank.lst", ";warriorlist\nw/imp.red\n\nnone.red\n");
  }
  static std::string Dir;
};
std::string CliBinary::Dir;

TEST_P(CliBinary, ExitsWithItsStatusAndStreams) {
  const ExitCase& c = GetParam();
  if (c.Arguments.find("/dev/full") != std::string::npos && !fs::exists("/dev/full"))
    GTEST_SKIP() << "no /dev/full here";
  const Process p = Shell(Dir, c.Arguments);
  EXPECT_EQ(p.Status, c.Status) << p.Err;
  EXPECT_EQ(*c.Err ? Count(p.Err, c.Err) : p.Err.size(), *c.Err ? 1u : 0u) << p.Err;
  const size_t lines = SplitLines(p.Out).size();
  EXPECT_EQ(lines, c.OutLines < 0 ? lines : size_t(c.OutLines)) << p.Out;
  EXPECT_NE(p.Out.find(c.Out), std::string::npos) << p.Out;
}

const std::string imp = Example("imp"), dwarf = Example("dwarf"), paper = Example("paper");
const std::string kFull = "cannot write to standard output: No space left on device";

INSTANTIATE_TEST_SUITE_P(
    Cases, CliBinary,
    testing::Values(
        ExitCase{"battle", "-k -r 3 -f " + imp + " " + dwarf, 0, "Tournament complete.", 2, " "},
        ExitCase{"quietSaysNothing", "-q -k -r 3 -f " + imp + " " + dwarf, 0, "", 2, ""},
        ExitCase{"badOption", "-Z " + imp, 2, "velmora-cli: Unknown option -Z", 0, ""},
        ExitCase{"badValue", "-d -4 " + imp, 2, "velmora-cli: Min Distance must be at least 0", 0,
                 ""},
        ExitCase{"noFiles", "", 2, "velmora-cli: No warrior files given", 0, ""},
        ExitCase{"version", "--version", 0, "", 1, "velmora-cli"},
        ExitCase{"missingAmongSeveral", "-k " + imp + " none.red " + dwarf, 1,
                 "none.red: Unable to open file (no such file)", 0, ""},
        ExitCase{"folder", "-k " + imp + " sub", 1, "sub: Unable to open file (a folder", 0, ""},
        ExitCase{"emptyFile", "-k " + imp + " empty.red", 1, "empty.red: the file is empty", 0, ""},
        ExitCase{"blankListEntry", "-k " + imp + " sub/blank.lst", 1,
                 "sub/blank.lst:3: a blank line where a warrior file should be named", 0, ""},
        ExitCase{"missingListEntry", "-k " + imp + " sub/blank.lst", 1,
                 "sub/blank.lst:4: none.red: Unable to open file (no such file)", 0, ""},
        ExitCase{"listPathsBesideTheList", "-q -k -r 2 -f sub/ok.lst", 0, "", 2, ""},
        ExitCase{"workingDirectoryFirst", "--listing sub/first.lst", 0, "", -1,
                 ";name Velmora Imp"},
        ExitCase{"benchmarkOneWarrior", "-q -k -r 2 --benchmark sub/ok.lst " + paper, 0, "", 1, ""},
        ExitCase{"defaultCfgIgnored", "-q --json - " + imp + " " + dwarf, 0, "", -1,
                 "\"selfFights\": false"},
        ExitCase{"assertWarnsOncePerWarrior",
                 "-q -k -r 2 --type round-robin assert.red " + imp + " " + dwarf + " " + paper, 0,
                 "assert.red: warning: Warrior Asserty: assert evaluates to false", 4, ""},
        ExitCase{"setUpNamesTheMatchup",
                 "-r 5 --seed 1 --min-core-size 16 -s 400 -l 20 -d 100 " + paper + " " + imp, 1,
                 "velmora-cli: matchup 1 (Velmora Paper vs Velmora Imp): Unable to fit warrior", 0,
                 ""},
        ExitCase{"kothWithJsonOut", "-k --json - " + imp + " " + dwarf, 2,
                 "velmora-cli: -k and --json - would both write to standard output", 0, ""},
        ExitCase{"sortWithoutKoth", "-o " + imp + " " + dwarf, 2, "velmora-cli: -o (--sort)", 0,
                 ""},
        ExitCase{"fullKoth", "-q -k -r 2 " + imp + " " + dwarf + " >/dev/full", 1, kFull.c_str(), 0,
                 ""},
        ExitCase{"fullReport", "-q -r 2 " + imp + " " + dwarf + " >/dev/full", 1, kFull.c_str(), 0,
                 ""},
        ExitCase{"fullHelp", "--help >/dev/full", 1, kFull.c_str(), 0, ""},
        ExitCase{"fullListing", "--listing " + imp + " >/dev/full", 1, kFull.c_str(), 0, ""},
        ExitCase{"fullErrorStream", "-r 2 " + imp + " " + dwarf + " 2>/dev/full", 1, "", -1, ""}));

// Runs every velmora-cli command line of the README as written, with the example warriors
// (a folder "examples" here) and wilkies.lst, a list of the Wilkies benchmark when present.
TEST(CliReadme, EveryExampleRuns) {
  const std::string dir = TempDir("readme");
  fs::create_directory_symlink(VELMORA_EXAMPLES_DIR, dir + "/examples");
  const fs::path wilkies = fs::path(VELMORA_SHARED_DIR) / "warriors" / "wilkies";
  if (fs::is_directory(wilkies)) {
    std::string list = ";warriorlist\n";
    for (const auto& e : fs::directory_iterator(wilkies))
      if (e.path().extension() == ".RED") list += e.path().string() + "\n";
    WriteFile(dir + "/wilkies.lst", list);
  }
  std::ifstream readme(fs::path(VELMORA_EXAMPLES_DIR) / ".." / "README.md");
  int examples = 0;
  for (std::string line; std::getline(readme, line);) {
    const std::string start = "    velmora-cli ";
    if (line.rfind(start, 0) != 0 || line.find('[') != std::string::npos) continue; // synopsis
    const std::string arguments = line.substr(start.size(), line.find('#') - start.size());
    ++examples;
    if (arguments.find("wilkies.lst") != std::string::npos && !fs::exists(dir + "/wilkies.lst"))
      continue;
    const Process p = Shell(dir, arguments);
    EXPECT_EQ(p.Status, 0) << line << "\n" << p.Err;
    EXPECT_FALSE(p.Out.empty()) << line;
    // Only warnings (the Wilkies warriors' hill readings) and the closing line.
    std::string err;
    for (const std::string& l : SplitLines(p.Err))
      if (l.find(": warning: ") == std::string::npos) err += l + "\n";
    EXPECT_TRUE(err.empty() || err == "velmora-cli: Tournament complete.\n") << line << p.Err;
  }
  EXPECT_GE(examples, 5);
}

} // namespace
} // namespace velmora::cli::test
