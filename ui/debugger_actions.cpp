#include "ui/debugger_actions.h"

#include <algorithm>

#include "assembler/assembler.h"

namespace velmora {

std::optional<int32_t> ChooseBreakpointType(TCore& core, const TBreakpointRec& settings) {
  const bool reacts =
      settings.Write || settings.IncDec || settings.Compare || settings.Read || settings.Test;
  if (!reacts) {
    if (!settings.Execute) return 0;
    if (settings.Frequency == 1) return settings.Movable ? 2 : 1;
  }
  if (core.BreakpointTypeCount >= kBreakpointTypeMax) {
    core.Platform->ShowMessage("Maximum number of breakpoint types exceeded");
    return std::nullopt;
  }
  const int32_t type = core.BreakpointTypeCount++;
  core.BreakpointTypes[static_cast<size_t>(type)] = settings;
  return type;
}

void FillBreakpoints(TCore& core, int32_t location, int32_t type, int64_t fillCount) {
  const int32_t size = core.CoreSize;
  if (size < 1) return;
  const int64_t count = std::min<int64_t>(fillCount, size);
  int32_t a = ModCore(location, size);
  for (int64_t i = 0; i < count; ++i) {
    core.Core[static_cast<size_t>(a)].BreakpointType = static_cast<uint8_t>(type);
    if (type == 0)
      core.RemoveBreakpoint(a);
    else
      core.AddBreakpoint(a);
    core.History.SetBreakpoint(a, static_cast<uint8_t>(type));
    a = a == size - 1 ? 0 : a + 1;
  }
}

void ClearBreakpoint(TCore& core, int32_t address) {
  if (address >= 0 && static_cast<size_t>(address) < core.Core.size())
    core.Core[static_cast<size_t>(address)].BreakpointType = 0;
  core.RemoveBreakpoint(address);
  core.History.SetBreakpoint(address, 0);
}

void ClearAllBreakpoints(TCore& core) {
  for (CoreCell& cell : core.Core)
    cell.BreakpointType = 0;
  core.BreakpointAddresses.clear();
  core.BreakpointCounters.clear();
  core.History.ClearBreakpoints();
}

std::optional<std::string> OperandTestError(TCore& core, const std::string& expression) {
  AssemblyContext& ctx = core.Asm;
  auto savedLabels = ctx.Labels;
  const int32_t savedLine = ctx.CurLine;
  std::optional<std::string> error;
  try {
    SetLineText(ctx, expression);
    ctx.CurLine = 0;
    ctx.ModeSeen = false;
    // The run-time test knows the fields under both cases; so does the check.
    ctx.Labels = {{"A", 0}, {"B", 0}, {"a", 0}, {"b", 0}};
    EvaluateExpression(core);
  } catch (const ECompileError& e) {
    error = e.what();
  } catch (const EArithmeticError& e) {
    error = e.what();
  }
  ctx.Labels = std::move(savedLabels);
  ctx.CurLine = savedLine;
  return error;
}

void StoreScratchCode(TCore& core, int32_t location) {
  const int32_t size = core.CoreSize;
  if (size < 1 || core.Warriors.empty()) return;
  const TWarrior& scratch = *core.Warriors[0];
  const auto length =
      std::min<size_t>(static_cast<size_t>(std::max(scratch.CodeLength, 0)), scratch.Code.size());
  int32_t a = ModCore(location, size);
  for (size_t i = 0; i < length; ++i) {
    const CoreCell& code = scratch.Code[i];
    CoreCell& cell = core.Core[static_cast<size_t>(a)];
    cell.OpcodeModifier = code.OpcodeModifier;
    cell.Modes = code.Modes;
    cell.AField = ModCore(code.AField, size);
    cell.BField = ModCore(code.BField, size);
    a = a == size - 1 ? 0 : a + 1;
  }
}

} // namespace velmora
