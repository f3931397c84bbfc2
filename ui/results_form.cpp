// The results window: its controls, their layout and keyboard order, and each showing.

#include "ui/results_form.h"
#include "ui/widgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/results_chart.h"

namespace velmora {

TFormResults::TFormResults(TVelmoraApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setWindowTitle("Tournament Results");
  setModal(true);
  BuildControls();
}

void TFormResults::BuildControls() {
  LabelResultsTitle = new QLabel("Summary", this);
  LabelWarriorName = new QLabel(this);
  LabelWarriorName->hide();
  ComboBoxDetailWarrior = new QComboBox(this);
  ComboBoxDetailWarrior->hide();
  ButtonResultsShow = MakeButton("Show Details", this);

  StringGridResults = new QTableWidget(2, 9, this);
  StringGridResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGridResults->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGridResults->setSortingEnabled(false);
  StringGridResults->verticalHeader()->hide();
  StringGridResults->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  StringGridResults->horizontalHeader()->setSectionsClickable(true);
  StringGridResults->horizontalHeader()->setHighlightSections(false);
  StringGridResults->horizontalHeader()->setSortIndicatorShown(true);
  StringGridResults->setMinimumSize(720, 300);

  EditScore = new QLineEdit(this);
  EditScore->setReadOnly(true);
  ButtonChange = MakeButton("Change", this);
  CheckBoxPercent = new QCheckBox("Show W%, L%, T%", this);
  CheckBoxPercent->setChecked(app_.Setup.Percent);
  ButtonSave = MakeButton("Save", this);
  ButtonResultsClose = new QPushButton("Close", this);
  ButtonResultsClose->setDefault(true);

  auto* top = new QHBoxLayout;
  top->addWidget(LabelResultsTitle);
  top->addWidget(LabelWarriorName);
  top->addWidget(ComboBoxDetailWarrior);
  top->addStretch();
  top->addWidget(ButtonResultsShow);

  auto* bottom = new QHBoxLayout;
  auto* formulaLabel = new QLabel("Score formula:", this);
  formulaLabel->setBuddy(EditScore);
  bottom->addWidget(formulaLabel);
  bottom->addWidget(EditScore, 1);
  bottom->addWidget(ButtonChange);
  bottom->addSpacing(12);
  bottom->addWidget(CheckBoxPercent);
  bottom->addStretch();
  bottom->addWidget(ButtonSave);
  bottom->addWidget(ButtonResultsClose);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  ChartResults = new TResultsChart(this);
  TabsResults = new QTabWidget(this);
  TabsResults->addTab(StringGridResults, "Table");
  TabsResults->addTab(ChartResults, "Chart");
  layout->addWidget(TabsResults, 1);
  layout->addLayout(bottom);

  QWidget* order[] = {
      ComboBoxDetailWarrior, ButtonResultsShow, StringGridResults, EditScore,
      ButtonChange,          CheckBoxPercent,   ButtonSave,        ButtonResultsClose};
  for (size_t i = 0; i + 1 < std::size(order); ++i)
    setTabOrder(order[i], order[i + 1]);

  connect(ButtonResultsShow, &QPushButton::clicked, this, &TFormResults::ButtonResultsShowClick);
  connect(StringGridResults->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { StringGridResultsMouseDown(column); });
  connect(ComboBoxDetailWarrior, &QComboBox::currentIndexChanged, this,
          &TFormResults::ComboBoxDetailWarriorChange);
  // clicked, not toggled: the Setup dialog and settings files set the box without a redraw.
  connect(CheckBoxPercent, &QCheckBox::clicked, this, &TFormResults::CheckBoxPercentClick);
  connect(ButtonChange, &QPushButton::clicked, this, &TFormResults::ButtonChangeClick);
  connect(ButtonSave, &QPushButton::clicked, this, &TFormResults::ButtonSaveClick);
  connect(ButtonResultsClose, &QPushButton::clicked, this, &QDialog::accept);
}

// The window opens wide enough to show every column, as far as the screen allows.
void TFormResults::WidenForColumns() {
  const QHeaderView* header = StringGridResults->horizontalHeader();
  const int table = header->length() + StringGridResults->verticalScrollBar()->sizeHint().width() +
                    2 * StringGridResults->frameWidth() + 8;
  const int wanted = table + 48; // the window's margins and the tabs' frame
  const QScreen* screen = this->screen();
  const int room = screen ? screen->availableGeometry().width() - 40 : wanted;
  if (wanted > width()) resize(std::min(wanted, std::max(room, width())), height());
}

void TFormResults::Execute() {
  FormShow();
  exec();
}

void TFormResults::FormShow() {
  EditScore->setText(QString::fromStdString(app_.Tournament.Rec.ScoreFormula));
  // Settings files and the Setup dialog keep the box's state with the other settings.
  CheckBoxPercent->setChecked(app_.Setup.Percent);
  detailsAllowed_ = app_.Tournament.Rec.TournamentType != Melee;
  details_ = false;
  selected_ = 1;
  SetOutcomeHeaders();
  RefreshView();
  WidenForColumns();
  ButtonResultsClose->setFocus();
}

} // namespace velmora
