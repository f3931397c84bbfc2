// The windows' plain logic, without windows: the core display's geometry and glyphs; the
// debugger's listing lines and texts, breakpoint types and operand popup; the Setup dialog's
// cross-field checks, settings questions and files, and warrior list files.

#include <QtTest>

#include <fstream>

#include "engine/mardex_form.h"
#include "params/settings_file.h"
#include "tests/ui/support/session.h"
#include "ui/core_listing.h"
#include "ui/debugger_actions.h"
#include "ui/display_geometry.h"
#include "ui/edit_code_session.h"
#include "ui/ex_pts_text.h"
#include "ui/pspace_text.h"
#include "ui/setup_checks.h"
#include "ui/setup_confirm.h"
#include "ui/setup_engine.h"
#include "ui/setup_files.h"
#include "ui/setup_lists.h"

// Designated initializers leave the other members at their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace velmora;
using test::Join;

namespace {

constexpr auto I = Modifier::I, F = Modifier::F;
constexpr auto Imm = AddressMode::Immediate, Dir = AddressMode::Direct;

// An engine whose whole core of 8000 cells is in use, with two empty warriors.
struct Engine {
  TNullMardexForm form;
  test::TScriptedPlatform platform;
  std::unique_ptr<TCore> core;
  Engine() {
    TParamsRec params = DefaultParams();
    params.CoreSizeMax = params.ReadLimit = params.WriteLimit = 8000;
    params.MaxProcesses = 64;
    params.NumWarriors = 2;
    core = TCore::Create(params, form, platform);
    core->CoreSize = 8000;
    core->AddWarrior();
    core->AddWarrior();
  }
  CoreCell& At(int32_t a) { return core->Core[static_cast<size_t>(a)]; }
};

std::vector<TWarriorData> Named(std::initializer_list<const char*> names) {
  std::vector<TWarriorData> list;
  for (const char* n : names)
    list.push_back({.Name = n, .FileName = std::string(n) + ".red"});
  return list;
}

} // namespace

class LogicTest : public QObject {
  Q_OBJECT
private slots:
  void displayGeometry();
  void everyAddressRoundTripsAndTilesTheImages();
  void glyphMasksAndColours();
  void listingLinesAndTexts();
  void breakpointsAndPopup();
  void setupFieldChecks();
  void setupListsConfirmingAndFiles();
};

void LogicTest::displayGeometry() {
  // Core size, topology: cell size, line length, capacity, addresses per pixel (shift).
  // clang-format off
  const struct { int32_t Size; bool Circular; const char* Seen; } sizes[] = {
      {2048, true, "8|16|4096|0"}, {4096, true, "8|16|4096|0"}, {4097, true, "4|32|16384|0"},
      {16384, true, "4|32|16384|0"}, {16385, true, "2|64|65536|0"}, {65536, true, "2|64|65536|0"},
      {65537, true, "1|128|262144|0"}, {1000000, true, "1|128|262144|0"}, {1, false, "8|64|2048|0"},
      {2048, false, "8|64|2048|0"}, {2049, false, "4|128|8192|0"}, {8192, false, "4|128|8192|0"},
      {8193, false, "2|256|32768|0"}, {32768, false, "2|256|32768|0"},
      {32769, false, "1|512|131072|0"}, {131072, false, "1|512|131072|0"},
      {131073, false, "1|1024|262144|1"}, {262144, false, "1|1024|262144|1"},
      {262145, false, "1|2048|524288|2"}, {1000000, false, "1|4096|1048576|3"},
      {134217727, false, "1|524288|134217728|10"}};
  // clang-format on
  for (const auto& s : sizes) {
    const TDisplayGeometry g(s.Size, s.Circular);
    QCOMPARE(Join(g.CellSize(), g.LineLength(), g.Capacity(), g.Shift()), QString(s.Seen));
  }
  QVERIFY(!TDisplayGeometry(1000000, true).CellOf(262144) &&
          !TDisplayGeometry(8000, true).CellOf(-1));
}

