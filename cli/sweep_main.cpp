#include "cli/sweep_main.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <thread>

#include "assembler/assembler.h"
#include "cli/settings.h"
#include "cli/sweep_output.h"
#include "cli/warrior_inputs.h"
#include "params/number_text.h"
#include "params/text_file.h"
#include "tournament/warrior_input.h"
#include "tuning/sweep.h"

namespace velmora::cli {

namespace {

// Messages meant for a message box go to the error stream.
class ErrPlatform : public THeadlessPlatform {
public:
  explicit ErrPlatform(std::ostream& err) : Err(err) {}
  void ShowMessage(const std::string& text) override {
    THeadlessPlatform::ShowMessage(text);
    Err << "velmora-cli: " << text << '\n';
  }
  std::ostream& Err;
};

// Redraws the sweep's progress twice a second on its own thread until destroyed.
class SweepProgressLine {
public:
  SweepProgressLine(std::ostream& err, const SweepProgress& progress)
      : Err(err), Counts(progress), Start(std::chrono::steady_clock::now()) {
    Thread = std::thread([this] {
      std::unique_lock<std::mutex> lock(Lock);
      while (!Wake.wait_for(lock, std::chrono::milliseconds(500), [this] { return Done; }))
        Err << "\r\033[K"
            << SweepProgressText(
                   Counts.PointsDone, Counts.TotalPoints, Counts.RoundsDone, Counts.TotalRounds,
                   std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count())
            << std::flush;
    });
  }
  ~SweepProgressLine() {
    {
      std::lock_guard<std::mutex> lock(Lock);
      Done = true;
    }
    Wake.notify_all();
    Thread.join();
    Err << "\r\033[K" << std::flush;
  }
  SweepProgressLine(const SweepProgressLine&) = delete;
  SweepProgressLine& operator=(const SweepProgressLine&) = delete;

private:
  std::ostream& Err;
  const SweepProgress& Counts;
  std::chrono::steady_clock::time_point Start;
  std::mutex Lock;
  std::condition_variable Wake;
  bool Done = false;
  std::thread Thread;
};

int Fail(std::ostream& err, int status, const std::string& message) {
  err << "velmora-cli: " << message << '\n';
  return status;
}

// The first line of a multi-line message.
std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

} // namespace

int RunSweepCommand(const CliOptions& options, TSetupFields& fields, std::ostream& out,
                    std::ostream& err, bool terminal, const std::string& version,
                    BattleSite& site) {
  SweepSpec plan;
  for (const std::string& text : options.Vary) {
    SweepRange range;
    std::string error;
    if (!ParseVary(text, range, error)) return Fail(err, kExitBadUsage, error);
    plan.Ranges.push_back(range);
  }
  if (options.Files.empty()) return Fail(err, kExitBadUsage, "No warrior to tune (see --help)");

  ErrPlatform platform(err);
  // Every file is read before anything is played, and each problem told.
  std::vector<std::string> problems;
  std::vector<TWarriorData> warrior;
  ReadWarriorInputs(options.Files.front(), warrior, problems);
  for (size_t i = 1; i < options.Files.size(); ++i)
    ReadWarriorInputs(options.Files[i], plan.Opponents, problems);
  if (options.BenchmarkFile) ReadWarriorInputs(*options.BenchmarkFile, plan.Opponents, problems);
  for (const std::string& p : problems)
    err << p << '\n';
  if (!problems.empty()) return kExitBattleFailed;
  if (warrior.size() != 1)
    return Fail(err, kExitBadUsage, options.Files.front() + " is not one warrior source");
  plan.Warrior = warrior.front();
  NumberWarriors(plan.Opponents);
  if (plan.Opponents.empty())
    return Fail(err, kExitBadUsage, "No opponents: give --benchmark LIST or OPPONENT files");
  if (std::string error = CheckSweepRanges(plan.Warrior, plan.Ranges); !error.empty())
    return Fail(err, kExitBadUsage, error);

  // Every point fights two-warrior battles.
  const std::vector<std::string> messages = ConfirmFields(fields, RoundsGiven(options.Settings), 2);
  for (const std::string& m : messages)
    err << "velmora-cli: " << m << '\n';
  if (!messages.empty()) return kExitBadUsage;
  StoreSetupFields(fields, plan.Params);
  plan.Params.NumWarriors = 2;
  plan.Rounds = NumberOrDefault(fields.RoundsText, 1);
  plan.ScoreFormula = fields.ScoreFormula;
  plan.Halving = options.Halving;
  plan.Threads = ThreadCount(options.Threads);
  {
    TNullMardexForm form(plan.Rounds);
    auto core = TCore::Create(plan.Params, form, platform);
    if (!core) return kExitBattleFailed;
    InstallAssembler(*core);
    const std::string& initial = plan.Params.InitialInstruction;
    if (initial != kInitialDat00 && initial != kInitialRandom &&
        !CompileInitialInstruction(*core, initial))
      return Fail(err, kExitBadUsage, "Initial instruction failed to compile.");
  }

  SweepProgress progress;
  SweepOutcome result;
  {
    std::unique_ptr<SweepProgressLine> line;
    if (terminal && !options.Quiet) line = std::make_unique<SweepProgressLine>(err, progress);
    result = site.Sweep(plan, options.Threads, progress);
  }
  if (result.Fault != SweepOutcome::Failure::None)
    return Fail(err,
                result.Fault == SweepOutcome::Failure::BadSweep ? kExitBadUsage : kExitBattleFailed,
                result.Error);
  for (const std::string& m : result.Messages)
    err << "velmora-cli: " << m << '\n';
  for (const SweepPoint& p : result.Points) {
    if (!p.Failed) continue;
    std::string at;
    for (size_t i = 0; i < plan.Ranges.size(); ++i)
      at += (i ? " " : "") + plan.Ranges[i].Name + "=" + std::to_string(p.Values[i]);
    err << "velmora-cli: " << at << ": " << FirstLine(p.Message) << '\n';
  }

  const bool jsonToStdout = options.JsonFile && *options.JsonFile == "-";
  if (!jsonToStdout)
    for (const std::string& l : SweepTableLines(plan, result))
      out << l << '\n';
  std::string error;
  if (options.JsonFile) {
    const std::string json = SweepJsonText(plan, result, version);
    if (jsonToStdout)
      out << json;
    else if (!WriteOutputFile(*options.JsonFile, json, error))
      return Fail(err, kExitBattleFailed, error);
  }
  if (options.CsvFile && !WriteOutputFile(*options.CsvFile, SweepCsvText(plan, result), error))
    return Fail(err, kExitBattleFailed, error);
  if (result.Ranking.empty()) return Fail(err, kExitBattleFailed, "No point could be scored");
  return kExitOk;
}

} // namespace velmora::cli
