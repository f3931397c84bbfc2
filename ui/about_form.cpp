#include "ui/about_form.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

QString ProgramTitle() {
  return QString("Velmora %1").arg(VELMORA_VERSION);
}

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About");
  auto* layout = new QVBoxLayout(this);
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(":/velmora.svg").pixmap(64, 64));
  layout->addWidget(icon, 0, Qt::AlignHCenter);
  auto* title = new QLabel("<h2>" + ProgramTitle() + "</h2>", this);
  layout->addWidget(title, 0, Qt::AlignHCenter);
  layout->addWidget(new QLabel("A battle simulator for Redcode warriors.\n"
                               "Written by the Velmora developers, with C++20 and Qt 6.",
                               this),
                    0, Qt::AlignHCenter);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

} // namespace velmora
