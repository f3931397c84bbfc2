#pragma once
// Reads the warrior files named on the command line, as the Setup dialog's "Add" does, but
// strictly: a file that cannot be read or is empty, a list that names nothing and a blank
// line in a list are problems, never dropped in silence, so that a hill script's output
// lines always belong to the warriors it named.

#include <string>
#include <vector>

#include "tournament/tournament.h"

namespace velmora::cli {

// Appends the warriors of path (a warrior source or a warrior list) to list, and each
// problem to problems as it is printed: "FILE: message", or "LIST:LINE: ..." for a list's
// line. IDs are not assigned here.
void ReadWarriorInputs(const std::string& path, std::vector<TWarriorData>& list,
                       std::vector<std::string>& problems);

// A list's path as found: relative to the working directory when it exists there, else
// relative to the list's own folder when it exists there, else as written.
std::string ListEntryPath(const std::string& listFile, const std::string& entry);

} // namespace velmora::cli
