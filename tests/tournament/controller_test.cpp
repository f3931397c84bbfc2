// The run controller: whole battles from source, replays under fixed and checksum seeds,
// early draws, status texts, breakpoints, pauses and speeds; and the custom initial
// instruction through the assembler.
#include <gtest/gtest.h>

#include "battle_support.h"

namespace velmora::test {
namespace {

// Written for these tests: a bomber that drops a DAT on every fifth cell, and a paper-like
// replicator that keeps copying itself.
const std::vector<std::string> kBomber = {";name Bomber", "top   add #5, bomb",
                                          "      mov bomb, @bomb", "      jmp top",
                                          "bomb  dat #0, #5"};
const std::vector<std::string> kReplicator = {
    ";name Replicator",    "src   spl 1",        "      mov #5, cnt",    "copy  mov <cnt, <dst",
    "      djn copy, cnt", "      spl @dst",     "      add #1234, dst", "      jmp src",
    "cnt   dat #0, #0",    "dst   dat #0, #1700"};
const std::vector<std::string> kImp = {"mov 0, 1"};

struct Outcome {
  std::vector<int32_t> Wins, Losses;
  double Cycles;
  bool operator==(const Outcome&) const = default;
};

Outcome PlayTenRounds(int32_t seedMode) {
  TParamsRec p = BattleParams();
  p.SeedMode = seedMode;
  p.MaxCycles = 20000;
  Battle b(p);
  b.Add("Bomber", kBomber);
  b.Add("Replicator", kReplicator);
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.Rounds = 10;
  b.Controller->SetMaxSpeed(true);
  b.Controller->NewBattle();
  b.Controller->RunLoop();
  EXPECT_EQ(b.Controller->State(), RunState::Complete);
  const MatchupResult& r = b.Result(0, 1);
  EXPECT_EQ(r.RoundsPlayed, 10);
  return {r.SurvivorCounts, {r.Losses, b.Result(1, 0).Losses}, r.AverageCycles};
}

TEST(RunController, FixedAndChecksumSeedsReplayTheSameBattle) {
  for (int32_t seed : {4711, kSeedChecksum}) {
    const Outcome first = PlayTenRounds(seed);
    EXPECT_EQ(PlayTenRounds(seed), first) << seed;
    EXPECT_GT(first.Cycles, 0.0);
  }
}

TEST(RunController, ImpsDrawEarlyOnlyWithTheCheck) {
  for (bool check : {true, false}) {
    TParamsRec p = BattleParams();
    p.EarlyDrawCheck = check;
    p.MaxCycles = 10000;
    Battle b(p);
    b.Add("Imp1", kImp);
    b.Add("Imp2", kImp);
    b.Tour.Rec.TournamentType = RoundRobin;
    b.Tour.Rec.PauseBetweenRounds = true;
    b.Controller->SetMaxSpeed(true);
    b.Controller->NewBattle();
    b.Controller->RunLoop(); // top speed: batches of 2048 cycles
    EXPECT_EQ(b.Core->RoundState, kRoundDrawn);
    EXPECT_EQ(b.Core->CycleCount, check ? 2048 : 10000);
    EXPECT_EQ(b.Controller->StatusText(), "Drawn");
  }
}

TEST(RunController, StatusFollowsTheRound) {
  Battle b;
  b.Add("Looper", {"jmp 0"});
  b.Add("Victim", {"nop 0, 0", "nop 0, 0", "nop 0, 0", "nop 0, 0", "nop 0, 0", "nop 0, 0",
                   "dat 0, 0"}); // dies on its seventh move
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.Rounds = 2;
  b.Tour.Rec.PauseBetweenRounds = true;
  b.Core->DisplayLevel = 1;
  b.View.Speed = 3; // batches of 5 cycles
  b.Controller->NewBattle();
  EXPECT_EQ(b.Controller->State(), RunState::Stopped);
  EXPECT_EQ(b.Form.Inits, std::vector<bool>{true});
  EXPECT_EQ(b.Controller->StatusText(), "Stopped");
  std::vector<std::string> seen;
  b.View.OnEvents = [&] { seen.push_back(b.Controller->StatusText()); };
  b.Controller->RunLoop();
  EXPECT_EQ(seen, (std::vector<std::string>{"In progress", "Won by Looper"}));
  EXPECT_EQ(b.Controller->State(), RunState::Stopped) << "paused after the round";
  EXPECT_EQ(b.Controller->StatusText(), "Won by Looper");
  EXPECT_GE(b.Form.Updates, 1);
  b.Controller->StopBattle();
  EXPECT_EQ(b.View.Statuses, std::vector<std::string>{"Stopped"});
  b.Controller->RunLoop(); // records round 1, runs round 2
  b.Controller->RunLoop(); // records round 2: the end
  EXPECT_EQ(b.Controller->State(), RunState::Complete);
  EXPECT_EQ(b.Result(0, 1).SurvivorCounts[0], 2);
  const auto before = b.Core->CycleCount;
  b.Controller->SingleStep(); // nothing left to run
  EXPECT_EQ(b.Core->CycleCount, before);
}

TEST(RunController, BreakpointStopsTheRunAndNamesTheAddress) {
  Battle b;
  b.Add("Looper", {"top add #1, 2", ";break", "    jmp top", "    dat 0, 0"});
  b.Add("Idler", {"jmp 0"});
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Controller->NewBattle();
  b.Controller->RunLoop();
  EXPECT_EQ(b.Controller->State(), RunState::Stopped);
  EXPECT_EQ(b.Core->CycleCount, 1) << "the jmp is next after the first cycle";
  EXPECT_EQ(b.Controller->StatusText(), "Stopped at breakpoint @ 1");
  b.Controller->RunLoop(); // goes on: every pass stops again
  EXPECT_EQ(b.Core->CycleCount, 3);
  EXPECT_EQ(b.Core->HitList, std::vector<int32_t>{1});
  b.Controller->SingleStep();
  b.Controller->SingleStep();
  EXPECT_EQ(b.Core->CycleCount, 5);
  EXPECT_EQ(b.Controller->State(), RunState::Stopped);
}

TEST(RunController, TestExpressionStopsWhenTheDjnCounterReachesZero) {
  Battle b;
  b.Add("Counter", {"loop djn loop, cnt", "     jmp loop", "cnt  dat 0, 3"});
  b.Core->MinDistance = 10;
  b.Controller->NewBattle();
  TCore& c = *b.Core;
  c.BreakpointTypes[3] = TBreakpointRec{};
  c.BreakpointTypes[3].Test = true;
  c.BreakpointTypes[3].TestExpression = "B==0";
  c.BreakpointTypeCount = 4;
  c.Core[2].BreakpointType = 3;
  c.AddBreakpoint(2);
  b.Controller->RunLoop();
  EXPECT_EQ(c.CycleCount, 3);
  EXPECT_EQ(c.Core[2].BField, 0);
  EXPECT_EQ(c.HitList, std::vector<int32_t>{2});
}

TEST(RunController, SlowSpeedsLeaveTheRunToTheTimer) {
  Battle b;
  b.Add("Looper", {"jmp 0"});
  b.View.Speed = 0;
  b.Controller->NewBattle();
  b.Controller->RunLoop();
  EXPECT_EQ(b.Controller->State(), RunState::Running);
  EXPECT_EQ(b.Core->CycleCount, 0) << "no batch in the Start handler";
  EXPECT_TRUE(b.View.TimerOn);
  EXPECT_EQ(b.View.Interval, 250);
  b.Controller->TimerTick();
  EXPECT_EQ(b.Core->CycleCount, 1);
  // The track bar moves to 5: the next tick runs batches of 100 until Stop.
  b.View.Speed = 5;
  b.View.OnEvents = [&] { b.Controller->StopBattle(); };
  b.Controller->TimerTick();
  EXPECT_EQ(b.Core->CycleCount, 101);
  EXPECT_FALSE(b.View.TimerOn);
  EXPECT_EQ(b.Controller->State(), RunState::Stopped);
  b.Controller->TimerTick(); // a late tick runs nothing while stopped
  EXPECT_EQ(b.Core->CycleCount, 101);
}

TEST(RunController, SingleStepRunsOneCycleAndStaysStopped) {
  Battle b;
  b.Add("Looper", {"jmp 0"});
  b.Controller->NewBattle();
  b.Controller->SingleStep();
  b.Controller->SingleStep();
  EXPECT_EQ(b.Core->CycleCount, 2);
  EXPECT_EQ(b.Controller->State(), RunState::Stopped);
}

TEST(RunController, SingleStepStopsOnTheOutcomeThenSetsUpTheNextRound) {
  Battle b;
  b.Add("Looper", {"jmp 0"});
  b.Add("Victim", {"dat 0, 0"}); // dies on its first move
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.Rounds = 2;
  b.Controller->NewBattle();
  b.Controller->SingleStep();
  EXPECT_EQ(b.Controller->StatusText(), "Won by Looper");
  EXPECT_EQ(b.Controller->State(), RunState::Stopped);
  EXPECT_EQ(b.Result(0, 1).RoundsPlayed, 0);
  b.Controller->SingleStep(); // records the round and sets up the next: no cycle yet
  EXPECT_EQ(b.Result(0, 1).RoundsPlayed, 1);
  EXPECT_EQ(b.Core->RoundState, kRoundRunning);
  EXPECT_EQ(b.Core->CycleCount, 0);
  EXPECT_TRUE(b.Controller->ResultsReachable());
}

TEST(RunController, CompileFailuresAreListedTogetherBeforeAnyMatchup) {
  Battle b;
  b.Add("Good", {"jmp 0"});
  b.Add("Bad", {"frobnicate 1, 2"});
  b.Add("Worse", {"jmp undefined"});
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Controller->NewBattle();
  EXPECT_EQ(b.Controller->State(), RunState::Idle);
  EXPECT_EQ(b.View.Loaded, std::vector<bool>{false});
  ASSERT_EQ(b.Platform.Messages.size(), 1u);
  const std::string& m = b.Platform.Messages[0];
  EXPECT_EQ(m.find("Warrior Good"), std::string::npos) << m;
  EXPECT_NE(m.find("Warrior Bad failed to compile.\n    "), std::string::npos) << m;
  EXPECT_NE(m.find("Warrior Worse failed to compile.\n    "), std::string::npos) << m;
  EXPECT_TRUE(b.Tour.Rec.Results.empty());
  b.Controller->RunLoop();
  EXPECT_EQ(b.Core->CycleCount, 0);
}

TEST(RunController, EmptyListIsIdleAndWarriorsThatDoNotFitToo) {
  Battle b;
  b.Controller->NewBattle();
  EXPECT_EQ(b.Controller->State(), RunState::Idle);
  b.Add("A", {"jmp 0"});
  b.Add("B", {"jmp 0"});
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Core->MinDistance = 5000;
  b.Controller->NewBattle();
  EXPECT_EQ(b.Controller->State(), RunState::Idle);
  EXPECT_EQ(b.Platform.Messages, std::vector<std::string>{"Unable to fit warrior B into core"});
}

TEST(RunController, GaugesBelongToTheWarriorsInTheBattle) {
  Battle b;
  for (const char* name : {"A", "B", "C"})
    b.Add(name, {"spl 0", "jmp -1"});
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Controller->NewBattle();
  b.Controller->SingleStep();
  EXPECT_TRUE(b.Controller->GaugeActive(1));
  EXPECT_TRUE(b.Controller->GaugeActive(2));
  EXPECT_FALSE(b.Controller->GaugeActive(3));
  const auto gauges = b.Controller->ProcessGauges();
  ASSERT_EQ(gauges.size(), 2u);
  EXPECT_EQ(gauges[0].Gauge, 1);
  EXPECT_EQ(gauges[0].Processes, 2);
  EXPECT_EQ(gauges[1].Gauge, 2);
}

// A battle of one looping warrior on a small core with the given initial instruction.
struct CustomCore : Battle {
  explicit CustomCore(const std::string& instruction) {
    Core->InitialInstruction = instruction;
    Core->MinDistance = 10;
    Add("Loop", {"jmp 0"});
    Controller->NewBattle();
  }
};

TEST(InitialInstruction, OperandsComeFromTheTextCellByCell) {
  CustomCore b("DAT #ABSADDRESS, #-ABSADDRESS");
  ASSERT_EQ(b.Controller->State(), RunState::Stopped) << b.Platform.Messages.size();
  const int32_t size = b.Core->CoreSize;
  for (int32_t a = 1; a < size; ++a) {
    const CoreCell& c = b.Core->Core[size_t(a)];
    ASSERT_EQ(c.AField, a);
    ASSERT_EQ(c.BField, size - a);
    ASSERT_EQ(c.OpcodeModifier, kEmptyCellOpcodeModifier);
    ASSERT_EQ(c.Modes, 0x00) << "both immediate";
  }
  EXPECT_EQ(b.Core->LethalCount, size - 1);

  const std::tuple<const char*, Opcode, int32_t, int32_t> rows[] = {
      {"DAT 5", Opcode::DAT, 0, 5}, // a DAT's only operand is B
      {"SPL 7", Opcode::SPL, 7, 0}, // others get no B
      {"MOV ABSADDRESS*2, @-1 ; note", Opcode::MOV, 154, -1},
      {"DAT:3", Opcode::DAT, 0, 3}, // a colon reads as a blank
      {"JMP.B\t$ABSADDRESS,\t<4", Opcode::JMP, 77, 4}};
  for (const auto& [text, op, a, bf] : rows) {
    CustomCore c(text);
    ASSERT_EQ(c.Controller->State(), RunState::Stopped) << text;
    const CoreCell& cell = c.Core->Core[77];
    EXPECT_EQ(GetOpcode(cell), op) << text;
    EXPECT_EQ(cell.AField, ModCore(a, c.Core->CoreSize)) << text;
    EXPECT_EQ(cell.BField, ModCore(bf, c.Core->CoreSize)) << text;
    EXPECT_EQ(c.Core->LethalCount, IsLethal(op) ? c.Core->CoreSize - 1 : 0) << text;
  }
}

TEST(InitialInstruction, ErrorsReachTheUserAndWhatCanGoOnGoesOn) {
  CustomCore b("FOO 1"); // does not compile: the core stays, set-up goes on
  EXPECT_EQ(b.Platform.Messages,
            std::vector<std::string>{"Initial instruction failed to compile."});
  EXPECT_EQ(b.Controller->State(), RunState::Stopped);
  EXPECT_EQ(b.Core->RoundState, kRoundRunning);
  // "x DAT:5" compiles (x is a label) but its operand text starts at "DAT": an error of the
  // evaluator; a division by zero at address 0 is the other kind.
  for (const char* text : {"x DAT:5", "DAT 1/ABSADDRESS"}) {
    CustomCore c(text);
    ASSERT_EQ(c.Platform.Messages.size(), 1u) << text;
    EXPECT_TRUE(c.Platform.Messages[0] == "Undefined Symbol" ||
                c.Platform.Messages[0] == "Division by zero")
        << c.Platform.Messages[0];
    EXPECT_EQ(c.Controller->State(), RunState::Idle);
    EXPECT_EQ(c.Core->RoundState, kRoundIdle);
    c.Controller->SingleStep(); // nothing to run, nothing breaks
    EXPECT_EQ(c.Core->CycleCount, 0);
  }
  CustomCore n("NOP 0, 0"); // no lethal cells: the first batch is a draw
  n.Core->EarlyDrawCheck = true;
  n.Controller->SingleStep();
  EXPECT_EQ(n.Core->RoundState, kRoundDrawn);
  EXPECT_EQ(n.Controller->StatusText(), "Drawn");
}

} // namespace
} // namespace velmora::test
