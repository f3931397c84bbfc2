#pragma once
// Case labels of the opcode dispatch, grouped by the patterns that opcodes share. They expand
// inside a step, where the operand values (av, bv), the target (T) and the helpers exist.

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
