#pragma once
// Warrior list files: the first line exactly ";warriorlist", then one source path a line.

#include <optional>
#include <string>
#include <vector>

namespace velmora {

inline constexpr const char* kWarriorListHeader = ";warriorlist";

// The paths of a list file's lines, or nothing when the first line is not exactly the
// header (the file is then a warrior source). Every further line is a path, blank ones too.
std::optional<std::vector<std::string>> WarriorListPaths(const std::vector<std::string>& lines);

std::vector<std::string> WarriorListLines(const std::vector<std::string>& paths);
bool SaveWarriorListFile(const std::string& path, const std::vector<std::string>& paths,
                         std::string& error);

} // namespace velmora
