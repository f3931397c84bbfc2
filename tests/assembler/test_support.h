#pragma once
// An engine with a recorded platform, and short ways to evaluate and assemble text.

#include <memory>
#include <string>
#include <vector>

#include "assembler/assembler.h"
#include "engine/core.h"

namespace velmora::test {

struct AsmFixture {
  explicit AsmFixture(uint8_t standard = 2, int32_t coreSize = 8000);
  TNullMardexForm Form{7};
  THeadlessPlatform Platform;
  std::unique_ptr<TCore> Core;

  // Evaluates text as a breakpoint test or score formula would: no labels, line 0.
  int32_t Eval(const std::string& text);
  // Assembles source lines as battle warrior 1 (created on first use).
  uint8_t Assemble(const std::vector<std::string>& source, bool clearLabels = true);
  TWarrior& W() { return *Core->Warriors[1]; }
  const CoreCell& Cell(size_t i) { return W().Code.at(i); }
  std::vector<std::string> Errors;
  uint32_t Checksum = 1;
};

// "MOV.I $5, $5" style text of a cell, for readable comparisons.
std::string CellText(const CoreCell& c);

} // namespace velmora::test