// Every pixel of an address's square leads back to it (to the first address of its pixel
// when a pixel stands for several), and the capacity covers every pixel of the shown images
// as often as a pixel has addresses.
void LogicTest::everyAddressRoundTripsAndTilesTheImages() {
  for (const int size : {55, 2048, 4096, 8000, 16384, 55440, 65536, 100000, 262144, 1000000})
    for (const bool circular : {true, false}) {
      const TDisplayGeometry g(size, circular);
      const int32_t c = g.CellSize();
      const int64_t perPixel = int64_t{1} << g.Shift();
      std::vector<std::vector<int>> hits(5);
      for (const int32_t image : {1, 2, 3, 4}) {
        const TDisplaySize s = DisplayImageSize(image, circular);
        hits[size_t(image)].assign(size_t(s.Width) * size_t(s.Height), 0);
      }
      for (int64_t a = 0; a < g.Capacity(); ++a) {
        const auto cell = g.CellOf(a);
        QVERIFY(cell);
        const TDisplaySize s = DisplayImageSize(cell->Image, circular);
        QVERIFY(cell->X >= 0 && cell->Y >= 0 && cell->X + c <= s.Width && cell->Y + c <= s.Height);
        for (int32_t dy = 0; dy < c; ++dy)
          for (int32_t dx = 0; dx < c; ++dx) {
            ++hits[size_t(cell->Image)]
                  [size_t(cell->Y + dy) * size_t(s.Width) + size_t(cell->X + dx)];
            if (a < size &&
                g.AddressAt(cell->Image, cell->X + dx, cell->Y + dy) != a - a % perPixel)
              QFAIL(qPrintable(QString("%1: address %2 does not come back").arg(size).arg(a)));
          }
      }
      for (const auto& image : hits)
        for (const int n : image)
          QCOMPARE(n, int(perPixel));
    }
}

void LogicTest::glyphMasksAndColours() {
  // clang-format off
  const struct { int32_t Cell; const char* Rows[5]; } masks[] = {
      {8, {"#######./#######./#######./#######./#######./#######./#######./........", "##...##./.##.##../..###.../..###.../.##.##../##...##./#.....#./........", "...##.../...##.../.######./.######./...##.../...##.../......../........", "......../......../.######./.######./......../......../......../........", "......../......../...##.../...##.../......../......../......../........"}},
      {4, {"###./###./###./....", "#.#./.#../#.#./....", ".#../###./.#../....", "..../###./..../....", "..../.#../..../...."}},
      {2, {"##/##", ".#/#.", ".#/.#", "../##", "../.#"}}, {1, {"#", "#", "#", "#", "#"}}};
  // clang-format on
  for (const auto& m : masks)
    for (int kind = 1; kind <= 5; ++kind) {
      QStringList seen;
      for (int y = 0; y < m.Cell; ++y) {
        seen << "";
        for (int x = 0; x < m.Cell; ++x)
          seen.back() += GlyphMaskPixel(m.Cell, kind, x, y) ? '#' : '.';
      }
      QCOMPARE(seen.join('/'), QString(m.Rows[kind - 1]));
      QVERIFY(!GlyphMaskPixel(m.Cell, kind, m.Cell, 0) && !GlyphMaskPixel(m.Cell, kind, 0, -1));
      QVERIFY(!GlyphMaskPixel(m.Cell, 0, 0, 0) && !GlyphMaskPixel(m.Cell, 6, 0, 0));
    }
  // Warrior colours 9 and up wrap round to 1..8; red, black and grey are fixed; -3 is none.
  QStringList drawn;
  for (const int colour : {1, 8, 9, 10, 16, 17, -1, 0, -2, -3})
    drawn << QString::number(DisplayColour(colour).value_or(-99));
  QCOMPARE(drawn.join(','), QString("1,8,1,2,8,1,-1,0,-2,-99"));
}

