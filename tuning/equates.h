#pragma once
// The constants a warrior defines with one-line EQU statements, found the way the assembler
// reads them, and the source with one of them given a new value.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One name defined by a one-line EQU: "step equ 3044 ; comment" gives Name "step",
// Text "3044", and the text's place in its source line.
struct EquateLine {
  std::string Name;
  size_t Line = 0;      // 0-based source line
  std::string Text;     // the defining text, trimmed
  size_t TextBegin = 0; // the text is Source[Line].substr(TextBegin, TextEnd - TextBegin)
  size_t TextEnd = 0;
};

// Every name of source defined by a one-line EQU, in source order. A name that an EQU
// continuation line turns into a multi-line equate is left out.
std::vector<EquateLine> FindEquates(const std::vector<std::string>& source);

// The one-line equate called name (exact case), if source has one.
std::optional<EquateLine> FindEquate(const std::vector<std::string>& source,
                                     const std::string& name);

// source with the defining text of every one-line EQU of name replaced by text; comments
// and spacing stay. Returns false (source unchanged) when name has no such definition.
bool ReplaceEquate(std::vector<std::string>& source, const std::string& name,
                   const std::string& text);

} // namespace velmora
