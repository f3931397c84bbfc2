#include "cli_support.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/app.h"

namespace velmora::cli::test {

namespace fs = std::filesystem;

std::string TempDir(const std::string& tag) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "velmora-cli-" + tag + "-" + std::to_string(getpid());
  if (info) name += std::string("-") + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  const fs::path dir = fs::temp_directory_path() / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

CliRun RunIn(const std::string& dir, const std::vector<std::string>& args) {
  const fs::path before = fs::current_path();
  fs::current_path(dir);
  std::ostringstream out, err;
  CliRun r;
  r.Status = RunCli(args, out, err, false);
  fs::current_path(before);
  r.Out = out.str();
  r.Err = err.str();
  return r;
}

CliRun Cli(const std::vector<std::string>& args) {
  return RunIn(TempDir("run"), args);
}

CliRun Shell(const std::string& dir, const std::string& arguments, const std::string& before) {
  const std::string errFile = dir + "/stderr.txt";
  const std::string command = "cd '" + dir + "' && { " + before + " " + VELMORA_CLI_PATH + " " +
                              arguments + "; } 2>'" + errFile + "'";
  CliRun p;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return p;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    p.Out.append(buffer, n);
  const int raw = pclose(pipe);
  p.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1; // -1: ended by a signal
  p.Err = ReadFile(errFile);
  return p;
}

std::string Example(const std::string& name) {
  return std::string(VELMORA_EXAMPLES_DIR) + "/" + name + ".red";
}

std::vector<std::string> AllExamples() {
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(VELMORA_EXAMPLES_DIR))
    if (e.path().extension() == ".red") files.push_back(e.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    lines.push_back(line);
  return lines;
}

} // namespace velmora::cli::test
