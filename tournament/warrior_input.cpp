#include "tournament/warrior_input.h"

#include "assembler/assembler.h"
#include "params/text_file.h"
#include "params/warrior_list_file.h"

namespace velmora {

namespace {

void AddOne(TPlatform& platform, const std::string& path, bool forBenchmark,
            std::vector<TWarriorData>& list) {
  TWarriorData w;
  ReadWarriorFile(platform, path, w.Source, w.Author, w.Name);
  if (w.Source.empty() && !forBenchmark) return;
  w.ID = 0;
  w.FileName = path;
  list.push_back(std::move(w));
}

} // namespace

void AddWarriorFile(TPlatform& platform, const std::string& path, bool forBenchmark,
                    std::vector<TWarriorData>& list) {
  std::vector<std::string> lines;
  ReadTextLines(path, lines);
  if (const auto paths = WarriorListPaths(lines)) {
    for (const std::string& p : *paths)
      AddOne(platform, p, forBenchmark, list);
  } else {
    AddOne(platform, path, forBenchmark, list);
  }
}

void NumberWarriors(std::vector<TWarriorData>& list) {
  for (size_t i = 0; i < list.size(); ++i)
    list[i].ID = int32_t(i) + 1;
}

} // namespace velmora
