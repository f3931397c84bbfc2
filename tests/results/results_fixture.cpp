#include "results_fixture.h"

#include "assembler/assembler.h"

namespace velmora::test {

ResultsFixture::ResultsFixture() {
  Core = TCore::Create(DefaultParams(), Form, Platform);
  InstallAssembler(*Core);
}

void ResultsFixture::SetWarriors(const std::vector<std::pair<std::string, std::string>>& list,
                                 const std::vector<std::string>& benchmarks) {
  Tour.WarriorList.clear();
  for (const auto& [name, author] : list)
    Tour.WarriorList.push_back({int32_t(Tour.WarriorList.size()) + 1, name, author, {}, ""});
  Tour.BenchmarkList.clear();
  for (const std::string& name : benchmarks)
    Tour.BenchmarkList.push_back({int32_t(Tour.BenchmarkList.size()) + 1, name, "Bench", {}, ""});
  Tour.Rec.WarriorCount = int32_t(list.size());
  Tour.Rec.BenchmarkCount = int32_t(benchmarks.size());
}

void ResultsFixture::Shape(uint8_t type, int32_t W, bool selfFights) {
  TTournamentRec& rec = Tour.Rec;
  rec.TournamentType = type;
  rec.WarriorsPerBattle = W;
  rec.SelfFights = selfFights;
  const int32_t n = rec.WarriorCount;
  const int32_t rows = type == Challenge ? 1 : n;
  const int32_t columns = type == Melee ? 1 : type == Benchmark ? rec.BenchmarkCount : n;
  rec.Results.assign(size_t(rows), {});
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < columns; ++c) {
      MatchupResult m;
      m.Opponent = type == Melee ? 0 : c;
      m.SurvivorCounts.assign(size_t(W), 0);
      rec.Results[size_t(r)].push_back(m);
    }
}

void ResultsFixture::Set(int32_t row, int32_t column, int32_t wins, int32_t losses,
                         const std::vector<int32_t>& ties, double cycles) {
  MatchupResult& m = Tour.Rec.Results[size_t(row)][size_t(column)];
  m.SurvivorCounts[0] = wins;
  for (size_t k = 0; k < ties.size(); ++k)
    m.SurvivorCounts[k + 1] = ties[k];
  m.Losses = losses;
  m.RoundsPlayed = wins + losses;
  for (int32_t t : ties)
    m.RoundsPlayed += t;
  m.AverageCycles = cycles;
}

void ResultsFixture::AlphaBeta() {
  SetWarriors({{"Alpha", "Ann"}, {"Beta", "Bob"}});
  Shape(RoundRobin, 2);
  Tour.Rec.Rounds = 10;
  const double half = Core->MaxCycles / 2.0;
  Set(0, 1, 6, 2, {2}, half);
  Set(1, 0, 2, 6, {2}, half);
}

} // namespace velmora::test
