#pragma once
// Working state of one assembly and the small text helpers the assembler's files share.
// Internal to the assembler library.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "assembler/assembler.h"

namespace velmora {

// Byte classification on unsigned values, so Latin-1 bytes never reach <cctype>.
inline bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool IsIdentStart(char c) {
  return IsLetter(c) || c == '_';
}
inline bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsDigit(c);
}
inline bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}
inline char ToUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
std::string UpperCase(std::string s);
std::string Trim(const std::string& s);
bool StartsWith(const std::string& s, const char* prefix);

// The character at a 1-based position of the scanner's text; NUL beyond its end, so no
// scan can run past the text.
inline char CharAt(const AssemblyContext& ctx, int32_t pos) {
  if (pos < 1 || static_cast<size_t>(pos) > ctx.LineText.size()) return '\0';
  return ctx.LineText[static_cast<size_t>(pos) - 1];
}
inline char Cur(const AssemblyContext& ctx) {
  return CharAt(ctx, ctx.ScanPos);
}
// Skips spaces; true when text remains.
bool SkipBlanks(AssemblyContext& ctx);
// The scanner's text without its terminating NUL.
std::string CurrentText(const AssemblyContext& ctx);

// Guards against sources whose macros or loops would expand without bound.
inline constexpr size_t kMaxStatementLines = 1000000;
inline constexpr size_t kMaxLineLength = 65536;

struct Equate {
  std::string Name;
  std::vector<std::string> Lines;
};

// Where a per-line error is reported when the line it belongs to has left the list.
struct ErrorPlace {
  bool Set = false;
  int32_t LineNumber = 0;
  std::string Text;
};

struct AssemblyState {
  AssemblyState(TCore& c, int i) : Core(c), Ctx(c.Asm), Index(i), W(*c.Warriors[i]) {}
  TCore& Core;
  AssemblyContext& Ctx;
  int Index;
  TWarrior& W;

  std::vector<std::string> Lines; // the statement list
  std::vector<Equate> Equates;
  std::string PendingEquate; // the equate that "EQU" continuation lines extend
  // Multi-line expansions under way: name and index of its last line in Lines.
  std::vector<std::pair<std::string, int64_t>> Expansions;
  ErrorPlace Place;

  std::vector<std::string>* Errors = nullptr;
  uint8_t Status = 2;
  int32_t Length = 0;
  int32_t StartOffset = 0;
  int32_t Pin = 0;

  // Debug directives.
  bool DebugOn = true;
  bool TraceOn = false;
  bool MovableDefault = true;
  int DefaultType = 2;
  int CurrentType = 2;
  bool Marked = false;

  const Equate* FindEquate(const std::string& name) const;
  void AddError(const std::string& message, size_t index);
  // Statement list edits that keep the expansion stack pointing at the right lines.
  void EraseLines(size_t from, size_t to);
  void InsertLines(size_t at, const std::vector<std::string>& lines);
};

// Pass 2 (labels, equates, loops) and the substitution of one-line equates into LineText.
void ExpandStatements(AssemblyState& st);
void SubstituteEquates(AssemblyState& st);
// Pass 3's handling of ";debug", ";trace", ";break" and ";condition".
void ApplyDebugDirective(AssemblyState& st, const std::string& line);

} // namespace velmora
