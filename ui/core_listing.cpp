#include "ui/core_listing.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "params/number_text.h"
#include "tournament/tournament.h"

namespace velmora {

namespace {

std::string Printf(const char* format, int64_t value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, static_cast<long long>(value));
  return buffer;
}

int32_t Wrap(int64_t value, int32_t coreSize) {
  const int64_t r = value % coreSize;
  return static_cast<int32_t>(r < 0 ? r + coreSize : r);
}

const CoreCell& CellAt(const TCore& core, int64_t address) {
  return core.Core[static_cast<size_t>(Wrap(address, core.CoreSize))];
}

char ModeChar(AddressMode mode) {
  const auto m = static_cast<size_t>(mode);
  return m < kAddressModeCount ? ModeSymbols[m] : '?';
}

} // namespace

int64_t ShownFieldValue(int32_t value, int32_t coreSize) {
  return value > coreSize - coreSize / 10 ? int64_t{value} - coreSize : int64_t{value};
}

std::string FieldText(int32_t value, int32_t coreSize) {
  return Printf("%7lld", ShownFieldValue(value, coreSize));
}

std::string ShortFieldText(int32_t value, int32_t coreSize) {
  return Printf("%lld", ShownFieldValue(value, coreSize));
}

std::string OpcodeText(const CoreCell& cell) {
  const auto op = static_cast<size_t>(GetOpcode(cell));
  return op < kOpcodeCount ? OpcodeNames[op] : "???";
}

std::string ModifierPart(const CoreCell& cell, uint8_t standard) {
  if (standard == static_cast<uint8_t>(Standard::KVRT88)) return "    ";
  std::string part = std::string(".") + ModifierNames[static_cast<size_t>(GetModifier(cell))] + " ";
  if (part.size() < 4) part.resize(4, ' ');
  return part;
}

char AModeChar(const CoreCell& cell) {
  return ModeChar(GetAMode(cell));
}
char BModeChar(const CoreCell& cell) {
  return ModeChar(GetBMode(cell));
}

std::string InstructionText(const CoreCell& cell, int32_t coreSize, uint8_t standard) {
  return OpcodeText(cell) + ModifierPart(cell, standard) + AModeChar(cell) +
         FieldText(cell.AField, coreSize) + ",  " + BModeChar(cell) +
         FieldText(cell.BField, coreSize);
}

std::string ShortInstructionText(const CoreCell& cell, int32_t coreSize, uint8_t standard) {
  return OpcodeText(cell) + ModifierPart(cell, standard) + AModeChar(cell) +
         ShortFieldText(cell.AField, coreSize) + ",  " + BModeChar(cell) +
         ShortFieldText(cell.BField, coreSize);
}

std::string FormatLine(const TCore& core, int32_t a) {
  return Printf("%7lld", a) + " " + InstructionText(CellAt(core, a), core.CoreSize, core.Standard);
}

bool IsNextInstruction(const TCore& core, int32_t a) {
  if (core.QueueBlockSize <= 0) return false;
  const int32_t last =
      std::min<int32_t>(core.NumWarriors, static_cast<int32_t>(core.Warriors.size()) - 1);
  for (int32_t k = 1; k <= last; ++k) {
    const TWarrior& w = *core.Warriors[static_cast<size_t>(k)];
    if (w.ProcessCount > 0 && core.QueueEntry(w, 0) == a) return true;
  }
  return false;
}

TListingLine ListingLine(const TCore& core, int32_t a) {
  const CoreCell& cell = CellAt(core, a);
  TListingLine line;
  line.Address = a;
  line.Text = FormatLine(core, a);
  line.Next = IsNextInstruction(core, a);
  line.Colour = cell.Marker & 0x0F;
  if (line.Next) {
    line.PixelColour = -1;
    line.PixelKind = 1;
  } else {
    line.PixelColour = cell.Marker & 0x0F;
    line.PixelKind = cell.Marker >> 4;
  }
  switch (cell.BreakpointType) {
  case 0: line.Glyph = BreakpointGlyph::None; break;
  case 1: line.Glyph = BreakpointGlyph::Square; break;
  case 2: line.Glyph = BreakpointGlyph::Circle; break;
  default: line.Glyph = BreakpointGlyph::Diamond; break;
  }
  line.Undone = std::binary_search(core.UndoneCells.begin(), core.UndoneCells.end(), a);
  line.Hit = line.Glyph != BreakpointGlyph::None &&
             std::find(core.HitList.begin(), core.HitList.end(), a) != core.HitList.end();
  return line;
}

std::vector<int32_t> ListedAddresses(int32_t top, int32_t count, int32_t coreSize) {
  std::vector<int32_t> addresses;
  if (coreSize < 1 || count < 1) return addresses;
  addresses.reserve(static_cast<size_t>(count));
  int32_t a = Wrap(top, coreSize);
  for (int32_t i = 0; i < count; ++i) {
    addresses.push_back(a);
    a = a == coreSize - 1 ? 0 : a + 1;
  }
  return addresses;
}

uint32_t ListingRgb(const TListingLine& line, const std::vector<uint32_t>& colours) {
  if (line.Next) return 0xFF0000;
  if (line.Colour == 0) return 0x808080;
  const auto slot = static_cast<size_t>(((line.Colour - 1) & 7) + 1);
  return slot < colours.size() ? colours[slot] : WarriorPalette[slot - 1];
}

int32_t ScrollTop(int32_t top, int64_t delta, int32_t coreSize) {
  if (coreSize < 1) return 0;
  return Wrap(int64_t{top} + delta, coreSize);
}

