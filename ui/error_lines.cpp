#include "ui/error_lines.h"

#include <algorithm>
#include <cstdlib>

namespace velmora {

namespace {

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

// The line of statement n (1-based) when every line but blank ones and comments makes one
// statement; -1 past the last.
static int LineOfStatement(long n, const std::vector<std::string>& source) {
  for (size_t i = 0; i < source.size(); ++i) {
    const std::string t = Trimmed(source[i]);
    if (!t.empty() && t[0] != ';' && --n == 0) return int(i);
  }
  return -1;
}

int SourceLineOfError(const std::string& errorLine, const std::vector<std::string>& source) {
  const std::string marker = " in line ";
  const size_t at = errorLine.find(marker);
  if (at == std::string::npos || source.empty()) return -1;
  const char* digits = errorLine.c_str() + at + marker.size();
  char* end = nullptr;
  const long statement = std::strtol(digits, &end, 10);
  if (end == digits || statement < 1) return -1;
  int guess = LineOfStatement(statement, source);
  if (guess < 0) guess = int(std::min<long>(statement - 1, long(source.size()) - 1));
  // The quoted text (the statement, or the rest of it from where it went wrong) picks the
  // line among those that hold it, the one nearest to the counted statement.
  std::string quoted;
  if (end[0] == ':' && end[1] == ' ') quoted = Trimmed(end + 2);
  int best = -1;
  if (!quoted.empty())
    for (size_t i = 0; i < source.size(); ++i)
      if (source[i].find(quoted) != std::string::npos &&
          (best < 0 || std::abs(int(i) - guess) < std::abs(best - guess)))
        best = int(i);
  return best >= 0 ? best : guess;
}

} // namespace velmora
