#include "results/results_table.h"

#include <algorithm>

namespace velmora {

void TResultsTable::ComputeSummary() {
  const TTournamentRec& rec = Tour.Rec;
  const int32_t W = rec.WarriorsPerBattle;
  const int32_t rows = rec.TournamentType == Challenge ? 1 : rec.WarriorCount;
  Rows.clear();
  TFormulaFailures failures;
  for (int32_t r = 0; r < rows && size_t(r) < rec.Results.size(); ++r) {
    const TWarriorData& w = Tour.WarriorList[size_t(r)];
    // Sums over a whole row: a row of many matchups of many rounds passes 2^31.
    int64_t rounds = 0, losses = 0;
    std::vector<int64_t> counts(size_t(std::max(W, 0)), 0);
    double cycles = 0;
    // The table's own row length: N, 1 for a melee, B for a benchmark.
    for (const MatchupResult& m : rec.Results[size_t(r)]) {
      rounds += m.RoundsPlayed;
      losses += m.Losses;
      for (size_t k = 0; k < counts.size() && k < m.SurvivorCounts.size(); ++k)
        counts[k] += m.SurvivorCounts[k];
      cycles += double(m.RoundsPlayed) * m.AverageCycles;
    }
    const ScorePair s = ScoreOf(Core, rec.ScoreFormula, counts, losses, failures);
    ResultRow row;
    row.ID = w.ID;
    row.Name = w.Name;
    row.Author = w.Author;
    row.Index = r;
    row.Length = rounds == 0 ? 0.0 : (cycles / Core.MaxCycles) / rounds;
    row.Score = s.Score;
    row.Given = s.Given;
    row.Outcomes.push_back(PercentOf(rounds, counts.empty() ? 0 : counts[0], Percent));
    row.Outcomes.push_back(PercentOf(rounds, losses, Percent));
    for (size_t k = 1; k < counts.size(); ++k)
      row.Outcomes.push_back(PercentOf(rounds, counts[k], Percent));
    Rows.push_back(std::move(row));
  }
  ReportFailures(failures);
}

void TResultsTable::ComputeDetails(int32_t s) {
  const TTournamentRec& rec = Tour.Rec;
  const bool benchmark = rec.TournamentType == Benchmark;
  Selected = s;
  Rows.clear();
  if (s < 1 || size_t(s) > rec.Results.size()) return;
  TFormulaFailures failures;
  const std::vector<MatchupResult>& row = rec.Results[size_t(s - 1)];
  const std::vector<TWarriorData>& opponents = benchmark ? Tour.BenchmarkList : Tour.WarriorList;
  for (size_t j = 0; j < row.size(); ++j) {
    if (!rec.SelfFights && int32_t(j) + 1 == s && !benchmark) continue;
    const MatchupResult& m = row[j];
    if (m.Opponent < 0 || size_t(m.Opponent) >= opponents.size()) continue;
    const TWarriorData& o = opponents[size_t(m.Opponent)];
    const std::vector<int64_t> counts(m.SurvivorCounts.begin(), m.SurvivorCounts.end());
    const ScorePair own = ScoreOf(Core, rec.ScoreFormula, counts, m.Losses, failures);
    ResultRow r;
    r.ID = o.ID;
    r.Name = o.Name;
    r.Author = o.Author;
    r.Index = m.Opponent;
    r.Length = m.AverageCycles / Core.MaxCycles;
    // Seen from the opponent: what it took is what the selected warrior gave.
    r.Score = own.Given;
    r.Given = own.Score;
    r.Outcomes.push_back(PercentOf(m.RoundsPlayed, m.Losses, Percent));
    for (int32_t c : m.SurvivorCounts)
      r.Outcomes.push_back(PercentOf(m.RoundsPlayed, c, Percent));
    Rows.push_back(std::move(r));
  }
  ReportFailures(failures);
}

// One message per computation, however many rows the formula failed in.
void TResultsTable::ReportFailures(const TFormulaFailures& failures) {
  if (!failures.Empty()) Core.Platform->ShowMessage(failures.Text());
}

namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// The recursive quicksort whose order of equal keys the table shows.
template <typename Key>
void QuickSort(std::vector<Key>& keys, std::vector<int32_t>& order, int32_t lo, int32_t hi,
               bool descending) {
  const Key pivot = keys[size_t((lo + hi) / 2)];
  int32_t i = lo, j = hi;
  do {
    if (descending) {
      while (keys[size_t(i)] > pivot)
        ++i;
      while (keys[size_t(j)] < pivot)
        --j;
    } else {
      while (keys[size_t(i)] < pivot)
        ++i;
      while (keys[size_t(j)] > pivot)
        --j;
    }
    if (i <= j) {
      std::swap(keys[size_t(i)], keys[size_t(j)]);
      std::swap(order[size_t(i)], order[size_t(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (lo < j) QuickSort(keys, order, lo, j, descending);
  if (i < hi) QuickSort(keys, order, i, hi, descending);
}

template <typename Key>
void SortBy(std::vector<Key> keys, std::vector<int32_t>& order, bool descending) {
  if (keys.size() > 1) QuickSort(keys, order, 0, static_cast<int32_t>(keys.size()) - 1, descending);
}

double NumericKey(const ResultRow& r, int32_t column) {
  switch (column) {
  case 0: return r.ID;
  case 3: return r.Length;
  case 4: return r.Score;
  case 5: return r.Given;
  default: {
    const size_t i = size_t(column - 6);
    return i < r.Outcomes.size() ? r.Outcomes[i] : 0.0;
  }
  }
}

} // namespace

void TResultsTable::SortRows() {
  Order.resize(Rows.size());
  for (size_t i = 0; i < Order.size(); ++i)
    Order[i] = int32_t(i);
  if (SortColumn == 1 || SortColumn == 2) {
    std::vector<std::string> keys;
    for (const ResultRow& r : Rows)
      keys.push_back(Upper(SortColumn == 1 ? r.Name : r.Author));
    SortBy(std::move(keys), Order, Descending);
  } else {
    std::vector<double> keys;
    for (const ResultRow& r : Rows)
      keys.push_back(NumericKey(r, SortColumn));
    SortBy(std::move(keys), Order, Descending);
  }
}

void TResultsTable::HeadingClicked(int32_t column) {
  if (column == SortColumn) {
    Descending = !Descending;
  } else {
    Descending = column > 2;
    SortColumn = column;
  }
}

} // namespace velmora
