// The debugger's text and engine logic without windows: listing lines, field texts,
// navigation, pointer zones, breakpoint steps, the operand popup, the breakpoint list line,
// breakpoint types chosen by the editor, fills and clears, test expressions.

#include <QtTest>

#include "engine/mardex_form.h"
#include "tests/ui/support/debugger_support.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/core_listing.h"
#include "ui/debugger_actions.h"

using namespace velmora;

namespace {

constexpr auto I = Modifier::I, F = Modifier::F;
constexpr auto Imm = AddressMode::Immediate, Dir = AddressMode::Direct;

struct Fixture {
  TNullMardexForm form;
  test::TScriptedPlatform platform;
  std::unique_ptr<TCore> core = test::MakeCore(form, platform);
  CoreCell& At(int32_t a) { return core->Core[static_cast<size_t>(a)]; }
};

} // namespace

Q_DECLARE_METATYPE(std::optional<int32_t>)

class CoreListingTest : public QObject {
  Q_OBJECT
private slots:
  void formatLineShowsTheColumns_data();
  void formatLineShowsTheColumns();
  void shortInstructionTextHasPlainFields();
  void linesTakeColourMarkAndHighlight();
  void listingWrapsAtTheCoreEnd();
  void scrollingPassesEitherEnd_data();
  void scrollingPassesEitherEnd();
  void typedLocations_data();
  void typedLocations();
  void pointerZonesFollowTheLineText();
  void clicksStepTheBreakpointType();
  void operandPopup_data();
  void operandPopup();
  void breakpointListLine();
  void sortingKeepsEachCounter();
  void editorSettingsChooseTheType_data();
  void editorSettingsChooseTheType();
  void identicalEditsDefineTwoTypes();
  void noTypeIsLeftAfterTwoHundredFiftySix();
  void fillNextWrapsAtTheCoreEnd();
  void fillNeverRunsBeyondOneCore();
  void clearingBreakpoints();
  void testExpressionsAreChecked_data();
  void testExpressionsAreChecked();
  void scratchCodeGoesIntoTheCore();
};

void CoreListingTest::formatLineShowsTheColumns_data() {
  QTest::addColumn<int>("standard");
  QTest::addColumn<int>("address");
  QTest::addColumn<QString>("line");
  QTest::newRow("MOV.I $0, $1 at 0") << 2 << 0 << "      0 MOV.I  $      0,  $      1";
  QTest::newRow("DAT.F #0, $7999 at 1") << 2 << 1 << "      1 DAT.F  #      0,  $     -1";
  QTest::newRow("7200 stays, 7201 is negative") << 2 << 2 << "      2 ADD.AB #   7200,  @   -799";
  QTest::newRow("1988: no modifiers") << 0 << 0 << "      0 MOV    $      0,  $      1";
  QTest::newRow("1988: columns line up") << 0 << 2 << "      2 ADD    #   7200,  @   -799";
  QTest::newRow("wide addresses") << 1 << 7999 << "   7999 DAT.F  $      0,  $      0";
}

void CoreListingTest::formatLineShowsTheColumns() {
  QFETCH(int, standard);
  QFETCH(int, address);
  QFETCH(QString, line);
  Fixture f;
  f.core->Standard = static_cast<uint8_t>(standard);
  f.At(0) = MakeCell(Opcode::MOV, I, Dir, 0, Dir, 1);
  f.At(1) = MakeCell(Opcode::DAT, F, Imm, 0, Dir, 7999);
  f.At(2) = MakeCell(Opcode::ADD, Modifier::AB, Imm, 7200, AddressMode::BIndirect, 7201);
  f.At(7999) = MakeCell(Opcode::DAT, F, Dir, 0, Dir, 0);
  QCOMPARE(QString::fromStdString(FormatLine(*f.core, address)), line);
}

void CoreListingTest::shortInstructionTextHasPlainFields() {
  const CoreCell cell = MakeCell(Opcode::MOV, I, Dir, 0, Dir, 7999);
  QCOMPARE(ShortInstructionText(cell, 8000, 2), std::string("MOV.I  $0,  $-1"));
  QCOMPARE(ShortInstructionText(cell, 8000, 0), std::string("MOV    $0,  $-1"));
  QCOMPARE(ShortFieldText(7999, 8000), std::string("-1"));
  QCOMPARE(FieldText(7999, 8000), std::string("     -1"));
}

