// Instruction statements: parsing, default modifiers, standards checks, encoding, errors.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

// Default and explicit modifiers, modes, case and the KVRT 88 forms, as the second line of a
// source: {standard, line, its cell or the error it stops at}.
TEST(AssemblerStatements, AssembleToTheirCellsOrStop) {
  // clang-format off
  const struct {
    uint8_t Standard;
    const char *Source, *Expected;
  } cases[] = {
      {2, "mov 0, 1", "MOV.I $0, $1"}, {2, "mov #0, 1", "MOV.AB #0, $1"},
      {2, "mov 0, #1", "MOV.B $0, #1"}, {2, "mov #0, #1", "MOV.AB #0, #1"},
      {2, "cmp 0, 1", "CMP.I $0, $1"}, {2, "seq #1, 1", "SEQ.AB #1, $1"},
      {2, "sne 1, #1", "SNE.B $1, #1"}, {2, "add 1, #2", "ADD.B $1, #2"},
      {2, "add #1, 2", "ADD.AB #1, $2"}, {2, "sub 1, 2", "SUB.F $1, $2"},
      {2, "mul 1, 2", "MUL.F $1, $2"}, {2, "div #1, 2", "DIV.AB #1, $2"},
      {2, "mod 1, #2", "MOD.B $1, #2"}, {2, "slt 1, 2", "SLT.B $1, $2"},
      {2, "slt #1, 2", "SLT.AB #1, $2"}, {2, "slt 1, #2", "SLT.B $1, #2"},
      {2, "ldp #1, 2", "LDP.AB #1, $2"}, {2, "stp 1, 2", "STP.B $1, $2"},
      {2, "jmp 5", "JMP.B $5, $0"}, {2, "spl @5", "SPL.B @5, $0"}, {2, "nop 1", "NOP.F $1, $0"},
      {2, "jmz 1, 2", "JMZ.B $1, $2"}, {2, "jmn 1, 2", "JMN.B $1, $2"},
      {2, "djn 1, #2", "DJN.B $1, #2"}, {2, "dat 7", "DAT.F #0, $7"},
      {2, "dat #1, <2", "DAT.F #1, <2"}, {2, "dat -1", "DAT.F #0, $-1"},
      {1, "nop 1, 2", "NOP.F $1, $2"}, {2, "mov.ab 0, 1", "MOV.AB $0, $1"},
      {2, "MOV.BA 0, 1", "MOV.BA $0, $1"}, {2, "Mov.X 0, 1", "MOV.X $0, $1"},
      {2, "add.a #1, 2", "ADD.A #1, $2"}, {2, "mov.none #0, 1", "MOV.AB #0, $1"},
      {1, "jmp.f 1", "JMP.F $1, $0"}, {2, "mov *1, {2", "MOV.I *1, {2"},
      {2, "mov >1, }2", "MOV.I >1, }2"}, {2, "mov @1, <2", "MOV.I @1, <2"},
      {2, "mov $1, $2", "MOV.I $1, $2"}, {2, "mov 1, 2, 3", "MOV.I $1, $2"},
      {2, "mov (#1), 2", "MOV.AB #1, $2"}, {2, "mov -#1, 2", "MOV.AB #-1, $2"},
      {2, "mov 0 , 1 ", "MOV.I $0, $1"}, {2, "mov -1, -8001", "MOV.I $-1, $-8001"},
      {2, "dat 2147483648, 4294967295", "DAT.F $-2147483648, $-1"}, {0, "mov 0, 1", "MOV.I $0, $1"},
      {0, "mov #0, 1", "MOV.AB #0, $1"}, {0, "dat #0, #1", "DAT.F #0, #1"},
      {0, "dat <1", "DAT.F #0, <1"}, {0, "jmp @1", "JMP.B @1, $0"}, {0, "spl 1", "SPL.B $1, $0"},
      {0, "djn 1, <2", "DJN.B $1, <2"}, {0, "cmp #1, 2", "CMP.AB #1, $2"},
      {0, "jmz 1, #0", "JMZ.B $1, #0"},
      {2, "move 0, 1", "Bad Opcode"}, {2, "mov.q 0, 1", "Bad Modifier"},
      {2, "mov 0", "Missing operand"}, {2, "nop", "Bad Operand"}, {2, "mov 0,", "Bad Operand"},
      {2, "mov 0, foo", "Undefined Symbol"}, {2, "mov #$0, 1", "OpMode set twice"},
      {1, "ldp 1, 2", "Standards violation (Opcode)"}, {1, "pin 1", "Standards violation (Opcode)"},
      {0, "mul 2, 3", "Standards violation (Opcode)"},
      {0, "mov.ab 0, 1", "Standards violation (Modifier)"},
      {0, "mov }1, 2", "Standards violation (Opmode)"},
      {0, "mov 1, (>2)", "Standards violation (Opmode)"}, {0, "dat 7", "Illegal address mode"},
      {0, "dat @1, #1", "Illegal address mode"}, {0, "mov 1, #2", "Illegal address mode"},
      {0, "add 1, #2", "Illegal address mode"}, {0, "cmp 1, #2", "Illegal address mode"},
      {0, "jmp #1", "Illegal address mode"}, {0, "djn #1, 1", "Illegal address mode"},
      {2, "equ 1, 2", "Unhandled modifier translation"}, {2, "mov 1, 2 3", "Bad Operand"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Source);
    AsmFixture f(c.Standard);
    const uint8_t status = f.Assemble({"dat #0", c.Source});
    const std::string& error = status == 2 ? "" : f.Errors.at(0);
    EXPECT_EQ(status == 2 ? f.Code() : error.substr(0, error.find(" in line 2: ")),
              status == 2 ? "DAT.F #0, #0 | " + std::string(c.Expected) : c.Expected)
        << error;
  }
}

