// The hills' readings of Redcode, each with its warning, and the one deliberate difference
// (their grouping of expressions). Over the reference object code beside the project
// (skipped when absent): every public warrior that the hills assemble must assemble here to
// the same instructions and start, fields compared modulo the core size, unless it is
// warned about a grouping. The public warrior collections assemble with each hill's
// settings, and every load file reassembles into the same code.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "test_support.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

const std::string kJoined = "line 1: the next line is joined to this one";
const std::string kOrg = ": ORG without an operand starts the warrior at its first instruction";
std::string Grouping(int line, int32_t hills, int32_t ours) {
  return "line " + std::to_string(line) + ": the hills compute " + std::to_string(hills) +
         " here, Velmora computes " + std::to_string(ours) +
         " (left to right); add parentheses to choose";
}

TEST(AssemblerHillRules, ReadAsTheHillsAndWarn) {
  const struct {
    uint8_t Standard;
    Lines Source;
    std::string Code; // see AsmFixture::Result
    Lines Warnings;
  } cases[] = {
      // clang-format off
      // 1. Backslash joins, in comments too; chains; not after a blank nor at the end.
      {2, {"dat 1 ; c\\", "dat 2", "dat 3"}, "DAT.F #0, $1 | DAT.F #0, $3", {kJoined}},
      {2, {"mov 0,\\\r", " 1\\", "; c", "dat 4"}, "MOV.I $0, $1 | DAT.F #0, $4",
       {kJoined, "line 2: the next line is joined to this one"}},
      {2, {"; c\\ ", "dat 2", "; c\\"}, "DAT.F #0, $2", {}},
      // 2. A label alone before an unlabelled FOR counts it; outside the loop a reads 0.
      {2, {"a ; c", "", "; c", "for 2", "dat a", "rof", "dat a"},
       "DAT.F #0, $1 | DAT.F #0, $2 | DAT.F #0, $0",
       {"line 1: the label a before FOR is the loop's counter, as on the hills"}},
      {2, {"a", "b dat 0", "for 1", "dat a", "rof"}, "DAT.F #0, $0 | DAT.F #0, $-1", {}},
      // 3. ORG without operand starts at 0; a later END still wins.
      {2, {"ORG 1", "dat 0", "dat 1", "ORG"}, "DAT.F #0, $0 | DAT.F #0, $1", {"line 4" + kOrg}},
      {2, {"ORG", "dat 0", "ORG", "go dat 1", "END go"}, "DAT.F #0, $0 | DAT.F #0, $1 start 1",
       {"line 1" + kOrg, "line 3" + kOrg}},
      // 4. The names the hills do not predefine may be a warrior's own.
      {2, {"jmp RANDOM", "RANDOM dat READLIMIT", "READLIMIT equ 7"}, "JMP.B $1, $0 | DAT.F #0, $7",
       {"line 2: RANDOM is this warrior's own label here, as on the hills",
        "line 3: READLIMIT is this warrior's own equate here, as on the hills"}},
      // 5. A counter after a number takes two digits; after a name it is left alone.
      {2, {"x1z equ 0", "z for 2", "dat 999z, #-6z", "dat x1z", "rof"},
       "DAT.F $99901, #-601 | DAT.F #0, $0 | DAT.F $99902, #-602 | DAT.F #0, $0",
       {"line 1: the counter z right after a number is replaced by its two-digit value, "
        "as on the hills"}},
      // 6. An opcode word ends at a mode character or a minus sign.
      {2, {"mov#9, 3", "jmp-2", "dat.f<1, 2"}, "MOV.AB #9, $3 | JMP.B $-2, $0 | DAT.F <1, $2",
       {"line 1: the opcode word ends at \"#\", as on the hills",
        "line 2: the opcode word ends at \"-\", as on the hills",
        "line 3: the opcode word ends at \"<\", as on the hills"}},
      // 7. SLT takes an immediate B-operand under KVRT 88.
      {0, {"slt 1, #11"}, "SLT.B $1, #11",
       {"line 1: SLT with an immediate B-operand is accepted under KVRT 88, as on the hills"}},
      // 8. Our grouping stays; where the hills' differs, both values are told.
      {2, {"dat 10-8/2-4/2, 8-2-1", "dat 20-2*3-4, (2*3-4*5-6)", "dat 1-2*3+4, 1+2*3==7"},
       "DAT.F $4, $5 | DAT.F $10, $-20 | DAT.F $-1, $1",
       {Grouping(1, 8, 4), Grouping(2, 18, 10), Grouping(2, -8, -20), Grouping(3, -9, -1)}},
      {2, {"for -(10-8/2-4/2) + 6", "dat 0", "rof", ";assert 2*3-4*5-6 == -20", "ORG 9-2*2-1"},
       "DAT.F #0, $0 | DAT.F #0, $0 start 4",
       {Grouping(1, -2, 2), Grouping(3, 6, 1), Grouping(3, 6, 4)}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Source[0]);
    AsmFixture f(c.Standard);
    EXPECT_EQ(f.Result(c.Source), c.Code);
    EXPECT_EQ(f.W().Warnings, c.Warnings);
  }
}

