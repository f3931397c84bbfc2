// The core display widget: glyphs and colours in the images, highlight edges, the grey
// beyond the core, clearing, the topologies' layouts, refreshing at the top speed, clicks.

#include <QtTest>

#include <algorithm>

#include "tests/ui/support/scripted_platform.h"
#include "ui/core_display.h"
#include "ui/mardex_form.h"

using namespace velmora;

namespace {

constexpr QRgb kRed = 0xFFFF0000u, kBlack = 0xFF000000u, kGrey = 0xFF808080u;
constexpr QRgb kFirst = 0xFF123456u, kSecond = 0xFFABCDEFu;

QRgb PixelOf(const TCoreDisplay& display, int image, int x, int y) {
  return display.Image(image).pixel(x, y);
}

// The c x c square of a cell, row by row; "#" for `on`, "." for black, "?" for anything else.
QString Square(const TCoreDisplay& display, int64_t address, QRgb on) {
  const auto cell = display.Geometry().CellOf(address);
  if (!cell) return "not drawn";
  const int c = display.Geometry().CellSize();
  QStringList rows;
  for (int y = 0; y < c; ++y) {
    QString row;
    for (int x = 0; x < c; ++x) {
      const QRgb p = PixelOf(display, cell->Image, cell->X + x, cell->Y + y);
      row += p == on ? '#' : p == kBlack ? '.' : '?';
    }
    rows << row;
  }
  return rows.join('/');
}

int CountPixels(const TCoreDisplay& display, QRgb colour) {
  int n = 0;
  for (int i = 1; i <= 4; ++i) {
    const QImage& image = display.Image(i);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        n += image.pixel(x, y) == colour;
  }
  return n;
}

// Whether a region covers the whole rectangle (QRegion::contains only asks for overlap).
bool Covers(const QRegion& region, const QRect& rect) {
  return QRegion(rect).subtracted(region).isEmpty();
}

// Counts the paint events of a widget and where they reach.
class PaintCounter : public QObject {
public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int Paints = 0;
  QRegion Painted;

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++Paints;
      Painted += static_cast<QPaintEvent*>(event)->region();
    }
    return false;
  }
};

} // namespace

class CoreDisplayTest : public QObject {
  Q_OBJECT
private slots:
  void glyphOfEachKind_data();
  void glyphOfEachKind();
  void coloursAboveEightWrapRound();
  void fixedColoursFillTheSquare_data();
  void fixedColoursFillTheSquare();
  void unknownColoursAndKindsDrawNothing();
  void rebuildKeepsTheOtherSlots();
  void highlightEdges_data();
  void highlightEdges();
  void paintOutsideCoreGreysTheRest_data();
  void paintOutsideCoreGreysTheRest();
  void clearDisplayBlackensEverything();
  void layoutOfTheTopologies();
  void newGeometryClearsTheImages();
  void topSpeedDrawsWithoutRefreshing();
  void highlightsRefreshAtOnce();
  void topSpeedShowsEachCellsLastEvent();
  void clicksSelectTheCellUnderThePointer_data();
  void clicksSelectTheCellUnderThePointer();
  void pressAndReleaseOnDifferentImagesIsNoClick();
  void mainWindowTellsTheDisplayTheRoundsCoreSize();
};

