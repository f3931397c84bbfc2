// The gap ring: insertion beside the current node, deletion moving on, and walking.
#include <gtest/gtest.h>

#include "engine/circle_list.h"

namespace velmora {
namespace {

// Starts of the gaps from Current round the ring once; leaves Current where it was.
std::vector<int64_t> Walk(TCircleList& ring) {
  std::vector<int64_t> starts;
  for (int32_t i = 0; i < ring.Count(); ++i) {
    starts.push_back(ring.Current().Start);
    ring.Next();
  }
  return starts;
}

TEST(CircleList, AddGoesBesideCurrentWhichStays) {
  TCircleList ring;
  EXPECT_TRUE(ring.Empty());
  ASSERT_TRUE(ring.Add({1, 1}, true));
  ASSERT_TRUE(ring.Add({2, 1}, true));  // after 1
  ASSERT_TRUE(ring.Add({3, 1}, true));  // after 1, before 2
  ASSERT_TRUE(ring.Add({4, 1}, false)); // before 1
  EXPECT_EQ(ring.Count(), 4);
  EXPECT_EQ(Walk(ring), (std::vector<int64_t>{1, 3, 2, 4}));
}

TEST(CircleList, DeleteMovesToTheFollowingNode) {
  TCircleList ring;
  ring.Add({1, 1}, true);
  ring.Add({3, 1}, true);
  ring.Add({2, 1}, true);
  ring.Next(); // at 2
  ASSERT_TRUE(ring.Delete());
  EXPECT_EQ(ring.Current().Start, 3);
  EXPECT_EQ(Walk(ring), (std::vector<int64_t>{3, 1}));
  ASSERT_TRUE(ring.Delete());
  ASSERT_TRUE(ring.Delete());
  EXPECT_TRUE(ring.Empty());
  EXPECT_EQ(ring.Count(), 0);
  EXPECT_FALSE(ring.Delete());
  ring.Next(); // harmless on an empty ring
  ASSERT_TRUE(ring.Add({9, 1}, false));
  EXPECT_EQ(Walk(ring), std::vector<int64_t>{9});
}

TEST(CircleList, OneNodeIsItsOwnNeighbour) {
  TCircleList ring;
  ring.Add({5, 7}, true);
  ring.Next();
  ring.Next();
  EXPECT_EQ(ring.Current().Start, 5);
  ring.Current().Length = 2;
  EXPECT_EQ(ring.Current().Length, 2);
  ring.Clear();
  EXPECT_TRUE(ring.Empty());
}

} // namespace
} // namespace velmora
