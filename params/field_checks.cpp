#include "params/field_checks.h"

#include "params/number_text.h"

namespace velmora {

namespace {

constexpr int32_t kMaxInt = 2147483647;
constexpr int32_t kCoreSizeLimit = 134217728;

FieldCheck Fail(const char* message, ResetTo reset, int32_t value) {
  return FieldCheck{message, reset, value};
}

FieldCheck Pass(int32_t value) {
  return FieldCheck{{}, ResetTo::Stored, value};
}

int32_t Read(const std::string& text) {
  return NumberOrDefault(text, NotANumber);
}

// The three checks shared by the counted fields: a number, at least low, below 2^31 - 1.
FieldCheck Counted(const std::string& text, int32_t low, const char* notNumber, const char* tooLow,
                   const char* tooHigh) {
  const int32_t v = Read(text);
  if (v == NotANumber) return Fail(notNumber, ResetTo::Stored, v);
  if (v < low) return Fail(tooLow, ResetTo::Stored, v);
  if (v == kMaxInt) return Fail(tooHigh, ResetTo::Stored, v);
  return Pass(v);
}

// Read limit, write limit and P-space size: typed values between 1 and the core size.
FieldCheck Limit(const std::string& text, const std::string& coreSizeText, const char* notNumber,
                 const char* tooLow, const char* tooHigh) {
  const int32_t v = Read(text);
  if (v == NotANumber) return Fail(notNumber, ResetTo::CoreSizeText, v);
  if (v < 1) return Fail(tooLow, ResetTo::One, v);
  if (v > Read(coreSizeText)) return Fail(tooHigh, ResetTo::CoreSizeText, v);
  return Pass(v);
}

} // namespace

FieldCheck CheckCoreSize(const std::string& text, bool randomSize, const std::string& minText) {
  const int32_t v = Read(text);
  const ResetTo r = ResetTo::CoreSizeFields;
  if (v == NotANumber) return Fail("Core size must be a number", r, v);
  if (v < 16) return Fail("Core size must be at least 16", r, v);
  if (v >= kCoreSizeLimit) return Fail("Core size must be less than $8000000", r, v);
  if (randomSize && v < Read(minText))
    return Fail("Maximum core size must not be less than the minimum core size", r, v);
  return Pass(v);
}

FieldCheck CheckMinCoreSize(const std::string& text, const std::string& coreSizeText) {
  const int32_t v = Read(text);
  const ResetTo r = ResetTo::CoreSizeFields;
  if (v == NotANumber) return Fail("Minimum core size must be a number", r, v);
  if (v < 16) return Fail("Minimum core size must be at least 16", r, v);
  if (v > Read(coreSizeText))
    return Fail("Minimum core size must not exceed the maximum core size", r, v);
  return Pass(v);
}

FieldCheck CheckMaxCycles(const std::string& text) {
  return Counted(text, 1, "Max Cycles must be a number", "Max Cycles must be at least 1",
                 "Max Cycles must be less than $80000000");
}

FieldCheck CheckMaxProcesses(const std::string& text) {
  return Counted(text, 1, "Max Processes must be a number", "Max Processes must be at least 1",
                 "Max Processes must not exceed $80000000");
}

FieldCheck CheckMinDistance(const std::string& text) {
  return Counted(text, 0, "Min Distance must be a number", "Min Distance must be at least 0",
                 "Min Distance must be less than $80000000");
}

FieldCheck CheckRounds(const std::string& text) {
  return Counted(text, 1, "Number of rounds must be a number",
                 "Number of rounds must be at least 1",
                 "Number of rounds must not exceed $80000000");
}

FieldCheck CheckReadLimit(const std::string& text, const std::string& coreSizeText) {
  return Limit(text, coreSizeText, "Read Limit must be a number", "Read Limit must be at least 1",
               "Read Limit must not exceed Core Size");
}

FieldCheck CheckWriteLimit(const std::string& text, const std::string& coreSizeText) {
  return Limit(text, coreSizeText, "Write Limit must be a number", "Write Limit must be at least 1",
               "Write Limit must not exceed Core Size");
}

FieldCheck CheckPSpaceSize(const std::string& text, const std::string& coreSizeText) {
  return Limit(text, coreSizeText, "PSpace Size must be a number", "PSpace Size must be at least 1",
               "PSpace Size must not exceed Core Size");
}

FieldCheck CheckMaxLength(const std::string& text, const std::string& coreSizeText,
                          const std::string& minDistanceText, int32_t warriors) {
  const int32_t v = Read(text);
  if (v == NotANumber) return Fail("Max Length must be a number", ResetTo::Stored, v);
  if (v < 1) return Fail("Max Length must be at least 1", ResetTo::One, v);
  if (warriors != 0) {
    // Real division: the space per warrior less the gap each needs.
    const double room = static_cast<double>(Read(coreSizeText)) / warriors - Read(minDistanceText);
    if (v > room) return Fail("Max Length too large to load all Warriors", ResetTo::Stored, v);
  }
  return Pass(v);
}

FieldCheck CheckSecondPosition(const std::string& text, const std::string& coreSizeText,
                               const std::string& minDistanceText) {
  const int32_t v = Read(text);
  const ResetTo r = ResetTo::MinDistanceText;
  const int64_t distance = Read(minDistanceText);
  if (v == NotANumber) return Fail("Second warrior position must be a number", r, v);
  if (v < distance) return Fail("Second warrior position must be at least Max Distance", r, v);
  if (v > int64_t{Read(coreSizeText)} - distance)
    return Fail("Second warrior position must not exceed Core Size minus Max Distance", r, v);
  return Pass(v);
}

FieldCheck CheckFixedSeed(const std::string& text) {
  const int32_t v = Read(text);
  if (v == NotANumber) return Fail("RNG Seed must be a number", ResetTo::Zero, v);
  if (v < 0 || v == kMaxInt)
    return Fail("RNG Seed must be between 0 and 2147483646", ResetTo::Zero, v);
  return Pass(v);
}

std::pair<std::string, std::string> CoreSizeReset(const std::string& coreSizeText,
                                                  const std::string& minText, int32_t storedMax,
                                                  int32_t storedMin) {
  // Text that is no number never goes back into the other field.
  const std::optional<int32_t> minValue = ParseNumberText(minText);
  const std::optional<int32_t> coreValue = ParseNumberText(coreSizeText);
  std::string core = minValue && *minValue > storedMax ? minText : std::to_string(storedMax);
  std::string min = coreValue && *coreValue < storedMin ? coreSizeText : std::to_string(storedMin);
  return {core, min};
}

} // namespace velmora
