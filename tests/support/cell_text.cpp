#include "tests/support/cell_text.h"

#include <sstream>
#include <stdexcept>

namespace velmora::test {

namespace {
// "<mode>value" (mode "$" when left out) into mode and value brought into the core; nothing
// at all reads as $0.
std::pair<AddressMode, int32_t> Operand(std::istream& in, int32_t coreSize) {
  in >> std::ws;
  if (in.peek() == ',') in.ignore();
  in >> std::ws;
  if (in.peek() == std::char_traits<char>::eof()) return {AddressMode::Direct, 0};
  const size_t mode = std::string(ModeSymbols).find(char(in.peek()));
  if (mode != std::string::npos) in.get();
  int64_t value = 0;
  if (!(in >> value)) throw std::invalid_argument("bad operand");
  return {mode == std::string::npos ? AddressMode::Direct : AddressMode(mode),
          ModCore(static_cast<int32_t>(value), coreSize)};
}
} // namespace

CoreCell ParseCell(const std::string& text, int32_t coreSize) {
  std::istringstream in(text);
  std::string word;
  in >> word;
  const size_t dot = word.find('.');
  const std::string opText = word.substr(0, dot);
  const std::string modText = dot == std::string::npos ? "F" : word.substr(dot + 1);
  int op = -1, mod = -1;
  for (int k = 0; k < 32; ++k)
    if (k < kOpcodeCount ? opText == OpcodeNames[static_cast<size_t>(k)]
                         : opText == "OP" + std::to_string(k))
      op = k;
  for (int k = 0; k < kModifierCount; ++k)
    if (modText == ModifierNames[static_cast<size_t>(k)]) mod = k;
  if (op < 0 || mod < 0) throw std::invalid_argument("bad instruction: " + text);
  const auto [am, a] = Operand(in, coreSize);
  const auto [bm, b] = Operand(in, coreSize);
  return CoreCell{0, 0, static_cast<uint8_t>(op | (mod << 5)), PackModes(am, bm), a, b};
}

std::string CellText(const CoreCell& cell) {
  std::ostringstream out;
  const int op = cell.OpcodeModifier & 0x1F;
  out << (op < kOpcodeCount ? OpcodeNames[static_cast<size_t>(op)] : "OP" + std::to_string(op))
      << '.' << ModifierNames[cell.OpcodeModifier >> 5] << ' ' << ModeSymbols[cell.Modes >> 4]
      << cell.AField << ", " << ModeSymbols[cell.Modes & 0x0F] << cell.BField;
  return out.str();
}

} // namespace velmora::test
