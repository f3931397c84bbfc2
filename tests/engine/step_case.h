#pragma once
// Runs one instruction from hand-placed cells on every execution path and compares the whole
// core and the warrior's queue with what the case expects.

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/engine_harness.h"

namespace velmora::test {

struct StepCase {
  std::vector<std::string> Cells;                   // placed from the PC on
  std::vector<std::pair<int, std::string>> Changes; // offset from the PC, new contents
  std::vector<int> Queue;                           // offsets from the PC; empty: died
  HarnessOptions Options = {};
  int Pc = 100;
  std::vector<std::pair<int, std::string>> Extra = {}; // further cells, by offset
};

inline void CheckStepCase(const StepCase& sc, Path path) {
  Harness h(sc.Options);
  h.Put(sc.Pc, sc.Cells);
  for (const auto& [offset, text] : sc.Extra)
    h.Put(sc.Pc + offset, {text});
  h.Start(1, sc.Pc);
  std::vector<CoreCell> expected(h.Core().Core.begin(), h.Core().Core.begin() + h.Core().CoreSize);
  for (const auto& [offset, text] : sc.Changes)
    expected[static_cast<size_t>(h.Wrap(sc.Pc + offset))] = ParseCell(text, h.Core().CoreSize);

  StepOn(path, h.Core(), h.Warrior(1));

  for (int32_t a = 0; a < h.Core().CoreSize; ++a)
    ASSERT_TRUE(SameInstruction(h.At(a), expected[static_cast<size_t>(a)]))
        << "cell " << a - sc.Pc << " from the PC is " << CellText(h.At(a)) << ", expected "
        << CellText(expected[static_cast<size_t>(a)]);
  std::vector<int32_t> queue;
  for (int offset : sc.Queue)
    queue.push_back(h.Wrap(sc.Pc + offset));
  EXPECT_EQ(h.Core().QueueEntries(h.Warrior(1)), queue);
  EXPECT_EQ(h.Warrior(1).Alive, !sc.Queue.empty());
}

// Gives each case a readable test name: its first cell.
inline std::string StepCaseName(const ::testing::TestParamInfo<std::tuple<StepCase, Path>>& info) {
  std::string name = std::get<0>(info.param).Cells.front() + "_" +
                     PathName(std::get<1>(info.param)) + "_" + std::to_string(info.index);
  for (char& ch : name)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

} // namespace velmora::test
