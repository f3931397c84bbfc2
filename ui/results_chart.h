#pragma once
// The results window's "Chart" view: one horizontal bar per row of the table, in the table's
// order (so best first when sorted by score), its wins, losses and ties stacked, counts or
// percentages as the table shows them, and the score beside the name.

#include <QStringList>
#include <QWidget>

#include "results/results_table.h"

namespace velmora {

// A plain widget holding the chart, so that only this file needs Qt Charts.
class TResultsChart : public QWidget {
public:
  explicit TResultsChart(QWidget* parent = nullptr);
  // Redraws from the table's rows in display order.
  void Show(TResultsTable& table, bool percent);
  // The bar labels, top to bottom, for the tests: "name  score".
  QStringList Labels() const { return labels_; }
  // Wins, losses and ties of each bar, top to bottom.
  QList<QList<double>> Values() const { return values_; }

private:
  QWidget* view_; // the QChartView
  QStringList labels_;
  QList<QList<double>> values_;
};

} // namespace velmora
