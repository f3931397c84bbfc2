#include "ui/results_chart.h"

#include <algorithm>

#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalStackedBarSeries>
#include <QtCharts/QValueAxis>

namespace velmora {

TResultsChart::TResultsChart(QWidget* parent) : QWidget(parent) {
  auto* view = new QChartView(this);
  view->setRenderHint(QPainter::Antialiasing);
  view->chart()->legend()->setAlignment(Qt::AlignBottom);
  view->chart()->setAnimationOptions(QChart::NoAnimation);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  view_ = view;
}

void TResultsChart::Show(TResultsTable& table, bool percent) {
  labels_.clear();
  values_.clear();
  const int rows = int(table.Order.size());
  for (int i = 0; i < rows; ++i) {
    const ResultRow& row = table.RowAt(i);
    // Numbered: the axis keeps one bar per distinct label, and two warriors may share a name.
    labels_ << QString("%1. %2  %3")
                   .arg(i + 1)
                   .arg(QString::fromStdString(row.Name))
                   .arg(row.Score, 0, 'f', 1);
    double ties = 0;
    for (size_t k = 2; k < row.Outcomes.size(); ++k)
      ties += row.Outcomes[k];
    values_ << QList<double>{row.Outcomes.size() > 0 ? row.Outcomes[0] : 0,
                             row.Outcomes.size() > 1 ? row.Outcomes[1] : 0, ties};
  }
  QChart* c = static_cast<QChartView*>(view_)->chart();
  c->removeAllSeries();
  // Removing an axis gives it back to us; the series, removeAllSeries deletes itself.
  for (QAbstractAxis* axis : c->axes()) {
    c->removeAxis(axis);
    delete axis;
  }
  auto* series = new QHorizontalStackedBarSeries;
  const char* names[] = {"Wins", "Losses", "Ties"};
  const QColor colours[] = {QColor(0x2e7d32), QColor(0xc62828), QColor(0x9e9e9e)};
  // A horizontal chart draws its first category at the bottom: the best goes in last.
  for (int part = 0; part < 3; ++part) {
    auto* set = new QBarSet(percent ? QString(names[part]) + " %" : names[part]);
    set->setColor(colours[part]);
    for (int i = rows - 1; i >= 0; --i)
      *set << values_[i][part];
    series->append(set);
  }
  c->addSeries(series);
  auto* categories = new QBarCategoryAxis;
  QStringList bottomUp = labels_;
  std::reverse(bottomUp.begin(), bottomUp.end());
  categories->append(bottomUp);
  c->addAxis(categories, Qt::AlignLeft);
  series->attachAxis(categories);
  auto* amounts = new QValueAxis;
  amounts->setLabelFormat("%.0f");
  amounts->setTitleText(percent ? "% of rounds" : "rounds");
  c->addAxis(amounts, Qt::AlignBottom);
  series->attachAxis(amounts);
  c->setTitle(table.Rows.empty() ? "No rounds yet" : QString());
}

} // namespace velmora