std::optional<int32_t> LocationFromText(const std::string& text, int32_t coreSize) {
  const std::optional<int32_t> value = ParseNumberText(text);
  if (!value || coreSize < 1) return std::nullopt;
  return Wrap(*value, coreSize);
}

LinePart PartAtColumn(int32_t column) {
  // "%7d" address and its blank; opcode and modifier; A operand up to ",  "; the rest.
  if (column < 8) return LinePart::BreakpointColumn;
  if (column < 15) return LinePart::Opcode;
  if (column < 26) return LinePart::AOperand;
  return LinePart::BOperand;
}

int32_t ClickedBreakpointType(int32_t type) {
  switch (type) {
  case 0: return 1;
  case 1: return 2;
  case 2: return 0;
  default: return type;
  }
}

int32_t DoubleClickedBreakpointType(int32_t type) {
  switch (type) {
  case 0: return 2;
  case 2: return 1;
  case 1: return 0;
  default: return type;
  }
}

void SetCellBreakpoint(TCore& core, int32_t address, int32_t type) {
  core.Core[static_cast<size_t>(address)].BreakpointType = static_cast<uint8_t>(type);
  if (type == 0)
    core.RemoveBreakpoint(address);
  else
    core.AddBreakpoint(address);
  core.History.SetBreakpoint(address, static_cast<uint8_t>(type));
}

std::optional<TOperandPopup> OperandPopup(const TCore& core, int32_t a, bool bOperand) {
  const int32_t m = core.CoreSize;
  if (m < 1) return std::nullopt;
  const CoreCell& cell = CellAt(core, a);
  const AddressMode mode = bOperand ? GetBMode(cell) : GetAMode(cell);
  if (mode == AddressMode::Immediate) return std::nullopt;
  const int32_t v = Wrap(bOperand ? cell.BField : cell.AField, m);
  const int32_t rl = core.EffectiveReadLimit(), wl = core.EffectiveWriteLimit();
  int32_t rOff = Fold(v, rl, m), wOff = Fold(v, wl, m);
  int32_t rAddr = Wrap(int64_t{a} + rOff, m), wAddr = Wrap(int64_t{a} + wOff, m);

  const Opcode op = GetOpcode(cell);
  const bool writeTarget =
      bOperand &&
      (op == Opcode::MOV || op == Opcode::ADD || op == Opcode::SUB || op == Opcode::DJN ||
       op == Opcode::MUL || op == Opcode::DIV || op == Opcode::MOD || op == Opcode::LDP);
  auto caption = [m, v](char symbol, int32_t address) {
    return std::string(1, symbol) + " " + ShortFieldText(v, m) + " = " + ShortFieldText(address, m);
  };
  TOperandPopup popup;
  popup.N1.Target = writeTarget ? wAddr : rAddr;
  popup.N1.Caption = caption('$', popup.N1.Target);
  if (mode == AddressMode::Direct) return popup;

  const CoreCell& pw = CellAt(core, wAddr);
  const CoreCell& pr = CellAt(core, rAddr);
  int64_t wIn = 0, rIn = 0;
  bool readAsWrite = true;
  switch (mode) {
  case AddressMode::BIndirect:
    wIn = pw.BField;
    rIn = pr.BField;
    readAsWrite = false;
    break;
  case AddressMode::BPredecrement: wIn = int64_t{pw.BField} - 1 + m; break;
  case AddressMode::BPostincrement: wIn = pw.BField; break;
  case AddressMode::AIndirect:
    wIn = pw.AField;
    rIn = pr.AField;
    readAsWrite = false;
    break;
  case AddressMode::APredecrement: wIn = int64_t{pw.AField} - 1 + m; break;
  default: wIn = pw.AField; break; // A-postincrement
  }
  if (readAsWrite) {
    rIn = wIn;
    rOff = wOff;
    rAddr = wAddr;
  }
  const int32_t rOff2 = Fold(Wrap(int64_t{rOff} + rIn, m), rl, m);
  const int32_t wOff2 = Fold(Wrap(int64_t{wOff} + wIn, m), wl, m);
  const int32_t second = writeTarget ? Wrap(int64_t{a} + wOff2, m) : Wrap(int64_t{a} + rOff2, m);
  popup.N2.Target = second;
  popup.N2.Caption = caption(ModeChar(mode), second);
  return popup;
}

std::string BreakpointListLine(const TCore& core, int32_t a) {
  const CoreCell& cell = CellAt(core, a);
  const bool hit = std::find(core.HitList.begin(), core.HitList.end(), a) != core.HitList.end();
  return std::string(hit ? "*" : " ") + Printf("%7lld", a) + " " +
         Printf("%3lld", cell.BreakpointType) + " " +
         InstructionText(cell, core.CoreSize, core.Standard);
}

void SortBreakpoints(TCore& core) {
  std::vector<size_t> order(core.BreakpointAddresses.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&core](size_t x, size_t y) {
    return core.BreakpointAddresses[x] < core.BreakpointAddresses[y];
  });
  std::vector<int32_t> addresses, counters;
  for (size_t i : order) {
    addresses.push_back(core.BreakpointAddresses[i]);
    counters.push_back(i < core.BreakpointCounters.size() ? core.BreakpointCounters[i] : 0);
  }
  core.BreakpointAddresses = std::move(addresses);
  core.BreakpointCounters = std::move(counters);
}

} // namespace velmora
