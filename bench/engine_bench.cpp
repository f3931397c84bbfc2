// Engine benchmark: fixed battles between warriors built in code, run on the fast path.
// Prints, per battle, the instructions executed and millions of instructions per second of
// processor time,
// then a signature (total cycles and a hash of the final cores) that changes whenever the
// semantics of execution change.
//
//   velmora-bench [--rounds N] [--battle TEXT] [--display | --markers] [--history]
//
// TEXT picks the battles whose name has it; --display runs them on the display path instead,
// every event reported at the highest level to a display that draws nothing; --markers runs
// the display path as the window does at top speed, leaving events in the cells' Markers only;
// --history records each cycle for stepping back (64 MiB), as the window does by default.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "engine/core.h"

using namespace velmora;

namespace {

using O = Opcode;
using M = Modifier;
constexpr AddressMode Imm = AddressMode::Immediate, Dir = AddressMode::Direct,
                      BInd = AddressMode::BIndirect, BPre = AddressMode::BPredecrement,
                      AInd = AddressMode::AIndirect;

struct Warrior {
  const char* Name;
  std::vector<CoreCell> Code;
  int32_t Start;
};

// Written for this benchmark.
const Warrior kImp = {"imp", {MakeCell(O::MOV, M::I, Dir, 0, Dir, 1)}, 0};

const Warrior kSpinner = {
    "spinner",
    {MakeCell(O::SPL, M::B, Imm, 0, Dir, 0), MakeCell(O::JMP, M::B, Dir, -1, Dir, 0)},
    0};

// Bombs every fourth cell with the DAT it carries.
const Warrior kDwarf = {
    "dwarf",
    {MakeCell(O::ADD, M::AB, Imm, 4, Dir, 3), MakeCell(O::MOV, M::I, Dir, 2, BInd, 2),
     MakeCell(O::JMP, M::B, Dir, -2, Dir, 0), MakeCell(O::DAT, M::F, Imm, 0, Imm, 0)},
    0};

// Copies itself cell by cell to a new place, starts the copy, and does it again.
const Warrior kReplicator = {"replicator",
                             {MakeCell(O::DAT, M::F, Imm, 0, Imm, 0),     // 0 counter
                              MakeCell(O::MOV, M::AB, Imm, 8, Dir, -1),   // 1 start
                              MakeCell(O::MOV, M::I, BInd, -2, BPre, 5),  // 2 copy a cell
                              MakeCell(O::DJN, M::B, Dir, -1, Dir, -3),   // 3
                              MakeCell(O::SPL, M::B, BInd, 3, Dir, 0),    // 4 run the copy
                              MakeCell(O::ADD, M::AB, Imm, 1531, Dir, 2), // 5 next place
                              MakeCell(O::JMZ, M::B, Dir, -5, Dir, -6),   // 6
                              MakeCell(O::DAT, M::F, Imm, 0, Imm, 1539)}, // 7 destination
                             1};

// A stone that bombs with a stepping pointer and counts its sweeps with DJN.
const Warrior kDjnStone = {
    "djn stone",
    {MakeCell(O::MOV, M::I, Dir, 4, BInd, 3), MakeCell(O::SUB, M::AB, Imm, 5, Dir, 2),
     MakeCell(O::DJN, M::B, Dir, -2, Imm, 2000), MakeCell(O::JMP, M::B, Dir, -3, Dir, -10),
     MakeCell(O::DAT, M::F, Imm, 0, Imm, 0)},
    0};

// Compares pairs of cells ten apart and bombs where they differ.
const Warrior kSneScanner = {
    "sne scanner",
    {MakeCell(O::ADD, M::F, Dir, 6, Dir, 5), MakeCell(O::SNE, M::I, AInd, 4, BInd, 4),
     MakeCell(O::JMP, M::B, Dir, -2, Dir, 0), MakeCell(O::MOV, M::I, Dir, 4, BInd, 2),
     MakeCell(O::JMP, M::B, Dir, -4, Dir, 0), MakeCell(O::DAT, M::F, Dir, 10, Dir, 15),
     MakeCell(O::DAT, M::F, Dir, 10, Dir, 10), MakeCell(O::DAT, M::F, Imm, 0, Imm, 0)},
    0};

struct Battle {
  const char* Name;
  const Warrior* First;
  const Warrior* Second;
};

const Battle kBattles[] = {{"imp pair", &kImp, &kImp},
                           {"spinner pair", &kSpinner, &kSpinner},
                           {"dwarf vs replicator", &kDwarf, &kReplicator},
                           {"djn stone vs sne scanner", &kDjnStone, &kSneScanner}};

void Load(TCore& core, int k, const Warrior& w, int32_t address) {
  const int32_t size = core.CoreSize;
  for (size_t i = 0; i < w.Code.size(); ++i) {
    CoreCell cell = w.Code[i];
    cell.AField = ModCore(cell.AField, size);
    cell.BField = ModCore(cell.BField, size);
    core.Core[static_cast<size_t>(ModCore(address + static_cast<int32_t>(i), size))] = cell;
  }
  TWarrior& warrior = *core.Warriors[static_cast<size_t>(k)];
  core.QueueStart(warrior, k, ModCore(address + w.Start, size));
  warrior.Alive = true;
}

// Sets up a round as the battle control does: empty core, the first warrior at 0, the second
// at a position that moves from round to round.
void SetUp(TCore& core, const Battle& b, int round) {
  const CoreCell empty{0, 0, kEmptyCellOpcodeModifier, kEmptyCellModes, 0, 0};
  std::fill(core.Core.begin(), core.Core.begin() + core.CoreSize, empty);
  Load(core, 1, *b.First, 0);
  Load(core, 2, *b.Second, 100 + (round * 2477) % (core.CoreSize - 200 - 7));
  core.CycleCount = 0;
  core.AliveCount = 2;
  core.RoundState = kRoundRunning;
  core.Winner = 0;
  core.LethalCount = core.CoreSize;
  core.History.Clear(); // a new round, as set-up makes it
}

// Processor time of this thread: unlike wall time it does not grow while other programs on a
// busy machine hold the processor.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

uint64_t HashCore(const TCore& core, uint64_t h) {
  for (int32_t a = 0; a < core.CoreSize; ++a) {
    const CoreCell& c = core.Core[static_cast<size_t>(a)];
    const uint32_t words[3] = {static_cast<uint32_t>(c.OpcodeModifier | (c.Modes << 8)),
                               static_cast<uint32_t>(c.AField), static_cast<uint32_t>(c.BField)};
    for (uint32_t w : words) {
      h ^= w;
      h *= 1099511628211ull;
    }
  }
  return h;
}

} // namespace

