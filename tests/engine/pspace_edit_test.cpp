// P-space as the debugger edits it: location 0 is LastResult, fills wrap at the block's end,
// values are reduced into the core, a shared block keeps each warrior's own location 0.
#include <gtest/gtest.h>

#include <climits>

#include "engine/pspace_edit.h"
#include "tests/support/engine_harness.h"

namespace velmora::test {
namespace {

TEST(PSpaceEdit, LocationZeroIsTheLastResult) {
  Harness h;
  TWarrior& w = h.Warrior(1);
  w.LastResult = 7999;
  (*w.PSpace)[0] = 3;
  (*w.PSpace)[1] = 4;
  EXPECT_EQ(PSpaceValue(w, 0), 7999);
  EXPECT_EQ(PSpaceValue(w, 1), 4);
  EXPECT_EQ(PSpaceLocations(w), 500);
}

TEST(PSpaceEdit, FillsWrapFromTheLastLocationToZero) {
  struct Row {
    const char* what;
    int32_t location, value, count;
    std::vector<int32_t> written; // locations that must hold the stored value
    int32_t stored;
  };
  const Row rows[] = {
      {"one cell", 7, 12, 1, {7}, 12},
      {"location 0", 0, 5, 1, {0}, 5},
      {"across the end", 499, 9, 3, {499, 0, 1}, 9},
      {"minus one", 10, -1, 2, {10, 11}, 7999},
      {"beyond the core", 3, 8001, 1, {3}, 1},
  };
  for (const Row& r : rows) {
    Harness h;
    TWarrior& w = h.Warrior(1);
    w.LastResult = 42;
    ASSERT_TRUE(FillPSpace(w, r.location, r.value, r.count, 8000)) << r.what;
    for (int32_t l = 0; l < 500; ++l) {
      const bool written = std::find(r.written.begin(), r.written.end(), l) != r.written.end();
      EXPECT_EQ((*w.PSpace)[static_cast<size_t>(l)], written ? r.stored : 0)
          << r.what << " at " << l;
    }
    const bool zero = std::find(r.written.begin(), r.written.end(), 0) != r.written.end();
    EXPECT_EQ(w.LastResult, zero ? r.stored : 42) << r.what;
  }
}

TEST(PSpaceEdit, AHugeFillCountWritesEveryLocationOnce) {
  Harness h;
  TWarrior& w = h.Warrior(1);
  ASSERT_TRUE(FillPSpace(w, 250, 6, INT32_MAX, 8000));
  for (int32_t v : *w.PSpace)
    EXPECT_EQ(v, 6);
  EXPECT_EQ(w.LastResult, 6);
}

TEST(PSpaceEdit, BadRequestsWriteNothing) {
  Harness h;
  TWarrior& w = h.Warrior(1);
  EXPECT_FALSE(FillPSpace(w, 500, 1, 1, 8000));
  EXPECT_FALSE(FillPSpace(w, -1, 1, 1, 8000));
  EXPECT_FALSE(FillPSpace(w, 0, 1, 0, 8000));
  EXPECT_FALSE(FillPSpace(w, 0, 1, 1, 0));
  for (int32_t v : *w.PSpace)
    EXPECT_EQ(v, 0);
  w.PSpace.reset();
  EXPECT_EQ(PSpaceLocations(w), 0);
  EXPECT_FALSE(FillPSpace(w, 0, 1, 1, 8000));
}

TEST(PSpaceEdit, SharersSeeTheSameCellsButTheirOwnLocationZero) {
  HarnessOptions o;
  o.Warriors = 2;
  Harness h(o);
  TWarrior& a = h.Warrior(1);
  TWarrior& b = h.Warrior(2);
  b.PSpace = a.PSpace;
  a.LastResult = 1;
  b.LastResult = 0;
  ASSERT_TRUE(FillPSpace(a, 0, 5, 2, 8000));
  EXPECT_EQ(PSpaceValue(b, 1), 5);
  EXPECT_EQ(PSpaceValue(a, 0), 5);
  EXPECT_EQ(PSpaceValue(b, 0), 0);
}

} // namespace
} // namespace velmora::test