void LogicTest::listingLinesAndTexts() {
  Engine e;
  e.At(0) = MakeCell(Opcode::MOV, I, Dir, 0, Dir, 1);
  e.At(1) = MakeCell(Opcode::DAT, F, Imm, 0, Dir, 7999);
  e.At(2) = MakeCell(Opcode::ADD, Modifier::AB, Imm, 7200, AddressMode::BIndirect, 7201);
  e.At(7999) = MakeCell(Opcode::DAT, F, Dir, 0, Dir, 0);
  // clang-format off
  // 7200 stays, 7201 is negative; 1988 has no modifiers.
  const struct { uint8_t Standard; int32_t Address; const char* Line; } lines[] = {
      {2, 1, "      1 DAT.F  #      0,  $     -1"}, {2, 2, "      2 ADD.AB #   7200,  @   -799"},
      {0, 2, "      2 ADD    #   7200,  @   -799"}, {1, 7999, "   7999 DAT.F  $      0,  $      0"}};
  // clang-format on
  for (const auto& l : lines) {
    e.core->Standard = l.Standard;
    QCOMPARE(QString::fromStdString(FormatLine(*e.core, l.Address)), QString(l.Line));
  }
  QCOMPARE(FieldText(7999, 8000), std::string("     -1"));

  // Lines take the colour and kind of the last toucher, the breakpoint's glyph and marks.
  e.At(10).Marker = 0x23; // written by warrior 3
  e.At(11).BreakpointType = 1;
  e.At(12).BreakpointType = 2;
  e.At(13).BreakpointType = 7;
  e.At(14).Marker = 0x17;
  e.core->HitList = {12};
  e.core->QueueStart(*e.core->Warriors[2], 2, 11);
  const std::vector<uint32_t> colours = {0, 0x111111, 0x222222, 0x333333};
  // Next, hit, colour, pixel colour, pixel kind, glyph, RGB; beyond the matchup's colours
  // the fixed palette.
  const char* expected[] = {"n|n|3|3|2|0|3355443", "y|n|0|-1|1|1|16711680", "n|y|0|0|0|2|8421504",
                            "n|n|0|0|0|3|8421504", "n|n|7|7|1|0|33023"};
  for (int32_t a = 10; a <= 14; ++a) {
    const TListingLine l = ListingLine(*e.core, a);
    QCOMPARE(
        Join(l.Next, l.Hit, l.Colour, l.PixelColour, l.PixelKind, l.Glyph, ListingRgb(l, colours)),
        QString(expected[a - 10]));
  }
  QStringList typed;
  for (const char* text : {"-1", "8005", "123", "-2147483648", "12a", ""})
    typed << QString::number(LocationFromText(text, 8000).value_or(-1));
  QCOMPARE(typed.join(','), QString("7999,5,123,4352,-1,-1"));

  // The processes and P-space windows' texts; the buttons of a list's selected line.
  QCOMPARE(
      Join(ProcessCountText(0), ProcessCountText(1), ProcessCountText(2), ProcessCountText(8000)),
      QString("0 processes|1 process|2 processes|8000 processes"));
  QStringList states; // selected of count: Delete, Edit, Roll to Top, Move Up, Move Down
  for (const auto& [selected, count] :
       {std::pair{-1, 0}, {0, 1}, {0, 3}, {1, 3}, {2, 3}, {-1, 3}, {-1, 1}}) {
    const TExPtsButtons b = ExPtsButtonStates(selected, count);
    states << Join(b.Delete, b.Edit, b.RollToTop, b.MoveUp, b.MoveDown).remove('|');
  }
  QCOMPARE(states.join(','), QString("nnnnn,yynnn,yynny,yyyyy,yyyyn,nnnny,nnnnn"));
  QStringList split;
  for (const char* text : {"", "a", "a\n", "a\n\nb", "a\r\nb\r\n", "\n"})
    split << QString::number(SplitText(text).size()) + ":" + Join(SplitText(text));
  QCOMPARE(split.join(' '), QString("0: 1:a 1:a 3:a,,b 2:a,b 1:"));
}

