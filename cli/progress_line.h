#pragma once
// The progress line drawn on a terminal while a tournament runs.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <thread>

#include "cli/battle.h"

namespace velmora::cli {

// "matchups 3/66  rounds 250/6600  62 rounds/s  0:04 elapsed  about 1:41 left", from its
// counts; the rate and the time left once a round is done.
std::string ProgressText(int32_t matchups, int32_t totalMatchups, int64_t rounds,
                         int64_t totalRounds, double elapsedSeconds);

// Redraws the line on its own thread, at most 10 times a second and only when its text
// changed, until destroyed; then clears it.
class ProgressLine {
public:
  ProgressLine(std::ostream& err, const Progress& progress, int32_t totalMatchups,
               int64_t totalRounds);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

private:
  void Draw();
  std::ostream& Err;
  const Progress& Counts;
  int32_t TotalMatchups;
  int64_t TotalRounds;
  std::chrono::steady_clock::time_point Start;
  std::mutex Lock;
  std::condition_variable Wake;
  bool Done = false;
  std::string Shown;
  std::thread Thread;
};

} // namespace velmora::cli
