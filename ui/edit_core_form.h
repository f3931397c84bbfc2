#pragma once
// TFormEditCore: replaces the instruction at SelectedLocation, or a run of instructions from
// there on, by Redcode typed in and assembled on the spot in the engine's scratch warrior.
// Edited cells keep their display marker and breakpoint.

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

#include <string>
#include <vector>

#include "tournament/tournament.h"
#include "ui/app.h"

namespace velmora {

class TFormEditCore : public QDialog {
  Q_OBJECT
public:
  explicit TFormEditCore(TVelmoraApp& app, QWidget* parent = nullptr);

  // The caption and the cell's instruction in the text (what showing the dialog does).
  void Prepare();
  void ButtonOKClick();
  // "Use Editor": the text in the warrior editor; its OK brings the edited text back.
  void ButtonSourceClick();

  QPlainTextEdit* MemoCore;
  QPushButton *ButtonOK, *ButtonCancel, *ButtonSource;

protected:
  void showEvent(QShowEvent* event) override;

private:
  std::vector<std::string> Lines() const;
  std::string ContentsName() const;
  bool EditInWarriorEditor(TWarriorData& warrior);

  TVelmoraApp& app_;
};

} // namespace velmora
