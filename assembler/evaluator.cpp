// The integer expression evaluator: operator precedence on explicit stacks, wrapping 32-bit
// arithmetic, predefined symbols, labels and the variables a to z.

#include <algorithm>
#include <cstring>
#include <limits>

#include "assembler/assembly_state.h"

namespace velmora {

std::string UpperCase(std::string s) {
  for (char& c : s)
    c = ToUpper(c);
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlankOrControl(s[b]))
    ++b;
  while (e > b && IsBlankOrControl(s[e - 1]))
    --e;
  return s.substr(b, e - b);
}

bool StartsWith(const std::string& s, const char* prefix) {
  return s.compare(0, std::strlen(prefix), prefix) == 0;
}

void SetLineText(AssemblyContext& ctx, const std::string& text) {
  ctx.LineText = text;
  ctx.LineText.push_back('\0');
  ctx.ScanPos = 1;
}

std::string CurrentText(const AssemblyContext& ctx) {
  std::string s = ctx.LineText;
  if (!s.empty() && s.back() == '\0') s.pop_back();
  return s;
}

bool SkipBlanks(AssemblyContext& ctx) {
  while (Cur(ctx) == ' ')
    ++ctx.ScanPos;
  return Cur(ctx) != '\0';
}

namespace {

int32_t Wrap(int64_t v) {
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

enum class Op : uint8_t {
  End,
  Assign,
  Or,
  And,
  Eq,
  Ne,
  Lt,
  Gt,
  Le,
  Ge,
  Add,
  Sub,
  Mul,
  Div,
  Mod,
  Negate,
  Not,
  LoneNot
};

int ModeIndex(char c) {
  if (c == '\0') return -1;
  const char* p = std::strchr(ModeSymbols, c);
  return p ? static_cast<int>(p - ModeSymbols) : -1;
}

// One piece of an expression as read, kept to compute the hills' grouping afterwards.
struct Token {
  enum Type : uint8_t { Value, Open, Close, Unary, Binary, End } Kind;
  Op Operator = Op::End;
  int32_t Number = 0;
};

struct Evaluator {
  TCore& Core;
  AssemblyContext& Ctx;
  const LabelIndex* Labels;
  int64_t Depth = 0;
  bool PendingUnary = false; // the operand just read was a unary operator's implicit 0
  Op Unary = Op::Negate;
  std::vector<Token>* Tokens = nullptr; // null: nothing recorded

  void Record(Token::Type kind, Op op = Op::End, int32_t number = 0) {
    if (Tokens) Tokens->push_back(Token{kind, op, number});
  }
  int32_t Operand(int32_t value) {
    Record(Token::Value, Op::End, value);
    return value;
  }

  [[noreturn]] void Raise(const char* message) { throw ECompileError(message); }

  int32_t ReadOperand() {
    for (;;) {
      Ctx.LastVariable = -1;
      SkipBlanks(Ctx);
      char c = Cur(Ctx);
      if (c == '(') {
        ++Ctx.ScanPos;
        Depth += 7;
        Record(Token::Open);
        continue;
      }
      if (c == '+') {
        ++Ctx.ScanPos;
        continue;
      }
      if (c == '-' || c == '!') {
        // "-x" is read as "0 negate x": the operator reader picks the operator up next.
        ++Ctx.ScanPos;
        PendingUnary = true;
        Unary = c == '-' ? Op::Negate : Op::Not;
        Record(Token::Unary, Unary);
        return 0;
      }
      int mode = ModeIndex(c);
      if (mode >= 0) {
        if (Ctx.ModeSeen) Raise("OpMode set twice");
        ++Ctx.ScanPos;
        Ctx.OperandMode = static_cast<uint8_t>(mode);
        Ctx.ModeSeen = true;
        if (mode > StandardInfo(Core.Standard).HighestMode) Raise("Standards violation (Opmode)");
        continue;
      }
      Ctx.ModeSeen = true;
      if (IsIdentStart(c)) {
        std::string name;
        int32_t value = 0;
        if (LookupSymbol(Core, name, value, Labels)) return Operand(value);
        if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') {
          Ctx.LastVariable = name[0] - 'a';
          return Operand(Ctx.Variables[static_cast<size_t>(Ctx.LastVariable)]);
        }
        Raise("Undefined Symbol");
      }
      return Operand(ReadNumber(Core));
    }
  }

  // Reads the next operator; precedence includes the parenthesis depth. The end of the
  // expression has precedence 0 whatever the depth, which closes every open parenthesis.
  Op ReadOperator(int64_t& precedence) {
    if (PendingUnary) {
      PendingUnary = false;
      precedence = Depth + 6;
      return Unary;
    }
    for (;;) {
      SkipBlanks(Ctx);
      char c = Cur(Ctx);
      char next = CharAt(Ctx, Ctx.ScanPos + 1);
      ++Ctx.ScanPos;
      auto two = [&](Op op, int64_t p) {
        ++Ctx.ScanPos;
        precedence = Depth + p;
        Record(Token::Binary, op);
        return op;
      };
      auto one = [&](Op op, int64_t p) {
        precedence = Depth + p;
        Record(Token::Binary, op);
        return op;
      };
      switch (c) {
      case '\0':
      case ',':
      case ';': precedence = 0; return Op::End;
      case ')':
        Depth -= 7;
        if (Depth < 0) Raise("Bad Operand");
        Record(Token::Close);
        continue;
      case '=': return next == '=' ? two(Op::Eq, 3) : one(Op::Assign, 0);
      case '|':
        if (next != '|') Raise("Bad Operand");
        return two(Op::Or, 1);
      case '&':
        if (next != '&') Raise("Bad Operand");
        return two(Op::And, 2);
      case '!': return next == '=' ? two(Op::Ne, 3) : one(Op::LoneNot, 4);
      case '<': return next == '=' ? two(Op::Le, 3) : one(Op::Lt, 3);
      case '>': return next == '=' ? two(Op::Ge, 3) : one(Op::Gt, 3);
      case '+': return one(Op::Add, 4);
      case '-': return one(Op::Sub, 4);
      case '*': return one(Op::Mul, 5);
      case '/': return one(Op::Div, 5);
      case '%': return one(Op::Mod, 5);
      default: Raise("Bad Operand");
      }
    }
  }

  int32_t Apply(Op op, int32_t l, int32_t r) {
    switch (op) {
    case Op::Add: return Wrap(int64_t{l} + r);
    case Op::Sub:
    case Op::Negate: return Wrap(int64_t{l} - r);
    case Op::Mul: return Wrap(int64_t{l} * r);
    case Op::Div:
    case Op::Mod:
      if (r == 0) throw EArithmeticError("Division by zero");
      if (l == std::numeric_limits<int32_t>::min() && r == -1)
        throw EArithmeticError("Integer overflow");
      return op == Op::Div ? l / r : l % r;
    case Op::Not: return r == 0 ? 1 : 0;
    case Op::Eq: return l == r;
    case Op::Ne: return l != r;
    case Op::Lt: return l < r;
    case Op::Gt: return l > r;
    case Op::Le: return l <= r;
    case Op::Ge: return l >= r;
    case Op::And: return l & r;
    case Op::Or: return l | r;
    case Op::Assign:
      // The left value is a variable index; "1+x=2" would otherwise store out of range.
      if (l < 0 || l >= 26) Raise("Illegal variable assignment");
      Ctx.Variables[static_cast<size_t>(l)] = r;
      return r;
    case Op::LoneNot:
    case Op::End: break;
    }
    Raise("Bad Operator");
    return 0;
  }
};

// The hills' grouping of the same tokens. Pending operators wait on a stack, each plain
// or chained; an incoming operator q is pushed plain over one of lower precedence, else it
// applies the top one, and when that was plain, further ones while they bind tighter than
// q (or as tight, right after a chained one), and is pushed chained. What is left applies
// right to left. Parentheses are groups of their own; a unary operator binds to its operand.
class HillGrouping {
public:
  HillGrouping(Evaluator& ev, const std::vector<Token>& tokens) : Ev(ev), T(tokens) {}

