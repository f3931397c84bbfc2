#pragma once
// The step-back history of a round. Recording a change per instruction would cost the
// display path several times its own work, so the history keeps snapshots of the whole
// round (core with Markers, queue ring, warriors, P-space, counters, breakpoint registry)
// taken now and then before a batch, and the parameters of every batch since (first
// warrior, display level). Execution is deterministic: a cycle is undone by going back to
// the snapshot before it and running the cycles in between again. The oldest snapshots are
// dropped when the history outgrows its byte budget.

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/cell.h"
#include "engine/warrior.h"

namespace velmora {

struct THistoryWarrior {
  int32_t QueueHead, QueueTail, ProcessCount, LastResult;
  bool Alive;
  TPSpace PSpace; // a copy; empty without a block
};

// The round as it stood before cycle CycleCount + 1.
struct THistoryFrame {
  int32_t CycleCount, AliveCount, Winner;
  uint8_t RoundState;
  std::vector<CoreCell> Core;
  std::vector<int32_t> Queue, HitList, BreakpointAddresses, BreakpointCounters;
  std::vector<THistoryWarrior> Warriors; // slots 1..
  int64_t Bytes;
};

// The parameters of the batches from cycle FromCycle + 1 on.
struct THistoryRun {
  int32_t FromCycle, FirstWarrior, DisplayLevel;
};

class THistory {
public:
  static constexpr int64_t kDefaultLimit = int64_t{64} << 20;

  // Bytes the history may hold; 0 turns it off (and empties it).
  void SetLimit(int64_t bytes);
  int64_t Limit() const { return limit_; }
  bool Enabled() const { return limit_ > 0; }
  void Clear();
  // Nothing to go back to: no snapshot, or none before the current cycle.
  bool Empty() const { return frames_.empty(); }
  int64_t Bytes() const { return bytes_; }
  // The earliest cycle count the round can be put back to; -1 when empty.
  int32_t OldestCycle() const { return frames_.empty() ? -1 : frames_.front().CycleCount; }

  // Cycles between two snapshots; 0 lets the engine choose by the size of the round.
  int32_t Interval = 0;

  // A breakpoint edit holds for the whole history: every snapshot gets it too.
  void SetBreakpoint(int32_t address, uint8_t type);
  void ClearBreakpoints();

private:
  friend class TCore;
  void Add(THistoryFrame frame);
  // A frame to fill, with the memory of one dropped before when there is one: a fresh
  // snapshot's pages would each cost a fault, every round again.
  THistoryFrame Spare();
  void Release(THistoryFrame&& frame);
  void DropOldest();
  void DropNewest();
  // The last snapshot taken at or before `cycle`; null when there is none.
  const THistoryFrame* FrameAtOrBefore(int32_t cycle) const;
  // Forgets snapshots and batches after `cycle`: they are to be run again.
  void Truncate(int32_t cycle);
  void NoteRun(int32_t fromCycle, int32_t first, int32_t displayLevel);
  const THistoryRun* RunAt(int32_t cycle) const;
  // The cycle the run covering `cycle` ends at (exclusive of later runs); INT32_MAX for the last.
  int32_t RunEnd(int32_t cycle) const;

  int64_t limit_ = kDefaultLimit;
  int64_t bytes_ = 0;
  std::deque<THistoryFrame> frames_;
  std::vector<THistoryRun> runs_;
  std::vector<THistoryFrame> spare_;
};

} // namespace velmora
