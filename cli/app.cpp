#include "cli/app.h"

#include <new>
#include <ostream>
#include <set>

#include "assembler/assembler.h"
#include "cli/battle.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/progress_line.h"
#include "cli/settings.h"
#include "cli/sweep_main.h"
#include "cli/warrior_inputs.h"
#include "params/number_text.h"
#include "params/settings_file.h"
#include "params/text_file.h"
#include "results/report.h"
#include "results/score.h"
#include "tournament/warrior_input.h"

namespace velmora::cli {

namespace {

constexpr const char* kVersion = "0.1.0";

constexpr const char* kTournamentComplete = "Tournament complete.";

// What the program would show in a message box goes to the error stream, except what was
// already said once for its warrior.
class StreamPlatform : public THeadlessPlatform {
public:
  explicit StreamPlatform(std::ostream& err) : Err(err) {}
  void ShowMessage(const std::string& text) override {
    if (Reported.count(text)) return;
    THeadlessPlatform::ShowMessage(text);
    Err << "velmora-cli: " << text << '\n';
  }
  // Warnings of the warriors, printed with their files before the first round.
  std::set<std::string> Reported;

private:
  std::ostream& Err;
};

struct Run {
  Run(std::ostream& out, std::ostream& err, bool terminal, BattleSite& site)
      : Out(out), Err(err), Terminal(terminal), Site(site), Platform(err) {}
  std::ostream& Out;
  std::ostream& Err;
  bool Terminal;
  BattleSite& Site;
  CliOptions Options;
  TSetupFields Fields;
  TParamsRec Params = DefaultParams();
  TTournament Tour;
  StreamPlatform Platform;
  TNullMardexForm Form;
  std::unique_ptr<TCore> Core;

  int Fail(int status, const std::string& message) {
    if (!message.empty()) Err << "velmora-cli: " << message << '\n';
    return status;
  }

