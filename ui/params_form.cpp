// The Setup dialog's controls, their layout, tab order and connections, and its creation.

#include "ui/params_form.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "params/setup_fields.h"
#include "ui/setup_confirm.h"

namespace velmora {

namespace {

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

QRadioButton* Radio(const char* name, const char* caption, QWidget* parent) {
  auto* r = new QRadioButton(caption, parent);
  r->setObjectName(name);
  return r;
}

QLineEdit* Edit(const char* name, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  return e;
}

// A drop-down list that also takes typed text; typing never adds items.
QComboBox* TypedCombo(const char* name, std::initializer_list<const char*> items, QWidget* parent) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  for (const char* item : items)
    c->addItem(item);
  return c;
}

QComboBox* PickCombo(const char* name, QWidget* parent) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->setMinimumContentsLength(16);
  return c;
}

} // namespace

TFormParams::TFormParams(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  app_.FormParams = this;
  setWindowTitle("Settings");
  setModal(true);
  BuildControls();
  ConnectHandlers();
  WatchFieldExits();
  EditWarrior = [this](int32_t number, TWarriorData& warrior) {
    return OpenWarriorEditor(number, warrior);
  };
  // FormCreate: the settings of the start folder, confirmed at once.
  PutFields(FieldsFromRecords(app_.Setup, app_.Params, app_.Tournament.Rec));
  LoadSettings(false);
  ConfirmAtCreation();
}

QWidget* TFormParams::BuildCoreSizeGroup() {
  auto* group = new QGroupBox("Core Size", this);
  auto* grid = new QGridLayout(group);
  RadioButtonFixed = Radio("RadioButtonFixed", "Fixed", group);
  RadioButtonRandom = Radio("RadioButtonRandom", "Random", group);
  ComboBoxCSFixed = TypedCombo(
      "ComboBoxCSFixed", {"800", "8000", "16384", "55440", "65536", "262144", "1048576"}, group);
  EditCSRandom = Edit("EditCSRandom", group);
  LabelMax = new QLabel("Max", group);
  LabelMin = new QLabel("Min", group);
  grid->addWidget(RadioButtonFixed, 0, 0);
  grid->addWidget(RadioButtonRandom, 1, 0);
  grid->addWidget(LabelMax, 0, 1);
  grid->addWidget(ComboBoxCSFixed, 0, 2);
  grid->addWidget(LabelMin, 1, 1);
  grid->addWidget(EditCSRandom, 1, 2);
  coreSizeGroup_ = new QButtonGroup(this);
  coreSizeGroup_->addButton(RadioButtonFixed);
  coreSizeGroup_->addButton(RadioButtonRandom);
  return group;
}

QWidget* TFormParams::BuildParametersGroup() {
  auto* group = new QGroupBox("Parameters", this);
  auto* grid = new QGridLayout(group);
  ComboBoxBattleLength = TypedCombo(
      "ComboBoxBattleLength", {"8000", "16000", "80000", "200000", "500000", "1000000"}, group);
  ComboBoxQueueLimit = TypedCombo(
      "ComboBoxQueueLimit", {"1", "2", "8", "100", "800", "1000", "8000", "10000", "55440"}, group);
  ComboBoxMaxLength = TypedCombo("ComboBoxMaxLength", {"20", "100", "200", "1000"}, group);
  ComboBoxBufferSize = TypedCombo("ComboBoxBufferSize", {"20", "100", "200", "1000"}, group);
  ComboBoxReadLimit = TypedCombo("ComboBoxReadLimit", {}, group);
  ComboBoxWriteLimit = TypedCombo("ComboBoxWriteLimit", {}, group);
  for (const char* item : kLimitItems) {
    ComboBoxReadLimit->addItem(item);
    ComboBoxWriteLimit->addItem(item);
  }
  ComboBoxPSpace = TypedCombo("ComboBoxPSpace", {}, group);
  for (const char* item : kPSpaceItems)
    ComboBoxPSpace->addItem(item);
  const std::pair<const char*, QComboBox*> rows[] = {
      {"Max Cycles:", ComboBoxBattleLength}, {"Max Processes:", ComboBoxQueueLimit},
      {"Max Length:", ComboBoxMaxLength},    {"Min Distance:", ComboBoxBufferSize},
      {"Read Limit:", ComboBoxReadLimit},    {"Write Limit:", ComboBoxWriteLimit},
      {"P-Space Size:", ComboBoxPSpace}};
  int row = 0;
  for (const auto& [caption, combo] : rows) {
    auto* label = new QLabel(caption, group);
    label->setBuddy(combo);
    grid->addWidget(label, row, 0);
    grid->addWidget(combo, row++, 1);
  }
  return group;
}

