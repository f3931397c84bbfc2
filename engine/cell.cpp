#include "engine/cell.h"

namespace velmora {

const std::array<const char*, kOpcodeCount> OpcodeNames = {
    "DAT", "MOV", "ADD", "SUB", "JMP", "JMZ", "JMN", "DJN", "CMP", "SPL", "SLT", "EQU", "END",
    "FOR", "ROF", "MUL", "DIV", "MOD", "ORG", "SEQ", "SNE", "NOP", "LDP", "STP", "PIN"};

const std::array<const char*, kModifierCount> ModifierNames = {"A", "B", "AB", "BA",
                                                               "F", "X", "I",  "NONE"};

const std::array<StandardTable, kStandardCount> Standards = {{
    {"KVRT 88", 14, 3, 6, 11},
    {"94, no P-Space", 21, 7, 6, 17},
    {"94 + P-Space", 24, 7, 6, 19},
}};

const StandardTable& StandardInfo(uint8_t standard) {
  return Standards[standard < kStandardCount ? standard : kStandardCount - 1];
}

const std::array<Opcode, 19> RandomFillOpcodes = {
    Opcode::DAT, Opcode::MOV, Opcode::ADD, Opcode::SUB, Opcode::JMP, Opcode::JMZ, Opcode::JMN,
    Opcode::DJN, Opcode::CMP, Opcode::SPL, Opcode::SLT, Opcode::MUL, Opcode::DIV, Opcode::MOD,
    Opcode::SEQ, Opcode::SNE, Opcode::NOP, Opcode::LDP, Opcode::STP};

} // namespace velmora