void CoreDisplayTest::glyphOfEachKind_data() {
  QTest::addColumn<int>("coreSizeMax");
  QTest::addColumn<bool>("circular");
  QTest::addColumn<int>("address");
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("square");
  auto row = [](int s, bool circular, int a, int kind, const char* square) {
    QTest::addRow("%d %s kind %d", s, circular ? "circular" : "rectangular", kind)
        << s << circular << a << kind << QString(square);
  };
  row(4096, true, 70, 1, "#######./#######./#######./#######./#######./#######./#######./........");
  row(4096, true, 1500, 2,
      "##...##./.##.##../..###.../..###.../.##.##../##...##./#.....#./........");
  row(4096, true, 2500, 3,
      "...##.../...##.../.######./.######./...##.../...##.../......../........");
  row(2048, false, 700, 4,
      "......../......../.######./.######./......../......../......../........");
  row(4096, true, 3500, 5,
      "......../......../...##.../...##.../......../......../......../........");
  row(8000, true, 7999, 1, "###./###./###./....");
  row(8000, true, 0, 2, "#.#./.#../#.#./....");
  row(8000, false, 200, 3, ".#../###./.#../....");
  row(16384, true, 12000, 4, "..../###./..../....");
  row(8000, true, 4096, 5, "..../.#../..../....");
  row(65536, true, 40000, 1, "##/##");
  row(32768, false, 300, 2, ".#/#.");
  row(55440, true, 20000, 3, ".#/.#");
  row(65536, true, 65535, 4, "../##");
  row(20000, true, 19999, 5, "../.#");
  for (int kind = 1; kind <= 5; ++kind)
    row(kind < 3 ? 100000 : 262144, kind % 2 == 0, 99999, kind, "#");
}

void CoreDisplayTest::glyphOfEachKind() {
  QFETCH(int, coreSizeMax);
  QFETCH(bool, circular);
  QFETCH(int, address);
  QFETCH(int, kind);
  TCoreDisplay display;
  display.ApplyTopology(circular);
  display.SetCoreSizeMax(coreSizeMax);
  display.RebuildGlyphs({0, kFirst & 0xFFFFFF, kSecond & 0xFFFFFF});
  display.ColorPixel(address, 2, kind, false);
  QTEST(Square(display, address, kSecond), "square");
  const int c = display.Geometry().CellSize();
  // Nothing outside the cell's square changed.
  QCOMPARE(CountPixels(display, kSecond) + CountPixels(display, kBlack),
           circular ? 4 * 512 * 128 : 512 * 256);
  QVERIFY(CountPixels(display, kSecond) <= c * c);
}

void CoreDisplayTest::coloursAboveEightWrapRound() {
  TCoreDisplay display;
  display.SetCoreSizeMax(4096);
  std::vector<uint32_t> colours{0};
  for (uint32_t i = 1; i <= 8; ++i)
    colours.push_back(0x200000 + i);
  display.RebuildGlyphs(colours);
  display.ColorPixel(10, 9, 2, false);
  display.ColorPixel(11, 1, 2, false);
  display.ColorPixel(12, 16, 1, false);
  QCOMPARE(Square(display, 10, 0xFF200001u), Square(display, 11, 0xFF200001u));
  QVERIFY(Square(display, 10, 0xFF200001u).contains('#'));
  QCOMPARE(Square(display, 12, 0xFF200008u).count('#'), 49);
}

void CoreDisplayTest::fixedColoursFillTheSquare_data() {
  QTest::addColumn<int>("color");
  QTest::addColumn<int>("kind");
  QTest::addColumn<uint>("rgb");
  QTest::newRow("next instruction red") << -1 << 1 << uint(kRed);
  QTest::newRow("untouched black") << 0 << 0 << uint(kBlack);
  QTest::newRow("beyond the core grey") << -2 << 0 << uint(kGrey);
}

void CoreDisplayTest::fixedColoursFillTheSquare() {
  QFETCH(int, color);
  QFETCH(int, kind);
  QFETCH(uint, rgb);
  for (const int size : {4096, 8000, 40000, 100000}) {
    TCoreDisplay display;
    display.SetCoreSizeMax(size);
    display.ColorPixel(3, 1, 1, false); // something to paint over
    display.ColorPixel(3, color, kind, false);
    const int c = display.Geometry().CellSize();
    QCOMPARE(Square(display, 3, rgb), QStringList(c, QString(c, '#')).join('/'));
  }
}

void CoreDisplayTest::unknownColoursAndKindsDrawNothing() {
  TCoreDisplay display;
  display.SetCoreSizeMax(4096);
  for (const auto& [color, kind] : {std::pair{-3, 1}, {1, 0}, {1, 6}, {2, -1}})
    display.ColorPixel(5, color, kind, false);
  display.ColorPixel(-1, 1, 1, false);
  display.ColorPixel(4096, 1, 1, false);
  display.ColorPixel(1 << 30, -1, 1, false);
  QCOMPARE(CountPixels(display, kBlack), 4 * 512 * 128);
}

