// Expressions and instruction statements: precedence, wrapping, symbols, variables, default
// modifiers, standards checks, encoding, errors and the checksum.

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora::test {
namespace {

// In order, on one engine: variables keep their values from one expression to the next.
TEST(AssemblerEvaluator, ValuesAndErrors) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"2+3*4", "14"}, {"(2+3)*4", "20"}, {"2*-3", "-6"}, {"- -3", "3"}, {"-(2+3)", "-5"},
      {"8-2-1", "5"}, {"100/10/5", "2"}, {"2*3%4", "2"}, {"1+5%3", "3"}, {"-7/2", "-3"},
      {"-7%2", "-1"}, {"7%-2", "1"}, {"+5", "5"}, {"  12  ", "12"}, {"(1", "1"}, {"(1+2", "3"},
      {"1+(2", "3"}, {"((4))", "4"}, {"2*(3+4)*5", "70"}, {"10-(2-1)", "9"}, {"1,2", "1"},
      {"3;x", "3"}, {"!0", "1"}, {"!5", "0"}, {"!!7", "1"}, {"1<2<3", "1"}, {"3<2<1", "1"},
      {"3>2>1", "0"}, {"3&&4", "0"}, {"1||2", "3"}, {"6&&3", "2"}, {"1==1", "1"}, {"1!=1", "0"},
      {"2<=2", "1"}, {"2>=3", "0"}, {"-1<0", "1"}, {"1+1==2", "1"}, {"1==1&&2==2", "1"},
      {"0||1&&0", "0"}, {"1||1&&0", "1"}, {"5>3==1", "1"}, {"2147483647+1", "-2147483648"},
      {"0-2147483647-2", "2147483647"}, {"65536*65536", "0"}, {"65537*65537", "131073"},
      {"4294967295", "-1"}, {"4294967296", "0"}, {"-2147483648", "-2147483648"},
      {"-2147483647/-1", "2147483647"}, {"-2147483648%2", "0"}, {"2147483647*2", "-2"},
      {"VERSION", "230"}, {"CORESIZE", "8000"}, {"MAXLENGTH", "100"}, {"MAXPROCESSES", "8000"},
      {"MAXCYCLES", "80000"}, {"MINDISTANCE", "100"}, {"PSPACESIZE", "500"}, {"ROUNDS", "7"},
      {"READLIMIT", "8000"}, {"WRITELIMIT", "8000"}, {"WARRIORS", "1"}, {"CURLINE", "0"},
      {"CORESIZE-1", "7999"}, {" MAXLENGTH+1", "101"}, {"x=5", "5"}, {"x*2", "10"}, {"y=x+1", "6"},
      {"(z=3)+1", "4"}, {"z", "3"}, {"a=0", "0"}, {"b=1", "1"}, {"!a==b", "1"}, {"b=0", "0"},
      {"!a==b", "0"},
      // An assignment still pending at an error is dropped; one made before it is kept.
      {"q=9+", "compile: Bad Operand"}, {"q", "0"}, {"(q=9)+", "compile: Bad Operand"}, {"q", "9"},
      {"2 3", "compile: Bad Operand"}, {"2 & 3", "compile: Bad Operand"},
      {"2 | 3", "compile: Bad Operand"}, {"1)", "compile: Bad Operand"},
      {"", "compile: Bad Operand"},
      {"1+", "compile: Bad Operand"}, {"1 ? 2", "compile: Bad Operand"},
      {"\x80", "compile: Bad Operand"}, {"   ", "compile: Bad Operand"},
      {"1 ! 2", "compile: Bad Operator"}, {"coresize", "compile: Undefined Symbol"},
      {"X=1", "compile: Undefined Symbol"}, {"ab", "compile: Undefined Symbol"},
      {"3=1", "compile: Illegal variable assignment"},
      {"30+x=2", "compile: Illegal variable assignment"}, {"#$1", "compile: OpMode set twice"},
      {"1+#2", "compile: OpMode set twice"}, {"7/0", "arithmetic: Division by zero"},
      {"7%0", "arithmetic: Division by zero"}, {"1/(2-2)", "arithmetic: Division by zero"},
      {"-2147483648/-1", "arithmetic: Integer overflow"},
      {"-2147483648%-1", "arithmetic: Integer overflow"},
  };
  // clang-format on
  AsmFixture f;
  for (const auto& [text, outcome] : cases)
    EXPECT_EQ(f.Outcome(text), outcome) << text;
  AsmFixture kvrt(0);
  EXPECT_EQ(kvrt.Outcome("}1"), "compile: Standards violation (Opmode)");
}

