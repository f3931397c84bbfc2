#pragma once
// One warrior's turn, written once and instantiated for the display path (events, markers,
// breakpoints), for its marker path (markers alone) and for the fast path (nothing but the
// core), each with or without folding. Internal to the engine.

#include "engine/known_forms.h"
#include "engine/opcode_cases.h"
#include "engine/operands.h"

namespace velmora::detail {

// Writes a process at the queue's tail and returns the new tail.
VELMORA_INLINE int32_t* Append(const StepEnv& e, int32_t* tail, int32_t address) {
  *tail = address;
  return ++tail == e.QueueEnd ? e.Queue : tail;
}

// The imp, MOV.I $0,$n: it copies the instruction just fetched, so nothing is read again and
// the copy need not wait for the cell's fields to come back from the core.
VELMORA_INLINE bool MoveSelf(const StepEnv& e, QueueState& q, int32_t pc, uint32_t header,
                             const Fields& I) {
  const int32_t cs = e.CoreSize;
  CoreCell& T = e.Core[WrapAdd(pc, I.BField, cs)];
  std::memcpy(&T, &header, sizeof header);
  T.AField = I.AField;
  T.BField = I.BField;
  q.Tail = Append(e, q.Tail, Inc(pc, cs));
  return false;
}

// Executes instruction I, fetched from pc, as the form (opcode, modifier and modes) given:
// the cell's own, or a constant for the forms the fast path knows in advance.
template <StepPath Display, bool NoFold>
VELMORA_INLINE bool Execute(TCore& c, const StepEnv e, QueueState& q, const int32_t pc,
                            const Fields& I, const unsigned om, const unsigned modes) {
  CoreCell* const core = e.Core;
  const int32_t cs = e.CoreSize;
  const int32_t colour = Display ? q.Colour : 0;
  if constexpr (Display) {
    if (e.DisplayLevel >= 1) MarkCell<Display>(c, e, pc, colour, CellEvent::Execute);
  }

  // Mode nibbles above 7 can only come from a hand-edited cell; they read as their low bits.
  Operand A, B;
  if constexpr (NoFold && !Display) {
    EvalOperandPair(e, pc, I, modes, A, B);
  } else {
    EvalOperand<Display, NoFold>(c, e, pc, I, (modes >> 4) & 7u, I.AField, colour, A);
    EvalOperand<Display, NoFold>(c, e, pc, I, modes & 7u, I.BField, colour, B);
  }
  const Fields& av = A.Value;
  const Fields& bv = B.Value;
  // Equal as instructions: the fields as copied, opcode and modes as they stand.
  const auto sameInstruction = [&]() VELMORA_LAMBDA_INLINE {
    return av.AField == bv.AField && av.BField == bv.BField &&
           InstructionHeaderOf(core[A.Read]) == InstructionHeaderOf(core[B.Read]);
  };
  const int32_t bt = B.Write;
  CoreCell& T = core[bt];

  int32_t next = Inc(pc, cs);
  bool dies = false;
  bool split = false;

  // Display events around the writes of MOV, ADD, SUB and MUL.
  auto beforeWrite = [&]() VELMORA_LAMBDA_INLINE {
    if constexpr (Display) {
      if (e.DisplayLevel >= 2) MarkCell<Display>(c, e, bt, colour, CellEvent::Write);
      if (e.DisplayLevel >= 5 && A.Read != pc)
        MarkCell<Display>(c, e, A.Read, colour, CellEvent::Read);
      CheckAt<Display>(c, e, BreakpointFlag::Write, bt);
      CheckAt<Display>(c, e, BreakpointFlag::Read, A.Read);
    }
  };
  auto afterWrite = [&]() VELMORA_LAMBDA_INLINE {
    if constexpr (Display) TestAt<Display>(c, e, bt);
  };
  auto compareEvents = [&]() VELMORA_LAMBDA_INLINE {
    if constexpr (Display) {
      if (e.DisplayLevel >= 4) {
        MarkCell<Display>(c, e, A.Read, colour, CellEvent::Read);
        MarkCell<Display>(c, e, B.Read, colour, CellEvent::Read);
      }
      CheckAt<Display>(c, e, BreakpointFlag::Compare, A.Read);
      if (B.Read != A.Read) CheckAt<Display>(c, e, BreakpointFlag::Compare, B.Read);
    }
  };
  auto jumpTestEvents = [&]() VELMORA_LAMBDA_INLINE {
    if constexpr (Display) {
      if (e.DisplayLevel >= 4) MarkCell<Display>(c, e, B.Read, colour, CellEvent::Read);
      CheckAt<Display>(c, e, BreakpointFlag::Compare, B.Read);
    }
  };
  const unsigned op = om & 0x1Fu;
  if constexpr (Display) {
    if (op == static_cast<unsigned>(Opcode::JMZ) || op == static_cast<unsigned>(Opcode::JMN))
      jumpTestEvents();
    else if (op == static_cast<unsigned>(Opcode::CMP) || op == static_cast<unsigned>(Opcode::SEQ) ||
             op == static_cast<unsigned>(Opcode::SNE) || op == static_cast<unsigned>(Opcode::SLT))
      compareEvents();
    else if (op == static_cast<unsigned>(Opcode::DJN)) {
      if (e.DisplayLevel >= 3) MarkCell<Display>(c, e, bt, colour, CellEvent::Decrement);
      CheckAt<Display>(c, e, BreakpointFlag::IncDec, bt);
    } else if (op == static_cast<unsigned>(Opcode::LDP)) {
      if (e.DisplayLevel >= 2) MarkCell<Display>(c, e, bt, colour, CellEvent::Write);
      CheckAt<Display>(c, e, BreakpointFlag::Write, bt);
    } else if (op == static_cast<unsigned>(Opcode::STP)) {
      if (e.DisplayLevel >= 5) MarkCell<Display>(c, e, A.Read, colour, CellEvent::Read);
      CheckAt<Display>(c, e, BreakpointFlag::Read, A.Read);
    }
  }

  const auto skip = [&]() VELMORA_LAMBDA_INLINE { next = Inc(next, cs); };
  const auto jump = [&]() VELMORA_LAMBDA_INLINE { next = A.Read; };

  switch (om) {
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
      // On the marker path no cell has a breakpoint to move.
      if (Display == kEventPath && source.BreakpointType != 0 &&
          c.BreakpointTypes[source.BreakpointType].Movable) {
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
      const Modifier m = static_cast<Modifier>(om >> 5);
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
      const Modifier m = static_cast<Modifier>(om >> 5);
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
      if (e.DisplayLevel >= 2) MarkCell<Display>(c, e, bt, colour, CellEvent::Write);
      if (e.DisplayLevel >= 5 && A.Read != pc)
        MarkCell<Display>(c, e, A.Read, colour, CellEvent::Read);
      CheckAt<Display>(c, e, BreakpointFlag::Write, bt);
      TestAt<Display>(c, e, bt);
      CheckAt<Display>(c, e, BreakpointFlag::Read, A.Read);
    }
  }

  if (dies) {
    if (--q.Count != 0) return false;
    q.Alive = false;
    return true;
  }
  int32_t* tail = Append(e, q.Tail, next);
  if (split) {
    tail = Append(e, tail, A.Read);
    ++q.Count;
  }
  q.Tail = tail;
  if constexpr (Display == kEventPath) {
    const int32_t nextPc = *q.Head;
    if (core[nextPc].BreakpointType != 0) CheckAt<Display>(c, e, BreakpointFlag::Execute, nextPc);
  }
  return false;
}

// Executes the next process of a warrior that has one. Returns true when that was the
// warrior's last process and it died.
template <StepPath Display, bool NoFold>
VELMORA_INLINE bool Step(TCore& c, const StepEnv e, QueueState& q) {
  const int32_t pc = *q.Head;
  if (++q.Head == e.QueueEnd) q.Head = e.Queue;
  // Read as the pieces that are written: a wider load over narrower recent stores would
  // wait for them to reach the cache.
  const CoreCell& cell = e.Core[pc];
  const uint32_t header = HeaderOf(cell);
  const Fields I{cell.AField, cell.BField};
  const uint32_t key = FormKey(header);
  if constexpr (NoFold && !Display) {
    if (key == FormKeyOf(Opcode::MOV, Modifier::I, AddressMode::Direct, AddressMode::Direct) &&
        I.AField == 0)
      return MoveSelf(e, q, pc, header, I);
#define VELMORA_FORM_TEST(op, mod, am, bm)                                                         \
  if (key == FormKeyOf(Opcode::op, Modifier::mod, AddressMode::am, AddressMode::bm))               \
    return Execute<kFastPath, true>(c, e, q, pc, I, VELMORA_OM(op, mod),                           \
                                    PackModes(AddressMode::am, AddressMode::bm));
    VELMORA_KNOWN_FORMS(VELMORA_FORM_TEST)
#undef VELMORA_FORM_TEST
  }
  return Execute<Display, NoFold>(c, e, q, pc, I, key & 0xFFu, key >> 8);
}

} // namespace velmora::detail
