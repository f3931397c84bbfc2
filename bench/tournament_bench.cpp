// Tournament benchmark: a round robin of the warriors of one folder (by default the twelve
// of ../shared/warriors/wilkies: 66 matchups of 100 rounds), with a fixed seed on the fast
// path. Prints rounds per second, millions of instructions per second, and a signature of
// the results that changes whenever the outcome of any round changes.
//
//   velmora-tournament-bench [--dir FOLDER] [--rounds N] [--seed S]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "assembler/assembler.h"
#include "tournament/run_controller.h"

using namespace velmora;

int main(int argc, char** argv) {
  std::string dir = std::string(VELMORA_SHARED_DIR) + "/warriors/wilkies";
  int32_t rounds = 100;
  int32_t seed = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--seed") == 0) seed = std::atoi(argv[i + 1]);
  }
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  if (files.size() < 2) {
    std::fprintf(stderr, "need at least two warriors in %s\n", dir.c_str());
    return 1;
  }

  TParamsRec p = DefaultParams(); // the '94 hill: core 8000, 80000 cycles, 8000 processes
  p.DisplayLevel = 0;
  p.SeedMode = seed;
  TNullMardexForm form(rounds);
  THeadlessPlatform platform(true); // compile failures and the like go to standard error
  auto core = TCore::Create(p, form, platform);
  if (!core) return 1;
  TTournament tour;
  TRunView view;
  TRunController controller(*core, tour, view);
  for (const auto& f : files) {
    TWarriorData d;
    ReadWarriorFile(platform, f.string(), d.Source, d.Author, d.Name);
    tour.WarriorList.push_back(d);
  }
  tour.Rec.TournamentType = RoundRobin;
  tour.Rec.Rounds = rounds;
  controller.SetMaxSpeed(true);

  const auto start = std::chrono::steady_clock::now();
  controller.NewBattle();
  controller.RunLoop();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (controller.State() != RunState::Complete) {
    std::fprintf(stderr, "tournament did not complete\n");
    return 1;
  }

  uint64_t signature = 1469598103934665603ull; // FNV-1a over every recorded count
  int64_t played = 0;
  for (const auto& row : tour.Rec.Results)
    for (const auto& r : row) {
      played += r.RoundsPlayed;
      for (int32_t v : r.SurvivorCounts)
        signature = (signature ^ static_cast<uint32_t>(v)) * 1099511628211ull;
    }
  const int64_t totalRounds = played / 2; // each round is recorded from both sides
  const double instructions = static_cast<double>(core->InstructionCount);
  std::printf("warriors %zu, matchups %lld, rounds %lld, %.2f s\n", files.size(),
              static_cast<long long>(tour.MatchupCount()), static_cast<long long>(totalRounds),
              seconds);
  std::printf("rounds/s %.1f, M instructions/s %.1f (%.0f M instructions)\n",
              static_cast<double>(totalRounds) / seconds, instructions / seconds / 1e6,
              instructions / 1e6);
  std::printf("signature %016llx\n", static_cast<unsigned long long>(signature));
  std::fflush(stdout);
  return 0;
}
