#pragma once
// Finding the source line an error line of the assembler comes from. The assembler numbers
// the statements it works on, which differ from the source's lines once comments, FOR
// blocks or EQU texts are taken out or expanded; its error line also quotes the statement's
// text, and that text leads back to the source.

#include <string>
#include <vector>

namespace velmora {

// The 0-based source line of an error line ("<message> in line <n>: <text>"), -1 when the
// line is no error line. Statement n is counted over the lines that are neither blank nor
// comments; of the lines that hold the quoted text, the one nearest to it wins (EQU and FOR
// texts move statements away from their lines), else the counted line.
int SourceLineOfError(const std::string& errorLine, const std::vector<std::string>& source);

} // namespace velmora
