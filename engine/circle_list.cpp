#include "engine/circle_list.h"

#include <new>

namespace velmora {

bool TCircleList::Add(const Gap& item, bool after) {
  const auto index = static_cast<int32_t>(nodes_.size());
  try {
    nodes_.push_back(Node{item, index, index});
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (current_ < 0) {
    current_ = index;
  } else {
    Node& cur = nodes_[static_cast<size_t>(current_)];
    const int32_t prev = after ? current_ : cur.Prev;
    const int32_t next = after ? cur.Next : current_;
    Node& node = nodes_[static_cast<size_t>(index)];
    node.Prev = prev;
    node.Next = next;
    nodes_[static_cast<size_t>(prev)].Next = index;
    nodes_[static_cast<size_t>(next)].Prev = index;
  }
  ++count_;
  return true;
}

bool TCircleList::Delete() {
  if (current_ < 0) return false;
  const Node cur = nodes_[static_cast<size_t>(current_)];
  --count_;
  if (count_ == 0) {
    current_ = -1;
    return true;
  }
  nodes_[static_cast<size_t>(cur.Prev)].Next = cur.Next;
  nodes_[static_cast<size_t>(cur.Next)].Prev = cur.Prev;
  current_ = cur.Next;
  return true;
}

void TCircleList::Next() {
  if (current_ >= 0) current_ = nodes_[static_cast<size_t>(current_)].Next;
}

void TCircleList::Clear() {
  nodes_.clear();
  current_ = -1;
  count_ = 0;
}

} // namespace velmora
