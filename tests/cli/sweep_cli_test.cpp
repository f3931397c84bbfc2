// velmora-cli --vary as a shell runs it: the table, the JSON and CSV files, the exit status.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli_support.h"

namespace velmora::cli::test {
namespace {

TEST(SweepCli, PrintsTheTableWritesEveryPointAndNamesABadConstant) {
  const std::string dir = TempDir("sweep");
  const CliRun run =
      Shell(dir, "--vary step=3040..3048:4 -r 3 --seed 9 --threads 2 --json sweep.json --csv "
                 "sweep.csv " +
                     Example("stone") + " " + Example("dwarf") + " " + Example("imp"));
  ASSERT_EQ(run.Status, 0) << run.Err;
  const std::vector<std::string> lines = SplitLines(run.Out);
  ASSERT_EQ(lines.size(), 4u) << run.Out;
  EXPECT_EQ(lines[0], "rank        step     score      W%      L%      T%");
  const auto json = nlohmann::json::parse(ReadFile(dir + "/sweep.json"));
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
  const std::string csv = ReadFile(dir + "/sweep.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "step,score,W%,L%,T%,rounds,status");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
  const CliRun bad = Shell(dir, "--vary gap=1..3 " + Example("stone") + " " + Example("imp"));
  EXPECT_EQ(bad.Status, 2);
  EXPECT_NE(bad.Err.find("gap is not a single-line EQU of Velmora Stone"), std::string::npos)
      << bad.Err;
}

} // namespace
} // namespace velmora::cli::test
