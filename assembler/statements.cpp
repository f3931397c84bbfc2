// The statement assembler: opcode, modifier and operand parsing, the three passes of an
// assembly, the standards checks, default modifiers, cell encoding and the checksum.

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "assembler/assembly_state.h"

namespace velmora {

// --- Working state ----------------------------------------------------------------------------

const Equate* AssemblyState::FindEquate(const std::string& name) const {
  auto it = EquateIndex.find(name);
  return it == EquateIndex.end() ? nullptr : &Equates[it->second];
}

Equate* AssemblyState::FindEquate(const std::string& name) {
  auto it = EquateIndex.find(name);
  return it == EquateIndex.end() ? nullptr : &Equates[it->second];
}

void AssemblyState::AddEquate(const std::string& name, const std::string& text) {
  Equates.push_back(Equate{name, {text}});
  EquateIndex[name] = Equates.size() - 1;
}

void AssemblyState::AddLabel(const std::string& name, int32_t line) {
  Ctx.Labels.emplace_back(name, line);
  Labels[name].push_back(line);
}

void AssemblyState::RemoveLastLabel() {
  if (Ctx.Labels.empty()) return;
  if (auto it = Labels.find(Ctx.Labels.back().first); it != Labels.end()) {
    it->second.pop_back();
    if (it->second.empty()) Labels.erase(it);
  }
  Ctx.Labels.pop_back();
}

void AssemblyState::AddError(const std::string& message, size_t index) {
  int32_t number = static_cast<int32_t>(index) + 1;
  std::string text;
  int32_t origin = Lines.Origin(index);
  if (Place.Set) {
    number = Place.LineNumber;
    text = Place.Text;
    origin = Place.Origin;
  } else if (index < Lines.size()) {
    text = Lines[index];
  }
  Place = ErrorPlace{};
  // Pass 2 and pass 3 both read a statement's opcode: a standards violation is told once.
  std::string error = message + " in line " + std::to_string(number) + ": " + text;
  if (Reported.insert(error).second) {
    Errors->push_back(std::move(error));
    W.ErrorLines.push_back(origin);
  }
  Status = 1;
  W.WarriorStatus = 1;
}

void AssemblyState::Warn(int32_t lineNumber, int32_t origin, const std::string& message) {
  std::string text = "line " + std::to_string(lineNumber) + ": " + message;
  // A loop repeats its lines' warnings; each is told once.
  if (!Warned.insert(text).second) return;
  Warnings.push_back(std::move(text));
  WarningLines.push_back(origin);
}

void AssemblyState::Warn(const std::string& message) {
  Warn(Place.Set ? Place.LineNumber : static_cast<int32_t>(LineIndex) + 1, CurrentOrigin(),
       message);
}

namespace {

void WarnGrouping(AssemblyState& st, const GroupingDifference& grouping, int32_t ours) {
  if (grouping.Found)
    st.Warn("the hills compute " + std::to_string(grouping.Hills) + " here, Velmora computes " +
            std::to_string(ours) + " (left to right); add parentheses to choose");
}

} // namespace

int32_t AssemblyState::Evaluate() {
  GroupingDifference grouping;
  const int32_t v = EvaluateExpression(Core, &Labels, &grouping);
  WarnGrouping(*this, grouping, v);
  return v;
}

void AssemblyState::Operand(AddressMode& mode, int32_t& value) {
  GroupingDifference grouping;
  ParseOperand(Core, mode, value, &Labels, &grouping);
  WarnGrouping(*this, grouping, value);
}

void AssemblyState::EraseLines(size_t from, size_t to) {
  Lines.erase(from, to);
  const auto f = static_cast<int64_t>(from), t = static_cast<int64_t>(to);
  for (auto& e : Expansions) {
    if (e.second >= t)
      e.second -= t - f;
    else if (e.second >= f)
      e.second = f - 1; // its lines are gone: the expansion is over
  }
}

void AssemblyState::Expanded(size_t characters) {
  ExpandedText += static_cast<int64_t>(characters);
  if (ExpandedText > kMaxExpandedText) throw ECompileError("Expansion too large");
}

void AssemblyState::InsertLines(size_t at, const std::vector<std::string>& lines,
                                const std::vector<int32_t>& origins) {
  if (Lines.size() + lines.size() > kMaxStatementLines)
    throw ECompileError("Too many statements after expansion");
  Lines.insert(at, lines, origins);
  for (auto& e : Expansions)
    if (e.second >= static_cast<int64_t>(at)) e.second += static_cast<int64_t>(lines.size());
}

// --- Parsing --------------------------------------------------------------------------------

// An opcode or modifier word ends at a blank or the end, and, as on the hills, also at a
// mode character or a minus sign: "jmp-2" is JMP -2.
static bool EndsWord(char c) {
  return c == ' ' || c == '\0' || c == '-' || std::strchr(ModeSymbols, c) != nullptr;
}

bool ParseOpcode(TCore& core, bool raise, Opcode& op, Modifier& mod) {
  AssemblyContext& ctx = core.Asm;
  int32_t start = ctx.ScanPos;
  SkipBlanks(ctx);
  std::string word;
  for (char c = Cur(ctx); c != '.' && !EndsWord(c); c = Cur(ctx)) {
    word.push_back(ToUpper(c));
    ++ctx.ScanPos;
  }
  int code = -1;
  for (int i = 0; i < kOpcodeCount; ++i)
    if (word == OpcodeNames[static_cast<size_t>(i)]) code = i;
  if (code < 0) {
    if (raise) throw ECompileError("Bad Opcode");
    ctx.ScanPos = start;
    return false;
  }
  if (code > StandardInfo(core.Standard).HighestOpcode)
    throw ECompileError("Standards violation (Opcode)");
  op = static_cast<Opcode>(code);
  mod = Modifier::NONE;
  if (Cur(ctx) == '.') {
    if (core.Standard == 0) throw ECompileError("Standards violation (Modifier)");
    ++ctx.ScanPos;
    std::string m;
    for (char c = Cur(ctx); !EndsWord(c); c = Cur(ctx)) {
      m.push_back(ToUpper(c));
      ++ctx.ScanPos;
    }
    int found = -1;
    for (int i = 0; i < kModifierCount; ++i)
      if (m == ModifierNames[static_cast<size_t>(i)]) found = i;
    if (found < 0) throw ECompileError("Bad Modifier");
    mod = static_cast<Modifier>(found);
  }
  return true;
}

AddressMode ParseMode(TCore& core) {
  AssemblyContext& ctx = core.Asm;
  ctx.ModeSeen = false;
  if (!SkipBlanks(ctx)) throw ECompileError("Bad Operand");
  int mode = static_cast<int>(AddressMode::Direct);
  const char* p = std::strchr(ModeSymbols, Cur(ctx));
  if (p) {
    mode = static_cast<int>(p - ModeSymbols);
    ++ctx.ScanPos;
    ctx.ModeSeen = true;
  }
  if (mode > StandardInfo(core.Standard).HighestMode)
    throw ECompileError("Standards violation (Opmode)");
  return static_cast<AddressMode>(mode);
}

void ParseOperand(TCore& core, AddressMode& mode, int32_t& value, const LabelIndex* labels,
                  GroupingDifference* grouping) {
  core.Asm.OperandMode = static_cast<uint8_t>(ParseMode(core));
  value = EvaluateExpression(core, labels, grouping);
  mode = static_cast<AddressMode>(core.Asm.OperandMode);
}

void ParseOperand(TCore& core, AddressMode& mode, int32_t& value) {
  ParseOperand(core, mode, value, nullptr);
}

namespace {

Modifier DefaultModifier(Opcode op, AddressMode a, AddressMode b) {
  const bool aImm = a == AddressMode::Immediate, bImm = b == AddressMode::Immediate;
  switch (op) {
  case Opcode::DAT:
  case Opcode::NOP: return Modifier::F;
  case Opcode::JMP:
  case Opcode::JMZ:
  case Opcode::JMN:
  case Opcode::DJN:
  case Opcode::SPL: return Modifier::B;
  case Opcode::MOV:
  case Opcode::CMP:
  case Opcode::SEQ:
  case Opcode::SNE: return aImm ? Modifier::AB : bImm ? Modifier::B : Modifier::I;
  case Opcode::ADD:
  case Opcode::SUB:
  case Opcode::MUL:
  case Opcode::DIV:
  case Opcode::MOD: return aImm ? Modifier::AB : bImm ? Modifier::B : Modifier::F;
  case Opcode::SLT:
  case Opcode::LDP:
  case Opcode::STP: return aImm ? Modifier::AB : Modifier::B;
  default: throw ECompileError("Unhandled modifier translation");
  }
}

// The 1988 standard's restrictions on modes per opcode. SLT may take an immediate
// B-operand, as every hill allows.
void CheckModes88(AssemblyState& st, Opcode op, AddressMode a, AddressMode b) {
  auto directOrIndirect = [](AddressMode m) {
    return m == AddressMode::Direct || m == AddressMode::BIndirect;
  };
  bool bad = false;
  switch (op) {
  case Opcode::DAT: bad = directOrIndirect(a) || directOrIndirect(b); break;
  case Opcode::MOV:
  case Opcode::ADD:
  case Opcode::SUB:
  case Opcode::CMP: bad = b == AddressMode::Immediate; break;
  case Opcode::SLT:
    if (b == AddressMode::Immediate)
      st.Warn("SLT with an immediate B-operand is accepted under KVRT 88, as on the hills");
    break;
  case Opcode::JMP:
  case Opcode::JMZ:
  case Opcode::JMN:
  case Opcode::DJN:
  case Opcode::SPL: bad = a == AddressMode::Immediate; break;
  default: break;
  }
  if (bad) throw ECompileError("Illegal address mode");
}

struct Checksum {
  uint16_t S1, S2;
  void Add(uint32_t word) {
    for (int i = 0; i < 4; ++i) {
      S1 = static_cast<uint16_t>(S1 + ((word >> (8 * i)) & 0xFF));
      S2 = static_cast<uint16_t>(S2 + S1);
    }
  }
};

// A line whose last character is a backslash goes on in the next line, on the hills even
// inside a comment, so that the next line is commented out too. Null when nothing is joined;
// else origins gets the source line each joined line starts at.
std::unique_ptr<std::vector<std::string>> JoinContinuedLines(AssemblyState& st,
                                                             std::vector<int32_t>& origins) {
  const std::vector<std::string>& source = st.W.Source;
  auto continued = [](const std::string& line) {
    size_t n = line.size();
    if (n > 0 && line[n - 1] == '\r') --n;
    return n > 0 && line[n - 1] == '\\' ? n - 1 : std::string::npos;
  };
  if (std::none_of(source.begin(), source.end(),
                   [&](const std::string& l) { return continued(l) != std::string::npos; }))
    return nullptr;
  auto out = std::make_unique<std::vector<std::string>>();
  for (size_t i = 0; i < source.size(); ++i) {
    std::string line = source[i];
    origins.push_back(static_cast<int32_t>(i));
    for (size_t cut; i + 1 < source.size() && (cut = continued(line)) != std::string::npos;) {
      if (line.size() + source[i + 1].size() > kMaxLineLength) break;
      st.Warn(static_cast<int32_t>(i) + 1, static_cast<int32_t>(i),
              "the next line is joined to this one");
      line = line.substr(0, cut) + source[++i];
    }
    out->push_back(std::move(line));
  }
  return out;
}

// Pass 1: the statement list and the name.
void GatherStatements(AssemblyState& st) {
  std::vector<int32_t> origins;
  const auto joined = JoinContinuedLines(st, origins);
  const std::vector<std::string>& lines = joined ? *joined : st.W.Source;
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    const int32_t origin = joined ? origins[k] : static_cast<int32_t>(k);
    if (StartsWith(line, ";redcode")) {
      st.Lines.clear();
    } else if (StartsWith(line, ";assert") || StartsWith(line, ";debug") ||
               StartsWith(line, ";trace") || StartsWith(line, ";break") ||
               StartsWith(line, ";condition")) {
      st.Lines.push_back(line, origin);
    } else if (StartsWith(line, ";name")) {
      size_t p = 6;
      while (p < line.size() && (line[p] == ' ' || line[p] == '\t'))
        ++p;
      if (st.W.Name.empty() || st.W.Name == "No Name")
        st.W.Name = p < line.size() ? line.substr(p) : std::string();
    } else if (!line.empty() && (IsIdentStart(line[0]) || line[0] == ' ' || line[0] == '\t')) {
      std::string s = line.substr(0, line.find(';'));
      for (char& c : s)
        if (c == '\t' || c == ':') c = ' ';
      s = Trim(s);
      if (!s.empty()) st.Lines.push_back(s, origin);
    }
  }
}

// ORG, END and PIN: true when the pass ends here.
bool PseudoOp(AssemblyState& st, Opcode op) {
  AssemblyContext& ctx = st.Ctx;
  --ctx.CurLine;
  if (op == Opcode::END) st.Length = ctx.CurLine + 1;
  SkipBlanks(ctx);
  if (Cur(ctx) == '\0' || Cur(ctx) == ';') {
    if (op == Opcode::PIN) throw ECompileError("Missing operand");
    if (op == Opcode::ORG) {
      // The hills start such a warrior at its first instruction.
      st.Warn("ORG without an operand starts the warrior at its first instruction");
      st.StartOffset = 0;
    }
    return op == Opcode::END;
  }
  ctx.ModeSeen = false;
  if (op == Opcode::PIN) {
    int32_t v = st.Evaluate();
    if (v < 0) throw ECompileError("Negative PIN");
    st.Pin = v;
    return false;
  }
  // Evaluated as if on line 0, so a label gives its absolute index.
  int32_t saved = ctx.CurLine;
  ctx.CurLine = 0;
  try {
    st.StartOffset = st.Evaluate();
  } catch (...) {
    ctx.CurLine = saved;
    throw;
  }
  ctx.CurLine = saved;
  return op == Opcode::END;
}

// The operands of an instruction whose opcode has been read, and its cell.
void EncodeInstruction(AssemblyState& st, Opcode op, Modifier mod, std::vector<CoreCell>& code,
                       Checksum& sum) {
  TCore& core = st.Core;
  AddressMode am, bm;
  int32_t a, b;
  st.Operand(am, a);
  if (CharAt(st.Ctx, st.Ctx.ScanPos - 1) == ',') {
    st.Operand(bm, b);
  } else if (op == Opcode::DAT) {
    bm = am;
    b = a;
    am = AddressMode::Immediate;
    a = 0;
  } else if (op == Opcode::JMP || op == Opcode::SPL || op == Opcode::NOP) {
    bm = AddressMode::Direct;
    b = 0;
  } else {
    throw ECompileError("Missing operand");
  }
  if (mod == Modifier::NONE) mod = DefaultModifier(op, am, bm);
  if (core.Standard == 0) CheckModes88(st, op, am, bm);

  CoreCell cell{};
  uint8_t colour = st.Index == 0 ? 0 : static_cast<uint8_t>(((st.Index - 1) % 8) + 1);
  cell.Marker = static_cast<uint8_t>(0x10 | colour);
  cell.BreakpointType =
      st.DebugOn && (st.Marked || st.TraceOn) ? static_cast<uint8_t>(st.CurrentType) : 0;
  cell.OpcodeModifier = PackOpcodeModifier(op, mod);
  cell.Modes = PackModes(am, bm);
  cell.AField = a;
  cell.BField = b;
  size_t at = static_cast<size_t>(st.Ctx.CurLine);
  // Pass 2 counted every line that can reach here, so the cell always has its place.
  if (at < code.size()) code[at] = cell;
  sum.Add(static_cast<uint32_t>(cell.OpcodeModifier) * 256u + cell.Modes);
  sum.Add(static_cast<uint32_t>(a));
  sum.Add(static_cast<uint32_t>(b));
  st.Marked = false;
  st.CurrentType = st.DefaultType;
}

// Pass 3: one cell per instruction, debug directives, ORG, END and PIN.
void EncodeStatements(AssemblyState& st, std::vector<CoreCell>& code, uint32_t& checksum) {
  AssemblyContext& ctx = st.Ctx;
  Checksum sum{static_cast<uint16_t>(checksum & 0xFFFF), static_cast<uint16_t>(checksum >> 16)};
  ctx.CurLine = -1;
  for (size_t i = 0; i < st.Lines.size(); ++i) {
    const std::string& line = st.Lines[i];
    st.LineIndex = i;
    bool ended = false;
    try {
      if (!line.empty() && line[0] == ';') {
        ApplyDebugDirective(st, line);
        continue;
      }
      ++ctx.CurLine;
      SetLineText(ctx, line);
      SubstituteEquates(st);
      ctx.ScanPos = 1;
      Opcode op;
      Modifier mod;
      ParseOpcode(st.Core, true, op, mod);
      if (Cur(ctx) != ' ' && Cur(ctx) != '\0')
        st.Warn(std::string("the opcode word ends at \"") + Cur(ctx) + "\", as on the hills");
      if (op == Opcode::END || op == Opcode::ORG || op == Opcode::PIN) {
        // An END whose operand fails still ends the pass: what follows was never expanded.
        ended = op == Opcode::END;
        if (PseudoOp(st, op)) break;
        continue;
      }
      EncodeInstruction(st, op, mod, code, sum);
    } catch (const ECompileError& e) {
      st.AddError(e.what(), i);
      if (ended) break;
    }
  }
  checksum = static_cast<uint32_t>(sum.S2) << 16 | sum.S1;
}

uint8_t Assemble(AssemblyState& st, uint32_t& checksum, bool clearLabels) {
  TCore& core = st.Core;
  TWarrior& w = st.W;
  core.Asm.Variables.fill(0);
  GatherStatements(st);
  if (st.Lines.empty()) return 0;

  if (clearLabels) core.Asm.Labels.clear();
  ExpandStatements(st);
  // Nothing left to encode; errors on the way still make it a failed compile.
  if (st.Length == 0) return st.Status == 1 ? 1 : 0;
  if (st.Length > core.MaxLength) {
    core.Platform->ShowMessage("Warrior " + w.Name + " length of " + std::to_string(st.Length) +
                               " exceeds size limit");
    st.Status = 1;
    w.WarriorStatus = 1;
  }
  std::vector<CoreCell> code;
  try {
    code.assign(static_cast<size_t>(st.Length) + 1, CoreCell{});
  } catch (const std::bad_alloc&) {
    core.Platform->ShowMessage("Not enough memory to store Warrior " + w.Name);
    return 1;
  }
  EncodeStatements(st, code, checksum);
  w.Pin = st.Pin;
  w.StartOffset = st.StartOffset;
  w.CodeLength = st.Length;
  w.Code = std::move(code);
  return st.Status;
}

} // namespace

uint8_t AssembleWarrior(TCore& core, int index, std::vector<std::string>& errors,
                        uint32_t& checksum, bool clearLabels) {
  errors.clear();
  if (index < 0 || static_cast<size_t>(index) >= core.Warriors.size()) return 0;
  AssemblyState st(core, index);
  st.W.ErrorLines.clear();
  st.Errors = &errors;
  // Without a PIN statement no two warriors share P-space; the editor's scratch warrior 0
  // gets -1 too, so its load file carries no PIN line that the source did not ask for.
  st.Pin = index > 0 ? -index : -1;
  st.W.WarriorStatus = 2;
  try {
    st.W.WarriorStatus = Assemble(st, checksum, clearLabels);
  } catch (...) {
    // An arithmetic error aborts the assembly: the warrior must not pass as compiled.
    st.W.WarriorStatus = 1;
    st.W.Warnings = std::move(st.Warnings);
    st.W.WarningLines = std::move(st.WarningLines);
    throw;
  }
  st.W.Warnings = std::move(st.Warnings);
  st.W.WarningLines = std::move(st.WarningLines);
  return st.W.WarriorStatus;
}

} // namespace velmora
