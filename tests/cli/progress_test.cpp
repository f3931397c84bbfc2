// The progress line's text.

#include <gtest/gtest.h>

#include "cli/progress_line.h"

namespace velmora::cli {
namespace {

TEST(CliProgressText, CountsElapsedAndWhatRemains) {
  const struct {
    int32_t Matchups, TotalMatchups;
    int64_t Rounds, TotalRounds;
    double Elapsed;
    const char* Text;
  } cases[] = {
      {0, 66, 0, 6600, 0.2, "matchups 0/66  rounds 0/6600  0:00 elapsed"},
      {0, 66, 5, 6600, 0.0, "matchups 0/66  rounds 5/6600  0:00 elapsed"},
      // A quarter done in 10 s leaves three times as long.
      {16, 66, 1650, 6600, 10.0,
       "matchups 16/66  rounds 1650/6600  165 rounds/s  0:10 elapsed  about 0:30 left"},
      {1, 1, 500, 1000, 3700.0,
       "matchups 1/1  rounds 500/1000  0.1 rounds/s  1:01:40 elapsed  about 1:01:40 left"},
      {66, 66, 6600, 6600, 75.0, "matchups 66/66  rounds 6600/6600  88 rounds/s  1:15 elapsed"}};
  for (const auto& c : cases)
    EXPECT_EQ(ProgressText(c.Matchups, c.TotalMatchups, c.Rounds, c.TotalRounds, c.Elapsed),
              c.Text);
}

} // namespace
} // namespace velmora::cli
