#pragma once
// `velmora --bench`: the same battle run four ways, at the top speed with every kind of
// cell drawn (with and without the Step Back history), with "Max", and on the command line's
// path without a window, each reported in millions of instructions per second.

#include <iosfwd>
#include <string>
#include <vector>

namespace velmora {

class TMardexForm;
struct TVelmoraApp;

struct DesktopBenchOptions {
  std::vector<std::string> Files; // two warriors, or more for a melee
  int32_t Rounds = 100;
  int32_t Seed = 1234;
};

// Runs the four measurements on a shown main window; 0 when they agree on the work done.
int RunDesktopBenchmark(TMardexForm& form, TVelmoraApp& app, const DesktopBenchOptions& options,
                        std::ostream& out);

} // namespace velmora
