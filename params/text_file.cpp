#include "params/text_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

ReadStatus ReadFileBounded(const std::string& path, size_t limit, std::string& data) {
  data.clear();
  // Non-blocking, so that opening a FIFO without a writer does not wait for one.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return ReadStatus::CannotOpen;
  struct stat st {};
  ReadStatus status = ReadStatus::Ok;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))
    status = ReadStatus::CannotOpen;
  else if (!S_ISREG(st.st_mode))
    status = ReadStatus::NotRegular;
  else if (static_cast<uint64_t>(st.st_size) > limit)
    status = ReadStatus::TooLarge;
  // A file that grows while it is read still stops at the limit.
  char buffer[65536];
  while (status == ReadStatus::Ok) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) status = ReadStatus::CannotOpen;
    if (n <= 0) break;
    if (data.size() + static_cast<size_t>(n) > limit)
      status = ReadStatus::TooLarge;
    else
      data.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (status != ReadStatus::Ok) data.clear();
  return status;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string data;
  if (ReadFileBounded(path, kMaxTextFileBytes, data) != ReadStatus::Ok) return false;
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

namespace {

// The file a chain of symbolic links ends at (which may not exist yet).
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0) break;
    target.resize(static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    if (target[0] != '/' && slash != std::string::npos) target = path.substr(0, slash + 1) + target;
    path = std::move(target);
  }
  return path;
}

// 0, or the errno of the failed write.
int WriteAll(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    done += static_cast<size_t>(n);
  }
  return 0;
}

// Creates a new file with a short name of its own in the folder of target: a short name
// fits wherever the target's own name does.
int CreateTemporary(const std::string& target, mode_t mode, std::string& temp) {
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::random_device random;
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder + ".velmora-";
    for (int i = 0; i < 8; ++i)
      temp += kLetters[random() % (sizeof kLetters - 1)];
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

std::string Reason(const std::string& path, int error) {
  return "Cannot write " + path + ": " + std::strerror(error);
}

// A device, a FIFO, or a file whose folder takes no new files: written in place.
bool WriteInPlace(const std::string& path, const std::string& target, const std::string& content,
                  bool truncate, std::string& error) {
  const int fd = open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (truncate ? O_TRUNC : 0));
  if (fd < 0) {
    error = Reason(path, errno);
    return false;
  }
  int failure = WriteAll(fd, content);
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure != 0) error = Reason(path, failure);
  return failure == 0;
}

} // namespace

bool WriteOutputFile(const std::string& path, const std::string& content, std::string& error) {
  const std::string target = FollowLinks(path);
  struct stat st {};
  const bool exists = stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) {
    error = Reason(path, errno);
    return false;
  }
  if (exists && !S_ISREG(st.st_mode)) return WriteInPlace(path, target, content, false, error);
  // Refused when read-only: by its permission bits too, since the superuser may write
  // anything and would otherwise replace a file that someone marked read-only.
  if (exists && (access(target.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0)) {
    error = Reason(path, EACCES);
    return false;
  }
  std::string temp;
  const int fd = CreateTemporary(target, exists ? 0600 : 0666, temp);
  if (fd < 0) {
    const int failure = errno;
    // A writable file in a folder that takes no new files.
    if (exists && (failure == EACCES || failure == EPERM))
      return WriteInPlace(path, target, content, true, error);
    error = Reason(path, failure);
    return false;
  }
  int failure = WriteAll(fd, content);
  if (exists && failure == 0) {
    // The owner only changes back where the system allows it; the mode always does.
    const bool ownerKept = fchown(fd, st.st_uid, st.st_gid) == 0;
    (void)ownerKept;
    if (fchmod(fd, st.st_mode & 07777) != 0) failure = errno;
  }
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && std::rename(temp.c_str(), target.c_str()) != 0) failure = errno;
  if (failure != 0) {
    std::remove(temp.c_str());
    error = Reason(path, failure);
    return false;
  }
  return true;
}

} // namespace velmora