int main(int argc, char** argv) {
  int rounds = 400;
  std::string only;
  bool display = false;
  bool collect = true;
  bool history = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
      char* end = nullptr;
      const long v = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || v < 1 || v > 1000000) {
        std::fprintf(stderr, "velmora-bench: --rounds takes a number from 1 to 1000000\n");
        return 2;
      }
      rounds = static_cast<int>(v);
    } else if (std::strcmp(argv[i], "--battle") == 0 && i + 1 < argc) {
      only = argv[++i];
    } else if (std::strcmp(argv[i], "--display") == 0) {
      display = true;
    } else if (std::strcmp(argv[i], "--markers") == 0) {
      display = true;
      collect = false;
    } else if (std::strcmp(argv[i], "--history") == 0) {
      history = true;
    } else {
      std::fprintf(stderr, "usage: velmora-bench [--rounds N] [--battle TEXT] [--display | "
                           "--markers] [--history]\n");
      return 2;
    }
  }

  TParamsRec params;
  params.NumWarriors = 2;
  params.EarlyDrawCheck = false; // imps would end at once; this measures execution
  THeadlessPlatform platform(true);
  TNullMardexForm form;
  auto core = TCore::Create(params, form, platform);
  if (!core) return 1;
  core->AddWarrior();
  core->AddWarrior();
  core->MaxSpeed = !display;
  core->CollectPixels = collect;
  core->History.SetLimit(history ? THistory::kDefaultLimit : 0);
  core->DisplayLevel = 5;

  std::printf("%-26s %8s %14s %9s %10s\n", "battle", "rounds", "instructions", "cpu s",
              "M instr/s");
  int64_t totalInstructions = 0, totalCycles = 0;
  double totalSeconds = 0;
  uint64_t hash = 1469598103934665603ull;
  for (const Battle& b : kBattles) {
    if (std::string(b.Name).find(only) == std::string::npos) continue;
    const int64_t before = core->InstructionCount;
    double seconds = 0;
    for (int r = 0; r < rounds; ++r) {
      SetUp(*core, b, r);
      const double t0 = ThreadSeconds();
      core->RunCycles(core->MaxCycles, 1 + r % 2);
      seconds += ThreadSeconds() - t0;
      totalCycles += core->CycleCount;
      hash = HashCore(*core, hash);
    }
    const int64_t instructions = core->InstructionCount - before;
    totalInstructions += instructions;
    totalSeconds += seconds;
    std::printf("%-26s %8d %14lld %9.3f %10.1f\n", b.Name, rounds,
                static_cast<long long>(instructions), seconds, instructions / seconds / 1e6);
  }
  std::printf("%-26s %8s %14lld %9.3f %10.1f\n", "mix", "",
              static_cast<long long>(totalInstructions), totalSeconds,
              totalInstructions / totalSeconds / 1e6);
  std::printf("signature: cycles %lld core-hash %016llx\n", static_cast<long long>(totalCycles),
              static_cast<unsigned long long>(hash));
  return 0;
}
