#include "cli/output.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "assembler/assembler.h"
#include "results/results_table.h"
#include "results/score.h"

namespace velmora::cli {

std::string Latin1ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

std::vector<std::string> Latin1Lines(std::vector<std::string> lines) {
  for (std::string& line : lines)
    line = Latin1ToUtf8(line);
  return lines;
}

std::string PathText(const std::string& path) {
  try {
    (void)nlohmann::json(path).dump();
    return path;
  } catch (const nlohmann::json::type_error&) {
    return Latin1ToUtf8(path);
  }
}

namespace {

// Survivor counts and losses of list warrior i, summed over its row.
struct Totals {
  std::vector<int64_t> Counts;
  int64_t Losses = 0;
};

Totals RowTotals(const TTournamentRec& rec, size_t row) {
  Totals t;
  t.Counts.assign(size_t(std::max(rec.WarriorsPerBattle, 1)), 0);
  if (row >= rec.Results.size()) return t;
  for (const MatchupResult& m : rec.Results[row]) {
    for (size_t k = 0; k < t.Counts.size() && k < m.SurvivorCounts.size(); ++k)
      t.Counts[k] += m.SurvivorCounts[k];
    t.Losses += m.Losses;
  }
  return t;
}

} // namespace

std::vector<std::string> KothLines(TCore& core, const TTournament& tour, bool sortByScore) {
  const TTournamentRec& rec = tour.Rec;
  const int32_t W = rec.WarriorsPerBattle;
  const size_t n = rec.TournamentType == Challenge ? 1 : tour.WarriorList.size();
  struct Line {
    std::string Text;
    double Score;
  };
  std::vector<Line> lines;
  for (size_t i = 0; i < n; ++i) {
    const Totals t = RowTotals(rec, i);
    double score = 0;
    for (int32_t k = 1; k <= W; ++k)
      score +=
          double(EvaluateScore(core, rec.ScoreFormula, W, k)) * double(t.Counts[size_t(k - 1)]);
    std::string text;
    if (rec.TournamentType == Melee && W != 2) {
      text = std::to_string(int64_t(score));
      for (int64_t c : t.Counts)
        text += " " + std::to_string(c);
      text += " " + std::to_string(t.Losses);
    } else {
      text =
          std::to_string(t.Counts[0]) + " " + std::to_string(t.Counts.size() > 1 ? t.Counts[1] : 0);
    }
    lines.push_back({text, score});
  }
  if (sortByScore)
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.Score > b.Score; });
  std::vector<std::string> out;
  for (Line& l : lines)
    out.push_back(std::move(l.Text));
  return out;
}

namespace {

using nlohmann::json;

json Choice(int32_t value, const char* first, const char* second) {
  if (value == -1) return first;
  if (value == -2) return second;
  return value;
}

json WarriorsJson(TCore& core, const std::vector<TWarriorData>& list) {
  json out = json::array();
  for (const TWarriorData& w : list)
    out.push_back({{"id", w.ID},
                   {"name", Latin1ToUtf8(w.Name)},
                   {"author", Latin1ToUtf8(w.Author)},
                   {"file", PathText(w.FileName)},
                   {"warnings", Latin1Lines(AssembleAlone(core, w).Warnings)}});
  return out;
}

const char* TypeKeyword(uint8_t type) {
  static const char* const names[] = {"melee", "round-robin", "challenge", "benchmark"};
  return type < 4 ? names[type] : "unknown";
}

} // namespace

