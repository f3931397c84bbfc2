// The custom initial instruction through the assembler: operands per cell with ABSADDRESS,
// the DAT-only-operand rule, lethal counts, and errors that reach every caller as a message.
#include <gtest/gtest.h>

#include "tests/tournament/battle_support.h"

namespace velmora::test {
namespace {

// A battle of one looping warrior on a small core with the given initial instruction.
struct CustomCore : Battle {
  explicit CustomCore(const std::string& instruction) {
    Core->InitialInstruction = instruction;
    Core->MinDistance = 10;
    Add("Loop", {"jmp 0"});
    Controller->NewBattle();
  }
};

TEST(InitialInstruction, AbsAddressNumbersEveryCell) {
  CustomCore b("DAT #ABSADDRESS, #-ABSADDRESS");
  ASSERT_EQ(b.Controller->State(), RunState::Stopped) << b.Platform.Messages.size();
  const int32_t size = b.Core->CoreSize;
  for (int32_t a = 1; a < size; ++a) {
    const CoreCell& c = b.Core->Core[static_cast<size_t>(a)];
    ASSERT_EQ(c.AField, a);
    ASSERT_EQ(c.BField, size - a);
    ASSERT_EQ(c.OpcodeModifier, kEmptyCellOpcodeModifier);
    ASSERT_EQ(c.Modes, 0x00) << "both immediate";
  }
  EXPECT_EQ(b.Core->LethalCount, size - 1);
}

struct FieldsCase {
  const char* Text;
  Opcode Op;
  int32_t A, B;
};
class InitialInstructionFields : public testing::TestWithParam<FieldsCase> {};

TEST_P(InitialInstructionFields, OperandsComeFromTheText) {
  const FieldsCase& c = GetParam();
  CustomCore b(c.Text);
  ASSERT_EQ(b.Controller->State(), RunState::Stopped);
  const CoreCell& cell = b.Core->Core[77];
  EXPECT_EQ(GetOpcode(cell), c.Op);
  EXPECT_EQ(cell.AField, ModCore(c.A, b.Core->CoreSize));
  EXPECT_EQ(cell.BField, ModCore(c.B, b.Core->CoreSize));
  EXPECT_EQ(b.Core->LethalCount, IsLethal(c.Op) ? b.Core->CoreSize - 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, InitialInstructionFields,
    testing::Values(FieldsCase{"DAT 5", Opcode::DAT, 0, 5}, // a DAT's only operand is B
                    FieldsCase{"SPL 7", Opcode::SPL, 7, 0}, // others get no B
                    FieldsCase{"MOV ABSADDRESS*2, @-1 ; note", Opcode::MOV, 154, -1},
                    FieldsCase{"DAT:3", Opcode::DAT, 0, 3}, // a colon reads as a blank
                    FieldsCase{"JMP.B\t$ABSADDRESS,\t<4", Opcode::JMP, 77, 4}));

TEST(InitialInstruction, TextThatDoesNotCompileKeepsTheCoreAndGoesOn) {
  CustomCore b("FOO 1");
  EXPECT_EQ(b.Platform.Messages,
            std::vector<std::string>{"Initial instruction failed to compile."});
  EXPECT_EQ(b.Controller->State(), RunState::Stopped) << "set-up goes on";
  EXPECT_EQ(b.Core->RoundState, kRoundRunning);
}

TEST(InitialInstruction, OperandErrorsReachTheCallerAsAMessageAndIdle) {
  // "x DAT:5" compiles (x is a label) but its operand text starts at "DAT": an error of the
  // evaluator; a division by zero at address 0 is the other kind.
  for (const char* text : {"x DAT:5", "DAT 1/ABSADDRESS"}) {
    CustomCore b(text);
    ASSERT_EQ(b.Platform.Messages.size(), 1u) << text;
    EXPECT_TRUE(b.Platform.Messages[0] == "Undefined Symbol" ||
                b.Platform.Messages[0] == "Division by zero")
        << b.Platform.Messages[0];
    EXPECT_EQ(b.Controller->State(), RunState::Idle);
    EXPECT_EQ(b.Core->RoundState, kRoundIdle);
    b.Controller->SingleStep(); // nothing to run, nothing breaks
    EXPECT_EQ(b.Core->CycleCount, 0);
  }
}

TEST(InitialInstruction, NoLethalCellsMakeTheFirstBatchADraw) {
  CustomCore b("NOP 0, 0");
  b.Core->EarlyDrawCheck = true;
  b.Controller->SingleStep();
  EXPECT_EQ(b.Core->RoundState, kRoundDrawn);
  EXPECT_EQ(b.Controller->StatusText(), "Drawn");
}

} // namespace
} // namespace velmora::test
