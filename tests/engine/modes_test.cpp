// Address modes: pointers, their increments and decrements with wrap, the order in which
// the A operand's side effects reach the B operand, and folding by read and write limits.
#include "tests/engine/step_case.h"

namespace velmora::test {
namespace {

using S = StepCase;
HarnessOptions Limits(int32_t read, int32_t write) {
  HarnessOptions o;
  o.ReadLimit = read;
  o.WriteLimit = write;
  return o;
}

const std::vector<StepCase> kModeCases = {
    // Immediate operands address the instruction itself.
    S{{"MOV.AB #5, $1", "DAT $0, $0"}, {{1, "DAT $0, $5"}}, {1}},
    S{{"MOV.AB #5, #0"}, {{0, "MOV.AB #5, #5"}}, {1}},
    // Indirect through the B-field and the A-field.
    S{{"MOV.AB #5, @1", "DAT $0, $2", "DAT $0, $0", "DAT $0, $0"}, {{3, "DAT $0, $5"}}, {1}},
    S{{"MOV.AB #5, *1", "DAT $2, $0", "DAT $0, $0", "DAT $0, $0"}, {{3, "DAT $0, $5"}}, {1}},
    // Predecrement, with wrap from 0 to the last address.
    S{{"MOV.AB #5, <1", "DAT $0, $3", "DAT $0, $0"}, {{1, "DAT $0, $2"}, {3, "DAT $0, $5"}}, {1}},
    S{{"MOV.AB #5, {1", "DAT $3, $0", "DAT $0, $0"}, {{1, "DAT $2, $0"}, {3, "DAT $0, $5"}}, {1}},
    S{{"MOV.AB #9, <1", "DAT $0, $0"}, {{0, "MOV.AB #9, <9"}, {1, "DAT $0, $-1"}}, {1}},
    S{{"MOV.AB #9, {1", "DAT $0, $0"}, {{0, "MOV.AB #9, {9"}, {1, "DAT $-1, $0"}}, {1}},
    // Postincrement: the target is reached through the old value; the increment comes before
    // the write, and wraps from the last address to 0.
    S{{"MOV.AB #7, >1", "DAT $0, $2", "DAT $0, $0", "DAT $0, $0"},
      {{1, "DAT $0, $3"}, {3, "DAT $0, $7"}},
      {1}},
    S{{"MOV.AB #7, }1", "DAT $2, $0", "DAT $0, $0", "DAT $0, $0"},
      {{1, "DAT $3, $0"}, {3, "DAT $0, $7"}},
      {1}},
    S{{"MOV.AB #9, >1", "DAT $0, $-1"}, {{0, "MOV.AB #9, >9"}, {1, "DAT $0, $0"}}, {1}},
    S{{"MOV.AB #9, }1", "DAT $-1, $0"}, {{0, "MOV.AB #9, }9"}, {1, "DAT $0, $0"}}, {1}},
    // The B operand sees the A operand's increment: A reads cell 3, B then points at 4.
    S{{"MOV.I >1, @1", "DAT $0, $2", "DAT $0, $0", "SPL $0, $0", "DAT $0, $0"},
      {{1, "DAT $0, $3"}, {4, "SPL $0, $0"}},
      {1}},
    // The A value is copied before its own post-increment.
    S{{"MOV.I }1, $5", "DAT $0, $0"}, {{1, "DAT $1, $0"}, {5, "DAT $0, $0"}}, {1}},
    S{{"MOV.I >1, $5", "DAT $0, $0"}, {{1, "DAT $0, $1"}, {5, "DAT $0, $0"}}, {1}},
    // An immediate B operand reads the instruction as fetched, while the write goes to the
    // cell as the A operand left it: A = >0 points at cell 5 (7) and bumps the B-field to 6.
    S{{"ADD.AB >0, #5", "DAT $0, $0", "DAT $0, $0", "DAT $0, $0", "DAT $0, $0", "DAT $7, $0"},
      {{0, "ADD.AB >0, #12"}},
      {1}},
    // The B operand's predecrement is seen by the jump test.
    S{{"JMZ.B $4, <1", "DAT $0, $2", "DAT $0, $0"}, {{1, "DAT $0, $1"}}, {4}},

};

// Folding by read and write limits smaller than the core; the no-fold variant never runs
// with such limits.
const std::vector<StepCase> kFoldCases = {
    // Folding: MOV 0, 300 with limits of 400 writes to PC - 100.
    S{{"MOV.I $0, $300"}, {{-100, "MOV.I $0, $300"}}, {1}, Limits(400, 400)},
    // Only the read limit: A offset 300 reads PC - 100.
    S{{"MOV.I $300, $1"},
      {{1, "SPL.B $1, $1"}},
      {1},
      Limits(400, 8000),
      200,
      {{-100, "SPL.B $1, $1"}, {300, "JMP.B $0, $0"}}},
    // A jump goes to the folded A read address.
    S{{"JMP.B $300, $0"}, {}, {-100}, Limits(400, 400)},
    // Indirect with two pointers: reading via the pointer at +1 (B-field 250) folds 251 to
    // -149; the write limit is the core size, so the write pointer is the same cell.
    S{{"MOV.I @1, $5", "DAT $0, $250"},
      {{5, "SPL.B $1, $1"}},
      {1},
      Limits(400, 8000),
      300,
      {{-149, "SPL.B $1, $1"}, {251, "JMP.B $0, $0"}}},
    // The same through the write limit: the target folds, the read does not.
    S{{"MOV.AB #3, @1", "DAT $0, $250"}, {{-149, "DAT $0, $3"}}, {1}, Limits(8000, 400), 300},
};

class ModeTest : public ::testing::TestWithParam<std::tuple<StepCase, Path>> {};

TEST_P(ModeTest, AddressesAsDefined) {
  CheckStepCase(std::get<0>(GetParam()), std::get<1>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeTest,
                         ::testing::Combine(::testing::ValuesIn(kModeCases),
                                            ::testing::ValuesIn(kAllPaths)),
                         StepCaseName);

INSTANTIATE_TEST_SUITE_P(Folding, ModeTest,
                         ::testing::Combine(::testing::ValuesIn(kFoldCases),
                                            ::testing::Values(Path::Display, Path::FastFold)),
                         StepCaseName);

} // namespace
} // namespace velmora::test
