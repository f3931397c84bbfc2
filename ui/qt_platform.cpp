#include "ui/qt_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace velmora {

namespace {
// Boxes belong to the window the user is working in, so they stay in front of it.
QWidget* Owner() {
  return QApplication::activeWindow();
}
} // namespace

QString QtFileFilter(const std::string& filter) {
  return QString::fromStdString(filter).replace('|', ";;");
}

void TQtPlatform::ShowMessage(const std::string& text) {
  QMessageBox::information(Owner(), QApplication::applicationDisplayName(),
                           QString::fromStdString(text));
}

Answer TQtPlatform::AskYesNoCancel(const std::string& text) {
  switch (QMessageBox::question(
      Owner(), QApplication::applicationDisplayName(), QString::fromStdString(text),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
  case QMessageBox::Yes: return Answer::Yes;
  case QMessageBox::No: return Answer::No;
  default: return Answer::Cancel;
  }
}

std::optional<std::string> TQtPlatform::OpenFileName(const std::string& title,
                                                     const std::string& filter) {
  const QString name = QFileDialog::getOpenFileName(Owner(), QString::fromStdString(title),
                                                    QString(), QtFileFilter(filter));
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

std::vector<std::string> TQtPlatform::OpenFileNames(const std::string& title,
                                                    const std::string& filter) {
  std::vector<std::string> names;
  for (const QString& name : QFileDialog::getOpenFileNames(Owner(), QString::fromStdString(title),
                                                           QString(), QtFileFilter(filter)))
    names.push_back(name.toStdString());
  return names;
}

std::optional<std::string> TQtPlatform::SaveFileName(const std::string& title,
                                                     const std::string& filter,
                                                     const std::string& suggested) {
  const QString name =
      QFileDialog::getSaveFileName(Owner(), QString::fromStdString(title),
                                   QString::fromStdString(suggested), QtFileFilter(filter));
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

} // namespace velmora
