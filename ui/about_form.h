#pragma once
// TFormAbout: the program's name, version and credits.

#include <QDialog>

#include "ui/app.h"

namespace velmora {

class TFormAbout : public QDialog {
  Q_OBJECT
public:
  explicit TFormAbout(QWidget* parent = nullptr);
};

// "Velmora 0.1.0".
QString ProgramTitle();

} // namespace velmora
