#pragma once
// The battle parameter file: 23 lines, each a value, " = " and a description (line 19, the
// score formula, is the whole line). Every loaded value goes through its field's check: a
// failing line keeps the value the fields had and is reported; the rest still loads.

#include <cstdint>
#include <string>
#include <vector>

#include "params/setup_fields.h"

namespace velmora {

inline constexpr const char* kDefaultSettingsFile = "default.cfg";
inline constexpr int32_t kSettingsLineCount = 23;
// Lines 19 to 23 may be missing from older files.
inline constexpr int32_t kRequiredSettingsLines = 18;

struct SettingsMessage {
  int32_t Line = 0; // 1-based line of the file
  std::string Text;
};

// The text before the first blank or "=", or the whole line when it holds neither.
std::string ValueOfLine(const std::string& line);

// The 23 lines, without line ends.
std::vector<std::string> SettingsLines(const TSetupFields& fields);

// Applies the lines of a settings file to fields.
void ApplySettingsLines(const std::vector<std::string>& lines, TSetupFields& fields,
                        std::vector<SettingsMessage>& messages);

// False (fields untouched) when the file cannot be read.
bool LoadSettingsFile(const std::string& path, TSetupFields& fields,
                      std::vector<SettingsMessage>& messages);
bool SaveSettingsFile(const std::string& path, const TSetupFields& fields, std::string& error);

} // namespace velmora
