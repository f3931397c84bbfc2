// P-space: blocks shared by PIN, LastResult of the first round and after a round, and the
// permutation offset reset by every compile.
#include <gtest/gtest.h>

#include "tests/tournament/battle_support.h"

namespace velmora::test {
namespace {

TEST(PSpace, SamePinSharesOneBlockAndNoPinHasItsOwn) {
  Battle b;
  b.Add("P7a", {"pin 7", "jmp 0"});
  b.Add("P7b", {"pin 7", "jmp 0"});
  b.Add("Free", {"jmp 0"});
  b.Add("P8", {"pin 8", "jmp 0"});
  b.Core->MinDistance = 10;
  b.Controller->NewBattle();
  ASSERT_EQ(b.Controller->State(), RunState::Stopped);
  EXPECT_EQ(b.Slot(1).PSpace, b.Slot(2).PSpace);
  EXPECT_NE(b.Slot(3).PSpace, b.Slot(1).PSpace);
  EXPECT_NE(b.Slot(4).PSpace, b.Slot(1).PSpace);
  EXPECT_EQ(b.Slot(1).PSpace->size(), static_cast<size_t>(b.Core->PSpaceSize));
  for (int k = 1; k <= 4; ++k)
    EXPECT_EQ(b.Slot(k).LastResult, b.Core->CoreSize - 1) << k;
}

TEST(PSpace, CompileClearsSharedBlocksAndTheOffset) {
  Battle b;
  b.Add("A", {"pin 3", "jmp 0"});
  b.Add("B", {"pin 3", "jmp 0"});
  b.Controller->NewBattle();
  (*b.Slot(1).PSpace)[4] = 99;
  b.Core->PermutationOffset = 12;
  ASSERT_TRUE(CompileWarriors(*b.Core));
  EXPECT_EQ((*b.Slot(2).PSpace)[4], 0);
  EXPECT_EQ(b.Slot(1).LastResult, -1);
  EXPECT_EQ(b.Core->PermutationOffset, 0);
}

// Reads P-space location 0 into its own B-field, then loops.
const std::vector<std::string> kReader = {"ldp.ab #0, 1", "jmp 0"};

TEST(PSpace, FirstRoundReadsCoreSizeMinusOneThenTheResult) {
  for (bool fast : {false, true}) {
    Battle b;
    b.Add("Reader", kReader);
    b.Add("Victim", {"nop 0, 0", "dat 0, 0"}); // dies on its second move
    b.Tour.Rec.TournamentType = RoundRobin;
    b.Tour.Rec.Rounds = 2;
    b.Tour.Rec.PauseBetweenRounds = true;
    b.Controller->SetMaxSpeed(fast);
    b.Controller->NewBattle();
    b.Controller->SingleStep();
    EXPECT_EQ(b.Core->Core[1].BField, 7999) << fast;
    b.Controller->RunLoop(); // the victim dies; the round pauses
    EXPECT_EQ(b.Slot(1).LastResult, 1);
    EXPECT_EQ(b.Slot(2).LastResult, 0);
    b.Controller->SingleStep(); // hands on the round, sets up the next
    b.Controller->SingleStep(); // its first cycle
    EXPECT_EQ(b.Core->Core[1].BField, 1) << "a sole survivor reads 1";
  }
}

} // namespace
} // namespace velmora::test