void LogicTest::breakpointsAndPopup() {
  // A type beyond the last is refused, said so; a fill never runs beyond one core.
  Engine e;
  e.core->BreakpointTypeCount = kBreakpointTypeMax;
  QCOMPARE(ChooseBreakpointType(*e.core, {.Read = true}), std::optional<int32_t>());
  QCOMPARE(e.platform.Messages.back(), std::string("Maximum number of breakpoint types exceeded"));
  QCOMPARE(ChooseBreakpointType(*e.core, {.Execute = true}), std::optional<int32_t>(1));
  FillBreakpoints(*e.core, 10, 1, 2147483647);
  QCOMPARE(Join(e.core->BreakpointAddresses.size(), e.core->BreakpointAddresses.front()),
           QString("8000|10"));
  // Test expressions are checked without disturbing the assembler's state.
  e.core->Asm.Labels = {{"start", 4}};
  e.core->Asm.CurLine = 9;
  QString valid;
  for (const char* expression : {"B==0", "a+b>3", "C==0", "B=="}) {
    const auto error = OperandTestError(*e.core, expression);
    valid += error ? (error->empty() ? '?' : 'n') : 'y';
  }
  QCOMPARE(Join(valid, e.core->Asm.Labels.size(), e.core->Asm.CurLine), QString("yynn|1|9"));
  // The operand popup: the cell at 100 has field 5 in the operand; 105 holds A 30, B 20;
  // limits of 40 fold 5 + 20 to -15.
  const int mov = int(Opcode::MOV), jmp = int(Opcode::JMP);
  // clang-format off
  const struct { int Opcode, Mode; bool BOperand; int Limit; const char* Popup; } popups[] = {
      {mov, 2, true, 8000, "$ 5 = 105|105|@ 5 = 125|125"},
      {mov, 1, true, 8000, "$ 5 = 105|105||-1"},
      {mov, 5, false, 8000, "$ 5 = 105|105|* 5 = 135|135"},
      {mov, 3, true, 8000, "$ 5 = 105|105|< 5 = 124|124"},
      {jmp, 6, true, 8000, "$ 5 = 105|105|{ 5 = 134|134"},
      {jmp, 4, true, 8000, "$ 5 = 105|105|> 5 = 125|125"},
      {jmp, 2, true, 40, "$ 5 = 105|105|@ 5 = 85|85"}};
  // clang-format on
  for (const auto& p : popups) {
    Engine pe;
    pe.core->ReadLimit = pe.core->WriteLimit = p.Limit;
    const auto m = static_cast<AddressMode>(p.Mode);
    pe.At(100) = p.BOperand ? MakeCell(Opcode(p.Opcode), I, Dir, 0, m, 5)
                            : MakeCell(Opcode(p.Opcode), I, m, 5, Dir, 0);
    pe.At(105) = MakeCell(Opcode::DAT, F, Imm, 30, Imm, 20);
    const auto popup = OperandPopup(*pe.core, 100, p.BOperand);
    QVERIFY(popup);
    QCOMPARE(Join(popup->N1.Caption, popup->N1.Target, popup->N2.Caption, popup->N2.Target),
             QString(p.Popup));
  }
}

