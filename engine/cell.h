#pragma once
// One instruction cell, the enumerations packed into it, the per-standard tables and the
// circular address arithmetic that every part of the engine shares.

#include <array>
#include <cstdint>

namespace velmora {

struct CoreCell {
  uint8_t Marker;         // low nibble: colour 1..8 of the last toucher, high nibble: CellEvent
  uint8_t BreakpointType; // index into the breakpoint type table, 0 = none
  uint8_t OpcodeModifier; // bits 0..4 opcode, bits 5..7 modifier
  uint8_t Modes;          // bits 4..7 A-mode, bits 0..3 B-mode
  int32_t AField;
  int32_t BField;
};
static_assert(sizeof(CoreCell) == 12, "CoreCell must stay 12 bytes: the core is a flat array");

enum class Opcode : uint8_t {
  DAT = 0,
  MOV,
  ADD,
  SUB,
  JMP,
  JMZ,
  JMN,
  DJN,
  CMP,
  SPL,
  SLT,
  EQU,
  END,
  FOR,
  ROF,
  MUL,
  DIV,
  MOD,
  ORG,
  SEQ,
  SNE,
  NOP,
  LDP,
  STP,
  PIN
};
inline constexpr int kOpcodeCount = 25;

enum class Modifier : uint8_t { A = 0, B, AB, BA, F, X, I, NONE };
inline constexpr int kModifierCount = 8;

enum class AddressMode : uint8_t {
  Immediate = 0,  // #
  Direct,         // $
  BIndirect,      // @
  BPredecrement,  // <
  BPostincrement, // >
  AIndirect,      // *
  APredecrement,  // {
  APostincrement  // }
};
inline constexpr int kAddressModeCount = 8;

// Kinds of event that touch a cell: the Marker's high nibble and ColorPixel's Kind.
enum class CellEvent : uint8_t { Execute = 1, Write = 2, Increment = 3, Decrement = 4, Read = 5 };

extern const std::array<const char*, kOpcodeCount> OpcodeNames;
extern const std::array<const char*, kModifierCount> ModifierNames;
inline constexpr const char* ModeSymbols = "#$@<>*{}";

// --- Packing ---------------------------------------------------------------------------------
constexpr uint8_t PackOpcodeModifier(Opcode op, Modifier mod) {
  return static_cast<uint8_t>(static_cast<uint8_t>(op) | (static_cast<uint8_t>(mod) << 5));
}
constexpr uint8_t PackModes(AddressMode a, AddressMode b) {
  return static_cast<uint8_t>((static_cast<uint8_t>(a) << 4) | static_cast<uint8_t>(b));
}
constexpr Opcode GetOpcode(const CoreCell& c) {
  return static_cast<Opcode>(c.OpcodeModifier & 0x1F);
}
constexpr Modifier GetModifier(const CoreCell& c) {
  return static_cast<Modifier>(c.OpcodeModifier >> 5);
}
constexpr AddressMode GetAMode(const CoreCell& c) {
  return static_cast<AddressMode>(c.Modes >> 4);
}
constexpr AddressMode GetBMode(const CoreCell& c) {
  return static_cast<AddressMode>(c.Modes & 0x0F);
}
constexpr void SetOpcode(CoreCell& c, Opcode op) {
  c.OpcodeModifier = static_cast<uint8_t>((c.OpcodeModifier & 0xE0) | static_cast<uint8_t>(op));
}
constexpr void SetModifier(CoreCell& c, Modifier mod) {
  c.OpcodeModifier =
      static_cast<uint8_t>((c.OpcodeModifier & 0x1F) | (static_cast<uint8_t>(mod) << 5));
}
constexpr void SetAMode(CoreCell& c, AddressMode m) {
  c.Modes = static_cast<uint8_t>((c.Modes & 0x0F) | (static_cast<uint8_t>(m) << 4));
}
constexpr void SetBMode(CoreCell& c, AddressMode m) {
  c.Modes = static_cast<uint8_t>((c.Modes & 0xF0) | static_cast<uint8_t>(m));
}
constexpr CoreCell MakeCell(Opcode op, Modifier mod, AddressMode am, int32_t a, AddressMode bm,
                            int32_t b) {
  return CoreCell{0, 0, PackOpcodeModifier(op, mod), PackModes(am, bm), a, b};
}
// Equal as instructions: Marker and BreakpointType never take part.
constexpr bool SameInstruction(const CoreCell& x, const CoreCell& y) {
  return x.OpcodeModifier == y.OpcodeModifier && x.Modes == y.Modes && x.AField == y.AField &&
         x.BField == y.BField;
}
// Modes 2..4 use the pointer's B-field, 5..7 its A-field.
constexpr bool UsesBField(AddressMode m) {
  return static_cast<uint8_t>(m) < 5;
}

inline constexpr uint8_t kEmptyCellOpcodeModifier = 0x80; // DAT.F
inline constexpr uint8_t kEmptyCellModes = 0x11;          // $, $
inline constexpr uint8_t kImpOpcodeModifier = 0xC1;       // MOV.I

// --- Standards --------------------------------------------------------------------------------
enum class Standard : uint8_t { KVRT88 = 0, NoPSpace94 = 1, PSpace94 = 2 };
inline constexpr int kStandardCount = 3;

struct StandardTable {
  const char* Name;
  uint8_t HighestOpcode;
  uint8_t HighestMode;
  uint8_t HighestRandomModifier;
  uint8_t RandomOpcodeCount;
};
extern const std::array<StandardTable, kStandardCount> Standards;
// Standard by its stored number; numbers beyond the table read as the widest standard.
const StandardTable& StandardInfo(uint8_t standard);

// One shared list: a standard draws from its first RandomOpcodeCount entries.
extern const std::array<Opcode, 19> RandomFillOpcodes;

// DAT, DIV and MOD are the only opcodes that can remove a process.
constexpr bool IsLethal(Opcode op) {
  return op == Opcode::DAT || op == Opcode::DIV || op == Opcode::MOD;
}
constexpr bool IsLethal(const CoreCell& c) {
  return IsLethal(GetOpcode(c));
}

// --- Circular arithmetic on addresses 0..coreSize-1 -----------------------------------------
constexpr int32_t WrapAdd(int32_t a, int32_t b, int32_t coreSize) {
  int32_t s = a + b;
  return s >= coreSize ? s - coreSize : s;
}
constexpr int32_t WrapSub(int32_t a, int32_t b, int32_t coreSize) {
  int32_t d = a - b;
  return d < 0 ? d + coreSize : d;
}
// Any signed value into 0..coreSize-1.
constexpr int32_t ModCore(int32_t v, int32_t coreSize) {
  int32_t r = v % coreSize;
  return r < 0 ? r + coreSize : r;
}
// Folds an offset by a read or write limit into -(limit/2)..+(limit/2), negative offsets
// written as coreSize minus their magnitude. The identity when limit equals coreSize.
constexpr int32_t Fold(int32_t value, int32_t limit, int32_t coreSize) {
  int32_t h = limit >> 1;
  if (value > coreSize - h) return value;
  int32_t r = value % limit;
  if (r > h) r = coreSize + r - limit;
  return r;
}

} // namespace velmora