  int Execute(const std::vector<std::string>& args);
  bool ReadWarriors();
  int ChooseType();
  int Check();
  int Listing();
  bool CompileAll();
  void ReportWarnings(const std::string& file, const std::vector<std::string>& warnings);
  int Fight();
  int Write();
};

int Run::Execute(const std::vector<std::string>& args) {
  std::string error;
  if (!ParseOptions(args, Options, error)) return Fail(kExitBadUsage, error + " (see --help)");
  if (Options.Help) {
    Out << UsageText();
    return kExitOk;
  }
  if (Options.Version) {
    Out << "velmora-cli " << kVersion << '\n';
    return kExitOk;
  }
  if (Options.Koth && Options.JsonFile == "-")
    return Fail(kExitBadUsage,
                "-k and --json - would both write to standard output; give --json a file name");
  if (Options.SortByScore && !Options.Koth)
    return Fail(kExitBadUsage, "-o (--sort) orders the lines of -k and needs -k");
  if (!LoadSettings(Options.SettingsFile.value_or(""), Fields, Err))
    return Fail(kExitBadUsage, "Cannot read settings file " + *Options.SettingsFile);
  if (!ApplySettings(Options.Settings, Fields, error)) return Fail(kExitBadUsage, error);
  if (!Options.Vary.empty())
    return RunSweepCommand(Options, Fields, Out, Err, Terminal && !Options.Quiet, kVersion, Site);
  if (Options.Files.empty() && !Options.SaveSettingsFile)
    return Fail(kExitBadUsage, "No warrior files given (see --help)");

  const bool readable = ReadWarriors();
  if (int status = ChooseType(); status != kExitOk) return status;
  if (int status = Check(); status != kExitOk) return status;
  if (Options.SaveSettingsFile && !SaveSettingsFile(*Options.SaveSettingsFile, Fields, error))
    return Fail(kExitBadUsage, error);
  if (Options.Files.empty()) return kExitOk;
  if (Tour.WarriorList.empty() && readable) return Fail(kExitBadUsage, "No warriors to fight");
  // Every warrior is compiled, and every problem told, before anything is played.
  if (Options.Listing) {
    const int status = Listing();
    return readable ? status : kExitBattleFailed;
  }
  if (!CompileAll() || !readable) return kExitBattleFailed;
  if (int status = Fight(); status != kExitOk) return status;
  return Write();
}

bool Run::ReadWarriors() {
  std::vector<std::string> problems;
  for (const std::string& file : Options.Files)
    ReadWarriorInputs(file, Tour.WarriorList, problems);
  if (Options.BenchmarkFile)
    ReadWarriorInputs(*Options.BenchmarkFile, Tour.BenchmarkList, problems);
  for (const std::string& p : problems)
    Err << p << '\n';
  NumberWarriors(Tour.WarriorList);
  NumberWarriors(Tour.BenchmarkList);
  return problems.empty();
}

int Run::ChooseType() {
  bool typeOption = false;
  for (const auto& s : Options.Settings)
    typeOption = typeOption || s.first == "type";
  // Without a type from the command line or a named settings file, the warriors given
  // fight together: two in one matchup, more in a melee.
  if (!typeOption && Options.BenchmarkFile)
    Fields.TournamentType = Benchmark;
  else if (!typeOption && !Options.SettingsFile)
    Fields.TournamentType = Tour.WarriorList.size() == 2 ? RoundRobin : Melee;
  // An unreadable benchmark file has been reported already.
  if (Fields.TournamentType == Benchmark && Tour.BenchmarkList.empty() && !Options.Files.empty() &&
      !Options.BenchmarkFile)
    return Fail(kExitBadUsage,
                "To run a Benchmark tournament, you must select a warrior or warrior list.");
  return kExitOk;
}

int Run::Check() {
  const int32_t n = int32_t(Tour.WarriorList.size());
  // One warrior fights a melee alone, unless it is benchmarked.
  const bool melee =
      Fields.TournamentType == Melee || (n == 1 && Fields.TournamentType != Benchmark);
  const int32_t W = melee ? std::max(n, 1) : 2;
  const std::vector<std::string> messages =
      ConfirmFields(Fields, RoundsGiven(Options.Settings), melee ? n : 2);
  for (const std::string& m : messages)
    Err << "velmora-cli: " << m << '\n';
  if (!messages.empty()) return kExitBadUsage;
  StoreSetupFields(Fields, Params);
  Params.NumWarriors = W;
  Tour.Rec.TournamentType = uint8_t(Fields.TournamentType);
  Tour.Rec.Rounds = NumberOrDefault(Fields.RoundsText, 1);
  Tour.Rec.SelfFights = Fields.SelfFights;
  Tour.Rec.ScoreFormula = Fields.ScoreFormula;
  // A command line never waits for a click between rounds.
  Tour.Rec.PauseBetweenRounds = false;
  Form.Rounds = Tour.Rec.Rounds;
  // This engine compiles and scores; the battles run on the workers' engines, which hold
  // the only core and process queues of the run.
  Core = TCore::CreateWithoutMemory(Params, Form, Platform);
  InstallAssembler(*Core);
  if (Params.InitialInstruction != kInitialDat00 && Params.InitialInstruction != kInitialRandom &&
      !CompileInitialInstruction(*Core, Params.InitialInstruction))
    return Fail(kExitBadUsage, "Initial instruction failed to compile.");
  // The formula dialog's check; other failures are reported where they arise.
  try {
    EvaluateScore(*Core, Fields.ScoreFormula, 2, 1);
  } catch (const std::exception& e) {
    return Fail(kExitBadUsage, std::string("Score formula: ") + e.what());
  }
  return kExitOk;
}

int Run::Listing() {
  bool all = true;
  auto list = [&](const std::vector<TWarriorData>& warriors) {
    for (const TWarriorData& w : warriors) {
      const AssembledWarrior a = AssembleAlone(*Core, w);
      ReportWarnings(w.FileName, a.Warnings);
      all = all && a.Compiled;
      for (const std::string& line : a.Lines)
        Out << (a.Compiled ? "" : w.FileName + ": ") << line << '\n';
      Out << '\n';
    }
  };
  list(Tour.WarriorList);
  list(Tour.BenchmarkList);
  return all ? kExitOk : kExitBattleFailed;
}

bool Run::CompileAll() {
  bool all = true;
  std::set<std::string> done; // a file named twice says everything once
  for (const auto* list : {&Tour.WarriorList, &Tour.BenchmarkList})
    for (const TWarriorData& w : *list) {
      if (!done.insert(w.FileName).second) continue;
      const AssembledWarrior a = AssembleAlone(*Core, w);
      ReportWarnings(w.FileName, a.Warnings);
      if (a.Compiled) continue;
      all = false;
      for (const std::string& line : a.Lines)
        Err << w.FileName << ": " << line << '\n';
      Err << w.FileName << ": Warrior " << w.Name << " failed to compile.\n";
    }
  return all;
}

// The one place a warrior's warnings are printed; the engines' repeats of them in every
// matchup are dropped.
void Run::ReportWarnings(const std::string& file, const std::vector<std::string>& warnings) {
  for (const std::string& w : warnings) {
    Err << file << ": warning: " << w << '\n';
    Platform.Reported.insert(w);
  }
}

int Run::Fight() {
  // Settings with any valid Max Processes can be saved; only a run needs the queue block.
  if (const std::string problem = TCore::QueueBlockProblem(Params.MaxProcesses, Params.NumWarriors);
      !problem.empty()) {
    Platform.ShowMessage(problem);
    return kExitBattleFailed;
  }
  bool ok = false;
  try {
    ok = Tour.SetUpTournament(*Core);
  } catch (const std::exception& e) {
    Platform.ShowMessage(e.what());
  }
  if (!ok) return kExitBattleFailed;
  // The battles take their own P-space; this engine's only set up the table.
  for (const auto& w : Core->Warriors)
    w->PSpace.reset();
  const int64_t matchups = Tour.MatchupCount();
  Progress progress;
  BattleOutcome outcome;
  {
    std::unique_ptr<ProgressLine> line;
    if (Terminal && !Options.Quiet)
      line = std::make_unique<ProgressLine>(Err, progress, matchups, matchups * Tour.Rec.Rounds);
    outcome = Site.Tournament(Params, Tour, Options.Threads, progress);
  }
  if (!outcome.Warning.empty()) Err << "velmora-cli: warning: " << outcome.Warning << '\n';
  for (const MatchupMessage& m : outcome.Messages)
    if (m.Text != kTournamentComplete && !Platform.Reported.count(m.Text))
      Err << "velmora-cli: " << MatchupLabel(Tour, m) << ": " << m.Text << '\n';
  if (!outcome.Failure.empty()) Err << "velmora-cli: " << outcome.Failure << '\n';
  if (!outcome.Ok) return kExitBattleFailed;
  if (!Options.Quiet && Tour.TotalRounds >= 2)
    Err << "velmora-cli: " << kTournamentComplete << '\n';
  return kExitOk;
}

int Run::Write() {
  TResultsTable table(*Core, Tour);
  table.Percent = Fields.Percent;
  std::string error;
  try {
    const bool jsonToStdout = Options.JsonFile && *Options.JsonFile == "-";
    if (Options.Koth) {
      for (const std::string& line : KothLines(*Core, Tour, Options.SortByScore))
        Out << line << '\n';
    } else if (!jsonToStdout) {
      for (const std::string& line : ReportLines(table, Tour, *Core))
        Out << line << '\n';
    }
    if (Options.ReportFile && !WriteReport(*Options.ReportFile, table, Tour, *Core, error))
      return Fail(kExitBattleFailed, error);
    if (Options.JsonFile) {
      const std::string json = JsonText(*Core, Tour, Fields, kVersion);
      if (jsonToStdout)
        Out << json;
      else if (!WriteOutputFile(*Options.JsonFile, json, error))
        return Fail(kExitBattleFailed, error);
    }
  } catch (const EJsonError& e) {
    return Fail(kExitBattleFailed, std::string("JSON: ") + e.what());
  } catch (const std::exception& e) {
    // A score formula failing for a lost round: the results cannot be scored.
    return Fail(kExitBattleFailed, std::string("Score formula: ") + e.what());
  }
  return kExitOk;
}

} // namespace

BattleOutcome BattleSite::Tournament(const TParamsRec& params, TTournament& tour, int32_t threads,
                                     Progress& progress) {
  return RunTournament(params, tour, ThreadCount(threads), progress);
}

SweepOutcome BattleSite::Sweep(const SweepSpec& plan, int32_t, SweepProgress& progress) {
  return RunSweep(plan, progress);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool stderrIsTerminal) {
  BattleSite here;
  return RunCli(args, out, err, stderrIsTerminal, here);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool stderrIsTerminal, BattleSite& site) {
  Run run(out, err, stderrIsTerminal, site);
  try {
    return run.Execute(args);
  } catch (const std::bad_alloc&) {
    // Whatever ran out of memory, the run ends with a message, not an abort.
    err << "velmora-cli: Not enough memory\n";
    return kExitBattleFailed;
  } catch (const std::exception& e) {
    // A resource the system refused (a thread, a file): reported, never an abort.
    err << "velmora-cli: " << e.what() << '\n';
    return kExitBattleFailed;
  }
}

} // namespace velmora::cli
