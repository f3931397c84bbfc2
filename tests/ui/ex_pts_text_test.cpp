// The execution points editor's texts and button rules, and the P-space window's lines.

#include <QtTest>

#include "ui/ex_pts_text.h"
#include "ui/pspace_text.h"

using namespace velmora;

class ExPtsTextTest : public QObject {
  Q_OBJECT
private slots:
  void processCount_data();
  void processCount();
  void addressOfLine_data();
  void addressOfLine();
  void buttonStates_data();
  void buttonStates();
  void pspaceLine_data();
  void pspaceLine();
};

void ExPtsTextTest::processCount_data() {
  QTest::addColumn<int>("count");
  QTest::addColumn<QString>("text");
  QTest::newRow("none") << 0 << "0 processes";
  QTest::newRow("one") << 1 << "1 process";
  QTest::newRow("two") << 2 << "2 processes";
  QTest::newRow("many") << 8000 << "8000 processes";
}

void ExPtsTextTest::processCount() {
  QFETCH(int, count);
  QFETCH(QString, text);
  QCOMPARE(QString::fromStdString(ProcessCountText(count)), text);
}

void ExPtsTextTest::addressOfLine_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<int>("address"); // -1: none
  QTest::newRow("short") << "      5 MOV.I  $      0,  $      1" << 5;
  QTest::newRow("wide") << "1234567 DAT.F  $      0,  $      0" << 1234567;
  QTest::newRow("empty") << "" << -1;
  QTest::newRow("blank") << "   " << -1;
  QTest::newRow("text") << "  MOV.I" << -1;
}

void ExPtsTextTest::addressOfLine() {
  QFETCH(QString, line);
  QFETCH(int, address);
  const std::optional<int32_t> read = ProcessAddressOfLine(line.toStdString());
  QCOMPARE(read.value_or(-1), address);
}

void ExPtsTextTest::buttonStates_data() {
  QTest::addColumn<int>("selected");
  QTest::addColumn<int>("count");
  // Delete, Edit, Roll to Top, Move Up, Move Down.
  QTest::addColumn<QString>("enabled");
  QTest::newRow("empty list") << -1 << 0 << "00000";
  QTest::newRow("one line") << 0 << 1 << "11000";
  QTest::newRow("first of three") << 0 << 3 << "11001";
  QTest::newRow("middle of three") << 1 << 3 << "11111";
  QTest::newRow("last of three") << 2 << 3 << "11110";
  QTest::newRow("none of three") << -1 << 3 << "00001";
  QTest::newRow("none of one") << -1 << 1 << "00000";
}

void ExPtsTextTest::buttonStates() {
  QFETCH(int, selected);
  QFETCH(int, count);
  QFETCH(QString, enabled);
  const TExPtsButtons b = ExPtsButtonStates(selected, count);
  QString seen;
  for (bool on : {b.Delete, b.Edit, b.RollToTop, b.MoveUp, b.MoveDown})
    seen += on ? '1' : '0';
  QCOMPARE(seen, enabled);
}

void ExPtsTextTest::pspaceLine_data() {
  QTest::addColumn<int>("location");
  QTest::addColumn<int>("value");
  QTest::addColumn<int>("coreSize");
  QTest::addColumn<QString>("line");
  QTest::newRow("zero") << 0 << 0 << 8000 << "       0       0";
  QTest::newRow("last result") << 0 << 7999 << 8000 << "       0      -1";
  QTest::newRow("top tenth") << 499 << 7201 << 8000 << "     499    -799";
  QTest::newRow("below the top tenth") << 12 << 7200 << 8000 << "      12    7200";
  QTest::newRow("wide location") << 123456789 << 3 << 8000 << "123456789       3";
}

void ExPtsTextTest::pspaceLine() {
  QFETCH(int, location);
  QFETCH(int, value);
  QFETCH(int, coreSize);
  QFETCH(QString, line);
  QCOMPARE(QString::fromStdString(PSpaceLine(location, value, coreSize)), line);
}

QTEST_MAIN(ExPtsTextTest)
#include "ex_pts_text_test.moc"
