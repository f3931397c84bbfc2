#pragma once
// The warrior editor's work without its window: the source text as lines, a compile in the
// engine's scratch warrior 0 with its listings, and saving text files without risking the
// previous copy.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core.h"

namespace velmora {

struct TEditorCompile {
  std::vector<std::string> Errors;
  // The assembler's warnings, shown after the errors.
  std::vector<std::string> Warnings;
  // The 0-based source line of each error, then of each warning; -1 where there is none.
  std::vector<int32_t> MessageLines;
  // The name the editor shows afterwards: the one a ";name" line gave, else the fallback.
  std::string Name;
  // At least one statement was found (even with errors): listings and a load file exist.
  bool ProducedCode = false;
  std::vector<std::string> ObjectCode;
  std::vector<std::string> RestoredSource;
  // The compiled warrior as the load file needs it; kept here so that a later compile of
  // warrior 0 elsewhere cannot change what "Save Load File" writes.
  TWarrior Compiled{nullptr};
  uint8_t Standard = 2;
};

// Compiles source as the engine's scratch warrior 0 under the engine's current parameters.
// warriorNumber is printed in the object-code listing. Message boxes of the assembler
// appear on the way; an arithmetic error of the evaluator propagates, leaving warrior 0
// with one zeroed cell of code.
TEditorCompile CompileInScratch(TCore& core, const std::vector<std::string>& source,
                                const std::string& fallbackName, int32_t warriorNumber);

// The load file of a compile, under name.
std::vector<std::string> LoadFileOf(const TEditorCompile& compile, const std::string& name);

// The lines of an edited text: split at LF (a CR before it dropped); an empty text has no
// lines and a final line end starts no extra line.
std::vector<std::string> SplitText(const std::string& text);
// The text that shows lines: joined by LF.
std::string JoinLines(const std::vector<std::string>& lines);

// Writes every line followed by CR LF. The file is written beside path and renamed into
// place, so a failure halfway leaves any previous file intact; false with error then.
bool SaveLines(const std::string& path, const std::vector<std::string>& lines, std::string& error);

} // namespace velmora
