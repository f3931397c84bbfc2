// The Setup dialog's warrior list, challenger and benchmark lists, and editing a warrior
// with the dialog's parameters in the engine.

#include "params/setup_fields.h"
#include "tournament/warrior_input.h"
#include "ui/edit_code_form.h"
#include "ui/params_form.h"
#include "ui/setup_engine.h"
#include "ui/setup_files.h"
#include "ui/setup_lists.h"

namespace velmora {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

} // namespace

// Both lists show the warriors in order; the challenger shows entry 0.
void TFormParams::RefreshLists(int32_t selected) {
  ListBoxWarriors->clear();
  ComboBoxChallenger->clear();
  for (const TWarriorData& w : warriors_) {
    ListBoxWarriors->addItem(Q(w.Name));
    ComboBoxChallenger->addItem(Q(w.Name));
  }
  if (selected >= 0 && size_t(selected) < warriors_.size())
    ListBoxWarriors->setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
  ComboBoxChallenger->setCurrentIndex(warriors_.empty() ? -1 : 0);
  StaticTextTotal->setText(QString::number(warriors_.size()));
  ApplyEnabling();
}

void TFormParams::RefreshBenchmarks() {
  ComboBoxBenchmark->clear();
  for (const TWarriorData& w : benchmarks_)
    ComboBoxBenchmark->addItem(Q(w.Name));
  ComboBoxBenchmark->setCurrentIndex(benchmarks_.empty() ? -1 : 0);
  ApplyEnabling();
}

// The benchmark warriors from one file; a cancelled dialog keeps the ones there were.
bool TFormParams::SelectBenchmark() {
  const auto name = app_.Platform.OpenFileName("Select Benchmark Warrior or List", "");
  if (!name) return false;
  benchmarks_.clear();
  AddWarriorFile(app_.Platform, *name, true, benchmarks_);
  RefreshBenchmarks();
  return true;
}

void TFormParams::ComboBoxChallengerChange(int index) {
  const int32_t selected = ListBoxWarriors->currentRow();
  MoveChallengerFirst(warriors_, index);
  RefreshLists(selected);
}

void TFormParams::ButtonAddFilesClick() {
  const std::vector<std::string> names = app_.Platform.OpenFileNames("Select Warriors To Add", "");
  if (names.empty()) return;
  for (const std::string& name : names)
    AddWarriorFile(app_.Platform, name, false, warriors_);
  RefreshLists(int32_t(warriors_.size()) - 1);
}

void TFormParams::ButtonRemoveClick() {
  std::vector<int32_t> rows;
  for (const QListWidgetItem* item : ListBoxWarriors->selectedItems())
    rows.push_back(ListBoxWarriors->row(item));
  if (rows.empty()) return;
  RefreshLists(RemoveWarriorEntries(warriors_, rows));
}

void TFormParams::ButtonRemoveAllClick() {
  warriors_.clear();
  RefreshLists(-1);
}

void TFormParams::ButtonSortListClick() {
  SortWarriorsByName(warriors_);
  RefreshLists(warriors_.empty() ? -1 : 0);
}

void TFormParams::ButtonSaveListClick() {
  SaveWarriorListFlow(app_.Platform, warriors_);
}

void TFormParams::ButtonNewWarriorClick() {
  TWarriorData warrior = NewWarriorRecord();
  if (!EditEntry(1, warrior)) return;
  warriors_.push_back(std::move(warrior));
  RefreshLists(int32_t(warriors_.size()) - 1);
}

void TFormParams::ButtonEditWarriorClick() {
  const int32_t row = ListBoxWarriors->currentRow();
  if (row < 0 || size_t(row) >= warriors_.size()) return;
  TWarriorData warrior = warriors_[size_t(row)];
  if (!EditEntry(1, warrior)) return;
  TWarriorData& entry = warriors_[size_t(row)];
  entry.ID = warrior.ID;
  entry.Name = warrior.Name;
  entry.Author = warrior.Author;
  entry.FileName = warrior.FileName;
  entry.Source = warrior.Source;
  RefreshLists(row);
}

// The editor compiles with the dialog's values; while a field would not pass its check the
// engine keeps its own.
bool TFormParams::EditEntry(int32_t warriorNumber, TWarriorData& warrior) {
  TParamsRec dialog = app_.Params;
  TSetupFields fields = TakeFields();
  const bool valid = !CheckEverySetupField(fields, MaxLengthWarriorCount(), Stored());
  if (valid) StoreSetupFields(fields, dialog);
  TEngineParamsScope scope(valid ? app_.Core : nullptr, dialog);
  return EditWarrior && EditWarrior(warriorNumber, warrior);
}

bool TFormParams::OpenWarriorEditor(int32_t warriorNumber, TWarriorData& warrior) {
  return app_.FormEditCode && app_.FormEditCode->Execute(warriorNumber, warrior);
}

} // namespace velmora
