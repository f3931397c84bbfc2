#include <algorithm>
#include <limits>

#include "engine/core.h"

namespace velmora {

void TCore::ResetBreakpointTypes() {
  for (int i = 0; i < 3; ++i)
    BreakpointTypes[static_cast<size_t>(i)] = TBreakpointRec{};
  BreakpointTypes[1].Execute = true;
  BreakpointTypes[2].Execute = true;
  BreakpointTypes[2].Movable = true;
  BreakpointTypeCount = 3;
  HitList.clear();
  BreakpointAddresses.clear();
  BreakpointCounters.clear();
}

void TCore::AddBreakpoint(int32_t address) {
  auto it = std::find(BreakpointAddresses.begin(), BreakpointAddresses.end(), address);
  if (it == BreakpointAddresses.end()) {
    BreakpointAddresses.push_back(address);
    BreakpointCounters.push_back(0);
  } else {
    BreakpointCounters[static_cast<size_t>(it - BreakpointAddresses.begin())] = 0;
  }
}

void TCore::RemoveBreakpoint(int32_t address) {
  auto it = std::find(BreakpointAddresses.begin(), BreakpointAddresses.end(), address);
  if (it == BreakpointAddresses.end()) return;
  BreakpointCounters.erase(BreakpointCounters.begin() + (it - BreakpointAddresses.begin()));
  BreakpointAddresses.erase(it);
}

void TCore::BreakpointEvent(int32_t address, const CoreCell& cell) {
  auto it = std::find(BreakpointAddresses.begin(), BreakpointAddresses.end(), address);
  if (it == BreakpointAddresses.end()) {
    if (cell.BreakpointType == 0) {
      Platform->ShowMessage("No BreakpointList defined at " + std::to_string(address));
      return;
    }
    // The fast path's MOV.I carries types without registering them: the cell has a
    // breakpoint, so it is registered now with a fresh counter and the event counts.
    BreakpointAddresses.push_back(address);
    BreakpointCounters.push_back(0);
    it = BreakpointAddresses.end() - 1;
  }
  int32_t& counter = BreakpointCounters[static_cast<size_t>(it - BreakpointAddresses.begin())];
  if (counter == std::numeric_limits<int32_t>::max()) return; // a frequency it can never meet
  const int32_t c = counter + 1;
  if (c == BreakpointTypes[cell.BreakpointType].Frequency) {
    counter = 0;
    HitList.push_back(address);
  } else {
    counter = c;
  }
}

bool TCore::EvaluateOperandTest(const CoreCell& cell) {
  return OperandTestHook != nullptr && OperandTestHook(*this, cell);
}

void TCore::FlushPixels() {
  if (PendingPixelCount == 0) return;
  const size_t count = PendingPixelCount;
  PendingPixelCount = 0;
  Form->ColorPixels(PendingPixels.data(), count);
}

void TCore::BreakpointCheckSlow(BreakpointFlag flag, int32_t address, const CoreCell& cell) {
  if (HasFlag(BreakpointTypes[cell.BreakpointType], flag)) BreakpointEvent(address, cell);
}

void TCore::BreakpointTestSlow(int32_t address, const CoreCell& cell) {
  if (BreakpointTypes[cell.BreakpointType].Test && EvaluateOperandTest(cell))
    BreakpointEvent(address, cell);
}

} // namespace velmora
