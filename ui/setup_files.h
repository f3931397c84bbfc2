#pragma once
// The Setup dialog's files: settings files saved and loaded with their questions and
// dialogs, and warrior lists saved with the sources of warriors that have no file yet. All
// questions, dialogs and messages go through the platform.

#include <optional>
#include <string>
#include <vector>

#include "engine/platform.h"
#include "params/params_rec.h"
#include "params/setup_fields.h"
#include "tournament/tournament.h"
#include "ui/file_names.h"

namespace velmora {

inline constexpr const char* kSettingsFilter = "Battle parameter files (*.cfg)";
inline constexpr const char* kRedcodeFilter = "Redcode files (*.red)|All files (*)";

// "default.cfg" in the start folder (not the working directory of the moment).
std::string DefaultSettingsPath(const std::string& startDirectory);

// "Save Settings": asks whether to use the default file, else a save dialog. Nothing when
// the user cancels.
std::optional<std::string> ChooseSettingsFileToSave(TPlatform& platform,
                                                    const std::string& startDirectory);
// "Load Settings": asks whether to use the default file, else an open dialog; without ask
// (the dialog's creation) the default file. Nothing when the user cancels.
std::optional<std::string> ChooseSettingsFileToLoad(TPlatform& platform,
                                                    const std::string& startDirectory, bool ask);

// What a settings file holds: the dialog's fields as they stand, but the display level,
// early draws, pause, topology, score formula and percent of the records in force.
TSetupFields SettingsToSave(TSetupFields dialog, const TParamsRec& params,
                            const TTournamentRec& rec, bool percent);

// Writes the file through a temporary one, so a failure keeps the previous file; tells the
// user when it fails.
bool SaveSettingsTo(TPlatform& platform, const std::string& path, const TSetupFields& fields);

// Loads path into fields: the defaults when the file does not exist; the lines it refuses
// are reported in one message and keep the fields' values. A file that exists but cannot
// be read is reported and leaves fields as they were.
void LoadSettingsInto(TPlatform& platform, const std::string& path, TSetupFields& fields);

// "Save List": a save dialog, then for every warrior without a file the offer to save its
// source first (left out of the list when declined or when writing fails), then the list.
// The warriors' file names are not changed.
void SaveWarriorListFlow(TPlatform& platform, const std::vector<TWarriorData>& warriors);

} // namespace velmora
