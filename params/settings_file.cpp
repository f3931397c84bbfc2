#include "params/settings_file.h"

#include <optional>

#include "params/field_checks.h"
#include "params/number_text.h"
#include "params/text_file.h"

namespace velmora {

std::string ValueOfLine(const std::string& line) {
  const size_t end = line.find_first_of(" =");
  return end == std::string::npos ? line : line.substr(0, end);
}

namespace {

std::string Flag(bool b) {
  return b ? "1" : "0";
}

// A typed number as the reader reads it back: " 4000", "+500" or "$1F40" in decimal. Text
// that is no number stays as typed, to be reported when it is loaded.
std::string SavedNumber(const std::string& text) {
  const std::optional<int32_t> n = ParseNumberText(text);
  return n ? std::to_string(*n) : text;
}

std::string LimitText(const LimitField& f) {
  return f.Item < 0 ? "-" + SavedNumber(f.Text) : std::to_string(f.Item);
}

std::string ChoiceText(int32_t choice, const std::string& fixedText) {
  return choice < 0 ? std::to_string(choice) : SavedNumber(fixedText);
}

constexpr const char* kInstructionSuffix = " = Initialize instruction";

} // namespace

std::vector<std::string> SettingsLines(const TSetupFields& f) {
  return {
      SavedNumber(f.CoreSizeText) + " = Core Size",
      Flag(f.RandomCoreSize) + " = Random Core Size checked",
      // A fixed size is its own minimum, whatever the hidden minimum field holds.
      SavedNumber(f.RandomCoreSize ? f.MinCoreSizeText : f.CoreSizeText) + " = Min Core Size",
      std::to_string(f.DisplayLevel) + " = Graphical Display option",
      Flag(f.EarlyDrawCheck) + " = Imp Draw detection checked",
      Flag(f.PauseBetweenRounds) + " = Pause after battles checked",
      SavedNumber(f.MaxCyclesText) + " = Battle Length",
      SavedNumber(f.MaxProcessesText) + " = Queue Limit",
      SavedNumber(f.MaxLengthText) + " = Warrior Size limit",
      SavedNumber(f.MinDistanceText) + " = Buffer Size",
      LimitText(f.ReadLimit) + " = Read Limit",
      LimitText(f.WriteLimit) + " = Write Limit",
      LimitText(f.PSpace) + " = PSpace Size",
      std::to_string(f.TournamentType) + " = Tournament Type",
      SavedNumber(f.RoundsText) + " = Number of battles per matchup",
      std::to_string(f.StandardItem) + " = Standards index",
      Flag(f.CircularDisplay) + " = Circular display topology",
      Flag(f.SelfFights) + " = Self fights",
      f.ScoreFormula,
      Flag(f.Percent) + " = Show percent WLT",
      ChoiceText(f.SecondPosition, f.FixedPositionText) + " = Second warrior position",
      ChoiceText(f.SeedMode, f.FixedSeedText) + " = RNG Seed",
      f.InitialInstruction + kInstructionSuffix,
  };
}

namespace {

// Reads the lines one by one; each setter either stores or reports.
class Loader {
public:
  Loader(TSetupFields& fields, std::vector<SettingsMessage>& messages)
      : F(fields), Messages(messages) {}

  void Apply(int32_t line, const std::string& text) {
    Line = line;
    Value = ValueOfLine(text);
    switch (line) {
    case 1: Text(F.CoreSizeText, CheckCoreSize(Value, false, {})); break;
    case 2: Bool(F.RandomCoreSize, "Random Core Size checked"); break;
    case 3: Text(F.MinCoreSizeText, CheckMinCoreSize(Value, F.CoreSizeText)); break;
    case 4: Ranged(F.DisplayLevel, 0, 5, "Graphical Display option"); break;
    case 5: Bool(F.EarlyDrawCheck, "Imp Draw detection checked"); break;
    case 6: Bool(F.PauseBetweenRounds, "Pause after battles checked"); break;
    case 7: Text(F.MaxCyclesText, CheckMaxCycles(Value)); break;
    case 8: Text(F.MaxProcessesText, CheckMaxProcesses(Value)); break;
    case 9:
      Text(F.MaxLengthText, CheckMaxLength(Value, F.CoreSizeText, F.MinDistanceText, 0));
      break;
    case 10: Text(F.MinDistanceText, CheckMinDistance(Value)); break;
    case 11: Limit(F.ReadLimit, 2, CheckReadLimit, "Read Limit"); break;
    case 12: Limit(F.WriteLimit, 2, CheckWriteLimit, "Write Limit"); break;
    case 13: Limit(F.PSpace, 1, CheckPSpaceSize, "PSpace Size"); break;
    case 14: Ranged(F.TournamentType, 0, 3, "Tournament Type"); break;
    case 15: Text(F.RoundsText, CheckRounds(Value)); break;
    case 16: Ranged(F.StandardItem, 0, 2, "Standards index"); break;
    case 17: Bool(F.CircularDisplay, "Circular display topology"); break;
    case 18: Bool(F.SelfFights, "Self fights"); break;
    case 19: F.ScoreFormula = text; break;
    case 20: Bool(F.Percent, "Show percent WLT"); break;
    case 21: Position(); break;
    case 22: Seed(); break;
    case 23: F.InitialInstruction = Instruction(text); break;
    default: break;
    }
  }

