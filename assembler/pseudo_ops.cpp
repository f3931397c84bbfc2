// Pass 2 of an assembly: labels, one-line and multi-line equates, FOR/ROF loops with their
// counter, ";assert"; and the textual substitution of one-line equates.

#include <algorithm>
#include <cstdio>
#include <unordered_set>
#include <utility>

#include "assembler/assembly_state.h"

namespace velmora {

namespace {

// The identifier starting at index pos of s (empty when none starts there).
std::string IdentifierAt(const std::string& s, size_t pos) {
  size_t e = pos;
  if (e < s.size() && IsIdentStart(s[e]))
    while (e < s.size() && IsIdentChar(s[e]))
      ++e;
  return s.substr(pos, e - pos);
}

// The name of a multi-line equate call when the line is nothing but an equate's name.
const Equate* MultiLineCall(const AssemblyState& st, const std::string& line, size_t from) {
  size_t p = from;
  while (p < line.size() && line[p] == ' ')
    ++p;
  std::string name = IdentifierAt(line, p);
  if (name.empty() || p + name.size() != line.size()) return nullptr;
  return st.FindEquate(name);
}

// Replaces line at with the equate's lines, guarding against an equate that calls itself.
void ExpandCall(AssemblyState& st, size_t at, const Equate& eq) {
  const auto first = static_cast<int64_t>(at);
  std::erase_if(st.Expansions, [&](const auto& e) { return e.second < first; });
  for (const auto& e : st.Expansions)
    if (e.first == eq.Name) throw ECompileError("Recursive reference");
  std::vector<std::string> lines = eq.Lines; // the table may grow while they are processed
  size_t n = lines.size();
  if (st.Lines.size() + n > kMaxStatementLines)
    throw ECompileError("Too many statements after expansion");
  for (const std::string& line : lines)
    st.Expanded(line.size() + 1);
  const int32_t origin = st.Lines.Origin(at);
  st.Lines.erase(at, at + 1);
  st.Lines.insert(at, lines, {origin});
  const auto grow = static_cast<int64_t>(n) - 1;
  for (auto& e : st.Expansions)
    e.second += grow;
  st.Expansions.emplace_back(eq.Name, first + grow);
}

bool IsOpcodeWord(AssemblyState& st, const std::string& line, size_t pos, Opcode& op) {
  SetLineText(st.Ctx, line);
  st.Ctx.ScanPos = static_cast<int32_t>(pos) + 1;
  Modifier mod;
  return ParseOpcode(st.Core, false, op, mod);
}

// The opcode word after the first space of a loop body line, upper case.
std::string SecondWord(const std::string& line) {
  size_t p = line.find(' ');
  if (p == std::string::npos) return {};
  while (p < line.size() && line[p] == ' ')
    ++p;
  size_t e = p;
  while (e < line.size() && line[e] != ' ' && line[e] != '.')
    ++e;
  return UpperCase(line.substr(p, e - p));
}

// Replaces the loop counter in one body line for pass k. Occurrences inside longer words
// are left alone; "&name" becomes k with two digits at least, and so does a name right
// after a number ("999z" is 99901 in pass 1), which afterNumber then reports.
std::string ReplaceCounter(const std::string& line, const std::string& name, int32_t k,
                           bool& afterNumber) {
  if (name.empty()) return line;
  // Work on wide characters so the placeholder for skipped occurrences can never collide
  // with a byte of the source.
  constexpr int kPlaceholder = 256;
  std::vector<int> s(line.begin(), line.end());
  for (int& c : s)
    c = static_cast<unsigned char>(c);
  std::vector<int> pattern(name.begin(), name.end());
  auto isWordChar = [](int c) { return c < 128 && IsIdentChar(static_cast<char>(c)); };
  char buf[16];
  for (;;) {
    auto it = std::search(s.begin(), s.end(), pattern.begin(), pattern.end());
    if (it == s.end()) break;
    size_t pos = static_cast<size_t>(it - s.begin());
    size_t end = pos + pattern.size();
    int before = pos > 0 ? s[pos - 1] : -1;
    int after = end < s.size() ? s[end] : -1;
    // Digits that belong to a number, not to the end of a longer name.
    size_t first = pos;
    while (first > 0 && s[first - 1] >= '0' && s[first - 1] <= '9')
      --first;
    const bool number =
        first < pos && (first == 0 || (!isWordChar(s[first - 1]) && s[first - 1] != kPlaceholder));
    // A placeholder stands for the name, a word: "ii" with counter i stays "ii".
    if (!(number && !isWordChar(after)) &&
        (isWordChar(before) || before == kPlaceholder || before == '.' || isWordChar(after))) {
      s.erase(s.begin() + static_cast<std::ptrdiff_t>(pos),
              s.begin() + static_cast<std::ptrdiff_t>(end));
      s.insert(s.begin() + static_cast<std::ptrdiff_t>(pos), kPlaceholder);
      continue;
    }
    size_t from = pos;
    if (number) {
      std::snprintf(buf, sizeof buf, "%2.2d", k);
      afterNumber = true;
    } else if (before == '&') {
      std::snprintf(buf, sizeof buf, "%2.2d", k);
      from = pos - 1;
    } else {
      std::snprintf(buf, sizeof buf, "%d", k);
    }
    s.erase(s.begin() + static_cast<std::ptrdiff_t>(from),
            s.begin() + static_cast<std::ptrdiff_t>(end));
    std::string digits(buf);
    s.insert(s.begin() + static_cast<std::ptrdiff_t>(from), digits.begin(), digits.end());
    if (s.size() > kMaxLineLength) throw ECompileError("Line too long after substitution");
  }
  std::string out;
  for (int c : s) {
    if (c == kPlaceholder)
      out += name;
    else
      out.push_back(static_cast<char>(c));
  }
  return out;
}

void DefineEquates(AssemblyState& st, std::string& line, size_t equPos) {
  AssemblyContext& ctx = st.Ctx;
  std::string text = line.substr(equPos + 5);
  SetLineText(ctx, line);
  size_t p = 0;
  for (;;) {
    while (p < equPos && line[p] == ' ')
      ++p;
    if (p >= equPos || !IsIdentStart(line[p])) break;
    ctx.ScanPos = static_cast<int32_t>(p) + 1;
    std::string name;
    int32_t value = 0;
    if (IsOwnableSymbol(IdentifierAt(line, p))) {
      name = IdentifierAt(line, p);
      ctx.ScanPos += static_cast<int32_t>(name.size());
      if (st.Labels.count(name) || st.FindEquate(name)) throw ECompileError("Duplicate Symbol");
      st.Warn(name + " is this warrior's own equate here, as on the hills");
    } else if (LookupSymbol(st.Core, name, value, &st.Labels) || st.FindEquate(name)) {
      throw ECompileError("Duplicate Symbol");
    }
    st.AddEquate(name, text);
    st.PendingEquate = name;
    p = static_cast<size_t>(ctx.ScanPos) - 1;
  }
}

// A FOR at line i: collects the body up to the matching ROF, then puts count copies in
// place of the block. counter is empty for a loop without one.
void ExpandLoop(AssemblyState& st, size_t i, const std::string& counter) {
  AssemblyContext& ctx = st.Ctx;
  const std::string forLine = st.Lines[i];
  const int32_t forOrigin = st.Lines.Origin(i);
  SetLineText(ctx, forLine);
  SubstituteEquates(st);
  ctx.ScanPos = 1;
  Opcode op;
  Modifier mod;
  // Skip any label words left before FOR.
  while (!ParseOpcode(st.Core, false, op, mod)) {
    if (!SkipBlanks(ctx)) throw ECompileError("Bad Opcode");
    while (Cur(ctx) != ' ' && Cur(ctx) != '\0')
      ++ctx.ScanPos;
  }
  ctx.ModeSeen = false;
  int32_t count = st.Evaluate();

  std::vector<std::string> body;
  std::vector<int32_t> bodyOrigins;
  std::vector<std::string> copies;
  std::vector<int32_t> copyOrigins;
  size_t j = i + 1;
  try {
    for (int depth = 1;;) {
      if (j >= st.Lines.size()) {
        st.EraseLines(i, st.Lines.size());
        --ctx.CurLine;
        st.Place = st.Lines.empty()
                       ? ErrorPlace{true, static_cast<int32_t>(i) + 1, forLine, forOrigin}
                       : ErrorPlace{true, static_cast<int32_t>(st.Lines.size()), st.Lines.back(),
                                    st.Lines.Origin(st.Lines.size() - 1)};
        throw ECompileError("Missing ROF after FOR");
      }
      if (const Equate* eq = MultiLineCall(st, st.Lines[j], 0)) {
        ExpandCall(st, j, *eq);
        continue;
      }
      const int32_t origin = st.Lines.Origin(j);
      std::string line = st.Lines[j++];
      Opcode o;
      if (!line.empty() && line[0] != ' ' && IsOpcodeWord(st, line, 0, o)) line.insert(0, 1, ' ');
      std::string word = SecondWord(line);
      if (word == "FOR")
        ++depth;
      else if (word == "ROF")
        --depth;
      if (depth == 0) break;
      body.push_back(std::move(line));
      bodyOrigins.push_back(origin);
    }

    if (count > 0 && !body.empty()) {
      if (static_cast<uint64_t>(count) * body.size() + st.Lines.size() > kMaxStatementLines)
        throw ECompileError("Too many statements after expansion");
      uint64_t bodyText = 0;
      for (const std::string& b : body)
        bodyText += b.size() + 1;
      const int64_t room = std::max<int64_t>(0, kMaxExpandedText - st.ExpandedText);
      if (static_cast<uint64_t>(count) * bodyText > static_cast<uint64_t>(room))
        throw ECompileError("Expansion too large");
      copies.reserve(static_cast<size_t>(count) * body.size());
      copyOrigins.reserve(copies.capacity());
      bool afterNumber = false;
      for (int32_t k = 1; k <= count; ++k) {
        for (size_t line = 0; line < body.size(); ++line) {
          const std::string& b = body[line];
          copyOrigins.push_back(bodyOrigins[line]);
          SetLineText(ctx, b);
          SubstituteEquates(st);
          SetLineText(ctx, ReplaceCounter(CurrentText(ctx), counter, k, afterNumber));
          SubstituteEquates(st);
          copies.push_back(CurrentText(ctx));
          st.Expanded(copies.back().size() + 1);
        }
      }
      if (afterNumber)
        st.Warn("the counter " + counter +
                " right after a number is replaced by its two-digit value, as on the hills");
    }
  } catch (const ECompileError&) {
    // The whole block goes, so that its lines are not taken for plain statements.
    if (!st.Place.Set) {
      st.EraseLines(i, j);
      --ctx.CurLine;
      st.Place = ErrorPlace{true, static_cast<int32_t>(i) + 1, forLine, forOrigin};
    }
    throw;
  }
  st.EraseLines(i, j);
  --ctx.CurLine;
  st.InsertLines(i, copies, copyOrigins);
}

enum class Next { Advance, Stay, Stop };

// The words of a labelled line (or of a loop without counter): labels, a multi-line call
// or the opcode that ends them.
Next ReadWords(AssemblyState& st, size_t i, std::string counter = {}) {
  AssemblyContext& ctx = st.Ctx;
  std::string& line = st.Lines[i];
  size_t p = 0;
  for (;;) {
    while (p < line.size() && line[p] == ' ')
      ++p;
    if (p >= line.size()) throw ECompileError("Bad Operand");
    if (!IsIdentStart(line[p])) return Next::Advance;
    std::string word = IdentifierAt(line, p);
    if (p + word.size() == line.size()) {
      if (const Equate* eq = st.FindEquate(word)) {
        ExpandCall(st, i, *eq);
        --ctx.CurLine;
        return Next::Stay;
      }
    }
    Opcode op;
    if (IsOpcodeWord(st, line, p, op)) {
      switch (op) {
      case Opcode::FOR:
        if (!counter.empty()) st.RemoveLastLabel(); // the counter is no label
        ExpandLoop(st, i, counter);
        return Next::Stay;
      case Opcode::ROF: throw ECompileError("ROF with no FOR");
      case Opcode::END: --ctx.CurLine; return Next::Stop;
      case Opcode::ORG:
      case Opcode::PIN: --ctx.CurLine; return Next::Advance;
      default: return Next::Advance;
      }
    }
    std::string name = word;
    if (IsOwnableSymbol(name)) {
      if (st.Labels.count(name)) throw ECompileError("Duplicate Symbol");
      st.Warn(name + " is this warrior's own label here, as on the hills");
    } else {
      SetLineText(ctx, line);
      ctx.ScanPos = static_cast<int32_t>(p) + 1;
      int32_t value = 0;
      if (LookupSymbol(st.Core, name, value, &st.Labels)) throw ECompileError("Duplicate Symbol");
    }
    st.AddLabel(name, ctx.CurLine);
    counter = name;
    line.erase(p, name.size());
    if (p >= line.size()) {
      // A label alone stands for the next instruction, or counts the loop that follows.
      st.EraseLines(i, i + 1);
      --ctx.CurLine;
      st.PendingCounter = name;
      return Next::Stay;
    }
  }
}

Next ExpandLine(AssemblyState& st, size_t i) {
  AssemblyContext& ctx = st.Ctx;
  std::string& line = st.Lines[i];
  // Only comment lines may stand between a label alone and the FOR it counts.
  std::string alone = line[0] == ';' ? st.PendingCounter : std::exchange(st.PendingCounter, {});
  if (StartsWith(line, ";assert")) {
    std::string text = line;
    const int32_t origin = st.Lines.Origin(i);
    st.EraseLines(i, i + 1);
    --ctx.CurLine;
    st.Place = ErrorPlace{true, static_cast<int32_t>(i) + 1, text, origin};
    // The line comes straight from the source: tabs and a trailing control byte are blanks.
    for (char& c : text)
      if (c == '\t') c = ' ';
    SetLineText(ctx, Trim(text));
    SubstituteEquates(st);
    ctx.ScanPos = 8;
    ctx.ModeSeen = false;
    if (st.Evaluate() == 0)
      st.Core.Platform->ShowMessage("Warrior " + st.W.Name + ": assert evaluates to false");
    st.Place = ErrorPlace{};
    return Next::Stay;
  }
  if (line[0] == ';') {
    --ctx.CurLine;
    return Next::Advance;
  }
  Opcode op;
  Modifier mod;
  if (IsOpcodeWord(st, line, 0, op)) line.insert(0, 1, ' ');
  if (line[0] == ' ') {
    SetLineText(ctx, line);
    ParseOpcode(st.Core, true, op, mod);
    if (op == Opcode::FOR) {
      st.PendingEquate.clear();
      if (!alone.empty()) {
        // The hills read a label alone before FOR as its counter.
        st.Warn("the label " + alone + " before FOR is the loop's counter, as on the hills");
      }
      return ReadWords(st, i, alone);
    }
    if (op == Opcode::EQU && !st.PendingEquate.empty()) {
      size_t p = static_cast<size_t>(ctx.ScanPos); // just past "EQU" and one character
      std::string text = p < line.size() ? line.substr(p) : std::string();
      if (Equate* eq = st.FindEquate(st.PendingEquate)) eq->Lines.push_back(text);
      st.EraseLines(i, i + 1);
      --ctx.CurLine;
      return Next::Stay;
    }
    st.PendingEquate.clear();
    if (op == Opcode::END) {
      --ctx.CurLine;
      return Next::Stop;
    }
    if (op == Opcode::ORG || op == Opcode::PIN) --ctx.CurLine;
    return Next::Advance;
  }
  st.PendingEquate.clear();
  size_t equ = UpperCase(line).find(" EQU ");
  if (equ != std::string::npos) {
    DefineEquates(st, line, equ);
    st.EraseLines(i, i + 1);
    --ctx.CurLine;
    return Next::Stay;
  }
  return ReadWords(st, i);
}

} // namespace

void ExpandStatements(AssemblyState& st) {
  AssemblyContext& ctx = st.Ctx;
  st.Labels.clear();
  for (const auto& [name, line] : ctx.Labels)
    st.Labels[name].push_back(line);
  ctx.CurLine = -1;
  size_t i = 0;
  while (i < st.Lines.size()) {
    ++ctx.CurLine;
    st.LineIndex = i;
    Next next = Next::Advance;
    try {
      if (st.Lines[i].empty()) throw ECompileError("Bad Operand");
      next = ExpandLine(st, i);
    } catch (const ECompileError& e) {
      // A line that left the list before failing has its successor in its place.
      if (st.Place.Set) next = Next::Stay;
      st.AddError(e.what(), i);
    }
    if (next == Next::Stop) break;
    if (next == Next::Advance) ++i;
  }
  st.Length = ctx.CurLine + 1;
}

void SubstituteEquates(AssemblyState& st) {
  AssemblyContext& ctx = st.Ctx;
  std::string line = CurrentText(ctx);
  if (MultiLineCall(st, line, 0)) return;
  // The text of each equate is scanned in turn for further equates, as if it stood in the
  // line in place of the name; each piece of the result is written once.
  struct Frame {
    std::string Text;
    size_t Pos;
    std::string Name; // the equate whose text this is; empty for the line
  };
  std::vector<Frame> frames;
  frames.push_back(Frame{std::move(line), 0, std::string()});
  std::unordered_set<std::string> active; // the equates being substituted
  std::string out;
  bool changed = false;
  while (!frames.empty()) {
    if (out.size() > kMaxLineLength) throw ECompileError("Line too long after substitution");
    Frame& f = frames.back();
    if (f.Pos >= f.Text.size()) {
      active.erase(f.Name);
      frames.pop_back();
      continue;
    }
    if (!IsIdentStart(f.Text[f.Pos])) {
      out.push_back(f.Text[f.Pos++]);
      continue;
    }
    std::string name = IdentifierAt(f.Text, f.Pos);
    f.Pos += name.size();
    const Equate* eq = (!out.empty() && out.back() == '.') ? nullptr : st.FindEquate(name);
    if (!eq) {
      out += name;
      continue;
    }
    if (active.count(name)) throw ECompileError("Recursive reference");
    if (eq->Lines.size() > 1) throw ECompileError("Improper substitution of multi-line equate");
    std::string text = Trim(eq->Lines[0]);
    st.Expanded(text.size() + 1);
    active.insert(name);
    frames.push_back(Frame{std::move(text), 0, std::move(name)});
    changed = true;
  }
  if (out.size() > kMaxLineLength) throw ECompileError("Line too long after substitution");
  if (changed) {
    int32_t scan = ctx.ScanPos;
    SetLineText(ctx, out);
    ctx.ScanPos = scan;
  }
}

} // namespace velmora
