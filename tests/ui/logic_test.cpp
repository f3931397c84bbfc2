// The windows' plain logic, without windows: the core display's geometry, glyphs and
// colours; the debugger's listing lines, navigation, breakpoints and operand popup; the
// processes and P-space texts; the Setup dialog's field checks, lists, confirming and files.

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

QString Names(const std::vector<TWarriorData>& list) {
  QStringList names;
  for (const TWarriorData& w : list)
    names << QString::fromStdString(w.Name);
  return names.join(",");
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Stored values unlike the dialog's defaults, so that a reset to them shows.
TStoredSetup Stored() {
  TStoredSetup s;
  s.Params.MaxCycles = 12345;
  s.Params.MaxProcesses = 321;
  s.Params.MinDistance = 77;
  s.Params.MaxLength = 55;
  s.Rounds = 9;
  return s;
}

// The field's text, set up so that the field counts (typed limit, fixed position or seed).
std::string& FieldText(SetupField field, TSetupFields& f) {
  switch (field) {
  case SetupField::CoreSize: return f.CoreSizeText;
  case SetupField::MinCoreSize: return f.MinCoreSizeText;
  case SetupField::MaxCycles: return f.MaxCyclesText;
  case SetupField::MaxProcesses: return f.MaxProcessesText;
  case SetupField::MinDistance: return f.MinDistanceText;
  case SetupField::Rounds: return f.RoundsText;
  case SetupField::ReadLimit: f.ReadLimit.Item = -1; return f.ReadLimit.Text;
  case SetupField::WriteLimit: f.WriteLimit.Item = -1; return f.WriteLimit.Text;
  case SetupField::PSpace: f.PSpace.Item = -1; return f.PSpace.Text;
  case SetupField::MaxLength: return f.MaxLengthText;
  case SetupField::FixedPosition: f.SecondPosition = 0; return f.FixedPositionText;
  case SetupField::FixedSeed: f.SeedMode = 0; return f.FixedSeedText;
  }
  return f.CoreSizeText;
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
    QCOMPARE(g.Circular(), s.Circular);
  }
  // Round the ring each strip begins at the corner where the last one ended.
  // clang-format off
  const struct { int32_t Size; bool Circular; int64_t Address; TDisplayPoint Cell; } cells[] = {
      {8000, true, 0, {1, 0, 0}}, {8000, true, 1, {1, 4, 0}}, {8000, true, 32, {1, 0, 4}},
      {8000, true, 4096, {2, 0, 124}}, {8000, true, 4097, {2, 0, 120}},
      {4096, true, 1023, {1, 120, 504}}, {4096, true, 1024, {2, 0, 120}},
      {4096, true, 2047, {2, 504, 0}}, {4096, true, 2048, {3, 120, 504}},
      {4096, true, 3071, {3, 0, 0}}, {4096, true, 3072, {4, 504, 0}},
      {4096, true, 4095, {4, 0, 120}}, {1000000, true, 262143, {4, 0, 127}},
      {8000, false, 200, {4, 288, 4}}, {8000, false, 8191, {4, 508, 252}},
      {2048, false, 65, {4, 8, 8}}, {32768, false, 257, {4, 2, 2}}, {100000, false, 513, {4, 1, 1}},
      {262144, false, 1025, {4, 0, 1}}, {262144, false, 262143, {4, 511, 255}}};
  // clang-format on
  for (const auto& c : cells)
    QCOMPARE(TDisplayGeometry(c.Size, c.Circular).CellOf(c.Address), std::optional(c.Cell));
  QVERIFY(!TDisplayGeometry(1000000, true).CellOf(262144) &&
          !TDisplayGeometry(8000, true).CellOf(-1));
  QVERIFY(!TDisplayGeometry(8000, false).CellOf(8192) &&
          TDisplayGeometry(1000000, false).CellOf(999999));
  // Clicked pixels: image, x, y and the address.
  const TDisplayGeometry ring(8000, true), rect(8000, false), wide(262144, false),
      small(4096, true);
  // clang-format off
  const struct { const TDisplayGeometry& G; int32_t Image, X, Y; int64_t Address; } pixels[] = {
      {small, 4, 511, 0, 3072}, {small, 4, 0, 127, 4095}, {wide, 4, 1, 0, 2}, {wide, 4, 0, 1, 1024},
      {ring, 1, 128, 0, -1}, {ring, 2, 0, 128, -1}, {ring, 4, -1, 0, -1}, {ring, 0, 0, 0, -1},
      {ring, 5, 0, 0, -1}, {rect, 1, 0, 0, -1}, {rect, 3, 0, 0, -1}, {rect, 4, 0, 256, -1},
      {rect, 4, 511, 255, 8191}};
  // clang-format on
  for (const auto& p : pixels)
    QCOMPARE(p.G.AddressAt(p.Image, p.X, p.Y), p.Address);
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
      {2, 0, "      0 MOV.I  $      0,  $      1"}, {2, 1, "      1 DAT.F  #      0,  $     -1"},
      {2, 2, "      2 ADD.AB #   7200,  @   -799"}, {0, 0, "      0 MOV    $      0,  $      1"},
      {0, 2, "      2 ADD    #   7200,  @   -799"}, {1, 7999, "   7999 DAT.F  $      0,  $      0"}};
  // clang-format on
  for (const auto& l : lines) {
    e.core->Standard = l.Standard;
    QCOMPARE(QString::fromStdString(FormatLine(*e.core, l.Address)), QString(l.Line));
  }
  const CoreCell cell = MakeCell(Opcode::MOV, I, Dir, 0, Dir, 7999);
  QCOMPARE(Join(ShortInstructionText(cell, 8000, 2), ShortInstructionText(cell, 8000, 0),
                FieldText(7999, 8000)),
           QString("MOV.I  $0,  $-1|MOV    $0,  $-1|     -1"));
  // The pointer's zones follow the line's text.
  e.At(0) = MakeCell(Opcode::MOV, I, Dir, 0, AddressMode::BIndirect, 5);
  e.core->Standard = 2;
  const std::string line = FormatLine(*e.core, 0);
  QString zones;
  for (size_t c = 0; c < line.size(); ++c)
    zones += QString::number(int(PartAtColumn(int32_t(c))));
  QCOMPARE(zones, QString("0000000011111112222222222233333333"));
  // The breakpoint list's line: fired mark, address, type, instruction.
  e.At(7999).BreakpointType = 3;
  e.At(1).BreakpointType = 1;
  e.core->HitList = {1};
  QCOMPARE(
      Join(BreakpointListLine(*e.core, 7999), BreakpointListLine(*e.core, 1)),
      QString("    7999   3 DAT.F  $      0,  $      0|*      1   1 DAT.F  #      0,  $     -1"));

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
  QCOMPARE(Join(ListedAddresses(7998, 4, 8000), ListedAddresses(0, 3, 2), ListedAddresses(0, 3, 0)),
           QString("7998,7999,0,1|0,1,0|"));
  QCOMPARE(Join(ScrollTop(0, -1, 8000), ScrollTop(7999, 1, 8000), ScrollTop(7990, 25, 8000),
                ScrollTop(10, -25, 8000), ScrollTop(3, -25, 10)),
           QString("7999|0|15|7985|8"));
  QStringList typed;
  for (const char* text : {"-1", "8005", "123", "-2147483648", "12a", ""})
    typed << QString::number(LocationFromText(text, 8000).value_or(-1));
  QCOMPARE(typed.join(','), QString("7999,5,123,4352,-1,-1"));

  // The processes and P-space windows' texts; the buttons of a list's selected line.
  QCOMPARE(
      Join(ProcessCountText(0), ProcessCountText(1), ProcessCountText(2), ProcessCountText(8000)),
      QString("0 processes|1 process|2 processes|8000 processes"));
  QStringList addresses;
  for (const char* l : {"      5 MOV.I  $      0,  $      1", "1234567 DAT.F  $      0,  $      0",
                        "", "   ", "  MOV.I"})
    addresses << QString::number(ProcessAddressOfLine(l).value_or(-1));
  QCOMPARE(addresses.join(','), QString("5,1234567,-1,-1,-1"));
  QStringList states; // selected of count: Delete, Edit, Roll to Top, Move Up, Move Down
  for (const auto& [selected, count] :
       {std::pair{-1, 0}, {0, 1}, {0, 3}, {1, 3}, {2, 3}, {-1, 3}, {-1, 1}}) {
    const TExPtsButtons b = ExPtsButtonStates(selected, count);
    states << Join(b.Delete, b.Edit, b.RollToTop, b.MoveUp, b.MoveDown).remove('|');
  }
  QCOMPARE(states.join(','), QString("nnnnn,yynnn,yynny,yyyyy,yyyyn,nnnny,nnnnn"));
  QCOMPARE(Join(PSpaceLine(0, 0, 8000), PSpaceLine(0, 7999, 8000), PSpaceLine(499, 7201, 8000),
                PSpaceLine(12, 7200, 8000), PSpaceLine(123456789, 3, 8000)),
           QString("       0       0|       0      -1|     499    -799|      12    7200|"
                   "123456789       3"));
  QStringList split;
  for (const char* text : {"", "a", "a\n", "a\n\nb", "a\r\nb\r\n", "\n"})
    split << QString::number(SplitText(text).size()) + ":" + Join(SplitText(text));
  QCOMPARE(split.join(' '), QString("0: 1:a 1:a 3:a,,b 2:a,b 1:"));
}

