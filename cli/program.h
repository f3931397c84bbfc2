#pragma once
// The program around velmora-cli's run: standard output checked for failed writes, the
// exit status.

#include <string>
#include <vector>

#include "cli/app.h"

namespace velmora::cli {

// args without the program name; site fights the battles.
int RunProgram(const std::vector<std::string>& args, BattleSite& site);

} // namespace velmora::cli
