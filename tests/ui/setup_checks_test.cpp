// The Setup dialog's plain logic: field checks with the values put back, the list
// operations, what the dialog shows of the records and what confirming stores.

#include <QtTest>

#include "tests/ui/support/named_warriors.h"
#include "ui/setup_checks.h"
#include "ui/setup_confirm.h"
#include "ui/setup_lists.h"

using namespace velmora;

namespace {

using test::Named;

QString Names(const std::vector<TWarriorData>& list) {
  QStringList names;
  for (const TWarriorData& w : list)
    names << QString::fromStdString(w.Name);
  return names.join(",");
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

class SetupChecksTest : public QObject {
  Q_OBJECT
private slots:
  void fieldCheckPutsTheValidValueBack_data();
  void fieldCheckPutsTheValidValueBack();
  void coreSizeFailureResetsBothFields();
  void everyFieldStopsAtTheFirstFailure();
  void fieldsThatDoNotCountPass();
  void permutateRoundsText();
  void challengerMovesToTheFront_data();
  void challengerMovesToTheFront();
  void removeSelectsTheEntryBeforeTheLowest_data();
  void removeSelectsTheEntryBeforeTheLowest();
  void sortIgnoresCaseAndKeepsEqualNamesInOrder();
  void fieldsFromRecordsKeepChosenLimits();
  void storeNumbersTheListsAndTakesTheTournament();
  void storeMakesASingleWarriorAMelee();
  void storeKeepsNoBenchmarkOutsideABenchmark();
};

void SetupChecksTest::fieldCheckPutsTheValidValueBack_data() {
  QTest::addColumn<int>("field");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("warriors");
  QTest::addColumn<QString>("message"); // empty: accepted
  QTest::addColumn<QString>("after");
  using F = SetupField;
  auto row = [](const char* name, F field, const char* text, const char* message, const char* after,
                int warriors = 2) {
    QTest::newRow(name) << int(field) << text << warriors << message << after;
  };
  row("core size hex", F::CoreSize, "$1F40", "", "$1F40");
  row("core size leading blank", F::CoreSize, " 8000", "", " 8000");
  row("core size trailing blank", F::CoreSize, "8000 ", "Core size must be a number", "8000");
  row("core size 16", F::CoreSize, "16", "", "16");
  row("core size 15", F::CoreSize, "15", "Core size must be at least 16", "8000");
  row("core size largest", F::CoreSize, "134217727", "", "134217727");
  row("core size too large", F::CoreSize, "134217728", "Core size must be less than $8000000",
      "8000");
  row("max cycles largest", F::MaxCycles, "2147483646", "", "2147483646");
  row("max cycles 2^31-1", F::MaxCycles, "2147483647", "Max Cycles must be less than $80000000",
      "12345");
  row("max cycles 0", F::MaxCycles, "0", "Max Cycles must be at least 1", "12345");
  row("max cycles text", F::MaxCycles, "many", "Max Cycles must be a number", "12345");
  row("processes 0", F::MaxProcesses, "0", "Max Processes must be at least 1", "321");
  row("processes 2^31-1", F::MaxProcesses, "2147483647", "Max Processes must not exceed $80000000",
      "321");
  row("processes text", F::MaxProcesses, "x", "Max Processes must be a number", "321");
  row("distance -1", F::MinDistance, "-1", "Min Distance must be at least 0", "77");
  row("distance 2^31-1", F::MinDistance, "2147483647", "Min Distance must be less than $80000000",
      "77");
  row("distance text", F::MinDistance, "", "Min Distance must be a number", "77");
  row("rounds 0", F::Rounds, "0", "Number of rounds must be at least 1", "9");
  row("rounds sentinel", F::Rounds, "-93845", "Number of rounds must be a number", "9");
  row("rounds 2^31-1", F::Rounds, "2147483647", "Number of rounds must not exceed $80000000", "9");
  row("read limit text", F::ReadLimit, "half", "Read Limit must be a number", "8000");
  row("read limit 0", F::ReadLimit, "0", "Read Limit must be at least 1", "1");
  row("read limit above core", F::ReadLimit, "8001", "Read Limit must not exceed Core Size",
      "8000");
  row("read limit 500", F::ReadLimit, "500", "", "500");
  row("write limit text", F::WriteLimit, "?", "Write Limit must be a number", "8000");
  row("write limit 0", F::WriteLimit, "0", "Write Limit must be at least 1", "1");
  row("write limit above core", F::WriteLimit, "9000", "Write Limit must not exceed Core Size",
      "8000");
  row("pspace text", F::PSpace, "?", "PSpace Size must be a number", "8000");
  row("pspace 0", F::PSpace, "0", "PSpace Size must be at least 1", "1");
  row("pspace above core", F::PSpace, "8001", "PSpace Size must not exceed Core Size", "8000");
  row("max length fits two", F::MaxLength, "1000", "", "1000");
  row("max length too large for ten", F::MaxLength, "1000",
      "Max Length too large to load all Warriors", "55", 10);
  row("max length 0", F::MaxLength, "0", "Max Length must be at least 1", "1");
  row("max length text", F::MaxLength, "long", "Max Length must be a number", "55");
  row("max length of an empty melee", F::MaxLength, "7999", "", "7999", 0);
  row("position 100", F::FixedPosition, "100", "", "100");
  row("position 7900", F::FixedPosition, "7900", "", "7900");
  row("position 99", F::FixedPosition, "99",
      "Second warrior position must be at least Max Distance", "100");
  row("position 7901", F::FixedPosition, "7901",
      "Second warrior position must not exceed Core Size minus Max Distance", "100");
  row("position text", F::FixedPosition, "mid", "Second warrior position must be a number", "100");
  row("seed text", F::FixedSeed, "abc", "RNG Seed must be a number", "0");
  row("seed negative", F::FixedSeed, "-1", "RNG Seed must be between 0 and 2147483646", "0");
  row("seed 2^31-1", F::FixedSeed, "2147483647", "RNG Seed must be between 0 and 2147483646", "0");
  row("seed largest", F::FixedSeed, "2147483646", "", "2147483646");
}

void SetupChecksTest::fieldCheckPutsTheValidValueBack() {
  QFETCH(int, field);
  QFETCH(QString, text);
  QFETCH(int, warriors);
  QFETCH(QString, message);
  QFETCH(QString, after);
  const auto f = static_cast<SetupField>(field);
  TSetupFields fields;
  FieldText(f, fields) = text.toStdString();
  const auto result = CheckSetupField(f, fields, warriors, Stored());
  QCOMPARE(QString::fromStdString(result.value_or("")), message);
  QCOMPARE(QString::fromStdString(FieldText(f, fields)), after);
}

void SetupChecksTest::coreSizeFailureResetsBothFields() {
  TSetupFields f;
  f.RandomCoreSize = true;
  f.MinCoreSizeText = "9000";
  f.CoreSizeText = "8500";
  auto m = CheckSetupField(SetupField::CoreSize, f, 2, Stored());
  QCOMPARE(m.value_or(""),
           std::string("Maximum core size must not be less than the minimum core size"));
  // The minimum exceeds the stored 8000, so the core size takes the minimum's text.
  QCOMPARE(f.CoreSizeText, std::string("9000"));
  QCOMPARE(f.MinCoreSizeText, std::string("8000"));

  f.CoreSizeText = "8000";
  f.MinCoreSizeText = "nine";
  m = CheckSetupField(SetupField::MinCoreSize, f, 2, Stored());
  QCOMPARE(m.value_or(""), std::string("Minimum core size must be a number"));
  QCOMPARE(f.MinCoreSizeText, std::string("8000"));

  f.CoreSizeText = "4000";
  f.MinCoreSizeText = "5000";
  m = CheckSetupField(SetupField::MinCoreSize, f, 2, Stored());
  QCOMPARE(m.value_or(""), std::string("Minimum core size must not exceed the maximum core size"));
  // The core size is below the stored minimum, so the minimum takes its text.
  QCOMPARE(f.MinCoreSizeText, std::string("4000"));
  QCOMPARE(f.CoreSizeText, std::string("8000"));
}

void SetupChecksTest::everyFieldStopsAtTheFirstFailure() {
  TSetupFields f;
  f.RoundsText = "none";
  f.MaxCyclesText = "x";
  f.FixedSeedText = "y";
  f.SeedMode = 0;
  auto failure = CheckEverySetupField(f, 2, Stored());
  QVERIFY(failure);
  QCOMPARE(int(failure->Field), int(SetupField::MaxCycles));
  QCOMPARE(failure->Message, std::string("Max Cycles must be a number"));
  QCOMPARE(f.MaxCyclesText, std::string("12345"));
  QCOMPARE(f.RoundsText, std::string("none"));
  failure = CheckEverySetupField(f, 2, Stored());
  QVERIFY(failure);
  QCOMPARE(int(failure->Field), int(SetupField::Rounds));
  failure = CheckEverySetupField(f, 2, Stored());
  QVERIFY(failure);
  QCOMPARE(int(failure->Field), int(SetupField::FixedSeed));
  QVERIFY(!CheckEverySetupField(f, 2, Stored()));
}

void SetupChecksTest::fieldsThatDoNotCountPass() {
  TSetupFields f;
  f.MinCoreSizeText = "x";   // fixed core size
  f.ReadLimit = {1, "x"};    // chosen from the list
  f.FixedPositionText = "x"; // random position
  f.FixedSeedText = "x";     // random seed
  QVERIFY(!CheckEverySetupField(f, 2, Stored()));
  QCOMPARE(f.MinCoreSizeText, std::string("x"));
}

void SetupChecksTest::permutateRoundsText() {
  TSetupFields f;
  QCOMPARE(PermutateRoundsText(f).value_or(""), std::string("15602"));
  f.MinDistanceText = "far";
  QVERIFY(!PermutateRoundsText(f));
}

void SetupChecksTest::challengerMovesToTheFront_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("after");
  QTest::newRow("C of A, B, C") << 2 << "C,B,A";
  QTest::newRow("B of A, B, C") << 1 << "B,A,C";
  QTest::newRow("already first") << 0 << "A,B,C";
  QTest::newRow("out of range") << 3 << "A,B,C";
  QTest::newRow("none") << -1 << "A,B,C";
}

void SetupChecksTest::challengerMovesToTheFront() {
  QFETCH(int, index);
  QFETCH(QString, after);
  auto list = Named({"A", "B", "C"});
  MoveChallengerFirst(list, index);
  QCOMPARE(Names(list), after);
}

void SetupChecksTest::removeSelectsTheEntryBeforeTheLowest_data() {
  QTest::addColumn<QList<int>>("remove");
  QTest::addColumn<QString>("after");
  QTest::addColumn<int>("selected");
  QTest::newRow("1 and 3 of five") << QList<int>{3, 1} << "A,C,E" << 0;
  QTest::newRow("only 4") << QList<int>{4} << "A,B,C,D" << 3;
  QTest::newRow("the first") << QList<int>{0} << "B,C,D,E" << 0;
  QTest::newRow("2, 3, 4") << QList<int>{2, 3, 4} << "A,B" << 1;
  QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4} << "" << -1;
  QTest::newRow("repeats and out of range") << QList<int>{2, 2, 7, -1} << "A,B,D,E" << 1;
}

