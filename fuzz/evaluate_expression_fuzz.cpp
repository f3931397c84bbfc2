// Fuzzes the expression evaluator: the input is one line of text, evaluated as an operand
// is (mode symbols allowed) with a few labels defined. Errors of the expression are expected
// outcomes; the scanner must stop just after the character that ended the expression, and
// the same text must give the same outcome twice.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_engine.h"

namespace {

using namespace velmora;

std::string Outcome(TCore& core, const std::string& text) {
  AssemblyContext& ctx = core.Asm;
  SetLineText(ctx, text);
  ctx.CurLine = 3;
  ctx.Labels = {{"start", 0}, {"bomb", 5}, {"A", 7}, {"B", -2}, {"a", 1}};
  std::string out;
  try {
    out = std::to_string(EvaluateExpression(core));
    // Just after the ",", ";" or NUL that ended the expression, within the text.
    const auto pos = static_cast<size_t>(ctx.ScanPos);
    fuzz::Check(pos >= 2 && pos <= ctx.LineText.size() + 1);
    const char last = ctx.LineText[pos - 2];
    fuzz::Check(last == ',' || last == ';' || last == '\0');
    out += "@" + std::to_string(pos) + " mode " + std::to_string(ctx.OperandMode);
  } catch (const ECompileError& e) {
    out = std::string("compile error: ") + e.what();
  } catch (const EArithmeticError& e) {
    out = std::string("arithmetic error: ") + e.what();
  }
  for (int32_t v : ctx.Variables)
    out += " " + std::to_string(v);
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::FuzzEngine& engine = fuzz::Engine();
  const std::string first = Outcome(engine.Fresh(), text);
  const std::string second = Outcome(engine.Fresh(), text);
  fuzz::Check(first == second);
  return 0;
}
