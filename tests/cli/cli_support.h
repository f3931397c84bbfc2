#pragma once
// Running velmora-cli in the test process, and the example warriors' paths.

#include <string>
#include <vector>

namespace velmora::cli::test {

struct CliRun {
  int Status = -1;
  std::string Out, Err;
};

// Runs the command line with these arguments (without the program name) in a fresh temporary
// working directory, so that no default.cfg is found unless the test writes one there.
CliRun RunIn(const std::string& dir, const std::vector<std::string>& args);
CliRun Cli(const std::vector<std::string>& args);
// Runs "velmora-cli arguments" as a shell does in dir, after the shell commands in before.
CliRun Shell(const std::string& dir, const std::string& arguments, const std::string& before = "");

std::string Example(const std::string& name); // path of examples/<name>.red
std::vector<std::string> AllExamples();

// A fresh empty folder for one test.
std::string TempDir(const std::string& tag);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
std::vector<std::string> SplitLines(const std::string& text);

} // namespace velmora::cli::test
