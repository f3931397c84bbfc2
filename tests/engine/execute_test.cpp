// Every opcode under every modifier: what it writes, where the process goes next, and
// whether it dies. Each case runs on the display path and on both fast paths.
#include "tests/engine/step_case.h"

namespace velmora::test {
namespace {

using S = StepCase;
const HarnessOptions kOneProcess = [] {
  HarnessOptions o;
  o.MaxProcesses = 1;
  return o;
}();

const std::vector<StepCase> kOpcodeCases = {
    // DAT dies under every modifier; nothing is written.
    S{{"DAT.F $0, $0"}, {}, {}},
    S{{"DAT.A #1, #2"}, {}, {}},
    S{{"DAT.NONE $1, $1"}, {}, {}},

    // MOV: A value (3,4) into B target (5,6).
    S{{"MOV.A $1, $2", "DAT $3, $4", "DAT $5, $6"}, {{2, "DAT $3, $6"}}, {1}},
    S{{"MOV.B $1, $2", "DAT $3, $4", "DAT $5, $6"}, {{2, "DAT $5, $4"}}, {1}},
    S{{"MOV.AB $1, $2", "DAT $3, $4", "DAT $5, $6"}, {{2, "DAT $5, $3"}}, {1}},
    S{{"MOV.BA $1, $2", "DAT $3, $4", "DAT $5, $6"}, {{2, "DAT $4, $6"}}, {1}},
    S{{"MOV.F $1, $2", "DAT $3, $4", "DAT $5, $6"}, {{2, "DAT $3, $4"}}, {1}},
    S{{"MOV.X $1, $2", "DAT $3, $4", "DAT $5, $6"}, {{2, "DAT $4, $3"}}, {1}},
    S{{"MOV.I $1, $2", "ADD.AB #3, @4", "DAT $5, $6"}, {{2, "ADD.AB #3, @4"}}, {1}},
    S{{"MOV.I $0, $1"}, {{1, "MOV.I $0, $1"}}, {1}},
    S{{"MOV.NONE $1, $2", "DAT $3, $4", "DAT $5, $6"}, {}, {1}},

    // ADD: A value (3,4), B value (5,-1); results wrap once.
    S{{"ADD.A $1, $2", "DAT $3, $4", "DAT $5, $-1"}, {{2, "DAT $8, $-1"}}, {1}},
    S{{"ADD.B $1, $2", "DAT $3, $4", "DAT $5, $-1"}, {{2, "DAT $5, $3"}}, {1}},
    S{{"ADD.AB $1, $2", "DAT $3, $4", "DAT $5, $-1"}, {{2, "DAT $5, $2"}}, {1}},
    S{{"ADD.BA $1, $2", "DAT $3, $4", "DAT $5, $-1"}, {{2, "DAT $9, $-1"}}, {1}},
    S{{"ADD.F $1, $2", "DAT $3, $4", "DAT $5, $-1"}, {{2, "DAT $8, $3"}}, {1}},
    S{{"ADD.I $1, $2", "DAT $3, $4", "DAT $5, $-1"}, {{2, "DAT $8, $3"}}, {1}},
    S{{"ADD.X $1, $2", "DAT $3, $4", "DAT $5, $-1"}, {{2, "DAT $9, $2"}}, {1}},
    S{{"ADD.NONE $1, $2", "DAT $3, $4", "DAT $5, $-1"}, {}, {1}},
    S{{"ADD.AB #4, $3", "DAT $0, $0", "DAT $0, $0", "DAT $0, $-2"}, {{3, "DAT $0, $2"}}, {1}},

    // SUB: B value (1,2) minus A value (3,4); negative results gain the core size once.
    S{{"SUB.A $1, $2", "DAT $3, $4", "DAT $1, $2"}, {{2, "DAT $-2, $2"}}, {1}},
    S{{"SUB.B $1, $2", "DAT $3, $4", "DAT $1, $2"}, {{2, "DAT $1, $-2"}}, {1}},
    S{{"SUB.AB $1, $2", "DAT $3, $4", "DAT $1, $2"}, {{2, "DAT $1, $-1"}}, {1}},
    S{{"SUB.BA $1, $2", "DAT $3, $4", "DAT $1, $2"}, {{2, "DAT $-3, $2"}}, {1}},
    S{{"SUB.F $1, $2", "DAT $3, $4", "DAT $1, $2"}, {{2, "DAT $-2, $-2"}}, {1}},
    S{{"SUB.I $1, $2", "DAT $3, $4", "DAT $1, $2"}, {{2, "DAT $-2, $-2"}}, {1}},
    S{{"SUB.X $1, $2", "DAT $3, $4", "DAT $1, $2"}, {{2, "DAT $-3, $-1"}}, {1}},
    S{{"SUB.NONE $1, $2", "DAT $3, $4", "DAT $1, $2"}, {}, {1}},
    S{{"SUB.B $1, $2", "DAT $0, $1", "DAT $0, $0"}, {{2, "DAT $0, $-1"}}, {1}},

    // MUL: A value (3,4), B value (5,2000), modulo 8000.
    S{{"MUL.A $1, $2", "DAT $3, $4", "DAT $5, $2000"}, {{2, "DAT $15, $2000"}}, {1}},
    S{{"MUL.B $1, $2", "DAT $3, $4", "DAT $5, $2000"}, {{2, "DAT $5, $0"}}, {1}},
    S{{"MUL.AB $1, $2", "DAT $3, $4", "DAT $5, $2000"}, {{2, "DAT $5, $6000"}}, {1}},
    S{{"MUL.BA $1, $2", "DAT $3, $4", "DAT $5, $2000"}, {{2, "DAT $20, $2000"}}, {1}},
    S{{"MUL.F $1, $2", "DAT $3, $4", "DAT $5, $2000"}, {{2, "DAT $15, $0"}}, {1}},
    S{{"MUL.I $1, $2", "DAT $3, $4", "DAT $5, $2000"}, {{2, "DAT $15, $0"}}, {1}},
    S{{"MUL.X $1, $2", "DAT $3, $4", "DAT $5, $2000"}, {{2, "DAT $20, $6000"}}, {1}},
    S{{"MUL.NONE $1, $2", "DAT $3, $4", "DAT $5, $2000"}, {}, {1}},

    // DIV: B value (10,9) by A value (3,2); a zero divisor kills after writing the other half.
    S{{"DIV.A $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $3, $9"}}, {1}},
    S{{"DIV.B $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $10, $4"}}, {1}},
    S{{"DIV.AB $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $10, $3"}}, {1}},
    S{{"DIV.BA $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $5, $9"}}, {1}},
    S{{"DIV.F $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $3, $4"}}, {1}},
    S{{"DIV.I $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $3, $4"}}, {1}},
    S{{"DIV.X $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $5, $3"}}, {1}},
    S{{"DIV.NONE $1, $2", "DAT $0, $0", "DAT $10, $9"}, {}, {1}},
    S{{"DIV.F $1, $2", "DAT $0, $3", "DAT $10, $9"}, {{2, "DAT $10, $3"}}, {}},
    S{{"DIV.I $1, $2", "DAT $2, $0", "DAT $10, $9"}, {{2, "DAT $5, $9"}}, {}},
    S{{"DIV.X $1, $2", "DAT $0, $3", "DAT $10, $9"}, {{2, "DAT $3, $9"}}, {}},
    S{{"DIV.A $1, $2", "DAT $0, $3", "DAT $10, $9"}, {}, {}},
    S{{"DIV.B $1, $2", "DAT $3, $0", "DAT $10, $9"}, {}, {}},
    S{{"DIV.AB $1, $2", "DAT $0, $3", "DAT $10, $9"}, {}, {}},
    S{{"DIV.BA $1, $2", "DAT $3, $0", "DAT $10, $9"}, {}, {}},

    // MOD: the same pattern with the remainder.
    S{{"MOD.A $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $1, $9"}}, {1}},
    S{{"MOD.B $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $10, $1"}}, {1}},
    S{{"MOD.AB $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $10, $0"}}, {1}},
    S{{"MOD.BA $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $0, $9"}}, {1}},
    S{{"MOD.F $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $1, $1"}}, {1}},
    S{{"MOD.I $1, $2", "DAT $3, $2", "DAT $10, $9"}, {{2, "DAT $1, $1"}}, {1}},
    S{{"MOD.X $1, $2", "DAT $3, $4", "DAT $10, $9"}, {{2, "DAT $2, $0"}}, {1}},
    S{{"MOD.NONE $1, $2", "DAT $0, $0", "DAT $10, $9"}, {}, {1}},
    S{{"MOD.A $1, $2", "DAT $0, $2", "DAT $10, $9"}, {}, {}},
    S{{"MOD.F $1, $2", "DAT $3, $0", "DAT $10, $9"}, {{2, "DAT $1, $9"}}, {}},

    // JMP goes to the A address under any modifier.
    S{{"JMP.B $5, $0"}, {}, {5}},
    S{{"JMP.NONE $-3, $0"}, {}, {-3}},
    S{{"JMP.B @1, $0", "DAT $0, $4"}, {}, {5}},

    // JMZ and JMN test the B value (0,3) or (0,0) or (1,1).
    S{{"JMZ.A $5, $1", "DAT $0, $3"}, {}, {5}},
    S{{"JMZ.BA $5, $1", "DAT $0, $3"}, {}, {5}},
    S{{"JMZ.B $5, $1", "DAT $0, $3"}, {}, {1}},
    S{{"JMZ.AB $5, $1", "DAT $0, $3"}, {}, {1}},
    S{{"JMZ.F $5, $1", "DAT $0, $3"}, {}, {1}},
    S{{"JMZ.F $5, $1", "DAT $0, $0"}, {}, {5}},
    S{{"JMZ.X $5, $1", "DAT $0, $0"}, {}, {5}},
    S{{"JMZ.I $5, $1", "DAT $3, $0"}, {}, {1}},
    S{{"JMZ.NONE $5, $1", "DAT $0, $0"}, {}, {1}},
    S{{"JMN.A $5, $1", "DAT $0, $3"}, {}, {1}},
    S{{"JMN.BA $5, $1", "DAT $0, $3"}, {}, {1}},
    S{{"JMN.B $5, $1", "DAT $0, $3"}, {}, {5}},
    S{{"JMN.AB $5, $1", "DAT $0, $3"}, {}, {5}},
    S{{"JMN.F $5, $1", "DAT $0, $3"}, {}, {5}},
    S{{"JMN.X $5, $1", "DAT $3, $0"}, {}, {5}},
    S{{"JMN.I $5, $1", "DAT $0, $0"}, {}, {1}},
    S{{"JMN.NONE $5, $1", "DAT $1, $1"}, {}, {1}},

    // DJN decrements the target and jumps unless the value read before was 1.
    S{{"DJN.B $5, $1", "DAT $7, $1"}, {{1, "DAT $7, $0"}}, {1}},
    S{{"DJN.B $5, $1", "DAT $7, $2"}, {{1, "DAT $7, $1"}}, {5}},
    S{{"DJN.AB $5, $1", "DAT $3, $0"}, {{1, "DAT $3, $-1"}}, {5}},
    S{{"DJN.A $5, $1", "DAT $1, $5"}, {{1, "DAT $0, $5"}}, {1}},
    S{{"DJN.BA $5, $1", "DAT $3, $5"}, {{1, "DAT $2, $5"}}, {5}},
    S{{"DJN.F $5, $1", "DAT $1, $1"}, {{1, "DAT $0, $0"}}, {1}},
    S{{"DJN.X $5, $1", "DAT $1, $2"}, {{1, "DAT $0, $1"}}, {5}},
    S{{"DJN.I $5, $1", "DAT $2, $1"}, {{1, "DAT $1, $0"}}, {5}},
    S{{"DJN.NONE $5, $1", "DAT $2, $2"}, {}, {1}},
    S{{"DJN.B $5, #1"}, {{0, "DJN.B $5, #0"}}, {1}},

    // CMP and SEQ skip when equal: A value (1,2).
    S{{"CMP.A $1, $2", "DAT $1, $2", "DAT $1, $9"}, {}, {2}},
    S{{"CMP.B $1, $2", "DAT $1, $2", "DAT $9, $2"}, {}, {2}},
    S{{"CMP.B $1, $2", "DAT $1, $2", "DAT $9, $3"}, {}, {1}},
    S{{"CMP.AB $1, $2", "DAT $1, $2", "DAT $9, $1"}, {}, {2}},
    S{{"CMP.BA $1, $2", "DAT $1, $2", "DAT $2, $9"}, {}, {2}},
    S{{"CMP.F $1, $2", "DAT $1, $2", "DAT $1, $2"}, {}, {2}},
    S{{"CMP.F $1, $2", "DAT $1, $2", "DAT $1, $3"}, {}, {1}},
    S{{"CMP.X $1, $2", "DAT $1, $2", "DAT $2, $1"}, {}, {2}},
    S{{"CMP.I $1, $2", "DAT $1, $2", "DAT $1, $2"}, {}, {2}},
    S{{"CMP.I $1, $2", "DAT $1, $2", "DAT #1, $2"}, {}, {1}},
    S{{"CMP.I $1, $2", "DAT $1, $2", "MOV $1, $2"}, {}, {1}},
    S{{"CMP.I $1, $2", "DAT.F $1, $2", "DAT.X $1, $2"}, {}, {1}},
    S{{"CMP.NONE $1, $2", "DAT $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"SEQ.A $1, $2", "DAT $1, $2", "DAT $1, $9"}, {}, {2}},
    S{{"SEQ.X $1, $2", "DAT $1, $2", "DAT $2, $2"}, {}, {1}},
    S{{"SEQ.I $1, $2", "DAT $1, $2", "DAT $1, $2"}, {}, {2}},
    S{{"SEQ.I $1, $2", "DAT $1, $2", "DAT $1, $3"}, {}, {1}},

    // SNE skips when different.
    S{{"SNE.A $1, $2", "DAT $1, $2", "DAT $1, $9"}, {}, {1}},
    S{{"SNE.A $1, $2", "DAT $1, $2", "DAT $2, $2"}, {}, {2}},
    S{{"SNE.B $1, $2", "DAT $1, $2", "DAT $1, $3"}, {}, {2}},
    S{{"SNE.AB $1, $2", "DAT $1, $2", "DAT $2, $1"}, {}, {1}},
    S{{"SNE.BA $1, $2", "DAT $1, $2", "DAT $3, $1"}, {}, {2}},
    S{{"SNE.F $1, $2", "DAT $1, $2", "DAT $1, $3"}, {}, {2}},
    S{{"SNE.F $1, $2", "DAT $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"SNE.X $1, $2", "DAT $1, $2", "DAT $2, $1"}, {}, {1}},
    S{{"SNE.I $1, $2", "DAT $1, $2", "DAT #1, $2"}, {}, {2}},
    S{{"SNE.I $1, $2", "DAT $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"SNE.NONE $1, $2", "DAT $1, $2", "DAT $5, $6"}, {}, {1}},

    // SLT skips when less, comparing values 0..size-1 (so -1 is large).
    S{{"SLT.A $1, $2", "DAT $1, $2", "DAT $2, $0"}, {}, {2}},
    S{{"SLT.A $1, $2", "DAT $1, $2", "DAT $1, $9"}, {}, {1}},
    S{{"SLT.A $1, $2", "DAT $-1, $2", "DAT $5, $9"}, {}, {1}},
    S{{"SLT.B $1, $2", "DAT $1, $2", "DAT $0, $3"}, {}, {2}},
    S{{"SLT.AB $1, $2", "DAT $1, $2", "DAT $0, $2"}, {}, {2}},
    S{{"SLT.BA $1, $2", "DAT $1, $2", "DAT $3, $0"}, {}, {2}},
    S{{"SLT.F $1, $2", "DAT $1, $2", "DAT $2, $3"}, {}, {2}},
    S{{"SLT.F $1, $2", "DAT $1, $2", "DAT $2, $2"}, {}, {1}},
    S{{"SLT.I $1, $2", "DAT $1, $2", "DAT $2, $3"}, {}, {2}},
    S{{"SLT.X $1, $2", "DAT $1, $2", "DAT $3, $2"}, {}, {2}},
    S{{"SLT.NONE $1, $2", "DAT $1, $2", "DAT $2, $3"}, {}, {1}},

    // SPL queues the next instruction, then the new process.
    S{{"SPL.B $3, $0"}, {}, {1, 3}},
    S{{"SPL.B $0, $0"}, {}, {1, 0}},
    S{{"SPL.B $3, $0"}, {}, {1}, kOneProcess},

    // NOP, the pseudo-operations and unused codes do nothing.
    S{{"NOP.F $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"EQU.F $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"END.B $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"FOR.AB $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"ROF.A $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"ORG.F $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"PIN.F $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"OP25.F $1, $2", "DAT $1, $2"}, {}, {1}},
    S{{"OP31.NONE $1, $2", "DAT $1, $2"}, {}, {1}},
    // The wrap to address 0 after the last cell.
    S{{"NOP.F $0, $0"}, {}, {1}, {}, 7999},
};

class OpcodeTest : public ::testing::TestWithParam<std::tuple<StepCase, Path>> {};

TEST_P(OpcodeTest, WritesAndRequeuesAsDefined) {
  CheckStepCase(std::get<0>(GetParam()), std::get<1>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Opcodes, OpcodeTest,
                         ::testing::Combine(::testing::ValuesIn(kOpcodeCases),
                                            ::testing::ValuesIn(kAllPaths)),
                         StepCaseName);

TEST(Multiply, WrapsIn32BitsBeforeTheRemainder) {
  // 999999 x 999999 = 999998000001 wraps to -729379967 in 32 bits; its signed remainder by
  // 1000000 is -379967, which gains the core size: 620033.
  HarnessOptions o;
  o.CoreSize = 1000000;
  o.PSpaceSize = 16;
  for (Path p : kAllPaths) {
    Harness h(o);
    h.Put(10, {"MUL.A $1, $2", "DAT $999999, $0", "DAT $999999, $0"});
    h.Start(1, 10);
    StepOn(p, h.Core(), h.Warrior(1));
    EXPECT_EQ(h.At(12).AField, 620033) << PathName(p);
  }
}

} // namespace
} // namespace velmora::test