void CoreListingTest::linesTakeColourMarkAndHighlight() {
  Fixture f;
  f.At(10).Marker = 0x23; // written by warrior 3
  f.At(11).BreakpointType = 1;
  f.At(12).BreakpointType = 2;
  f.At(13).BreakpointType = 7;
  f.core->HitList = {12};
  f.core->QueueStart(*f.core->Warriors[2], 2, 11);

  const TListingLine touched = ListingLine(*f.core, 10);
  QVERIFY(!touched.Next);
  QCOMPARE(touched.Colour, 3);
  QCOMPARE(touched.PixelColour, 3);
  QCOMPARE(touched.PixelKind, 2);
  QCOMPARE(touched.Glyph, BreakpointGlyph::None);
  const std::vector<uint32_t> colours = {0, 0x111111, 0x222222, 0x333333};
  QCOMPARE(ListingRgb(touched, colours), 0x333333u);

  const TListingLine next = ListingLine(*f.core, 11);
  QVERIFY(next.Next);
  QCOMPARE(next.PixelColour, -1);
  QCOMPARE(next.PixelKind, 1);
  QCOMPARE(ListingRgb(next, colours), 0xFF0000u);
  QCOMPARE(next.Glyph, BreakpointGlyph::Square);
  QVERIFY(!next.Hit);

  const TListingLine fired = ListingLine(*f.core, 12);
  QCOMPARE(fired.Glyph, BreakpointGlyph::Circle);
  QVERIFY(fired.Hit);
  QCOMPARE(ListingRgb(fired, colours), 0x808080u);
  QCOMPARE(ListingLine(*f.core, 13).Glyph, BreakpointGlyph::Diamond);
  // A warrior slot beyond the matchup's colours takes the fixed palette.
  f.At(14).Marker = 0x17;
  QCOMPARE(ListingRgb(ListingLine(*f.core, 14), colours), 0x0080FFu);
}

void CoreListingTest::listingWrapsAtTheCoreEnd() {
  QCOMPARE(ListedAddresses(7998, 4, 8000), (std::vector<int32_t>{7998, 7999, 0, 1}));
  QCOMPARE(ListedAddresses(0, 3, 2), (std::vector<int32_t>{0, 1, 0}));
  QVERIFY(ListedAddresses(0, 3, 0).empty());
}

void CoreListingTest::scrollingPassesEitherEnd_data() {
  QTest::addColumn<int>("top");
  QTest::addColumn<int>("delta");
  QTest::addColumn<int>("coreSize");
  QTest::addColumn<int>("expected");
  QTest::newRow("line up from 0") << 0 << -1 << 8000 << 7999;
  QTest::newRow("line down from the last") << 7999 << 1 << 8000 << 0;
  QTest::newRow("page down past the end") << 7990 << 25 << 8000 << 15;
  QTest::newRow("page up past 0") << 10 << -25 << 8000 << 7985;
  QTest::newRow("page longer than a small core") << 3 << -25 << 10 << 8;
}

void CoreListingTest::scrollingPassesEitherEnd() {
  QFETCH(int, top);
  QFETCH(int, delta);
  QFETCH(int, coreSize);
  QFETCH(int, expected);
  QCOMPARE(ScrollTop(top, delta, coreSize), expected);
}

void CoreListingTest::typedLocations_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<std::optional<int32_t>>("location");
  QTest::newRow("-1") << "-1" << std::optional<int32_t>(7999);
  QTest::newRow("8005") << "8005" << std::optional<int32_t>(5);
  QTest::newRow("plain") << "123" << std::optional<int32_t>(123);
  QTest::newRow("most negative") << "-2147483648" << std::optional<int32_t>(4352);
  QTest::newRow("letters") << "12a" << std::optional<int32_t>();
  QTest::newRow("empty") << "" << std::optional<int32_t>();
}

void CoreListingTest::typedLocations() {
  QFETCH(QString, text);
  QFETCH(std::optional<int32_t>, location);
  QCOMPARE(LocationFromText(text.toStdString(), 8000), location);
}

