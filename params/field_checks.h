#pragma once
// The checks the Setup dialog runs when the focus leaves a field, as plain functions: each
// reads the field's text, tests the conditions in order and gives the first failing
// condition's message, or the number read.

#include <cstdint>
#include <string>
#include <utility>

namespace velmora {

// What a field gets back after its check failed.
enum class ResetTo {
  Stored,          // the value now in the record
  CoreSizeText,    // the core size field's text
  MinDistanceText, // the min distance field's text
  One,             // "1"
  Zero,            // "0"
  CoreSizeFields   // both core size fields, see CoreSizeReset
};

struct FieldCheck {
  std::string Message; // empty when the value passed
  ResetTo Reset = ResetTo::Stored;
  int32_t Value = 0; // the number read (NotANumber when the text is none)
  bool Ok() const { return Message.empty(); }
};

// randomSize: a random core size is chosen, so the value may not be below the minimum.
FieldCheck CheckCoreSize(const std::string& text, bool randomSize, const std::string& minText);
FieldCheck CheckMinCoreSize(const std::string& text, const std::string& coreSizeText);
FieldCheck CheckMaxCycles(const std::string& text);
FieldCheck CheckMaxProcesses(const std::string& text);
FieldCheck CheckMinDistance(const std::string& text);
FieldCheck CheckRounds(const std::string& text);
// Only for typed values (no item of the drop-down list chosen).
FieldCheck CheckReadLimit(const std::string& text, const std::string& coreSizeText);
FieldCheck CheckWriteLimit(const std::string& text, const std::string& coreSizeText);
FieldCheck CheckPSpaceSize(const std::string& text, const std::string& coreSizeText);
// warriors: 2, or the listed warriors of a melee; 0 skips the size test.
FieldCheck CheckMaxLength(const std::string& text, const std::string& coreSizeText,
                          const std::string& minDistanceText, int32_t warriors);
FieldCheck CheckSecondPosition(const std::string& text, const std::string& coreSizeText,
                               const std::string& minDistanceText);
FieldCheck CheckFixedSeed(const std::string& text);

// The texts both core size fields get after either of their checks failed: first the core
// size field's, then the minimum field's.
std::pair<std::string, std::string> CoreSizeReset(const std::string& coreSizeText,
                                                  const std::string& minText, int32_t storedMax,
                                                  int32_t storedMin);

} // namespace velmora
