// The results window's table: computing, sorting and filling the grid, and the handlers
// that change what it shows, the score formula and the report.

#include <QHeaderView>
#include <QSignalBlocker>

#include <exception>

#include "results/grid_text.h"
#include "results/report.h"
#include "ui/edit_score_form.h"
#include "ui/file_names.h"
#include "ui/results_chart.h"
#include "ui/results_form.h"

namespace velmora {

bool TFormResults::PrepareTable() {
  TCore* core = engine_.For(app_);
  if (!core) return false;
  if (!table_ || tableCore_ != core) {
    table_ = std::make_unique<TResultsTable>(*core, app_.Tournament);
    tableCore_ = core;
  }
  table_->SortColumn = sortColumn_;
  table_->Descending = descending_;
  table_->Percent = CheckBoxPercent->isChecked();
  return true;
}

template <typename Work> void TFormResults::Guarded(Work work) {
  try {
    work();
  } catch (const std::exception& e) {
    // A formula that fails for a loss stops the computation; the grid keeps what it showed.
    app_.Platform.ShowMessage(e.what());
  }
}

void TFormResults::ShowSummary() {
  if (!PrepareTable()) return;
  Guarded([this] {
    table_->ComputeSummary();
    table_->SortRows();
    FillGrid();
  });
}

void TFormResults::ShowDetails(int32_t s) {
  selected_ = s;
  if (!PrepareTable()) return;
  Guarded([this, s] {
    table_->ComputeDetails(s);
    table_->SortRows();
    FillGrid();
  });
}

void TFormResults::SetOutcomeHeaders() {
  const TTournamentRec& rec = app_.Tournament.Rec;
  const std::vector<std::string> headings = GridHeadings(rec.TournamentType, rec.WarriorsPerBattle,
                                                         CheckBoxPercent->isChecked(), details_);
  StringGridResults->setColumnCount(int(headings.size()));
  QStringList labels;
  for (const std::string& h : headings)
    labels << QString::fromStdString(h);
  StringGridResults->setHorizontalHeaderLabels(labels);
}

void TFormResults::FillGrid() {
  const std::vector<std::vector<std::string>> cells = GridCells(*table_);
  const int columns = StringGridResults->columnCount();
  StringGridResults->setRowCount(int(cells.size()));
  for (size_t r = 0; r < cells.size(); ++r)
    for (int c = 0; c < columns; ++c) {
      const QString text =
          size_t(c) < cells[r].size() ? QString::fromStdString(cells[r][size_t(c)]) : QString();
      StringGridResults->setItem(int(r), c, new QTableWidgetItem(text));
    }
  // Qt draws its ascending indicator as a down arrow (SortDown); players read a down arrow
  // as "highest first", so the arrow is given the order it looks like.
  StringGridResults->horizontalHeader()->setSortIndicator(
      sortColumn_, descending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
  ChartResults->Show(*table_, CheckBoxPercent->isChecked());
}

void TFormResults::RefreshView() {
  const TTournament& tour = app_.Tournament;
  ButtonResultsShow->setVisible(detailsAllowed_);
  if (!detailsAllowed_) details_ = false;
  if (details_) {
    LabelResultsTitle->setText("Details for");
    ButtonResultsShow->setText("Show Summary");
    if (tour.Rec.TournamentType == Challenge) {
      LabelWarriorName->setText(
          tour.WarriorList.empty() ? QString() : QString::fromStdString(tour.WarriorList[0].Name));
      LabelWarriorName->show();
      ComboBoxDetailWarrior->hide();
    } else {
      LabelWarriorName->hide();
      const QSignalBlocker quiet(ComboBoxDetailWarrior);
      ComboBoxDetailWarrior->clear();
      for (const TWarriorData& w : tour.WarriorList)
        ComboBoxDetailWarrior->addItem(QString::fromStdString(w.Name));
      ComboBoxDetailWarrior->setCurrentIndex(0);
      ComboBoxDetailWarrior->show();
    }
    SetOutcomeHeaders();
    ShowDetails(1);
  } else {
    LabelResultsTitle->setText("Summary");
    LabelWarriorName->hide();
    ComboBoxDetailWarrior->hide();
    ButtonResultsShow->setText("Show Details");
    SetOutcomeHeaders();
    ShowSummary();
  }
  // Summary and details hold different texts: each gets columns for its own.
  StringGridResults->resizeColumnsToContents();
}

void TFormResults::ButtonResultsShowClick() {
  details_ = !details_;
  RefreshView();
}

void TFormResults::StringGridResultsMouseDown(int32_t column) {
  if (!PrepareTable()) return;
  table_->HeadingClicked(column);
  sortColumn_ = table_->SortColumn;
  descending_ = table_->Descending;
  if (details_)
    ShowDetails(selected_);
  else
    ShowSummary();
}

void TFormResults::ComboBoxDetailWarriorChange(int index) {
  if (details_ && index >= 0) ShowDetails(index + 1);
}

void TFormResults::CheckBoxPercentClick() {
  app_.Setup.Percent = CheckBoxPercent->isChecked();
  SetOutcomeHeaders();
  if (details_)
    ShowDetails(selected_);
  else
    ShowSummary();
}

void TFormResults::ButtonChangeClick() {
  std::string& formula = app_.Tournament.Rec.ScoreFormula;
  const std::string kept = formula;
  TFormEditScore* dialog = app_.FormEditScore;
  if (!dialog) {
    if (!ownEditScore_) ownEditScore_ = new TFormEditScore(app_, this);
    dialog = ownEditScore_;
  }
  if (!dialog->Execute()) {
    // A formula that failed its check may have been stored on the way.
    formula = kept;
    return;
  }
  app_.Setup.ScoreFormula = formula;
  EditScore->setText(QString::fromStdString(formula));
  RefreshView();
}

void TFormResults::ButtonSaveClick() {
  const auto chosen =
      app_.Platform.SaveFileName("Save Results", "Text (*.txt)|All files (*)", std::string());
  if (!chosen || !PrepareTable()) return;
  const std::string path = WithDefaultExtension(*chosen, "txt");
  std::string error;
  bool written = true;
  Guarded([&] { written = WriteReport(path, *table_, app_.Tournament, *tableCore_, error); });
  if (!written) app_.Platform.ShowMessage(error);
}

} // namespace velmora
