#include "ui/setup_lists.h"

#include <algorithm>
#include <cctype>

namespace velmora {

void MoveChallengerFirst(std::vector<TWarriorData>& list, int32_t index) {
  if (index <= 0 || size_t(index) >= list.size()) return;
  std::swap(list[0], list[size_t(index)]);
}

int32_t RemoveWarriorEntries(std::vector<TWarriorData>& list, std::vector<int32_t> positions) {
  std::erase_if(positions, [&](int32_t p) { return p < 0 || size_t(p) >= list.size(); });
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  if (positions.empty()) return list.empty() ? -1 : 0;
  // From the last to the first, so the positions still to go stay valid.
  for (auto p = positions.rbegin(); p != positions.rend(); ++p)
    list.erase(list.begin() + *p);
  if (list.empty()) return -1;
  return std::max(positions.front() - 1, 0);
}

namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

} // namespace

void SortWarriorsByName(std::vector<TWarriorData>& list) {
  std::stable_sort(list.begin(), list.end(), [](const TWarriorData& a, const TWarriorData& b) {
    return LessIgnoringCase(a.Name, b.Name);
  });
}

TWarriorData NewWarriorRecord() {
  TWarriorData w;
  w.ID = 0;
  w.Name = "No Name";
  w.Author = "Anonymous";
  return w;
}

} // namespace velmora
