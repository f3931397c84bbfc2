#pragma once
// TCore, the simulator engine: the core, the process queues of every warrior, the battle's
// warriors, the breakpoint registry and the assembler's scanner state. It runs a round in
// batches of cycles on a display-aware path or on a fast path.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/assembly_context.h"
#include "engine/breakpoints.h"
#include "engine/cell.h"
#include "engine/history.h"
#include "engine/mardex_form.h"
#include "engine/platform.h"
#include "engine/random.h"
#include "engine/warrior.h"
#include "params/params_rec.h"

namespace velmora {

enum RoundStateCode : uint8_t {
  kRoundIdle = 0,
  kRoundRunning = 1,
  kRoundDecided = 2,
  kRoundDrawn = 3
};

class TCore {
public:
  // Creates the engine; returns null when the core or the queue block cannot be held, after
  // telling the user why. The caller then ends the program.
  static std::unique_ptr<TCore> Create(const TParamsRec& params, TCustomMardexForm& form,
                                       TPlatform& platform);
  // An engine that compiles warriors and evaluates formulas but holds no core and no process
  // queues yet: its first SetUpRound allocates them. Never null.
  static std::unique_ptr<TCore> CreateWithoutMemory(const TParamsRec& params,
                                                    TCustomMardexForm& form, TPlatform& platform);
  ~TCore();
  TCore(const TCore&) = delete;
  TCore& operator=(const TCore&) = delete;

  // --- Parameters ---------------------------------------------------------------------------
  int32_t DisplayLevel = 0;
  bool EarlyDrawCheck = false;
  bool RandomCoreSize = false;
  int32_t NumWarriors = 1;
  int32_t MaxProcesses = 1;
  int32_t CoreSizeMax = 0;
  int32_t CoreSizeMin = 0;
  int32_t MaxCycles = 1;
  int32_t MinDistance = 0;
  uint8_t Standard = 2;
  int32_t ReadLimit = 1;
  int32_t WriteLimit = 1;
  int32_t PSpaceSize = 1;
  int32_t MaxLength = 1;
  int32_t SecondPosition = kPositionRandom;
  int32_t SeedMode = kSeedRandom;
  std::string InitialInstruction = kInitialDat00;

  // Copies the record's battle fields (not the core allocation: see AllocateCore).
  void CopyParams(const TParamsRec& params);

  // --- Round state --------------------------------------------------------------------------
  int32_t CoreSize = 0;
  uint8_t RoundState = kRoundIdle;
  int32_t Winner = 0;
  int32_t AliveCount = 0;
  int32_t CycleCount = 0;
  int32_t LethalCount = 0;
  int32_t PermutationOffset = 0;
  bool MaxSpeed = false;
  // Instructions executed by RunCycles since the engine was created (statistics only).
  int64_t InstructionCount = 0;

  // --- Owned memory and lists ---------------------------------------------------------------
  std::vector<CoreCell> Core;       // CoreSizeMax cells; the round uses the first CoreSize
  std::vector<int32_t> QueueMemory; // QueueBlockSize / 4 entries
  int32_t QueueBlockSize = 0;       // bytes
  std::vector<std::unique_ptr<TWarrior>> Warriors; // [0] is the engine's private warrior
  std::vector<int32_t> HitList;
  std::vector<int32_t> BreakpointAddresses;
  std::vector<int32_t> BreakpointCounters;
  TBreakpointTable BreakpointTypes;
  int32_t BreakpointTypeCount = 0;
  AssemblyContext Asm;
  TRandom Rng;
  TCustomMardexForm* Form;
  TPlatform* Platform;

  // Evaluates a breakpoint type's test expression for a cell. The assembler library installs
  // it, since the expression evaluator lives there; without it a test never fires.
  using OperandTestFn = bool (*)(TCore&, const CoreCell&);
  OperandTestFn OperandTestHook = nullptr;

  // --- Memory -------------------------------------------------------------------------------
  bool AllocateCore(int32_t size);
  void FreeCore();
  // Bytes of a queue block for these settings; may exceed what 32-bit offsets can hold.
  static int64_t QueueBlockBytes(int32_t maxProcesses, int32_t numWarriors);
  // Why no queue block can be made for these settings, by arithmetic alone; empty when one
  // can (memory permitting).
  static std::string QueueBlockProblem(int32_t maxProcesses, int32_t numWarriors);
  // (Re)allocates the queue block for MaxProcesses and NumWarriors. On failure shows why and
  // returns false, keeping the previous block.
  bool AllocateQueue();

  // Adds a battle warrior after the existing ones and numbers it.
  TWarrior& AddWarrior();

  // --- Running ------------------------------------------------------------------------------
  void RunCycles(int32_t Cycles, int32_t FirstWarrior);
  void ExecuteStep(TWarrior& w);
  void ExecuteStepFast(TWarrior& w, bool noFold);
  // --- Stepping back (step_back.cpp) -------------------------------------------------------
  // The display path's cycles, while its limit is above 0. Set-up empties it; so must every
  // change to the round made outside a cycle (the debugger's edits of cells, queues and
  // P-space). Breakpoint edits go into it instead (History.SetBreakpoint).
  THistory History;
  // A recorded cycle to undo.
  bool CanUndo() const;
  // Puts the round back as it was before the last recorded cycle; false without one.
  bool UndoCycle();
  // Undoes cycles until one in which a breakpoint, as the cells carry them now, fires,
  // restored to its start, or until the history ends.
  struct UndoResult {
    int32_t Cycles;    // cycles undone
    bool AtBreakpoint; // false when the history ended first
  };
  UndoResult UndoToBreakpoint();
  // The core addresses the cycle undone last had changed, in increasing order; emptied by
  // the next batch.
  std::vector<int32_t> UndoneCells;

