// velmora-cli --vary as a shell runs it: the table, the JSON and CSV files, the exit status.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

namespace velmora {
namespace {

struct Shell {
  int Status = -1;
  std::string Out;
};

// Runs velmora-cli in dir (no default.cfg there), standard error after standard output.
Shell RunCli(const std::string& dir, const std::string& arguments) {
  const std::string command = "cd " + dir + " && " + VELMORA_CLI_PATH + " " + arguments + " 2>&1";
  Shell s;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return s;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    s.Out.append(buffer, n);
  const int raw = pclose(pipe);
  s.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return s;
}

std::string Read(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SweepCli, PrintsTheTableWritesEveryPointAndNamesABadConstant) {
  const std::string dir = testing::TempDir() + "/velmora_sweep_cli";
  std::filesystem::create_directories(dir);
  const std::string ex = std::string(VELMORA_EXAMPLES_DIR) + "/";
  const Shell run = RunCli(dir, "--vary step=3040..3048:4 -r 3 --seed 9 --threads 2 "
                                "--json sweep.json --csv sweep.csv " +
                                    ex + "stone.red " + ex + "dwarf.red " + ex + "imp.red");
  ASSERT_EQ(run.Status, 0) << run.Out;
  std::istringstream table(run.Out);
  std::vector<std::string> lines;
  for (std::string l; std::getline(table, l);)
    lines.push_back(l);
  ASSERT_EQ(lines.size(), 4u) << run.Out;
  EXPECT_EQ(lines[0], "rank        step     score      W%      L%      T%");

  const auto json = nlohmann::json::parse(Read(dir + "/sweep.json"));
  ASSERT_EQ(json["points"].size(), 3u);
  EXPECT_EQ(json["opponents"].size(), 2u);
  double best = -1;
  for (const auto& p : json["points"]) {
    EXPECT_EQ(p["status"], "ranked");
    EXPECT_EQ(p["wins"].get<int>() + p["losses"].get<int>() + p["ties"].get<int>(), 6);
    best = std::max(best, p["score"].get<double>());
  }
  for (const auto& p : json["points"]) {
    if (p["rank"] != 1) continue;
    EXPECT_EQ(p["score"].get<double>(), best);
    char row[64];
    std::snprintf(row, sizeof row, "%d %9.1f", p["values"]["step"].get<int>(), best);
    EXPECT_NE(lines[1].find(row), std::string::npos) << lines[1];
  }
  const std::string csv = Read(dir + "/sweep.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "step,score,W%,L%,T%,rounds,status");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);

  const Shell bad = RunCli(dir, "--vary gap=1..3 " + ex + "stone.red " + ex + "imp.red");
  EXPECT_EQ(bad.Status, 2);
  EXPECT_NE(bad.Out.find("gap is not a single-line EQU of Velmora Stone"), std::string::npos)
      << bad.Out;
}

} // namespace
} // namespace velmora
