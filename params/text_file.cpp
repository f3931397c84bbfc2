#include "params/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return !in.bad();
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

bool WriteFileReplacing(const std::string& path, const std::string& content, std::string& error) {
  // mkstemp gives a name of our own even when several writers target the same folder.
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = "Cannot create a file beside " + path + ": " + std::strerror(errno);
    return false;
  }
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  // mkstemp makes the file private; a report or settings file is an ordinary one.
  fchmod(fd, 0644);
  const bool written = done == content.size() && fsync(fd) == 0;
  const int savedErrno = errno;
  const bool closed = close(fd) == 0;
  if (!written || !closed) {
    error = "Cannot write " + path + ": " + std::strerror(written ? errno : savedErrno);
    std::remove(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = "Cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

} // namespace velmora
