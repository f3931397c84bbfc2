// velmora: the desktop battle simulator. Arguments name warrior files or warrior lists to
// open in the warrior list.

#include <QApplication>

#include "ui/app.h"
#include "ui/mardex_form.h"
#include "ui/qt_platform.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("velmora");
  QApplication::setApplicationDisplayName("Velmora");
  QApplication::setApplicationVersion(VELMORA_VERSION);

  velmora::TQtPlatform platform;
  velmora::TVelmoraApp app(platform);
  velmora::TMardexForm window(app);
  window.show();
  std::vector<std::string> files;
  for (const QString& argument : QApplication::arguments().mid(1))
    files.push_back(argument.toStdString());
  if (!files.empty()) window.OpenWarriorFiles(files);
  return QApplication::exec();
}