void CoreDisplayTest::rebuildKeepsTheOtherSlots() {
  TCoreDisplay display;
  display.SetCoreSizeMax(4096);
  display.RebuildGlyphs({0, 0x111111, 0x222222, 0x333333});
  display.RebuildGlyphs({0, 0x444444});
  display.ColorPixel(0, 1, 1, false);
  display.ColorPixel(1, 3, 1, false);
  QCOMPARE(Square(display, 0, 0xFF444444u).count('#'), 49);
  QCOMPARE(Square(display, 1, 0xFF333333u).count('#'), 49);
  // A new cell size keeps each slot's colour.
  display.SetCoreSizeMax(8000);
  display.ColorPixel(1, 3, 1, false);
  QCOMPARE(Square(display, 1, 0xFF333333u), QString("###./###./###./...."));
}

void CoreDisplayTest::highlightEdges_data() {
  QTest::addColumn<int>("coreSizeMax");
  QTest::addColumn<bool>("circular");
  QTest::addColumn<int>("address");
  QTest::addColumn<QString>("square");
  auto row = [](const char* name, int s, bool circular, int a, const char* square) {
    QTest::newRow(name) << s << circular << a << QString(square);
  };
  const char* bottom8 = "......../......../......../......../......../......../########/########";
  const char* right8 = "......##/......##/......##/......##/......##/......##/......##/......##";
  row("left strip, c 8: bottom bar", 4096, true, 5, bottom8);
  row("bottom strip, c 8: right bar", 4096, true, 1100, right8);
  row("right strip, c 8: bottom bar", 4096, true, 2100, bottom8);
  row("top strip, c 8: right bar", 4096, true, 4000, right8);
  row("rectangular, c 8: bottom bar", 2048, false, 100, bottom8);
  row("left strip, c 4: bottom line", 8000, true, 100, "..../..../..../####");
  row("bottom strip, c 4: right line", 8000, true, 5000, "...#/...#/...#/...#");
  row("right strip, c 2: bottom line", 65536, true, 40000, "../##");
  row("top strip, c 2: right line", 65536, true, 60000, ".#/.#");
  row("rectangular, c 4: bottom line", 8000, false, 200, "..../..../..../####");
  row("rectangular, c 2: bottom line", 32768, false, 200, "../##");
  row("c 1: the pixel", 100000, true, 70000, "#");
}

void CoreDisplayTest::highlightEdges() {
  QFETCH(int, coreSizeMax);
  QFETCH(bool, circular);
  QFETCH(int, address);
  TCoreDisplay display;
  display.ApplyTopology(circular);
  display.SetCoreSizeMax(coreSizeMax);
  display.ColorPixel(address, 0, 0, true);
  QTEST(Square(display, address, kRed), "square");
  // Erasing the mark draws the cell again without it.
  display.ColorPixel(address, 0, 0, false);
  QCOMPARE(CountPixels(display, kRed), 0);
}

void CoreDisplayTest::paintOutsideCoreGreysTheRest_data() {
  QTest::addColumn<int>("coreSizeMax");
  QTest::addColumn<bool>("circular");
  QTest::addColumn<int>("coreSize");
  QTest::newRow("8000 circular") << 8000 << true << 8000;
  QTest::newRow("random size below the largest") << 8000 << true << 6001;
  QTest::newRow("8000 rectangular") << 8000 << false << 8000;
  QTest::newRow("full display") << 4096 << true << 4096;
  QTest::newRow("1000000 circular: nothing beyond") << 1000000 << true << 1000000;
  QTest::newRow("1000000 rectangular") << 1000000 << false << 1000000;
  QTest::newRow("262144 rectangular, odd size") << 262144 << false << 200001;
}