void CoreListingTest::pointerZonesFollowTheLineText() {
  Fixture f;
  f.At(0) = MakeCell(Opcode::MOV, I, Dir, 0, AddressMode::BIndirect, 5);
  const std::string line = FormatLine(*f.core, 0);
  const auto at = [&line](const char* piece) { return static_cast<int32_t>(line.find(piece)); };
  for (int32_t c = 0; c < at("MOV"); ++c)
    QCOMPARE(PartAtColumn(c), LinePart::BreakpointColumn);
  QCOMPARE(PartAtColumn(at("MOV")), LinePart::Opcode);
  QCOMPARE(PartAtColumn(at(".I")), LinePart::Opcode);
  QCOMPARE(PartAtColumn(at("$") - 1), LinePart::Opcode);
  QCOMPARE(PartAtColumn(at("$")), LinePart::AOperand);
  QCOMPARE(PartAtColumn(at(",") + 2), LinePart::AOperand);
  QCOMPARE(PartAtColumn(at("@")), LinePart::BOperand);
  QCOMPARE(PartAtColumn(static_cast<int32_t>(line.size()) - 1), LinePart::BOperand);
}

void CoreListingTest::clicksStepTheBreakpointType() {
  QCOMPARE(ClickedBreakpointType(0), 1);
  QCOMPARE(ClickedBreakpointType(1), 2);
  QCOMPARE(ClickedBreakpointType(2), 0);
  QCOMPARE(ClickedBreakpointType(5), 5);
  for (int32_t type : {0, 1, 2, 9})
    QCOMPARE(DoubleClickedBreakpointType(ClickedBreakpointType(type)), type);

  Fixture f;
  SetCellBreakpoint(*f.core, 40, 1);
  QCOMPARE(f.core->BreakpointAddresses, std::vector<int32_t>{40});
  f.core->BreakpointCounters[0] = 3;
  SetCellBreakpoint(*f.core, 40, 2);
  QCOMPARE(f.core->BreakpointCounters, std::vector<int32_t>{0});
  SetCellBreakpoint(*f.core, 40, 0);
  QVERIFY(f.core->BreakpointAddresses.empty());
  QCOMPARE(f.At(40).BreakpointType, uint8_t{0});
}

void CoreListingTest::operandPopup_data() {
  QTest::addColumn<int>("opcode");
  QTest::addColumn<int>("mode");
  QTest::addColumn<bool>("bOperand");
  QTest::addColumn<int>("limit");
  QTest::addColumn<QString>("n1");
  QTest::addColumn<int>("t1");
  QTest::addColumn<QString>("n2");
  QTest::addColumn<int>("t2");
  const int mov = int(Opcode::MOV), jmp = int(Opcode::JMP);
  // The cell at 100 has field 5 in the operand; the cell at 105 holds A 30, B 20.
  QTest::newRow("MOV @ as write target")
      << mov << 2 << true << 8000 << "$ 5 = 105" << 105 << "@ 5 = 125" << 125;
  QTest::newRow("direct: one item") << mov << 1 << true << 8000 << "$ 5 = 105" << 105 << "" << -1;
  QTest::newRow("A operand reads")
      << mov << 5 << false << 8000 << "$ 5 = 105" << 105 << "* 5 = 135" << 135;
  QTest::newRow("predecrement") << mov << 3 << true << 8000 << "$ 5 = 105" << 105 << "< 5 = 124"
                                << 124;
  QTest::newRow("A predecrement") << jmp << 6 << true << 8000 << "$ 5 = 105" << 105 << "{ 5 = 134"
                                  << 134;
  QTest::newRow("postincrement") << jmp << 4 << true << 8000 << "$ 5 = 105" << 105 << "> 5 = 125"
                                 << 125;
  // With limits of 40 the pointer's offset 5 + 20 folds to -15.
  QTest::newRow("limits fold the pointer")
      << jmp << 2 << true << 40 << "$ 5 = 105" << 105 << "@ 5 = 85" << 85;
}

void CoreListingTest::operandPopup() {
  QFETCH(int, opcode);
  QFETCH(int, mode);
  QFETCH(bool, bOperand);
  QFETCH(int, limit);
  QFETCH(QString, n1);
  QFETCH(int, t1);
  QFETCH(QString, n2);
  QFETCH(int, t2);
  Fixture f;
  f.core->ReadLimit = limit;
  f.core->WriteLimit = limit;
  const auto m = static_cast<AddressMode>(mode);
  f.At(100) = bOperand ? MakeCell(static_cast<Opcode>(opcode), I, Dir, 0, m, 5)
                       : MakeCell(static_cast<Opcode>(opcode), I, m, 5, Dir, 0);
  f.At(105) = MakeCell(Opcode::DAT, F, Imm, 30, Imm, 20);
  const std::optional<TOperandPopup> popup = OperandPopup(*f.core, 100, bOperand);
  QVERIFY(popup);
  QCOMPARE(QString::fromStdString(popup->N1.Caption), n1);
  QCOMPARE(popup->N1.Target, t1);
  QCOMPARE(QString::fromStdString(popup->N2.Caption), n2);
  QCOMPARE(popup->N2.Target, t2);
}