void SetupChecksTest::removeSelectsTheEntryBeforeTheLowest() {
  QFETCH(QList<int>, remove);
  QFETCH(QString, after);
  QFETCH(int, selected);
  auto list = Named({"A", "B", "C", "D", "E"});
  QCOMPARE(RemoveWarriorEntries(list, std::vector<int32_t>(remove.begin(), remove.end())),
           selected);
  QCOMPARE(Names(list), after);
}

void SetupChecksTest::sortIgnoresCaseAndKeepsEqualNamesInOrder() {
  auto list = Named({"dwarf", "Imp", "Bomber", "imp", "aardvark"});
  list[1].Author = "first";
  list[3].Author = "second";
  SortWarriorsByName(list);
  QCOMPARE(Names(list), QString("aardvark,Bomber,dwarf,Imp,imp"));
  QCOMPARE(list[3].Author, std::string("first"));
}

void SetupChecksTest::fieldsFromRecordsKeepChosenLimits() {
  TSetupFields confirmed;
  confirmed.ReadLimit = {2, ""};
  confirmed.WriteLimit = {-1, "400"};
  confirmed.InitialInstruction = "JMP 0";
  TParamsRec p;
  p.CoreSizeMax = 8192;
  p.ReadLimit = 512;
  p.WriteLimit = 300;
  p.MaxCycles = 5000;
  p.SecondPosition = 4000;
  p.SeedMode = kSeedChecksum;
  p.InitialInstruction = "MOV 0, 1";
  TTournamentRec rec;
  rec.Rounds = 42;
  rec.TournamentType = Challenge;
  rec.ScoreFormula = "W";
  const TSetupFields f = FieldsFromRecords(confirmed, p, rec);
  QCOMPARE(f.ReadLimit.Item, 2);
  QCOMPARE(f.WriteLimit.Item, -1);
  QCOMPARE(f.WriteLimit.Text, std::string("300"));
  QCOMPARE(f.CoreSizeText, std::string("8192"));
  QCOMPARE(f.MinCoreSizeText, std::string("8192"));
  QCOMPARE(f.MaxCyclesText, std::string("5000"));
  QCOMPARE(f.SecondPosition, 0);
  QCOMPARE(f.FixedPositionText, std::string("4000"));
  QCOMPARE(f.SeedMode, kSeedChecksum);
  QCOMPARE(f.RoundsText, std::string("42"));
  QCOMPARE(f.TournamentType, int32_t(Challenge));
  QCOMPARE(f.ScoreFormula, std::string("W"));
  QCOMPARE(f.InitialInstruction, std::string("MOV 0, 1"));
}

