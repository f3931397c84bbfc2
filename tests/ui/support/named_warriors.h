#pragma once
// List entries with only a name and a file name, for tests of the list logic.

#include <initializer_list>
#include <string>
#include <vector>

#include "tournament/tournament.h"

namespace velmora::test {

inline std::vector<TWarriorData> Named(std::initializer_list<const char*> names) {
  std::vector<TWarriorData> list;
  for (const char* n : names) {
    TWarriorData w;
    w.Name = n;
    w.FileName = std::string(n) + ".red";
    list.push_back(w);
  }
  return list;
}

} // namespace velmora::test
