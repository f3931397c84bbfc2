// The Setup dialog's files and engine: the settings questions and files, warrior lists with
// the sources of new warriors, the initial instruction's test compile and the engine's
// parameters while editing.

#include <QtTest>

#include <QTemporaryDir>

#include <fstream>

#include "params/settings_file.h"
#include "tests/ui/support/named_warriors.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/setup_engine.h"
#include "ui/setup_files.h"

using namespace velmora;

namespace {

using test::Named;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

class SetupFilesTest : public QObject {
  Q_OBJECT
private slots:
  void settingsQuestions_data();
  void settingsQuestions();
  void settingsSavedWithTheRecordsInForce();
  void missingSettingsFileGivesTheDefaults();
  void refusedSettingsLinesAreReportedTogether();
  void failedSaveIsReported();
  void warriorListSavesSourcesOfNewWarriors();
  void cancelledWarriorListWritesNothing();
  void initialInstructionCompiles_data();
  void initialInstructionCompiles();
  void engineParametersComeBackAfterEditing();
};

void SetupFilesTest::settingsQuestions_data() {
  QTest::addColumn<bool>("save");
  QTest::addColumn<int>("answer");
  QTest::addColumn<QString>("chosen"); // file dialog's answer, empty: cancelled
  QTest::addColumn<QString>("path");   // empty: nothing
  QTest::addColumn<QString>("dialog"); // title of the file dialog shown, if any
  QTest::newRow("save default") << true << int(Answer::Yes) << ""
                                << "/start/default.cfg"
                                << "";
  QTest::newRow("save chosen") << true << int(Answer::No) << "/a/mine"
                               << "/a/mine.cfg"
                               << "Save Settings";
  QTest::newRow("save chosen with extension") << true << int(Answer::No) << "/a/mine.txt"
                                              << "/a/mine.txt"
                                              << "Save Settings";
  QTest::newRow("save dialog cancelled") << true << int(Answer::No) << ""
                                         << ""
                                         << "Save Settings";
  QTest::newRow("save cancelled") << true << int(Answer::Cancel) << "/a/x"
                                  << ""
                                  << "";
  QTest::newRow("load default") << false << int(Answer::Yes) << ""
                                << "/start/default.cfg"
                                << "";
  QTest::newRow("load chosen") << false << int(Answer::No) << "/a/old.cfg"
                               << "/a/old.cfg"
                               << "Load Settings";
  QTest::newRow("load cancelled") << false << int(Answer::Cancel) << "/a/x"
                                  << ""
                                  << "";
}

void SetupFilesTest::settingsQuestions() {
  QFETCH(bool, save);
  QFETCH(int, answer);
  QFETCH(QString, chosen);
  QFETCH(QString, path);
  QFETCH(QString, dialog);
  test::TScriptedPlatform platform;
  platform.Answers.push_back(static_cast<Answer>(answer));
  if (!chosen.isEmpty()) platform.FileNames.push_back(chosen.toStdString());
  const auto result = save ? ChooseSettingsFileToSave(platform, "/start")
                           : ChooseSettingsFileToLoad(platform, "/start", true);
  QCOMPARE(QString::fromStdString(result.value_or("")), path);
  QCOMPARE(platform.Messages.size(), size_t(1));
  QCOMPARE(platform.Messages[0], std::string(save ? "Do you wish to save settings into the "
                                                    "default file?"
                                                  : "Do you wish to load settings from the "
                                                    "default file?"));
  QCOMPARE(platform.DialogTitles.empty() ? QString()
                                         : QString::fromStdString(platform.DialogTitles[0]),
           dialog);
  // Created without a question: the default file of the start folder.
  QCOMPARE(ChooseSettingsFileToLoad(platform, "/start", false).value_or(""),
           std::string("/start/default.cfg"));
}

void SetupFilesTest::settingsSavedWithTheRecordsInForce() {
  TSetupFields dialog;
  dialog.CoreSizeText = "55440";
  dialog.DisplayLevel = 1;
  dialog.ScoreFormula = "pending";
  dialog.CircularDisplay = false;
  TParamsRec params;
  params.DisplayLevel = 3;
  params.EarlyDrawCheck = false;
  params.CircularDisplay = true;
  TTournamentRec rec;
  rec.PauseBetweenRounds = true;
  rec.ScoreFormula = "W*W";
  const TSetupFields saved = SettingsToSave(dialog, params, rec, false);
  const auto lines = SettingsLines(saved);
  QCOMPARE(lines[0], std::string("55440 = Core Size"));
  QCOMPARE(lines[3], std::string("3 = Graphical Display option"));
  QCOMPARE(lines[4], std::string("0 = Imp Draw detection checked"));
  QCOMPARE(lines[5], std::string("1 = Pause after battles checked"));
  QCOMPARE(lines[16], std::string("1 = Circular display topology"));
  QCOMPARE(lines[18], std::string("W*W"));
  QCOMPARE(lines[19], std::string("0 = Show percent WLT"));
}

void SetupFilesTest::missingSettingsFileGivesTheDefaults() {
  QTemporaryDir dir;
  test::TScriptedPlatform platform;
  TSetupFields f;
  f.CoreSizeText = "800";
  f.CircularDisplay = true;
  f.ScoreFormula = "x";
  LoadSettingsInto(platform, (dir.path() + "/default.cfg").toStdString(), f);
  QCOMPARE(f.CoreSizeText, std::string("8000"));
  QVERIFY(!f.CircularDisplay);
  QCOMPARE(f.ScoreFormula, std::string(kDefaultScoreFormula));
  QVERIFY(platform.Messages.empty());
}

void SetupFilesTest::refusedSettingsLinesAreReportedTogether() {
  QTemporaryDir dir;
  const std::string path = (dir.path() + "/bad.cfg").toStdString();
  TSetupFields written;
  written.CoreSizeText = "800";
  written.MaxCyclesText = "lots";
  written.RoundsText = "0";
  written.MaxProcessesText = "64";
  std::string error;
  QVERIFY(SaveSettingsFile(path, written, error));
  test::TScriptedPlatform platform;
  TSetupFields f;
  LoadSettingsInto(platform, path, f);
  QCOMPARE(f.CoreSizeText, std::string("800"));
  QCOMPARE(f.MaxProcessesText, std::string("64"));
  QCOMPARE(f.MaxCyclesText, std::string("80000"));
  QCOMPARE(f.RoundsText, std::string("1"));
  QCOMPARE(platform.Messages.size(), size_t(1));
  const QString message = QString::fromStdString(platform.Messages[0]);
  QVERIFY2(message.contains("line 7: Max Cycles must be a number"), qPrintable(message));
  QVERIFY2(message.contains("line 15: Number of rounds must be at least 1"), qPrintable(message));
}

void SetupFilesTest::failedSaveIsReported() {
  QTemporaryDir dir;
  test::TScriptedPlatform platform;
  QVERIFY(!SaveSettingsTo(platform, (dir.path() + "/missing/x.cfg").toStdString(), {}));
  QCOMPARE(platform.Messages.size(), size_t(1));
  QVERIFY(!platform.Messages[0].empty());
}

void SetupFilesTest::warriorListSavesSourcesOfNewWarriors() {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  auto warriors = Named({"Imp", "Fresh", "Declined", "Dwarf"});
  warriors[1].FileName.clear();
  warriors[1].Source = {";name Fresh", "MOV 0, 1"};
  warriors[2].FileName.clear();
  test::TScriptedPlatform platform;
  platform.FileNames = {folder + "/all.lst", folder + "/fresh", std::nullopt};
  SaveWarriorListFlow(platform, warriors);
  QCOMPARE(platform.DialogTitles,
           (std::vector<std::string>{"Save Warrior List", "Save source for warrior Fresh?",
                                     "Save source for warrior Declined?"}));
  QCOMPARE(ReadAll(folder + "/all.lst"),
           ";warriorlist\r\nImp.red\r\n" + folder + "/fresh.red\r\nDwarf.red\r\n");
  QCOMPARE(ReadAll(folder + "/fresh.red"), std::string(";name Fresh\r\nMOV 0, 1\r\n"));
  QVERIFY(warriors[1].FileName.empty());
  QVERIFY(platform.Messages.empty());
}

void SetupFilesTest::cancelledWarriorListWritesNothing() {
  test::TScriptedPlatform platform;
  auto warriors = Named({"Fresh"});
  warriors[0].FileName.clear();
  SaveWarriorListFlow(platform, warriors);
  QCOMPARE(platform.DialogTitles, std::vector<std::string>{"Save Warrior List"});
}

void SetupFilesTest::initialInstructionCompiles_data() {
  QTest::addColumn<QString>("instruction");
  QTest::addColumn<QString>("message"); // empty: compiles
  QTest::newRow("MOV 0, 1") << "MOV 0, 1"
                            << "";
  QTest::newRow("uses ABSADDRESS") << "DAT ABSADDRESS, 0-ABSADDRESS"
                                   << "";
  QTest::newRow("unknown opcode") << "FOO 0, 1"
                                  << "Initial instruction failed to compile.";
  QTest::newRow("empty") << ""
                         << "Initial instruction failed to compile.";
  QTest::newRow("division by zero") << "DAT 1/0, 0"
                                    << "Initial instruction failed to compile.\nDivision by zero";
}

void SetupFilesTest::initialInstructionCompiles() {
  QFETCH(QString, instruction);
  QFETCH(QString, message);
  test::TScriptedPlatform platform;
  TParamsRec dialog;
  dialog.InitialInstruction = instruction.toStdString();
  // Before the engine exists, a small one of its own.
  const auto error = InitialInstructionError(nullptr, dialog, platform, 1);
  QCOMPARE(QString::fromStdString(error.value_or("")), message);
}

void SetupFilesTest::engineParametersComeBackAfterEditing() {
  test::TScriptedPlatform platform;
  TNullMardexForm form;
  TParamsRec engineParams;
  engineParams.CoreSizeMax = 800;
  engineParams.ReadLimit = engineParams.WriteLimit = 800;
  engineParams.PSpaceSize = 50;
  auto core = TCore::Create(engineParams, form, platform);
  QVERIFY(core);
  core->InitialInstruction = "RANDOM";
  TParamsRec dialog;
  dialog.CoreSizeMax = 8000;
  dialog.MaxCycles = 100;
  dialog.MaxProcesses = 7;
  dialog.MinDistance = 3;
  dialog.Standard = 0;
  dialog.MaxLength = 9;
  dialog.ReadLimit = 400;
  dialog.WriteLimit = 401;
  dialog.PSpaceSize = 402;
  {
    TEngineParamsScope scope(core.get(), dialog);
    QCOMPARE(core->CoreSize, 8000);
    QCOMPARE(core->MaxCycles, 100);
    QCOMPARE(core->MaxProcesses, 7);
    QCOMPARE(core->MinDistance, 3);
    QCOMPARE(core->Standard, uint8_t(0));
    QCOMPARE(core->MaxLength, 9);
    QCOMPARE(core->ReadLimit, 400);
    QCOMPARE(core->WriteLimit, 401);
    QCOMPARE(core->PSpaceSize, 402);
    core->InitialInstruction = "MOV 0, 1"; // what a compile in between may leave
  }
  QCOMPARE(core->CoreSize, 800);
  QCOMPARE(core->MaxCycles, engineParams.MaxCycles);
  QCOMPARE(core->MaxProcesses, engineParams.MaxProcesses);
  QCOMPARE(core->MinDistance, engineParams.MinDistance);
  QCOMPARE(core->Standard, engineParams.Standard);
  QCOMPARE(core->MaxLength, engineParams.MaxLength);
  QCOMPARE(core->ReadLimit, 800);
  QCOMPARE(core->WriteLimit, 800);
  QCOMPARE(core->PSpaceSize, 50);
  QCOMPARE(core->InitialInstruction, std::string("RANDOM"));
}

QTEST_MAIN(SetupFilesTest)
#include "setup_files_test.moc"
