#include "cli/settings.h"

#include <ostream>

#include "params/number_text.h"
#include "params/settings_file.h"

namespace velmora::cli {

namespace {

bool LoadOne(const std::string& path, TSetupFields& fields, std::ostream& err) {
  std::vector<SettingsMessage> messages;
  if (!LoadSettingsFile(path, fields, messages)) return false;
  for (const SettingsMessage& m : messages)
    err << path << ':' << m.Line << ": " << m.Text << '\n';
  return true;
}

// "core", "1/4", "1/16" choose list items; anything else is a typed value.
bool SetLimit(LimitField& field, const std::string& value, bool pspace, std::string& error,
              const char* name) {
  if (value == "core")
    field = {pspace ? 1 : 0, {}};
  else if (value == "1/4" && !pspace)
    field = {1, {}};
  else if (value == "1/16")
    field = {pspace ? 0 : 2, {}};
  else if (!value.empty() && (value[0] == '-' || value[0] == '+' || value[0] == '$' ||
                              (value[0] >= '0' && value[0] <= '9')))
    field = {-1, value};
  else {
    error = std::string("Unknown ") + name + " " + value;
    return false;
  }
  return true;
}

bool Choice(const std::string& value, const char* first, const char* second, int32_t& choice,
            std::string& text) {
  if (value == first)
    choice = -1;
  else if (value == second)
    choice = -2;
  else {
    choice = 0;
    text = value;
  }
  return true;
}

} // namespace

bool LoadSettings(const std::string& file, TSetupFields& fields, std::ostream& err) {
  // Never default.cfg of the working directory: a script gives the same results anywhere.
  return file.empty() || LoadOne(file, fields, err);
}

bool ApplySettings(const std::vector<std::pair<std::string, std::string>>& settings,
                   TSetupFields& f, std::string& error) {
  for (const auto& [name, value] : settings) {
    if (name == "type") {
      static const char* const types[] = {"melee", "round-robin", "challenge", "benchmark"};
      int32_t t = -1;
      for (int32_t i = 0; i < 4; ++i)
        if (value == types[i]) t = i;
      if (t < 0) {
        error = "Unknown tournament type " + value;
        return false;
      }
      f.TournamentType = t;
    } else if (name == "rounds") {
      f.RoundsText = value;
    } else if (name == "self-fights") {
      f.SelfFights = value == "1";
    } else if (name == "core-size") {
      f.CoreSizeText = value;
      if (!f.RandomCoreSize) f.MinCoreSizeText = value;
    } else if (name == "min-core-size") {
      f.RandomCoreSize = true;
      f.MinCoreSizeText = value;
    } else if (name == "max-cycles") {
      f.MaxCyclesText = value;
    } else if (name == "max-processes") {
      f.MaxProcessesText = value;
    } else if (name == "max-length") {
      f.MaxLengthText = value;
    } else if (name == "min-distance") {
      f.MinDistanceText = value;
    } else if (name == "read-limit") {
      if (!SetLimit(f.ReadLimit, value, false, error, "read limit")) return false;
    } else if (name == "write-limit") {
      if (!SetLimit(f.WriteLimit, value, false, error, "write limit")) return false;
    } else if (name == "pspace-size") {
      if (!SetLimit(f.PSpace, value, true, error, "P-space size")) return false;
    } else if (name == "standard") {
      if (value == "88")
        f.StandardItem = 0;
      else if (value == "94")
        f.StandardItem = 1;
      else if (value == "94p")
        f.StandardItem = 2;
      else {
        error = "Unknown standard " + value + " (88, 94 or 94p)";
        return false;
      }
    } else if (name == "position") {
      Choice(value, "random", "permutate", f.SecondPosition, f.FixedPositionText);
    } else if (name == "seed") {
      Choice(value, "random", "checksum", f.SeedMode, f.FixedSeedText);
    } else if (name == "initial") {
      if (value == "RANDOM" || value == "random")
        f.InitialInstruction = kInitialRandom;
      else if (value == "DAT 0,0" || value == "DAT 0, 0")
        f.InitialInstruction = kInitialDat00;
      else
        f.InitialInstruction = value;
    } else if (name == "formula") {
      f.ScoreFormula = value;
    } else if (name == "percent") {
      f.Percent = value == "1";
    } else if (name == "early-draw") {
      f.EarlyDrawCheck = value == "1";
    }
  }
  return true;
}

bool RoundsGiven(const std::vector<std::pair<std::string, std::string>>& settings) {
  for (const auto& s : settings)
    if (s.first == "rounds") return true;
  return false;
}

std::vector<std::string> ConfirmFields(TSetupFields& f, bool roundsGiven, int32_t warriors) {
  if (f.SecondPosition == kPositionPermutate) {
    // The dialog offers no permutation over a random core size.
    if (f.RandomCoreSize) return {"Permutate cannot be used with a random core size"};
    const auto core = ParseNumberText(f.CoreSizeText);
    const auto distance = ParseNumberText(f.MinDistanceText);
    if (!roundsGiven && core && distance)
      f.RoundsText = std::to_string(PermutateRounds(*core, *distance));
  }
  return CheckSetupFields(f, warriors);
}

} // namespace velmora::cli
