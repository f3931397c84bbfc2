#include "tuning/equates.h"

#include "engine/cell.h"

namespace velmora {

namespace {

bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9');
}
char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}

// The statement part of a source line as the assembler sees it, with every character in
// its place: the comment cut off, tabs and colons made blanks. Empty for lines the
// assembler skips (directive comments, lines starting with anything but a name or a blank).
std::string StatementText(const std::string& line) {
  if (line.empty() || !(IsNameStart(line[0]) || line[0] == ' ' || line[0] == '\t')) return {};
  std::string s = line.substr(0, line.find(';'));
  for (char& c : s)
    if (c == '\t' || c == ':') c = ' ';
  return s;
}

size_t SkipBlanks(const std::string& s, size_t p) {
  while (p < s.size() && s[p] == ' ')
    ++p;
  return p;
}

// The first word of s in upper case, up to a blank or a modifier's dot.
std::string FirstWord(const std::string& s) {
  std::string word;
  for (size_t p = SkipBlanks(s, 0); p < s.size() && s[p] != ' ' && s[p] != '.'; ++p)
    word.push_back(Upper(s[p]));
  return word;
}

bool IsOpcode(const std::string& word) {
  for (const char* name : OpcodeNames)
    if (word == name) return true;
  return false;
}

struct Definition {
  std::vector<std::string> Names;
  EquateLine Place; // everything but the name
};

// The EQU definition on line i, if it is one.
std::optional<Definition> DefinitionAt(const std::vector<std::string>& source, size_t i) {
  const std::string s = StatementText(source[i]);
  const size_t begin = SkipBlanks(s, 0);
  size_t end = s.size();
  while (end > begin && s[end - 1] == ' ')
    --end;
  if (begin >= end || IsOpcode(FirstWord(s))) return std::nullopt;
  std::string upper = s.substr(0, end);
  for (char& c : upper)
    c = Upper(c);
  const size_t equ = upper.find(" EQU ", begin);
  if (equ == std::string::npos) return std::nullopt;
  Definition d;
  for (size_t p = SkipBlanks(s, begin); p < equ && IsNameStart(s[p]); p = SkipBlanks(s, p)) {
    size_t e = p;
    while (e < s.size() && IsNameChar(s[e]))
      ++e;
    d.Names.push_back(s.substr(p, e - p));
    p = e;
  }
  d.Place.Line = i;
  d.Place.TextBegin = SkipBlanks(s, equ + 5);
  d.Place.TextEnd = end;
  d.Place.Text = s.substr(d.Place.TextBegin, end - d.Place.TextBegin);
  return d;
}

// Whether the next statement after line i is an EQU continuation line.
bool ContinuedAfter(const std::vector<std::string>& source, size_t i) {
  for (size_t j = i + 1; j < source.size(); ++j) {
    const std::string s = StatementText(source[j]);
    if (SkipBlanks(s, 0) >= s.size()) continue;
    return FirstWord(s) == "EQU";
  }
  return false;
}

} // namespace

std::vector<EquateLine> FindEquates(const std::vector<std::string>& source) {
  std::vector<EquateLine> found;
  for (size_t i = 0; i < source.size(); ++i) {
    const auto d = DefinitionAt(source, i);
    if (!d) continue;
    // A continuation extends only the last name of the line.
    const size_t single = d->Names.size() - (ContinuedAfter(source, i) && !d->Names.empty());
    for (size_t k = 0; k < single; ++k) {
      EquateLine e = d->Place;
      e.Name = d->Names[k];
      found.push_back(std::move(e));
    }
  }
  return found;
}

std::optional<EquateLine> FindEquate(const std::vector<std::string>& source,
                                     const std::string& name) {
  for (EquateLine& e : FindEquates(source))
    if (e.Name == name) return std::move(e);
  return std::nullopt;
}

bool ReplaceEquate(std::vector<std::string>& source, const std::string& name,
                   const std::string& text) {
  bool replaced = false;
  size_t lastLine = source.size();
  for (const EquateLine& e : FindEquates(source)) {
    // A name twice on one line ("a a EQU 1") is the assembler's error; the text changes once.
    if (e.Name != name || e.Line == lastLine) continue;
    source[e.Line].replace(e.TextBegin, e.TextEnd - e.TextBegin, text);
    lastLine = e.Line;
    replaced = true;
  }
  return replaced;
}

} // namespace velmora
