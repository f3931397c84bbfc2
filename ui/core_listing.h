#pragma once
// The text side of the debugger windows, free of any window code: the listing line of a
// core cell with its colour and breakpoint mark, the instruction line of the cell editor,
// the breakpoint list's line, the operand popup's addresses, where a pointer lands in a
// line, and the breakpoint steps of clicks in the listing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/core.h"

namespace velmora {

// --- Field texts ------------------------------------------------------------------------------
// A field as the listings show it: values in the top tenth of the core read as negative.
int64_t ShownFieldValue(int32_t value, int32_t coreSize);
// The shown value right-aligned in 7 characters.
std::string FieldText(int32_t value, int32_t coreSize);
// The shown value in plain decimal.
std::string ShortFieldText(int32_t value, int32_t coreSize);

// "DAT", "MOV", ... ; "???" for a code no opcode has.
std::string OpcodeText(const CoreCell& cell);
// Four blanks under the 1988 standard, else "." + the modifier + a blank, at least 4 wide.
std::string ModifierPart(const CoreCell& cell, uint8_t standard);
char AModeChar(const CoreCell& cell);
char BModeChar(const CoreCell& cell);

// Opcode, modifier part and both operands with 7-wide fields: "MOV.I  $      0,  $      1".
std::string InstructionText(const CoreCell& cell, int32_t coreSize, uint8_t standard);
// The same with plain fields, as the cell editor shows it: "MOV.I  $0,  $-1".
std::string ShortInstructionText(const CoreCell& cell, int32_t coreSize, uint8_t standard);

// --- The core view's line ---------------------------------------------------------------------
enum class BreakpointGlyph : uint8_t { None, Square, Circle, Diamond };

struct TListingLine {
  int32_t Address = 0;
  std::string Text;   // FormatLine's text; the mark, when there is one, covers its first column
  bool Next = false;  // a warrior's next instruction: shown red
  int32_t Colour = 0; // warrior colour number 1..8 of the last toucher, 0 when untouched
  BreakpointGlyph Glyph = BreakpointGlyph::None;
  bool Hit = false;    // the breakpoint fired in the last run
  bool Undone = false; // the cycle just stepped back over changed the cell
  // What the main display gets for this cell when it is highlighted or unhighlighted.
  int32_t PixelColour = 0;
  int32_t PixelKind = 0;
};

// The listing text of cell a: "%7d" address, a blank, then InstructionText.
std::string FormatLine(const TCore& core, int32_t a);
// The whole line of cell a: text, colour, breakpoint mark and display colour.
TListingLine ListingLine(const TCore& core, int32_t a);
// The cell that the next process of some warrior will execute.
bool IsNextInstruction(const TCore& core, int32_t a);
// The addresses of count lines listed from top, wrapping at the core's end.
std::vector<int32_t> ListedAddresses(int32_t top, int32_t count, int32_t coreSize);
// RGB of a listing line: red for a next instruction, grey when untouched, else its
// warrior's colour (colours[k] is engine slot k; slots beyond it take the fixed palette).
uint32_t ListingRgb(const TListingLine& line, const std::vector<uint32_t>& colours);

// --- Navigation -------------------------------------------------------------------------------
// The top location moved by delta lines, always within the core.
int32_t ScrollTop(int32_t top, int64_t delta, int32_t coreSize);
// A typed location as a core address: any integer reduced modulo the core size.
std::optional<int32_t> LocationFromText(const std::string& text, int32_t coreSize);

// --- Pointer zones of a line ------------------------------------------------------------------
enum class LinePart : uint8_t { BreakpointColumn, Opcode, AOperand, BOperand };
// The part of a listing line under character column (0-based) column.
LinePart PartAtColumn(int32_t column);

// --- Breakpoints set by clicks ----------------------------------------------------------------
// The type a single click on the breakpoint column gives: 0, 1, 2, 0; others stay.
int32_t ClickedBreakpointType(int32_t type);
// The type a double click gives, undoing its first click: 0 to 2, 2 to 1, 1 to 0.
int32_t DoubleClickedBreakpointType(int32_t type);
// Puts a type on the cell at address and registers (type not 0) or unregisters it.
void SetCellBreakpoint(TCore& core, int32_t address, int32_t type);

// --- Operand popup ----------------------------------------------------------------------------
struct TPopupItem {
  std::string Caption;
  int32_t Target = -1; // -1: the item leads nowhere
};
struct TOperandPopup {
  TPopupItem N1, N2;
};
// The two items of the popup for the A or B operand of cell a; none for immediate mode.
std::optional<TOperandPopup> OperandPopup(const TCore& core, int32_t a, bool bOperand);

// --- The breakpoint list ----------------------------------------------------------------------
// "*" when a fired in the last run, else a blank; "%7d" address; blank; "%3d" type; blank;
// InstructionText.
std::string BreakpointListLine(const TCore& core, int32_t a);
// Sorts the registered addresses ascending, each keeping its event counter.
void SortBreakpoints(TCore& core);

} // namespace velmora