QWidget* TFormParams::BuildWarriorGroup() {
  auto* group = new QGroupBox("Warrior List", this);
  auto* column = new QVBoxLayout(group);
  ListBoxWarriors = new QListWidget(group);
  ListBoxWarriors->setObjectName("ListBoxWarriors");
  ListBoxWarriors->setSelectionMode(QAbstractItemView::ExtendedSelection);
  column->addWidget(ListBoxWarriors);
  // In the grid's reading order, which the tab order follows.
  ButtonNewWarrior = Button("ButtonNewWarrior", "New", group);
  ButtonAddFiles = Button("ButtonAddFiles", "Add", group);
  ButtonEditWarrior = Button("ButtonEditWarrior", "Edit", group);
  ButtonRemove = Button("ButtonRemove", "Remove", group);
  ButtonRemoveAll = Button("ButtonRemoveAll", "Remove All", group);
  ButtonSortList = Button("ButtonSortList", "Sort List", group);
  ButtonSaveList = Button("ButtonSaveList", "Save List", group);
  auto* buttons = new QGridLayout;
  buttons->addWidget(ButtonNewWarrior, 0, 0);
  buttons->addWidget(ButtonAddFiles, 0, 1);
  buttons->addWidget(ButtonEditWarrior, 0, 2);
  buttons->addWidget(ButtonRemove, 1, 0);
  buttons->addWidget(ButtonRemoveAll, 1, 1);
  buttons->addWidget(ButtonSortList, 1, 2);
  buttons->addWidget(ButtonSaveList, 2, 0);
  column->addLayout(buttons);
  auto* total = new QHBoxLayout;
  total->addWidget(new QLabel("Total:", group));
  StaticTextTotal = new QLabel("0", group);
  StaticTextTotal->setObjectName("StaticTextTotal");
  total->addWidget(StaticTextTotal);
  total->addStretch();
  column->addLayout(total);
  auto* standards = new QHBoxLayout;
  ComboBoxStandards = PickCombo("ComboBoxStandards", group);
  for (const char* item : kStandardItems)
    ComboBoxStandards->addItem(item);
  auto* label = new QLabel("Standards:", group);
  label->setBuddy(ComboBoxStandards);
  standards->addWidget(label);
  standards->addWidget(ComboBoxStandards);
  column->addLayout(standards);
  return group;
}

QWidget* TFormParams::BuildTournamentGroup() {
  auto* group = new QGroupBox("Tournament Options", this);
  auto* grid = new QGridLayout(group);
  RadioButtonMelee = Radio("RadioButtonMelee", "Melee", group);
  RadioButtonRoundRobin = Radio("RadioButtonRoundRobin", "Round Robin", group);
  RadioButtonChallenge = Radio("RadioButtonChallenge", "Challenge by:", group);
  ComboBoxChallenger = PickCombo("ComboBoxChallenger", group);
  RadioButtonBenchmark = Radio("RadioButtonBenchmark", "Benchmark:", group);
  ComboBoxBenchmark = PickCombo("ComboBoxBenchmark", group);
  EditNumBattles = Edit("EditNumBattles", group);
  CheckBoxSelfFights = new QCheckBox("Self Fights", group);
  CheckBoxSelfFights->setObjectName("CheckBoxSelfFights");
  grid->addWidget(RadioButtonMelee, 0, 0);
  grid->addWidget(RadioButtonRoundRobin, 1, 0);
  grid->addWidget(RadioButtonChallenge, 2, 0);
  grid->addWidget(ComboBoxChallenger, 2, 1);
  grid->addWidget(RadioButtonBenchmark, 3, 0);
  grid->addWidget(ComboBoxBenchmark, 3, 1);
  auto* label = new QLabel("Rounds per matchup:", group);
  label->setBuddy(EditNumBattles);
  grid->addWidget(label, 4, 0);
  grid->addWidget(EditNumBattles, 4, 1);
  grid->addWidget(CheckBoxSelfFights, 5, 0);
  typeGroup_ = new QButtonGroup(this);
  for (QRadioButton* r :
       {RadioButtonMelee, RadioButtonRoundRobin, RadioButtonChallenge, RadioButtonBenchmark})
    typeGroup_->addButton(r);
  return group;
}