// What the single fields' checks cannot see (they are the Setup dialog test's): the core
// size against its minimum, the order of every field's check, fields that do not count.
void LogicTest::setupFieldChecks() {
  // A failing core size puts both back: the minimum exceeds the stored 8000, so the core size
  // takes the minimum's text; below the stored minimum the minimum takes the core size's.
  using S = SetupField;
  // clang-format off
  const struct { SetupField Field; const char *Size, *Min, *Seen; } cores[] = {
      {S::CoreSize, "8500", "9000", "Maximum core size must not be less than the minimum core size|9000|8000"},
      {S::MinCoreSize, "8000", "nine", "Minimum core size must be a number|8000|8000"},
      {S::MinCoreSize, "4000", "5000", "Minimum core size must not exceed the maximum core size|8000|4000"}};
  // clang-format on
  for (const auto& s : cores) {
    TSetupFields f{.CoreSizeText = s.Size, .RandomCoreSize = true, .MinCoreSizeText = s.Min};
    const auto message = CheckSetupField(s.Field, f, 2, {});
    QCOMPARE(Join(message.value_or(""), f.CoreSizeText, f.MinCoreSizeText), QString(s.Seen));
  }
  // Checking every field stops at the first failure, in the dialog's order.
  TSetupFields all{.MaxCyclesText = "x", .RoundsText = "none", .SeedMode = 0, .FixedSeedText = "y"};
  QStringList failures;
  while (const auto failure = CheckEverySetupField(all, 2, {}))
    failures << Join(failure->Field, failure->Message);
  QCOMPARE(failures.join(','), QString("2|Max Cycles must be a number,5|Number of rounds must be a "
                                       "number,11|RNG Seed must be a number"));
  // Fields that do not count pass: fixed core size, limit from the list, random choices.
  TSetupFields unused{.MinCoreSizeText = "x", .FixedPositionText = "x", .FixedSeedText = "x"};
  unused.ReadLimit = {1, "x"};
  QVERIFY(!CheckEverySetupField(unused, 2, {}) && unused.MinCoreSizeText == "x");
  QCOMPARE(PermutateRoundsText(TSetupFields{}).value_or(""), std::string("15602"));
  unused.MinDistanceText = "far";
  QVERIFY(!PermutateRoundsText(unused));
}

