// The Tune window: its controls, the sweep on a worker thread, and the chart.

#include "ui/tune_form.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>

#include "params/number_text.h"
#include "tournament/warrior_input.h"
#include "tuning/equates.h"
#include "ui/widgets.h"

namespace velmora {

namespace {

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

double Percent(int32_t count, const SweepPoint& p) {
  const int32_t rounds = p.Wins + p.Losses + p.Ties;
  return rounds == 0 ? 0.0 : 100.0 * count / rounds;
}

// Heat map colours: low scores blue, high ones red.
QColor Heat(double score, double low, double high) {
  const double t = high > low ? (score - low) / (high - low) : 1.0;
  return QColor::fromHsvF(float(0.66 * (1.0 - t)), 0.85f, 0.95f);
}

} // namespace

TFormTune::TFormTune(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Tune");
  setWindowFlag(Qt::Window);
  setModal(false);
  BuildControls();
  timer_ = new QTimer(this);
  timer_->setInterval(200);
  connect(timer_, &QTimer::timeout, this, &TFormTune::Tick);
  resize(980, 600);
}

TFormTune::~TFormTune() {
  StopAndWait();
}

void TFormTune::BuildControls() {
  ListEquates = new QListWidget(this);
  ListEquates->setMinimumWidth(220);
  auto* ranges = new QGridLayout;
  ranges->addWidget(new QLabel("From", this), 0, 1);
  ranges->addWidget(new QLabel("To", this), 0, 2);
  ranges->addWidget(new QLabel("Step", this), 0, 3);
  for (size_t i = 0; i < 2; ++i) {
    LabelRange[i] = new QLabel(this);
    EditFrom[i] = new QLineEdit(this);
    EditTo[i] = new QLineEdit(this);
    EditStep[i] = new QLineEdit(this);
    const int row = int(i) + 1;
    ranges->addWidget(LabelRange[i], row, 0);
    ranges->addWidget(EditFrom[i], row, 1);
    ranges->addWidget(EditTo[i], row, 2);
    ranges->addWidget(EditStep[i], row, 3);
  }
  RadioWarriorList = new QRadioButton("Current warrior list", this);
  RadioListFile = new QRadioButton("List file:", this);
  RadioWarriorList->setChecked(true);
  EditListFile = new QLineEdit(this);
  ButtonBrowse = MakeButton("Browse...", this);
  EditRounds = new QLineEdit(this);
  CheckBoxHalving = new QCheckBox("Successive halving", this);
  ButtonRun = new QPushButton("Run", this);
  ButtonRun->setDefault(true);
  ButtonStop = MakeButton("Stop", this);
  ButtonUse = MakeButton("Use this value", this);
  ButtonClose = MakeButton("Close", this);
  GaugeProgress = new QProgressBar(this);
  LabelStatus = new QLabel(this);
  LabelPoint = new QLabel(this);
  LabelPoint->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* chart = new QChart;
  chart->legend()->hide();
  SeriesLine = new QLineSeries(chart);
  SeriesPoints = new QScatterSeries(chart);
  SeriesPoints->setMarkerSize(8);
  SeriesBest = new QScatterSeries(chart);
  SeriesBest->setMarkerShape(QScatterSeries::MarkerShapeStar);
  SeriesBest->setMarkerSize(22);
  SeriesBest->setColor(QColor(220, 30, 30));
  for (QXYSeries* s : std::initializer_list<QXYSeries*>{SeriesLine, SeriesPoints, SeriesBest})
    chart->addSeries(s);
  auto* axisX = new QValueAxis(chart);
  auto* axisY = new QValueAxis(chart);
  chart->addAxis(axisX, Qt::AlignBottom);
  chart->addAxis(axisY, Qt::AlignLeft);
  for (QXYSeries* s : std::initializer_list<QXYSeries*>{SeriesLine, SeriesPoints, SeriesBest}) {
    s->attachAxis(axisX);
    s->attachAxis(axisY);
  }
  ChartView = new QChartView(chart, this);
  ChartView->setRenderHint(QPainter::Antialiasing);
  ChartView->setMinimumSize(480, 360);

  auto* equates = new QGroupBox("Constants (one or two)", this);
  auto* equatesColumn = new QVBoxLayout(equates);
  equatesColumn->addWidget(ListEquates);
  equatesColumn->addLayout(ranges);
  auto* bench = new QGroupBox("Benchmark", this);
  auto* benchColumn = new QGridLayout(bench);
  benchColumn->addWidget(RadioWarriorList, 0, 0, 1, 3);
  benchColumn->addWidget(RadioListFile, 1, 0);
  benchColumn->addWidget(EditListFile, 1, 1);
  benchColumn->addWidget(ButtonBrowse, 1, 2);
  auto* roundsLabel = new QLabel("Rounds:", this);
  roundsLabel->setBuddy(EditRounds);
  benchColumn->addWidget(roundsLabel, 2, 0);
  benchColumn->addWidget(EditRounds, 2, 1);
  benchColumn->addWidget(CheckBoxHalving, 3, 0, 1, 3);
  auto* runRow = new QHBoxLayout;
  for (QPushButton* b : {ButtonRun, ButtonStop})
    runRow->addWidget(b);
  auto* left = new QVBoxLayout;
  left->addWidget(equates, 1);
  left->addWidget(bench);
  left->addLayout(runRow);
  left->addWidget(GaugeProgress);
  left->addWidget(LabelStatus);
  auto* right = new QVBoxLayout;
  right->addWidget(ChartView, 1);
  auto* useRow = new QHBoxLayout;
  useRow->addWidget(LabelPoint, 1);
  useRow->addWidget(ButtonUse);
  useRow->addWidget(ButtonClose);
  right->addLayout(useRow);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);

