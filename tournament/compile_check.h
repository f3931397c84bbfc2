#pragma once
// Compiling every warrior of a battle before its first matchup, so that a player learns of
// every broken warrior at once instead of one at a time, matchups apart.

#include <string>

#include "engine/core.h"
#include "tournament/tournament.h"

namespace velmora {

// Assembles each warrior of the list (and the benchmark warriors of a benchmark) alone under
// the engine's parameters. Empty when all compile; else one text naming every failure
// ("Warrior X failed to compile."), each followed by its first error lines. The assembler's
// own message boxes are gathered into that text instead of being shown one by one. Leaves
// the engine's warriors to be set up afresh.
std::string CompileEveryWarrior(TCore& core, const TTournament& tour);

} // namespace velmora
