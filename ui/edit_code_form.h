#pragma once
// TFormEditCode, the warrior editor: edits one warrior's source, opens and saves it as a
// text file, compiles it in the engine's scratch warrior 0 and shows the errors, the object
// code and the source restored from it, which it can save as a load file.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tournament/tournament.h"
#include "ui/app.h"
#include "ui/code_editor.h"
#include "ui/edit_code_session.h"
#include "ui/spare_engine.h"

namespace velmora {

class TFormTune;

class TFormEditCode : public QDialog {
  Q_OBJECT
public:
  explicit TFormEditCode(TVelmoraApp& app, QWidget* parent = nullptr);

  // Shows the editor modally on a working copy; on OK copies ID, Name, Author, FileName,
  // Source back. warriorNumber is what the object-code listing prints: the list
  // position from the main window, 1 from the Setup dialog, 0 from the core cell editor.
  bool Execute(int32_t warriorNumber, TWarriorData& warrior);

  // The steps of showing, without showing: the controls take the record's values.
  void Prepare(int32_t warriorNumber, const TWarriorData& warrior);
  // The record as OK would return it.
  TWarriorData Edited() const;

  // The button handlers, for the buttons and for tests.
  void ButtonOpenClick();
  void ButtonSaveClick();
  void ButtonCompileClick();
  void ButtonSaveLoadClick();
  // Opens the Tune window on the source as it stands; its "Use this value" writes into the
  // source's EQU lines.
  void ButtonTuneClick();
  void UseEquateValues(const std::vector<std::pair<std::string, int32_t>>& values);
  // A line of MemoErrors was chosen: the source line it comes from is selected and marked.
  void ErrorLineChosen();

  QLabel* LabelSource;
  TCodeEditor* MemoSource; // line numbers, Redcode colours, the marked error line
  QPushButton *ButtonOpen, *ButtonSave, *ButtonCompile, *ButtonTune;
  QPlainTextEdit *MemoErrors, *MemoObjectCode, *MemoRestoredSource;
  QPushButton* ButtonSaveLoad;
  QLineEdit* EditName;
  QPushButton *ButtonOK, *ButtonCancel;
  TFormTune* FormTune = nullptr; // made at the first "Tune" click

protected:
  void showEvent(QShowEvent* event) override;
  // The Tune window belongs to this showing: it closes (and its sweep stops) with it.
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildControls();
  void ClearResults();
  std::vector<std::string> SourceLines() const;

  TVelmoraApp& app_;
  TSpareEngine engine_;
  TWarriorData record_;
  int32_t warriorNumber_ = 0;
  std::string savedName_;
  std::string author_;
  TEditorCompile lastCompile_;
};

} // namespace velmora
