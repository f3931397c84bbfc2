#include "cli/sweep_output.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "cli/output.h"
#include "params/number_text.h"
#include "results/text_format.h"

namespace velmora::cli {

namespace {

using nlohmann::json;

const char* Status(const SweepPoint& p) {
  if (p.Failed) return "failed";
  if (p.Full) return "ranked";
  return p.Rounds > 0 ? "eliminated" : "not fought";
}

double Percent(int32_t count, const SweepPoint& p) {
  const int32_t rounds = p.Wins + p.Losses + p.Ties;
  return rounds == 0 ? 0.0 : 100.0 * count / rounds;
}

int32_t ValueWidth(const SweepRange& r) {
  return std::max<int32_t>(int32_t(r.Name.size()), 11);
}

} // namespace

bool ParseVary(const std::string& text, SweepRange& range, std::string& error) {
  error = "Bad --vary " + text + ": expected NAME=FROM..TO[:STEP]";
  const size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  const size_t dots = text.find("..", eq + 1);
  if (dots == std::string::npos) return false;
  const size_t colon = text.find(':', dots + 2);
  const auto from = ParseNumberText(text.substr(eq + 1, dots - eq - 1));
  const auto to = ParseNumberText(text.substr(dots + 2, colon - std::min(colon, dots + 2)));
  const auto step = colon == std::string::npos ? std::optional<int32_t>(1)
                                               : ParseNumberText(text.substr(colon + 1));
  if (!from || !to || !step) return false;
  range = {text.substr(0, eq), *from, *to, *step};
  error.clear();
  return true;
}

std::vector<std::string> SweepTableLines(const SweepSpec& plan, const SweepOutcome& out) {
  std::string head = "rank";
  for (const SweepRange& r : plan.Ranges)
    head += Format(" %*s", ValueWidth(r), r.Name.c_str());
  head += "     score      W%      L%      T%";
  std::vector<std::string> lines = {head};
  for (size_t k = 0; k < out.Ranking.size(); ++k) {
    const SweepPoint& p = out.Points[out.Ranking[k]];
    std::string line = Format("%4zu", k + 1);
    for (size_t i = 0; i < plan.Ranges.size(); ++i)
      line += Format(" %*d", ValueWidth(plan.Ranges[i]), p.Values[i]);
    line += Format(" %9.1f %7.1f %7.1f %7.1f", p.Score, Percent(p.Wins, p), Percent(p.Losses, p),
                   Percent(p.Ties, p));
    lines.push_back(line);
  }
  return lines;
}

std::string SweepJsonText(const SweepSpec& plan, const SweepOutcome& out,
                          const std::string& version) {
  json vary = json::array();
  for (const SweepRange& r : plan.Ranges)
    vary.push_back(
        {{"name", Latin1ToUtf8(r.Name)}, {"from", r.From}, {"to", r.To}, {"step", r.Step}});
  json opponents = json::array();
  for (const TWarriorData& w : plan.Opponents)
    opponents.push_back({{"id", w.ID},
                         {"name", Latin1ToUtf8(w.Name)},
                         {"author", Latin1ToUtf8(w.Author)},
                         {"file", PathText(w.FileName)}});
  std::vector<json> rank(out.Points.size());
  for (size_t k = 0; k < out.Ranking.size(); ++k)
    rank[out.Ranking[k]] = k + 1;
  json points = json::array();
  for (size_t i = 0; i < out.Points.size(); ++i) {
    const SweepPoint& p = out.Points[i];
    json values = json::object();
    for (size_t v = 0; v < plan.Ranges.size(); ++v)
      values[Latin1ToUtf8(plan.Ranges[v].Name)] = p.Values[v];
    json matchups = json::array();
    for (size_t o = 0; o < p.Matchups.size(); ++o) {
      const MatchupResult& m = p.Matchups[o];
      matchups.push_back({{"opponent", o},
                          {"roundsPlayed", m.RoundsPlayed},
                          {"losses", m.Losses},
                          {"survivorCounts", m.SurvivorCounts},
                          {"averageCycles", m.AverageCycles}});
    }
    points.push_back({{"values", values},
                      {"status", Status(p)},
                      {"rank", rank[i]},
                      {"rounds", p.Rounds},
                      {"score", p.Score},
                      {"wins", p.Wins},
                      {"losses", p.Losses},
                      {"ties", p.Ties},
                      {"message", Latin1ToUtf8(p.Message)},
                      {"matchups", matchups}});
  }
  const TParamsRec& pr = plan.Params;
  auto choice = [](int32_t v, const char* a, const char* b) -> json {
    return v == -1 ? json(a) : v == -2 ? json(b) : json(v);
  };
  json doc = {{"program", "velmora-cli"},
              {"version", version},
              {"warrior",
               {{"name", Latin1ToUtf8(plan.Warrior.Name)},
                {"author", Latin1ToUtf8(plan.Warrior.Author)},
                {"file", PathText(plan.Warrior.FileName)}}},
              {"vary", vary},
              {"rounds", plan.Rounds},
              {"halving", plan.Halving},
              {"scoreFormula", Latin1ToUtf8(plan.ScoreFormula)},
              {"parameters",
               {{"coreSize", pr.CoreSizeMax},
                {"maxCycles", pr.MaxCycles},
                {"maxProcesses", pr.MaxProcesses},
                {"maxLength", pr.MaxLength},
                {"minDistance", pr.MinDistance},
                {"position", choice(pr.SecondPosition, "random", "permutate")},
                {"seed", choice(pr.SeedMode, "random", "checksum")}}},
              {"opponents", opponents},
              {"stopped", out.Stopped},
              {"points", points}};
  // What still is not UTF-8 (an overlong form) is replaced rather than thrown on.
  return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string SweepCsvText(const SweepSpec& plan, const SweepOutcome& out) {
  std::string text;
  for (const SweepRange& r : plan.Ranges)
    text += r.Name + ",";
  text += "score,W%,L%,T%,rounds,status\n";
  for (const SweepPoint& p : out.Points) {
    for (int32_t v : p.Values)
      text += std::to_string(v) + ",";
    text += Format("%.3f,%.3f,%.3f,%.3f,%d,%s\n", p.Score, Percent(p.Wins, p), Percent(p.Losses, p),
                   Percent(p.Ties, p), p.Rounds, Status(p));
  }
  return text;
}

std::string SweepProgressText(int32_t points, int32_t totalPoints, int64_t rounds,
                              int64_t totalRounds, double elapsedSeconds) {
  auto clock = [](double seconds) {
    const long long s = (long long)(seconds + 0.5);
    return s >= 3600 ? Format("%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60)
                     : Format("%lld:%02lld", s / 60, s % 60);
  };
  std::string text = Format("points %d/%d", points, totalPoints);
  if (elapsedSeconds > 0) text += Format("  %.0f rounds/s", double(rounds) / elapsedSeconds);
  text += "  " + clock(elapsedSeconds) + " elapsed";
  // The rate so far predicts the rest.
  if (rounds > 0 && totalRounds > rounds)
    text += "  about " + clock(elapsedSeconds * double(totalRounds - rounds) / double(rounds)) +
            " left";
  return text;
}

} // namespace velmora::cli
