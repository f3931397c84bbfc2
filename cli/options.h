#pragma once
// The command line of velmora-cli: long options for every setting, the short options that
// hill scripts pass to command-line simulators, and the files to fight.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
// A warrior file could not be read or compiled, a round not set up, or output not written.
inline constexpr int kExitBattleFailed = 1;
inline constexpr int kExitBadUsage = 2; // a bad option or value

struct CliOptions {
  std::vector<std::string> Files;
  std::optional<std::string> SettingsFile;
  std::optional<std::string> SaveSettingsFile;
  std::optional<std::string> BenchmarkFile;
  std::optional<std::string> ReportFile;
  std::optional<std::string> JsonFile; // "-" for standard output
  // Settings in command-line order, by long name without dashes; applied after the
  // settings files.
  std::vector<std::pair<std::string, std::string>> Settings;
  bool Koth = false;
  bool SortByScore = false;
  bool Brief = false;
  bool Listing = false;
  bool Quiet = false;
  bool Help = false;
  bool Version = false;
  int32_t Threads = 0; // 0: one per core
};

// Parses argv[1..]. On a bad option returns false with the message in error.
bool ParseOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

std::string UsageText();

} // namespace velmora::cli