void CoreDisplayTest::paintOutsideCoreGreysTheRest() {
  QFETCH(int, coreSizeMax);
  QFETCH(bool, circular);
  QFETCH(int, coreSize);
  TCoreDisplay display;
  display.ApplyTopology(circular);
  display.SetCoreSizeMax(coreSizeMax);
  display.PaintOutsideCore(coreSize);
  const TDisplayGeometry& g = display.Geometry();
  const int c = g.CellSize();
  const int64_t perPixel = int64_t{1} << g.Shift();
  for (int64_t a = 0; a < g.Capacity(); a += perPixel) {
    const auto cell = g.CellOf(a);
    // A pixel is grey when any of its addresses lies beyond the core.
    const bool beyond = a + perPixel - 1 >= coreSize;
    const QRgb seen = PixelOf(display, cell->Image, cell->X + c - 1, cell->Y + c - 1);
    if (seen != (beyond ? kGrey : kBlack))
      QFAIL(qPrintable(QString("address %1 is %2").arg(a).arg(seen, 0, 16)));
  }
  const int64_t greyCells = (g.Capacity() - coreSize + perPixel - 1) / perPixel;
  QCOMPARE(int64_t(CountPixels(display, kGrey)), std::max<int64_t>(greyCells, 0) * c * c);
}

void CoreDisplayTest::clearDisplayBlackensEverything() {
  for (const bool circular : {true, false}) {
    TCoreDisplay display;
    display.ApplyTopology(circular);
    display.PaintOutsideCore(100);
    display.ColorPixel(5, 1, 1, true);
    QVERIFY(CountPixels(display, kBlack) < 512 * 256);
    display.ClearDisplay();
    QCOMPARE(CountPixels(display, kBlack), circular ? 4 * 512 * 128 : 512 * 256);
  }
}

void CoreDisplayTest::layoutOfTheTopologies() {
  TCoreDisplay display;
  auto* panel = new QWidget;
  display.SetCentre(panel);
  QCOMPARE(display.Image(1).size(), QSize(128, 512));
  QCOMPARE(display.Image(2).size(), QSize(512, 128));
  QCOMPARE(display.Image(3).size(), QSize(128, 512));
  QCOMPARE(display.Image(4).size(), QSize(512, 128));
  QCOMPARE(display.ImagePosition(1), QPoint(0, 0));
  QCOMPARE(display.ImagePosition(2), QPoint(0, 512));
  QCOMPARE(display.ImagePosition(3), QPoint(512, 128));
  QCOMPARE(display.ImagePosition(4), QPoint(128, 0));
  QCOMPARE(panel->geometry(), QRect(128, 128, 384, 384));
  const int ringWidth = display.width();

  display.ApplyTopology(false);
  QVERIFY(!display.Circular());
  for (const int hidden : {1, 2, 3})
    QVERIFY(!display.ImageVisible(hidden));
  QCOMPARE(display.Image(4).size(), QSize(512, 256));
  QCOMPARE(display.ImagePosition(4), QPoint(0, 0));
  QCOMPARE(display.width(), ringWidth - 128);
  QVERIFY(panel->geometry().top() >= 256);
  QVERIFY(!panel->geometry().intersects(QRect(0, 0, 512, 256)));
}

void CoreDisplayTest::newGeometryClearsTheImages() {
  TCoreDisplay display;
  display.SetCoreSizeMax(8000);
  display.ColorPixel(0, 1, 1, false);
  display.SetCoreSizeMax(7000); // same geometry: the picture stays
  QVERIFY(CountPixels(display, kBlack) < 4 * 512 * 128);
  display.SetCoreSizeMax(4000);
  QCOMPARE(CountPixels(display, kBlack), 4 * 512 * 128);
}

