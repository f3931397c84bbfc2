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

int32_t AsmFixture::Eval(const std::string& text) {
  SetLineText(Core->Asm, text);
  Core->Asm.CurLine = 0;
  Core->Asm.ModeSeen = false;
  return EvaluateExpression(*Core);
}

uint8_t AsmFixture::Assemble(const std::vector<std::string>& source, bool clearLabels) {
  W().Source = source;
  return AssembleWarrior(*Core, 1, Errors, Checksum, clearLabels);
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