  connect(ListEquates, &QListWidget::itemChanged, this, &TFormTune::EquateChecked);
  connect(ButtonRun, &QPushButton::clicked, this, &TFormTune::ButtonRunClick);
  connect(ButtonStop, &QPushButton::clicked, this, &TFormTune::ButtonStopClick);
  connect(ButtonUse, &QPushButton::clicked, this, &TFormTune::ButtonUseClick);
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);
  connect(ButtonBrowse, &QPushButton::clicked, this, [this] {
    if (auto path = app_.Platform.OpenFileName("Select Benchmark Warrior or List", "")) {
      EditListFile->setText(Text(*path));
      RadioListFile->setChecked(true);
    }
  });
  for (QScatterSeries* s : {SeriesPoints, SeriesBest})
    connect(s, &QXYSeries::clicked, this, &TFormTune::PointClicked);
  SetRunning(false);
}

void TFormTune::Prepare(const TWarriorData& warrior, int32_t listIndex) {
  if (Running()) return;
  warrior_ = warrior;
  listIndex_ = listIndex;
  setWindowTitle(Text("Tune " + warrior.Name));
  picked_.clear();
  const QSignalBlocker block(ListEquates);
  ListEquates->clear();
  for (const EquateLine& e : FindEquates(warrior.Source)) {
    auto* item = new QListWidgetItem(Text(e.Name + " = " + e.Text), ListEquates);
    item->setData(Qt::UserRole, Text(e.Name));
    item->setData(Qt::UserRole + 1, Text(e.Text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  EditRounds->setText(QString::number(std::max(app_.Tournament.Rec.Rounds, 1)));
  outcome_ = {};
  chosen_ = best_ = -1;
  LabelStatus->setText(ListEquates->count() ? "Tick one or two constants."
                                            : "This warrior has no one-line EQU.");
  LabelPoint->clear();
  GaugeProgress->setValue(0);
  ShowRanges();
  Redraw();
  SetRunning(false);
}

void TFormTune::EquateChecked(QListWidgetItem* item) {
  const std::string name = item->data(Qt::UserRole).toString().toStdString();
  auto at = std::find(picked_.begin(), picked_.end(), name);
  if (item->checkState() == Qt::Checked && at == picked_.end()) {
    if (picked_.size() == 2) {
      // A third tick takes the place of the older of the two.
      for (int i = 0; i < ListEquates->count(); ++i)
        if (ListEquates->item(i)->data(Qt::UserRole).toString().toStdString() == picked_[0]) {
          const QSignalBlocker block(ListEquates);
          ListEquates->item(i)->setCheckState(Qt::Unchecked);
        }
      picked_.erase(picked_.begin());
    }
    picked_.push_back(name);
    // A numeric value gets the ten values around it to start with.
    const size_t row = picked_.size() - 1;
    const auto value = ParseNumberText(item->data(Qt::UserRole + 1).toString().toStdString());
    const int64_t v = value.value_or(5);
    EditFrom[row]->setText(QString::number(std::max<int64_t>(v - 5, INT32_MIN)));
    EditTo[row]->setText(QString::number(std::min<int64_t>(v + 5, INT32_MAX)));
    EditStep[row]->setText("1");
  } else if (item->checkState() != Qt::Checked && at != picked_.end()) {
    // The remaining range moves up with its name.
    if (at == picked_.begin() && picked_.size() == 2)
      for (QLineEdit* const* edits : {EditFrom.data(), EditTo.data(), EditStep.data()})
        edits[0]->setText(edits[1]->text());
    picked_.erase(at);
  }
  ShowRanges();
}

void TFormTune::ShowRanges() {
  for (size_t i = 0; i < 2; ++i) {
    const bool on = i < picked_.size();
    LabelRange[i]->setText(on ? Text(picked_[i]) : QString());
    for (QLineEdit* e : {EditFrom[i], EditTo[i], EditStep[i]})
      e->setEnabled(on);
  }
}

bool TFormTune::ReadSpec(SweepSpec& plan) {
  auto refuse = [&](const std::string& message, QWidget* field) {
    app_.Platform.ShowMessage(message);
    if (field) field->setFocus();
    return false;
  };
  if (picked_.empty()) return refuse("Tick one or two constants to vary.", ListEquates);
  plan = SweepSpec{};
  plan.Warrior = warrior_;
  for (size_t i = 0; i < picked_.size(); ++i) {
    SweepRange r{picked_[i], 0, 0, 1};
    for (auto [edit, value] : {std::pair{EditFrom[i], &r.From}, std::pair{EditTo[i], &r.To},
                               std::pair{EditStep[i], &r.Step}}) {
      const auto n = ParseNumberText(edit->text().toStdString());
      if (!n) return refuse("The range of " + picked_[i] + " needs whole numbers.", edit);
      *value = *n;
    }
    plan.Ranges.push_back(r);
  }
  if (std::string error = CheckSweepRanges(plan.Warrior, plan.Ranges); !error.empty())
    return refuse(error, EditFrom[0]);
  const auto rounds = ParseNumberText(EditRounds->text().toStdString());
  if (!rounds || *rounds < 1) return refuse("Rounds must be at least 1.", EditRounds);
  plan.Rounds = *rounds;
  if (RadioWarriorList->isChecked()) {
    const auto& list = app_.Tournament.WarriorList;
    for (size_t i = 0; i < list.size(); ++i)
      if (int32_t(i) != listIndex_) plan.Opponents.push_back(list[i]);
  } else {
    AddWarriorFile(app_.Platform, EditListFile->text().toStdString(), true, plan.Opponents);
  }
  if (plan.Opponents.empty())
    return refuse("The benchmark has no warriors.", RadioWarriorList->isChecked()
                                                        ? static_cast<QWidget*>(RadioWarriorList)
                                                        : EditListFile);
  plan.Params = app_.Params;
  plan.ScoreFormula = app_.Tournament.Rec.ScoreFormula;
  plan.Halving = CheckBoxHalving->isChecked();
  plan.Threads = int32_t(std::max(1u, std::thread::hardware_concurrency()));
  return true;
}

void TFormTune::ButtonRunClick() {
  if (Running()) return;
  SweepSpec plan;
  if (!ReadSpec(plan)) return;
  spec_ = std::move(plan);
  progress_ = std::make_unique<SweepProgress>();
  outcome_ = {};
  size_t points = 1;
  for (const SweepRange& r : spec_.Ranges)
    points *= RangeValues(r).size();
  outcome_.Points.resize(points);
  chosen_ = best_ = -1;
  LabelPoint->clear();
  LabelStatus->setText("Running...");
  SetRunning(true);
  Redraw();
  // The worker hands points and the end to this window through its event queue, so the
  // window's state changes on its own thread only.
  thread_ = std::thread([this] {
    SweepOutcome out = RunSweep(spec_, *progress_, [this](size_t index, const SweepPoint& p) {
      QMetaObject::invokeMethod(
          this, [this, index, p] { PointFinished(index, p); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this, [this, out = std::move(out)]() mutable { SweepFinished(std::move(out)); },
        Qt::QueuedConnection);
  });
  timer_->start();
}

void TFormTune::ButtonStopClick() {
  if (!Running()) return;
  progress_->Stop = true;
  ButtonStop->setEnabled(false);
  LabelStatus->setText("Stopping...");
}

void TFormTune::StopAndWait() {
  if (!thread_.joinable()) return;
  progress_->Stop = true;
  thread_.join();
}

void TFormTune::closeEvent(QCloseEvent* event) {
  // A closed window has nobody to show its points to.
  ButtonStopClick();
  QDialog::closeEvent(event);
}

void TFormTune::PointFinished(size_t index, const SweepPoint& point) {
  if (index < outcome_.Points.size()) outcome_.Points[index] = point;
  dirty_ = true;
}

void TFormTune::SweepFinished(SweepOutcome outcome) {
  if (thread_.joinable()) thread_.join();
  timer_->stop();
  SetRunning(false);
  if (outcome.Fault != SweepOutcome::Failure::None) {
    LabelStatus->setText("Not run.");
    app_.Platform.ShowMessage(outcome.Error);
    return;
  }
  outcome_ = std::move(outcome);
  GaugeProgress->setValue(GaugeProgress->maximum());
  Redraw();
  if (!outcome_.Ranking.empty()) Choose(int32_t(outcome_.Ranking.front()));
  size_t failed = 0;
  for (const SweepPoint& p : outcome_.Points)
    failed += p.Failed;
  QString status = outcome_.Stopped ? "Stopped." : "Finished.";
  if (failed) status += QString(" %1 point(s) failed to assemble or fight.").arg(failed);
  LabelStatus->setText(status);
}

void TFormTune::Tick() {
  const SweepProgress& p = *progress_;
  const int64_t total = std::max<int64_t>(p.TotalRounds, 1);
  SetGaugeState(*GaugeProgress, 1000, int(1000 * p.RoundsDone / total), true);
  if (Running() && !p.Stop)
    LabelStatus->setText(
        QString("Points %1/%2").arg(p.PointsDone.load()).arg(p.TotalPoints.load()));
  if (dirty_) Redraw();
}

void TFormTune::Redraw() {
  dirty_ = false;
  const bool two = spec_.Ranges.size() == 2;
  QList<QPointF> line, dots;
  std::vector<double> scores;
  std::vector<int32_t> index; // point of each dot
  best_ = -1;
  for (size_t i = 0; i < outcome_.Points.size(); ++i) {
    const SweepPoint& p = outcome_.Points[i];
    if (p.Failed || p.Rounds == 0 || p.Values.size() != spec_.Ranges.size()) continue;
    dots.append(two ? QPointF(p.Values[0], p.Values[1]) : QPointF(p.Values[0], p.Score));
    scores.push_back(p.Score);
    index.push_back(int32_t(i));
    // The best so far among the points with the most rounds.
    const SweepPoint* b = best_ < 0 ? nullptr : &outcome_.Points[size_t(best_)];
    if (!b || p.Rounds > b->Rounds || (p.Rounds == b->Rounds && p.Score > b->Score))
      best_ = int32_t(i);
  }
  line = dots;
  std::sort(line.begin(), line.end(),
            [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
  SeriesLine->replace(two ? QList<QPointF>() : line);
  SeriesPoints->clearPointsConfiguration();
  SeriesPoints->replace(dots);
  SeriesLine->setVisible(!two);

  auto* axisX = static_cast<QValueAxis*>(ChartView->chart()->axes(Qt::Horizontal).front());
  auto* axisY = static_cast<QValueAxis*>(ChartView->chart()->axes(Qt::Vertical).front());
  auto span = [](const SweepRange& r, double pad) {
    const double a = std::min(r.From, r.To), b = std::max(r.From, r.To);
    return std::pair{a - pad * std::max(1.0, double(std::abs(r.Step))),
                     b + pad * std::max(1.0, double(std::abs(r.Step)))};
  };
  if (!spec_.Ranges.empty()) {
    // Half a step of margin, so that the dots at the ends can be clicked whole.
    const auto [x0, x1] = span(spec_.Ranges[0], 0.5);
    axisX->setRange(x0, x1 > x0 ? x1 : x0 + 1);
    axisX->setTitleText(Text(spec_.Ranges[0].Name));
    // Values are whole numbers; the heat map's axes run between them.
    axisX->setLabelFormat(two ? "%.1f" : "%.0f");
    axisY->setLabelFormat(two ? "%.1f" : "%.0f");
  }
  const double low = scores.empty() ? 0 : *std::min_element(scores.begin(), scores.end());
  const double high = scores.empty() ? 0 : *std::max_element(scores.begin(), scores.end());
  if (two) {
    const auto [y0, y1] = span(spec_.Ranges[1], 0.5);
    axisY->setRange(y0, y1);
    axisY->setTitleText(Text(spec_.Ranges[1].Name));
    // One square cell per point, coloured by its score.
    const size_t columns = RangeValues(spec_.Ranges[0]).size();
    const size_t rows = RangeValues(spec_.Ranges[1]).size();
    const QRectF area = ChartView->chart()->plotArea();
    SeriesPoints->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    SeriesPoints->setMarkerSize(std::clamp(
        std::min(area.width() / double(columns), area.height() / double(rows)), 3.0, 60.0));
    SeriesPoints->setBorderColor(Qt::transparent);
    SeriesBest->setColor(Qt::black);
    for (int k = 0; k < int(scores.size()); ++k)
      SeriesPoints->setPointConfiguration(k, QXYSeries::PointConfiguration::Color,
                                          Heat(scores[size_t(k)], low, high));
    ChartView->chart()->setTitle(Text("Score by " + spec_.Ranges[0].Name + " and " +
                                      spec_.Ranges[1].Name + " (blue low, red high)"));
  } else {
    SeriesPoints->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    SeriesPoints->setMarkerSize(8);
    axisY->setRange(std::min(0.0, low), std::max(high * 1.1, 1.0));
    axisY->setTitleText("Score");
    SeriesBest->setColor(QColor(220, 30, 30));
    ChartView->chart()->setTitle(spec_.Ranges.empty() ? QString()
                                                      : Text("Score by " + spec_.Ranges[0].Name));
  }
  QList<QPointF> best;
  if (best_ >= 0) {
    const SweepPoint& b = outcome_.Points[size_t(best_)];
    best.append(two ? QPointF(b.Values[0], b.Values[1]) : QPointF(b.Values[0], b.Score));
  }
  SeriesBest->replace(best);
}

void TFormTune::PointClicked(const QPointF& at) {
  const bool two = spec_.Ranges.size() == 2;
  int32_t nearest = -1;
  double distance = 0;
  for (size_t i = 0; i < outcome_.Points.size(); ++i) {
    const SweepPoint& p = outcome_.Points[i];
    if (p.Failed || p.Rounds == 0 || p.Values.size() != spec_.Ranges.size()) continue;
    // Nearest in value, the chart's own units along each axis.
    const double dx = (p.Values[0] - at.x()) / std::max(1, std::abs(spec_.Ranges[0].Step));
    const double dy =
        two ? (p.Values[1] - at.y()) / std::max(1, std::abs(spec_.Ranges[1].Step)) : 0.0;
    const double d = dx * dx + dy * dy;
    if (nearest < 0 || d < distance) {
      nearest = int32_t(i);
      distance = d;
    }
  }
  if (nearest >= 0) Choose(nearest);
}

void TFormTune::Choose(int32_t index) {
  chosen_ = index;
  const SweepPoint& p = outcome_.Points[size_t(index)];
  std::string values;
  for (size_t i = 0; i < spec_.Ranges.size() && i < p.Values.size(); ++i)
    values += (i ? ", " : "") + spec_.Ranges[i].Name + " = " + std::to_string(p.Values[i]);
  LabelPoint->setText(QString("%1: score %2, W %3%, L %4%, T %5% (%6 rounds each)")
                          .arg(Text(values))
                          .arg(p.Score, 0, 'f', 1)
                          .arg(Percent(p.Wins, p), 0, 'f', 1)
                          .arg(Percent(p.Losses, p), 0, 'f', 1)
                          .arg(Percent(p.Ties, p), 0, 'f', 1)
                          .arg(p.Rounds));
  ButtonUse->setEnabled(!Running() && UseValue != nullptr);
}

void TFormTune::ButtonUseClick() {
  if (chosen_ < 0 || !UseValue) return;
  const SweepPoint& p = outcome_.Points[size_t(chosen_)];
  Values values;
  for (size_t i = 0; i < spec_.Ranges.size() && i < p.Values.size(); ++i)
    values.emplace_back(spec_.Ranges[i].Name, p.Values[i]);
  UseValue(values);
}

void TFormTune::SetRunning(bool running) {
  ButtonRun->setEnabled(!running);
  ButtonStop->setEnabled(running);
  ButtonUse->setEnabled(!running && chosen_ >= 0 && UseValue != nullptr);
  ListEquates->setEnabled(!running);
  if (!running) ButtonRun->setFocus();
}

} // namespace velmora
