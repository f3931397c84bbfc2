#include "cli/warrior_inputs.h"

#include <filesystem>

#include "assembler/assembler.h"
#include "params/text_file.h"
#include "params/warrior_list_file.h"

namespace velmora::cli {

namespace fs = std::filesystem;

namespace {

// Why a file could not be opened, in a few words.
std::string OpenFailure(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) return "no such file";
  if (fs::is_directory(status)) return "a folder, not a file";
  return "not readable";
}

// One warrior source; false with the problem (without the file's name) when there is none.
bool ReadOne(const std::string& path, TWarriorData& w, std::string& problem) {
  THeadlessPlatform reader;
  ReadWarriorFile(reader, path, w.Source, w.Author, w.Name);
  if (!reader.Messages.empty()) {
    // The reader names the file at the end of its message; the line starts with it here.
    problem = reader.Messages.front();
    const std::string tail = " " + path;
    if (problem.size() > tail.size() && problem.ends_with(tail)) {
      problem.resize(problem.size() - tail.size());
      problem += " (" + OpenFailure(path) + ")";
    }
    return false;
  }
  if (w.Source.empty()) {
    problem = "the file is empty";
    return false;
  }
  w.ID = 0;
  w.FileName = path;
  return true;
}

} // namespace

std::string ListEntryPath(const std::string& listFile, const std::string& entry) {
  std::error_code ec;
  const fs::path written(entry);
  if (written.is_absolute() || fs::exists(written, ec)) return entry;
  const fs::path beside = fs::path(listFile).parent_path() / written;
  if (fs::exists(beside, ec)) return beside.string();
  return entry;
}

void ReadWarriorInputs(const std::string& path, std::vector<TWarriorData>& list,
                       std::vector<std::string>& problems) {
  std::vector<std::string> lines;
  ReadTextLines(path, lines);
  const auto entries = WarriorListPaths(lines);
  TWarriorData w;
  std::string problem;
  if (!entries) {
    if (ReadOne(path, w, problem))
      list.push_back(std::move(w));
    else
      problems.push_back(path + ": " + problem);
    return;
  }
  if (entries->empty()) problems.push_back(path + ": the warrior list names no warriors");
  for (size_t i = 0; i < entries->size(); ++i) {
    const std::string where = path + ":" + std::to_string(i + 2) + ": ";
    const std::string& entry = (*entries)[i];
    if (entry.find_first_not_of(" \t") == std::string::npos) {
      problems.push_back(where + "a blank line where a warrior file should be named");
      continue;
    }
    w = TWarriorData{};
    const std::string found = ListEntryPath(path, entry);
    if (ReadOne(found, w, problem))
      list.push_back(std::move(w));
    else
      problems.push_back(where + found + ": " + problem);
  }
}

} // namespace velmora::cli
