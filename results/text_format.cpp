#include "results/text_format.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace velmora {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, args);
  va_end(args);
  return out;
}

std::string FormatLength(double value) {
  // Six significant digits first, then five decimals.
  const double rounded = std::strtod(Format("%.5e", value).c_str(), nullptr);
  return Format("%.5f", rounded);
}

std::string FormatShortest(double value, int width) {
  std::string text;
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    text = Format("%.0f", value);
  } else {
    // The fewest digits that read back as the same number.
    for (int digits = 1; digits <= 17; ++digits) {
      text = Format("%.*g", digits, value);
      if (std::strtod(text.c_str(), nullptr) == value) break;
    }
  }
  if (text.size() < size_t(width)) text.insert(0, size_t(width) - text.size(), ' ');
  return text;
}

std::string CutPad(const std::string& text, size_t cut, size_t width) {
  std::string out = text.substr(0, cut);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

std::string PadLeadingBlanks(const std::string& text) {
  size_t blanks = 0;
  while (blanks < text.size() && text[blanks] == ' ')
    ++blanks;
  return std::string(blanks, ' ') + text;
}

} // namespace velmora
