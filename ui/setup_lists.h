#pragma once
// The Setup dialog's warrior list operations on its own copies. The challenger list always
// shows the warrior list's names in the same order, so these work on the one vector.

#include <cstdint>
#include <vector>

#include "tournament/tournament.h"

namespace velmora {

// The chosen challenger and entry 0 exchange places: the challenger of a challenge
// tournament is always the first listed warrior. An index out of range changes nothing.
void MoveChallengerFirst(std::vector<TWarriorData>& list, int32_t index);

// Removes the entries at the given positions (any order; repeats and positions out of range
// are ignored). Returns the entry to select afterwards: the one before the lowest removed
// entry, entry 0 when that was the first, -1 when the list is empty.
int32_t RemoveWarriorEntries(std::vector<TWarriorData>& list, std::vector<int32_t> positions);

// Alphabetical by name, ignoring letter case; warriors of equal names keep their order.
void SortWarriorsByName(std::vector<TWarriorData>& list);

// A working record for "New": ID 0, "No Name", "Anonymous", no file and no source.
TWarriorData NewWarriorRecord();

} // namespace velmora
