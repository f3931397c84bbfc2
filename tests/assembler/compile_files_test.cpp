// Compiling a battle's warriors, reading warrior files, listings and the load file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "test_support.h"

namespace velmora::test {
namespace {

struct Battle : AsmFixture {
  explicit Battle(int warriors) {
    Core->NumWarriors = warriors;
    while (static_cast<int>(Core->Warriors.size()) <= warriors)
      Core->AddWarrior();
    for (int i = 1; i <= warriors; ++i)
      Core->Warriors[size_t(i)]->Name = "W" + std::to_string(i);
    Core->SeedMode = kSeedChecksum;
  }
  TWarrior& At(int i) { return *Core->Warriors[size_t(i)]; }
};

TEST(AssemblerCompileWarriors, ChainsTheChecksumIntoTheSeed) {
  Battle b(2);
  b.At(1).Source = {"mov 0, 1"};
  b.At(2).Source = {"jmp 0", "PIN 7"};
  ASSERT_TRUE(CompileWarriors(*b.Core));
  std::vector<std::string> errors;
  uint32_t sum = 1;
  AssembleWarrior(*b.Core, 1, errors, sum, true);
  AssembleWarrior(*b.Core, 2, errors, sum, true);
  EXPECT_EQ(b.Core->Rng.State, sum);
  EXPECT_EQ(b.Core->RoundState, kRoundRunning);
  EXPECT_EQ(b.Core->PermutationOffset, 0);
  EXPECT_TRUE(b.Platform.Messages.empty());
  b.Core->SeedMode = 4242; // a fixed seed is used as given
  ASSERT_TRUE(CompileWarriors(*b.Core));
  EXPECT_EQ(b.Core->Rng.State, 4242u);
}

TEST(AssemblerCompileWarriors, EmptySourceStopsTheBattle) {
  Battle b(2);
  b.At(1).Source = {"dat 0"};
  EXPECT_FALSE(CompileWarriors(*b.Core));
  ASSERT_EQ(b.Platform.Messages.size(), 1u);
  EXPECT_EQ(b.Platform.Messages[0], "Warrior W2 has no code.");
  EXPECT_EQ(b.Core->RoundState, kRoundIdle);
}

TEST(AssemblerCompileWarriors, FailedWarriorStopsTheBattle) {
  Battle b(2);
  b.At(1).Source = {"mov 0, nowhere"};
  b.At(2).Source = {"dat 0"};
  b.Core->Rng.Seed(77);
  EXPECT_FALSE(CompileWarriors(*b.Core));
  ASSERT_EQ(b.Platform.Messages.size(), 1u);
  EXPECT_EQ(b.Platform.Messages[0], "Warrior W1 failed to compile.");
  EXPECT_EQ(b.At(2).WarriorStatus, 0) << "warriors after the failure are not compiled";
  EXPECT_EQ(b.Core->Rng.State, 77u) << "the generator is not seeded";
}

TEST(AssemblerCompileWarriors, ArithmeticErrorEndsTheCompileAndLeavesTheBattleIdle) {
  Battle b(1);
  b.At(1).Source = {"dat 1%0"};
  EXPECT_THROW(CompileWarriors(*b.Core), EArithmeticError);
  EXPECT_EQ(b.Core->RoundState, kRoundIdle);
}

TEST(AssemblerCompileWarriors, EqualPinsShareOnePSpaceBlock) {
  Battle b(3);
  b.Core->PSpaceSize = 16;
  b.At(1).Source = {"dat 0", "PIN 7"};
  b.At(2).Source = {"dat 0", "PIN 7"};
  b.At(3).Source = {"dat 0"};
  ASSERT_TRUE(CompileWarriors(*b.Core));
  ASSERT_TRUE(b.At(1).PSpace && b.At(2).PSpace && b.At(3).PSpace);
  EXPECT_EQ(b.At(1).PSpace, b.At(2).PSpace);
  EXPECT_NE(b.At(1).PSpace, b.At(3).PSpace);
  EXPECT_EQ(b.At(3).PSpace->size(), 16u);
  EXPECT_EQ(b.At(3).Pin, -3);
  EXPECT_EQ(b.At(1).LastResult, -1);
}

class AssemblerTempDir : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("velmora_asm_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = (Dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path Dir;
  THeadlessPlatform Platform;
};

TEST_F(AssemblerTempDir, ReadsLinesNameAndAuthor) {
  using Lines = std::vector<std::string>;
  const struct {
    const char* File;
    std::string Bytes;
    Lines Expected;
    const char *Name, *Author; // the author stays "old" without an ;author line
  } cases[] = {{"imp.red",
                ";redcode\r\n;name  Imp One\r\n;author \t Team Blue\r\nmov 0, 1\r\nlast",
                {";redcode", ";name  Imp One", ";author \t Team Blue", "mov 0, 1", "last"},
                "Imp One",
                "Team Blue"},
               {"mix.red", "a\nb\r\nc\n\nd\n", {"a", "b", "c", "", "d"}, "mix", "old"},
               // Later name lines win; indented keywords work.
               {"x.red",
                ";name First\n  ;name Second\n",
                {";name First", "  ;name Second"},
                "Second",
                "old"},
               {"odd.red",
                std::string("dat 1\n") + '\0' + "\n;caf\xe9\nmov 0, 1\n\x1a\n",
                {"dat 1", std::string("\0", 1), ";caf\xe9", "mov 0, 1", "\x1a"},
                "odd",
                "old"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    Lines lines;
    std::string author = "old", name;
    ReadWarriorFile(Platform, Write(c.File, c.Bytes), lines, author, name);
    EXPECT_EQ(lines, c.Expected);
    EXPECT_EQ(name, c.Name);
    EXPECT_EQ(author, c.Author);
    EXPECT_TRUE(Platform.Messages.empty());
  }
  // Hostile bytes survive reading and assembling.
  AsmFixture f;
  EXPECT_EQ(f.Assemble(cases[3].Expected), 2);
  EXPECT_EQ(f.W().CodeLength, 2);
}

TEST_F(AssemblerTempDir, MissingFileIsReported) {
  std::vector<std::string> lines{"stale"};
  std::string author, name;
  std::string path = (Dir / "absent.red").string();
  ReadWarriorFile(Platform, path, lines, author, name);
  ASSERT_EQ(Platform.Messages.size(), 1u);
  EXPECT_EQ(Platform.Messages[0], "Unable to open file " + path);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(name, "absent");
  ReadWarriorFile(Platform, Dir.string(), lines, author, name);
  EXPECT_EQ(Platform.Messages.size(), 2u);
}

TEST(AssemblerFileNames, NameFromFileName) {
  // "a.b.c": the fourth character from the end is ".".
  const std::pair<const char*, const char*> cases[] = {{"imp.red", "imp"},
                                                       {"imp.rc", "imp"},
                                                       {"imp", "imp"},
                                                       {"/home/u/warriors/dwarf.red", "dwarf"},
                                                       {"C:\\war\\dwarf.RED", "dwarf"},
                                                       {"dir.d/x", "x"},
                                                       {"a.b.c", "a"}};
  for (const auto& [file, name] : cases)
    EXPECT_EQ(NameFromFileName(file), name) << file;
}

TEST(AssemblerListings, ObjectCodeAndRestoredSource) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"DAT.F #0, $-1"}), 2);
  EXPECT_EQ(ObjectCodeListing(f.W(), 1),
            (std::vector<std::string>{"0000 01008001 00000000 ffffffff"}));
  EXPECT_EQ(RestoredSourceListing(f.W(), 2),
            (std::vector<std::string>{"0000*DAT.F  #0        $-1      "}));
  EXPECT_EQ(RestoredSourceListing(f.W(), 0),
            (std::vector<std::string>{"0000*DAT    #0        $-1      "}));
  // Modifier padding, the start marker and the breakpoint byte.
  ASSERT_EQ(f.Assemble({"mov.ab #12345678, }-2", ";break", "sne.i 1, 2", "ORG 1"}), 2);
  EXPECT_EQ(RestoredSourceListing(f.W(), 2),
            (std::vector<std::string>{"0000 MOV.AB #12345678 }-2      ",
                                      "0001*SNE.I  $1        $2       "}));
  EXPECT_EQ(ObjectCodeListing(f.W(), 0),
            (std::vector<std::string>{"0000 00004107 00bc614e fffffffe",
                                      "0001 0002d411 00000001 00000002"}));
}