std::string JsonText(TCore& core, const TTournament& tour, const TSetupFields& fields,
                     const std::string& version) {
  const TTournamentRec& rec = tour.Rec;
  static const char* const standards[] = {"88", "94", "94p"};
  json params = {
      {"coreSize", core.CoreSizeMax},
      {"randomCoreSize", core.RandomCoreSize},
      {"minCoreSize", core.RandomCoreSize ? core.CoreSizeMin : core.CoreSizeMax},
      {"maxCycles", core.MaxCycles},
      {"maxProcesses", core.MaxProcesses},
      {"maxLength", core.MaxLength},
      {"minDistance", core.MinDistance},
      {"readLimit", core.ReadLimit},
      {"writeLimit", core.WriteLimit},
      {"pspaceSize", core.PSpaceSize},
      {"standard", standards[std::min<int>(core.Standard, 2)]},
      {"position", Choice(core.SecondPosition, "random", "permutate")},
      {"seed", Choice(core.SeedMode, "random", "checksum")},
      {"initialInstruction", Latin1ToUtf8(core.InitialInstruction)},
      {"earlyDrawCheck", core.EarlyDrawCheck},
      {"type", TypeKeyword(rec.TournamentType)},
      {"rounds", rec.Rounds},
      {"selfFights", rec.SelfFights},
      {"warriorsPerBattle", rec.WarriorsPerBattle},
      {"scoreFormula", Latin1ToUtf8(rec.ScoreFormula)},
      {"percent", fields.Percent},
  };
  json matchups = json::array();
  for (size_t r = 0; r < rec.Results.size(); ++r)
    for (size_t c = 0; c < rec.Results[r].size(); ++c) {
      const MatchupResult& m = rec.Results[r][c];
      matchups.push_back({{"row", r},
                          {"column", c},
                          {"opponent", m.Opponent},
                          {"roundsPlayed", m.RoundsPlayed},
                          {"losses", m.Losses},
                          {"survivorCounts", m.SurvivorCounts},
                          {"averageCycles", m.AverageCycles}});
    }
  // Summary rows as counts, in the report's order (by score, highest first).
  TResultsTable table(core, tour);
  table.Percent = false;
  table.ComputeSummary();
  table.SortRows();
  json summary = json::array();
  for (size_t p = 0; p < table.Order.size(); ++p) {
    const ResultRow& row = table.RowAt(int32_t(p));
    // Counts are whole numbers: the table was computed without percentages.
    auto count = [](double v) { return int64_t(v); };
    json ties = json::array();
    for (size_t k = 2; k < row.Outcomes.size(); ++k)
      ties.push_back(count(row.Outcomes[k]));
    summary.push_back({{"id", int32_t(row.ID)},
                       {"name", Latin1ToUtf8(row.Name)},
                       {"author", Latin1ToUtf8(row.Author)},
                       {"length", row.Length},
                       {"score", row.Score},
                       {"given", row.Given},
                       {"wins", row.Outcomes.empty() ? 0 : count(row.Outcomes[0])},
                       {"losses", row.Outcomes.size() > 1 ? count(row.Outcomes[1]) : 0},
                       {"ties", ties}});
  }
  json doc = {{"program", "velmora-cli"},
              {"version", version},
              {"parameters", params},
              {"warriors", WarriorsJson(core, tour.WarriorList)},
              {"benchmarkWarriors", WarriorsJson(core, tour.BenchmarkList)},
              {"matchups", matchups},
              {"summary", summary}};
  try {
    return doc.dump(2) + "\n";
  } catch (const json::exception& e) {
    throw EJsonError(e.what());
  }
}

AssembledWarrior AssembleAlone(TCore& core, const TWarriorData& warrior) {
  while (core.Warriors.size() < 2)
    core.AddWarrior();
  TWarrior& w = *core.Warriors[1];
  w.Name = warrior.Name;
  w.Source = warrior.Source;
  AssembledWarrior out;
  std::vector<std::string> errors;
  uint32_t checksum = 1;
  THeadlessPlatform shown;
  TPlatform* const platform = core.Platform;
  core.Platform = &shown;
  try {
    out.Compiled = AssembleWarrior(core, 1, errors, checksum, true) == 2;
  } catch (const std::exception& e) {
    errors.push_back(e.what());
  }
  core.Platform = platform;
  out.Warnings = w.Warnings;
  if (out.Compiled) {
    out.Lines = LoadFileLines(w, warrior.Name, core.Standard);
    out.Warnings.insert(out.Warnings.end(), shown.Messages.begin(), shown.Messages.end());
    return out;
  }
  out.Lines = std::move(errors);
  out.Lines.insert(out.Lines.end(), shown.Messages.begin(), shown.Messages.end());
  if (out.Lines.empty()) out.Lines = {"Warrior " + warrior.Name + " has no code."};
  return out;
}

} // namespace velmora::cli