TEST(AssemblerEvaluator, LabelsRandomAndLongTexts) {
  AsmFixture f;
  f.Core->Asm.Labels = {{"target", 5}, {"x", 1}, {"L", 1}, {"L", 4}, {"VERSION", 1}};
  EXPECT_EQ(f.Eval("target", 2), 3);
  EXPECT_EQ(f.Eval("target", 7), -2);
  EXPECT_EQ(f.Eval("CURLINE", 7), 7); // the instruction index
  EXPECT_EQ(f.Eval("L"), 4);          // the last label of a name wins
  EXPECT_EQ(f.Eval("VERSION"), 230);  // predefined symbols beat labels
  EXPECT_EQ(f.Outcome("x=1"), "compile: Illegal variable assignment");
  // RANDOM draws from the engine's generator.
  f.Core->Rng.Seed(12345);
  TRandom copy;
  copy.Seed(12345);
  EXPECT_EQ(f.Eval("RANDOM"), copy.Random(8000));
  EXPECT_EQ(f.Core->Rng.State, copy.State);
  EXPECT_EQ(f.Eval(std::string("4\0+5", 4)), 4); // an embedded NUL ends the text
  // Deep nesting and long chains; the stack refuses what goes beyond its room.
  EXPECT_EQ(f.Eval(std::string(5000, '(') + "1" + std::string(5000, ')')), 1);
  std::string chain = "1", deep;
  for (int i = 0; i < 5000; ++i)
    chain += "+1";
  EXPECT_EQ(f.Eval(chain), 5001);
  for (int i = 0; i < 40000; ++i)
    deep += "1+(";
  EXPECT_EQ(f.Outcome(deep + "1").rfind("compile: ", 0), 0u);
}

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
  EXPECT_EQ(f.Result({"; a comment", "dat 0", "  mov 0, 1", "badop 1, 2", "dat 1"}),
            "Bad Opcode in line 3:  1, 2 | DAT.F #0, $0 | MOV.I $0, $1 | - | DAT.F #0, $1");
  EXPECT_EQ(f.W().WarriorStatus, 1);
  EXPECT_EQ(f.Result({"start mov 0, foo"}), "Undefined Symbol in line 1:  mov 0, foo | -");
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
  AsmFixture old(0); // both passes read the opcode: its error is told once
  old.Assemble({"  mov.i $0, $1"});
  EXPECT_EQ(old.Errors, Lines{"Standards violation (Modifier) in line 1: mov.i $0, $1"});
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

// The checksum sums the bytes of the three words of every compiled cell into two 16-bit
// halves, from the value it is given.
TEST(AssemblerChecksum, SumsTheBytesOfEveryCompiledCellAndChains) {
  // mov.i $0,$1 = C1 11 / 0 / 1; dat.f #-1,$7 = 80 01 / ffffffff / 7.
  uint32_t s1 = 1, s2 = 0;
  for (uint32_t b : {0x11u, 0xC1u, 0u, 0u, 0u,    0u,    0u,    0u,    1u, 0u, 0u, 0u,
                     0x01u, 0x80u, 0u, 0u, 0xFFu, 0xFFu, 0xFFu, 0xFFu, 7u, 0u, 0u, 0u}) {
    s1 = (s1 + b) % 65536;
    s2 = (s2 + s1) % 65536;
  }
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"mov 0, 1", "dat #-1, 7"}), 2);
  EXPECT_EQ(f.Checksum, (s2 << 16) | s1);
  // The same in two parts, the second starting from the first's sum; a failed line is skipped.
  f.Checksum = 1;
  EXPECT_EQ(f.Assemble({"mov 0, 1", "mov 0, nowhere"}), 1);
  EXPECT_EQ(f.Assemble({"dat #-1, 7"}), 2);
  EXPECT_EQ(f.Checksum, (s2 << 16) | s1);
}

} // namespace
} // namespace velmora::test
