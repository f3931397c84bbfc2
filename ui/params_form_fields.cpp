// The Setup dialog's fields: moving them to and from plain data, filling them from the
// records, their checks on leaving, the enabling rules of the choices, and the settings
// files.

#include "params/setup_fields.h"
#include "tournament/tournament.h"
#include "ui/params_form.h"
#include "ui/setup_confirm.h"
#include "ui/setup_files.h"

namespace velmora {

namespace {

std::string Text(const QComboBox* c) {
  return c->currentText().toStdString();
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A chosen item when the text is one of the list's items, else a typed value.
LimitField LimitOf(const QComboBox* c) {
  const int item = c->findText(c->currentText(), Qt::MatchExactly);
  if (item >= 0) return {item, {}};
  return {-1, Text(c)};
}

void PutLimit(QComboBox* c, const LimitField& f) {
  if (f.Item >= 0 && f.Item < c->count())
    c->setCurrentIndex(f.Item);
  else
    c->setCurrentText(Q(f.Text));
}

// -1 and -2 choose the first two buttons; anything else the third, with its text.
int32_t ChoiceOf(const QRadioButton* first, const QRadioButton* second, const QRadioButton* fixed,
                 int32_t firstCode, int32_t secondCode) {
  if (first->isChecked()) return firstCode;
  if (second->isChecked()) return secondCode;
  return fixed->isChecked() ? 0 : firstCode;
}

void PutChoice(int32_t choice, QRadioButton* first, QRadioButton* second, QRadioButton* fixed,
               QLineEdit* edit, const std::string& fixedText) {
  if (choice == -1)
    first->setChecked(true);
  else if (choice == -2)
    second->setChecked(true);
  else {
    fixed->setChecked(true);
    edit->setText(Q(fixedText));
  }
}

// No button of the group chosen.
void ClearChoice(QButtonGroup* group) {
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons())
    b->setChecked(false);
  group->setExclusive(true);
}

} // namespace

TSetupFields TFormParams::TakeFields() const {
  TSetupFields f;
  f.CoreSizeText = Text(ComboBoxCSFixed);
  f.RandomCoreSize = RadioButtonRandom->isChecked();
  f.MinCoreSizeText = EditCSRandom->text().toStdString();
  f.MaxCyclesText = Text(ComboBoxBattleLength);
  f.MaxProcessesText = Text(ComboBoxQueueLimit);
  f.MaxLengthText = Text(ComboBoxMaxLength);
  f.MinDistanceText = Text(ComboBoxBufferSize);
  f.ReadLimit = LimitOf(ComboBoxReadLimit);
  f.WriteLimit = LimitOf(ComboBoxWriteLimit);
  f.PSpace = LimitOf(ComboBoxPSpace);
  // The first chosen of challenge, round robin and benchmark; melee otherwise.
  f.TournamentType = RadioButtonChallenge->isChecked()    ? Challenge
                     : RadioButtonRoundRobin->isChecked() ? RoundRobin
                     : RadioButtonBenchmark->isChecked()  ? Benchmark
                                                          : Melee;
  f.RoundsText = EditNumBattles->text().toStdString();
  f.StandardItem = std::max(ComboBoxStandards->currentIndex(), 0);
  f.SelfFights = CheckBoxSelfFights->isChecked();
  f.SecondPosition = ChoiceOf(RadioButtonRandomPosition, RadioButtonPermutatePosition,
                              RadioButtonFixedPosition, kPositionRandom, kPositionPermutate);
  f.FixedPositionText = EditFixedPosition->text().toStdString();
  f.SeedMode = ChoiceOf(RadioButtonRandomSeed, RadioButtonChecksumSeed, RadioButtonFixedSeed,
                        kSeedRandom, kSeedChecksum);
  f.FixedSeedText = EditFixedSeed->text().toStdString();
  if (RadioButtonDat->isChecked())
    f.InitialInstruction = kInitialDat00;
  else if (RadioButtonInitialRandom->isChecked())
    f.InitialInstruction = kInitialRandom;
  else if (RadioButtonCustom->isChecked())
    f.InitialInstruction = EditInitialCustom->text().toStdString();
  else
    f.InitialInstruction = app_.Params.InitialInstruction;
  f.DisplayLevel = PendingDisplayLevel;
  f.EarlyDrawCheck = PendingEarlyDrawCheck;
  f.PauseBetweenRounds = PendingPause;
  f.CircularDisplay = PendingCircular;
  f.ScoreFormula = PendingFormula;
  f.Percent = PendingPercent;
  return f;
}

void TFormParams::PutFields(const TSetupFields& f) {
  ComboBoxCSFixed->setCurrentText(Q(f.CoreSizeText));
  (f.RandomCoreSize ? RadioButtonRandom : RadioButtonFixed)->setChecked(true);
  EditCSRandom->setText(Q(f.MinCoreSizeText));
  ComboBoxBattleLength->setCurrentText(Q(f.MaxCyclesText));
  ComboBoxQueueLimit->setCurrentText(Q(f.MaxProcessesText));
  ComboBoxMaxLength->setCurrentText(Q(f.MaxLengthText));
  ComboBoxBufferSize->setCurrentText(Q(f.MinDistanceText));
  PutLimit(ComboBoxReadLimit, f.ReadLimit);
  PutLimit(ComboBoxWriteLimit, f.WriteLimit);
  PutLimit(ComboBoxPSpace, f.PSpace);
  QRadioButton* types[] = {RadioButtonMelee, RadioButtonRoundRobin, RadioButtonChallenge,
                           RadioButtonBenchmark};
  if (f.TournamentType >= Melee && f.TournamentType <= Benchmark)
    types[f.TournamentType]->setChecked(true);
  EditNumBattles->setText(Q(f.RoundsText));
  ComboBoxStandards->setCurrentIndex(f.StandardItem);
  CheckBoxSelfFights->setChecked(f.SelfFights);
  PutChoice(f.SecondPosition, RadioButtonRandomPosition, RadioButtonPermutatePosition,
            RadioButtonFixedPosition, EditFixedPosition, f.FixedPositionText);
  PutChoice(f.SeedMode, RadioButtonRandomSeed, RadioButtonChecksumSeed, RadioButtonFixedSeed,
            EditFixedSeed, f.FixedSeedText);
  if (f.InitialInstruction == kInitialDat00) {
    RadioButtonDat->setChecked(true);
  } else if (f.InitialInstruction == kInitialRandom) {
    RadioButtonInitialRandom->setChecked(true);
  } else {
    RadioButtonCustom->setChecked(true);
    EditInitialCustom->setText(Q(f.InitialInstruction));
  }
  PendingDisplayLevel = f.DisplayLevel;
  PendingEarlyDrawCheck = f.EarlyDrawCheck;
  PendingPause = f.PauseBetweenRounds;
  PendingCircular = f.CircularDisplay;
  PendingFormula = f.ScoreFormula;
  PendingPercent = f.Percent;
  ApplyEnabling();
}

void TFormParams::FormShow() {
  warriors_ = app_.Tournament.WarriorList;
  for (TWarriorData& w : warriors_)
    w.ID = 0;
  RefreshLists(warriors_.empty() ? -1 : 0);
  if (app_.Tournament.Rec.TournamentType == Benchmark) {
    benchmarks_ = app_.Tournament.BenchmarkList;
    RefreshBenchmarks();
  }
  PutFields(FieldsFromRecords(app_.Setup, app_.Params, app_.Tournament.Rec));
  SavedRoundsText = EditNumBattles->text();
  ListBoxWarriors->setFocus();
}

void TFormParams::ApplyEnabling() {
  const bool randomSize = RadioButtonRandom->isChecked();
  EditCSRandom->setVisible(randomSize);
  LabelMax->setVisible(randomSize);
  LabelMin->setVisible(randomSize);
  // Permutate walks every offset of one core size, so it excludes a random size.
  const bool permutate = RadioButtonPermutatePosition->isChecked();
  RadioButtonPermutatePosition->setEnabled(!randomSize);
  RadioButtonRandom->setEnabled(!permutate);
  EditNumBattles->setEnabled(!permutate);
  EditFixedPosition->setEnabled(RadioButtonFixedPosition->isChecked());
  EditFixedSeed->setEnabled(RadioButtonFixedSeed->isChecked());
  ComboBoxChallenger->setEnabled(RadioButtonChallenge->isChecked());
  ComboBoxBenchmark->setEnabled(RadioButtonBenchmark->isChecked() && !benchmarks_.empty());
  const bool listed = !warriors_.empty();
  for (QPushButton* b :
       {ButtonRemove, ButtonRemoveAll, ButtonEditWarrior, ButtonSaveList, ButtonSortList})
    b->setEnabled(listed);
}

QWidget* TFormParams::FieldControl(SetupField field) const {
  switch (field) {
  case SetupField::CoreSize: return ComboBoxCSFixed;
  case SetupField::MinCoreSize: return EditCSRandom;
  case SetupField::MaxCycles: return ComboBoxBattleLength;
  case SetupField::MaxProcesses: return ComboBoxQueueLimit;
  case SetupField::MinDistance: return ComboBoxBufferSize;
  case SetupField::Rounds: return EditNumBattles;
  case SetupField::ReadLimit: return ComboBoxReadLimit;
  case SetupField::WriteLimit: return ComboBoxWriteLimit;
  case SetupField::PSpace: return ComboBoxPSpace;
  case SetupField::MaxLength: return ComboBoxMaxLength;
  case SetupField::FixedPosition: return EditFixedPosition;
  case SetupField::FixedSeed: return EditFixedSeed;
  }
  return ComboBoxCSFixed;
}

TStoredSetup TFormParams::Stored() const {
  return {app_.Params, app_.Tournament.Rec.Rounds};
}

int32_t TFormParams::MaxLengthWarriorCount() const {
  return MaxLengthWarriors(TakeFields().TournamentType, int32_t(warriors_.size()));
}

void TFormParams::FieldExit(SetupField field) {
  if (checking_) return;
  checking_ = true;
  TSetupFields f = TakeFields();
  if (auto message = CheckSetupField(field, f, MaxLengthWarriorCount(), Stored())) {
    app_.Platform.ShowMessage(*message);
    PutFields(f);
  } else if (field == SetupField::Rounds) {
    SavedRoundsText = EditNumBattles->text();
  } else if (field == SetupField::CoreSize || field == SetupField::MinDistance) {
    SyncPermutateRounds();
  }
  checking_ = false;
}

// Permutate's rounds follow the core size and min distance, since its rounds field cannot be
// edited.
void TFormParams::SyncPermutateRounds() {
  if (!RadioButtonPermutatePosition->isChecked()) return;
  if (auto rounds = PermutateRoundsText(TakeFields())) EditNumBattles->setText(Q(*rounds));
}

// --- Enabling rules ---------------------------------------------------------------------------

void TFormParams::RadioButtonFixedClick() {
  ApplyEnabling();
}

void TFormParams::RadioButtonRandomClick() {
  EditCSRandom->setText(ComboBoxCSFixed->currentText());
  ApplyEnabling();
}

void TFormParams::RadioButtonMeleeClick() {
  ApplyEnabling();
}

void TFormParams::RadioButtonRoundRobinClick() {
  ApplyEnabling();
}

void TFormParams::RadioButtonChallengeClick() {
  ApplyEnabling();
}

void TFormParams::RadioButtonBenchmarkClick() {
  ApplyEnabling();
  SelectBenchmark();
  ApplyEnabling();
}

namespace {

// Leaving permutate gives the rounds field its former text back.
void RestoreRounds(QLineEdit* rounds, const QString& saved) {
  if (!rounds->isEnabled() && !saved.isEmpty()) rounds->setText(saved);
}

} // namespace

void TFormParams::RadioButtonFixedPositionClick() {
  if (EditFixedPosition->text().isEmpty())
    EditFixedPosition->setText(ComboBoxBufferSize->currentText());
  RestoreRounds(EditNumBattles, SavedRoundsText);
  ApplyEnabling();
}

void TFormParams::RadioButtonRandomPositionClick() {
  RestoreRounds(EditNumBattles, SavedRoundsText);
  ApplyEnabling();
}

void TFormParams::RadioButtonPermutatePositionClick() {
  if (EditNumBattles->isEnabled()) SavedRoundsText = EditNumBattles->text();
  ApplyEnabling();
  SyncPermutateRounds();
}

void TFormParams::RadioButtonFixedSeedClick() {
  if (EditFixedSeed->text().isEmpty()) EditFixedSeed->setText("0");
  ApplyEnabling();
}

void TFormParams::RadioButtonRandomSeedClick() {
  ApplyEnabling();
}

void TFormParams::RadioButtonChecksumSeedClick() {
  ApplyEnabling();
}

// --- Settings files ---------------------------------------------------------------------------

void TFormParams::ButtonSaveDefaultsClick() {
  const auto path = ChooseSettingsFileToSave(app_.Platform, app_.StartDirectory);
  if (!path) return;
  SaveSettingsTo(
      app_.Platform, *path,
      SettingsToSave(TakeFields(), app_.Params, app_.Tournament.Rec, app_.Setup.Percent));
}

void TFormParams::ButtonLoadDefaultsClick() {
  LoadSettings(true);
}

void TFormParams::LoadSettings(bool ask) {
  const auto path = ChooseSettingsFileToLoad(app_.Platform, app_.StartDirectory, ask);
  if (!path) return;
  const bool wasBenchmark = RadioButtonBenchmark->isChecked();
  TSetupFields f = TakeFields();
  LoadSettingsInto(app_.Platform, *path, f);
  PutFields(f);
  // A file cannot name the benchmark warriors: it leaves the benchmark choice as it was.
  if (f.TournamentType == Benchmark && !wasBenchmark) {
    ClearChoice(typeGroup_);
    ApplyEnabling();
  }
  if (EditNumBattles->isEnabled()) SavedRoundsText = EditNumBattles->text();
}

} // namespace velmora
