#include "engine/core.h"

namespace velmora {

namespace {
int32_t Advance(int32_t offset, int32_t blockBytes) {
  offset += 4;
  return offset >= blockBytes ? 0 : offset;
}
int32_t OffsetOf(const TWarrior& w, int32_t i, int32_t blockBytes) {
  return static_cast<int32_t>((static_cast<int64_t>(w.QueueHead) + 4LL * i) % blockBytes);
}
} // namespace

int32_t TCore::QueueTake(TWarrior& w) {
  const int32_t entry = QueueMemory[static_cast<size_t>(w.QueueHead >> 2)];
  w.QueueHead = Advance(w.QueueHead, QueueBlockSize);
  return entry;
}

void TCore::QueueAppend(TWarrior& w, int32_t address) {
  QueueMemory[static_cast<size_t>(w.QueueTail >> 2)] = address;
  w.QueueTail = Advance(w.QueueTail, QueueBlockSize);
}

int32_t TCore::QueueEntry(const TWarrior& w, int32_t i) const {
  return QueueMemory[static_cast<size_t>(OffsetOf(w, i, QueueBlockSize) >> 2)];
}

std::vector<int32_t> TCore::QueueEntries(const TWarrior& w) const {
  std::vector<int32_t> entries;
  entries.reserve(static_cast<size_t>(w.ProcessCount));
  for (int32_t i = 0; i < w.ProcessCount; ++i)
    entries.push_back(QueueEntry(w, i));
  return entries;
}

void TCore::QueueStart(TWarrior& w, int32_t k, int32_t address) {
  w.QueueHead = static_cast<int32_t>(static_cast<int64_t>(k - 1) * (MaxProcesses + 1LL) * 4);
  w.QueueTail = Advance(w.QueueHead, QueueBlockSize);
  QueueMemory[static_cast<size_t>(w.QueueHead >> 2)] = address;
  w.ProcessCount = 1;
}

bool TCore::QueueInsert(TWarrior& w, int32_t p, int32_t address) {
  if (w.ProcessCount >= MaxProcesses) {
    Platform->ShowMessage("Process queue full");
    return false;
  }
  if (p < 0 || p > w.ProcessCount || CoreSize < 1) return false;
  // Shift entries p..end one slot towards the tail, from the tail backwards.
  for (int32_t i = w.ProcessCount; i > p; --i)
    QueueMemory[static_cast<size_t>(OffsetOf(w, i, QueueBlockSize) >> 2)] = QueueEntry(w, i - 1);
  QueueMemory[static_cast<size_t>(OffsetOf(w, p, QueueBlockSize) >> 2)] =
      ModCore(address, CoreSize);
  ++w.ProcessCount;
  w.QueueTail = Advance(w.QueueTail, QueueBlockSize);
  w.Alive = true;
  return true;
}

bool TCore::QueueDelete(TWarrior& w, int32_t p) {
  if (p < 0 || p >= w.ProcessCount) return false;
  for (int32_t i = p; i < w.ProcessCount - 1; ++i)
    QueueMemory[static_cast<size_t>(OffsetOf(w, i, QueueBlockSize) >> 2)] = QueueEntry(w, i + 1);
  --w.ProcessCount;
  w.QueueTail = OffsetOf(w, w.ProcessCount, QueueBlockSize);
  if (w.ProcessCount == 0) w.Alive = false;
  return true;
}

} // namespace velmora
