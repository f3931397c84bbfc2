// Debug directive comments (";debug", ";trace", ";break", ";condition"), the breakpoint
// types they create, and the evaluation of a breakpoint's test expression.

#include <limits>

#include "assembler/assembly_state.h"

namespace velmora {

namespace {

std::string Argument(const std::string& line, const char* directive) {
  return Trim(line.substr(std::string(directive).size()));
}

bool Contains(const std::string& s, const char* word) {
  return s.find(word) != std::string::npos;
}

// Evaluates text with only A, B, a and b defined, as a breakpoint test sees it.
int32_t EvaluateTest(TCore& core, const std::string& text, int32_t a, int32_t b) {
  AssemblyContext& ctx = core.Asm;
  SetLineText(ctx, text);
  ctx.CurLine = 0;
  ctx.ModeSeen = false;
  ctx.Labels = {{"A", a}, {"B", b}, {"a", a}, {"b", b}};
  return EvaluateExpression(core);
}

} // namespace

void ApplyDebugDirective(AssemblyState& st, const std::string& line) {
  if (StartsWith(line, ";debug")) {
    if (Contains(line, "static")) {
      st.DebugOn = true;
      st.MovableDefault = false;
      if (st.DefaultType == 2) st.DefaultType = st.CurrentType = 1;
    } else if (Contains(line, "off")) {
      st.DebugOn = false;
    } else {
      st.DebugOn = true;
      st.MovableDefault = true;
      if (st.DefaultType == 1) st.DefaultType = st.CurrentType = 2;
    }
  } else if (StartsWith(line, ";trace")) {
    st.TraceOn = !Contains(line, "off");
  } else if (StartsWith(line, ";break")) {
    std::string arg = Argument(line, ";break");
    st.CurrentType =
        arg.empty() ? st.DefaultType : RegisterBreakpointType(st.Core, arg, st.MovableDefault);
    st.Marked = true;
  } else if (StartsWith(line, ";condition")) {
    std::string arg = Argument(line, ";condition");
    st.DefaultType = arg.empty() ? (st.MovableDefault ? 2 : 1)
                                 : RegisterBreakpointType(st.Core, arg, st.MovableDefault);
    st.CurrentType = st.DefaultType;
  }
}

int RegisterBreakpointType(TCore& core, const std::string& argument, bool movableDefault) {
  const std::string s = UpperCase(argument);
  TBreakpointRec rec;
  rec.Execute = true;
  rec.Movable = movableDefault;
  rec.Frequency = 1;
  rec.TestExpression = "B==0";
  bool executeKept = false;
  bool inNumber = false;
  for (size_t i = 0; i < s.size() && s[i] != ';'; ++i) {
    char c = s[i];
    bool digit = IsDigit(c);
    if (digit) {
      if (!inNumber) rec.Frequency = 0;
      int d = c - '0';
      if (rec.Frequency > (std::numeric_limits<int32_t>::max() - d) / 10)
        core.Platform->ShowMessage("Frequency is too large");
      else
        rec.Frequency = rec.Frequency * 10 + d;
    }
    inNumber = digit;
    switch (c) {
    case 'E':
      rec.Execute = true;
      executeKept = true;
      break;
    case 'W': rec.Write = true; break;
    case 'I': rec.IncDec = true; break;
    case 'C': rec.Compare = true; break;
    case 'R': rec.Read = true; break;
    case 'T': rec.Test = true; break;
    case 'M': rec.Movable = true; break;
    case 'F': rec.Movable = false; break;
    case '"': {
      size_t e = i + 1;
      while (e < s.size() && s[e] != '"' && s[e] != ';')
        ++e;
      rec.TestExpression = s.substr(i + 1, e - i - 1);
      i = e < s.size() && s[e] == '"' ? e : e - 1;
      break;
    }
    default: break;
    }
    if (!executeKept && (c == 'W' || c == 'I' || c == 'C' || c == 'R' || c == 'T'))
      rec.Execute = false;
  }

  if (rec.Test) {
    AssemblyContext& ctx = core.Asm;
    auto savedLabels = ctx.Labels;
    int32_t savedLine = ctx.CurLine;
    std::string reason;
    try {
      EvaluateTest(core, rec.TestExpression, 0, 0);
    } catch (const ECompileError& e) {
      reason = e.what();
    } catch (const EArithmeticError& e) {
      reason = e.what();
    }
    ctx.Labels = std::move(savedLabels);
    ctx.CurLine = savedLine;
    if (!reason.empty()) {
      core.Platform->ShowMessage("Error evaluating operand test expression (" + rec.TestExpression +
                                 "): " + reason);
      return 0;
    }
  }
  if (!rec.Write && !rec.IncDec && !rec.Compare && !rec.Read && !rec.Test && rec.Frequency == 1)
    return rec.Movable ? 2 : 1;
  if (core.BreakpointTypeCount >= kBreakpointTypeMax) {
    core.Platform->ShowMessage("Maximum number of breakpoint types exceeded");
    return kBreakpointTypeMax - 1;
  }
  core.BreakpointTypes[static_cast<size_t>(core.BreakpointTypeCount)] = rec;
  return core.BreakpointTypeCount++;
}

bool EvaluateOperandTest(TCore& core, const CoreCell& cell) {
  const std::string& text = core.BreakpointTypes[cell.BreakpointType].TestExpression;
  std::string reason;
  try {
    return EvaluateTest(core, text, cell.AField, cell.BField) != 0;
  } catch (const ECompileError& e) {
    reason = e.what();
  } catch (const EArithmeticError& e) {
    reason = e.what();
  }
  core.Platform->ShowMessage("Error evaluating operand test expression (" + text + "): " + reason);
  return false;
}

void InstallAssembler(TCore& core) {
  core.OperandTestHook = &EvaluateOperandTest;
  core.InitialInstructionHook = &FillCustomInstruction;
}

} // namespace velmora