TEST(AssemblerHillRules, DuplicatesAreStillRefusedAndWarningsLeaveTheCodeAlone) {
  AsmFixture f;
  EXPECT_EQ(f.Result({"RANDOM dat 0", "RANDOM dat 1"}).substr(0, 41),
            "Duplicate Symbol in line 2: RANDOM dat 1 ");
  f.Checksum = 1;
  ASSERT_EQ(f.Assemble({"jmp-2", "dat 10-8/2-4/2"}), 2);
  const uint32_t warned = f.Checksum;
  f.Checksum = 1;
  ASSERT_EQ(f.Assemble({"jmp -2", "dat 4"}), 2);
  EXPECT_EQ(f.Checksum, warned);
  EXPECT_TRUE(f.W().Warnings.empty());
}

// One line of the reference table: the warrior, its hill's settings, and its object code
// ("REJECTED" when the hills refuse it) with fields reduced modulo the core size.
// Reads a warrior file and assembles it as warrior 1 under these limits.
uint8_t AssembleFile(AsmFixture& f, const fs::path& file, int32_t length, int32_t distance,
                     int32_t pspace) {
  f.Core->MaxLength = length;
  f.Core->MinDistance = distance;
  f.Core->PSpaceSize = pspace;
  std::string author, name;
  Lines lines;
  ReadWarriorFile(f.Platform, file.string(), lines, author, name);
  f.W().Name = name;
  return f.Assemble(lines);
}

int32_t Mod(int64_t v, int32_t size) {
  return static_cast<int32_t>(((v % size) + size) % size);
}

// "MOV.I $-1, <3 | ..." with both fields reduced into 0..size-1; the modifier dropped for 1988.
std::string Canonical(const std::string& code, int32_t size, bool modifier) {
  std::string out;
  for (size_t start = 0; start < code.size();) {
    const size_t end = std::min(code.find(" | ", start), code.size());
    char op[16], ma = 0, mb = 0;
    long long a = 0, b = 0;
    const std::string one = code.substr(start, end - start);
    if (std::sscanf(one.c_str(), "%15s %c%lld, %c%lld", op, &ma, &a, &mb, &b) != 5)
      return "unreadable " + one;
    std::string o = op;
    if (!modifier) o = o.substr(0, o.find('.'));
    out += o + " " + ma + std::to_string(Mod(a, size)) + ", " + mb + std::to_string(Mod(b, size));
    out += " | ";
    start = end + 3;
  }
  return out;
}

