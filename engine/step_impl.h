#pragma once
// One warrior's turn, written once and instantiated for the display path (events, markers,
// breakpoints, always folding) and for the fast path (nothing but the core, with or without
// folding). Internal to the engine.

#include <cstring>

#include "engine/core.h"

#define VELMORA_INLINE __attribute__((always_inline)) inline

namespace velmora::detail {

// What a step reads of the engine, copied into locals once per batch so that the hot loop
// keeps it in registers: byte stores into cells would otherwise force reloads.
struct StepEnv {
  CoreCell* Core;
  int32_t* Queue;    // the ring's first entry
  int32_t* QueueEnd; // one past its last
  int32_t CoreSize;
  int32_t ReadLimit;
  int32_t WriteLimit;
  int32_t QueueBytes;
  int32_t MaxProcesses;
};

inline StepEnv MakeStepEnv(TCore& c) {
  int32_t* ring = c.QueueMemory.data();
  return StepEnv{c.Core.data(),
                 ring,
                 ring + c.QueueBlockSize / 4,
                 c.CoreSize,
                 c.EffectiveReadLimit(),
                 c.EffectiveWriteLimit(),
                 c.QueueBlockSize,
                 c.MaxProcesses};
}

// A warrior's queue position as pointers into the ring, held in locals while a batch runs:
// stores into the core can then not force it to be reloaded.
struct QueueState {
  int32_t* Head;
  int32_t* Tail;
  int32_t Count;
  bool Alive;   // alive with a process to run
  bool Stalled; // marked alive with an empty queue (left so by editing): it runs nothing
  TWarrior* Warrior;
};

inline QueueState LoadQueue(const StepEnv& e, TWarrior& w) {
  return QueueState{e.Queue + (w.QueueHead >> 2),  e.Queue + (w.QueueTail >> 2),   w.ProcessCount,
                    w.Alive && w.ProcessCount > 0, w.Alive && w.ProcessCount <= 0, &w};
}
inline void StoreQueue(const StepEnv& e, const QueueState& q) {
  TWarrior& w = *q.Warrior;
  w.QueueHead = static_cast<int32_t>(q.Head - e.Queue) * 4;
  w.QueueTail = static_cast<int32_t>(q.Tail - e.Queue) * 4;
  w.ProcessCount = q.Count;
  w.Alive = q.Alive || q.Stalled;
}

VELMORA_INLINE int32_t Dec(int32_t v, int32_t cs) {
  return v == 0 ? cs - 1 : v - 1;
}
VELMORA_INLINE int32_t Inc(int32_t v, int32_t cs) {
  return v + 1 == cs ? 0 : v + 1;
}
VELMORA_INLINE int32_t AddMod(int32_t b, int32_t a, int32_t cs) {
  return WrapAdd(b, a, cs);
}
VELMORA_INLINE int32_t SubMod(int32_t b, int32_t a, int32_t cs) {
  return WrapSub(b, a, cs);
}
// The product wraps in 32 bits (computed unsigned: no overflow), then the signed remainder.
VELMORA_INLINE int32_t MulMod(int32_t b, int32_t a, int32_t cs) {
  int32_t p = static_cast<int32_t>(static_cast<uint32_t>(b) * static_cast<uint32_t>(a));
  int32_t r = p % cs;
  return r < 0 ? r + cs : r;
}

// The fields of an operand's value, copied when the operand is complete. Its opcode, modifier
// and modes need no copy: evaluating operands only ever changes fields, so they are read from
// the cell when an instruction compares or copies whole cells.
struct Fields {
  int32_t AField;
  int32_t BField;
};

// The result of evaluating one operand.
struct Operand {
  int32_t Read;  // final read address
  int32_t Write; // final write address
  Fields Value;
};

VELMORA_INLINE Fields FieldsOf(const CoreCell& c) {
  return Fields{c.AField, c.BField};
}

// Opcode, modifier and modes of a cell (with Marker and BreakpointType), as one word.
VELMORA_INLINE uint32_t HeaderOf(const CoreCell& c) {
  uint32_t h;
  std::memcpy(&h, &c, sizeof h);
  return h;
}
VELMORA_INLINE uint32_t InstructionHeaderOf(const CoreCell& c) {
  return static_cast<uint32_t>(c.OpcodeModifier) | (static_cast<uint32_t>(c.Modes) << 8);
}

template <bool Display, bool NoFold>
VELMORA_INLINE void EvalOperand(TCore& c, const StepEnv e, int32_t pc, const CoreCell& I,
                                unsigned mode, int32_t field, int32_t colour, Operand& out) {
  CoreCell* const core = e.Core;
  const int32_t cs = e.CoreSize;
  if (mode == static_cast<unsigned>(AddressMode::Immediate)) {
    out.Read = out.Write = pc;
    out.Value = FieldsOf(I);
    return;
  }
  if constexpr (NoFold) {
    // Limits equal to the core: one pointer, read and write addresses coincide.
    const int32_t p = WrapAdd(pc, field, cs);
    int32_t a;
    switch (mode) {
    case 1:
      out.Read = out.Write = p;
      out.Value = FieldsOf(core[p]);
      return;
    case 2: a = WrapAdd(p, core[p].BField, cs); break;
    case 3:
      core[p].BField = Dec(core[p].BField, cs);
      a = WrapAdd(p, core[p].BField, cs);
      break;
    case 4:
      a = WrapAdd(p, core[p].BField, cs);
      out.Read = out.Write = a;
      out.Value = FieldsOf(core[a]);
      core[p].BField = Inc(core[p].BField, cs);
      return;
    case 5: a = WrapAdd(p, core[p].AField, cs); break;
    case 6:
      core[p].AField = Dec(core[p].AField, cs);
      a = WrapAdd(p, core[p].AField, cs);
      break;
    default:
      a = WrapAdd(p, core[p].AField, cs);
      out.Read = out.Write = a;
      out.Value = FieldsOf(core[a]);
      core[p].AField = Inc(core[p].AField, cs);
      return;
    }
    out.Read = out.Write = a;
    out.Value = FieldsOf(core[a]);
    return;
  } else {
    int32_t rd = Fold(field, e.ReadLimit, cs);
    int32_t wr = Fold(field, e.WriteLimit, cs);
    int32_t post = -1;
    const bool usesB = mode < 5;
    if (mode != static_cast<unsigned>(AddressMode::Direct)) {
      const int32_t pw = WrapAdd(pc, wr, cs);
      int32_t pr = WrapAdd(pc, rd, cs);
      switch (mode) {
      case 3:
      case 6: {
        int32_t& f = usesB ? core[pw].BField : core[pw].AField;
        f = Dec(f, cs);
        rd = wr;
        pr = pw;
        if constexpr (Display) {
          if (c.DisplayLevel >= 3) c.Mark(pw, colour, CellEvent::Decrement);
          c.BreakpointCheck(BreakpointFlag::IncDec, pw);
          c.BreakpointTest(pw);
        }
        break;
      }
      case 4:
      case 7:
        post = pw;
        rd = wr;
        pr = pw;
        break;
      default: // @ and *: two pointers, each through its own limit
        if constexpr (Display) {
          if (c.DisplayLevel >= 5) {
            c.Mark(pr, colour, CellEvent::Read);
            if (pw != pr) c.Mark(pw, colour, CellEvent::Read);
          }
          c.BreakpointCheck(BreakpointFlag::Read, pr);
          if (pw != pr) c.BreakpointCheck(BreakpointFlag::Read, pw);
        }
        break;
      }
      rd = WrapAdd(rd, usesB ? core[pr].BField : core[pr].AField, cs);
      wr = WrapAdd(wr, usesB ? core[pw].BField : core[pw].AField, cs);
      rd = Fold(rd, e.ReadLimit, cs);
      wr = Fold(wr, e.WriteLimit, cs);
    }
    out.Read = WrapAdd(pc, rd, cs);
    out.Write = WrapAdd(pc, wr, cs);
    out.Value = FieldsOf(core[out.Read]);
    if (post >= 0) {
      int32_t& f = usesB ? core[post].BField : core[post].AField;
      f = Inc(f, cs);
      if constexpr (Display) {
        if (c.DisplayLevel >= 3) c.Mark(post, colour, CellEvent::Increment);
        c.BreakpointCheck(BreakpointFlag::IncDec, post);
        c.BreakpointTest(post);
      }
    }
  }
}

// One operand without folding, its mode known at compile time.
template <unsigned Mode>
VELMORA_INLINE void OperandNoFold(const StepEnv& e, int32_t pc, int32_t field, const CoreCell& I,
                                  Operand& out) {
  CoreCell* const core = e.Core;
  const int32_t cs = e.CoreSize;
  if constexpr (Mode == 0) {
    out.Read = out.Write = pc;
    out.Value = FieldsOf(I);
    return;
  } else {
    const int32_t p = WrapAdd(pc, field, cs);
    CoreCell& ptr = core[p];
    int32_t a;
    if constexpr (Mode == 1) {
      a = p;
    } else if constexpr (Mode == 2) {
      a = WrapAdd(p, ptr.BField, cs);
    } else if constexpr (Mode == 3) {
      ptr.BField = Dec(ptr.BField, cs);
      a = WrapAdd(p, ptr.BField, cs);
    } else if constexpr (Mode == 4) {
      a = WrapAdd(p, ptr.BField, cs);
    } else if constexpr (Mode == 5) {
      a = WrapAdd(p, ptr.AField, cs);
    } else if constexpr (Mode == 6) {
      ptr.AField = Dec(ptr.AField, cs);
      a = WrapAdd(p, ptr.AField, cs);
    } else {
      a = WrapAdd(p, ptr.AField, cs);
    }
    out.Read = out.Write = a;
    out.Value = FieldsOf(core[a]);
    if constexpr (Mode == 4) ptr.BField = Inc(ptr.BField, cs);
    if constexpr (Mode == 7) ptr.AField = Inc(ptr.AField, cs);
  }
}

// Both operands without folding: one dispatch on the pair of modes.
VELMORA_INLINE void EvalOperandPair(const StepEnv& e, int32_t pc, const CoreCell& I, Operand& A,
                                    Operand& B) {
#define VELMORA_PAIR(am, bm)                                                                       \
  case (am << 4) | bm:                                                                             \
    OperandNoFold<am>(e, pc, I.AField, I, A);                                                      \
    OperandNoFold<bm>(e, pc, I.BField, I, B);                                                      \
    return;
#define VELMORA_PAIRS(am)                                                                          \
  VELMORA_PAIR(am, 0)                                                                              \
  VELMORA_PAIR(am, 1)                                                                              \
  VELMORA_PAIR(am, 2) VELMORA_PAIR(am, 3) VELMORA_PAIR(am, 4) VELMORA_PAIR(am, 5)                  \
      VELMORA_PAIR(am, 6) VELMORA_PAIR(am, 7)
  switch (I.Modes & 0x77) {
    VELMORA_PAIRS(0)
    VELMORA_PAIRS(1)
    VELMORA_PAIRS(2)
    VELMORA_PAIRS(3)
    VELMORA_PAIRS(4)
    VELMORA_PAIRS(5)
    VELMORA_PAIRS(6)
    VELMORA_PAIRS(7)
  default: __builtin_unreachable();
  }
#undef VELMORA_PAIRS
#undef VELMORA_PAIR
}

// clang-format off
#define VELMORA_OM(op, mod)                                                                        \
  (static_cast<unsigned>(Opcode::op) | (static_cast<unsigned>(Modifier::mod) << 5))

// Cases for an opcode that combines A and B values into the target in the ADD pattern.
#define VELMORA_ARITH_CASES(op, fn, BEFORE, AFTER)                                                 \
  case VELMORA_OM(op, A):                                                                          \
    BEFORE;                                                                                        \
    T.AField = fn(bv.AField, av.AField, cs);                                                       \
    AFTER;                                                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, B):                                                                          \
    BEFORE;                                                                                        \
    T.BField = fn(bv.BField, av.BField, cs);                                                       \
    AFTER;                                                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, AB):                                                                         \
    BEFORE;                                                                                        \
    T.BField = fn(bv.BField, av.AField, cs);                                                       \
    AFTER;                                                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, BA):                                                                         \
    BEFORE;                                                                                        \
    T.AField = fn(bv.AField, av.BField, cs);                                                       \
    AFTER;                                                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, F):                                                                          \
  case VELMORA_OM(op, I):                                                                          \
    BEFORE;                                                                                        \
    T.AField = fn(bv.AField, av.AField, cs);                                                       \
    T.BField = fn(bv.BField, av.BField, cs);                                                       \
    AFTER;                                                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, X):                                                                          \
    BEFORE;                                                                                        \
    T.AField = fn(bv.AField, av.BField, cs);                                                       \
    T.BField = fn(bv.BField, av.AField, cs);                                                       \
    AFTER;                                                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, NONE):                                                                       \
    BEFORE;                                                                                        \
    AFTER;                                                                                         \
    break;

