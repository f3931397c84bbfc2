#pragma once
// The assembler's scanner state. It lives inside the engine object so that engines on
// different threads never share it; the assembler library supplies the code that uses it.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

struct AssemblyContext {
  // The text being scanned; a NUL always follows its last character.
  std::string LineText = std::string(1, '\0');
  int32_t ScanPos = 1; // 1-based
  bool ModeSeen = false;
  uint8_t OperandMode = 1;
  std::array<int32_t, 26> Variables{};
  int32_t LastVariable = -1;
  // Unsorted; a lookup takes the last entry of a name.
  std::vector<std::pair<std::string, int32_t>> Labels;
  int32_t CurLine = 0;
};

} // namespace velmora
