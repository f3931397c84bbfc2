#pragma once
// Breakpoint types: what a breakpoint on a cell reacts to. A cell's BreakpointType indexes
// the engine's table of 256 of them.

#include <array>
#include <cstdint>
#include <string>

namespace velmora {

struct TBreakpointRec {
  bool Execute = false;
  bool Write = false;
  bool IncDec = false;
  bool Compare = false;
  bool Read = false;
  bool Test = false;
  bool Movable = false;
  int32_t Frequency = 1;
  std::string TestExpression;
};

inline constexpr int kBreakpointTypeMax = 256;
using TBreakpointTable = std::array<TBreakpointRec, kBreakpointTypeMax>;

// The flag of a breakpoint type that an event checks.
enum class BreakpointFlag { Execute, Write, IncDec, Compare, Read };

inline bool HasFlag(const TBreakpointRec& t, BreakpointFlag f) {
  switch (f) {
  case BreakpointFlag::Execute: return t.Execute;
  case BreakpointFlag::Write: return t.Write;
  case BreakpointFlag::IncDec: return t.IncDec;
  case BreakpointFlag::Compare: return t.Compare;
  case BreakpointFlag::Read: return t.Read;
  }
  return false;
}

} // namespace velmora
