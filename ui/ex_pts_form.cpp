// The execution points editor: its controls, the warrior choice and the listing.

#include "ui/ex_pts_form.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/core_listing.h"
#include "ui/ex_pts_text.h"
#include "ui/mardex_form.h"

namespace velmora {

namespace {

// The busy cursor while a long queue is listed.
struct TBusyCursor {
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

} // namespace

TFormExPts::TFormExPts(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Processes");
  BuildControls();
}

void TFormExPts::BuildControls() {
  ComboBoxWarrior = new QComboBox(this);
  ListBoxExPts = new QListWidget(this);
  ListBoxExPts->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ListBoxExPts->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBoxExPts->setUniformItemSizes(true);
  ListBoxExPts->setMinimumSize(300, 260);
  LabelNumProcesses = new QLabel(this);
  ButtonOK = MakeButton("Close and Move", this);
  ButtonCancel = MakeButton("Close", this);
  ButtonAdd = MakeButton("Add", this);
  ButtonDelete = MakeButton("Delete", this);
  ButtonEdit = MakeButton("Edit", this);
  ButtonRollToTop = MakeButton("Roll to Top", this);
  ButtonMoveUp = MakeButton("Move Up", this);
  ButtonMoveDown = MakeButton("Move Down", this);

  auto* left = new QVBoxLayout;
  auto* warrior = new QHBoxLayout;
  warrior->addWidget(new QLabel("Warrior:", this));
  warrior->addWidget(ComboBoxWarrior, 1);
  left->addLayout(warrior);
  left->addWidget(ListBoxExPts, 1);
  left->addWidget(LabelNumProcesses);
  auto* right = new QVBoxLayout;
  for (QPushButton* b :
       {ButtonAdd, ButtonDelete, ButtonEdit, ButtonRollToTop, ButtonMoveUp, ButtonMoveDown})
    right->addWidget(b);
  right->addStretch();
  right->addWidget(ButtonOK);
  right->addWidget(ButtonCancel);
  auto* top = new QHBoxLayout(this);
  top->addLayout(left, 1);
  top->addLayout(right);
  top->setSizeConstraint(QLayout::SetFixedSize);

  connect(ComboBoxWarrior, &QComboBox::activated, this, [this] { ComboBoxWarriorChange(); });
  connect(ListBoxExPts, &QListWidget::itemSelectionChanged, this, &TFormExPts::UpdateButtons);
  connect(ButtonAdd, &QPushButton::clicked, this, &TFormExPts::ButtonAddClick);
  connect(ButtonDelete, &QPushButton::clicked, this, &TFormExPts::ButtonDeleteClick);
  connect(ButtonEdit, &QPushButton::clicked, this, &TFormExPts::ButtonEditClick);
  connect(ButtonRollToTop, &QPushButton::clicked, this, &TFormExPts::ButtonRollToTopClick);
  connect(ButtonMoveUp, &QPushButton::clicked, this, &TFormExPts::ButtonMoveUpClick);
  connect(ButtonMoveDown, &QPushButton::clicked, this, &TFormExPts::ButtonMoveDownClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormExPts::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormExPts::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TFormExPts::FormShow() {
  FillWarriorChoice(*ComboBoxWarrior, app_.Core);
  ComboBoxWarriorChange();
}

TWarrior* TFormExPts::ChosenWarrior() const {
  return velmora::ChosenWarrior(*ComboBoxWarrior, app_.Core);
}

void TFormExPts::ComboBoxWarriorChange() {
  ListBoxExPts->clear();
  const TWarrior* w = ChosenWarrior();
  int32_t count = 0;
  if (w) {
    TBusyCursor busy;
    const TCore& core = *app_.Core;
    QStringList lines;
    for (int32_t address : core.QueueEntries(*w))
      lines << QString::fromStdString(FormatLine(core, address));
    ListBoxExPts->addItems(lines);
    count = w->ProcessCount;
  }
  if (ListBoxExPts->count() > 0) ListBoxExPts->setCurrentRow(0);
  LabelNumProcesses->setText(QString::fromStdString(ProcessCountText(count)));
  UpdateButtons();
}

int32_t TFormExPts::SelectedLine() const {
  const QListWidgetItem* item = ListBoxExPts->currentItem();
  return item && item->isSelected() ? ListBoxExPts->currentRow() : -1;
}

std::optional<int32_t> TFormExPts::LineAddress(int32_t line) const {
  const QListWidgetItem* item = ListBoxExPts->item(line);
  if (!item) return std::nullopt;
  return ProcessAddressOfLine(item->text().toStdString());
}

void TFormExPts::UpdateButtons() {
  const TExPtsButtons b = ExPtsButtonStates(SelectedLine(), ListBoxExPts->count());
  ButtonDelete->setEnabled(b.Delete);
  ButtonEdit->setEnabled(b.Edit);
  ButtonRollToTop->setEnabled(b.RollToTop);
  ButtonMoveUp->setEnabled(b.MoveUp);
  ButtonMoveDown->setEnabled(b.MoveDown);
}

void TFormExPts::Changed(int32_t line) {
  ComboBoxWarriorChange();
  if (line >= 0 && line < ListBoxExPts->count()) ListBoxExPts->setCurrentRow(line);
  UpdateButtons();
  if (app_.MainForm) {
    app_.MainForm->RoundEdited();
    app_.MainForm->RefreshViews();
  }
}

} // namespace velmora