TEST(AssemblerStatements, ASourceGivesItsErrorsStatusAndCells) {
  AsmFixture f;
  // An unknown first word is taken for a label, so the line reads without it; the error shows
  // the line without its labels, and the failed line keeps its cell.
  EXPECT_EQ(
      f.Result({"; a comment", "dat 0", "  mov 0, 1", "badop 1, 2", "dat 1"}),
      "Bad Opcode in line 3:  1, 2 | DAT.F #0, $0 | MOV.I $0, $1 | DAT.A #0, #0 | DAT.F #0, $1");
  EXPECT_EQ(f.W().WarriorStatus, 1);
  EXPECT_EQ(f.Result({"start mov 0, foo"}),
            "Undefined Symbol in line 1:  mov 0, foo | DAT.A #0, #0");
  const uint32_t before = f.Checksum;
  EXPECT_EQ(f.Result({"; nothing", ";name x", "", "*junk", "1 dat 0"}), "status 0: ");
  EXPECT_EQ(f.W().WarriorStatus, 0);
  EXPECT_EQ(f.Checksum, before);
  // A warrior too long is reported, and still encoded.
  f.Core->MaxLength = 2;
  f.W().Name = "Big";
  EXPECT_EQ(f.Result({"dat 1", "dat 2", "dat 3"}),
            "status 1: DAT.F #0, $1 | DAT.F #0, $2 | DAT.F #0, $3");
  EXPECT_EQ(f.Platform.Messages, Lines{"Warrior Big length of 3 exceeds size limit"});
  // Division by zero aborts the whole assembly.
  EXPECT_THROW(f.Assemble({"dat 0", "dat 1/0", "dat 2"}), EArithmeticError);
  EXPECT_EQ(f.W().WarriorStatus, 1);
}

TEST(AssemblerStatements, CellsCarryTheWarriorsColourAndExecuteMarker) {
  AsmFixture f;
  while (f.Core->Warriors.size() < 10)
    f.Core->AddWarrior();
  const std::pair<int, uint8_t> cases[] = {{9, 0x11}, {1, 0x11}, {0, 0x10}}; // 9 reuses colour 1
  for (const auto& [warrior, marker] : cases) {
    f.Core->Warriors[size_t(warrior)]->Source = {"dat 0"};
    ASSERT_EQ(AssembleWarrior(*f.Core, warrior, f.Errors, f.Checksum, true), 2);
    EXPECT_EQ(f.Core->Warriors[size_t(warrior)]->Code[0].Marker, marker) << warrior;
  }
  EXPECT_EQ(f.Core->Warriors[0]->Pin, -1); // the editor's warrior shares no P-space
}

// The checksum sums the bytes of the three words of every cell into two 16-bit halves.
uint32_t ReferenceChecksum(uint32_t start, const std::vector<CoreCell>& cells) {
  uint32_t s1 = start & 0xFFFF, s2 = start >> 16;
  for (const CoreCell& c : cells) {
    uint32_t words[3] = {c.OpcodeModifier * 256u + c.Modes, static_cast<uint32_t>(c.AField),
                         static_cast<uint32_t>(c.BField)};
    for (uint32_t w : words)
      for (int i = 0; i < 4; ++i) {
        s1 = (s1 + ((w >> (8 * i)) & 0xFF)) % 65536;
        s2 = (s2 + s1) % 65536;
      }
  }
  return (s2 << 16) | s1;
}

TEST(AssemblerChecksum, SumsTheBytesOfEveryCompiledCellAndChains) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"mov 0, 1", "dat #-1, 7"}), 2);
  const uint32_t first = f.Checksum;
  EXPECT_EQ(first, ReferenceChecksum(1, {f.Cell(0), f.Cell(1)}));
  ASSERT_EQ(f.Assemble({"jmp 0"}), 2);
  EXPECT_EQ(f.Checksum, ReferenceChecksum(first, {f.Cell(0)}));
  f.Checksum = 1; // a failed line is skipped
  EXPECT_EQ(f.Assemble({"mov 0, 1", "mov 0, nowhere"}), 1);
  EXPECT_EQ(f.Checksum, ReferenceChecksum(1, {f.Cell(0)}));
}

} // namespace
} // namespace velmora::test