// DIV and MOD: a zero divisor kills the process; the other half is still written.
#define VELMORA_DIV_CASES(op, OPER)                                                                \
  case VELMORA_OM(op, A):                                                                          \
    if (av.AField == 0)                                                                            \
      dies = true;                                                                                 \
    else                                                                                           \
      T.AField = bv.AField OPER av.AField;                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, B):                                                                          \
    if (av.BField == 0)                                                                            \
      dies = true;                                                                                 \
    else                                                                                           \
      T.BField = bv.BField OPER av.BField;                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, AB):                                                                         \
    if (av.AField == 0)                                                                            \
      dies = true;                                                                                 \
    else                                                                                           \
      T.BField = bv.BField OPER av.AField;                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, BA):                                                                         \
    if (av.BField == 0)                                                                            \
      dies = true;                                                                                 \
    else                                                                                           \
      T.AField = bv.AField OPER av.BField;                                                         \
    break;                                                                                         \
  case VELMORA_OM(op, F):                                                                          \
  case VELMORA_OM(op, I):                                                                          \
    if (av.AField != 0) T.AField = bv.AField OPER av.AField;                                       \
    if (av.BField != 0) T.BField = bv.BField OPER av.BField;                                       \
    dies = av.AField == 0 || av.BField == 0;                                                       \
    break;                                                                                         \
  case VELMORA_OM(op, X):                                                                          \
    if (av.AField != 0) T.BField = bv.BField OPER av.AField;                                       \
    if (av.BField != 0) T.AField = bv.AField OPER av.BField;                                       \
    dies = av.AField == 0 || av.BField == 0;                                                       \
    break;                                                                                         \
  case VELMORA_OM(op, NONE): break;