void SetupChecksTest::storeNumbersTheListsAndTakesTheTournament() {
  TSetupFields f;
  f.TournamentType = Benchmark;
  f.RoundsText = "$10";
  f.SelfFights = true;
  f.PauseBetweenRounds = true;
  f.ScoreFormula = "W*3+T";
  f.CoreSizeText = "800";
  f.ReadLimit = {1, ""};
  TParamsRec params;
  TTournament tour;
  TSetupFields confirmed;
  const auto outcome =
      StoreSetup(f, Named({"A", "B", "C"}), Named({"X", "Y"}), params, tour, confirmed);
  QVERIFY(!outcome.MadeMelee);
  QCOMPARE(tour.WarriorList.size(), size_t(3));
  QCOMPARE(tour.WarriorList[2].ID, 3);
  QCOMPARE(tour.Rec.WarriorCount, 3);
  QCOMPARE(tour.BenchmarkList[1].ID, 2);
  QCOMPARE(tour.Rec.BenchmarkCount, 2);
  QCOMPARE(tour.Rec.TournamentType, uint8_t(Benchmark));
  QCOMPARE(tour.Rec.Rounds, 16);
  QVERIFY(tour.Rec.SelfFights);
  QVERIFY(tour.Rec.PauseBetweenRounds);
  QCOMPARE(tour.Rec.ScoreFormula, std::string("W*3+T"));
  QCOMPARE(params.CoreSizeMax, 800);
  QCOMPARE(params.ReadLimit, 200);
  QCOMPARE(confirmed.RoundsText, std::string("$10"));
}

