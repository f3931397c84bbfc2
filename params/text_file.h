#pragma once
// Text files line by line: reading accepts CR LF and LF endings; writing goes to a temporary
// file beside the target that is renamed into place, so that a failure halfway leaves the
// previous file intact.

#include <string>
#include <vector>

namespace velmora {

// False when the file cannot be opened or read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Each line followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

// Writes content to path through a temporary file in the same folder. On failure the target
// is untouched, the temporary file removed, and error tells why.
bool WriteFileReplacing(const std::string& path, const std::string& content, std::string& error);

} // namespace velmora
