#pragma once
// Working state of one assembly and the small text helpers the assembler's files share.
// Internal to the assembler library.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
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

// Guards against sources whose macros or loops would expand without bound: the statements
// of the list, the length of one line, and the text that expansion produces in all (loop
// copies, lines of multi-line equates, and each line as it stands after every substitution
// of a one-line equate), which bounds the time and memory an assembly can take. A fuzzing
// build runs some fifty times slower and uses smaller bounds, so that every input stays far
// within its time limit.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
inline constexpr size_t kMaxStatementLines = 20000;
inline constexpr int64_t kMaxExpandedText = int64_t{1} << 19;
#else
inline constexpr size_t kMaxStatementLines = 1000000;
inline constexpr int64_t kMaxExpandedText = int64_t{64} << 20;
#endif
inline constexpr size_t kMaxLineLength = 65536;

// The statement list of an assembly. Pass 2 edits it only at the line it has come to or a
// little further on, so it is held as a gap buffer: the lines before the gap in order, those
// after it in reverse. An edit costs the lines it touches and the distance the gap moves,
// never the length of the whole list. Each line knows the 0-based source line it comes from
// (a loop's copies their body line, an equate's lines the line that called it), so that a
// message can point at the source.
class StatementList {
public:
  size_t size() const { return Before.size() + After.size(); }
  bool empty() const { return Before.empty() && After.empty(); }
  std::string& operator[](size_t k) { return At(k).Text; }
  const std::string& operator[](size_t k) const { return At(k).Text; }
  int32_t Origin(size_t k) const { return k < size() ? At(k).Origin : -1; }
  std::string& back() { return (*this)[size() - 1]; }
  void clear() {
    Before.clear();
    After.clear();
  }
  void push_back(std::string line, int32_t origin) {
    MoveGap(size());
    Before.push_back({std::move(line), origin});
  }
  // Removes lines from..to-1.
  void erase(size_t from, size_t to) {
    MoveGap(to);
    Before.resize(from);
  }
  // Puts lines before line at, line k from origins[k], or all from origins[0].
  void insert(size_t at, const std::vector<std::string>& lines,
              const std::vector<int32_t>& origins) {
    MoveGap(at);
    for (size_t k = lines.size(); k-- > 0;)
      After.push_back({lines[k], origins.size() == lines.size() ? origins[k] : origins.at(0)});
  }

private:
  struct Line {
    std::string Text;
    int32_t Origin;
  };
  Line& At(size_t k) {
    return k < Before.size() ? Before[k] : After[After.size() - 1 - (k - Before.size())];
  }
  const Line& At(size_t k) const {
    return k < Before.size() ? Before[k] : After[After.size() - 1 - (k - Before.size())];
  }
  void MoveGap(size_t k) {
    while (Before.size() > k) {
      After.push_back(std::move(Before.back()));
      Before.pop_back();
    }
    while (Before.size() < k) {
      Before.push_back(std::move(After.back()));
      After.pop_back();
    }
  }
  std::vector<Line> Before, After;
};

// The labels of ctx.Labels by name, each name's values in the order they were defined (the
// last one counts), so that a lookup takes constant time however many labels there are.
using LabelIndex = std::unordered_map<std::string, std::vector<int32_t>>;

// The value the hills give an expression where it differs from ours. The hills group an
// operator that follows one of higher precedence to the right: 10-8/2-4/2 is 10-(8/2-4/2)
// there, 8, and 4 here.
struct GroupingDifference {
  bool Found = false;
  int32_t Hills = 0;
};

// EvaluateExpression, LookupSymbol and ParseOperand with an index of ctx.Labels; a null
// index means searching ctx.Labels itself. With a grouping, the hills' value is computed
// too and reported there when it differs.
int32_t EvaluateExpression(TCore& core, const LabelIndex* labels,
                           GroupingDifference* grouping = nullptr);
