#pragma once
// The tournament schedule: the warrior lists, the results table seen from each row warrior,
// the order of matchups for every tournament type, and the hand-over from one round to the
// next. It works on an engine it is given; nothing here touches a window.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core.h"

namespace velmora {

enum TournamentType : uint8_t { Melee = 0, RoundRobin = 1, Challenge = 2, Benchmark = 3 };
// "Melee", "Round Robin", "Challenge", "Benchmark", or "Unknown".
const char* TournamentTypeName(uint8_t type);

// One warrior of a list.
struct TWarriorData {
  int32_t ID = 0; // 1-based position in its list; 0 in the Setup dialog's own copies
  std::string Name = "No Name";
  std::string Author = "Anonymous";
  std::vector<std::string> Source;
  std::string FileName;
};

// One cell of the results table, always from the row warrior's side.
struct MatchupResult {
  int32_t Opponent = 0;
  int32_t RoundsPlayed = 0;
  int32_t Losses = 0;
  // Entry k-1: rounds the row warrior survived with k warriors alive in all; [0] are wins.
  std::vector<int32_t> SurvivorCounts;
  double AverageCycles = 0.0;
};

struct TTournamentRec {
  uint8_t TournamentType = Melee;
  int32_t WarriorCount = 0;   // N
  int32_t BenchmarkCount = 0; // B
  int32_t WarriorsPerBattle = 0;
  int32_t RowCount = 0;
  int32_t Rounds = 1;
  int32_t ColumnCount = 0;
  int32_t CurrentRow = 0;
  int32_t CurrentColumn = 0;
  bool PauseBetweenRounds = false;
  bool SelfFights = false;
  std::string ScoreFormula = "(W*W-1)/S";
  std::vector<std::vector<MatchupResult>> Results;
};

// Colours (RGB) of list warrior i: entry i mod 8; benchmark warrior j: (N + j) mod 8.
inline constexpr std::array<uint32_t, 8> WarriorPalette = {0xFFFF00, 0x00FFFF, 0xFFFFFF, 0x00FF00,
                                                           0xFF00FF, 0xFF8000, 0x0080FF, 0xFFC0C0};

// What AdvanceAfterRound found once the finished round was recorded.
enum class AdvanceStep { NextRound, NextMatchup, Complete };

class TTournament {
public:
  TTournamentRec Rec;
  std::vector<TWarriorData> WarriorList;
  std::vector<TWarriorData> BenchmarkList;
  int32_t MatchupNumber = 1;
  int64_t TotalRounds = 0;                 // matchups x rounds: both may be large
  int32_t FirstWarrior = 1;                // engine slot that moves first, 1..W
  std::vector<uint32_t> WarriorColours{0}; // RGB of engine slots 1..W; [0] unused

  // Matchups of the whole tournament for the current type and lists.
  int64_t MatchupCount() const;

  // Rebuilds the results table and the engine's warrior slots, then loads the first
  // matchup. False (message shown) when the lists cannot make this tournament or the first
  // matchup does not compile. A single warrior turns any type into a melee, with a message.
  // Errors of the evaluator while compiling propagate.
  bool SetUpTournament(TCore& core);
  void AddMatchupResult(int32_t row, int32_t opponent);
  // Copies the current matchup's warriors into the engine, resets its breakpoints and
  // compiles them (which seeds the random generator). False when they do not compile.
  bool LoadMatchup(TCore& core);
  // Adds the finished round of the engine warrior in slot to Results[row][column].
  void RecordRound(const TCore& core, int32_t row, int32_t column, int32_t slot);
  // Records the finished round and moves to the next round or matchup. The caller loads a
  // new matchup, starts the round, then calls RoundStarted.
  AdvanceStep AdvanceAfterRound(const TCore& core);
  // Under every order the second warrior's offset moves on once both warriors have moved
  // first at it: after a round with FirstWarrior 2 has been set up.
  void RoundStarted(TCore& core) const;

  // The current matchup's result cell, or null before a tournament is set up.
  const MatchupResult* CurrentResult() const;
};

} // namespace velmora