  // Where each live warrior with a process runs next, warrior by warrior.
  std::vector<int32_t> NextInstructions() const;

  // --- Process queues (byte offsets into the shared ring) ---------------------------------
  int32_t QueueTake(TWarrior& w);
  void QueueAppend(TWarrior& w, int32_t address);
  // Entry i (0 = next to run) of a warrior's queue.
  int32_t QueueEntry(const TWarrior& w, int32_t i) const;
  std::vector<int32_t> QueueEntries(const TWarrior& w) const;
  // Starts warrior k's (1-based) queue at its fixed place in the ring with one process.
  void QueueStart(TWarrior& w, int32_t k, int32_t address);
  // Debugger edits at list position p (0..ProcessCount). Insert refuses a full queue with
  // "Process queue full"; both return false when refused.
  bool QueueInsert(TWarrior& w, int32_t p, int32_t address);
  bool QueueDelete(TWarrior& w, int32_t p);

  // --- Breakpoints --------------------------------------------------------------------------
  void ResetBreakpointTypes();
  void AddBreakpoint(int32_t address);
  void RemoveBreakpoint(int32_t address);
  void BreakpointEvent(int32_t address, const CoreCell& cell);
  bool EvaluateOperandTest(const CoreCell& cell);

  // Read and write limits as folding uses them this round: within 1..CoreSize, so that a
  // random core smaller than the limits cannot fold an offset out of the core.
  int32_t EffectiveReadLimit() const;
  int32_t EffectiveWriteLimit() const;

  // --- Events of the display path -----------------------------------------------------------
  // Collects an event for the display, unless it reads the Markers itself: a call into the
  // window per event would cost more than the instruction. The step records the event in
  // the cell's Marker first.
  void CollectPixel(int32_t address, int32_t colour, CellEvent kind) {
    if (!CollectPixels) return;
    PendingPixels[PendingPixelCount++] = TPixelEvent{address, colour, static_cast<int32_t>(kind)};
    if (PendingPixelCount == PendingPixels.size()) FlushPixels();
  }
  // Hands the collected events to the display.
  void FlushPixels();
  // False while the display reads the cells' Markers itself instead of the events.
  bool CollectPixels = true;
  // Counts an event when the cell's breakpoint type reacts to it.
  // Inline: the display path asks several times an instruction, almost always of a cell
  // without a breakpoint.
  void BreakpointCheck(BreakpointFlag flag, int32_t address) {
    const CoreCell& cell = Core[static_cast<size_t>(address)];
    if (cell.BreakpointType != 0) BreakpointCheckSlow(flag, address, cell);
  }
  // Evaluates the cell's test expression when its type has one.
  void BreakpointTest(int32_t address) {
    const CoreCell& cell = Core[static_cast<size_t>(address)];
    if (cell.BreakpointType != 0) BreakpointTestSlow(address, cell);
  }

  // Decides a round that is over: won when exactly `threshold` warriors are left, else drawn.
  void DecideRound(int32_t alive, int32_t threshold);

  // --- Round set-up (round_setup.cpp) -------------------------------------------------------
  // Prepares the next round: core size, initial instruction, every warrior loaded at least
  // MinDistance from the others with one process, round counters reset. NewBattle is true
  // for the first round after a new battle (it honours a fixed second position). False,
  // RoundState 0, after telling the user when a warrior does not fit. An operand error of a
  // custom initial instruction propagates as the assembler's exception, RoundState 0.
  bool SetUpRound(bool NewBattle);
  // Fills cells 0..CoreSize-1 with the initial instruction; Lethal counts DAT, DIV and MOD.
  void InitializeCore(int32_t& Lethal);
  // Copies a warrior's object code to Address on (wrapping at the core's end) and registers
  // its breakpoints; LethalDelta is the change in lethal cells.
  void LoadWarrior(TWarrior& W, int32_t Address, int32_t& LethalDelta);

  // Fills the core with the custom initial instruction (InitialInstruction is neither
  // "DAT 0,0" nor "RANDOM"). The assembler library installs it, since compiling the text
  // needs it; false when the text does not compile (the core is left as it was).
  using InitialInstructionFn = bool (*)(TCore&, int32_t& lethal);
  InitialInstructionFn InitialInstructionHook = nullptr;

private:
  void BreakpointCheckSlow(BreakpointFlag flag, int32_t address, const CoreCell& cell);
  void BreakpointTestSlow(int32_t address, const CoreCell& cell);
  TCore(TCustomMardexForm& form, TPlatform& platform) : Form(&form), Platform(&platform) {}
  template <bool NoFold>
  void RunCyclesFast(int32_t cycles, int32_t first, int32_t threshold, int32_t n);
  // Stepping back: the round as a snapshot and back, a snapshot before a batch when one is
  // due, cycles run again up to `target` (noting in lastBreak the last cycle count from which
  // a cycle fired a breakpoint), the round put back to `target`.
  int32_t BattleWarriors() const;
  THistoryFrame Snapshot() const;
  void SnapshotInto(THistoryFrame& f) const;
  void Restore(const THistoryFrame& f);
  void RecordBatch(int32_t first);
  void Replay(int32_t target, int32_t* lastBreak);
  void GoBackTo(int32_t target);
  bool replaying_ = false;
  template <bool NoFold>
  void RunCyclesDisplay(int32_t cycles, int32_t first, int32_t threshold, int32_t n);
  std::array<TPixelEvent, 1024> PendingPixels;
  size_t PendingPixelCount = 0;
  void EarlyDrawTest();
};

} // namespace velmora
