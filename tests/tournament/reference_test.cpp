// Exactness: every pair of the reference results, fought over every position of the second warrior
// with each warrior moving first (permutate), must give the same wins and ties.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/tournament/battle_support.h"

namespace velmora::test {
namespace {

struct ReferencePair {
  std::string A, B;
  int32_t CoreSize, MaxCycles, MaxProcesses, MaxLength, MinDistance;
  std::string Expected;
};

// Lines after the header: A, B, the settings, the expected result, separated by tabs.
std::vector<ReferencePair> ReadReference(const std::filesystem::path& file) {
  std::vector<ReferencePair> pairs;
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    ReferencePair p;
    fields >> p.A >> p.B >> p.CoreSize >> p.MaxCycles >> p.MaxProcesses >> p.MaxLength >>
        p.MinDistance >> std::ws;
    std::getline(fields, p.Expected);
    if (!p.A.empty()) pairs.push_back(p);
  }
  return pairs;
}

// Fights the pair as a two-warrior round robin over every permutate position; returns the two lines
// "wins ties" joined by "|".
std::string Fight(const ReferencePair& r, const std::filesystem::path& warriors,
                  std::vector<std::string>& messages) {
  TParamsRec p = BattleParams();
  p.CoreSizeMax = p.CoreSizeMin = r.CoreSize;
  p.MaxCycles = r.MaxCycles;
  p.MaxProcesses = r.MaxProcesses;
  p.MaxLength = r.MaxLength;
  p.MinDistance = r.MinDistance;
  p.Standard = 2;
  p.ReadLimit = p.WriteLimit = r.CoreSize;
  p.PSpaceSize = r.CoreSize / 16;
  p.SecondPosition = kPositionPermutate;
  p.InitialInstruction = kInitialDat00;
  Battle b(p);
  for (const std::string& file : {r.A, r.B}) {
    TWarriorData d;
    ReadWarriorFile(b.Platform, (warriors / file).string(), d.Source, d.Author, d.Name);
    b.Tour.WarriorList.push_back(d);
  }
  b.Tour.Rec.TournamentType = RoundRobin;
  b.Tour.Rec.Rounds = (r.CoreSize - 2 * r.MinDistance + 1) * 2;
  b.Controller->SetMaxSpeed(true);
  b.Controller->NewBattle();
  b.Controller->RunLoop();
  messages = b.Platform.Messages;
  if (b.Controller->State() != RunState::Complete) return "not complete";
  const MatchupResult& a = b.Result(0, 1);
  const MatchupResult& c = b.Result(1, 0);
  return std::to_string(a.SurvivorCounts[0]) + " " + std::to_string(a.SurvivorCounts[1]) + "|" +
         std::to_string(c.SurvivorCounts[0]) + " " + std::to_string(c.SurvivorCounts[1]);
}

TEST(TournamentReference, PermutateResultsMatchEveryPair) {
  const std::filesystem::path shared = VELMORA_SHARED_DIR;
  const auto file = shared / "reference" / "permutate-results.tsv";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no reference results at " << file;
  const auto pairs = ReadReference(file);
  ASSERT_EQ(pairs.size(), 99u);
  // Every pair in a release build; a sanitized build samples them unless asked for all.
  size_t stride = 1;
#ifdef VELMORA_SAMPLE_REFERENCE
  stride = 11;
#endif
  if (const char* all = std::getenv("VELMORA_REFERENCE_ALL"); all && *all == '1') stride = 1;
  int fought = 0;
  for (size_t i = 0; i < pairs.size(); i += stride) {
    const ReferencePair& r = pairs[i];
    std::vector<std::string> messages;
    EXPECT_EQ(Fight(r, shared / "warriors", messages), r.Expected) << r.A << " vs " << r.B;
    EXPECT_EQ(messages, std::vector<std::string>{"Tournament complete."}) << r.A << " vs " << r.B;
    ++fought;
  }
  EXPECT_GT(fought, 0);
}

} // namespace
} // namespace velmora::test