// Qt merges every pending dirty area into the next paint: cells drawn at the top speed must
// stay out of the paint that a cell drawn afterwards at a lower speed brings about.
void CoreDisplayTest::topSpeedDrawsWithoutRefreshing() {
  TCoreDisplay display;
  display.SetCoreSizeMax(8000);
  display.RebuildGlyphs({0, kFirst & 0xFFFFFF});
  display.show();
  QVERIFY(QTest::qWaitForWindowExposed(&display));
  display.repaint();
  PaintCounter counter(&display);
  display.SetFastDrawing(true);
  for (int a = 0; a < 100; ++a) // the top four lines of the left strip
    display.ColorPixel(a, 1, 1, false);
  // Noted, not drawn: a busy cell is drawn once per frame, not once per event.
  QCOMPARE(Square(display, 99, kFirst), QString("..../..../..../...."));
  display.SetFastDrawing(false);
  QCOMPARE(Square(display, 99, kFirst), QString("###./###./###./...."));
  display.ColorPixel(4096, 1, 1, false);
  QTRY_VERIFY(counter.Paints > 0);
  QVERIFY(Covers(counter.Painted, QRect(0, 512 + 124, 4, 4)));
  QVERIFY(!counter.Painted.intersects(QRect(0, 0, 128, 16)));
  // Once per batch every image is shown whole.
  display.RepaintDisplay();
  QTRY_VERIFY(Covers(counter.Painted, QRect(0, 0, 128, 640)) &&
              Covers(counter.Painted, QRect(0, 512, 640, 128)) &&
              Covers(counter.Painted, QRect(512, 0, 128, 640)) &&
              Covers(counter.Painted, QRect(0, 0, 640, 128)));
  QCOMPARE(display.grab().toImage().pixel(4 * 3, 4 * 3), kFirst);
}

// Between two frames only a cell's last event counts, in the order the events came: from
// the engine's batches and from single calls alike.
void CoreDisplayTest::topSpeedShowsEachCellsLastEvent() {
  TCoreDisplay display;
  display.SetCoreSizeMax(8000);
  display.RebuildGlyphs({0, kFirst & 0xFFFFFF, kSecond & 0xFFFFFF});
  display.SetFastDrawing(true);
  const TPixelEvent first[] = {{5, 1, 1}, {6, 1, 1}, {5, 2, 2}, {7, 1, 3}};
  display.ColorPixels(first, std::size(first));
  display.ColorPixel(6, -1, 1, false); // a warrior's next instruction, after the batch
  display.RepaintDisplay();
  const QString red = QStringList(4, "####").join('/');
  QVERIFY(Square(display, 5, kSecond).contains('#'));
  QVERIFY(!Square(display, 5, kFirst).contains('#'));
  QCOMPARE(Square(display, 6, kRed), red);
  QVERIFY(Square(display, 7, kFirst).contains('#'));
  // A cell noted with a new glyph and then with the one it shows again keeps that one.
  const TPixelEvent second[] = {{7, 2, 1}, {7, 1, 3}, {5, 1, 1}};
  const QString seven = Square(display, 7, kFirst);
  display.ColorPixels(second, std::size(second));
  display.RepaintDisplay();
  QCOMPARE(Square(display, 7, kFirst), seven);
  QCOMPARE(Square(display, 5, kFirst), QString("###./###./###./...."));
  // A highlight draws at once, after what was noted before it.
  display.ColorPixel(8, 2, 1, false);
  display.ColorPixel(8, 1, 1, true);
  QVERIFY(Square(display, 8, kFirst).contains('#'));
  QVERIFY(Square(display, 8, kRed).contains('#'));
}

// The core view's marks show at once even at the top speed.
void CoreDisplayTest::highlightsRefreshAtOnce() {
  TCoreDisplay display;
  display.SetCoreSizeMax(8000);
  display.show();
  QVERIFY(QTest::qWaitForWindowExposed(&display));
  display.repaint();
  PaintCounter counter(&display);
  display.SetFastDrawing(true);
  display.ColorPixel(0, 1, 1, true);
  QTRY_VERIFY(counter.Paints > 0);
  QVERIFY(Covers(counter.Painted, QRect(0, 0, 4, 4)));
  QVERIFY(!Covers(counter.Painted, QRect(0, 0, 128, 512)));
}

