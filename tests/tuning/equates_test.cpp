// Finding one-line equates as the assembler reads them, and giving one a new value.

#include <gtest/gtest.h>

#include "tuning/equates.h"

namespace velmora {
namespace {

struct EquateCase {
  std::vector<std::string> Source;
  std::vector<std::string> Found; // "name=text" in source order
  std::string Name;               // replaced by 7
  std::vector<std::string> After; // the source then; empty: no replacement possible
};

TEST(Equates, FoundAndReplacedAsTheAssemblerReadsThem) {
  const std::vector<EquateCase> cases = {
      {{"step    equ     3044   ; bombs", "  mov 0, 1"},
       {"step=3044"},
       "step",
       {"step    equ     7   ; bombs", "  mov 0, 1"}},
      // Tabs and colons are blanks; a line of names shares one text.
      {{"gap:\tEQU\t(CORESIZE/4)+1", "a b equ 2"},
       {"gap=(CORESIZE/4)+1", "a=2", "b=2"},
       "b",
       {"gap:\tEQU\t(CORESIZE/4)+1", "a b equ 7"}},
      // A continuation makes the last name multi-line; comments and opcode lines define none.
      {{"a b equ 1", ";", "  equ 2", ";c equ 3", "dat equ 4", "x equ 5 ; y equ 6"},
       {"a=1", "x=5"},
       "b",
       {}},
      {{"nothing equ", "equ 5"}, {}, "nothing", {}},
  };
  for (const EquateCase& c : cases) {
    std::vector<std::string> found;
    for (const EquateLine& e : FindEquates(c.Source))
      found.push_back(e.Name + "=" + e.Text);
    EXPECT_EQ(found, c.Found) << c.Source[0];
    std::vector<std::string> source = c.Source;
    EXPECT_EQ(ReplaceEquate(source, c.Name, "7"), !c.After.empty()) << c.Source[0];
    EXPECT_EQ(source, c.After.empty() ? c.Source : c.After) << c.Source[0];
  }
}

} // namespace
} // namespace velmora
