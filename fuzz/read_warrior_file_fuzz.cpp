// Fuzzes the reading of warrior source files: the input is written to one temporary file per
// process and read back. Every byte must be kept except the LF that ends a line and a CR
// right before it, and the warrior must always get a name.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_engine.h"

namespace {

using namespace velmora;
using fuzz::Check;

// The temporary file, made once and removed when the process ends.
struct TempFile {
  std::string Path;
  TempFile() {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/velmora-fuzz-XXXXXX.red";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    int fd = mkstemps(buf.data(), 4);
    Check(fd >= 0);
    close(fd);
    Path = buf.data();
  }
  ~TempFile() { std::remove(Path.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
};

void Write(const std::string& path, const std::string& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  Check(f != nullptr);
  Check(std::fwrite(data.data(), 1, data.size(), f) == data.size());
  Check(std::fclose(f) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TempFile file;
  fuzz::FuzzEngine& engine = fuzz::Engine();
  engine.Fresh();
  const std::string text(reinterpret_cast<const char*>(data), size);
  Write(file.Path, text);

  std::vector<std::string> lines{"left over"};
  std::string author = "kept", name = "replaced";
  ReadWarriorFile(engine.Platform, file.Path, lines, author, name);
  Check(engine.Platform.Messages.empty());
  Check(!name.empty());

  // One line per LF, and one more for text after the last; joined again they give the text
  // back without the LFs and the CRs right before them (or at the very end).
  size_t ends = 0;
  std::string stripped;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++ends;
      continue;
    }
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] == '\n')) continue;
    stripped.push_back(text[i]);
  }
  Check(lines.size() == ends + (!text.empty() && text.back() != '\n' ? 1 : 0));
  std::string joined;
  for (const std::string& line : lines) {
    Check(line.find('\n') == std::string::npos);
    joined += line;
  }
  Check(joined == stripped);
  if (text.find(";author") == std::string::npos) Check(author == "kept");
  return 0;
}
