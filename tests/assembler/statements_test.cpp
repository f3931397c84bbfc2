// Instruction statements: parsing, default modifiers, standards checks, encoding, errors.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

// Default and explicit modifiers, modes, case and the KVRT 88 forms: {standard, source, cell}.
TEST(AssemblerStatements, AssembleToTheirCells) {
  // clang-format off
  const struct {
    uint8_t Standard;
    const char *Source, *Cell;
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
      {2, "mov 0 , 1 ", "MOV.I $0, $1"},
      {2, "dat 2147483648, 4294967295", "DAT.F $-2147483648, $-1"}, {0, "mov 0, 1", "MOV.I $0, $1"},
      {0, "mov #0, 1", "MOV.AB #0, $1"}, {0, "dat #0, #1", "DAT.F #0, #1"},
      {0, "dat <1", "DAT.F #0, <1"}, {0, "jmp @1", "JMP.B @1, $0"}, {0, "spl 1", "SPL.B $1, $0"},
      {0, "djn 1, <2", "DJN.B $1, <2"}, {0, "cmp #1, 2", "CMP.AB #1, $2"},
      {0, "jmz 1, #0", "JMZ.B $1, #0"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Source);
    AsmFixture f(c.Standard);
    ASSERT_EQ(f.Assemble({c.Source}), 2) << (f.Errors.empty() ? "" : f.Errors[0]);
    EXPECT_EQ(f.W().CodeLength, 1);
    EXPECT_EQ(CellText(f.Cell(0)), c.Cell);
  }
}

TEST(AssemblerStatements, RejectedWithTheirMessages) {
  // clang-format off
  const struct {
    uint8_t Standard;
    const char *Source, *Message;
  } cases[] = {
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
    EXPECT_EQ(f.Assemble({"dat 0", c.Source}), 1);
    ASSERT_FALSE(f.Errors.empty());
    const std::string expected = std::string(c.Message) + " in line 2: ";
    EXPECT_EQ(f.Errors.back().substr(0, expected.size()), expected) << f.Errors.back();
  }
}

TEST(AssemblerStatements, ErrorLineCarriesPositionAndText) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"; a comment", "dat 0", "  mov 0, 1", "badop 1, 2", "dat 1"}), 1);
  ASSERT_EQ(f.Errors.size(), 1u);
  // An unknown first word is taken for a label, so the line reads without it.
  EXPECT_EQ(f.Errors[0], "Bad Opcode in line 3:  1, 2");
  // The failed line keeps its cell position.
  EXPECT_EQ(f.W().CodeLength, 4);
  EXPECT_EQ(CellText(f.Cell(3)), "DAT.F #0, $1");
  EXPECT_EQ(f.W().WarriorStatus, 1);
  // The error text shows the line without its labels.
  f.Errors.clear();
  EXPECT_EQ(f.Assemble({"start mov 0, foo"}), 1);
  ASSERT_EQ(f.Errors.size(), 1u);
  EXPECT_EQ(f.Errors[0], "Undefined Symbol in line 1:  mov 0, foo");
}

// The editor selects the source line a message comes from: the statement numbers in the
// texts count lines after comments go and loops and equates expand.
TEST(AssemblerStatements, MessagesKnowTheirSourceLines) {
  struct Case {
    std::vector<std::string> Source;
    std::vector<int32_t> ErrorLines, WarningLines;
  };
  const Case cases[] = {
      {{"; c", "", "  mov 0, 1", "  mov 0, 1 junk"}, {3}, {}},
      {{"i for 2", "  dat i", "  mov i, <nowhere", "  rof", "  mov 0, 1 junk"}, {2, 2, 4}, {}},
      {{"x equ mov 0, 1", "  equ mov 0, <nowhere", "; gap", "  x", "  dat 0 junk"}, {3, 4}, {}},
      {{"  dat 0", "  for 2", "  dat 1"}, {0}, {}}, // the message quotes the last line left
      {{"  dat 1, \\", "2", "  org", "  mov 0, 1 junk"}, {3}, {0, 2}},
  };
  for (const Case& c : cases) {
    AsmFixture f;
    f.Assemble(c.Source);
    const auto& w = f.W();
    EXPECT_EQ(w.ErrorLines, c.ErrorLines) << c.Source[0];
    EXPECT_EQ(w.WarningLines, c.WarningLines) << c.Source[0];
    EXPECT_EQ(w.ErrorLines.size(), f.Errors.size());
    EXPECT_EQ(w.WarningLines.size(), w.Warnings.size());
  }
}

TEST(AssemblerStatements, CommentsOnlyGiveStatusZeroAndNoErrors) {
  AsmFixture f;
  uint32_t before = f.Checksum;
  EXPECT_EQ(f.Assemble({"; nothing", ";name x", "", "*junk", "1 dat 0"}), 0);
  EXPECT_TRUE(f.Errors.empty());
  EXPECT_EQ(f.W().WarriorStatus, 0);
  EXPECT_EQ(f.Checksum, before);
}

