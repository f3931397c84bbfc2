#include "results/score.h"

#include <stdexcept>
#include <string>

#include "assembler/assembler.h"

namespace velmora {

namespace {

// Puts the engine's scanner state back however the evaluation ends.
class ScannerGuard {
public:
  explicit ScannerGuard(AssemblyContext& ctx) : Ctx(ctx), Saved(ctx) {}
  ~ScannerGuard() { Ctx = std::move(Saved); }
  ScannerGuard(const ScannerGuard&) = delete;
  ScannerGuard& operator=(const ScannerGuard&) = delete;

private:
  AssemblyContext& Ctx;
  AssemblyContext Saved;
};

} // namespace

int32_t EvaluateScore(TCore& core, const std::string& formula, int32_t W, int32_t S) {
  ScannerGuard guard(core.Asm);
  AssemblyContext& ctx = core.Asm;
  SetLineText(ctx, formula);
  ctx.CurLine = 0;
  ctx.Labels = {{"W", W}, {"S", S}, {"w", W}, {"s", S}};
  return EvaluateExpression(core);
}

void TFormulaFailures::Add(const std::string& message, int32_t W, int32_t S) {
  const std::string combination = " for W=" + std::to_string(W) + ", S=" + std::to_string(S);
  for (const std::string& seen : Lines)
    if (seen.ends_with(combination)) return;
  Lines.push_back(message + combination);
}

std::string TFormulaFailures::Text() const {
  std::string text;
  for (const std::string& line : Lines)
    text += (text.empty() ? "" : "\n") + line;
  return text;
}

ScorePair ScoreOf(TCore& core, const std::string& formula, const std::vector<int64_t>& counts,
                  int64_t losses, TFormulaFailures& failures) {
  const int32_t W = static_cast<int32_t>(counts.size());
  // Integer products, as the formula's points are whole numbers.
  // Counts summed over many matchups may pass 2^31; the product stays exact in a double
  // up to 2^53.
  auto product = [](int32_t points, int64_t count) {
    return static_cast<double>(points) * static_cast<double>(count);
  };
  double given = product(EvaluateScore(core, formula, W, 1), losses);
  double rounds = static_cast<double>(losses);
  double points = 0.0;
  for (int32_t k = 1; k <= W; ++k) {
    const int64_t c = counts[size_t(k - 1)];
    rounds += c;
    try {
      const double p = product(EvaluateScore(core, formula, W, k), c);
      points += p;
      if (k > 1) given += p;
    } catch (const std::exception& e) {
      failures.Add(e.what(), W, k);
      break;
    }
  }
  if (rounds == 0) return {};
  return {100.0 * points / rounds, 100.0 * given / rounds};
}

double PercentOf(int64_t rounds, double value, bool percent) {
  if (rounds == 0) return 0.0;
  return percent ? value * 100.0 / rounds : value;
}

} // namespace velmora
