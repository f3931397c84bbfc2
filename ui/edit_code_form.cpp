// The warrior editor: its controls, their layout and keyboard order, and showing it on a
// warrior record.

#include "ui/edit_code_form.h"
#include "ui/widgets.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace velmora {

namespace {

// A pane of program output: fixed-width so that the listings' columns line up.
QPlainTextEdit* Pane(QWidget* parent) {
  auto* pane = new QPlainTextEdit(parent);
  pane->setReadOnly(true);
  pane->setLineWrapMode(QPlainTextEdit::NoWrap);
  pane->setTabChangesFocus(true);
  pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return pane;
}

QGroupBox* Group(const char* title, QWidget* content, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(content);
  return group;
}

} // namespace

TFormEditCode::TFormEditCode(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Edit Warrior");
  setModal(true);
  BuildControls();
  resize(980, 620);
}

void TFormEditCode::BuildControls() {
  LabelSource = new QLabel(this);
  LabelSource->setTextInteractionFlags(Qt::TextSelectableByMouse);
  MemoSource = new TCodeEditor(this);
  MemoSource->setMinimumSize(360, 360);
  ButtonOpen = MakeButton("Open", this);
  ButtonSave = MakeButton("Save", this);
  ButtonCompile = MakeButton("Compile", this);
  ButtonTune = MakeButton("Tune...", this);
  MemoErrors = Pane(this);
  MemoObjectCode = Pane(this);
  MemoRestoredSource = Pane(this);
  // Wide enough for a whole listing line, so that the columns can be read side by side.
  const int listingWidth =
      MemoObjectCode->fontMetrics().horizontalAdvance(QString(40, QChar('0'))) + 24;
  for (QPlainTextEdit* pane : {MemoErrors, MemoObjectCode, MemoRestoredSource})
    pane->setMinimumWidth(listingWidth);
  ButtonSaveLoad = MakeButton("Save Load File", this);
  EditName = new QLineEdit(this);
  ButtonOK = new QPushButton("OK", this);
  ButtonOK->setDefault(true);
  ButtonCancel = MakeButton("Cancel", this);

  auto* source = new QWidget(this);
  auto* sourceColumn = new QVBoxLayout(source);
  sourceColumn->setContentsMargins(0, 0, 0, 0);
  sourceColumn->addWidget(LabelSource);
  sourceColumn->addWidget(MemoSource);
  auto* sourceButtons = new QHBoxLayout;
  for (QPushButton* b : {ButtonOpen, ButtonSave, ButtonCompile, ButtonTune})
    sourceButtons->addWidget(b);
  sourceButtons->addStretch();
  sourceColumn->addLayout(sourceButtons);

  auto* loadFile = new QWidget(this);
  auto* loadColumn = new QVBoxLayout(loadFile);
  loadColumn->setContentsMargins(0, 0, 0, 0);
  loadColumn->addWidget(MemoRestoredSource);
  loadColumn->addWidget(ButtonSaveLoad, 0, Qt::AlignLeft);

  auto* results = new QVBoxLayout;
  results->addWidget(Group("Errors", MemoErrors, this));
  results->addWidget(Group("Object Code", MemoObjectCode, this));
  results->addWidget(Group("Load File", loadFile, this));

  auto* panes = new QHBoxLayout;
  panes->addWidget(Group("Source", source, this), 3);
  panes->addLayout(results, 2);

  auto* bottom = new QHBoxLayout;
  auto* nameLabel = new QLabel("Name: ", this);
  nameLabel->setBuddy(EditName);
  bottom->addWidget(nameLabel);
  bottom->addWidget(EditName, 1);
  bottom->addStretch();
  bottom->addWidget(ButtonOK);
  bottom->addWidget(ButtonCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(panes, 1);
  layout->addLayout(bottom);

  // The source takes Tab as a character (Ctrl+Tab leaves it); the rest follow the layout.
  QWidget* order[] = {MemoSource,     ButtonOpen, ButtonSave,     ButtonCompile,
                      ButtonTune,     MemoErrors, MemoObjectCode, MemoRestoredSource,
                      ButtonSaveLoad, EditName,   ButtonOK,       ButtonCancel};
  for (size_t i = 0; i + 1 < std::size(order); ++i)
    setTabOrder(order[i], order[i + 1]);

  connect(ButtonOpen, &QPushButton::clicked, this, &TFormEditCode::ButtonOpenClick);
  connect(ButtonSave, &QPushButton::clicked, this, &TFormEditCode::ButtonSaveClick);
  connect(ButtonCompile, &QPushButton::clicked, this, &TFormEditCode::ButtonCompileClick);
  connect(ButtonTune, &QPushButton::clicked, this, &TFormEditCode::ButtonTuneClick);
  connect(ButtonSaveLoad, &QPushButton::clicked, this, &TFormEditCode::ButtonSaveLoadClick);
  // A click in the error pane, or moving through it with the keys; not its being refilled.
  MemoErrors->viewport()->installEventFilter(this);
  connect(MemoErrors, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (MemoErrors->hasFocus()) ErrorLineChosen();
  });
  connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormEditCode::Execute(int32_t warriorNumber, TWarriorData& warrior) {
  Prepare(warriorNumber, warrior);
  if (exec() != QDialog::Accepted) return false;
  const TWarriorData edited = Edited();
  warrior.ID = edited.ID;
  warrior.Name = edited.Name;
  warrior.Author = edited.Author;
  warrior.FileName = edited.FileName;
  warrior.Source = edited.Source;
  return true;
}

void TFormEditCode::Prepare(int32_t warriorNumber, const TWarriorData& warrior) {
  warriorNumber_ = warriorNumber;
  record_ = warrior;
  savedName_ = warrior.Name;
  author_ = warrior.Author;
  MemoSource->setPlainText(QString::fromStdString(JoinLines(warrior.Source)));
  EditName->setText(QString::fromStdString(warrior.Name));
  LabelSource->setText(QString::fromStdString(warrior.FileName));
  ClearResults();
  lastCompile_ = TEditorCompile{};
  ButtonSaveLoad->setEnabled(false);
}

TWarriorData TFormEditCode::Edited() const {
  TWarriorData edited = record_;
  edited.Source = SourceLines();
  edited.Name = EditName->text().toStdString();
  edited.FileName = LabelSource->text().toStdString();
  edited.Author = author_;
  return edited;
}

bool TFormEditCode::eventFilter(QObject* watched, QEvent* event) {
  if (watched == MemoErrors->viewport() && event->type() == QEvent::MouseButtonRelease)
    ErrorLineChosen();
  return QDialog::eventFilter(watched, event);
}

void TFormEditCode::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  MemoSource->setFocus();
}

} // namespace velmora
