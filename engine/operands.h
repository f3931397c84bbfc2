#pragma once
// Operand evaluation: address modes with their increments, decrements and folding, on the
// display path (events reported) and on the fast path (with a variant that never folds).
// Internal to the engine.

#include "engine/step_state.h"

namespace velmora::detail {

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

template <StepPath Display, bool NoFold>
VELMORA_INLINE void EvalOperand(TCore& c, const StepEnv e, int32_t pc, const Fields& I,
                                unsigned mode, int32_t field, int32_t colour, Operand& out) {
  CoreCell* const core = e.Core;
  const int32_t cs = e.CoreSize;
  if (mode == static_cast<unsigned>(AddressMode::Immediate)) {
    out.Read = out.Write = pc;
    out.Value = I;
    return;
  }
  // Limits equal to the core fold nothing: no division for the common case.
  const auto foldRead = [&](int32_t v)
                            VELMORA_LAMBDA_INLINE { return NoFold ? v : Fold(v, e.ReadLimit, cs); };
  const auto foldWrite = [&](int32_t v) VELMORA_LAMBDA_INLINE {
    return NoFold ? v : Fold(v, e.WriteLimit, cs);
  };
  int32_t rd = foldRead(field);
  int32_t wr = foldWrite(field);
  int32_t post = -1;
  const bool usesB = UsesBField(static_cast<AddressMode>(mode));
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
        if (e.DisplayLevel >= 3) MarkCell<Display>(c, e, pw, colour, CellEvent::Decrement);
        CheckAt<Display>(c, e, BreakpointFlag::IncDec, pw);
        TestAt<Display>(c, e, pw);
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
        if (e.DisplayLevel >= 5) {
          MarkCell<Display>(c, e, pr, colour, CellEvent::Read);
          if (pw != pr) MarkCell<Display>(c, e, pw, colour, CellEvent::Read);
        }
        CheckAt<Display>(c, e, BreakpointFlag::Read, pr);
        if (pw != pr) CheckAt<Display>(c, e, BreakpointFlag::Read, pw);
      }
      break;
    }
    rd = WrapAdd(rd, usesB ? core[pr].BField : core[pr].AField, cs);
    wr = WrapAdd(wr, usesB ? core[pw].BField : core[pw].AField, cs);
    rd = foldRead(rd);
    wr = foldWrite(wr);
  }
  out.Read = WrapAdd(pc, rd, cs);
  out.Write = WrapAdd(pc, wr, cs);
  out.Value = FieldsOf(core[out.Read]);
  if (post >= 0) {
    int32_t& f = usesB ? core[post].BField : core[post].AField;
    f = Inc(f, cs);
    if constexpr (Display) {
      if (e.DisplayLevel >= 3) MarkCell<Display>(c, e, post, colour, CellEvent::Increment);
      CheckAt<Display>(c, e, BreakpointFlag::IncDec, post);
      TestAt<Display>(c, e, post);
    }
  }
}

// One operand without folding, its mode known at compile time.
template <unsigned Mode>
VELMORA_INLINE void OperandNoFold(const StepEnv& e, int32_t pc, int32_t field, const Fields& I,
                                  Operand& out) {
  CoreCell* const core = e.Core;
  const int32_t cs = e.CoreSize;
  if constexpr (Mode == 0) {
    out.Read = out.Write = pc;
    out.Value = I;
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
VELMORA_INLINE void EvalOperandPair(const StepEnv& e, int32_t pc, const Fields& I, unsigned modes,
                                    Operand& A, Operand& B) {
#define VELMORA_PAIR(am, bm)                                                                       \
  case (am << 4) | bm:                                                                             \
    OperandNoFold<am>(e, pc, I.AField, I, A);                                                      \
    OperandNoFold<bm>(e, pc, I.BField, I, B);                                                      \
    return;
#define VELMORA_PAIRS(am)                                                                          \
  VELMORA_PAIR(am, 0)                                                                              \
  VELMORA_PAIR(am, 1)                                                                              \
  VELMORA_PAIR(am, 2)                                                                              \
  VELMORA_PAIR(am, 3)                                                                              \
  VELMORA_PAIR(am, 4) VELMORA_PAIR(am, 5) VELMORA_PAIR(am, 6) VELMORA_PAIR(am, 7)
  switch (modes & 0x77u) {
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

} // namespace velmora::detail