void LogicTest::breakpointsAndPopup() {
  QCOMPARE(Join(ClickedBreakpointType(0), ClickedBreakpointType(1), ClickedBreakpointType(2),
                ClickedBreakpointType(5)),
           QString("1|2|0|5"));
  for (int32_t type : {0, 1, 2, 9})
    QCOMPARE(DoubleClickedBreakpointType(ClickedBreakpointType(type)), type);
  Engine e;
  SetCellBreakpoint(*e.core, 40, 1);
  e.core->BreakpointCounters[0] = 3;
  SetCellBreakpoint(*e.core, 40, 2);
  QCOMPARE(e.core->BreakpointCounters, std::vector<int32_t>{0});
  SetCellBreakpoint(*e.core, 40, 0);
  QVERIFY(e.core->BreakpointAddresses.empty());
  e.core->BreakpointAddresses = {300, 7, 5000, 42};
  e.core->BreakpointCounters = {3, 0, 1, 2};
  SortBreakpoints(*e.core);
  QCOMPARE(Join(e.core->BreakpointAddresses, e.core->BreakpointCounters),
           QString("7,42,300,5000|0,2,3,1"));
  // The editor's settings ("EWICRTM", frequency) choose a predefined type or define one.
  for (const auto& [flags, frequency, type] : {std::tuple{".......", 1, 0},
                                               {"......M", 1, 0},
                                               {"E......", 1, 1},
                                               {"E.....M", 1, 2},
                                               {"E......", 2, 3},
                                               {".W.....", 1, 3},
                                               {".....T.", 1, 3}}) {
    Engine fresh;
    TBreakpointRec rec{.Frequency = frequency, .TestExpression = "B==0"};
    bool* boxes[] = {&rec.Execute, &rec.Write, &rec.IncDec, &rec.Compare,
                     &rec.Read,    &rec.Test,  &rec.Movable};
    for (int i = 0; i < 7; ++i)
      *boxes[i] = flags[i] != '.';
    QCOMPARE(ChooseBreakpointType(*fresh.core, rec), std::optional<int32_t>(type));
    QCOMPARE(fresh.core->BreakpointTypeCount, type >= 3 ? 4 : 3);
    const TBreakpointRec& s = fresh.core->BreakpointTypes[3];
    if (type >= 3)
      QCOMPARE(Join(s.Write, s.Test, s.Frequency, s.TestExpression),
               Join(rec.Write, rec.Test, frequency, "B==0"));
  }
  e.core->BreakpointTypeCount = kBreakpointTypeMax;
  QCOMPARE(ChooseBreakpointType(*e.core, {.Read = true}), std::optional<int32_t>());
  QCOMPARE(e.platform.Messages.back(), std::string("Maximum number of breakpoint types exceeded"));
  QCOMPARE(ChooseBreakpointType(*e.core, {.Execute = true}), std::optional<int32_t>(1));
  // Fills wrap at the core's end, never run beyond one core, and clear.
  const auto types = [&e](std::initializer_list<int32_t> cells) {
    QStringList t;
    for (int32_t a : cells)
      t << QString::number(e.At(a).BreakpointType);
    return Join(e.core->BreakpointAddresses) + "|" + t.join(',');
  };
  e.core->BreakpointAddresses.clear();
  e.core->BreakpointCounters.clear();
  FillBreakpoints(*e.core, 7998, 4, 5);
  QCOMPARE(types({7997, 7998, 2, 3}), QString("7998,7999,0,1,2|0,4,4,0"));
  FillBreakpoints(*e.core, 7999, 0, 2);
  QCOMPARE(types({7999, 0, 1}), QString("7998,1,2|0,0,4"));
  ClearBreakpoint(*e.core, 1);
  QCOMPARE(types({1, 2}), QString("7998,2|0,4"));
  ClearAllBreakpoints(*e.core);
  QCOMPARE(types({2, 7998}) + Join(e.core->BreakpointCounters), QString("|0,0"));
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
  // Code typed into the cell editor goes into the core, each cell keeping its marks.
  TWarrior& scratch = *e.core->Warriors[0];
  scratch.Code = {MakeCell(Opcode::MOV, I, Dir, -1, Dir, 8001),
                  MakeCell(Opcode::JMP, F, Dir, 2, Dir, 0), CoreCell{}};
  scratch.CodeLength = 2;
  e.At(7999).Marker = 0x12;
  e.At(7999).BreakpointType = 2;
  StoreScratchCode(*e.core, 7999);
  QVERIFY(SameInstruction(e.At(7999), MakeCell(Opcode::MOV, I, Dir, 7999, Dir, 1)));
  QVERIFY(e.At(7999).Marker == 0x12 && e.At(7999).BreakpointType == 2);
  QVERIFY(SameInstruction(e.At(0), MakeCell(Opcode::JMP, F, Dir, 2, Dir, 0)));
  QVERIFY(SameInstruction(e.At(1), CoreCell{}));
}

