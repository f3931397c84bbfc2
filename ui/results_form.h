#pragma once
// TFormResults, the results window: the scores of every warrior (the summary) or of every
// opponent of one warrior (the details) in a table sorted by a clicked heading, counts or
// percentages of the outcomes, the score formula with its "Change" button, and "Save",
// which writes the results report.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <memory>

#include "results/results_table.h"
#include "ui/app.h"
#include "ui/spare_engine.h"

class QTabWidget;

namespace velmora {

class TResultsChart;

class TFormResults : public QDialog {
  Q_OBJECT
public:
  explicit TFormResults(TVelmoraApp& app, QWidget* parent = nullptr);

  // FormShow, then the window modally.
  void Execute();

  // Each showing starts with the summary; the sort column and direction stay as the user
  // left them.
  void FormShow();
  void RefreshView();
  void ShowSummary();
  // s: 1-based row of the results table.
  void ShowDetails(int32_t s);
  void SetOutcomeHeaders();
  void FillGrid();

  void ButtonResultsShowClick();
  // A click on heading column sorts by it (again: the other way round).
  void StringGridResultsMouseDown(int32_t column);
  void ComboBoxDetailWarriorChange(int index);
  void CheckBoxPercentClick();
  void ButtonChangeClick();
  void ButtonSaveClick();

  bool DetailsShown() const { return details_; }
  int32_t SelectedWarrior() const { return selected_; }
  // The table behind the grid; null before the first showing.
  TResultsTable* Table() { return table_.get(); }

  QTableWidget* StringGridResults;
  QPushButton *ButtonResultsShow, *ButtonSave, *ButtonResultsClose, *ButtonChange;
  QLineEdit* EditScore;
  QLabel *LabelResultsTitle, *LabelWarriorName;
  QComboBox* ComboBoxDetailWarrior;
  QCheckBox* CheckBoxPercent;
  // "Table" and "Chart": the same rows as a grid and as bars.
  QTabWidget* TabsResults;
  TResultsChart* ChartResults;

private:
  void BuildControls();
  void WidenForColumns();
  // The table on the current engine; false when there is none.
  bool PrepareTable();
  // Runs a computation; an error of the score formula is shown and the grid kept.
  template <typename Work> void Guarded(Work work);

  TVelmoraApp& app_;
  TSpareEngine engine_;
  TCore* tableCore_ = nullptr;
  std::unique_ptr<TResultsTable> table_;
  TFormEditScore* ownEditScore_ = nullptr; // when the program made none
  int32_t sortColumn_ = kScoreColumn;
  bool descending_ = true;
  bool details_ = false;
  bool detailsAllowed_ = true;
  int32_t selected_ = 1;
};

} // namespace velmora