// Conditional jumps and skips: COND(x) is the condition on the B value's fields.
#define VELMORA_TEST_CASES(op, ACTION, COND_A, COND_B, COND_F)                                     \
  case VELMORA_OM(op, A):                                                                          \
  case VELMORA_OM(op, BA):                                                                         \
    if (COND_A) ACTION;                                                                            \
    break;                                                                                         \
  case VELMORA_OM(op, B):                                                                          \
  case VELMORA_OM(op, AB):                                                                         \
    if (COND_B) ACTION;                                                                            \
    break;                                                                                         \
  case VELMORA_OM(op, F):                                                                          \
  case VELMORA_OM(op, X):                                                                          \
  case VELMORA_OM(op, I):                                                                          \
    if (COND_F) ACTION;                                                                            \
    break;                                                                                         \
  case VELMORA_OM(op, NONE): break;

// Comparisons of the A value with the B value, modifier by modifier.
#define VELMORA_COMPARE_CASES(op, REL, JOIN, ACTION)                                               \
  case VELMORA_OM(op, A):                                                                          \
    if (av.AField REL bv.AField) ACTION;                                                           \
    break;                                                                                         \
  case VELMORA_OM(op, B):                                                                          \
    if (av.BField REL bv.BField) ACTION;                                                           \
    break;                                                                                         \
  case VELMORA_OM(op, AB):                                                                         \
    if (av.AField REL bv.BField) ACTION;                                                           \
    break;                                                                                         \
  case VELMORA_OM(op, BA):                                                                         \
    if (av.BField REL bv.AField) ACTION;                                                           \
    break;                                                                                         \
  case VELMORA_OM(op, F):                                                                          \
    if ((av.AField REL bv.AField) JOIN (av.BField REL bv.BField)) ACTION;                            \
    break;                                                                                         \
  case VELMORA_OM(op, X):                                                                          \
    if ((av.AField REL bv.BField) JOIN (av.BField REL bv.AField)) ACTION;                            \
    break;                                                                                         \
  case VELMORA_OM(op, NONE): break;

