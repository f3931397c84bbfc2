// The execution points editor's buttons: each edit goes to the engine at once, then the
// list, the buttons and the open views follow.

#include "engine/queue_edit.h"
#include "ui/ex_pts_form.h"
#include "ui/input_form.h"

namespace velmora {

std::optional<int32_t> TFormExPts::AskLocation(int32_t initial) {
  TFormInput* input = app_.FormInput;
  if (!input) return std::nullopt;
  input->Value = initial;
  if (input->exec() != QDialog::Accepted) return std::nullopt;
  return input->Value;
}

void TFormExPts::ButtonAddClick() {
  TWarrior* w = ChosenWarrior();
  if (!w) return;
  if (w->ProcessCount >= app_.Core->MaxProcesses) {
    app_.Platform.ShowMessage("Process queue full");
    return;
  }
  const int32_t p = SelectedLine();
  const std::optional<int32_t> address = AskLocation(p >= 0 ? LineAddress(p).value_or(0) : 0);
  if (!address) return;
  // Right after the selected process, or at the head so that it runs next.
  if (!InsertProcess(*app_.Core, *w, p + 1, *address)) return;
  Changed(p);
}

void TFormExPts::ButtonDeleteClick() {
  TWarrior* w = ChosenWarrior();
  const int32_t p = SelectedLine();
  if (!w || p < 0) return;
  const bool last = p == w->ProcessCount - 1;
  if (!DeleteProcess(*app_.Core, *w, p)) return;
  Changed(last ? p - 1 : p);
}

void TFormExPts::ButtonEditClick() {
  TWarrior* w = ChosenWarrior();
  const int32_t p = SelectedLine();
  if (!w || p < 0) return;
  const std::optional<int32_t> address = AskLocation(LineAddress(p).value_or(0));
  if (!address) return;
  if (!ReplaceProcess(*app_.Core, *w, p, *address)) return;
  Changed(p);
}

void TFormExPts::ButtonRollToTopClick() {
  TWarrior* w = ChosenWarrior();
  const int32_t p = SelectedLine();
  if (!w || p <= 0) return;
  RollProcessToTop(*app_.Core, *w, p);
  Changed(0);
}

void TFormExPts::ButtonMoveUpClick() {
  TWarrior* w = ChosenWarrior();
  const int32_t p = SelectedLine();
  if (!w || p <= 0) return;
  SwapProcesses(*app_.Core, *w, p, p - 1);
  Changed(p - 1);
}

void TFormExPts::ButtonMoveDownClick() {
  TWarrior* w = ChosenWarrior();
  const int32_t p = SelectedLine();
  if (!w || p < 0 || p >= w->ProcessCount - 1) return;
  SwapProcesses(*app_.Core, *w, p, p + 1);
  Changed(p + 1);
}

void TFormExPts::ButtonOKClick() {
  const int32_t p = SelectedLine();
  if (p >= 0) {
    if (const std::optional<int32_t> address = LineAddress(p)) app_.SelectedLocation = *address;
  }
  accept();
}

} // namespace velmora
