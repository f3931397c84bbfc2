// The text renderings of object code: the object-code listing, the restored source and
// the load file that reassembles into the same code.

#include <cstdio>

#include "assembler/assembler.h"

namespace velmora {

namespace {

const char* OpcodeWord(const CoreCell& c) {
  size_t op = c.OpcodeModifier & 0x1F;
  return op < OpcodeNames.size() ? OpcodeNames[op] : "???";
}

char ModeChar(unsigned mode) {
  return mode < 8 ? ModeSymbols[mode] : '?';
}

// ".F  ", ".AB ", ".NONE "; four blanks under the 1988 standard, which writes none.
std::string ModifierText(const CoreCell& c, uint8_t standard) {
  if (standard == 0) return "    ";
  std::string s = std::string(".") + ModifierNames[c.OpcodeModifier >> 5] + " ";
  if (s.size() < 4) s += ' ';
  return s;
}

std::string Field(int32_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%-8d", v);
  return buf;
}

} // namespace

std::string FormatObjectLine(int32_t index, int32_t warriorNumber, const CoreCell& cell) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%4.4x %2.2x%2.2x%2.2x%2.2x %8.8x %8.8x",
                static_cast<unsigned>(index), static_cast<unsigned>(warriorNumber) & 0xFF,
                cell.BreakpointType, cell.OpcodeModifier, cell.Modes,
                static_cast<uint32_t>(cell.AField), static_cast<uint32_t>(cell.BField));
  return buf;
}

std::string FormatSourceLine(int32_t index, bool isStart, const CoreCell& cell, uint8_t standard) {
  char head[16];
  std::snprintf(head, sizeof head, "%4.4d", index);
  return std::string(head) + (isStart ? '*' : ' ') + OpcodeWord(cell) +
         ModifierText(cell, standard) + ModeChar(cell.Modes >> 4u) + Field(cell.AField) + ' ' +
         ModeChar(cell.Modes & 0x0Fu) + Field(cell.BField);
}

std::vector<std::string> ObjectCodeListing(const TWarrior& warrior, int32_t warriorNumber) {
  std::vector<std::string> out;
  for (int32_t k = 0; k < warrior.CodeLength && static_cast<size_t>(k) < warrior.Code.size(); ++k)
    out.push_back(FormatObjectLine(k, warriorNumber, warrior.Code[static_cast<size_t>(k)]));
  return out;
}

std::vector<std::string> RestoredSourceListing(const TWarrior& warrior, uint8_t standard) {
  std::vector<std::string> out;
  for (int32_t k = 0; k < warrior.CodeLength && static_cast<size_t>(k) < warrior.Code.size(); ++k)
    out.push_back(FormatSourceLine(k, k == warrior.StartOffset,
                                   warrior.Code[static_cast<size_t>(k)], standard));
  return out;
}

std::vector<std::string> LoadFileLines(const TWarrior& warrior, const std::string& name,
                                       uint8_t standard) {
  std::vector<std::string> out;
  out.push_back(";redcode");
  out.push_back(";name " + name);
  out.push_back(";length " + std::to_string(warrior.CodeLength));
  // The 1988 standard knows no ORG: there the start goes on a closing END line instead.
  if (standard != 0) out.push_back("      ORG " + std::to_string(warrior.StartOffset));
  if (warrior.Pin >= 0) out.push_back("      PIN " + std::to_string(warrior.Pin));
  for (int32_t k = 0; k < warrior.CodeLength && static_cast<size_t>(k) < warrior.Code.size(); ++k) {
    const CoreCell& c = warrior.Code[static_cast<size_t>(k)];
    out.push_back(std::string("      ") + OpcodeWord(c) + ModifierText(c, standard) +
                  ModeChar(c.Modes >> 4u) + Field(c.AField) + " , " + ModeChar(c.Modes & 0x0Fu) +
                  Field(c.BField));
  }
  if (standard == 0) out.push_back("      END " + std::to_string(warrior.StartOffset));
  return out;
}

} // namespace velmora