void CoreListingTest::breakpointListLine() {
  Fixture f;
  f.At(7999) = MakeCell(Opcode::MOV, I, Dir, 0, Dir, 1);
  f.At(7999).BreakpointType = 3;
  f.At(4) = MakeCell(Opcode::DAT, F, Imm, 0, Dir, 7999);
  f.At(4).BreakpointType = 1;
  f.core->HitList = {4};
  QCOMPARE(BreakpointListLine(*f.core, 7999),
           std::string("    7999   3 MOV.I  $      0,  $      1"));
  QCOMPARE(BreakpointListLine(*f.core, 4), std::string("*      4   1 DAT.F  #      0,  $     -1"));
}

void CoreListingTest::sortingKeepsEachCounter() {
  Fixture f;
  f.core->BreakpointAddresses = {300, 7, 5000, 42};
  f.core->BreakpointCounters = {3, 0, 1, 2};
  SortBreakpoints(*f.core);
  QCOMPARE(f.core->BreakpointAddresses, (std::vector<int32_t>{7, 42, 300, 5000}));
  QCOMPARE(f.core->BreakpointCounters, (std::vector<int32_t>{0, 2, 3, 1}));
}

void CoreListingTest::editorSettingsChooseTheType_data() {
  QTest::addColumn<QString>("flags"); // E W I C R T M
  QTest::addColumn<int>("frequency");
  QTest::addColumn<int>("type");
  QTest::newRow("nothing removes") << "......." << 1 << 0;
  QTest::newRow("movable alone removes") << "......M" << 1 << 0;
  QTest::newRow("execute") << "E......" << 1 << 1;
  QTest::newRow("execute, movable") << "E.....M" << 1 << 2;
  QTest::newRow("execute every second time") << "E......" << 2 << 3;
  QTest::newRow("write") << ".W....." << 1 << 3;
  QTest::newRow("test") << ".....T." << 1 << 3;
}

void CoreListingTest::editorSettingsChooseTheType() {
  QFETCH(QString, flags);
  QFETCH(int, frequency);
  QFETCH(int, type);
  Fixture f;
  TBreakpointRec rec;
  rec.Execute = flags[0] != '.';
  rec.Write = flags[1] != '.';
  rec.IncDec = flags[2] != '.';
  rec.Compare = flags[3] != '.';
  rec.Read = flags[4] != '.';
  rec.Test = flags[5] != '.';
  rec.Movable = flags[6] != '.';
  rec.Frequency = frequency;
  rec.TestExpression = "B==0";
  QCOMPARE(ChooseBreakpointType(*f.core, rec), std::optional<int32_t>(type));
  QCOMPARE(f.core->BreakpointTypeCount, type >= 3 ? 4 : 3);
  if (type >= 3) {
    const TBreakpointRec& stored = f.core->BreakpointTypes[static_cast<size_t>(type)];
    QCOMPARE(stored.Write, rec.Write);
    QCOMPARE(stored.Test, rec.Test);
    QCOMPARE(stored.Frequency, frequency);
    QCOMPARE(stored.TestExpression, rec.TestExpression);
  }
}

void CoreListingTest::identicalEditsDefineTwoTypes() {
  Fixture f;
  TBreakpointRec rec;
  rec.Read = true;
  QCOMPARE(ChooseBreakpointType(*f.core, rec), std::optional<int32_t>(3));
  QCOMPARE(ChooseBreakpointType(*f.core, rec), std::optional<int32_t>(4));
}

void CoreListingTest::noTypeIsLeftAfterTwoHundredFiftySix() {
  Fixture f;
  f.core->BreakpointTypeCount = kBreakpointTypeMax;
  TBreakpointRec rec;
  rec.Read = true;
  QCOMPARE(ChooseBreakpointType(*f.core, rec), std::optional<int32_t>());
  QCOMPARE(f.platform.Messages.back(), std::string("Maximum number of breakpoint types exceeded"));
  // The predefined types need no new entry.
  rec.Read = false;
  rec.Execute = true;
  QCOMPARE(ChooseBreakpointType(*f.core, rec), std::optional<int32_t>(1));
}