// Each check gives its message and puts the valid value back: the stored one, or a limit.
void LogicTest::setupFieldChecks() {
  using S = SetupField;
  // clang-format off
  const struct {
    SetupField Field;
    const char *Text, *Message, *After;
    int Warriors = 2;
  } rows[] = {
      {S::CoreSize, "$1F40", "", "$1F40"}, {S::CoreSize, " 8000", "", " 8000"},
      {S::CoreSize, "8000 ", "Core size must be a number", "8000"}, {S::CoreSize, "16", "", "16"},
      {S::CoreSize, "15", "Core size must be at least 16", "8000"},
      {S::CoreSize, "134217727", "", "134217727"},
      {S::CoreSize, "134217728", "Core size must be less than $8000000", "8000"},
      {S::MaxCycles, "2147483646", "", "2147483646"},
      {S::MaxCycles, "2147483647", "Max Cycles must be less than $80000000", "12345"},
      {S::MaxCycles, "0", "Max Cycles must be at least 1", "12345"},
      {S::MaxCycles, "many", "Max Cycles must be a number", "12345"},
      {S::MaxProcesses, "0", "Max Processes must be at least 1", "321"},
      {S::MaxProcesses, "2147483647", "Max Processes must not exceed $80000000", "321"},
      {S::MaxProcesses, "x", "Max Processes must be a number", "321"},
      {S::MinDistance, "-1", "Min Distance must be at least 0", "77"},
      {S::MinDistance, "2147483647", "Min Distance must be less than $80000000", "77"},
      {S::MinDistance, "", "Min Distance must be a number", "77"},
      {S::Rounds, "0", "Number of rounds must be at least 1", "9"},
      {S::Rounds, "-93845", "Number of rounds must be a number", "9"},
      {S::Rounds, "2147483647", "Number of rounds must not exceed $80000000", "9"},
      {S::ReadLimit, "half", "Read Limit must be a number", "8000"},
      {S::ReadLimit, "0", "Read Limit must be at least 1", "1"},
      {S::ReadLimit, "8001", "Read Limit must not exceed Core Size", "8000"},
      {S::ReadLimit, "500", "", "500"},
      {S::WriteLimit, "?", "Write Limit must be a number", "8000"},
      {S::WriteLimit, "0", "Write Limit must be at least 1", "1"},
      {S::WriteLimit, "9000", "Write Limit must not exceed Core Size", "8000"},
      {S::PSpace, "?", "PSpace Size must be a number", "8000"},
      {S::PSpace, "0", "PSpace Size must be at least 1", "1"},
      {S::PSpace, "8001", "PSpace Size must not exceed Core Size", "8000"},
      {S::MaxLength, "1000", "", "1000"},
      {S::MaxLength, "1000", "Max Length too large to load all Warriors", "55", 10},
      {S::MaxLength, "0", "Max Length must be at least 1", "1"},
      {S::MaxLength, "long", "Max Length must be a number", "55"},
      {S::MaxLength, "7999", "", "7999", 0}, {S::FixedPosition, "100", "", "100"},
      {S::FixedPosition, "7900", "", "7900"},
      {S::FixedPosition, "99", "Second warrior position must be at least Max Distance", "100"},
      {S::FixedPosition, "7901", "Second warrior position must not exceed Core Size minus Max Distance", "100"},
      {S::FixedPosition, "mid", "Second warrior position must be a number", "100"},
      {S::FixedSeed, "abc", "RNG Seed must be a number", "0"},
      {S::FixedSeed, "-1", "RNG Seed must be between 0 and 2147483646", "0"},
      {S::FixedSeed, "2147483647", "RNG Seed must be between 0 and 2147483646", "0"},
      {S::FixedSeed, "2147483646", "", "2147483646"}};
  // clang-format on
  for (const auto& r : rows) {
    TSetupFields fields;
    FieldText(r.Field, fields) = r.Text;
    const auto message = CheckSetupField(r.Field, fields, r.Warriors, Stored());
    QCOMPARE(Join(message.value_or(""), FieldText(r.Field, fields)), Join(r.Message, r.After));
  }
  // A failing core size puts both back: the minimum exceeds the stored 8000, so the core size
  // takes the minimum's text; below the stored minimum the minimum takes the core size's.
  // clang-format off
  const struct { SetupField Field; const char *Size, *Min, *Seen; } cores[] = {
      {S::CoreSize, "8500", "9000", "Maximum core size must not be less than the minimum core size|9000|8000"},
      {S::MinCoreSize, "8000", "nine", "Minimum core size must be a number|8000|8000"},
      {S::MinCoreSize, "4000", "5000", "Minimum core size must not exceed the maximum core size|8000|4000"}};
  // clang-format on
  for (const auto& s : cores) {
    TSetupFields f{.CoreSizeText = s.Size, .RandomCoreSize = true, .MinCoreSizeText = s.Min};
    const auto message = CheckSetupField(s.Field, f, 2, Stored());
    QCOMPARE(Join(message.value_or(""), f.CoreSizeText, f.MinCoreSizeText), QString(s.Seen));
  }
  // Checking every field stops at the first failure, in the dialog's order.
  TSetupFields all{.MaxCyclesText = "x", .RoundsText = "none", .SeedMode = 0, .FixedSeedText = "y"};
  QStringList failures;
  while (const auto failure = CheckEverySetupField(all, 2, Stored()))
    failures << Join(failure->Field, failure->Message);
  QCOMPARE(failures.join(','), QString("2|Max Cycles must be a number,5|Number of rounds must be a "
                                       "number,11|RNG Seed must be a number"));
  // Fields that do not count pass: fixed core size, limit from the list, random choices.
  TSetupFields unused{.MinCoreSizeText = "x", .FixedPositionText = "x", .FixedSeedText = "x"};
  unused.ReadLimit = {1, "x"};
  QVERIFY(!CheckEverySetupField(unused, 2, Stored()) && unused.MinCoreSizeText == "x");
  QCOMPARE(PermutateRoundsText(TSetupFields{}).value_or(""), std::string("15602"));
  unused.MinDistanceText = "far";
  QVERIFY(!PermutateRoundsText(unused));
}

