// Compiling a battle's warriors, reading warrior files, listings and the load file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "test_support.h"

namespace velmora::test {
namespace {

struct Battle : AsmFixture {
  explicit Battle(const std::vector<Lines>& sources) {
    Core->NumWarriors = int(sources.size());
    Core->SeedMode = kSeedChecksum;
    Core->PSpaceSize = 16;
    while (Core->Warriors.size() <= sources.size())
      Core->AddWarrior();
    for (size_t i = 1; i <= sources.size(); ++i) {
      At(i).Name = "W" + std::to_string(i);
      At(i).Source = sources[i - 1];
    }
  }
  TWarrior& At(size_t i) { return *Core->Warriors[i]; }
};

TEST(AssemblerCompileWarriors, SeedTheGeneratorShareEqualPinsOrStopTheBattle) {
  Battle b({{"mov 0, 1", "PIN 7"}, {"jmp 0", "PIN 7"}, {"dat 0"}});
  ASSERT_TRUE(CompileWarriors(*b.Core));
  EXPECT_EQ(b.Core->RoundState, kRoundRunning);
  EXPECT_EQ(b.Core->PermutationOffset, 0);
  // Equal PINs share one P-space block; a warrior without one gets its own.
  ASSERT_TRUE(b.At(1).PSpace && b.At(2).PSpace && b.At(3).PSpace);
  EXPECT_EQ(b.At(1).PSpace, b.At(2).PSpace);
  EXPECT_NE(b.At(1).PSpace, b.At(3).PSpace);
  EXPECT_EQ(b.At(3).PSpace->size(), 16u);
  EXPECT_EQ(b.At(3).Pin, -3);
  EXPECT_EQ(b.At(1).LastResult, -1);
  uint32_t sum = 1; // the checksum chains through the warriors into the seed
  for (int i = 1; i <= 3; ++i)
    AssembleWarrior(*b.Core, i, b.Errors, sum, true);
  EXPECT_EQ(b.Core->Rng.State, sum);
  b.Core->SeedMode = 4242; // a fixed seed is used as given
  ASSERT_TRUE(CompileWarriors(*b.Core));
  EXPECT_EQ(b.Core->Rng.State, 4242u);
  // A failing warrior stops the battle, before the later ones compile and the seed is drawn.
  const std::pair<std::vector<Lines>, const char*> cases[] = {
      {{{"dat 0"}, {}}, "Warrior W2 has no code."},
      {{{"mov 0, nowhere"}, {"dat 0"}}, "Warrior W1 failed to compile."}};
  for (const auto& [sources, message] : cases) {
    Battle stopped(sources);
    stopped.Core->Rng.Seed(77);
    EXPECT_FALSE(CompileWarriors(*stopped.Core));
    EXPECT_EQ(stopped.Platform.Messages, Lines{message});
    EXPECT_EQ(stopped.Core->RoundState, kRoundIdle);
    EXPECT_EQ(stopped.At(2).WarriorStatus, 0);
    EXPECT_EQ(stopped.Core->Rng.State, 77u);
  }
  Battle arithmetic({{"dat 1%0"}});
  EXPECT_THROW(CompileWarriors(*arithmetic.Core), EArithmeticError);
  EXPECT_EQ(arithmetic.Core->RoundState, kRoundIdle);
}

TEST(AssemblerWarriorFiles, ReadLinesNameAndAuthor) {
  using namespace std::string_literals;
  const auto dir =
      std::filesystem::temp_directory_path() / ("velmora_asm_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  // The lines read, joined by "|", then the name and the author ("old" without an ;author line).
  const struct {
    const char* File;
    std::string Bytes, Read;
  } cases[] = {
      {"imp.red", ";redcode\r\n;name  Imp One\r\n;author \t Team Blue\r\nmov 0, 1\r\nlast",
       ";redcode|;name  Imp One|;author \t Team Blue|mov 0, 1|last| Imp One, Team Blue"},
      {"mix.red", "a\nb\r\nc\n\nd\n", "a|b|c||d| mix, old"},
      // Later name lines win; indented keywords work.
      {"x.red", ";name First\n  ;name Second\n", ";name First|  ;name Second| Second, old"},
      {"odd.red", "dat 1\n\0\n;caf\xe9\nmov 0, 1\n\x1a\n"s,
       "dat 1|\0|;caf\xe9|mov 0, 1|\x1a| odd, old"s},
      {"absent.red", "", " absent, old"}};
  THeadlessPlatform platform;
  for (const auto& c : cases) {
    const std::string path = (dir / c.File).string();
    if (!c.Bytes.empty()) std::ofstream(path, std::ios::binary) << c.Bytes;
    Lines lines{"stale"};
    std::string author = "old", name, read;
    ReadWarriorFile(platform, path, lines, author, name);
    for (const std::string& line : lines)
      read += line + "|";
    EXPECT_EQ(read + " " + name + ", " + author, c.Read) << c.File;
  }
  Lines lines;
  std::string author, name;
  ReadWarriorFile(platform, dir.string(), lines, author, name);
  EXPECT_EQ(platform.Messages, (Lines{"Unable to open file " + (dir / "absent.red").string(),
                                      "Unable to open file " + dir.string()}));
  std::filesystem::remove_all(dir);
  // Hostile bytes survive reading and assembling.
  AsmFixture f;
  EXPECT_EQ(f.Result({"dat 1", "\0"s, ";caf\xe9", "mov 0, 1", "\x1a"}),
            "DAT.F #0, $1 | MOV.I $0, $1");
  // "imp.b.c": the fourth character from the end is ".".
  for (const char* file :
       {"imp.red", "imp.rc", "imp", "/u/w/imp.red", "C:\\w\\imp.RED", "a.b/imp", "imp.b.c"})
    EXPECT_EQ(NameFromFileName(file), "imp") << file;
}

TEST(AssemblerListings, ObjectCodeRestoredSourceAndLoadFile) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"DAT.F #0, $-1"}), 2);
  EXPECT_EQ(ObjectCodeListing(f.W(), 1), Lines{"0000 01008001 00000000 ffffffff"});
  EXPECT_EQ(RestoredSourceListing(f.W(), 2), Lines{"0000*DAT.F  #0        $-1      "});
  EXPECT_EQ(RestoredSourceListing(f.W(), 0), Lines{"0000*DAT    #0        $-1      "});
  // Modifier padding, the start marker and the breakpoint byte.
  ASSERT_EQ(f.Assemble({"mov.ab #12345678, }-2", ";break", "sne.i 1, 2", "ORG 1"}), 2);
  EXPECT_EQ(RestoredSourceListing(f.W(), 2),
            (Lines{"0000 MOV.AB #12345678 }-2      ", "0001*SNE.I  $1        $2       "}));
  EXPECT_EQ(ObjectCodeListing(f.W(), 0),
            (Lines{"0000 00004107 00bc614e fffffffe", "0001 0002d411 00000001 00000002"}));
  ASSERT_EQ(f.Assemble({"start mov 0, 1", "dat #-1, <5", "PIN 0", "END start"}), 2);
  EXPECT_EQ(LoadFileLines(f.W(), "Imp", 2),
            (Lines{";redcode", ";name Imp", ";length 2", "      ORG 0", "      PIN 0",
                   "      MOV.I  $0        , $1       ", "      DAT.F  #-1       , <5       "}));
  ASSERT_EQ(f.Assemble({"dat 0"}), 2);
  EXPECT_EQ(LoadFileLines(f.W(), "x", 2).size(), 5u) << "a negative PIN writes no PIN line";
  // KVRT 88 puts the start on an END line.
  f.Core->Standard = 0;
  ASSERT_EQ(f.Assemble({"dat #0", "go jmp go", "END go"}), 2);
  EXPECT_EQ(LoadFileLines(f.W(), "J", 0),
            (Lines{";redcode", ";name J", ";length 2", "      DAT    #0        , #0       ",
                   "      JMP    $0        , $0       ", "      END 1"}));
}

} // namespace
} // namespace velmora::test