  int32_t Value() { return Expression(); }

private:
  static int Precedence(Op op) {
    switch (op) {
    case Op::Or: return 1;
    case Op::And: return 2;
    case Op::Add:
    case Op::Sub: return 4;
    case Op::Mul:
    case Op::Div:
    case Op::Mod: return 5;
    default: return 3;
    }
  }
  const Token& Next() {
    static const Token end{Token::End};
    return Pos < T.size() ? T[Pos] : end;
  }
  int32_t Primary() {
    const Token t = Next();
    ++Pos;
    if (t.Kind == Token::Unary) return Ev.Apply(t.Operator, 0, Primary());
    if (t.Kind != Token::Open) return t.Number;
    const int32_t v = Expression();
    if (Next().Kind == Token::Close) ++Pos;
    return v;
  }
  int32_t Expression() {
    struct Pending {
      Op Operator;
      int Precedence;
      bool Chained;
    };
    std::vector<int32_t> values{Primary()};
    std::vector<Pending> ops;
    auto applyTop = [&] {
      const Pending p = ops.back();
      ops.pop_back();
      const int32_t r = values.back();
      values.pop_back();
      values.back() = Ev.Apply(p.Operator, values.back(), r);
      return p.Chained;
    };
    while (Next().Kind == Token::Binary) {
      const Op q = T[Pos++].Operator;
      const int pq = Precedence(q);
      if (ops.empty() || ops.back().Precedence < pq) {
        ops.push_back({q, pq, false});
      } else {
        if (!applyTop()) {
          for (bool chained = false; !ops.empty() && (ops.back().Precedence > pq ||
                                                      (ops.back().Precedence == pq && chained));)
            chained = applyTop();
        }
        ops.push_back({q, pq, true});
      }
      values.push_back(Primary());
    }
    while (!ops.empty())
      applyTop();
    return values[0];
  }

