#pragma once
// TFormTune, the "Tune" window: sweeps one or two of a warrior's one-line equates against a
// benchmark on worker threads, and charts the score as the points finish: against the value
// for one constant, as a heat map for two. A chosen point's values go back to the warrior.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <array>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "tuning/sweep.h"
#include "ui/app.h"

namespace velmora {

class TFormTune : public QDialog {
  Q_OBJECT
public:
  using Values = std::vector<std::pair<std::string, int32_t>>;

  explicit TFormTune(TVelmoraApp& app, QWidget* parent = nullptr);
  ~TFormTune() override;

  // Tunes warrior; listIndex is its place in the warrior list (left out of the opponents
  // there), -1 when it has none. Refused while a sweep runs.
  void Prepare(const TWarriorData& warrior, int32_t listIndex);
  // Receives the chosen point's values on "Use this value".
  std::function<void(const Values&)> UseValue;

  bool Running() const { return thread_.joinable(); }
  const SweepOutcome& Outcome() const { return outcome_; }
  // The point whose W/L/T is shown and whose values "Use this value" takes; -1 none.
  int32_t ChosenPoint() const { return chosen_; }

  void ButtonRunClick();
  void ButtonStopClick();
  void ButtonUseClick();

  QListWidget* ListEquates;
  std::array<QLabel*, 2> LabelRange;
  std::array<QLineEdit*, 2> EditFrom, EditTo, EditStep;
  QRadioButton *RadioWarriorList, *RadioListFile;
  QLineEdit* EditListFile;
  QPushButton* ButtonBrowse;
  QLineEdit* EditRounds;
  QCheckBox* CheckBoxHalving;
  QPushButton *ButtonRun, *ButtonStop, *ButtonUse, *ButtonClose;
  QProgressBar* GaugeProgress;
  QLabel *LabelStatus, *LabelPoint;
  QChartView* ChartView;
  QLineSeries* SeriesLine;      // one constant: the scores joined in value order
  QScatterSeries* SeriesPoints; // every scored point (cells of the heat map for two)
  QScatterSeries* SeriesBest;

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void BuildControls();
  void EquateChecked(QListWidgetItem* item);
  void ShowRanges();
  bool ReadSpec(SweepSpec& plan);
  void PointFinished(size_t index, const SweepPoint& point);
  void SweepFinished(SweepOutcome outcome);
  void Tick();
  void Redraw();
  void PointClicked(const QPointF& at);
  void Choose(int32_t index);
  void SetRunning(bool running);
  void StopAndWait();

  TVelmoraApp& app_;
  TWarriorData warrior_;
  int32_t listIndex_ = -1;
  std::vector<std::string> picked_; // names of the checked equates, in the order checked
  SweepSpec spec_;
  std::unique_ptr<SweepProgress> progress_ = std::make_unique<SweepProgress>();
  SweepOutcome outcome_; // the points as they finish; the whole outcome at the end
  std::thread thread_;
  QTimer* timer_;
  bool dirty_ = false;
  int32_t chosen_ = -1;
  int32_t best_ = -1;
};

} // namespace velmora
