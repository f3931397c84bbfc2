// Fuzzes the statement assembler. The first byte of the input picks the standard (its value
// modulo 4, so the digits "0" to "3" pick 0 to 3, and 3 stands for a number beyond the
// table); the rest, split at each LF, is warrior 1's source. Besides running clean, a
// compiled warrior must have sound object code and listings, and its load file must
// reassemble into the same code, start offset, PIN and checksum.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_engine.h"

namespace {

using namespace velmora;
using fuzz::Check;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool SameCell(const CoreCell& a, const CoreCell& b) {
  return a.OpcodeModifier == b.OpcodeModifier && a.Modes == b.Modes && a.AField == b.AField &&
         b.BField == a.BField;
}

// Reassembles the load file of the compiled warrior 1 and compares the result.
void CheckRoundTrip(TCore& core, uint8_t standard, uint32_t checksum) {
  TWarrior& w = *core.Warriors[1];
  const std::vector<CoreCell> code = w.Code;
  const int32_t length = w.CodeLength, start = w.StartOffset, pin = w.Pin;
  const std::string name = w.Name;
  w.Source = LoadFileLines(w, name, standard);
  w.Name = "No Name";
  std::vector<std::string> errors;
  uint32_t again = 1;
  Check(AssembleWarrior(core, 1, errors, again, true) == 2);
  Check(errors.empty() && w.Name == name);
  Check(w.CodeLength == length && w.StartOffset == start && w.Pin == pin && again == checksum);
  for (size_t k = 0; k < static_cast<size_t>(length); ++k)
    Check(SameCell(w.Code[k], code[k]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::FuzzEngine& engine = fuzz::Engine();
  TCore& core = engine.Fresh();
  const auto standard = static_cast<uint8_t>(data[0] % 4);
  core.Standard = standard;
  TWarrior& w = *core.Warriors[1];
  w.Source = SplitLines(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));

  std::vector<std::string> errors;
  uint32_t checksum = 1;
  uint8_t status = 0;
  try {
    status = AssembleWarrior(core, 1, errors, checksum, true);
  } catch (const EArithmeticError&) {
    // Aborts the assembly, which must not pass as compiled.
    Check(w.WarriorStatus == 1);
    return 0;
  }
  Check(status == w.WarriorStatus && status <= 2);
  for (const std::string& e : errors)
    Check(e.find(" in line ") != std::string::npos);
  if (status == 0) Check(errors.empty());
  if (status == 1) Check(!errors.empty() || !engine.Platform.Messages.empty());
  if (status != 2) return 0;

  Check(errors.empty());
  Check(w.CodeLength >= 1 && w.CodeLength <= core.MaxLength);
  Check(w.Code.size() >= static_cast<size_t>(w.CodeLength));
  for (size_t k = 0; k < static_cast<size_t>(w.CodeLength); ++k) {
    const CoreCell& c = w.Code[k];
    Check((c.OpcodeModifier & 0x1F) < kOpcodeCount && (c.OpcodeModifier >> 5) < kModifierCount);
    Check((c.Modes >> 4) < 8 && (c.Modes & 0x0F) < 8);
  }
  Check(ObjectCodeListing(w, 1).size() == static_cast<size_t>(w.CodeLength));
  Check(RestoredSourceListing(w, standard).size() == static_cast<size_t>(w.CodeLength));
  CheckRoundTrip(core, standard, checksum);
  return 0;
}
