#include "ui/edit_score_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <exception>

#include "results/score.h"

namespace velmora {

TFormEditScore::TFormEditScore(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Edit Score Formula");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  for (const char* text :
       {"Enter an expression that gives the number of points given to a surviving warrior.",
        "The only symbols that may be used, aside from the standard variables such as CORESIZE,",
        "are W (the number of warriors at the start of the battle) and S (the number of "
        "surviving warriors).",
        "Example: (W*W-1)/S"})
    layout->addWidget(new QLabel(text, this));
  EditScore = new QLineEdit(this);
  layout->addWidget(EditScore);
  ButtonOK = new QPushButton("OK", this);
  ButtonOK->setDefault(true);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonCancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  layout->addLayout(buttons);
  setTabOrder(EditScore, ButtonOK);
  setTabOrder(ButtonOK, ButtonCancel);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormEditScore::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormEditScore::Execute() {
  FormShow();
  return exec() == QDialog::Accepted;
}

void TFormEditScore::FormShow() {
  EditScore->setText(QString::fromStdString(app_.Tournament.Rec.ScoreFormula));
  EditScore->selectAll();
  EditScore->setFocus();
}

void TFormEditScore::ButtonOKClick() {
  const std::string formula = EditScore->text().toStdString();
  app_.Tournament.Rec.ScoreFormula = formula;
  TCore* core = engine_.For(app_);
  if (!core) return;
  try {
    EvaluateScore(*core, formula, 2, 1);
  } catch (const std::exception& e) {
    app_.Platform.ShowMessage(e.what());
    EditScore->setFocus();
    return;
  }
  accept();
}

} // namespace velmora
