#pragma once
// Running velmora-cli as a shell does, in a folder of test files, and the example warriors.

#include <string>
#include <vector>

namespace velmora::cli::test {

struct CliRun {
  int Status = -1; // -1: ended by a signal
  std::string Out, Err;
};

// Runs "velmora-cli arguments" as a shell does in dir, after the shell commands in before.
CliRun Shell(const std::string& dir, const std::string& arguments, const std::string& before = "");

std::string Example(const std::string& name); // path of examples/<name>.red
std::vector<std::string> AllExamples();

// A fresh empty folder for one test.
std::string TempDir(const std::string& tag);
// A fresh folder with the files the command-line runs use (see cli_support.cpp).
std::string WorkDir();
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
std::vector<std::string> SplitLines(const std::string& text);

} // namespace velmora::cli::test
