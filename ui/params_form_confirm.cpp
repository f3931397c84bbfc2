// Confirming the Setup dialog: every check first, then the records, in order.

#include "params/number_text.h"
#include "ui/mardex_form.h"
#include "ui/params_form.h"
#include "ui/results_form.h"
#include "ui/setup_confirm.h"
#include "ui/setup_engine.h"

namespace velmora {

bool TFormParams::Execute() {
  FormShow();
  return exec() == QDialog::Accepted;
}

void TFormParams::ButtonOKClick() {
  if (TryConfirm(ConfirmMode::Interactive)) accept();
}

// Nothing is stored unless every check passes: a field never left (so never checked) cannot
// leave the records half confirmed.
bool TFormParams::TryConfirm(ConfirmMode mode) {
  const bool interactive = mode == ConfirmMode::Interactive;
  SyncPermutateRounds();
  TSetupFields f = TakeFields();
  const int32_t warriors = MaxLengthWarriors(f.TournamentType, int32_t(warriors_.size()));
  if (auto failure = CheckEverySetupField(f, warriors, Stored())) {
    app_.Platform.ShowMessage(failure->Message);
    PutFields(f);
    if (interactive) FieldControl(failure->Field)->setFocus();
    return false;
  }
  if (f.TournamentType == Benchmark && benchmarks_.empty()) {
    if (!interactive) {
      RadioButtonMelee->setChecked(true);
      return false;
    }
    app_.Platform.ShowMessage(
        "To run a Benchmark tournament, you must select a warrior or warrior list.");
    SelectBenchmark();
    return false;
  }
  if (RadioButtonCustom->isChecked()) {
    TParamsRec dialog = app_.Params;
    StoreSetupFields(f, dialog);
    const int32_t rounds = NumberOrDefault(f.RoundsText, 1);
    if (auto error = InitialInstructionError(app_.Core, dialog, app_.Platform, rounds)) {
      app_.Platform.ShowMessage(*error);
      if (interactive) {
        EditInitialCustom->setFocus();
      } else {
        // At start-up nobody can correct it: the previous instruction stays.
        f.InitialInstruction = app_.Params.InitialInstruction;
        PutFields(f);
      }
      return false;
    }
  }
  if (!instructionGroup_->checkedButton())
    app_.Platform.ShowMessage("Error: No initial instruction selected");

  const TConfirmOutcome outcome =
      StoreSetup(f, warriors_, benchmarks_, app_.Params, app_.Tournament, app_.Setup);
  if (outcome.MadeMelee) {
    app_.Platform.ShowMessage("Single warrior battles are only supported by Melee tournaments. "
                              "The tournament type has been set to Melee.");
    RadioButtonMelee->setChecked(true);
    ApplyEnabling();
  }
  if (outcome.TopologyChanged && app_.MainForm) app_.MainForm->ApplyTopology(f.CircularDisplay);
  if (app_.FormResults) app_.FormResults->CheckBoxPercent->setChecked(f.Percent);
  return true;
}

void TFormParams::ConfirmAtCreation() {
  // Each failure puts a valid value back, so a few rounds always end in a confirmed state.
  for (int32_t attempt = 0; attempt <= kSetupFieldCount + 2; ++attempt)
    if (TryConfirm(ConfirmMode::AtCreation)) return;
}

} // namespace velmora
