#include "cli/program.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>

#include <unistd.h>

#include "cli/options.h"

namespace velmora::cli {

namespace {

// Standard output that remembers why a write failed, so that a full disk or a closed pipe
// ends the program with a message instead of results that were never written.
class StdoutBuffer : public std::streambuf {
public:
  StdoutBuffer() { Reset(); }
  int Error = 0; // errno of the first failed write

protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override {
    for (const char* p = pbase(); p < pptr();) {
      const ssize_t n = ::write(STDOUT_FILENO, p, size_t(pptr() - p));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (Error == 0) Error = n < 0 ? errno : EIO;
        Reset();
        return -1;
      }
      p += n;
    }
    Reset();
    return 0;
  }

private:
  void Reset() { setp(Buffer.data(), Buffer.data() + Buffer.size()); }
  std::array<char, 1 << 16> Buffer;
};

} // namespace

int RunProgram(const std::vector<std::string>& args, BattleSite& site) {
  std::ios::sync_with_stdio(false);
  StdoutBuffer buffer;
  std::ostream out(&buffer);
  int status = RunCli(args, out, std::cerr, isatty(STDERR_FILENO) != 0, site);
  out.flush();
  if (buffer.Error != 0) {
    std::cerr << "velmora-cli: cannot write to standard output: " << std::strerror(buffer.Error)
              << '\n';
    if (status == kExitOk) status = kExitBattleFailed;
  }
  std::cerr.flush();
  if (!std::cerr && status == kExitOk) status = kExitBattleFailed;
  return status;
}

} // namespace velmora::cli
