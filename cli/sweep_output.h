#pragma once
// What velmora-cli --vary reads and prints: the range argument, the table of the best
// points, the JSON and CSV of every point, and the progress line's text.

#include <cstdint>
#include <string>
#include <vector>

#include "tuning/sweep.h"

namespace velmora::cli {

// NAME=FROM..TO[:STEP]; false with the message when text is not of that form.
bool ParseVary(const std::string& text, SweepRange& range, std::string& error);

// The ranked points, best first: rank, values, score, W%, L%, T%.
std::vector<std::string> SweepTableLines(const SweepSpec& plan, const SweepOutcome& out);

// Every point with its values, status, score, counts and per-opponent results.
std::string SweepJsonText(const SweepSpec& plan, const SweepOutcome& out,
                          const std::string& version);

// One line per point for plotting tools: values, score, W%, L%, T%, rounds, status.
std::string SweepCsvText(const SweepSpec& plan, const SweepOutcome& out);

// "points 12/100  3400 rounds/s  0:04 elapsed  about 0:31 left".
std::string SweepProgressText(int32_t points, int32_t totalPoints, int64_t rounds,
                              int64_t totalRounds, double elapsedSeconds);

} // namespace velmora::cli
