#include "tests/support/cell_text.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace velmora::test {

namespace {
std::string Upper(std::string s) {
  for (char& ch : s)
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return s;
}

void ParseOperand(std::string text, AddressMode& mode, int32_t& value, int32_t coreSize) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) throw std::invalid_argument("empty operand");
  text = text.substr(i);
  mode = AddressMode::Direct;
  const std::string symbols = ModeSymbols;
  if (auto pos = symbols.find(text[0]); pos != std::string::npos) {
    mode = static_cast<AddressMode>(pos);
    text = text.substr(1);
  }
  value = ModCore(static_cast<int32_t>(std::stol(text)), coreSize);
}
} // namespace

CoreCell ParseCell(const std::string& text, int32_t coreSize) {
  const size_t space = text.find(' ');
  const std::string word = Upper(text.substr(0, space));
  const std::string opText = word.substr(0, word.find('.'));
  const std::string modText =
      word.find('.') == std::string::npos ? "F" : word.substr(word.find('.') + 1);
  int op = -1, mod = -1;
  for (int k = 0; k < 32; ++k)
    if (k < kOpcodeCount ? opText == OpcodeNames[static_cast<size_t>(k)]
                         : opText == "OP" + std::to_string(k))
      op = k;
  for (int k = 0; k < kModifierCount; ++k)
    if (modText == ModifierNames[static_cast<size_t>(k)]) mod = k;
  if (op < 0 || mod < 0) throw std::invalid_argument("bad instruction: " + text);
  CoreCell cell{};
  cell.OpcodeModifier = static_cast<uint8_t>(op | (mod << 5));
  AddressMode am = AddressMode::Direct, bm = AddressMode::Direct;
  int32_t a = 0, b = 0;
  if (space != std::string::npos) {
    const std::string rest = text.substr(space + 1);
    const size_t comma = rest.find(',');
    ParseOperand(rest.substr(0, comma), am, a, coreSize);
    if (comma != std::string::npos) ParseOperand(rest.substr(comma + 1), bm, b, coreSize);
  }
  cell.Modes = PackModes(am, bm);
  cell.AField = a;
  cell.BField = b;
  return cell;
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
