// Stepping a round backwards: back to a snapshot, then the cycles in between run again.
#include <algorithm>
#include <cstring>

#include "engine/core.h"

namespace velmora {

namespace {

int64_t FrameBytes(const THistoryFrame& f) {
  int64_t bytes = static_cast<int64_t>(
      sizeof f + f.Core.size() * sizeof(CoreCell) +
      (f.Queue.size() + f.HitList.size() + f.BreakpointAddresses.size() * 2) * sizeof(int32_t));
  for (const THistoryWarrior& w : f.Warriors)
    bytes += static_cast<int64_t>(sizeof w + w.PSpace.size() * sizeof(int32_t));
  return bytes;
}

} // namespace

int32_t TCore::BattleWarriors() const {
  return std::min<int32_t>(NumWarriors, static_cast<int32_t>(Warriors.size()) - 1);
}

void TCore::SnapshotInto(THistoryFrame& f) const {
  // Assigned, not built: a reused frame keeps its memory.
  f.CycleCount = CycleCount;
  f.AliveCount = AliveCount;
  f.Winner = Winner;
  f.RoundState = RoundState;
  f.Core.assign(Core.begin(), Core.begin() + CoreSize);
  f.Queue = QueueMemory;
  f.HitList = HitList;
  f.BreakpointAddresses = BreakpointAddresses;
  f.BreakpointCounters = BreakpointCounters;
  f.Warriors.resize(static_cast<size_t>(std::max(BattleWarriors(), 0)));
  for (size_t i = 0; i < f.Warriors.size(); ++i) {
    const TWarrior& w = *Warriors[i + 1];
    THistoryWarrior& s = f.Warriors[i];
    s.QueueHead = w.QueueHead;
    s.QueueTail = w.QueueTail;
    s.ProcessCount = w.ProcessCount;
    s.LastResult = w.LastResult;
    s.Alive = w.Alive;
    if (w.PSpace)
      s.PSpace = *w.PSpace;
    else
      s.PSpace.clear();
  }
  f.Bytes = FrameBytes(f);
}

THistoryFrame TCore::Snapshot() const {
  THistoryFrame f{};
  SnapshotInto(f);
  return f;
}

void TCore::Restore(const THistoryFrame& f) {
  std::copy(f.Core.begin(), f.Core.end(), Core.begin());
  if (f.Queue.size() == QueueMemory.size()) QueueMemory = f.Queue;
  HitList = f.HitList;
  BreakpointAddresses = f.BreakpointAddresses;
  BreakpointCounters = f.BreakpointCounters;
  CycleCount = f.CycleCount;
  AliveCount = f.AliveCount;
  Winner = f.Winner;
  RoundState = f.RoundState;
  for (size_t i = 0; i < f.Warriors.size() && i + 1 < Warriors.size(); ++i) {
    const THistoryWarrior& s = f.Warriors[i];
    TWarrior& w = *Warriors[i + 1];
    w.QueueHead = s.QueueHead;
    w.QueueTail = s.QueueTail;
    w.ProcessCount = s.ProcessCount;
    w.LastResult = s.LastResult;
    w.Alive = s.Alive;
    if (w.PSpace && w.PSpace->size() == s.PSpace.size()) *w.PSpace = s.PSpace;
  }
}

void TCore::RecordBatch(int32_t first) {
  // A snapshot costs a copy of the round: taken once the cycles since the last one have
  // executed many times that many instructions' worth of it, so the copying stays a small
  // part of the run however large the core and the queues are.
  const int32_t n = std::max(BattleWarriors(), 1);
  const int64_t bytes =
      int64_t{CoreSize} * 12 + int64_t{QueueBlockSize} + int64_t{PSpaceSize} * 4 * n;
  const int64_t interval =
      History.Interval > 0 ? History.Interval : std::max<int64_t>(64, bytes / (4 * n));
  if (History.Empty() || CycleCount - History.frames_.back().CycleCount >= interval) {
    THistoryFrame frame = History.Spare();
    SnapshotInto(frame);
    History.Add(std::move(frame));
  }
  if (!History.Empty()) History.NoteRun(CycleCount, first, DisplayLevel);
}

bool TCore::CanUndo() const {
  return !History.Empty() && CycleCount > History.OldestCycle();
}

void TCore::Replay(int32_t target, int32_t* lastBreak) {
  // Quietly, as the cycles ran: their display level, no events drawn, no early-draw test
  // (the round went on past every cycle that is run again), no snapshots.
  const bool collect = CollectPixels, max = MaxSpeed, early = EarlyDrawCheck;
  const int32_t level = DisplayLevel;
  const int64_t instructions = InstructionCount;
  replaying_ = true;
  CollectPixels = false;
  MaxSpeed = false;
  EarlyDrawCheck = false;
  while (CycleCount < target) {
    const THistoryRun* run = History.RunAt(CycleCount);
    DisplayLevel = run ? run->DisplayLevel : level;
    const int32_t from = CycleCount;
    // One cycle at a time when looking for breakpoints; else up to the next batch change.
    const int32_t cycles = lastBreak ? 1 : std::min(target, History.RunEnd(from)) - from;
    RunCycles(cycles, run ? run->FirstWarrior : 1);
    if (lastBreak && !HitList.empty()) *lastBreak = from;
    if (CycleCount == from) break; // nothing could run
  }
  replaying_ = false;
  CollectPixels = collect;
  MaxSpeed = max;
  EarlyDrawCheck = early;
  DisplayLevel = level;
  InstructionCount = instructions;
}

void TCore::GoBackTo(int32_t target) {
  Restore(*History.FrameAtOrBefore(target));
  Replay(target, nullptr);
  // The cells the next cycle changes, seen by running it once more.
  const THistoryFrame at = Snapshot();
  Replay(target + 1, nullptr);
  UndoneCells.clear();
  for (int32_t a = 0; a < CoreSize; ++a)
    if (std::memcmp(&Core[static_cast<size_t>(a)], &at.Core[static_cast<size_t>(a)],
                    sizeof(CoreCell)) != 0)
      UndoneCells.push_back(a);
  Restore(at);
  History.Truncate(target);
}

bool TCore::UndoCycle() {
  if (!CanUndo()) return false;
  GoBackTo(CycleCount - 1);
  return true;
}

TCore::UndoResult TCore::UndoToBreakpoint() {
  if (!CanUndo()) return UndoResult{0, false};
  const int32_t start = CycleCount;
  int32_t end = start, found = -1;
  // Snapshot by snapshot backwards, each stretch run again cycle by cycle.
  while (found < 0 && end > History.OldestCycle()) {
    const THistoryFrame* frame = History.FrameAtOrBefore(end - 1);
    Restore(*frame);
    Replay(end, &found);
    end = frame->CycleCount;
  }
  GoBackTo(found >= 0 ? found : History.OldestCycle());
  return UndoResult{start - CycleCount, found >= 0};
}

} // namespace velmora
