// The main window's buttons that open other windows, and the application of a confirmed
// Setup to the engine.

#include <QMenu>

#include "params/number_text.h"
#include "tournament/warrior_input.h"
#include "tuning/equates.h"
#include "ui/about_form.h"
#include "ui/edit_code_form.h"
#include "ui/mardex_form.h"
#include "ui/options_form.h"
#include "ui/params_form.h"
#include "ui/pspace_form.h"
#include "ui/results_form.h"
#include "ui/tune_form.h"

namespace velmora {

void TMardexForm::ShowNotYetAvailable(const char* what) {
  app_.Platform.ShowMessage(std::string(what) + " is not available in this version.");
}

void TMardexForm::ButtonParamsClick() {
  if (!core_) return;
  const int32_t oldCoreSizeMax = app_.Params.CoreSizeMax;
  const int64_t oldQueueBytes = core_->QueueBlockSize;
  if (!app_.FormParams->Execute()) return;
  ApplySetup(oldCoreSizeMax, oldQueueBytes);
}

void TMardexForm::ApplySetup(int32_t oldCoreSizeMax, int64_t oldQueueBytes) {
  TParamsRec& params = app_.Params;
  TTournamentRec& rec = app_.Tournament.Rec;
  const int32_t listed = int32_t(app_.Tournament.WarriorList.size());
  const int32_t keptNumWarriors = core_->NumWarriors;
  core_->CopyParams(params);
  // CopyParams takes the record's warrior count, which is fixed below.
  core_->NumWarriors = keptNumWarriors;
  if (params.CoreSizeMax != oldCoreSizeMax) {
    core_->FreeCore();
    if (!core_->AllocateCore(params.CoreSizeMax)) {
      params.CoreSizeMax = oldCoreSizeMax;
      app_.Platform.ShowMessage("Creating Core with old core size");
      core_->AllocateCore(oldCoreSizeMax);
    }
  }
  core_->CoreSizeMax = params.CoreSizeMax;
  display_->SetCoreSizeMax(core_->CoreSizeMax);
  params.NumWarriors = rec.TournamentType == Melee ? std::max(listed, 1) : 2;
  core_->NumWarriors = params.NumWarriors;
  const int64_t queueBytes = TCore::QueueBlockBytes(params.MaxProcesses, params.NumWarriors);
  core_->MaxProcesses = params.MaxProcesses;
  if (queueBytes != oldQueueBytes && !core_->AllocateQueue()) {
    // The engine keeps its old block; a battle cannot use it, so none is set up.
    app_.Platform.ShowMessage("Not enough memory to create process queue");
    controller_->SetRunState(RunState::Idle);
    return;
  }
  LabelTournamentTypeOutput->setText(TournamentTypeName(rec.TournamentType));
  ShowWarriorControls();
  controller_->StartRound(true, true);
}

void TMardexForm::ApplyTopology(bool circular) {
  const bool changed = circular != display_->Circular();
  app_.Params.CircularDisplay = circular;
  app_.Setup.CircularDisplay = circular;
  if (!changed) return;
  display_->ApplyTopology(circular);
  if (!core_) {
    display_->RepaintDisplay();
    return;
  }
  display_->RebuildGlyphs(app_.Tournament.WarriorColours);
  // The record's level: the options dialog hands it to the engine only after this.
  if (!core_->MaxSpeed && app_.Params.DisplayLevel >= 1 && core_->RoundState != kRoundIdle)
    display_->PaintOutsideCore(core_->CoreSize);
  ShowDisplay();
}

void TMardexForm::OpenWarriorFiles(const std::vector<std::string>& paths) {
  if (!core_ && !CreateEngine()) return;
  TTournament& tour = app_.Tournament;
  std::vector<TWarriorData> list;
  for (const std::string& path : paths)
    AddWarriorFile(app_.Platform, path, false, list);
  if (list.empty()) return;
  NumberWarriors(list);
  const int32_t oldCoreSizeMax = core_->CoreSizeMax;
  const int64_t oldQueueBytes = core_->QueueBlockSize;
  tour.WarriorList = std::move(list);
  tour.BenchmarkList.clear();
  // Two warriors fight each other; any other number fight together.
  tour.Rec.TournamentType = tour.WarriorList.size() == 2 ? RoundRobin : Melee;
  app_.Setup.TournamentType = tour.Rec.TournamentType;
  tour.Rec.Rounds = std::max(NumberOrDefault(app_.Setup.RoundsText, 1), 1);
  tour.Rec.ScoreFormula = app_.Setup.ScoreFormula;
  tour.Rec.SelfFights = app_.Setup.SelfFights;
  tour.Rec.PauseBetweenRounds = app_.Setup.PauseBetweenRounds;
  ApplySetup(oldCoreSizeMax, oldQueueBytes);
}

void TMardexForm::ButtonEditClick(int32_t k) {
  if (k < 0 || size_t(k) >= app_.Tournament.WarriorList.size()) return;
  EditWarrior(k, app_.Tournament.WarriorList[size_t(k)]);
}

void TMardexForm::EditWarrior(int32_t k, TWarriorData copy) {
  std::vector<TWarriorData>& list = app_.Tournament.WarriorList;
  if (!app_.FormEditCode->Execute(k + 1, copy)) return;
  list[size_t(k)] = std::move(copy);
  ButtonEdit[size_t(k)]->setText(QString::fromStdString(list[size_t(k)].Name));
  controller_->StartRound(true, true);
}

void TMardexForm::ButtonViewPSpaceClick() {
  app_.FormPSpace->show();
  app_.FormPSpace->raise();
}

// A battle at the slow speeds runs from the timer: it waits while a modal window is open.
template <class Show> void TMardexForm::WithTimerPaused(Show show) {
  const bool timerRan = TimerBattle->isActive();
  TimerBattle->stop();
  show();
  if (timerRan) TimerBattle->start();
}

void TMardexForm::ButtonOptionsClick() {
  WithTimerPaused([this] {
    if (app_.FormOptions->exec() == QDialog::Accepted && core_) {
      core_->DisplayLevel = app_.Params.DisplayLevel;
      core_->EarlyDrawCheck = app_.Params.EarlyDrawCheck;
    }
  });
}

void TMardexForm::ButtonTournamentResultsClick() {
  if (app_.Tournament.WarriorList.empty()) {
    app_.Platform.ShowMessage("Tournament not yet set up");
    return;
  }
  // The results stay those of the moment the window opened.
  WithTimerPaused([this] { app_.FormResults->Execute(); });
}

void TMardexForm::ButtonAboutClick() {
  app_.FormAbout->exec();
}

void TMardexForm::chkbxMaxClick(bool checked) {
  if (!controller_) return;
  controller_->SetMaxSpeed(checked);
  if (checked) {
    savedSpeed_ = TrackBarSpeed->value();
    TrackBarSpeed->setValue(TrackBarSpeed->maximum());
  } else {
    TrackBarSpeed->setValue(savedSpeed_);
  }
}

void TMardexForm::WarriorMenu(int32_t k, const QPoint& at) {
  QMenu menu(this);
  menu.addAction("Edit...", this, [this, k] { ButtonEditClick(k); });
  menu.addAction("Tune...", this, [this, k] { TuneWarrior(k); });
  menu.exec(ButtonEdit[size_t(k)]->mapToGlobal(at));
}

void TMardexForm::TuneWarrior(int32_t k) {
  if (k < 0 || size_t(k) >= app_.Tournament.WarriorList.size()) return;
  if (!FormTune) {
    FormTune = new TFormTune(app_, this);
    // The chosen values go to the warrior through the editor, where OK takes them.
    FormTune->UseValue = [this](const TFormTune::Values& values) {
      const int32_t w = tunedWarrior_;
      if (State() == RunState::Running) {
        app_.Platform.ShowMessage("Stop the battle to change its warriors.");
        return;
      }
      if (w < 0 || size_t(w) >= app_.Tournament.WarriorList.size()) return;
      TWarriorData copy = app_.Tournament.WarriorList[size_t(w)];
      for (const auto& [name, value] : values)
        ReplaceEquate(copy.Source, name, std::to_string(value));
      EditWarrior(w, std::move(copy));
    };
  }
  if (FormTune->Running()) {
    FormTune->show();
    FormTune->raise();
    return;
  }
  tunedWarrior_ = k;
  FormTune->Prepare(app_.Tournament.WarriorList[size_t(k)], k);
  FormTune->show();
  FormTune->raise();
  FormTune->activateWindow();
}

} // namespace velmora