void LogicTest::setupListsConfirmingAndFiles() {
  QStringList moved;
  for (const int index : {2, 1, 0, 3, -1}) {
    auto list = Named({"A", "B", "C"});
    MoveChallengerFirst(list, index);
    moved << Names(list);
  }
  QCOMPARE(moved.join(' '), QString("C,B,A B,A,C A,B,C A,B,C A,B,C"));
  QStringList removed;
  for (const std::vector<int32_t>& positions : std::vector<std::vector<int32_t>>{
           {3, 1}, {4}, {0}, {2, 3, 4}, {0, 1, 2, 3, 4}, {2, 2, 7, -1}}) {
    auto list = Named({"A", "B", "C", "D", "E"});
    const int32_t selected = RemoveWarriorEntries(list, positions);
    removed << Names(list) + ":" + QString::number(selected);
  }
  QCOMPARE(removed.join(' '), QString("A,C,E:0 A,B,C,D:3 B,C,D,E:0 A,B:1 :-1 A,B,D,E:1"));
  auto sorted = Named({"dwarf", "Imp", "Bomber", "imp", "aardvark"});
  sorted[1].Author = "first";
  SortWarriorsByName(sorted);
  QCOMPARE(Join(Names(sorted), sorted[3].Author), QString("aardvark,Bomber,dwarf,Imp,imp|first"));

  // The fields shown for the records keep a limit chosen from its list.
  TSetupFields confirmed;
  confirmed.ReadLimit = {2, ""};
  confirmed.WriteLimit = {-1, "400"};
  TParamsRec p{.CoreSizeMax = 8192,
               .MaxCycles = 5000,
               .ReadLimit = 512,
               .WriteLimit = 300,
               .SecondPosition = 4000,
               .SeedMode = kSeedChecksum,
               .InitialInstruction = "MOV 0, 1"};
  TTournamentRec rec{.TournamentType = Challenge, .Rounds = 42, .ScoreFormula = "W"};
  const TSetupFields s = FieldsFromRecords(confirmed, p, rec);
  QCOMPARE(Join(s.ReadLimit.Item, s.WriteLimit.Item, s.WriteLimit.Text, s.CoreSizeText,
                s.MinCoreSizeText, s.MaxCyclesText, s.SecondPosition, s.FixedPositionText,
                s.SeedMode == kSeedChecksum, s.RoundsText, s.TournamentType == Challenge,
                s.ScoreFormula, s.InitialInstruction),
           QString("2|-1|300|8192|8192|5000|0|4000|y|42|y|W|MOV 0, 1"));

  // Confirming numbers the lists and takes the tournament; a single warrior makes a melee
  // (unless against a benchmark), no warrior at all does not.
  TSetupFields f{.CoreSizeText = "800",
                 .TournamentType = Benchmark,
                 .RoundsText = "$10",
                 .SelfFights = true,
                 .PauseBetweenRounds = true,
                 .ScoreFormula = "W*3+T"};
  f.ReadLimit = {1, ""};
  TParamsRec params;
  TTournament t;
  auto outcome = StoreSetup(f, Named({"A", "B", "C"}), Named({"X", "Y"}), params, t, confirmed);
  QCOMPARE(Join(outcome.MadeMelee, t.WarriorList.size(), t.WarriorList[2].ID, t.BenchmarkList[1].ID,
                t.Rec.WarriorCount, t.Rec.BenchmarkCount, t.Rec.TournamentType == Benchmark,
                t.Rec.Rounds, t.Rec.SelfFights, t.Rec.PauseBetweenRounds, t.Rec.ScoreFormula,
                params.CoreSizeMax, params.ReadLimit, confirmed.RoundsText),
           QString("n|3|3|2|3|2|y|16|y|y|W*3+T|800|200|$10"));
  f.TournamentType = RoundRobin;
  f.CircularDisplay = !params.CircularDisplay;
  outcome = StoreSetup(f, Named({"A"}), {}, params, t, confirmed);
  QCOMPARE(Join(outcome.MadeMelee, outcome.TopologyChanged, t.Rec.TournamentType == Melee,
                confirmed.TournamentType == Melee),
           QString("y|y|y|y"));
  // One warrior against a benchmark stays a benchmark.
  f.TournamentType = Benchmark;
  QVERIFY(!StoreSetup(f, Named({"A"}), Named({"X"}), params, t, confirmed).MadeMelee);
  QCOMPARE(t.Rec.TournamentType, uint8_t(Benchmark));
  f.TournamentType = Melee;
  outcome = StoreSetup(f, {}, Named({"X"}), params, t, confirmed);
  QCOMPARE(
      Join(outcome.MadeMelee, outcome.TopologyChanged, t.Rec.BenchmarkCount, t.Rec.WarriorCount),
      QString("n|n|0|0"));

  // The settings questions: the default file, a chosen one (with .cfg added), or nothing.
  // clang-format off
  const struct { bool Save; Answer Reply; const char *Chosen, *Seen; } questions[] = {
      {true, Answer::Yes, "", "/start/default.cfg|"},
      {true, Answer::No, "/a/mine", "/a/mine.cfg|Save Settings"},
      {true, Answer::No, "/a/mine.txt", "/a/mine.txt|Save Settings"},
      {true, Answer::No, "", "|Save Settings"}, {true, Answer::Cancel, "/a/x", "|"},
      {false, Answer::Yes, "", "/start/default.cfg|"},
      {false, Answer::No, "/a/old.cfg", "/a/old.cfg|Load Settings"},
      {false, Answer::Cancel, "/a/x", "|"}};
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
  QCOMPARE(ReadAll(folder + "/all.lst"),
           ";warriorlist\r\nImp.red\r\n" + folder + "/fresh.red\r\nDwarf.red\r\n");
  QCOMPARE(ReadAll(folder + "/fresh.red"), std::string(";name Fresh\r\nMOV 0, 1\r\n"));
  QVERIFY(warriors[1].FileName.empty() && lists.Messages.empty());
  SaveWarriorListFlow(lists, warriors); // the list's dialog cancelled: nothing more asked
  QCOMPARE(lists.DialogTitles.size(), size_t(4));
  // The initial instruction's test compile, before the engine exists.
  QStringList compiled;
  for (const char* instruction :
       {"MOV 0, 1", "DAT ABSADDRESS, 0-ABSADDRESS", "FOO 0, 1", "", "DAT 1/0, 0"})
    compiled << Join(
        InitialInstructionError(nullptr, {.InitialInstruction = instruction}, platform, 1)
            .value_or("ok"));
  QCOMPARE(compiled.join(','), QString("ok,ok,Initial instruction failed to compile.,Initial "
                                       "instruction failed to compile.,Initial instruction failed "
                                       "to compile.\nDivision by zero"));
  // While the dialog edits, the engine has its parameters; afterwards its own come back.
  TNullMardexForm form;
  auto core = TCore::Create(
      {.CoreSizeMax = 800, .ReadLimit = 800, .WriteLimit = 800, .PSpaceSize = 50}, form, platform);
  core->InitialInstruction = "RANDOM";
  const auto engine = [&core] {
    return Join(core->CoreSize, core->MaxCycles, core->MaxProcesses, core->MinDistance,
                core->Standard, core->MaxLength, core->ReadLimit, core->WriteLimit,
                core->PSpaceSize);
  };
  const QString before = engine();
  {
    TEngineParamsScope scope(core.get(), {.MaxProcesses = 7,
                                          .CoreSizeMax = 8000,
                                          .MaxCycles = 100,
                                          .MinDistance = 3,
                                          .Standard = 0,
                                          .ReadLimit = 400,
                                          .WriteLimit = 401,
                                          .PSpaceSize = 402,
                                          .MaxLength = 9});
    QCOMPARE(engine(), QString("8000|100|7|3|0|9|400|401|402"));
    core->InitialInstruction = "MOV 0, 1"; // what a compile in between may leave
  }
  QCOMPARE(Join(engine(), core->InitialInstruction), before + "|RANDOM");
  QVERIFY(before.startsWith("800|"));
}

QTEST_MAIN(LogicTest)
#include "logic_test.moc"
