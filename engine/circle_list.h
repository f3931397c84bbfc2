#pragma once
// TCircleList: a ring of gaps with a current position. Round set-up keeps in it the stretches
// of the core where the next warrior may still be loaded, and walks it to place warriors.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

// Length consecutive addresses Start .. Start+Length-1. 64-bit, so that extreme distances
// cannot overflow while gaps are split.
struct Gap {
  int64_t Start = 0;
  int64_t Length = 0;
};

class TCircleList {
public:
  // Links item directly after Current (after) or directly before it; the first item becomes
  // Current. Current never moves. False only when memory runs out.
  bool Add(const Gap& item, bool after);
  // Unlinks Current; the following node becomes Current. False on an empty list.
  bool Delete();
  // Current := Current's successor. Nothing on an empty list.
  void Next();
  void Clear();

  int32_t Count() const { return count_; }
  bool Empty() const { return current_ < 0; }
  // The current item; the list must not be empty.
  Gap& Current() { return nodes_[static_cast<size_t>(current_)].Item; }

private:
  struct Node {
    Gap Item;
    int32_t Prev = -1, Next = -1;
  };
  // Nodes live in one pool: unlinked ones stay until Clear, so nothing is freed per step.
  std::vector<Node> nodes_;
  int32_t current_ = -1;
  int32_t count_ = 0;
};

} // namespace velmora
