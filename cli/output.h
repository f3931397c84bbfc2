#pragma once
// What velmora-cli prints besides the report: the lines hill scripts parse, the JSON
// results, and the load files of --listing.

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/core.h"
#include "params/setup_fields.h"
#include "tournament/tournament.h"

namespace velmora::cli {

// -k: two-warrior battles give "wins ties" per warrior; a melee of W gives its score (the
// formula's points summed over the rounds), its counts of rounds survived with 1..W
// survivors, then its losses. Other tournaments: each warrior's summed "wins ties". In list
// order, or by score (highest first) when sortByScore.
std::vector<std::string> KothLines(TCore& core, const TTournament& tour, bool sortByScore);

// A JSON document that could not be produced; score formula errors pass as they are.
struct EJsonError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The results for programs; the schema is in the README. Texts are UTF-8.
std::string JsonText(TCore& core, const TTournament& tour, const TSetupFields& fields,
                     const std::string& version);

// Names, authors and formulas in the program's 8-bit character set, as UTF-8: each byte is
// the Latin-1 character of its code.
std::string Latin1ToUtf8(const std::string& text);
std::vector<std::string> Latin1Lines(std::vector<std::string> lines);
// A path as the system gave it when it is UTF-8 already, else read as Latin-1.
std::string PathText(const std::string& path);

struct AssembledWarrior {
  bool Compiled = false;
  std::vector<std::string> Lines;    // the load file, or the error lines
  std::vector<std::string> Warnings; // what the assembler showed while it compiled
};

// Assembles each warrior alone on core (warrior slot 1), as its battle would. What the
// assembler shows on the way (a false ;assert, a length over the limit) is kept in the
// result, as warnings when the warrior compiled, else after its error lines.
AssembledWarrior AssembleAlone(TCore& core, const TWarriorData& warrior);

} // namespace velmora::cli
