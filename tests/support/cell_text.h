#pragma once
// A small reader of single instructions for engine tests ("MOV.I $0, @-1"), so that test
// tables stay readable without depending on the assembler.

#include <string>

#include "engine/cell.h"

namespace velmora::test {

// Parses "OPC.MOD <mode>a, <mode>b". Fields are brought into 0..coreSize-1. Omitted modes are
// "$", an omitted modifier is F for DAT, MOV, ... (tests always write the ones they need).
CoreCell ParseCell(const std::string& text, int32_t coreSize);

// Renders a cell in the same form, for failure messages.
std::string CellText(const CoreCell& cell);

} // namespace velmora::test
