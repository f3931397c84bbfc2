#pragma once
// velmora-cli's whole run, from the arguments to the exit status, with its streams given so
// that tests can drive it without a process.

#include <iosfwd>
#include <string>
#include <vector>

namespace velmora::cli {

// stderrIsTerminal: whether a progress line may be drawn on err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool stderrIsTerminal);

} // namespace velmora::cli
