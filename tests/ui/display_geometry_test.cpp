// Where the core display draws each address, the address of a clicked pixel, the glyph
// masks and the colour numbers.

#include <QtTest>

#include <vector>

#include "ui/display_geometry.h"

using namespace velmora;

Q_DECLARE_METATYPE(velmora::TDisplayPoint)

namespace {

// The images a topology shows.
std::vector<int32_t> ShownImages(bool circular) {
  return circular ? std::vector<int32_t>{1, 2, 3, 4} : std::vector<int32_t>{4};
}

} // namespace

class DisplayGeometryTest : public QObject {
  Q_OBJECT
private slots:
  void sizeRows_data();
  void sizeRows();
  void cellOfAddress_data();
  void cellOfAddress();
  void addressesBeyondTheCapacityAreNotDrawn();
  void everyAddressRoundTrips_data();
  void everyAddressRoundTrips();
  void cellsTileTheImages_data();
  void cellsTileTheImages();
  void clickOnTheTopStripOfA4096Core();
  void twoAddressesPerPixelAt262144();
  void pixelsOutsideTheShownImagesHaveNoAddress();
  void glyphMasks_data();
  void glyphMasks();
  void colourNumbers_data();
  void colourNumbers();
};

void DisplayGeometryTest::sizeRows_data() {
  QTest::addColumn<int>("coreSizeMax");
  QTest::addColumn<bool>("circular");
  QTest::addColumn<int>("cellSize");
  QTest::addColumn<int>("lineLength");
  QTest::addColumn<qint64>("capacity");
  QTest::addColumn<int>("shift");
  auto row = [](const char* name, int s, bool circular, int c, int l, qint64 cap, int k) {
    QTest::newRow(name) << s << circular << c << l << cap << k;
  };
  row("circular 2048", 2048, true, 8, 16, 4096, 0);
  row("circular 4096", 4096, true, 8, 16, 4096, 0);
  row("circular 4097", 4097, true, 4, 32, 16384, 0);
  row("circular 8000", 8000, true, 4, 32, 16384, 0);
  row("circular 8192", 8192, true, 4, 32, 16384, 0);
  row("circular 16384", 16384, true, 4, 32, 16384, 0);
  row("circular 16385", 16385, true, 2, 64, 65536, 0);
  row("circular 32768", 32768, true, 2, 64, 65536, 0);
  row("circular 65536", 65536, true, 2, 64, 65536, 0);
  row("circular 65537", 65537, true, 1, 128, 262144, 0);
  row("circular 131072", 131072, true, 1, 128, 262144, 0);
  row("circular 262144", 262144, true, 1, 128, 262144, 0);
  row("circular 1000000", 1000000, true, 1, 128, 262144, 0);
  row("rectangular 1", 1, false, 8, 64, 2048, 0);
  row("rectangular 2048", 2048, false, 8, 64, 2048, 0);
  row("rectangular 2049", 2049, false, 4, 128, 8192, 0);
  row("rectangular 4096", 4096, false, 4, 128, 8192, 0);
  row("rectangular 8000", 8000, false, 4, 128, 8192, 0);
  row("rectangular 8192", 8192, false, 4, 128, 8192, 0);
  row("rectangular 8193", 8193, false, 2, 256, 32768, 0);
  row("rectangular 16384", 16384, false, 2, 256, 32768, 0);
  row("rectangular 32768", 32768, false, 2, 256, 32768, 0);
  row("rectangular 32769", 32769, false, 1, 512, 131072, 0);
  row("rectangular 65536", 65536, false, 1, 512, 131072, 0);
  row("rectangular 131072", 131072, false, 1, 512, 131072, 0);
  row("rectangular 131073", 131073, false, 1, 1024, 262144, 1);
  row("rectangular 262144", 262144, false, 1, 1024, 262144, 1);
  // The whole core fits: the power of two is rounded up, not down.
  row("rectangular 262145", 262145, false, 1, 2048, 524288, 2);
  row("rectangular 1000000", 1000000, false, 1, 4096, 1048576, 3);
  row("rectangular 134217727", 134217727, false, 1, 512 << 10, qint64(131072) << 10, 10);
}