void SetupChecksTest::storeMakesASingleWarriorAMelee() {
  TSetupFields f;
  f.TournamentType = RoundRobin;
  f.CircularDisplay = true;
  TParamsRec params;
  params.CircularDisplay = false;
  TTournament tour;
  TSetupFields confirmed;
  const auto outcome = StoreSetup(f, Named({"A"}), {}, params, tour, confirmed);
  QVERIFY(outcome.MadeMelee);
  QVERIFY(outcome.TopologyChanged);
  QCOMPARE(tour.Rec.TournamentType, uint8_t(Melee));
  QCOMPARE(confirmed.TournamentType, int32_t(Melee));
  // One warrior against a benchmark stays a benchmark.
  f.TournamentType = Benchmark;
  QVERIFY(!StoreSetup(f, Named({"A"}), Named({"X"}), params, tour, confirmed).MadeMelee);
  QCOMPARE(tour.Rec.TournamentType, uint8_t(Benchmark));
}

void SetupChecksTest::storeKeepsNoBenchmarkOutsideABenchmark() {
  TSetupFields f;
  f.TournamentType = Melee;
  TParamsRec params;
  params.CircularDisplay = f.CircularDisplay;
  TTournament tour;
  tour.Rec.BenchmarkCount = 4;
  TSetupFields confirmed;
  const auto outcome = StoreSetup(f, {}, Named({"X"}), params, tour, confirmed);
  QVERIFY(!outcome.MadeMelee); // no warrior at all is not the single-warrior case
  QVERIFY(!outcome.TopologyChanged);
  QCOMPARE(tour.Rec.BenchmarkCount, 0);
  QCOMPARE(tour.Rec.WarriorCount, 0);
}

QTEST_MAIN(SetupChecksTest)
#include "setup_checks_test.moc"
