#include "ui/options_form.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/mardex_form.h"

namespace velmora {

namespace {

constexpr int kLevelCount = 6;
constexpr int kHistoryMaxMiB = 4096;

} // namespace

TFormOptions::TFormOptions(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Options");
  auto* layout = new QVBoxLayout(this);
  CheckBoxImpCheck = new QCheckBox("Check for early draws", this);
  CheckBoxPause = new QCheckBox("Pause between rounds", this);
  layout->addWidget(CheckBoxImpCheck);
  layout->addWidget(CheckBoxPause);

  auto* cells = new QGroupBox("Cells to Display", this);
  auto* cellsLayout = new QVBoxLayout(cells);
  levels_ = new QButtonGroup(this);
  QRadioButton** levelButtons[kLevelCount] = {&RadioButtonNone,    &RadioButtonExec,
                                              &RadioButtonWrite,   &RadioButtonIncDec,
                                              &RadioButtonCompare, &RadioButtonRead};
  const char* levelCaptions[kLevelCount] = {"None",
                                            "Executed only",
                                            "Executed and written to",
                                            "...And incremented/decremented",
                                            "...And compared to",
                                            "...And read from...everything!"};
  for (int level = 0; level < kLevelCount; ++level) {
    auto* button = new QRadioButton(levelCaptions[level], cells);
    *levelButtons[level] = button;
    levels_->addButton(button, level);
    cellsLayout->addWidget(button);
  }
  layout->addWidget(cells);

  auto* topology = new QGroupBox("Display Topology", this);
  auto* topologyLayout = new QVBoxLayout(topology);
  RadioButtonCircular = new QRadioButton("Circular", topology);
  RadioButtonRectangular = new QRadioButton("Rectangular", topology);
  topologyLayout->addWidget(RadioButtonCircular);
  topologyLayout->addWidget(RadioButtonRectangular);
  layout->addWidget(topology);

  auto* history = new QHBoxLayout;
  SpinEditHistory = new QSpinBox(this);
  SpinEditHistory->setRange(0, kHistoryMaxMiB);
  SpinEditHistory->setSuffix(" MiB");
  SpinEditHistory->setSpecialValueText("Off");
  history->addWidget(new QLabel("Memory for Step Back:", this));
  history->addWidget(SpinEditHistory);
  layout->addLayout(history);

  auto* buttons = new QHBoxLayout;
  ButtonOK = new QPushButton("OK", this);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonOK->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  layout->addLayout(buttons);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormOptions::ButtonOKClick);
  // Cancel (and Escape) close without storing anything.
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormOptions::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TFormOptions::FormShow() {
  const TParamsRec& params = app_.Params;
  CheckBoxImpCheck->setChecked(params.EarlyDrawCheck);
  CheckBoxPause->setChecked(app_.Tournament.Rec.PauseBetweenRounds);
  // A level from outside the list shows as its nearest item.
  levels_->button(std::clamp(params.DisplayLevel, 0, kLevelCount - 1))->setChecked(true);
  (params.CircularDisplay ? RadioButtonCircular : RadioButtonRectangular)->setChecked(true);
  SpinEditHistory->setValue(
      static_cast<int>(std::min<int64_t>(app_.HistoryBytes >> 20, kHistoryMaxMiB)));
  ButtonOK->setFocus();
}

void TFormOptions::ButtonOKClick() {
  TParamsRec& params = app_.Params;
  params.EarlyDrawCheck = CheckBoxImpCheck->isChecked();
  app_.Tournament.Rec.PauseBetweenRounds = CheckBoxPause->isChecked();
  if (levels_->checkedId() >= 0) params.DisplayLevel = levels_->checkedId();
  // Setup keeps its own copies of these; they must not undo this dialog on its next OK.
  app_.Setup.EarlyDrawCheck = params.EarlyDrawCheck;
  app_.Setup.PauseBetweenRounds = app_.Tournament.Rec.PauseBetweenRounds;
  app_.Setup.DisplayLevel = params.DisplayLevel;
  const bool circular = RadioButtonCircular->isChecked();
  if (circular != params.CircularDisplay) {
    if (app_.MainForm) app_.MainForm->ApplyTopology(circular);
    params.CircularDisplay = circular;
  }
  app_.Setup.CircularDisplay = params.CircularDisplay;
  const int64_t historyBytes = int64_t{SpinEditHistory->value()} << 20;
  if (app_.MainForm)
    app_.MainForm->SetHistoryLimit(historyBytes);
  else
    app_.HistoryBytes = historyBytes;
  accept();
}

} // namespace velmora
