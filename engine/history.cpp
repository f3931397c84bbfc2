#include "engine/history.h"

#include <algorithm>
#include <limits>

namespace velmora {

namespace {
constexpr size_t kSpareFrames = 8;
} // namespace

void THistory::SetLimit(int64_t bytes) {
  limit_ = std::max<int64_t>(bytes, 0);
  while (!frames_.empty() && bytes_ > limit_)
    DropOldest();
  if (frames_.empty()) Clear();
  if (limit_ == 0) spare_.clear();
}

void THistory::Clear() {
  while (!frames_.empty())
    DropNewest();
  runs_.clear();
  bytes_ = 0;
}

THistoryFrame THistory::Spare() {
  if (spare_.empty()) return THistoryFrame{};
  THistoryFrame f = std::move(spare_.back());
  spare_.pop_back();
  return f;
}

void THistory::Release(THistoryFrame&& frame) {
  if (spare_.size() < kSpareFrames && frame.Bytes <= limit_) spare_.push_back(std::move(frame));
}

void THistory::DropOldest() {
  bytes_ -= frames_.front().Bytes;
  Release(std::move(frames_.front()));
  frames_.pop_front();
}

void THistory::DropNewest() {
  bytes_ -= frames_.back().Bytes;
  Release(std::move(frames_.back()));
  frames_.pop_back();
}

void THistory::SetBreakpoint(int32_t address, uint8_t type) {
  for (THistoryFrame& f : frames_) {
    if (address < 0 || static_cast<size_t>(address) >= f.Core.size()) continue;
    f.Core[static_cast<size_t>(address)].BreakpointType = type;
    auto it = std::find(f.BreakpointAddresses.begin(), f.BreakpointAddresses.end(), address);
    const auto index = it - f.BreakpointAddresses.begin();
    if (type == 0 && it != f.BreakpointAddresses.end()) {
      f.BreakpointAddresses.erase(it);
      f.BreakpointCounters.erase(f.BreakpointCounters.begin() + index);
    } else if (type != 0 && it == f.BreakpointAddresses.end()) {
      f.BreakpointAddresses.push_back(address);
      f.BreakpointCounters.push_back(0);
    } else if (type != 0) {
      f.BreakpointCounters[static_cast<size_t>(index)] = 0;
    }
  }
}

void THistory::ClearBreakpoints() {
  for (THistoryFrame& f : frames_) {
    for (CoreCell& cell : f.Core)
      cell.BreakpointType = 0;
    f.BreakpointAddresses.clear();
    f.BreakpointCounters.clear();
  }
}

void THistory::Add(THistoryFrame frame) {
  bytes_ += frame.Bytes;
  frames_.push_back(std::move(frame));
  while (!frames_.empty() && bytes_ > limit_)
    DropOldest();
  if (frames_.empty()) {
    Clear();
    return;
  }
  // Batches before the oldest snapshot can never be run again.
  const int32_t oldest = frames_.front().CycleCount;
  auto keep = std::find_if(runs_.begin(), runs_.end(),
                           [&](const THistoryRun& r) { return r.FromCycle > oldest; });
  if (keep != runs_.begin()) runs_.erase(runs_.begin(), keep - 1);
}

const THistoryFrame* THistory::FrameAtOrBefore(int32_t cycle) const {
  for (auto it = frames_.rbegin(); it != frames_.rend(); ++it)
    if (it->CycleCount <= cycle) return &*it;
  return nullptr;
}

void THistory::Truncate(int32_t cycle) {
  while (!frames_.empty() && frames_.back().CycleCount > cycle)
    DropNewest();
  while (!runs_.empty() && runs_.back().FromCycle >= cycle)
    runs_.pop_back();
  if (frames_.empty()) Clear();
}

void THistory::NoteRun(int32_t fromCycle, int32_t first, int32_t displayLevel) {
  while (!runs_.empty() && runs_.back().FromCycle >= fromCycle)
    runs_.pop_back();
  if (!runs_.empty() && runs_.back().FirstWarrior == first &&
      runs_.back().DisplayLevel == displayLevel)
    return;
  runs_.push_back(THistoryRun{fromCycle, first, displayLevel});
}

const THistoryRun* THistory::RunAt(int32_t cycle) const {
  const THistoryRun* found = nullptr;
  for (const THistoryRun& r : runs_)
    if (r.FromCycle <= cycle) found = &r;
  return found;
}

int32_t THistory::RunEnd(int32_t cycle) const {
  for (const THistoryRun& r : runs_)
    if (r.FromCycle > cycle) return r.FromCycle;
  return std::numeric_limits<int32_t>::max();
}

} // namespace velmora
