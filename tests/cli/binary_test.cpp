// The program itself, run as a shell runs it: exit statuses, standard output and error,
// warrior files and lists, settings, the working directory, and every example of the README.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_support.h"

namespace velmora::cli::test {
namespace {

namespace fs = std::filesystem;

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

// In order, in one folder (see WorkDir): a run may use what an earlier one wrote.
TEST(CliBinary, ExitsWithItsStatusAndStreams) {
  const std::string imp = Example("imp"), dwarf = Example("dwarf"), paper = Example("paper");
  const std::string two = " " + imp + " " + dwarf;
  const char* const full = "cannot write to standard output: No space left on device";
  const struct {
    std::string Arguments;
    int Status;
    const char* Err; // standard error holds it exactly once; "" means nothing at all
    int OutLines;    // lines on standard output, or -1
    const char* Out; // standard output holds it
  } cases[] = {
      {"-k -r 3 -f" + two, 0, "Tournament complete.", 2, " "},
      {"-q -k -r 3 -f" + two, 0, "", 2, ""}, // quiet says nothing
      {"-Z " + imp, 2, "velmora-cli: Unknown option -Z", 0, ""},
      {"-d -4 " + imp, 2, "velmora-cli: Min Distance must be at least 0", 0, ""},
      {"-s 5" + two, 2, "velmora-cli: Core size must be at least 16", 0, ""},
      {"--initial 'FOO 1'" + two, 2, "velmora-cli: Initial instruction failed to compile.", 0, ""},
      {"-= '1/(S-1)'" + two, 2, "velmora-cli: Score formula: Division by zero", 0, ""},
      {"--type benchmark" + two, 2,
       "velmora-cli: To run a Benchmark tournament, you must select a warrior or warrior list.", 0,
       ""},
      {"--settings /nonexistent/x.cfg" + two, 2, "velmora-cli: Cannot read settings file", 0, ""},
      {"--type knockout" + two, 2, "velmora-cli: Unknown tournament type knockout", 0, ""},
      {"--standard 86" + two, 2, "velmora-cli: Unknown standard 86 (88, 94 or 94p)", 0, ""},
      {"--read-limit half" + two, 2, "velmora-cli: Unknown read limit half", 0, ""},
      {"--pspace-size quarter" + two, 2, "velmora-cli: Unknown P-space size quarter", 0, ""},
      {"-P --min-core-size 800" + two, 2, "Permutate cannot be used with a random core size", 0,
       ""},
      {"-P -s 800 -d 500 -l 10" + two, 2,
       "Number of rounds must be at least 1\nvelmora-cli: Max Length too large to load all "
       "Warriors",
       0, ""},
      {"", 2, "velmora-cli: No warrior files given", 0, ""},
      {"--version", 0, "", 1, "velmora-cli"},
      {"-k " + imp + " none.red " + dwarf, 1, "none.red: Unable to open file (no such file)", 0,
       ""},
      {"-k " + imp + " sub", 1, "sub: Unable to open file (a folder", 0, ""},
      {"-k " + imp + " empty.red", 1, "empty.red: the file is empty", 0, ""},
      {"-k -r 1 fifo.red" + two, 1, "fifo.red: Not a regular file", 0, ""},
      {"-k " + imp + " sub/blank.lst", 1,
       "sub/blank.lst:3: a blank line where a warrior file should be named\n"
       "sub/blank.lst:4: none.red: Unable to open file (no such file)",
       0, ""},
      {"-q -k -r 2 -f sub/ok.lst", 0, "", 3, ""},                  // list paths are beside the list
      {"--listing sub/first.lst", 0, "", -1, ";name Velmora Imp"}, // the working folder first
      {"-q -k -r 2 --benchmark sub/ok.lst " + paper, 0, "", 1, ""},
      {"-q --json -" + two, 0, "", -1, "\"selfFights\": false"}, // default.cfg is not read
      {"--listing " + imp + " broken.red", 1, "", -1, "broken.red: Bad Opcode in line 2:  1, 2"},
      {"-q " + imp + " broken.red", 1, "broken.red: Warrior Broken failed to compile.", 0, ""},
      {"-q -8 -r 2 -k old.red old.red", 0, "", 2, ""},
      {"-q -8 -r 2 old.red " + imp, 1, "imp.red: Warrior Velmora Imp failed to compile.", 0, ""},
      // Told once, not again for each matchup.
      {"-q -k -r 2 --type round-robin assert.red" + two + " " + paper, 0,
       "Warrior Asserty: assert evaluates to false", 4, ""},
      {"-q -k -r 2 assert.red assert.red", 0, // a file named twice warns once
       "assert.red: warning: Warrior Asserty: assert evaluates to false", 2, ""},
      {"-q -k -r 2 --type round-robin warned.red" + two, 0,
       "warned.red: warning: line 1: the opcode word ends at \"-\", as on the hills\n", 3, ""},
      {"-r 5 --seed 1 --min-core-size 16 -s 400 -l 20 -d 100 " + paper + " " + imp, 1,
       "velmora-cli: matchup 1 (Velmora Paper vs Velmora Imp): Unable to fit warrior", 0, ""},
      {"-q -p 2147483646 --save-settings p.cfg", 0, "", 0, ""}, // saved, but cannot run
      {"--settings p.cfg" + two, 1, "Max Processes too large for 2 warriors", 0, ""},
      {"-k --json -" + two, 2, "velmora-cli: -k and --json - would both write to standard output",
       0, ""},
      {"-o" + two, 2, "velmora-cli: -o (--sort)", 0, ""},
      {"-q -k -r 2" + two + " >/dev/full", 1, full, 0, ""},
      {"-q -r 2" + two + " >/dev/full", 1, full, 0, ""},
      {"--help >/dev/full", 1, full, 0, ""},
      {"--listing " + imp + " >/dev/full", 1, full, 0, ""},
      {"-r 2" + two + " 2>/dev/full", 1, "", -1, ""},
      {"-q -r 1 -k --report /dev/full" + two, 1, "No space left on device", 2, ""},
      {"-q -r 1 -k --json /dev/full" + two, 1, "No space left on device", 2, ""},
      {"-q -r 1 -k --report ro.txt" + two, 1, "Permission denied", 2, ""}};
  const std::string dir = WorkDir();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments);
    if (c.Arguments.find("/dev/full") != std::string::npos && !fs::exists("/dev/full")) continue;
    const CliRun p = Shell(dir, c.Arguments);
    EXPECT_EQ(p.Status, c.Status) << p.Err;
    EXPECT_EQ(*c.Err ? Count(p.Err, c.Err) : p.Err.size(), *c.Err ? 1u : 0u) << p.Err;
    const size_t lines = SplitLines(p.Out).size();
    EXPECT_EQ(lines, c.OutLines < 0 ? lines : size_t(c.OutLines)) << p.Out;
    EXPECT_NE(p.Out.find(c.Out), std::string::npos) << p.Out;
  }
  EXPECT_EQ(ReadFile(dir + "/ro.txt"), "keep");
}

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
    const CliRun p = Shell(dir, arguments);
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
