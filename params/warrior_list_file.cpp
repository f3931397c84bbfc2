#include "params/warrior_list_file.h"

#include "params/text_file.h"

namespace velmora {

std::optional<std::vector<std::string>> WarriorListPaths(const std::vector<std::string>& lines) {
  if (lines.empty() || lines[0] != kWarriorListHeader) return std::nullopt;
  return std::vector<std::string>(lines.begin() + 1, lines.end());
}

std::vector<std::string> WarriorListLines(const std::vector<std::string>& paths) {
  std::vector<std::string> lines{kWarriorListHeader};
  lines.insert(lines.end(), paths.begin(), paths.end());
  return lines;
}

bool SaveWarriorListFile(const std::string& path, const std::vector<std::string>& paths,
                         std::string& error) {
  return WriteOutputFile(path, JoinCrLf(WarriorListLines(paths)), error);
}

} // namespace velmora