void DisplayGeometryTest::sizeRows() {
  QFETCH(int, coreSizeMax);
  QFETCH(bool, circular);
  const TDisplayGeometry g(coreSizeMax, circular);
  QCOMPARE(g.Circular(), circular);
  QTEST(g.CellSize(), "cellSize");
  QTEST(g.LineLength(), "lineLength");
  QTEST(qint64(g.Capacity()), "capacity");
  QTEST(g.Shift(), "shift");
  QVERIFY(g.Capacity() >= qint64(std::min(coreSizeMax, circular ? 262144 : coreSizeMax)));
}

void DisplayGeometryTest::cellOfAddress_data() {
  QTest::addColumn<int>("coreSizeMax");
  QTest::addColumn<bool>("circular");
  QTest::addColumn<qint64>("address");
  QTest::addColumn<TDisplayPoint>("cell");
  auto row = [](const char* name, int s, bool circular, qint64 a, TDisplayPoint p) {
    QTest::newRow(name) << s << circular << a << p;
  };
  row("8000 circular: 0 top left of the left strip", 8000, true, 0, {1, 0, 0});
  row("8000 circular: 1 inwards", 8000, true, 1, {1, 4, 0});
  row("8000 circular: 32 next line down", 8000, true, 32, {1, 0, 4});
  row("8000 circular: 4096 bottom left of the bottom strip", 8000, true, 4096, {2, 0, 124});
  row("8000 circular: 4097 upwards", 8000, true, 4097, {2, 0, 120});
  // Round the ring at c = 8: each strip begins at the corner where the last one ended.
  row("4096: 1023 bottom right of the left strip", 4096, true, 1023, {1, 120, 504});
  row("4096: 1024 bottom left of the bottom strip", 4096, true, 1024, {2, 0, 120});
  row("4096: 2047 top right of the bottom strip", 4096, true, 2047, {2, 504, 0});
  row("4096: 2048 bottom right of the right strip", 4096, true, 2048, {3, 120, 504});
  row("4096: 3071 top left of the right strip", 4096, true, 3071, {3, 0, 0});
  row("4096: 3072 top right of the top strip", 4096, true, 3072, {4, 504, 0});
  row("4096: 4095 bottom left of the top strip", 4096, true, 4095, {4, 0, 120});
  row("1000000 circular: 262143", 1000000, true, 262143, {4, 0, 127});
  row("8000 rectangular: 200", 8000, false, 200, {4, 288, 4});
  row("8000 rectangular: 8191", 8000, false, 8191, {4, 508, 252});
  row("2048 rectangular: 65", 2048, false, 65, {4, 8, 8});
  row("32768 rectangular: 257", 32768, false, 257, {4, 2, 2});
  row("100000 rectangular: 513", 100000, false, 513, {4, 1, 1});
  row("262144 rectangular: 1025", 262144, false, 1025, {4, 0, 1});
  row("262144 rectangular: 262143", 262144, false, 262143, {4, 511, 255});
}

void DisplayGeometryTest::cellOfAddress() {
  QFETCH(int, coreSizeMax);
  QFETCH(bool, circular);
  QFETCH(qint64, address);
  QFETCH(TDisplayPoint, cell);
  const auto seen = TDisplayGeometry(coreSizeMax, circular).CellOf(address);
  QVERIFY(seen.has_value());
  QCOMPARE(seen->Image, cell.Image);
  QCOMPARE(seen->X, cell.X);
  QCOMPARE(seen->Y, cell.Y);
}

void DisplayGeometryTest::addressesBeyondTheCapacityAreNotDrawn() {
  QVERIFY(!TDisplayGeometry(1000000, true).CellOf(262144));
  QVERIFY(!TDisplayGeometry(1000000, true).CellOf(999999));
  QVERIFY(!TDisplayGeometry(8000, true).CellOf(-1));
  QVERIFY(!TDisplayGeometry(8000, false).CellOf(8192));
  QVERIFY(TDisplayGeometry(1000000, false).CellOf(999999));
}

void DisplayGeometryTest::everyAddressRoundTrips_data() {
  QTest::addColumn<int>("coreSizeMax");
  QTest::addColumn<bool>("circular");
  for (const int size : {55, 2048, 4096, 8000, 16384, 55440, 65536, 100000, 262144, 1000000})
    for (const bool circular : {true, false})
      QTest::addRow("%d %s", size, circular ? "circular" : "rectangular") << size << circular;
}

