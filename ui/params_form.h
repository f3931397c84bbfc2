#pragma once
// TFormParams, the Setup dialog ("Settings"): the warrior list, the tournament type with its
// challenger or benchmark warriors, rounds, core size, limits, positions, seed, standard and
// initial instruction. It edits its own copies and stores them into the records only when
// confirmed. The checks, list operations and files are plain code in ui/setup_*.h; this
// class moves values between its controls and those.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <map>
#include <vector>

#include "ui/app.h"
#include "ui/setup_checks.h"

namespace velmora {

class TFormParams : public QDialog {
  Q_OBJECT
public:
  // FormCreate: loads "default.cfg" from the start folder (the defaults when there is none)
  // and confirms it, so that the records hold the settings before the main window shows.
  explicit TFormParams(TVelmoraApp& app, QWidget* parent = nullptr);

  // Shows the dialog modally, filled from the records; true when it was confirmed with OK.
  bool Execute();
  // Fills the dialog from the records and the tournament's lists.
  void FormShow();

  // The fields as plain data, and back (enabling follows the choices put).
  TSetupFields TakeFields() const;
  void PutFields(const TSetupFields& fields);
  const std::vector<TWarriorData>& Warriors() const { return warriors_; }
  const std::vector<TWarriorData>& Benchmarks() const { return benchmarks_; }

  // Shows the warrior editor on a working copy (warrior number 0 for a new warrior); true
  // when the editor was confirmed. The warrior editor by default; tests script it.
  std::function<bool(int32_t warriorNumber, TWarriorData& warrior)> EditWarrior;

  // --- Event handlers ---------------------------------------------------------------------
  void ButtonOKClick();
  void ButtonSaveDefaultsClick();
  void ButtonLoadDefaultsClick();
  // The checks run when the focus leaves a field.
  void ComboBoxCSFixedExit() { FieldExit(SetupField::CoreSize); }
  void EditCSRandomExit() { FieldExit(SetupField::MinCoreSize); }
  void ComboBoxBattleLengthExit() { FieldExit(SetupField::MaxCycles); }
  void ComboBoxQueueLimitExit() { FieldExit(SetupField::MaxProcesses); }
  void ComboBoxBufferSizeExit() { FieldExit(SetupField::MinDistance); }
  void EditNumBattlesExit() { FieldExit(SetupField::Rounds); }
  void ComboBoxReadLimitExit() { FieldExit(SetupField::ReadLimit); }
  void ComboBoxWriteLimitExit() { FieldExit(SetupField::WriteLimit); }
  void ComboBoxPSpaceExit() { FieldExit(SetupField::PSpace); }
  void ComboBoxMaxLengthExit() { FieldExit(SetupField::MaxLength); }
  void EditFixedPositionExit() { FieldExit(SetupField::FixedPosition); }
  void EditFixedSeedExit() { FieldExit(SetupField::FixedSeed); }
  void FieldExit(SetupField field);

  void RadioButtonFixedClick();
  void RadioButtonRandomClick();
  void RadioButtonMeleeClick();
  void RadioButtonRoundRobinClick();
  void RadioButtonChallengeClick();
  void RadioButtonBenchmarkClick();
  void ComboBoxChallengerChange(int index);
  void ButtonAddFilesClick();
  void ButtonNewWarriorClick();
  void ButtonEditWarriorClick();
  void ButtonRemoveClick();
  void ButtonRemoveAllClick();
  void ButtonSortListClick();
  void ButtonSaveListClick();
  void RadioButtonFixedPositionClick();
  void RadioButtonRandomPositionClick();
  void RadioButtonPermutatePositionClick();
  void RadioButtonFixedSeedClick();
  void RadioButtonRandomSeedClick();
  void RadioButtonChecksumSeedClick();

  // --- Controls ---------------------------------------------------------------------------
  QRadioButton *RadioButtonFixed, *RadioButtonRandom;
  QComboBox* ComboBoxCSFixed;
  QLineEdit* EditCSRandom;
  QLabel *LabelMax, *LabelMin;
  QComboBox *ComboBoxBattleLength, *ComboBoxQueueLimit, *ComboBoxMaxLength, *ComboBoxBufferSize;
  QComboBox *ComboBoxReadLimit, *ComboBoxWriteLimit, *ComboBoxPSpace;
  QListWidget* ListBoxWarriors;
  QPushButton *ButtonNewWarrior, *ButtonAddFiles, *ButtonRemove, *ButtonRemoveAll;
  QPushButton *ButtonEditWarrior, *ButtonSortList, *ButtonSaveList;
  QLabel* StaticTextTotal;
  QComboBox* ComboBoxStandards;
  QRadioButton *RadioButtonDat, *RadioButtonInitialRandom, *RadioButtonCustom;
  QLineEdit* EditInitialCustom;
  QRadioButton *RadioButtonMelee, *RadioButtonRoundRobin, *RadioButtonChallenge;
  QRadioButton* RadioButtonBenchmark;
  QComboBox *ComboBoxChallenger, *ComboBoxBenchmark;
  QLineEdit* EditNumBattles;
  QCheckBox* CheckBoxSelfFights;
  QRadioButton *RadioButtonRandomPosition, *RadioButtonPermutatePosition;
  QRadioButton* RadioButtonFixedPosition;
  QLineEdit* EditFixedPosition;
  QRadioButton *RadioButtonRandomSeed, *RadioButtonChecksumSeed, *RadioButtonFixedSeed;
  QLineEdit* EditFixedSeed;
  QPushButton *ButtonSaveDefaults, *ButtonLoadDefaults, *ButtonOK, *ButtonCancel;

  // The pending copies of settings that other windows show, and the rounds text that
  // leaving permutate restores.
  int32_t PendingDisplayLevel = 4;
  bool PendingEarlyDrawCheck = true;
  bool PendingPause = false;
  bool PendingCircular = false;
  std::string PendingFormula;
  bool PendingPercent = true;
  QString SavedRoundsText;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // params_form.cpp: the controls and their layout.
  void BuildControls();
  QWidget* BuildCoreSizeGroup();
  QWidget* BuildParametersGroup();
  QWidget* BuildWarriorGroup();
  QWidget* BuildTournamentGroup();
  QWidget* BuildPositionsGroup();
  QWidget* BuildInstructionGroup();
  void ConnectHandlers();
  void WatchFieldExits();

  // params_form_fields.cpp
  void ApplyEnabling();
  QWidget* FieldControl(SetupField field) const;
  void SyncPermutateRounds();
  TStoredSetup Stored() const;
  int32_t MaxLengthWarriorCount() const;
  void LoadSettings(bool ask);

  // params_form_lists.cpp
  void RefreshLists(int32_t selected);
  void RefreshBenchmarks();
  bool SelectBenchmark();
  bool OpenWarriorEditor(int32_t warriorNumber, TWarriorData& warrior);
  bool EditEntry(int32_t warriorNumber, TWarriorData& warrior);

  // params_form_confirm.cpp
  enum class ConfirmMode { Interactive, AtCreation };
  bool TryConfirm(ConfirmMode mode);
  void ConfirmAtCreation();

  TVelmoraApp& app_;
  std::vector<TWarriorData> warriors_;
  std::vector<TWarriorData> benchmarks_;
  std::map<QObject*, SetupField> fieldOfEditor_;
  QButtonGroup *coreSizeGroup_, *typeGroup_, *positionGroup_, *seedGroup_, *instructionGroup_;
  // A check's message box takes the focus; its own focus change checks nothing.
  bool checking_ = false;
};

} // namespace velmora
