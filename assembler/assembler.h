#pragma once
// The Redcode assembler: the expression evaluator, the statement assembler with its
// pseudo-operations and directive comments, the compilation of a battle's warriors, warrior
// source files and the text renderings of object code. All working state lives in the
// engine object (its AssemblyContext) or in the call itself.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/cell.h"
#include "engine/core.h"

namespace velmora {

// A fault in one source line: the assembler reports it against the line and goes on.
class ECompileError : public std::runtime_error {
public:
  explicit ECompileError(const std::string& message) : std::runtime_error(message) {}
};

// Division by zero or overflow while evaluating. Deliberately not an ECompileError: it
// aborts the whole assembly and reaches the caller's error report.
class EArithmeticError : public std::runtime_error {
public:
  explicit EArithmeticError(const std::string& message) : std::runtime_error(message) {}
};

// --- Expressions (on core.Asm) ------------------------------------------------------------
// Evaluates the expression at Asm.ScanPos of Asm.LineText. On return ScanPos stands just
// after the ",", ";" or NUL that ended it.
int32_t EvaluateExpression(TCore& core);
// Reads the identifier at ScanPos into name; true with value for a predefined symbol or a
// label (a label's number minus CurLine).
bool LookupSymbol(TCore& core, std::string& name, int32_t& value);
// One or more decimal digits, wrapping.
int32_t ReadNumber(TCore& core);
// Replaces the scanner's text: text plus the terminating NUL, ScanPos 1.
void SetLineText(AssemblyContext& ctx, const std::string& text);

// --- Statements ---------------------------------------------------------------------------
// Reads an opcode word and its modifier at ScanPos. An unknown word raises "Bad Opcode" when
// raise is set, else returns false and leaves ScanPos where it was.
bool ParseOpcode(TCore& core, bool raise, Opcode& op, Modifier& mod);
AddressMode ParseMode(TCore& core);
// Mode and value of one operand.
void ParseOperand(TCore& core, AddressMode& mode, int32_t& value);

// Assembles warrior index of the engine into its object code. Returns the status left in
// WarriorStatus: 0 nothing to assemble, 1 errors (one line each in errors), 2 compiled.
// checksum is chained through every encoded cell. Arithmetic errors propagate.
uint8_t AssembleWarrior(TCore& core, int index, std::vector<std::string>& errors,
                        uint32_t& checksum, bool clearLabels);

// Creates (or reuses) a breakpoint type from a ";break"/";condition" argument.
int RegisterBreakpointType(TCore& core, const std::string& argument, bool movableDefault);

// Evaluates the test expression of a cell's breakpoint type with A, B, a, b bound to its
// fields. Any error is shown and counts as false.
bool EvaluateOperandTest(TCore& core, const CoreCell& cell);
// Lets the engine evaluate breakpoint test expressions and fill the core with a custom
// initial instruction through this library.
void InstallAssembler(TCore& core);

// --- Initial instruction ------------------------------------------------------------------
// Compiles text as the engine's private warrior 0, with ABSADDRESS defined as 0. True when
// it compiled to at least one cell.
bool CompileInitialInstruction(TCore& core, const std::string& text);
// Fills cells 0..CoreSize-1 with the engine's custom InitialInstruction, each operand
// evaluated with ABSADDRESS = the cell's address; lethal counts DAT, DIV and MOD. False when
// the text does not compile. A missing operand raises ECompileError "Bad Operand".
bool FillCustomInstruction(TCore& core, int32_t& lethal);

// --- Battle compilation ---------------------------------------------------------------------
// Compiles warriors 1..NumWarriors, gives each its P-space and seeds the random generator.
// False after telling the user which warrior stopped it.
bool CompileWarriors(TCore& core);
// The P-space step for warrior index right after it compiled: a fresh zeroed block, shared
// with an earlier warrior of the same non-negative PIN. False when memory runs out.
bool AllocatePSpace(TCore& core, int index);

// --- Files and renderings -------------------------------------------------------------------
// Reads a warrior source; finds ";name" and ";author". Never throws: failures are shown,
// among them a file that is not a regular file or holds more than 16 MiB.
void ReadWarriorFile(TPlatform& platform, const std::string& fileName,
                     std::vector<std::string>& lines, std::string& author, std::string& name);
// The name a file gives a warrior that declares none.
std::string NameFromFileName(const std::string& fileName);

std::string FormatObjectLine(int32_t index, int32_t warriorNumber, const CoreCell& cell);
std::string FormatSourceLine(int32_t index, bool isStart, const CoreCell& cell, uint8_t standard);
std::vector<std::string> ObjectCodeListing(const TWarrior& warrior, int32_t warriorNumber);
std::vector<std::string> RestoredSourceListing(const TWarrior& warrior, uint8_t standard);
// A source that reassembles into the same object code, start offset and PIN.
std::vector<std::string> LoadFileLines(const TWarrior& warrior, const std::string& name,
                                       uint8_t standard);

} // namespace velmora