#define VELMORA_ALL_MODIFIERS(op)                                                            \
  case VELMORA_OM(op, A):                                                                          \
  case VELMORA_OM(op, B):                                                                          \
  case VELMORA_OM(op, AB):                                                                         \
  case VELMORA_OM(op, BA):                                                                         \
  case VELMORA_OM(op, F):                                                                          \
  case VELMORA_OM(op, X):                                                                          \
  case VELMORA_OM(op, I):                                                                          \
  case VELMORA_OM(op, NONE)
// clang-format on

// Executes the next process of a warrior that has one. Returns true when that was the
// warrior's last process and it died.
template <bool Display, bool NoFold>
VELMORA_INLINE bool Step(TCore& c, const StepEnv e, QueueState& q) {
  CoreCell* const core = e.Core;
  const int32_t cs = e.CoreSize;

  const int32_t pc = *q.Head;
  if (++q.Head == e.QueueEnd) q.Head = e.Queue;

  const CoreCell I = core[pc];
  const int32_t colour = Display ? q.Warrior->Colour() : 0;
  if constexpr (Display) {
    if (c.DisplayLevel >= 1) c.Mark(pc, colour, CellEvent::Execute);
  }

  // Mode nibbles above 7 can only come from a hand-edited cell; they read as their low bits.
  Operand A, B;
  if constexpr (NoFold && !Display) {
    EvalOperandPair(e, pc, I, A, B);
  } else {
    EvalOperand<Display, NoFold>(c, e, pc, I, (I.Modes >> 4) & 7u, I.AField, colour, A);
    EvalOperand<Display, NoFold>(c, e, pc, I, I.Modes & 7u, I.BField, colour, B);
  }
  const Fields& av = A.Value;
  const Fields& bv = B.Value;
  // Equal as instructions: the fields as copied, opcode and modes as they stand.
  const auto sameInstruction = [&] {
    return av.AField == bv.AField && av.BField == bv.BField &&
           InstructionHeaderOf(core[A.Read]) == InstructionHeaderOf(core[B.Read]);
  };
  const int32_t bt = B.Write;
  CoreCell& T = core[bt];

  int32_t next = pc + 1 == cs ? 0 : pc + 1;
  bool dies = false;
  bool split = false;

  // Display events around the writes of MOV, ADD, SUB and MUL.
  auto beforeWrite = [&] {
    if constexpr (Display) {
      if (c.DisplayLevel >= 2) c.Mark(bt, colour, CellEvent::Write);
      if (c.DisplayLevel >= 5 && A.Read != pc) c.Mark(A.Read, colour, CellEvent::Read);
      c.BreakpointCheck(BreakpointFlag::Write, bt);
      c.BreakpointCheck(BreakpointFlag::Read, A.Read);
    }
  };
  auto afterWrite = [&] {
    if constexpr (Display) c.BreakpointTest(bt);
  };
  auto compareEvents = [&] {
    if constexpr (Display) {
      if (c.DisplayLevel >= 4) {
        c.Mark(A.Read, colour, CellEvent::Read);
        c.Mark(B.Read, colour, CellEvent::Read);
      }
      c.BreakpointCheck(BreakpointFlag::Compare, A.Read);
      if (B.Read != A.Read) c.BreakpointCheck(BreakpointFlag::Compare, B.Read);
    }
  };
  auto jumpTestEvents = [&] {
    if constexpr (Display) {
      if (c.DisplayLevel >= 4) c.Mark(B.Read, colour, CellEvent::Read);
      c.BreakpointCheck(BreakpointFlag::Compare, B.Read);
    }
  };
  const unsigned op = I.OpcodeModifier & 0x1F;
  if constexpr (Display) {
    if (op == static_cast<unsigned>(Opcode::JMZ) || op == static_cast<unsigned>(Opcode::JMN))
      jumpTestEvents();
    else if (op == static_cast<unsigned>(Opcode::CMP) || op == static_cast<unsigned>(Opcode::SEQ) ||
             op == static_cast<unsigned>(Opcode::SNE) || op == static_cast<unsigned>(Opcode::SLT))
      compareEvents();
    else if (op == static_cast<unsigned>(Opcode::DJN)) {
      if (c.DisplayLevel >= 3) c.Mark(bt, colour, CellEvent::Decrement);
      c.BreakpointCheck(BreakpointFlag::IncDec, bt);
    } else if (op == static_cast<unsigned>(Opcode::LDP)) {
      if (c.DisplayLevel >= 2) c.Mark(bt, colour, CellEvent::Write);
      c.BreakpointCheck(BreakpointFlag::Write, bt);
    } else if (op == static_cast<unsigned>(Opcode::STP)) {
      if (c.DisplayLevel >= 5) c.Mark(A.Read, colour, CellEvent::Read);
      c.BreakpointCheck(BreakpointFlag::Read, A.Read);
    }
  }

  const auto skip = [&] { next = next + 1 == cs ? 0 : next + 1; };
  const auto jump = [&] { next = A.Read; };

  switch (I.OpcodeModifier) {
    VELMORA_ALL_MODIFIERS(DAT) : dies = true;
    break;

  case VELMORA_OM(MOV, A):
    beforeWrite();
    T.AField = av.AField;
    afterWrite();
    break;
  case VELMORA_OM(MOV, B):
    beforeWrite();
    T.BField = av.BField;
    afterWrite();
    break;
  case VELMORA_OM(MOV, AB):
    beforeWrite();
    T.BField = av.AField;
    afterWrite();
    break;
  case VELMORA_OM(MOV, BA):
    beforeWrite();
    T.AField = av.BField;
    afterWrite();
    break;
  case VELMORA_OM(MOV, F):
    beforeWrite();
    T.AField = av.AField;
    T.BField = av.BField;
    afterWrite();
    break;
  case VELMORA_OM(MOV, X):
    beforeWrite();
    T.BField = av.AField;
    T.AField = av.BField;
    afterWrite();
    break;
  case VELMORA_OM(MOV, I):
    beforeWrite();
    if constexpr (Display) {
      const CoreCell& source = core[A.Read];
      T.OpcodeModifier = source.OpcodeModifier;
      T.Modes = source.Modes;
      if (c.BreakpointTypes[source.BreakpointType].Movable) {
        T.BreakpointType = source.BreakpointType;
        c.AddBreakpoint(bt);
      }
    } else {
      // The whole cell, marker and breakpoint type included.
      const uint32_t header = HeaderOf(core[A.Read]);
      std::memcpy(&T, &header, sizeof header);
    }
    T.AField = av.AField;
    T.BField = av.BField;
    afterWrite();
    break;
  case VELMORA_OM(MOV, NONE):
    beforeWrite();
    afterWrite();
    break;

    VELMORA_ARITH_CASES(ADD, AddMod, beforeWrite(), afterWrite())
    VELMORA_ARITH_CASES(SUB, SubMod, beforeWrite(), afterWrite())
    VELMORA_ARITH_CASES(MUL, MulMod, beforeWrite(), afterWrite())
    VELMORA_DIV_CASES(DIV, /)
    VELMORA_DIV_CASES(MOD, %)

    VELMORA_ALL_MODIFIERS(JMP) : jump();
    break;

    VELMORA_TEST_CASES(JMZ, jump(), bv.AField == 0, bv.BField == 0,
                       bv.AField == 0 && bv.BField == 0)
    VELMORA_TEST_CASES(JMN, jump(), bv.AField != 0, bv.BField != 0,
                       bv.AField != 0 || bv.BField != 0)

  case VELMORA_OM(DJN, A):
  case VELMORA_OM(DJN, BA):
    T.AField = Dec(T.AField, cs);
    if (bv.AField != 1) jump();
    afterWrite();
    break;
  case VELMORA_OM(DJN, B):
  case VELMORA_OM(DJN, AB):
    T.BField = Dec(T.BField, cs);
    if (bv.BField != 1) jump();
    afterWrite();
    break;
  case VELMORA_OM(DJN, F):
  case VELMORA_OM(DJN, X):
  case VELMORA_OM(DJN, I):
    T.AField = Dec(T.AField, cs);
    T.BField = Dec(T.BField, cs);
    if (bv.AField != 1 || bv.BField != 1) jump();
    afterWrite();
    break;
  case VELMORA_OM(DJN, NONE):
    afterWrite();
    break;

    VELMORA_COMPARE_CASES(CMP, ==, &&, skip())
  case VELMORA_OM(CMP, I):
    if (sameInstruction()) skip();
    break;
    VELMORA_COMPARE_CASES(SEQ, ==, &&, skip())
  case VELMORA_OM(SEQ, I):
    if (sameInstruction()) skip();
    break;
    VELMORA_COMPARE_CASES(SNE, !=, ||, skip())
  case VELMORA_OM(SNE, I):
    if (!sameInstruction()) skip();
    break;
    VELMORA_COMPARE_CASES(SLT, <, &&, skip())
  case VELMORA_OM(SLT, I):
    if (av.AField < bv.AField && av.BField < bv.BField) skip();
    break;

    VELMORA_ALL_MODIFIERS(SPL) : split = q.Count < e.MaxProcesses;
    break;

    VELMORA_ALL_MODIFIERS(LDP) : {
      const Modifier m = static_cast<Modifier>(I.OpcodeModifier >> 5);
      const int32_t index = (m == Modifier::A || m == Modifier::AB) ? av.AField : av.BField;
      int32_t value = 0;
      if (index == 0) {
        value = q.Warrior->LastResult;
      } else if (const TPSpace* ps = q.Warrior->PSpace.get(); ps && !ps->empty()) {
        value = (*ps)[static_cast<size_t>(index) % ps->size()];
      }
      // P-space may hold values from a larger core or typed into the editor.
      value = ModCore(value, cs);
      if (m == Modifier::A || m == Modifier::BA)
        T.AField = value;
      else
        T.BField = value;
      afterWrite();
      break;
    }
    VELMORA_ALL_MODIFIERS(STP) : {
      const Modifier m = static_cast<Modifier>(I.OpcodeModifier >> 5);
      const int32_t index = (m == Modifier::A || m == Modifier::BA) ? T.AField : T.BField;
      if (TPSpace* ps = q.Warrior->PSpace.get(); index > 0 && ps && !ps->empty()) {
        (*ps)[static_cast<size_t>(index) % ps->size()] =
            (m == Modifier::A || m == Modifier::AB) ? av.AField : av.BField;
      }
      break;
    }
  default: // NOP, the pseudo-operations and unused codes do nothing
    break;
  }

  if constexpr (Display) {
    // DIV and MOD report their write only when the process survives it.
    if ((op == static_cast<unsigned>(Opcode::DIV) || op == static_cast<unsigned>(Opcode::MOD)) &&
        !dies) {
      if (c.DisplayLevel >= 2) c.Mark(bt, colour, CellEvent::Write);
      if (c.DisplayLevel >= 5 && A.Read != pc) c.Mark(A.Read, colour, CellEvent::Read);
      c.BreakpointCheck(BreakpointFlag::Write, bt);
      c.BreakpointTest(bt);
      c.BreakpointCheck(BreakpointFlag::Read, A.Read);
    }
  }

  if (dies) {
    if (--q.Count != 0) return false;
    q.Alive = false;
    return true;
  }
  int32_t* tail = q.Tail;
  *tail = next;
  if (++tail == e.QueueEnd) tail = e.Queue;
  if (split) {
    *tail = A.Read;
    if (++tail == e.QueueEnd) tail = e.Queue;
    ++q.Count;
  }
  q.Tail = tail;
  if constexpr (Display) {
    const int32_t nextPc = *q.Head;
    if (core[nextPc].BreakpointType != 0) c.BreakpointCheck(BreakpointFlag::Execute, nextPc);
  }
  return false;
}

} // namespace velmora::detail