TEST(AssemblerStatements, CellCarriesColourAndExecuteMarker) {
  AsmFixture f;
  while (f.Core->Warriors.size() < 10)
    f.Core->AddWarrior();
  f.Core->Warriors[9]->Source = {"dat 0"};
  uint32_t sum = 1;
  ASSERT_EQ(AssembleWarrior(*f.Core, 9, f.Errors, sum, true), 2);
  EXPECT_EQ(f.Core->Warriors[9]->Code[0].Marker, 0x11); // warrior 9 reuses colour 1
  ASSERT_EQ(f.Assemble({"dat 0"}), 2);
  EXPECT_EQ(f.Cell(0).Marker, 0x11);
  f.Core->Warriors[0]->Source = {"dat 0"};
  ASSERT_EQ(AssembleWarrior(*f.Core, 0, f.Errors, sum, true), 2);
  EXPECT_EQ(f.Core->Warriors[0]->Code[0].Marker, 0x10);
  EXPECT_EQ(f.Core->Warriors[0]->Pin, -1); // the editor's warrior shares no P-space
}

TEST(AssemblerStatements, ObjectCodeLayout) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"mov -1, -8001"}), 2);
  EXPECT_EQ(f.Cell(0).AField, -1); // negative fields stay raw
  EXPECT_EQ(f.Cell(0).BField, -8001);
  ASSERT_EQ(f.Assemble({"spl.x *3, }4"}), 2); // packed bytes follow the cell layout
  EXPECT_EQ(f.Cell(0).OpcodeModifier, (5 << 5) | 9);
  EXPECT_EQ(f.Cell(0).Modes, (5 << 4) | 7);
  EXPECT_EQ(f.Cell(0).BreakpointType, 0);
  ASSERT_EQ(f.Assemble({"dat 1", "dat 2", "dat 3"}), 2); // the buffer holds one cell more
  EXPECT_EQ(f.W().Code.size(), 4u);
  EXPECT_EQ(f.W().Pin, -1);
  EXPECT_EQ(f.W().StartOffset, 0);
}

TEST(AssemblerStatements, TooLongWarriorIsReportedButStillEncoded) {
  AsmFixture f;
  f.Core->MaxLength = 2;
  f.W().Name = "Big";
  EXPECT_EQ(f.Assemble({"dat 1", "dat 2", "dat 3"}), 1);
  EXPECT_TRUE(f.Errors.empty());
  ASSERT_EQ(f.Platform.Messages.size(), 1u);
  EXPECT_EQ(f.Platform.Messages[0], "Warrior Big length of 3 exceeds size limit");
  EXPECT_EQ(f.W().CodeLength, 3);
  EXPECT_EQ(f.Cell(2).BField, 3);
}

TEST(AssemblerStatements, DivisionByZeroAbortsTheWholeAssembly) {
  AsmFixture f;
  f.W().Source = {"dat 0", "dat 1/0", "dat 2"};
  EXPECT_THROW(AssembleWarrior(*f.Core, 1, f.Errors, f.Checksum, true), EArithmeticError);
  EXPECT_EQ(f.W().WarriorStatus, 1);
}

TEST(AssemblerStatements, ParsingOpcodesAndModes) {
  AsmFixture f;
  Opcode op;
  Modifier mod;
  SetLineText(f.Core->Asm, "  label mov");
  EXPECT_FALSE(ParseOpcode(*f.Core, false, op, mod));
  EXPECT_EQ(f.Core->Asm.ScanPos, 1);
  SetLineText(f.Core->Asm, " Djn.BA 1");
  EXPECT_TRUE(ParseOpcode(*f.Core, false, op, mod));
  EXPECT_EQ(op, Opcode::DJN);
  EXPECT_EQ(mod, Modifier::BA);
  EXPECT_EQ(f.Core->Asm.ScanPos, 8);
  // A mode defaults to direct.
  SetLineText(f.Core->Asm, " 5");
  EXPECT_EQ(ParseMode(*f.Core), AddressMode::Direct);
  EXPECT_FALSE(f.Core->Asm.ModeSeen);
  SetLineText(f.Core->Asm, " }5");
  EXPECT_EQ(ParseMode(*f.Core), AddressMode::APostincrement);
  EXPECT_TRUE(f.Core->Asm.ModeSeen);
  SetLineText(f.Core->Asm, "   ");
  EXPECT_THROW(ParseMode(*f.Core), ECompileError);
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

TEST(AssemblerChecksum, MatchesTheByteSumsAndChains) {
  AsmFixture f;
  f.Checksum = 1;
  ASSERT_EQ(f.Assemble({"mov 0, 1", "dat #-1, 7"}), 2);
  uint32_t first = f.Checksum;
  EXPECT_EQ(first, ReferenceChecksum(1, {f.Cell(0), f.Cell(1)}));
  // mov.i $0,$1 = C1 11 / 0 / 1; dat.f #-1,$7 = 80 01 / ffffffff / 7.
  uint32_t s1 = 1, s2 = 0;
  for (uint32_t b : {0x11u, 0xC1u, 0u, 0u, 0u,    0u,    0u,    0u,    1u, 0u, 0u, 0u,
                     0x01u, 0x80u, 0u, 0u, 0xFFu, 0xFFu, 0xFFu, 0xFFu, 7u, 0u, 0u, 0u}) {
    s1 = (s1 + b) % 65536;
    s2 = (s2 + s1) % 65536;
  }
  EXPECT_EQ(first, (s2 << 16) | s1);
  ASSERT_EQ(f.Assemble({"jmp 0"}), 2);
  EXPECT_EQ(f.Checksum, ReferenceChecksum(first, {f.Cell(0)}));
}

TEST(AssemblerChecksum, SkipsFailedLinesButStillRuns) {
  AsmFixture f;
  EXPECT_EQ(f.Assemble({"mov 0, 1", "mov 0, nowhere"}), 1);
  EXPECT_EQ(f.Checksum, ReferenceChecksum(1, {f.Cell(0)}));
}

} // namespace
} // namespace velmora::test
