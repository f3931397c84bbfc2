#pragma once
// Random battles for the property tests: random cells of every code, 1 to 4 warriors with
// random queues and P-space, random core sizes, limits equal to or below the core size.

#include <cstdint>
#include <random>

#include "tests/support/engine_harness.h"

namespace velmora::test {

struct RandomBattle {
  HarnessOptions Options;
  uint32_t Seed;
  bool KnownForms = false;  // half the cells take a form the fast path compiles on its own
  bool Breakpoints = false; // some cells carry breakpoints of every kind
};

RandomBattle DrawBattle(std::mt19937& rng);
// Fills a harness from the battle's seed: the same seed gives the same start.
void PopulateBattle(Harness& h, const RandomBattle& b);

} // namespace velmora::test
