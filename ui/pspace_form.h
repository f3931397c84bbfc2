#pragma once
// TFormPSpace ("P-space View"): the P-space of one warrior of the battle, one line per
// location from a top location on, in the warrior's colour; location 0 is the warrior's
// last result. A double click on a line opens the P-space editor for that location. The
// window stays on top and redraws whenever the main window refreshes its views.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include "ui/app.h"

namespace velmora {

// The read-only listing: black, one colour, no wrapping. It takes no mouse input itself, so
// presses on it reach the window.
class TPSpaceListing : public QWidget {
public:
  explicit TPSpaceListing(QWidget* parent = nullptr);
  void SetLines(const QStringList& lines, QColor colour);
  const QStringList& Lines() const { return lines_; }
  int LineHeight() const;
  // Whole lines that fit into the listing's height, at least 1.
  int32_t LinesThatFit() const;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QStringList lines_;
  QColor colour_;
};

class TFormPSpace : public QWidget {
  Q_OBJECT
public:
  explicit TFormPSpace(TVelmoraApp& app, QWidget* parent = nullptr);

  TPSpaceListing* RichEditView;
  QToolButton *SpinButtonSmallUp, *SpinButtonSmallDown; // "Line"
  QToolButton *SpinButtonLargeUp, *SpinButtonLargeDown; // "Page"
  QLineEdit* EditLocation;
  QPushButton* ButtonCoreviewClose;
  QComboBox* ComboBoxWarrior;

  // The battle's warriors into the combo box, the first one listed from location 0. Also
  // called when a matchup's warriors have been compiled.
  void FormShow();
  void DisplayLines();
  void ComboBoxWarriorChange();
  void SpinButtonSmallDownClick();
  void SpinButtonSmallUpClick();
  void SpinButtonLargeDownClick();
  void SpinButtonLargeUpClick();
  void EditLocationExit();
  // The editor for the line under the pointer of the last press in the listing.
  void FormDblClick();
  void ButtonCoreviewCloseClick() { hide(); }

  int32_t TopLocation() const { return top_; }
  int32_t LineCount() const { return lineCount_; }

protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildControls();
  TWarrior* ChosenWarrior() const;
  int32_t Locations() const;
  void MoveTop(int64_t delta);

  TVelmoraApp& app_;
  int32_t top_ = 0;
  int32_t lineCount_ = 1;
  int pointerY_ = -1; // in the listing, at the last press
};

} // namespace velmora
