#pragma once
// Reads warrior files as the Setup dialog's "Add" does, for the dialog, the main window's
// command line and velmora-cli: a file whose first line is ";warriorlist" names warrior
// sources, any other file is one.

#include <string>
#include <vector>

#include "engine/platform.h"
#include "tournament/tournament.h"

namespace velmora {

// Appends the warriors of path to list. forBenchmark keeps files with no lines (as the
// benchmark list does); the warrior list skips them. IDs are not assigned here.
void AddWarriorFile(TPlatform& platform, const std::string& path, bool forBenchmark,
                    std::vector<TWarriorData>& list);

// IDs := positions + 1, as confirming the dialog does.
void NumberWarriors(std::vector<TWarriorData>& list);

} // namespace velmora