void CoreDisplayTest::clicksSelectTheCellUnderThePointer_data() {
  QTest::addColumn<int>("coreSizeMax");
  QTest::addColumn<bool>("circular");
  QTest::addColumn<int>("coreSize");
  QTest::addColumn<QPoint>("point");
  QTest::addColumn<int>("address"); // -1: no signal
  auto row = [](const char* name, int s, bool circular, int size, QPoint p, int a) {
    QTest::newRow(name) << s << circular << size << p << a;
  };
  row("left strip top left", 4096, true, 4096, {2, 2}, 0);
  row("left strip second line", 4096, true, 4096, {9, 9}, 17);
  row("bottom strip bottom left", 4096, true, 4096, {0, 639}, 1024);
  row("right strip bottom right", 4096, true, 4096, {639, 639}, 2048);
  row("top strip top right", 4096, true, 4096, {639, 0}, 3072);
  row("top strip near the left", 4096, true, 4096, {130, 2}, 4080);
  row("the panel's hole", 4096, true, 4096, {300, 300}, -1);
  row("beyond the core", 4096, true, 3000, {639, 0}, -1);
  row("bottom strip, random size below the largest", 8000, true, 6001, {0, 512 + 127 - 4 * 16},
      4096 + 16);
  row("rectangular 200", 8000, false, 8000, {289, 5}, 200);
  row("rectangular grey area", 8000, false, 8000, {511, 255}, -1);
  row("rectangular two per pixel", 262144, false, 262144, {3, 1}, 1024 + 6);
}

void CoreDisplayTest::clicksSelectTheCellUnderThePointer() {
  QFETCH(int, coreSizeMax);
  QFETCH(bool, circular);
  QFETCH(int, coreSize);
  QFETCH(QPoint, point);
  QFETCH(int, address);
  TCoreDisplay display;
  display.SetCentre(new QWidget);
  display.ApplyTopology(circular);
  display.SetCoreSizeMax(coreSizeMax);
  display.SetCoreSize(coreSize);
  QSignalSpy clicked(&display, &TCoreDisplay::CellClicked);
  QTest::mouseClick(&display, Qt::LeftButton, {}, point);
  if (address < 0) {
    QCOMPARE(clicked.count(), 0);
    return;
  }
  QCOMPARE(clicked.count(), 1);
  QCOMPARE(clicked.at(0).at(0).toInt(), address);
}

void CoreDisplayTest::pressAndReleaseOnDifferentImagesIsNoClick() {
  TCoreDisplay display;
  display.SetCoreSize(8000);
  QSignalSpy clicked(&display, &TCoreDisplay::CellClicked);
  QTest::mousePress(&display, Qt::LeftButton, {}, {5, 5});
  QTest::mouseRelease(&display, Qt::LeftButton, {}, {5, 600});
  QCOMPARE(clicked.count(), 0);
  QTest::mouseClick(&display, Qt::RightButton, {}, {5, 5});
  QCOMPARE(clicked.count(), 0);
  QTest::mouseClick(&display, Qt::LeftButton, {}, {5, 5});
  QCOMPARE(clicked.count(), 1);
}

void CoreDisplayTest::mainWindowTellsTheDisplayTheRoundsCoreSize() {
  test::TScriptedPlatform platform;
  TVelmoraApp app(platform);
  TMardexForm form(app);
  // After the window's creation, which confirms the Setup dialog's defaults (rectangular
  // without a default.cfg).
  app.Params.CoreSizeMax = app.Params.CoreSizeMin = 4000;
  form.ApplyTopology(true);
  QVERIFY(form.CreateEngine());
  TCoreDisplay& display = form.Display();
  QSignalSpy clicked(&display, &TCoreDisplay::CellClicked);
  // No round yet: no cell to select.
  QTest::mouseClick(&display, Qt::LeftButton, {}, {2, 2});
  QCOMPARE(clicked.count(), 0);
  form.OpenWarriorFiles(
      {VELMORA_SOURCE_DIR "/examples/imp.red", VELMORA_SOURCE_DIR "/examples/dwarf.red"});
  QCOMPARE(app.Core->CoreSize, 4000);
  QCOMPARE(display.Geometry().CellSize(), 8);
  QTest::mouseClick(&display, Qt::LeftButton, {}, {639, 0}); // 3072
  QTest::mouseClick(&display, Qt::LeftButton, {}, {130, 2}); // 4080, beyond the core
  QCOMPARE(clicked.count(), 1);
  QCOMPARE(clicked.at(0).at(0).toInt(), 3072);
}

QTEST_MAIN(CoreDisplayTest)
#include "core_display_test.moc"
