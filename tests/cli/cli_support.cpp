#include "cli_support.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::cli::test {

namespace fs = std::filesystem;

std::string TempDir(const std::string& tag) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "velmora-cli-" + tag + "-" + std::to_string(getpid());
  if (info) name += std::string("-") + info->name();
  const fs::path dir = fs::temp_directory_path() / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

// A default.cfg with two bad lines that must not count, warriors that are empty, broken, warned
// about, in 8-bit text or for the 1988 standard, a read-only file, a FIFO, and lists in sub/ naming
// files beside them.
std::string WorkDir() {
  const std::string dir = TempDir("work");
  std::string cfg;
  // Core size, random, minimum, display, early draw, pause, cycles, processes, length,
  // distance, read, write, pspace, type, rounds, standard, circular, self fights.
  for (const char* v : {"5", "0", "800", "4", "1", "1", "4000", "0", "100", "100", "0", "0", "0",
                        "1", "3", "2", "0", "1"})
    cfg += std::string(v) + " = x\r\n";
  WriteFile(dir + "/default.cfg", cfg);
  WriteFile(dir + "/empty.red", "");
  WriteFile(dir + "/assert.red", ";redcode-94\n;name Asserty\n;assert CORESIZE == 55\njmp 0\n");
  WriteFile(dir + "/broken.red", ";redcode-94\n;name Broken\nmov 0, 1\nbogus 1, 2\n");
  WriteFile(dir + "/warned.red", ";name Warned\njmp-1\n");
  WriteFile(dir + "/old.red", ";redcode\n;name Old Imp\nMOV 0, 1\n");
  WriteFile(dir + "/j.red", ";redcode-94\n;name J\xF6rg\n;author M\xFCller \xA9\nmov 0, 1\n");
  WriteFile(dir + "/ro.txt", "keep");
  chmod((dir + "/ro.txt").c_str(), 0444);
  mkfifo((dir + "/fifo.red").c_str(), 0600);
  fs::create_directories(dir + "/sub/w");
  fs::copy_file(Example("imp"), dir + "/sub/w/imp.red");
  fs::copy_file(Example("imp"), dir + "/here.red");
  fs::copy_file(Example("dwarf"), dir + "/sub/here.red");
  WriteFile(dir + "/sub/ok.lst",
            ";warriorlist\nw/imp.red\n" + Example("dwarf") + "\n" + Example("paper") + "\n");
  WriteFile(dir + "/sub/first.lst", ";warriorlist\nhere.red\n");
  WriteFile(dir + "/sub/blank.lst", ";warriorlist\nw/imp.red\n\nnone.red\n");
  return dir;
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
  p.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
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
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

} // namespace velmora::cli::test
