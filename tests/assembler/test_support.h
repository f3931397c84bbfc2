#pragma once
// An engine with a recorded platform, and short ways to evaluate and assemble text.

#include <memory>
#include <string>
#include <vector>

#include "assembler/assembler.h"
#include "engine/core.h"

namespace velmora::test {

using Lines = std::vector<std::string>;

struct AsmFixture {
  explicit AsmFixture(uint8_t standard = 2, int32_t coreSize = 8000);
  TNullMardexForm Form{7};
  THeadlessPlatform Platform;
  std::unique_ptr<TCore> Core;

  // Evaluates text as a breakpoint test or score formula would: no labels, at this line.
  int32_t Eval(const std::string& text, int32_t line = 0);
  // The value, or "compile: message" / "arithmetic: message".
  std::string Outcome(const std::string& text);
  // Assembles source lines as battle warrior 1 (created on first use).
  uint8_t Assemble(const Lines& source, bool clearLabels = true);
  // Assembles and gives the errors, then the cells (none for status 0; "-" for the empty cell
  // of a failed line), joined by " | ", and the start and PIN when set; prefixed by the status
  // when it is not the one these imply (1 with errors, else 2).
  std::string Result(const Lines& source);
  std::string Code(bool failed = false); // the cells of the last assembly, joined by " | "
  std::string Loaded(); // the cells, start and PIN: what a load file must give back
  TWarrior& W() { return *Core->Warriors[1]; }
  const CoreCell& Cell(size_t i) { return W().Code.at(i); }
  Lines Errors;
  uint32_t Checksum = 1;
};

// "MOV.I $5, $5" style text of a cell, for readable comparisons.
std::string CellText(const CoreCell& c);

} // namespace velmora::test