TEST(AssemblerHillObjectCode, EveryWarriorAssemblesAsTheHillsAssembleIt) {
  const fs::path shared = VELMORA_SHARED_DIR;
  const fs::path table = shared / "reference" / "hill-object-code.tsv";
  if (!fs::exists(table)) GTEST_SKIP() << "no reference object code at " << table;
  std::ifstream in(table);
  std::string line;
  std::getline(in, line); // header
  int matching = 0, grouping = 0, rejected = 0, accepted = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string path, standard, start, code;
    int32_t size = 0, length = 0, distance = 0, pspace = 0;
    fields >> path >> size >> length >> distance >> pspace >> standard;
    fields.get();
    std::getline(fields, start, '\t'); // empty when REJECTED
    std::getline(fields, code);
    // The hills assembled each warrior alone (WARRIORS 1, so koenigstuhl/lp/lazy.red is
    // empty there) with the processes and cycles at their defaults in every set.
    AsmFixture f(standard == "88" ? 0 : 2, size);
    const uint8_t status = AssembleFile(f, shared / "warriors" / path, length, distance, pspace);
    if (code == "REJECTED") { // mostly a failing ";assert", which here only warns
      ++rejected;
      accepted += status == 2;
      continue;
    }
    const bool modifier = standard == "94";
    const std::string hills =
        Canonical(code, size, modifier) + std::to_string(Mod(std::stoll(start), size));
    const std::string here = status == 2 ? Canonical(f.Code(), size, modifier) +
                                               std::to_string(Mod(f.W().StartOffset, size))
                                         : f.Errors.at(0);
    bool warned = false; // about a grouping: then the code may differ
    for (const std::string& w : f.W().Warnings)
      warned = warned || w.find("the hills compute") != std::string::npos;
    grouping += warned;
    matching += here == hills;
    if (!warned) {
      EXPECT_EQ(here, hills) << path;
    }
  }
  std::cout << matching << " warriors assemble as on the hills; " << grouping
            << " get the grouping warning; " << accepted << " of " << rejected
            << " that the hills reject compile here\n";
  EXPECT_GT(matching, 0);
}

TEST(AssemblerSharedWarriors, EveryHillAssemblesAndRoundTrips) {
  const fs::path root = fs::path(VELMORA_SHARED_DIR) / "warriors";
  if (!fs::is_directory(root)) GTEST_SKIP() << "no warrior collections at " << root;
  const struct {
    const char* Folder;
    uint8_t Standard;
    int32_t CoreSize, MaxProcesses, MaxCycles, MaxLength;
  } hills[] = {{"koenigstuhl/94nop", 2, 8000, 8000, 80000, 100},
               {"koenigstuhl/94", 2, 8000, 8000, 80000, 100},
               {"koenigstuhl/94x", 2, 55440, 10000, 500000, 200},
               {"koenigstuhl/lp", 2, 8000, 8, 80000, 200},
               {"koenigstuhl/tiny", 2, 800, 800, 8000, 20},
               {"koenigstuhl/nano", 2, 80, 80, 800, 5},
               {"fsh94nop", 2, 8000, 8000, 80000, 100},
               {"wilkies", 2, 8000, 8000, 80000, 100},
               {"koenigstuhl/88", 0, 8000, 8000, 80000, 100},
               {"ociw88", 0, 8000, 8000, 80000, 100}};
  int files = 0, compiled = 0;
  for (const auto& hill : hills) {
    AsmFixture f(hill.Standard, hill.CoreSize);
    f.Core->MaxProcesses = hill.MaxProcesses;
    f.Core->MaxCycles = hill.MaxCycles;
    f.Core->NumWarriors = 2;
    std::vector<fs::path> paths;
    for (const auto& e : fs::recursive_directory_iterator(root / hill.Folder))
      if (e.is_regular_file() && e.path().filename() != "README.md") paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (const fs::path& file : paths) {
      ++files;
      const std::string shown = fs::relative(file, root).string();
      uint8_t status = 0;
      try {
        status = AssembleFile(f, file, hill.MaxLength, hill.MaxLength, hill.CoreSize / 16);
      } catch (const EArithmeticError& e) {
        ADD_FAILURE() << shown << ": " << e.what();
        continue;
      }
      EXPECT_EQ(status, 2) << shown << ": " << (f.Errors.empty() ? "" : f.Errors.back());
      if (status != 2) continue;
      ++compiled;
      const std::string loaded = f.Loaded(); // the load file must give it all back
      ASSERT_EQ(f.Assemble(LoadFileLines(f.W(), f.W().Name, hill.Standard)), 2) << shown;
      EXPECT_EQ(f.Loaded(), loaded) << shown;
    }
  }
  std::cout << compiled << " of " << files << " shared warriors compiled\n";
  EXPECT_GT(files, 0);
}

} // namespace
} // namespace velmora::test
