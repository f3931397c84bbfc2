// The program itself: exit statuses and streams as a shell sees them.

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#include "cli/options.h"
#include "cli_support.h"

namespace velmora::cli::test {
namespace {

struct Process {
  int Status = -1;
  std::string Out;
};

Process Shell(const std::string& arguments) {
  const std::string command = std::string(VELMORA_CLI_PATH) + " " + arguments + " 2>&1";
  Process p;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return p;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    p.Out.append(buffer, n);
  const int raw = pclose(pipe);
  p.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return p;
}

struct ExitCase {
  const char* Label;
  std::string Arguments;
  int Status;
  const char* Contains;
};

void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << c.Label;
}

class CliBinary : public testing::TestWithParam<ExitCase> {};

TEST_P(CliBinary, ExitsWithItsStatus) {
  const Process p = Shell(GetParam().Arguments);
  EXPECT_EQ(p.Status, GetParam().Status) << p.Out;
  EXPECT_NE(p.Out.find(GetParam().Contains), std::string::npos) << p.Out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliBinary,
    testing::Values(
        ExitCase{"battle", "-k -r 3 -f " + Example("imp") + " " + Example("dwarf"), kExitOk, " "},
        ExitCase{"badOption", "-Z " + Example("imp"), kExitBadUsage, "Unknown option -Z"},
        ExitCase{"badValue", "-d -4 " + Example("imp"), kExitBadUsage,
                 "Min Distance must be at least 0"},
        ExitCase{"missingFile", "/nonexistent/none.red", kExitBadUsage,
                 "Unable to open file /nonexistent/none.red"},
        ExitCase{"noFiles", "", kExitBadUsage, "No warrior files given"},
        ExitCase{"version", "--version", kExitOk, "velmora-cli"}));

} // namespace
} // namespace velmora::cli::test