  Evaluator& Ev;
  const std::vector<Token>& T;
  size_t Pos = 0;
};

// Deeper nesting than this is not compared: the hills' grouping is computed recursively.
constexpr int kMaxComparedDepth = 200;

// Fills grouping when the hills' grouping of tokens gives a value other than ours. An
// assignment is never compared (it would store twice), nor anything the hills' order
// cannot compute.
void CompareGrouping(Evaluator& ev, const std::vector<Token>& tokens, int32_t ours,
                     GroupingDifference& grouping) {
  int binary = 0, unary = 0, depth = 0, deepest = 0;
  for (const Token& t : tokens) {
    if (t.Kind == Token::Binary) {
      if (t.Operator == Op::Assign || t.Operator == Op::LoneNot) return;
      ++binary;
    }
    unary += t.Kind == Token::Unary;
    depth += t.Kind == Token::Open ? 1 : t.Kind == Token::Close ? -1 : 0;
    deepest = std::max(deepest, depth);
  }
  if (binary < 2 || deepest + unary > kMaxComparedDepth) return;
  try {
    const int32_t hills = HillGrouping(ev, tokens).Value();
    if (hills != ours) grouping = GroupingDifference{true, hills};
  } catch (const std::exception&) {
    // A division by zero that only the hills' order meets: nothing to compare.
  }
}

} // namespace

int32_t EvaluateExpression(TCore& core) {
  return EvaluateExpression(core, nullptr);
}

