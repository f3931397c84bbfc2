#include "ui/setup_files.h"

#include <filesystem>

#include "params/settings_file.h"
#include "params/text_file.h"
#include "params/warrior_list_file.h"

namespace velmora {

std::string DefaultSettingsPath(const std::string& startDirectory) {
  if (startDirectory.empty()) return kDefaultSettingsFile;
  return (std::filesystem::path(startDirectory) / kDefaultSettingsFile).string();
}

std::optional<std::string> ChooseSettingsFileToSave(TPlatform& platform,
                                                    const std::string& startDirectory) {
  switch (platform.AskYesNoCancel("Do you wish to save settings into the default file?")) {
  case Answer::Yes: return DefaultSettingsPath(startDirectory);
  case Answer::No:
    if (auto name = platform.SaveFileName("Save Settings", kSettingsFilter, ""))
      return WithDefaultExtension(*name, "cfg");
    return std::nullopt;
  case Answer::Cancel: break;
  }
  return std::nullopt;
}

std::optional<std::string> ChooseSettingsFileToLoad(TPlatform& platform,
                                                    const std::string& startDirectory, bool ask) {
  if (!ask) return DefaultSettingsPath(startDirectory);
  switch (platform.AskYesNoCancel("Do you wish to load settings from the default file?")) {
  case Answer::Yes: return DefaultSettingsPath(startDirectory);
  case Answer::No: return platform.OpenFileName("Load Settings", kSettingsFilter);
  case Answer::Cancel: break;
  }
  return std::nullopt;
}

TSetupFields SettingsToSave(TSetupFields dialog, const TParamsRec& params,
                            const TTournamentRec& rec, bool percent) {
  dialog.DisplayLevel = params.DisplayLevel;
  dialog.EarlyDrawCheck = params.EarlyDrawCheck;
  dialog.PauseBetweenRounds = rec.PauseBetweenRounds;
  dialog.CircularDisplay = params.CircularDisplay;
  dialog.ScoreFormula = rec.ScoreFormula;
  dialog.Percent = percent;
  return dialog;
}

bool SaveSettingsTo(TPlatform& platform, const std::string& path, const TSetupFields& fields) {
  std::string error;
  if (SaveSettingsFile(path, fields, error)) return true;
  platform.ShowMessage(error);
  return false;
}

void LoadSettingsInto(TPlatform& platform, const std::string& path, TSetupFields& fields) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    fields = TSetupFields{};
    return;
  }
  std::vector<SettingsMessage> messages;
  if (!LoadSettingsFile(path, fields, messages)) {
    platform.ShowMessage("Unable to open file " + path);
    return;
  }
  if (messages.empty()) return;
  std::string text = "Settings file " + path + ":";
  for (const SettingsMessage& m : messages)
    text += "\nline " + std::to_string(m.Line) + ": " + m.Text;
  platform.ShowMessage(text);
}

namespace {

// The path a warrior goes into the list with: its file, or one its source is saved to now.
std::optional<std::string> ListPath(TPlatform& platform, const TWarriorData& w) {
  if (!w.FileName.empty()) return w.FileName;
  auto name =
      platform.SaveFileName("Save source for warrior " + w.Name + "?", kRedcodeFilter, w.Name);
  if (!name) return std::nullopt;
  const std::string path = WithDefaultExtension(*name, "red");
  std::string error;
  if (!WriteOutputFile(path, JoinCrLf(w.Source), error)) {
    platform.ShowMessage(error);
    return std::nullopt;
  }
  return path;
}

} // namespace

void SaveWarriorListFlow(TPlatform& platform, const std::vector<TWarriorData>& warriors) {
  const auto listName = platform.SaveFileName("Save Warrior List", "", "");
  if (!listName) return;
  std::vector<std::string> paths;
  for (const TWarriorData& w : warriors)
    if (auto path = ListPath(platform, w)) paths.push_back(std::move(*path));
  std::string error;
  if (!SaveWarriorListFile(*listName, paths, error)) platform.ShowMessage(error);
}

} // namespace velmora
