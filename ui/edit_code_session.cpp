#include "ui/edit_code_session.h"

#include "assembler/assembler.h"
#include "params/text_file.h"

namespace velmora {

TEditorCompile CompileInScratch(TCore& core, const std::vector<std::string>& source,
                                const std::string& fallbackName, int32_t warriorNumber) {
  TEditorCompile result;
  result.Standard = core.Standard;
  if (core.Warriors.empty()) return result;
  TWarrior& w = *core.Warriors[0];
  w.Source = source;
  // No code at all until the assembler makes some: that is how a compile that found no
  // statement shows.
  w.Code.clear();
  w.CodeLength = 0;
  w.Name.clear();
  uint32_t checksum = 1;
  try {
    AssembleWarrior(core, 0, result.Errors, checksum, true);
  } catch (...) {
    if (w.Code.empty()) w.Code.assign(1, CoreCell{});
    throw;
  }
  for (const std::string& warning : w.Warnings)
    result.Warnings.push_back("warning: " + warning);
  result.MessageLines = w.ErrorLines;
  result.MessageLines.insert(result.MessageLines.end(), w.WarningLines.begin(),
                             w.WarningLines.end());
  result.ProducedCode = !w.Code.empty();
  // Others read warrior 0's code without a length check.
  if (!result.ProducedCode) w.Code.assign(1, CoreCell{});
  result.Name = w.Name.empty() ? fallbackName : w.Name;
  if (result.ProducedCode) {
    result.ObjectCode = ObjectCodeListing(w, warriorNumber);
    result.RestoredSource = RestoredSourceListing(w, core.Standard);
    result.Compiled.Code = w.Code;
    result.Compiled.CodeLength = w.CodeLength;
    result.Compiled.StartOffset = w.StartOffset;
    result.Compiled.Pin = w.Pin;
    result.Compiled.Name = w.Name;
  }
  return result;
}

std::vector<std::string> LoadFileOf(const TEditorCompile& compile, const std::string& name) {
  return LoadFileLines(compile.Compiled, name, compile.Standard);
}

std::vector<std::string> SplitText(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

bool SaveLines(const std::string& path, const std::vector<std::string>& lines, std::string& error) {
  return WriteOutputFile(path, JoinCrLf(lines), error);
}

} // namespace velmora