void LogicTest::setupListsConfirmingAndFiles() {
  // A single warrior makes a melee, unless against a benchmark; no warrior at all does not.
  TSetupFields confirmed, f;
  TParamsRec params;
  TTournament t;
  for (const auto& [type, warriors, seen] :
       {std::tuple{Benchmark, 1, "n|3"}, {RoundRobin, 1, "y|0"}, {Melee, 0, "n|0"}}) {
    f.TournamentType = type;
    const auto list = warriors ? Named({"A"}) : std::vector<TWarriorData>{};
    const auto outcome = StoreSetup(f, list, Named({"X"}), params, t, confirmed);
    QCOMPARE(Join(outcome.MadeMelee, int(t.Rec.TournamentType)), QString(seen));
  }
  // The fields shown for the records keep a limit chosen from its list.
  TSetupFields chosen;
  chosen.ReadLimit = {2, ""};
  chosen.WriteLimit = {-1, "400"};
  TParamsRec p{.CoreSizeMax = 8192,
               .MaxCycles = 5000,
               .ReadLimit = 512,
               .WriteLimit = 300,
               .SecondPosition = 4000,
               .SeedMode = kSeedChecksum,
               .InitialInstruction = "MOV 0, 1"};
  const TSetupFields shown = FieldsFromRecords(
      chosen, p, {.TournamentType = Challenge, .Rounds = 42, .ScoreFormula = "W"});
  QCOMPARE(Join(shown.ReadLimit.Item, shown.WriteLimit.Item, shown.WriteLimit.Text,
                shown.CoreSizeText, shown.MinCoreSizeText, shown.MaxCyclesText,
                shown.SecondPosition, shown.FixedPositionText, shown.SeedMode == kSeedChecksum,
                shown.RoundsText, shown.TournamentType, shown.ScoreFormula,
                shown.InitialInstruction),
           QString("2|-1|300|8192|8192|5000|0|4000|y|42|2|W|MOV 0, 1"));
  // Settings saved into a file chosen: .cfg added unless there is an extension; none chosen.
  // clang-format off
  const struct { bool Save; Answer Reply; const char *Chosen, *Seen; } questions[] = {
      {true, Answer::No, "/a/mine", "/a/mine.cfg|Save Settings"},
      {true, Answer::No, "/a/mine.txt", "/a/mine.txt|Save Settings"},
      {true, Answer::No, "", "|Save Settings"}, {false, Answer::Yes, "", "/start/default.cfg|"}};
  // clang-format on
  for (const auto& q : questions) {
    test::TScriptedPlatform platform;
    platform.Answers.push_back(q.Reply);
    if (*q.Chosen) platform.FileNames.push_back(q.Chosen);
    const auto path = q.Save ? ChooseSettingsFileToSave(platform, "/start")
                             : ChooseSettingsFileToLoad(platform, "/start", true);
    QCOMPARE(Join(path.value_or(""), platform.DialogTitles), QString(q.Seen));
    QCOMPARE(platform.Messages,
             std::vector<std::string>{q.Save
                                          ? "Do you wish to save settings into the default file?"
                                          : "Do you wish to load settings from the default file?"});
    QCOMPARE(ChooseSettingsFileToLoad(platform, "/start", false),
             std::optional<std::string>("/start/default.cfg"));
  }
  // Saved settings take what the records hold in force over the dialog's pending copies.
  TParamsRec inForce{.DisplayLevel = 3, .EarlyDrawCheck = false, .CircularDisplay = true};
  const auto lines = SettingsLines(SettingsToSave(
      {.CoreSizeText = "55440", .DisplayLevel = 1, .CircularDisplay = false, .ScoreFormula = "x"},
      inForce, {.PauseBetweenRounds = true, .ScoreFormula = "W*W"}, false));
  QCOMPARE(Join(lines[0], lines[3], lines[4], lines[5], lines[16], lines[18], lines[19]),
           QString("55440 = Core Size|3 = Graphical Display option|0 = Imp Draw detection checked|"
                   "1 = Pause after battles checked|1 = Circular display topology|W*W|"
                   "0 = Show percent WLT"));
  // A missing file gives the defaults silently; refused lines are reported together.
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  test::TScriptedPlatform platform;
  TSetupFields loaded{.CoreSizeText = "800", .CircularDisplay = true};
  LoadSettingsInto(platform, folder + "/default.cfg", loaded);
  QCOMPARE(
      Join(loaded.CoreSizeText, loaded.CircularDisplay, loaded.ScoreFormula, platform.Messages),
      Join("8000", false, kDefaultScoreFormula, ""));
  QVERIFY(SaveSettingsTo(platform, folder + "/bad.cfg",
                         {.CoreSizeText = "800",
                          .MaxCyclesText = "lots",
                          .MaxProcessesText = "64",
                          .RoundsText = "0"}));
  LoadSettingsInto(platform, folder + "/bad.cfg", loaded);
  QCOMPARE(Join(loaded.CoreSizeText, loaded.MaxProcessesText, loaded.MaxCyclesText,
                loaded.RoundsText, platform.Messages.size()),
           QString("800|64|80000|1|1"));
  const QString refused = QString::fromStdString(platform.Messages[0]);
  QVERIFY2(refused.contains("line 7: Max Cycles must be a number") &&
               refused.contains("line 15: Number of rounds must be at least 1"),
           qPrintable(refused));
  QVERIFY(!SaveSettingsTo(platform, folder + "/missing/x.cfg", {}));
  QCOMPARE(platform.Messages.size(), size_t(2));
  // A warrior list offers to save the sources of new warriors first.
  auto warriors = Named({"Imp", "Fresh", "Declined", "Dwarf"});
  warriors[1].FileName.clear();
  warriors[1].Source = {";name Fresh", "MOV 0, 1"};
  warriors[2].FileName.clear();
  test::TScriptedPlatform lists;
  lists.FileNames = {folder + "/all.lst", folder + "/fresh", std::nullopt};
  SaveWarriorListFlow(lists, warriors);
  QCOMPARE(Join(lists.DialogTitles), QString("Save Warrior List,Save source for warrior Fresh?,"
                                             "Save source for warrior Declined?"));
  QCOMPARE(test::FileBytes(folder + "/all.lst"),
           ";warriorlist\r\nImp.red\r\n" + folder + "/fresh.red\r\nDwarf.red\r\n");
  QCOMPARE(test::FileBytes(folder + "/fresh.red"), std::string(";name Fresh\r\nMOV 0, 1\r\n"));
  QVERIFY(warriors[1].FileName.empty() && lists.Messages.empty());
  SaveWarriorListFlow(lists, warriors); // the list's dialog cancelled: nothing more asked
  QCOMPARE(lists.DialogTitles.size(), size_t(4));
}

QTEST_MAIN(LogicTest)
#include "logic_test.moc"