TEST(AssemblerLoadFile, FormatAndPinLine) {
  AsmFixture f;
  ASSERT_EQ(f.Assemble({"start mov 0, 1", "dat #-1, <5", "PIN 3", "END start"}), 2);
  EXPECT_EQ(LoadFileLines(f.W(), "Imp", 2),
            (std::vector<std::string>{";redcode", ";name Imp", ";length 2", "      ORG 0",
                                      "      PIN 3", "      MOV.I  $0        , $1       ",
                                      "      DAT.F  #-1       , <5       "}));
  ASSERT_EQ(f.Assemble({"dat 0"}), 2);
  EXPECT_EQ(LoadFileLines(f.W(), "x", 2).size(), 5u) << "a negative PIN writes no PIN line";
  // KVRT 88 puts the start on an END line.
  f.Core->Standard = 0;
  ASSERT_EQ(f.Assemble({"dat #0", "go jmp go", "END go"}), 2);
  EXPECT_EQ(LoadFileLines(f.W(), "J", 0),
            (std::vector<std::string>{";redcode", ";name J", ";length 2",
                                      "      DAT    #0        , #0       ",
                                      "      JMP    $0        , $0       ", "      END 1"}));
}

TEST(AssemblerLoadFile, ReassemblesToTheSameCodeUnderEveryStandard) {
  const std::vector<std::string> sources[3] = {
      {"a mov #3, <a", "djn a, <-4", "dat #0, #-7", "END a+1"},
      {"a mov.x }3, {a", "spl *-1", "dat 5", "seq.ab #2, -3", "ORG 2"},
      {"a mov.x }3, {a", "spl *-1", "dat 5", "stp.ba #2, -3", "ORG 2", "PIN 11"}};
  for (uint8_t standard = 0; standard < 3; ++standard) {
    AsmFixture f(standard);
    f.Core->AddWarrior();
    // Slot 0 is the editor's, slot 1 a battle warrior's.
    for (int slot : {0, 1}) {
      SCOPED_TRACE("standard " + std::to_string(standard) + ", slot " + std::to_string(slot));
      TWarrior& w = *f.Core->Warriors[size_t(slot)];
      auto assemble = [&](const std::vector<std::string>& source) {
        w.Source = source;
        uint32_t sum = 1;
        return AssembleWarrior(*f.Core, slot, f.Errors, sum, true);
      };
      const std::vector<std::string>& src = sources[standard];
      ASSERT_EQ(assemble(src), 2) << (f.Errors.empty() ? "" : f.Errors[0]);
      const std::vector<CoreCell> code(w.Code.begin(), w.Code.begin() + w.CodeLength);
      const int32_t start = w.StartOffset, pin = w.Pin;
      const std::vector<std::string> load = LoadFileLines(w, "n", standard);
      // A PIN line only where the source asked for one.
      const bool pinLine = std::any_of(load.begin(), load.end(), [](const std::string& l) {
        return l.find("PIN") != std::string::npos;
      });
      EXPECT_EQ(pinLine, src.back() == "PIN 11");
      ASSERT_EQ(assemble(load), 2) << (f.Errors.empty() ? "" : f.Errors[0]);
      ASSERT_EQ(w.CodeLength, static_cast<int32_t>(code.size()));
      for (size_t i = 0; i < code.size(); ++i)
        EXPECT_TRUE(SameInstruction(code[i], w.Code[i])) << CellText(w.Code[i]);
      EXPECT_EQ(w.StartOffset, start);
      EXPECT_EQ(w.Pin, pin);
    }
  }
}

} // namespace
} // namespace velmora::test
