#include "engine/queue_edit.h"

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

int32_t Slots(const TCore& core) {
  return core.QueueBlockSize / 4;
}

int32_t& EntryAt(TCore& core, const TWarrior& w, int32_t i) {
  const int64_t slot = (static_cast<int64_t>(w.QueueHead / 4) + i) % Slots(core);
  return core.QueueMemory[static_cast<size_t>(slot)];
}

bool HasEntry(const TWarrior& w, int32_t p) {
  return p >= 0 && p < w.ProcessCount;
}

// The battle's warriors other than w that still have processes.
std::vector<const TWarrior*> OtherLiveWarriors(const TCore& core, const TWarrior& w) {
  std::vector<const TWarrior*> live;
  const auto last = std::min<size_t>(static_cast<size_t>(std::max(core.NumWarriors, 0)),
                                     core.Warriors.size() - 1);
  for (size_t k = 1; k <= last; ++k) {
    const TWarrior* other = core.Warriors[k].get();
    if (other != &w && other->Alive && other->ProcessCount > 0) live.push_back(other);
  }
  return live;
}

int64_t Ahead(int64_t from, int64_t to, int64_t slots) {
  const int64_t d = (to - from) % slots;
  return d < 0 ? d + slots : d;
}

// True when the stretch of `span` slots from `head` meets none of the live stretches.
bool StretchIsClear(int64_t head, const std::vector<const TWarrior*>& live, int64_t span,
                    int64_t slots) {
  for (const TWarrior* other : live) {
    const int64_t theirs = other->QueueHead / 4;
    if (Ahead(theirs, head, slots) < span || Ahead(head, theirs, slots) < span) return false;
  }
  return true;
}

// Keeps the round's count of live warriors true after an edit killed or revived one, so
// that the round ends when it should and survivors read the right result.
void RecountAlive(TCore& core) {
  if (core.RoundState != kRoundRunning) return;
  const auto last = std::min<size_t>(static_cast<size_t>(std::max(core.NumWarriors, 0)),
                                     core.Warriors.size() - 1);
  int32_t alive = 0;
  for (size_t k = 1; k <= last; ++k)
    alive += core.Warriors[k]->Alive ? 1 : 0;
  core.AliveCount = alive;
}

} // namespace

int32_t RevivalHead(const TCore& core, const TWarrior& w) {
  const int64_t slots = Slots(core);
  const int64_t span = core.MaxProcesses;
  const std::vector<const TWarrior*> live = OtherLiveWarriors(core, w);
  if (live.empty() || slots <= 0) return w.QueueHead;

  const TWarrior& reference = *live.front();
  const int64_t spacing = static_cast<int64_t>(core.MaxProcesses) + 1;
  int64_t home = (reference.QueueHead / 4 +
                  (static_cast<int64_t>(w.WarriorNumber) - reference.WarriorNumber) * spacing) %
                 slots;
  if (home < 0) home += slots;
  if (StretchIsClear(home, live, span, slots)) return static_cast<int32_t>(home * 4);

  // Out of step: the first slot after a live head with room for a whole stretch before the
  // next live head.
  std::vector<int64_t> heads;
  for (const TWarrior* other : live)
    heads.push_back(other->QueueHead / 4);
  std::sort(heads.begin(), heads.end());
  for (size_t i = 0; i < heads.size(); ++i) {
    const int64_t next = heads[(i + 1) % heads.size()];
    const int64_t gap = heads.size() == 1 ? slots : Ahead(heads[i], next, slots);
    if (gap >= 2 * span) return static_cast<int32_t>(((heads[i] + span) % slots) * 4);
  }
  return w.QueueHead;
}

bool InsertProcess(TCore& core, TWarrior& w, int32_t p, int32_t address) {
  if (w.ProcessCount == 0 && w.ProcessCount < core.MaxProcesses) {
    w.QueueHead = RevivalHead(core, w);
    w.QueueTail = w.QueueHead;
  }
  if (!core.QueueInsert(w, p, address)) return false;
  RecountAlive(core);
  return true;
}

bool DeleteProcess(TCore& core, TWarrior& w, int32_t p) {
  if (!core.QueueDelete(w, p)) return false;
  RecountAlive(core);
  return true;
}

bool ReplaceProcess(TCore& core, TWarrior& w, int32_t p, int32_t address) {
  if (!HasEntry(w, p) || core.CoreSize < 1) return false;
  EntryAt(core, w, p) = ModCore(address, core.CoreSize);
  return true;
}

bool RollProcessToTop(TCore& core, TWarrior& w, int32_t p) {
  if (!HasEntry(w, p)) return false;
  std::vector<int32_t> entries = core.QueueEntries(w);
  std::rotate(entries.begin(), entries.begin() + p, entries.end());
  for (int32_t i = 0; i < w.ProcessCount; ++i)
    EntryAt(core, w, i) = entries[static_cast<size_t>(i)];
  return true;
}

bool SwapProcesses(TCore& core, TWarrior& w, int32_t p, int32_t q) {
  if (!HasEntry(w, p) || !HasEntry(w, q)) return false;
  std::swap(EntryAt(core, w, p), EntryAt(core, w, q));
  return true;
}

} // namespace velmora
