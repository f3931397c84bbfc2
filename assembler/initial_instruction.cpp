// The custom initial instruction: compiled once as the engine's private warrior, then its
// operand expressions evaluated for every cell with ABSADDRESS bound to the cell's address.

#include "assembler/assembly_state.h"

namespace velmora {

namespace {

// Position just past the blanks and leading mode symbols at pos. The end of the text there
// means the operand is missing.
size_t OperandStart(const std::string& text, size_t pos) {
  while (pos < text.size() && text[pos] == ' ')
    ++pos;
  if (pos >= text.size()) throw ECompileError("Bad Operand");
  for (const char* m = ModeSymbols; *m != '\0'; ++m)
    if (pos < text.size() && text[pos] == *m) ++pos;
  return pos;
}

} // namespace

bool CompileInitialInstruction(TCore& core, const std::string& text) {
  TWarrior& scratch = *core.Warriors[0];
  scratch.Source = {text};
  core.Asm.Labels.clear();
  core.Asm.Labels.emplace_back("ABSADDRESS", 0);
  std::vector<std::string> errors;
  uint32_t checksum = 1;
  return AssembleWarrior(core, 0, errors, checksum, false) == 2 && scratch.CodeLength >= 1;
}

bool FillCustomInstruction(TCore& core, int32_t& lethal) {
  if (!CompileInitialInstruction(core, core.InitialInstruction)) return false;
  const CoreCell proto = core.Warriors[0]->Code[0];
  lethal = IsLethal(proto) ? core.CoreSize : 0;

  // The operand texts come from the instruction text itself, not from the object code.
  std::string text = core.InitialInstruction;
  for (char& c : text)
    if (c == '\t' || c == ':') c = ' ';
  text = Trim(text.substr(0, text.find(';')));
  const size_t blank = text.find(' ');
  const size_t aStart = OperandStart(text, blank == std::string::npos ? text.size() : blank + 1);
  const size_t comma = text.find(',');
  constexpr size_t kAbsent = std::string::npos;
  size_t aText = aStart, bText = kAbsent;
  if (comma != kAbsent) {
    bText = OperandStart(text, comma + 1);
  } else if (GetOpcode(proto) == Opcode::DAT) {
    aText = kAbsent; // a DAT's only operand is its B operand
    bText = aStart;
  }

  AssemblyContext& ctx = core.Asm;
  ctx.Labels.assign(1, {"ABSADDRESS", 0});
  auto evaluate = [&](size_t pos) -> int32_t {
    if (pos == kAbsent) return 0;
    SetLineText(ctx, text); // the evaluator rewrites the text as it reads it
    ctx.ScanPos = static_cast<int32_t>(pos) + 1;
    ctx.CurLine = 0;
    ctx.ModeSeen = false;
    return ModCore(EvaluateExpression(core), core.CoreSize);
  };
  for (int32_t a = 0; a < core.CoreSize; ++a) {
    ctx.Labels[0].second = a;
    CoreCell& cell = core.Core[static_cast<size_t>(a)];
    cell = CoreCell{0, 0, proto.OpcodeModifier, proto.Modes, evaluate(aText), evaluate(bText)};
  }
  return true;
}

} // namespace velmora