QWidget* TFormParams::BuildPositionsGroup() {
  auto* group = new QGroupBox("Warrior Positions", this);
  auto* row = new QHBoxLayout(group);
  auto* second = new QGroupBox("Second Warrior", group);
  auto* secondGrid = new QGridLayout(second);
  RadioButtonRandomPosition = Radio("RadioButtonRandomPosition", "Random", second);
  RadioButtonPermutatePosition = Radio("RadioButtonPermutatePosition", "Permutate", second);
  RadioButtonFixedPosition = Radio("RadioButtonFixedPosition", "", second);
  EditFixedPosition = Edit("EditFixedPosition", second);
  secondGrid->addWidget(RadioButtonRandomPosition, 0, 0, 1, 2);
  secondGrid->addWidget(RadioButtonPermutatePosition, 1, 0, 1, 2);
  secondGrid->addWidget(RadioButtonFixedPosition, 2, 0);
  secondGrid->addWidget(EditFixedPosition, 2, 1);
  auto* seed = new QGroupBox("RNG Seed", group);
  auto* seedGrid = new QGridLayout(seed);
  RadioButtonRandomSeed = Radio("RadioButtonRandomSeed", "Random", seed);
  RadioButtonChecksumSeed = Radio("RadioButtonChecksumSeed", "Checksum", seed);
  RadioButtonFixedSeed = Radio("RadioButtonFixedSeed", "", seed);
  EditFixedSeed = Edit("EditFixedSeed", seed);
  seedGrid->addWidget(RadioButtonRandomSeed, 0, 0, 1, 2);
  seedGrid->addWidget(RadioButtonChecksumSeed, 1, 0, 1, 2);
  seedGrid->addWidget(RadioButtonFixedSeed, 2, 0);
  seedGrid->addWidget(EditFixedSeed, 2, 1);
  row->addWidget(second);
  row->addWidget(seed);
  positionGroup_ = new QButtonGroup(this);
  for (QRadioButton* r :
       {RadioButtonRandomPosition, RadioButtonPermutatePosition, RadioButtonFixedPosition})
    positionGroup_->addButton(r);
  seedGroup_ = new QButtonGroup(this);
  for (QRadioButton* r : {RadioButtonRandomSeed, RadioButtonChecksumSeed, RadioButtonFixedSeed})
    seedGroup_->addButton(r);
  return group;
}

QWidget* TFormParams::BuildInstructionGroup() {
  auto* group = new QGroupBox("Initial Instruction", this);
  auto* grid = new QGridLayout(group);
  RadioButtonDat = Radio("RadioButtonDat", "DAT 0, 0", group);
  RadioButtonInitialRandom = Radio("RadioButtonInitialRandom", "Random", group);
  RadioButtonCustom = Radio("RadioButtonCustom", "Custom: ", group);
  EditInitialCustom = Edit("EditInitialCustom", group);
  grid->addWidget(RadioButtonDat, 0, 0);
  grid->addWidget(RadioButtonInitialRandom, 0, 1);
  grid->addWidget(RadioButtonCustom, 1, 0);
  grid->addWidget(EditInitialCustom, 1, 1);
  instructionGroup_ = new QButtonGroup(this);
  for (QRadioButton* r : {RadioButtonDat, RadioButtonInitialRandom, RadioButtonCustom})
    instructionGroup_->addButton(r);
  return group;
}

void TFormParams::BuildControls() {
  // Created in reading order (warrior list, core size and parameters, tournament, positions,
  // instruction, buttons), which is also the tab order.
  QWidget* warriors = BuildWarriorGroup();
  QWidget* coreSize = BuildCoreSizeGroup();
  QWidget* parameters = BuildParametersGroup();
  QWidget* tournament = BuildTournamentGroup();
  QWidget* positions = BuildPositionsGroup();
  QWidget* instruction = BuildInstructionGroup();
  ButtonSaveDefaults = Button("ButtonSaveDefaults", "Save Settings", this);
  ButtonLoadDefaults = Button("ButtonLoadDefaults", "Load Settings", this);
  ButtonOK = Button("ButtonOK", "OK", this);
  ButtonCancel = Button("ButtonCancel", "Cancel", this);
  ButtonOK->setDefault(true);

  auto* middle = new QVBoxLayout;
  middle->addWidget(coreSize);
  middle->addWidget(parameters);
  middle->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(tournament);
  right->addWidget(positions);
  right->addWidget(instruction);
  right->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addWidget(warriors);
  columns->addLayout(middle);
  columns->addLayout(right);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonSaveDefaults);
  buttons->addWidget(ButtonLoadDefaults);
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  auto* top = new QVBoxLayout(this);
  top->addLayout(columns);
  top->addLayout(buttons);
}

