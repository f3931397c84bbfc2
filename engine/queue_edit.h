#pragma once
// The debugger's edits of one warrior's process queue: insert, delete, replace, roll and
// swap entries while the battle is stopped. Unlike the bare QueueInsert and QueueDelete
// these keep the round's AliveCount in step with the warriors they kill or revive, and a
// revived warrior's queue is moved to a stretch of the ring that no other live warrior
// can run into.

#include <cstdint>

#include "engine/core.h"

namespace velmora {

// Inserts `address` (reduced modulo CoreSize) at list position p (0..ProcessCount).
// Refuses a full queue with "Process queue full". False when refused.
bool InsertProcess(TCore& core, TWarrior& w, int32_t p, int32_t address);
// Removes entry p; removing the last one kills the warrior. False without such an entry.
bool DeleteProcess(TCore& core, TWarrior& w, int32_t p);
// Entry p := address reduced modulo CoreSize. False without such an entry.
bool ReplaceProcess(TCore& core, TWarrior& w, int32_t p, int32_t address);
// Rotates the queue so that entry p runs next, keeping the cyclic order; head, tail and
// count stay. False without such an entry.
bool RollProcessToTop(TCore& core, TWarrior& w, int32_t p);
// Exchanges entries p and q. False unless both exist.
bool SwapProcesses(TCore& core, TWarrior& w, int32_t p, int32_t q);

// Where a warrior without processes restarts its queue (byte offset into the ring).
//
// Every live warrior takes one entry per cycle, so the live heads advance together and each
// warrior's entries stay within the MaxProcesses slots from its head; set-up spaces the
// heads MaxProcesses + 1 slots apart, so those stretches never meet. A dead warrior's head
// stands still while the others move on, so restarting it there could put it inside a live
// stretch. It therefore goes back to its own place in that spacing: MaxProcesses + 1 slots
// per warrior number from any live warrior's head, the head it would have had if it had
// never died. Should the live heads be out of that spacing (a round already over can leave
// them so), the first slot whose stretch is clear of every live stretch is taken; when
// there is none, the head stays where it is.
int32_t RevivalHead(const TCore& core, const TWarrior& w);

} // namespace velmora
