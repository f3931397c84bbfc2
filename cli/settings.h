#pragma once
// Turns --settings and the setting options into checked dialog fields, then
// into the parameter record and the tournament's own settings.

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "params/params_rec.h"
#include "params/setup_fields.h"

namespace velmora::cli {

// Loads the settings file when one is named; every failing line is reported on err as
// "FILE:LINE: message" and keeps its value. False when the file cannot be read.
bool LoadSettings(const std::string& file, TSetupFields& fields, std::ostream& err);

// Applies the options' settings in order. False with the message for an unknown keyword.
bool ApplySettings(const std::vector<std::pair<std::string, std::string>>& settings,
                   TSetupFields& fields, std::string& error);

// True when the settings name a number of rounds.
bool RoundsGiven(const std::vector<std::pair<std::string, std::string>>& settings);

// The checks the Setup dialog makes before confirming, for warriors in a battle (the
// listed warriors of a melee, else 2). Permutate without rounds given gets its rounds here.
std::vector<std::string> ConfirmFields(TSetupFields& fields, bool roundsGiven, int32_t warriors);

} // namespace velmora::cli
