#pragma once
// Files read and written by the whole program. Reading is bounded and never waits on a FIFO
// or a device; writing keeps what the user pointed at: a link stays a link, a file keeps its
// permissions, a device stays a device.

#include <cstddef>
#include <string>
#include <vector>

namespace velmora {

// The most any text file of the program (warrior, list, settings) may hold.
inline constexpr size_t kMaxTextFileBytes = size_t{16} << 20;

enum class ReadStatus { Ok, CannotOpen, NotRegular, TooLarge };

// Reads a whole regular file of at most limit bytes into data.
ReadStatus ReadFileBounded(const std::string& path, size_t limit, std::string& data);

// False when the file cannot be read (missing, not a regular file, too large, a read error).
// Accepts CR LF and LF line ends.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Each line followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

// Writes content to path, following symbolic links to their target. A regular file (existing
// or new) is written through a temporary file in its folder, synced, then renamed into place
// with the old file's permission bits, so a failure leaves it as it was; a file without write
// permission is refused. Anything else (a device, a FIFO) is written directly. On failure
// error holds the path and the system's reason.
bool WriteOutputFile(const std::string& path, const std::string& content, std::string& error);

} // namespace velmora
