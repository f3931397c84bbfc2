#pragma once
// Scores from survivor counts: the score formula evaluated for W warriors and S survivors,
// points won and given per 100 rounds, and counts as percentages.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core.h"

namespace velmora {

// Evaluates formula with W, S (and w, s) bound, through the engine's expression evaluator.
// The engine's scanner state is restored afterwards, so an assembly in progress is not
// disturbed. Errors raise the evaluator's exceptions with their messages.
int32_t EvaluateScore(TCore& core, const std::string& formula, int32_t W, int32_t S);

struct ScorePair {
  double Score = 0.0;
  double Given = 0.0;
};

// The formula's failures of one computation, each W, S combination once, in the order met.
class TFormulaFailures {
public:
  void Add(const std::string& message, int32_t W, int32_t S);
  bool Empty() const { return Lines.empty(); }
  // One line per failing combination: the error's message, " for W=", W, ", S=", S.
  std::string Text() const;
  void Clear() { Lines.clear(); }

private:
  std::vector<std::string> Lines;
};

// Points per 100 rounds for survivor counts c(1..W) = counts[0..W-1] and losses. An error
// at S = 1 (points given for a loss) propagates; one at S = k > 1 goes into failures and
// ends the sums there.
ScorePair ScoreOf(TCore& core, const std::string& formula, const std::vector<int64_t>& counts,
                  int64_t losses, TFormulaFailures& failures);

// value x 100 / rounds when percent, value itself otherwise; 0 without rounds.
double PercentOf(int64_t rounds, double value, bool percent);

} // namespace velmora