void CoreListingTest::fillNextWrapsAtTheCoreEnd() {
  Fixture f;
  FillBreakpoints(*f.core, 7998, 4, 5);
  QCOMPARE(f.core->BreakpointAddresses, (std::vector<int32_t>{7998, 7999, 0, 1, 2}));
  for (int32_t a : {7998, 7999, 0, 1, 2})
    QCOMPARE(f.At(a).BreakpointType, uint8_t{4});
  QCOMPARE(f.At(3).BreakpointType, uint8_t{0});
  QCOMPARE(f.At(7997).BreakpointType, uint8_t{0});
  FillBreakpoints(*f.core, 7999, 0, 2);
  QCOMPARE(f.core->BreakpointAddresses, (std::vector<int32_t>{7998, 1, 2}));
  QCOMPARE(f.At(0).BreakpointType, uint8_t{0});
}

void CoreListingTest::fillNeverRunsBeyondOneCore() {
  Fixture f;
  FillBreakpoints(*f.core, 10, 1, 2147483647);
  QCOMPARE(f.core->BreakpointAddresses.size(), size_t{8000});
  QCOMPARE(f.core->BreakpointAddresses.front(), 10);
}

void CoreListingTest::clearingBreakpoints() {
  Fixture f;
  FillBreakpoints(*f.core, 0, 1, 3);
  ClearBreakpoint(*f.core, 1);
  QCOMPARE(f.core->BreakpointAddresses, (std::vector<int32_t>{0, 2}));
  QCOMPARE(f.At(1).BreakpointType, uint8_t{0});
  QCOMPARE(f.At(2).BreakpointType, uint8_t{1});
  ClearAllBreakpoints(*f.core);
  QVERIFY(f.core->BreakpointAddresses.empty());
  QVERIFY(f.core->BreakpointCounters.empty());
  QCOMPARE(f.At(0).BreakpointType, uint8_t{0});
  QCOMPARE(f.At(2).BreakpointType, uint8_t{0});
}

void CoreListingTest::testExpressionsAreChecked_data() {
  QTest::addColumn<QString>("expression");
  QTest::addColumn<bool>("valid");
  QTest::newRow("B==0") << "B==0" << true;
  QTest::newRow("lower case fields") << "a+b>3" << true;
  QTest::newRow("unknown symbol") << "C==0" << false;
  QTest::newRow("dangling operator") << "B==" << false;
}

void CoreListingTest::testExpressionsAreChecked() {
  QFETCH(QString, expression);
  QFETCH(bool, valid);
  Fixture f;
  f.core->Asm.Labels = {{"start", 4}};
  f.core->Asm.CurLine = 9;
  const std::optional<std::string> error = OperandTestError(*f.core, expression.toStdString());
  QCOMPARE(!error.has_value(), valid);
  if (error) QVERIFY(!error->empty());
  QCOMPARE(f.core->Asm.Labels.size(), size_t{1});
  QCOMPARE(f.core->Asm.CurLine, 9);
}

void CoreListingTest::scratchCodeGoesIntoTheCore() {
  Fixture f;
  TWarrior& scratch = *f.core->Warriors[0];
  scratch.Code = {MakeCell(Opcode::MOV, I, Dir, -1, Dir, 8001),
                  MakeCell(Opcode::JMP, F, Dir, 2, Dir, 0), CoreCell{}};
  scratch.CodeLength = 2;
  f.At(7999).Marker = 0x12;
  f.At(7999).BreakpointType = 2;
  StoreScratchCode(*f.core, 7999);
  QVERIFY(SameInstruction(f.At(7999), MakeCell(Opcode::MOV, I, Dir, 7999, Dir, 1)));
  QCOMPARE(f.At(7999).Marker, uint8_t{0x12});
  QCOMPARE(f.At(7999).BreakpointType, uint8_t{2});
  QVERIFY(SameInstruction(f.At(0), MakeCell(Opcode::JMP, F, Dir, 2, Dir, 0)));
  QVERIFY(SameInstruction(f.At(1), CoreCell{}));
}

QTEST_MAIN(CoreListingTest)
#include "core_listing_test.moc"
