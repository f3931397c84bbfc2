// Reading a warrior source file and the name and author it declares.

#include "assembler/assembler.h"
#include "params/text_file.h"

namespace velmora {

namespace {

// The rest of a line after a keyword and one separator, blanks skipped.
std::string ValueAfter(const std::string& line, size_t keyword, size_t length) {
  size_t p = keyword + length + 1;
  while (p < line.size() && (line[p] == ' ' || line[p] == '\t'))
    ++p;
  return p < line.size() ? line.substr(p) : std::string();
}

} // namespace

std::string NameFromFileName(const std::string& fileName) {
  std::string name = fileName;
  size_t cut = name.find_last_of("\\/");
  if (cut != std::string::npos) name.erase(0, cut + 1);
  if (name.size() >= 4 && name[name.size() - 4] == '.')
    name.resize(name.size() - 4);
  else if (name.size() >= 3 && name.compare(name.size() - 3, 3, ".rc") == 0)
    name.resize(name.size() - 3);
  return name;
}

void ReadWarriorFile(TPlatform& platform, const std::string& fileName,
                     std::vector<std::string>& lines, std::string& author, std::string& name) {
  lines.clear();
  name.clear();
  std::string data;
  switch (ReadFileBounded(fileName, kMaxTextFileBytes, data)) {
  case ReadStatus::CannotOpen: platform.ShowMessage("Unable to open file " + fileName); break;
  case ReadStatus::NotRegular: platform.ShowMessage("Not a regular file: " + fileName); break;
  case ReadStatus::TooLarge: platform.ShowMessage("Warrior file too large: " + fileName); break;
  case ReadStatus::Ok: {
    // Lines end in LF or CR LF; a last line without an end still counts.
    size_t start = 0;
    while (start < data.size()) {
      size_t end = data.find('\n', start);
      if (end == std::string::npos) end = data.size();
      std::string piece = data.substr(start, end - start);
      if (!piece.empty() && piece.back() == '\r') piece.pop_back();
      start = end + 1;
      if (size_t p = piece.find(";name"); p != std::string::npos) name = ValueAfter(piece, p, 5);
      if (size_t p = piece.find(";author"); p != std::string::npos)
        author = ValueAfter(piece, p, 7);
      lines.push_back(std::move(piece));
    }
    break;
  }
  }
  if (name.empty()) name = NameFromFileName(fileName);
}

} // namespace velmora
