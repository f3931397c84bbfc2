#pragma once
// What the debugger dialogs do to the engine, free of any window code: choosing the
// breakpoint type an edit stands for, putting it on a run of cells, clearing breakpoints,
// checking a test expression, and storing freshly assembled code into the core.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/core.h"

namespace velmora {

// The type that the breakpoint editor's settings give. No reaction but Execute with a
// frequency of 1 is one of the predefined types (0 with nothing ticked, 1, or 2 when
// movable); anything else defines a new type each time. Nothing when all 256 types are
// taken (the message is shown): the cells then keep what they have.
std::optional<int32_t> ChooseBreakpointType(TCore& core, const TBreakpointRec& settings);

// Puts type on fillCount consecutive cells from location on, wrapping at the core's end, and
// registers or unregisters each. More than a core's worth of cells is the whole core once.
void FillBreakpoints(TCore& core, int32_t location, int32_t type, int64_t fillCount);

// Type 0 on the cell and its address out of the registry.
void ClearBreakpoint(TCore& core, int32_t address);
// Type 0 on every cell; the registry emptied.
void ClearAllBreakpoints(TCore& core);

// Evaluates a test expression once with A, B, a and b all 0, the scanner's labels left as
// they were. The evaluator's message when it fails.
std::optional<std::string> OperandTestError(TCore& core, const std::string& expression);

// Copies the object code of the engine's scratch warrior into the core from location on,
// wrapping, fields reduced into the core; each cell keeps its marker and breakpoint.
void StoreScratchCode(TCore& core, int32_t location);

} // namespace velmora
