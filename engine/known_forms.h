#pragma once
// The instruction forms (opcode, modifier, A-mode, B-mode) that the fast path tests for before
// anything else and runs with code compiled for that form alone: operands and opcode are then
// resolved at compile time. They are the forms that keep most processes of a battle busy:
// the imp, and the jump and split of every loop and spinner. Few on purpose: each test costs
// every other instruction a compare, and beyond a handful the compiler turns them into a
// table jump that this processor predicts poorly for the irregular order of a spinner's
// processes. Internal to the engine.

#include <cstdint>

#include "engine/cell.h"

// clang-format off
#define VELMORA_KNOWN_FORMS(FORM)                                                                  \
  FORM(MOV, I, Direct, Direct)                                                                     \
  FORM(SPL, B, Immediate, Direct)                                                                  \
  FORM(JMP, B, Direct, Direct)
// clang-format on

namespace velmora::detail {

// Opcode and modifier in the low byte, modes in the high byte: the cell's bytes 2 and 3.
constexpr uint32_t FormKey(uint32_t header) {
  return header >> 16;
}
constexpr uint32_t FormKeyOf(Opcode op, Modifier mod, AddressMode am, AddressMode bm) {
  return PackOpcodeModifier(op, mod) | (static_cast<uint32_t>(PackModes(am, bm)) << 8);
}

} // namespace velmora::detail