bool LookupSymbol(TCore& core, std::string& name, int32_t& value, const LabelIndex* labels);
void ParseOperand(TCore& core, AddressMode& mode, int32_t& value, const LabelIndex* labels,
                  GroupingDifference* grouping = nullptr);

// The predefined names the hills lack: a warrior may define them as its own labels.
bool IsOwnableSymbol(const std::string& name);

struct Equate {
  std::string Name;
  std::vector<std::string> Lines;
};

// Where a per-line error is reported when the line it belongs to has left the list.
struct ErrorPlace {
  bool Set = false;
  int32_t LineNumber = 0;
  std::string Text;
  int32_t Origin = -1; // the source line
};

struct AssemblyState {
  AssemblyState(TCore& c, int i) : Core(c), Ctx(c.Asm), Index(i), W(*c.Warriors[i]) {}
  TCore& Core;
  AssemblyContext& Ctx;
  int Index;
  TWarrior& W;

  StatementList Lines;
  std::vector<Equate> Equates;
  std::unordered_map<std::string, size_t> EquateIndex; // the last equate of each name
  LabelIndex Labels;                                   // mirrors Ctx.Labels in passes 2 and 3
  std::string PendingEquate; // the equate that "EQU" continuation lines extend
  // Multi-line expansions under way: name and index of its last line in Lines.
  std::vector<std::pair<std::string, int64_t>> Expansions;
  ErrorPlace Place;

  std::vector<std::string>* Errors = nullptr;
  std::unordered_set<std::string> Reported; // the texts of *Errors
  std::vector<std::string> Warnings;
  std::vector<int32_t> WarningLines;      // the source line of each warning
  std::unordered_set<std::string> Warned; // the texts of Warnings
  size_t LineIndex = 0;       // the statement being processed, for the line of a warning
  std::string PendingCounter; // a label alone on its line, which a following FOR takes
  uint8_t Status = 2;
  int32_t Length = 0;
  int32_t StartOffset = 0;
  int32_t Pin = 0;
  int64_t ExpandedText = 0; // characters produced by expansion so far

  // Debug directives.
  bool DebugOn = true;
  bool TraceOn = false;
  bool MovableDefault = true;
  int DefaultType = 2;
  int CurrentType = 2;
  bool Marked = false;

  const Equate* FindEquate(const std::string& name) const;
  Equate* FindEquate(const std::string& name);
  void AddEquate(const std::string& name, const std::string& text);
  // Label edits of pass 2, made in Ctx.Labels and in the index alike.
  void AddLabel(const std::string& name, int32_t line);
  void RemoveLastLabel();
  void AddError(const std::string& message, size_t index);
  // "line N: message" for the statement being processed (once per text).
  void Warn(const std::string& message);
  void Warn(int32_t lineNumber, int32_t origin, const std::string& message);
  // EvaluateExpression and ParseOperand with this warrior's labels, warning where the
  // hills' grouping gives another value.
  int32_t Evaluate();
  void Operand(AddressMode& mode, int32_t& value);
  // Statement list edits that keep the expansion stack pointing at the right lines.
  void EraseLines(size_t from, size_t to);
  void InsertLines(size_t at, const std::vector<std::string>& lines,
                   const std::vector<int32_t>& origins);
  // The source line of the statement being processed, -1 when it has none.
  int32_t CurrentOrigin() const { return Place.Set ? Place.Origin : Lines.Origin(LineIndex); }
  // Counts characters produced by expansion; "Expansion too large" past kMaxExpandedText.
  void Expanded(size_t characters);
};

// Pass 2 (labels, equates, loops) and the substitution of one-line equates into LineText.
void ExpandStatements(AssemblyState& st);
void SubstituteEquates(AssemblyState& st);
// Pass 3's handling of ";debug", ";trace", ";break" and ";condition".
void ApplyDebugDirective(AssemblyState& st, const std::string& line);

} // namespace velmora