void TFormParams::ConnectHandlers() {
  auto on = [this](QAbstractButton* b, void (TFormParams::*handler)()) {
    connect(b, &QAbstractButton::clicked, this, handler);
  };
  on(ButtonOK, &TFormParams::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  on(ButtonSaveDefaults, &TFormParams::ButtonSaveDefaultsClick);
  on(ButtonLoadDefaults, &TFormParams::ButtonLoadDefaultsClick);
  on(RadioButtonFixed, &TFormParams::RadioButtonFixedClick);
  on(RadioButtonRandom, &TFormParams::RadioButtonRandomClick);
  on(RadioButtonMelee, &TFormParams::RadioButtonMeleeClick);
  on(RadioButtonRoundRobin, &TFormParams::RadioButtonRoundRobinClick);
  on(RadioButtonChallenge, &TFormParams::RadioButtonChallengeClick);
  on(RadioButtonBenchmark, &TFormParams::RadioButtonBenchmarkClick);
  on(ButtonAddFiles, &TFormParams::ButtonAddFilesClick);
  on(ButtonNewWarrior, &TFormParams::ButtonNewWarriorClick);
  on(ButtonEditWarrior, &TFormParams::ButtonEditWarriorClick);
  on(ButtonRemove, &TFormParams::ButtonRemoveClick);
  on(ButtonRemoveAll, &TFormParams::ButtonRemoveAllClick);
  on(ButtonSortList, &TFormParams::ButtonSortListClick);
  on(ButtonSaveList, &TFormParams::ButtonSaveListClick);
  on(RadioButtonFixedPosition, &TFormParams::RadioButtonFixedPositionClick);
  on(RadioButtonRandomPosition, &TFormParams::RadioButtonRandomPositionClick);
  on(RadioButtonPermutatePosition, &TFormParams::RadioButtonPermutatePositionClick);
  on(RadioButtonFixedSeed, &TFormParams::RadioButtonFixedSeedClick);
  on(RadioButtonRandomSeed, &TFormParams::RadioButtonRandomSeedClick);
  on(RadioButtonChecksumSeed, &TFormParams::RadioButtonChecksumSeedClick);
  // Only the user's choice swaps the challenger, not the list being refilled.
  connect(ComboBoxChallenger, &QComboBox::activated, this, &TFormParams::ComboBoxChallengerChange);
  connect(ListBoxWarriors, &QListWidget::itemDoubleClicked, this,
          &TFormParams::ButtonEditWarriorClick);
}

// An editable combo box takes the focus itself (its line edit is only its focus proxy) and
// hands its focus events to the line edit directly, past any event filter: the combo box is
// the widget to watch.
void TFormParams::WatchFieldExits() {
  const std::pair<QWidget*, SetupField> fields[] = {{ComboBoxCSFixed, SetupField::CoreSize},
                                                    {EditCSRandom, SetupField::MinCoreSize},
                                                    {ComboBoxBattleLength, SetupField::MaxCycles},
                                                    {ComboBoxQueueLimit, SetupField::MaxProcesses},
                                                    {ComboBoxBufferSize, SetupField::MinDistance},
                                                    {EditNumBattles, SetupField::Rounds},
                                                    {ComboBoxReadLimit, SetupField::ReadLimit},
                                                    {ComboBoxWriteLimit, SetupField::WriteLimit},
                                                    {ComboBoxPSpace, SetupField::PSpace},
                                                    {ComboBoxMaxLength, SetupField::MaxLength},
                                                    {EditFixedPosition, SetupField::FixedPosition},
                                                    {EditFixedSeed, SetupField::FixedSeed}};
  for (const auto& [editor, field] : fields) {
    fieldOfEditor_[editor] = field;
    editor->installEventFilter(this);
  }
}

bool TFormParams::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    const auto found = fieldOfEditor_.find(watched);
    // Opening a field's own drop-down, another window taking over, or the dialog closing
    // with Cancel do not leave the field.
    const bool leaves = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                        QApplication::focusWidget() != ButtonCancel;
    if (found != fieldOfEditor_.end() && leaves && isVisible()) FieldExit(found->second);
  }
  return QDialog::eventFilter(watched, event);
}

} // namespace velmora
