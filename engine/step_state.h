#pragma once
// What one step works on: the engine's values copied into locals for a batch, the queue
// positions of the warriors, and the circular arithmetic of the instructions. Internal to the
// engine.

#include <cstring>

#include "engine/core.h"

#define VELMORA_INLINE __attribute__((always_inline)) inline
// The step's helpers are lambdas over its locals: a call would force those into memory.
#define VELMORA_LAMBDA_INLINE __attribute__((always_inline))

namespace velmora::detail {

// What a step reports besides executing: nothing (the fast path); every event to the display
// and to the breakpoints (the display path); or only the cells' Markers, the display path when
// the display reads those itself and no cell of the core has a breakpoint, so that nothing can
// be reported to either.
using StepPath = int;
inline constexpr StepPath kFastPath = 0;
inline constexpr StepPath kEventPath = 1;
inline constexpr StepPath kMarkerPath = 2;

// What a step reads of the engine, copied into locals once per batch so that the hot loop
// keeps it in registers: byte stores into cells would otherwise force reloads.
struct StepEnv {
  CoreCell* Core;
  int32_t* Queue;    // the ring's first entry
  int32_t* QueueEnd; // one past its last
  int32_t CoreSize;
  int32_t ReadLimit;
  int32_t WriteLimit;
  int32_t QueueBytes;
  int32_t MaxProcesses;
  int32_t DisplayLevel; // the display path's level for the whole batch
};

inline StepEnv MakeStepEnv(TCore& c) {
  int32_t* ring = c.QueueMemory.data();
  return StepEnv{c.Core.data(),
                 ring,
                 ring + c.QueueBlockSize / 4,
                 c.CoreSize,
                 c.EffectiveReadLimit(),
                 c.EffectiveWriteLimit(),
                 c.QueueBlockSize,
                 c.MaxProcesses,
                 c.DisplayLevel};
}

// A warrior's queue position as pointers into the ring, held in locals while a batch runs:
// stores into the core can then not force it to be reloaded.
struct QueueState {
  int32_t* Head;
  int32_t* Tail;
  int32_t Count;
  int32_t Colour; // the warrior's colour in events and Markers
  bool Alive;     // alive with a process to run
  bool Stalled;   // marked alive with an empty queue (left so by editing): it runs nothing
  TWarrior* Warrior;
};

inline QueueState LoadQueue(const StepEnv& e, TWarrior& w) {
  return QueueState{e.Queue + (w.QueueHead >> 2),
                    e.Queue + (w.QueueTail >> 2),
                    w.ProcessCount,
                    w.Colour(),
                    w.Alive && w.ProcessCount > 0,
                    w.Alive && w.ProcessCount <= 0,
                    &w};
}
inline void StoreQueue(const StepEnv& e, const QueueState& q) {
  TWarrior& w = *q.Warrior;
  w.QueueHead = static_cast<int32_t>(q.Head - e.Queue) * 4;
  w.QueueTail = static_cast<int32_t>(q.Tail - e.Queue) * 4;
  w.ProcessCount = q.Count;
  w.Alive = q.Alive || q.Stalled;
}

// The display path's events and breakpoint checks on the batch's copy of the core pointer:
// the engine's own would be read again after every byte stored into a cell.
template <StepPath Path>
VELMORA_INLINE void MarkCell(TCore& c, const StepEnv& e, int32_t a, int32_t colour,
                             CellEvent kind) {
  e.Core[a].Marker = static_cast<uint8_t>(colour | (static_cast<int32_t>(kind) << 4));
  if constexpr (Path == kEventPath) {
    c.CollectPixel(a, colour, kind);
  }
}
template <StepPath Path>
VELMORA_INLINE void CheckAt(TCore& c, const StepEnv& e, BreakpointFlag flag, int32_t a) {
  if constexpr (Path == kEventPath) {
    if (e.Core[a].BreakpointType != 0) c.BreakpointCheck(flag, a);
  }
}
template <StepPath Path> VELMORA_INLINE void TestAt(TCore& c, const StepEnv& e, int32_t a) {
  if constexpr (Path == kEventPath) {
    if (e.Core[a].BreakpointType != 0) c.BreakpointTest(a);
  }
}

VELMORA_INLINE int32_t Dec(int32_t v, int32_t cs) {
  return v == 0 ? cs - 1 : v - 1;
}
VELMORA_INLINE int32_t Inc(int32_t v, int32_t cs) {
  return v + 1 == cs ? 0 : v + 1;
}
VELMORA_INLINE int32_t AddMod(int32_t b, int32_t a, int32_t cs) {
  return WrapAdd(b, a, cs);
}
VELMORA_INLINE int32_t SubMod(int32_t b, int32_t a, int32_t cs) {
  return WrapSub(b, a, cs);
}
// The product wraps in 32 bits (computed unsigned: no overflow), then the signed remainder.
VELMORA_INLINE int32_t MulMod(int32_t b, int32_t a, int32_t cs) {
  int32_t p = static_cast<int32_t>(static_cast<uint32_t>(b) * static_cast<uint32_t>(a));
  int32_t r = p % cs;
  return r < 0 ? r + cs : r;
}

} // namespace velmora::detail
