#pragma once
// TFormView, a core view: a stretch of consecutive core cells listed as Redcode lines in the
// colour of the warrior that last touched them, each warrior's next instruction in red and
// breakpoints marked in the first column. Clicks set breakpoints, double clicks edit them or
// the cell, a right click on an operand offers the addresses it points to. Any number may be
// open; the main window keeps them.

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "ui/app.h"
#include "ui/core_listing.h"

namespace velmora {

// The listing itself: draws only the lines it holds, on black, in a fixed-pitch font. It
// takes no mouse input, so presses reach the view's own handlers.
class TCoreListing : public QWidget {
  Q_OBJECT
public:
  explicit TCoreListing(QWidget* parent = nullptr);

  void SetLines(std::vector<TListingLine> lines, std::vector<uint32_t> colours);
  const std::vector<TListingLine>& Lines() const { return lines_; }
  int LineHeight() const;
  int CharWidth() const;
  // Lines that fit the current height.
  int32_t FittingLines() const;

signals:
  void Resized();

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  std::vector<TListingLine> lines_;
  std::vector<uint32_t> colours_;
};

class TFormView : public QWidget {
  Q_OBJECT
public:
  explicit TFormView(TVelmoraApp& app, QWidget* parent = nullptr);
  ~TFormView() override;

  // Rebuilds the listing from the top location, highlighting the listed cells.
  void DisplayLines();
  // Takes the highlight of the listed cells off the main display.
  void EraseHighlights();
  // The first listed address; one beyond the core is ignored, the core size itself lists
  // from 0. The caller erases the highlights before and lists after.
  void SetTopLocation(int32_t address);
  int32_t TopLocation() const { return top_; }
  int32_t LineCount() const { return lineCount_; }
  const std::vector<TListingLine>& Lines() const { return RichEditView->Lines(); }

  void SpinButtonSmallDownClick();
  void SpinButtonSmallUpClick();
  void SpinButtonLargeDownClick();
  void SpinButtonLargeUpClick();
  void EditLocationExit();
  void ButtonExPtsClick();
  void ButtonBreakpointsClick();
  void ButtonCoreviewCloseClick();
  void N1Click();
  void N2Click();

  // Where character column `column` of listing line `line` lies, in this window's
  // coordinates: for clicks by program and by tests.
  QPoint ListingPoint(int32_t line, int32_t column) const;
  // The targets of the popup items, -1 for none.
  int32_t N1Target() const { return n1Target_; }
  int32_t N2Target() const { return n2Target_; }

  TCoreListing* RichEditView;
  QToolButton *SpinButtonSmallUp, *SpinButtonSmallDown, *SpinButtonLargeUp, *SpinButtonLargeDown;
  QLineEdit* EditLocation;
  QPushButton *ButtonExPts, *ButtonBreakpoints, *ButtonCoreviewClose;
  QMenu* PopupMenuView;
  QAction *N1, *N2;

protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  void BuildControls();
  void FillListing();
  void ListingResized();
  void RefreshRequested();
  void Highlight(bool on);
  // Moves the top location after erasing the highlights, then lists.
  void MoveTo(int32_t top);
  // The listed line and character column under the last press; false outside the lines.
  bool PressedCell(int32_t& address, LinePart& part) const;
  void FormMouseDown(Qt::MouseButton button, QPoint globalPos);
  void FormClick();
  void FormDblClick();
  void OpenOperandPopup(int32_t address, bool bOperand, QPoint globalPos);
  void OpenViewAt(int32_t target);
  // The execution points editor, modal; true on OK with SelectedLocation set.
  bool ShowExecutionPoints();
  TCore* Core() const { return app_.Core; }

  TVelmoraApp& app_;
  int32_t top_ = -1;
  int32_t lineCount_ = 0;
  QPoint pressPos_;            // in the listing's coordinates
  bool pressed_ = false;       // a left press in this window awaits its release
  bool doubleClicked_ = false; // the release after a double click is no click
  int32_t n1Target_ = -1, n2Target_ = -1;
};

} // namespace velmora