// Every pixel of an address's square leads back to it (to the first address of its pixel
// when a pixel stands for several).
void DisplayGeometryTest::everyAddressRoundTrips() {
  QFETCH(int, coreSizeMax);
  QFETCH(bool, circular);
  const TDisplayGeometry g(coreSizeMax, circular);
  const int32_t c = g.CellSize();
  const int64_t perPixel = int64_t{1} << g.Shift();
  const int64_t drawn = std::min<int64_t>(coreSizeMax, g.Capacity());
  for (int64_t a = 0; a < drawn; ++a) {
    const auto cell = g.CellOf(a);
    if (!cell) QFAIL(qPrintable(QString("address %1 not drawn").arg(a)));
    for (int32_t dy = 0; dy < c; ++dy)
      for (int32_t dx = 0; dx < c; ++dx) {
        const int64_t back = g.AddressAt(cell->Image, cell->X + dx, cell->Y + dy);
        if (back != a - a % perPixel)
          QFAIL(qPrintable(QString("address %1 pixel (%2, %3) of image %4 gives %5")
                               .arg(a)
                               .arg(cell->X + dx)
                               .arg(cell->Y + dy)
                               .arg(cell->Image)
                               .arg(back)));
      }
  }
}

void DisplayGeometryTest::cellsTileTheImages_data() {
  QTest::addColumn<int>("coreSizeMax");
  QTest::addColumn<bool>("circular");
  for (const int size : {4096, 16384, 65536, 262144})
    QTest::addRow("%d circular", size) << size << true;
  for (const int size : {2048, 8192, 32768, 131072, 262144})
    QTest::addRow("%d rectangular", size) << size << false;
}

// The capacity covers every pixel of the shown images, each as often as a pixel has
// addresses, and no pixel outside them.
void DisplayGeometryTest::cellsTileTheImages() {
  QFETCH(int, coreSizeMax);
  QFETCH(bool, circular);
  const TDisplayGeometry g(coreSizeMax, circular);
  const int32_t c = g.CellSize();
  std::vector<std::vector<int>> hits(5);
  for (const int32_t image : ShownImages(circular)) {
    const TDisplaySize size = DisplayImageSize(image, circular);
    hits[size_t(image)].assign(size_t(size.Width) * size_t(size.Height), 0);
  }
  for (int64_t a = 0; a < g.Capacity(); ++a) {
    const auto cell = g.CellOf(a);
    QVERIFY(cell);
    const TDisplaySize size = DisplayImageSize(cell->Image, circular);
    QVERIFY(cell->X >= 0 && cell->Y >= 0);
    QVERIFY(cell->X + c <= size.Width && cell->Y + c <= size.Height);
    for (int32_t dy = 0; dy < c; ++dy)
      for (int32_t dx = 0; dx < c; ++dx)
        ++hits[size_t(cell->Image)]
              [size_t(cell->Y + dy) * size_t(size.Width) + size_t(cell->X + dx)];
  }
  const int perPixel = 1 << g.Shift();
  for (const int32_t image : ShownImages(circular))
    for (const int n : hits[size_t(image)])
      QCOMPARE(n, perPixel);
}

void DisplayGeometryTest::clickOnTheTopStripOfA4096Core() {
  const TDisplayGeometry g(4096, true);
  for (int32_t y = 0; y < 128; ++y)
    for (int32_t x = 0; x < 512; ++x) {
      const int64_t a = g.AddressAt(4, x, y);
      QVERIFY(a >= 3072 && a <= 4095);
    }
  QCOMPARE(g.AddressAt(4, 511, 0), 3072);
  QCOMPARE(g.AddressAt(4, 0, 127), 4095);
}

void DisplayGeometryTest::twoAddressesPerPixelAt262144() {
  const TDisplayGeometry g(262144, false);
  QCOMPARE(g.Shift(), 1);
  for (const int64_t a : {0, 2, 1000, 262142}) {
    QCOMPARE(g.CellOf(a), g.CellOf(a + 1));
    QVERIFY(g.CellOf(a) != g.CellOf(a + 2));
  }
  QCOMPARE(g.AddressAt(4, 1, 0), 2);
  QCOMPARE(g.AddressAt(4, 0, 1), 1024);
}

