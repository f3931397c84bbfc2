#include "test_support.h"

namespace velmora::test {

AsmFixture::AsmFixture(uint8_t standard, int32_t coreSize) {
  TParamsRec params;
  params.Standard = standard;
  params.CoreSizeMax = params.CoreSizeMin = coreSize;
  params.ReadLimit = params.WriteLimit = coreSize;
  params.NumWarriors = 1;
  Core = TCore::Create(params, Form, Platform);
  Core->CoreSize = coreSize;
  Core->Standard = standard;
  while (Core->Warriors.size() < 2)
    Core->AddWarrior();
}

int32_t AsmFixture::Eval(const std::string& text, int32_t line) {
  SetLineText(Core->Asm, text);
  Core->Asm.CurLine = line;
  Core->Asm.ModeSeen = false;
  return EvaluateExpression(*Core);
}

std::string AsmFixture::Outcome(const std::string& text) {
  try {
    return std::to_string(Eval(text));
  } catch (const ECompileError& e) {
    return std::string("compile: ") + e.what();
  } catch (const EArithmeticError& e) {
    return std::string("arithmetic: ") + e.what();
  }
}

uint8_t AsmFixture::Assemble(const Lines& source, bool clearLabels) {
  W().Source = source;
  return AssembleWarrior(*Core, 1, Errors, Checksum, clearLabels);
}

std::string AsmFixture::Code(bool failed) {
  std::string code;
  for (int32_t i = 0; i < W().CodeLength; ++i) {
    const CoreCell& c = Cell(size_t(i));
    const bool empty = !c.OpcodeModifier && !c.Modes && !c.AField && !c.BField;
    code += (i ? " | " : "") + (failed && empty ? "-" : CellText(c));
  }
  return code;
}

std::string AsmFixture::Loaded() {
  return Code() + " start " + std::to_string(W().StartOffset) + " pin " + std::to_string(W().Pin);
}

std::string AsmFixture::Result(const Lines& source) {
  Errors.clear();
  const int status = Assemble(source);
  std::string out;
  for (const std::string& e : Errors)
    out += e + " | ";
  if (status != 0) out += Code(status == 1);
  if (status != 0 && W().StartOffset != 0) out += " start " + std::to_string(W().StartOffset);
  if (status != 0 && W().Pin != -1) out += " pin " + std::to_string(W().Pin);
  return status == (Errors.empty() ? 2 : 1) ? out : "status " + std::to_string(status) + ": " + out;
}

std::string CellText(const CoreCell& c) {
  std::string s = OpcodeNames.at(c.OpcodeModifier & 0x1F);
  s += std::string(".") + ModifierNames.at(c.OpcodeModifier >> 5) + " ";
  s += ModeSymbols[c.Modes >> 4];
  s += std::to_string(c.AField) + ", ";
  s += ModeSymbols[c.Modes & 0x0F];
  s += std::to_string(c.BField);
  return s;
}

} // namespace velmora::test
