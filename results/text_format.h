#pragma once
// The number formats of the results table and report.

#include <string>

namespace velmora {

// printf into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Fixed-point with 5 decimals after rounding to 6 significant digits; not padded.
std::string FormatLength(double value);

// The shortest decimal form of value (no decimal point for whole numbers), right-aligned in
// width.
std::string FormatShortest(double value, int width);

// Text cut to at most cut characters, then padded with blanks on the right to width.
std::string CutPad(const std::string& text, size_t cut, size_t width);

// Doubles every blank before the first non-blank character, so that numbers stay roughly
// right-aligned in a proportional font.
std::string PadLeadingBlanks(const std::string& text);

} // namespace velmora