  void Report(int32_t line, const std::string& text) { Messages.push_back({line, text}); }

private:
  std::optional<int32_t> Number(const std::string& name) {
    const std::optional<int32_t> n = ParseNumberText(Value);
    if (!n) Report(Line, name + " must be a number");
    return n;
  }

  void Text(std::string& field, const FieldCheck& check) {
    if (check.Ok())
      field = Value;
    else
      Report(Line, check.Message);
  }

  void Bool(bool& field, const std::string& name) {
    if (const auto n = Number(name)) field = *n != 0;
  }

  void Ranged(int32_t& field, int32_t low, int32_t high, const std::string& name) {
    const auto n = Number(name);
    if (!n) return;
    if (*n < low || *n > high)
      Report(Line,
             name + " must be between " + std::to_string(low) + " and " + std::to_string(high));
    else
      field = *n;
  }

  using LimitCheck = FieldCheck (*)(const std::string&, const std::string&);
  void Limit(LimitField& field, int32_t lastItem, LimitCheck check, const std::string& name) {
    const auto n = Number(name);
    if (!n) return;
    if (*n >= 0) {
      if (*n > lastItem)
        Report(Line, name + " item must be between 0 and " + std::to_string(lastItem));
      else
        field = {*n, {}};
      return;
    }
    // A typed value is stored negated.
    const std::string typed = Value.substr(1);
    const FieldCheck c = check(typed, F.CoreSizeText);
    if (c.Ok())
      field = {-1, typed};
    else
      Report(Line, c.Message);
  }

  void Position() {
    const auto n = ParseNumberText(Value);
    if (n == kPositionRandom || n == kPositionPermutate) {
      F.SecondPosition = *n;
      return;
    }
    const FieldCheck c = CheckSecondPosition(Value, F.CoreSizeText, F.MinDistanceText);
    if (!c.Ok()) return Report(Line, c.Message);
    F.SecondPosition = 0;
    F.FixedPositionText = Value;
  }

  void Seed() {
    const auto n = ParseNumberText(Value);
    if (n == kSeedRandom || n == kSeedChecksum) {
      F.SeedMode = *n;
      return;
    }
    const FieldCheck c = CheckFixedSeed(Value);
    if (!c.Ok()) return Report(Line, c.Message);
    F.SeedMode = 0;
    F.FixedSeedText = Value;
  }

  // The text before " = Initialize instruction"; an older writer's line is cut before the
  // first "=", as far as it has one.
  static std::string Instruction(const std::string& text) {
    const std::string suffix = kInstructionSuffix;
    if (text.size() >= suffix.size() &&
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0)
      return text.substr(0, text.size() - suffix.size());
    const size_t eq = text.find('=');
    if (eq == std::string::npos) return text;
    return text.substr(0, eq > 0 && text[eq - 1] == ' ' ? eq - 1 : eq);
  }

  TSetupFields& F;
  std::vector<SettingsMessage>& Messages;
  int32_t Line = 0;
  std::string Value;
};

} // namespace

void ApplySettingsLines(const std::vector<std::string>& lines, TSetupFields& fields,
                        std::vector<SettingsMessage>& messages) {
  Loader loader(fields, messages);
  const int32_t count = static_cast<int32_t>(lines.size());
  // The optional lines take their defaults when the file ends before them.
  const TSetupFields defaults;
  if (count < 19) fields.ScoreFormula = defaults.ScoreFormula;
  if (count < 20) fields.Percent = defaults.Percent;
  if (count < 21) fields.SecondPosition = defaults.SecondPosition;
  if (count < 22) fields.SeedMode = defaults.SeedMode;
  if (count < 23) fields.InitialInstruction = defaults.InitialInstruction;
  for (int32_t i = 0; i < count && i < kSettingsLineCount; ++i)
    loader.Apply(i + 1, lines[size_t(i)]);
  if (count < kRequiredSettingsLines)
    loader.Report(count + 1,
                  "The settings file ends before line " + std::to_string(kRequiredSettingsLines));
}

bool LoadSettingsFile(const std::string& path, TSetupFields& fields,
                      std::vector<SettingsMessage>& messages) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return false;
  ApplySettingsLines(lines, fields, messages);
  return true;
}

bool SaveSettingsFile(const std::string& path, const TSetupFields& fields, std::string& error) {
  return WriteOutputFile(path, JoinCrLf(SettingsLines(fields)), error);
}

} // namespace velmora
