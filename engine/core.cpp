#include "engine/core.h"

#include <algorithm>
#include <limits>
#include <new>

namespace velmora {

std::unique_ptr<TCore> TCore::Create(const TParamsRec& params, TCustomMardexForm& form,
                                     TPlatform& platform) {
  std::unique_ptr<TCore> core = CreateWithoutMemory(params, form, platform);
  if (!core->AllocateCore(params.CoreSizeMax)) return nullptr;
  if (!core->AllocateQueue()) return nullptr;
  return core;
}

std::unique_ptr<TCore> TCore::CreateWithoutMemory(const TParamsRec& params, TCustomMardexForm& form,
                                                  TPlatform& platform) {
  std::unique_ptr<TCore> core(new TCore(form, platform));
  core->CopyParams(params);
  core->CoreSize = core->CoreSizeMax;
  core->RoundState = kRoundIdle;
  core->Winner = 0;
  core->Warriors.push_back(std::make_unique<TWarrior>(core.get()));
  core->ResetBreakpointTypes();
  core->Rng.SeedFromClock(platform.UtcTimeOfDay());
  return core;
}

TCore::~TCore() = default;

void TCore::CopyParams(const TParamsRec& p) {
  DisplayLevel = p.DisplayLevel;
  EarlyDrawCheck = p.EarlyDrawCheck;
  RandomCoreSize = p.RandomCoreSize;
  NumWarriors = p.NumWarriors;
  MaxProcesses = p.MaxProcesses;
  CoreSizeMax = p.CoreSizeMax;
  if (RandomCoreSize) CoreSizeMin = p.CoreSizeMin;
  MaxCycles = p.MaxCycles;
  MinDistance = p.MinDistance;
  Standard = p.Standard;
  ReadLimit = p.ReadLimit;
  WriteLimit = p.WriteLimit;
  PSpaceSize = p.PSpaceSize;
  MaxLength = p.MaxLength;
  SecondPosition = p.SecondPosition;
  SeedMode = p.SeedMode;
  InitialInstruction = p.InitialInstruction;
}

bool TCore::AllocateCore(int32_t size) {
  try {
    if (size < 1) throw std::bad_alloc();
    std::vector<CoreCell> cells(static_cast<size_t>(size), CoreCell{});
    Core.swap(cells);
  } catch (const std::bad_alloc&) {
    Platform->ShowMessage("Not enough memory to create Core");
    return false;
  }
  CoreSizeMax = size;
  CoreSize = size;
  return true;
}

void TCore::FreeCore() {
  std::vector<CoreCell>().swap(Core);
}

int64_t TCore::QueueBlockBytes(int32_t maxProcesses, int32_t numWarriors) {
  return (static_cast<int64_t>(maxProcesses) + 1) * numWarriors * 4;
}

std::string TCore::QueueBlockProblem(int32_t maxProcesses, int32_t numWarriors) {
  // Queue offsets are 32-bit byte counts: a larger block cannot be addressed.
  if (QueueBlockBytes(maxProcesses, numWarriors) > std::numeric_limits<int32_t>::max() ||
      maxProcesses < 1 || numWarriors < 1)
    return "Max Processes too large for " + std::to_string(numWarriors) +
           " warriors: the process queues would exceed 2147483647 bytes";
  return {};
}

bool TCore::AllocateQueue() {
  const int64_t bytes = QueueBlockBytes(MaxProcesses, NumWarriors);
  if (const std::string problem = QueueBlockProblem(MaxProcesses, NumWarriors); !problem.empty()) {
    Platform->ShowMessage(problem);
    return false;
  }
  try {
    std::vector<int32_t> block(static_cast<size_t>(bytes / 4), 0);
    QueueMemory.swap(block);
  } catch (const std::bad_alloc&) {
    Platform->ShowMessage("Not enough memory to create process queue");
    return false;
  }
  QueueBlockSize = static_cast<int32_t>(bytes);
  return true;
}

TWarrior& TCore::AddWarrior() {
  Warriors.push_back(std::make_unique<TWarrior>(this));
  TWarrior& w = *Warriors.back();
  w.WarriorNumber = static_cast<int32_t>(Warriors.size()) - 1;
  return w;
}

int32_t TCore::EffectiveReadLimit() const {
  return std::clamp(ReadLimit, 1, std::max(CoreSize, 1));
}
int32_t TCore::EffectiveWriteLimit() const {
  return std::clamp(WriteLimit, 1, std::max(CoreSize, 1));
}

void TCore::RunCycles(int32_t Cycles, int32_t FirstWarrior) {
  // Only warriors that exist and fit the queue block can run.
  const int32_t n = std::min<int32_t>(NumWarriors, static_cast<int32_t>(Warriors.size()) - 1);
  if (n < 1 || CoreSize < 1 || CoreSize > static_cast<int32_t>(Core.size()) ||
      QueueBlockBytes(MaxProcesses, n) > QueueBlockSize)
    return;
  const int32_t threshold = NumWarriors == 1 ? 0 : 1;
  if (FirstWarrior < 1 || FirstWarrior > n) FirstWarrior = 1;
  const bool noFold = EffectiveReadLimit() == CoreSize && EffectiveWriteLimit() == CoreSize;
  if (!UndoneCells.empty()) UndoneCells.clear();
  // The snapshot keeps the hits of the cycle before it.
  if (!MaxSpeed && Cycles > 0 && History.Enabled() && !replaying_) RecordBatch(FirstWarrior);
  if (!MaxSpeed) HitList.clear();
  if (Cycles > 0) {
    if (!MaxSpeed) {
      if (noFold)
        RunCyclesDisplay<true>(Cycles, FirstWarrior, threshold, n);
      else
        RunCyclesDisplay<false>(Cycles, FirstWarrior, threshold, n);
      FlushPixels();
    } else {
      // The fast path records nothing: what was recorded no longer leads to this round.
      if (!History.Empty()) History.Clear();
      if (noFold)
        RunCyclesFast<true>(Cycles, FirstWarrior, threshold, n);
      else
        RunCyclesFast<false>(Cycles, FirstWarrior, threshold, n);
    }
  }
  if (EarlyDrawCheck) EarlyDrawTest();
  if (RoundState == kRoundDecided || RoundState == kRoundDrawn) {
    for (int32_t i = 1; i <= n; ++i)
      Warriors[i]->LastResult = Warriors[i]->Alive ? AliveCount : 0;
  }
  if (!MaxSpeed && DisplayLevel >= 1 && !replaying_)
    for (const int32_t address : NextInstructions())
      Form->ColorPixel(address, -1, 1, false);
}

std::vector<int32_t> TCore::NextInstructions() const {
  std::vector<int32_t> next;
  const int32_t n = std::min<int32_t>(NumWarriors, static_cast<int32_t>(Warriors.size()) - 1);
  for (int32_t i = 1; i <= n; ++i) {
    const TWarrior& w = *Warriors[static_cast<size_t>(i)];
    if (w.Alive && w.ProcessCount > 0) next.push_back(QueueEntry(w, 0));
  }
  return next;
}

void TCore::DecideRound(int32_t alive, int32_t threshold) {
  if (alive != threshold) {
    RoundState = kRoundDrawn;
    return;
  }
  RoundState = kRoundDecided;
  Winner = 0;
  if (NumWarriors == 1) {
    Winner = 1;
    return;
  }
  const int32_t n = std::min<int32_t>(NumWarriors, static_cast<int32_t>(Warriors.size()) - 1);
  for (int32_t i = n; i >= 1 && Winner == 0; --i)
    if (Warriors[static_cast<size_t>(i)]->Alive) Winner = i;
}

void TCore::EarlyDrawTest() {
  bool draw = true;
  if (LethalCount > 0) {
    const int32_t n = std::min<int32_t>(NumWarriors, static_cast<int32_t>(Warriors.size()) - 1);
    for (int32_t i = 1; i <= n && draw; ++i) {
      const TWarrior& w = *Warriors[i];
      if (!w.Alive) continue;
      for (int32_t k = 0; k < w.ProcessCount; ++k) {
        const CoreCell& cell = Core[static_cast<size_t>(QueueEntry(w, k))];
        const AddressMode am = GetAMode(cell);
        const bool aOk =
            am == AddressMode::Immediate || (am == AddressMode::Direct && cell.AField == 0);
        const bool imp = cell.OpcodeModifier == kImpOpcodeModifier && aOk &&
                         GetBMode(cell) == AddressMode::Direct && cell.BField == 1;
        if (!imp) {
          draw = false;
          break;
        }
      }
    }
  }
  if (draw && RoundState != kRoundDecided) RoundState = kRoundDrawn;
}

} // namespace velmora