void DisplayGeometryTest::pixelsOutsideTheShownImagesHaveNoAddress() {
  const TDisplayGeometry circular(8000, true), rectangular(8000, false);
  QCOMPARE(circular.AddressAt(1, 128, 0), -1);
  QCOMPARE(circular.AddressAt(2, 0, 128), -1);
  QCOMPARE(circular.AddressAt(4, -1, 0), -1);
  QCOMPARE(circular.AddressAt(0, 0, 0), -1);
  QCOMPARE(circular.AddressAt(5, 0, 0), -1);
  for (const int32_t image : {1, 2, 3})
    QCOMPARE(rectangular.AddressAt(image, 0, 0), -1);
  QCOMPARE(rectangular.AddressAt(4, 0, 256), -1);
  QCOMPARE(rectangular.AddressAt(4, 511, 255), 8191);
}

void DisplayGeometryTest::glyphMasks_data() {
  QTest::addColumn<int>("cellSize");
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("rows");
  auto row = [](int c, int kind, const char* rows) {
    QTest::addRow("c %d kind %d", c, kind) << c << kind << QString(rows);
  };
  row(8, 1, "#######./#######./#######./#######./#######./#######./#######./........");
  row(8, 2, "##...##./.##.##../..###.../..###.../.##.##../##...##./#.....#./........");
  row(8, 3, "...##.../...##.../.######./.######./...##.../...##.../......../........");
  row(8, 4, "......../......../.######./.######./......../......../......../........");
  row(8, 5, "......../......../...##.../...##.../......../......../......../........");
  row(4, 1, "###./###./###./....");
  row(4, 2, "#.#./.#../#.#./....");
  row(4, 3, ".#../###./.#../....");
  row(4, 4, "..../###./..../....");
  row(4, 5, "..../.#../..../....");
  row(2, 1, "##/##");
  row(2, 2, ".#/#.");
  row(2, 3, ".#/.#");
  row(2, 4, "../##");
  row(2, 5, "../.#");
  for (int kind = 1; kind <= 5; ++kind)
    row(1, kind, "#");
}

void DisplayGeometryTest::glyphMasks() {
  QFETCH(int, cellSize);
  QFETCH(int, kind);
  QFETCH(QString, rows);
  QStringList seen;
  for (int y = 0; y < cellSize; ++y) {
    QString line;
    for (int x = 0; x < cellSize; ++x)
      line += GlyphMaskPixel(cellSize, kind, x, y) ? '#' : '.';
    seen << line;
  }
  QCOMPARE(seen.join('/'), rows);
  QVERIFY(!GlyphMaskPixel(cellSize, kind, cellSize, 0));
  QVERIFY(!GlyphMaskPixel(cellSize, kind, 0, -1));
  QVERIFY(!GlyphMaskPixel(cellSize, 0, 0, 0));
  QVERIFY(!GlyphMaskPixel(cellSize, 6, 0, 0));
}

void DisplayGeometryTest::colourNumbers_data() {
  QTest::addColumn<int>("color");
  QTest::addColumn<int>("drawn"); // -99: nothing
  QTest::newRow("1") << 1 << 1;
  QTest::newRow("8") << 8 << 8;
  QTest::newRow("9 is 1") << 9 << 1;
  QTest::newRow("10 is 2") << 10 << 2;
  QTest::newRow("16 is 8, not untouched black") << 16 << 8;
  QTest::newRow("17 is 1") << 17 << 1;
  QTest::newRow("red") << -1 << -1;
  QTest::newRow("black") << 0 << 0;
  QTest::newRow("grey") << -2 << -2;
  QTest::newRow("-3 has none") << -3 << -99;
}

void DisplayGeometryTest::colourNumbers() {
  QFETCH(int, color);
  QFETCH(int, drawn);
  QCOMPARE(DisplayColour(color).value_or(-99), drawn);
}

QTEST_MAIN(DisplayGeometryTest)
#include "display_geometry_test.moc"