int32_t EvaluateExpression(TCore& core, const LabelIndex* labels, GroupingDifference* grouping) {
  // Room for 32,767 pending operands, as many as any real expression could need.
  constexpr size_t kMaxPending = 32767;
  Evaluator ev{core, core.Asm, labels};
  std::vector<Token> tokens;
  if (grouping) {
    *grouping = GroupingDifference{};
    ev.Tokens = &tokens;
  }
  std::vector<int32_t> value;
  std::vector<Op> op;
  std::vector<int64_t> prec;
  value.reserve(16);
  op.reserve(16);
  prec.reserve(16);
  for (;;) {
    value.push_back(ev.ReadOperand());
    int64_t p = 0;
    Op o = ev.ReadOperator(p);
    if (o == Op::Assign) {
      if (core.Asm.LastVariable < 0) throw ECompileError("Illegal variable assignment");
      value.back() = core.Asm.LastVariable;
    }
    op.push_back(o);
    prec.push_back(p);
    size_t n = value.size() - 1;
    // Binary operators associate to the left; a unary operator waits for its operand, so
    // "- -3" is 3 and "!!7" is 1.
    const bool unary = o == Op::Negate || o == Op::Not;
    while (n > 0 && (prec[n] < prec[n - 1] || (prec[n] == prec[n - 1] && !unary))) {
      --n;
      value[n] = ev.Apply(op[n], value[n], value[n + 1]);
      op[n] = op[n + 1];
      prec[n] = prec[n + 1];
      value.pop_back();
      op.pop_back();
      prec.pop_back();
    }
    if (op[0] == Op::End) {
      if (grouping) CompareGrouping(ev, tokens, value[0], *grouping);
      return value[0];
    }
    if (value.size() >= kMaxPending) throw ECompileError("Expression too complex");
  }
}

bool LookupSymbol(TCore& core, std::string& name, int32_t& value) {
  return LookupSymbol(core, name, value, nullptr);
}

bool LookupSymbol(TCore& core, std::string& name, int32_t& value, const LabelIndex* labels) {
  AssemblyContext& ctx = core.Asm;
  if (!SkipBlanks(ctx)) throw ECompileError("Bad Operand");
  name.clear();
  while (IsIdentChar(Cur(ctx))) {
    name.push_back(Cur(ctx));
    ++ctx.ScanPos;
  }
  struct Predefined {
    const char* Name;
    int32_t (*Get)(TCore&);
  };
  static constexpr Predefined kPredefined[] = {
      {"CORESIZE", [](TCore& c) { return c.CoreSize; }},
      {"MAXPROCESSES", [](TCore& c) { return c.MaxProcesses; }},
      {"MAXCYCLES", [](TCore& c) { return c.MaxCycles; }},
      {"MAXLENGTH", [](TCore& c) { return c.MaxLength; }},
      {"MINDISTANCE", [](TCore& c) { return c.MinDistance; }},
      {"ROUNDS", [](TCore& c) { return c.Form->GetRounds(); }},
      {"PSPACESIZE", [](TCore& c) { return c.PSpaceSize; }},
      {"READLIMIT", [](TCore& c) { return c.ReadLimit; }},
      {"WRITELIMIT", [](TCore& c) { return c.WriteLimit; }},
      {"VERSION", [](TCore&) { return int32_t{230}; }},
      {"WARRIORS", [](TCore& c) { return c.NumWarriors; }},
      {"CURLINE", [](TCore& c) { return c.Asm.CurLine; }},
      {"RANDOM", [](TCore& c) { return c.Rng.Random(c.CoreSize); }},
  };
  auto label = [&] {
    if (labels) {
      auto it = labels->find(name);
      if (it == labels->end()) return false;
      value = Wrap(int64_t{it->second.back()} - ctx.CurLine);
      return true;
    }
    for (auto it = ctx.Labels.rbegin(); it != ctx.Labels.rend(); ++it) {
      if (it->first == name) {
        value = Wrap(int64_t{it->second} - ctx.CurLine);
        return true;
      }
    }
    return false;
  };
  // A warrior that defines one of the names the hills lack means its own label.
  if (IsOwnableSymbol(name) && label()) return true;
  for (const Predefined& p : kPredefined) {
    if (name == p.Name) {
      value = p.Get(core);
      return true;
    }
  }
  return label();
}

bool IsOwnableSymbol(const std::string& name) {
  return name == "RANDOM" || name == "READLIMIT" || name == "WRITELIMIT";
}

int32_t ReadNumber(TCore& core) {
  AssemblyContext& ctx = core.Asm;
  if (!IsDigit(Cur(ctx))) throw ECompileError("Bad Operand");
  uint32_t v = 0;
  while (IsDigit(Cur(ctx))) {
    v = v * 10u + static_cast<uint32_t>(Cur(ctx) - '0');
    ++ctx.ScanPos;
  }
  return static_cast<int32_t>(v);
}

} // namespace velmora
