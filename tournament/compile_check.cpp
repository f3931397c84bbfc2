#include "tournament/compile_check.h"

#include <exception>
#include <vector>

#include "assembler/assembler.h"

namespace velmora {

namespace {

// Keeps the assembler's messages for the one summary; everything else goes to the user.
class TGatheringPlatform : public TPlatform {
public:
  explicit TGatheringPlatform(TPlatform& user) : User(user) {}
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  Answer AskYesNoCancel(const std::string& text) override { return User.AskYesNoCancel(text); }
  std::optional<std::string> OpenFileName(const std::string& title,
                                          const std::string& filter) override {
    return User.OpenFileName(title, filter);
  }
  std::optional<std::string> SaveFileName(const std::string& title, const std::string& filter,
                                          const std::string& suggested) override {
    return User.SaveFileName(title, filter, suggested);
  }
  ClockTime UtcTimeOfDay() override { return User.UtcTimeOfDay(); }

  TPlatform& User;
  std::vector<std::string> Messages;
};

// Enough lines to find the fault; the editor shows them all.
constexpr size_t kLinesPerWarrior = 3;

} // namespace

std::string CompileEveryWarrior(TCore& core, const TTournament& tour) {
  TPlatform* user = core.Platform;
  TGatheringPlatform gathering(*user);
  core.Platform = &gathering;
  const int32_t numWarriors = core.NumWarriors;
  // WARRIORS means in the check what it will mean in the battle.
  core.NumWarriors = tour.Rec.TournamentType == Melee ? int32_t(tour.WarriorList.size()) : 2;
  while (core.Warriors.size() < 2)
    core.AddWarrior();
  std::string report;
  auto check = [&](const TWarriorData& d) {
    TWarrior& w = *core.Warriors[1];
    w.Name = d.Name;
    w.Source = d.Source;
    gathering.Messages.clear();
    std::vector<std::string> lines;
    bool compiled = false;
    try {
      uint32_t checksum = 1;
      compiled = !d.Source.empty() && AssembleWarrior(core, 1, lines, checksum, true) == 2;
    } catch (const std::exception& e) {
      lines.push_back(e.what());
    }
    if (compiled) return;
    lines.insert(lines.begin(), gathering.Messages.begin(), gathering.Messages.end());
    report += (d.Source.empty() ? "Warrior " + d.Name + " has no code."
                                : "Warrior " + d.Name + " failed to compile.") +
              "\n";
    for (size_t i = 0; i < lines.size() && i < kLinesPerWarrior; ++i)
      report += "    " + lines[i] + "\n";
    if (lines.size() > kLinesPerWarrior) report += "    ...\n";
  };
  for (const TWarriorData& d : tour.WarriorList)
    check(d);
  if (tour.Rec.TournamentType == Benchmark)
    for (const TWarriorData& d : tour.BenchmarkList)
      check(d);
  core.NumWarriors = numWarriors;
  core.RoundState = kRoundIdle;
  core.Platform = user;
  if (!report.empty()) report.pop_back();
  return report;
}

} // namespace velmora
