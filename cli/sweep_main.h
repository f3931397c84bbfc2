#pragma once
// velmora-cli --vary: a constant sweep of the first warrior file against the others or the
// benchmark, from the options to the exit status.

#include <iosfwd>
#include <string>

#include "cli/app.h"
#include "cli/options.h"
#include "params/setup_fields.h"

namespace velmora::cli {

// fields: the settings files and options already applied. terminal: whether a progress
// line may be drawn on err. site fights the sweep.
int RunSweepCommand(const CliOptions& options, TSetupFields& fields, std::ostream& out,
                    std::ostream& err, bool terminal, const std::string& version, BattleSite& site);

} // namespace velmora::cli
