#include "cli/progress_line.h"

#include <ostream>

#include "results/text_format.h"

namespace velmora::cli {

namespace {

std::string Clock(double seconds) {
  const int64_t s = int64_t(seconds + 0.5);
  if (s >= 3600)
    return Format("%lld:%02lld:%02lld", (long long)(s / 3600), (long long)(s / 60 % 60),
                  (long long)(s % 60));
  return Format("%lld:%02lld", (long long)(s / 60), (long long)(s % 60));
}

} // namespace

std::string ProgressText(int32_t matchups, int32_t totalMatchups, int64_t rounds,
                         int64_t totalRounds, double elapsedSeconds) {
  std::string text = Format("matchups %d/%d  rounds %lld/%lld", matchups, totalMatchups,
                            (long long)rounds, (long long)totalRounds);
  // The rate so far predicts the rest.
  const double rate = elapsedSeconds > 0 ? double(rounds) / elapsedSeconds : 0.0;
  if (rounds > 0 && rate > 0)
    text += Format(rate < 10 ? "  %.1f rounds/s" : "  %.0f rounds/s", rate);
  text += "  " + Clock(elapsedSeconds) + " elapsed";
  if (rounds > 0 && rate > 0 && totalRounds > rounds)
    text += "  about " + Clock(double(totalRounds - rounds) / rate) + " left";
  return text;
}

ProgressLine::ProgressLine(std::ostream& err, const Progress& progress, int32_t totalMatchups,
                           int64_t totalRounds)
    : Err(err), Counts(progress), TotalMatchups(totalMatchups), TotalRounds(totalRounds),
      Start(std::chrono::steady_clock::now()) {
  Thread = std::thread([this] {
    std::unique_lock<std::mutex> lock(Lock);
    while (!Wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return Done; }))
      Draw();
  });
}

ProgressLine::~ProgressLine() {
  {
    std::lock_guard<std::mutex> lock(Lock);
    Done = true;
  }
  Wake.notify_all();
  Thread.join();
  Err << "\r\033[K" << std::flush;
}

void ProgressLine::Draw() {
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  std::string text = ProgressText(Counts.MatchupsDone.load(), TotalMatchups,
                                  Counts.RoundsDone.load(), TotalRounds, elapsed);
  if (text == Shown) return;
  Err << "\r\033[K" << text << std::flush;
  Shown = std::move(text);
}

} // namespace velmora::cli
