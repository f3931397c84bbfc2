// velmora: the desktop battle simulator. Arguments name warrior files or warrior lists to
// open in the warrior list; --bench measures the window's speed without showing it.

#include <QApplication>
#include <QCommandLineParser>

#include <iostream>

#include "ui/app.h"
#include "ui/bench_mode.h"
#include "ui/mardex_form.h"
#include "ui/qt_platform.h"
#include "ui/window_places.h"

namespace {

bool Wants(int argc, char* argv[], const char* option) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == option) return true;
  return false;
}

} // namespace

int main(int argc, char* argv[]) {
  const bool bench = Wants(argc, argv, "--bench");
  // The benchmark needs no screen.
  if (bench && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName("velmora");
  // No display name: Qt would append it to every window's caption.
  QApplication::setOrganizationName("velmora");
  QApplication::setApplicationVersion(VELMORA_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription("Velmora, a battle simulator for Redcode warriors.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("files", "Warrior sources or warrior lists to open.", "[FILE...]");
  parser.addOption({"bench", "Measure the speed of the window's battles and exit."});
  parser.addOption({"rounds", "Rounds of the benchmark battle (default 100).", "N", "100"});
  parser.process(application);

  std::vector<std::string> files;
  for (const QString& argument : parser.positionalArguments())
    files.push_back(argument.toStdString());

  if (bench) {
    bool ok = false;
    const int rounds = parser.value("rounds").toInt(&ok);
    if (!ok || rounds < 1) {
      std::cerr << "velmora: --rounds needs a whole number of at least 1\n";
      return 2;
    }
    velmora::THeadlessPlatform platform(true);
    velmora::TVelmoraApp app(platform);
    velmora::TMardexForm window(app);
    window.show();
    velmora::DesktopBenchOptions options;
    options.Rounds = rounds;
    options.Files = files;
    if (options.Files.empty())
      options.Files = {VELMORA_EXAMPLES_DIR "/paper.red", VELMORA_EXAMPLES_DIR "/stone.red"};
    return velmora::RunDesktopBenchmark(window, app, options, std::cout);
  }

  velmora::TWindowPlaces places;
  application.installEventFilter(&places);
  velmora::TQtPlatform platform;
  velmora::TVelmoraApp app(platform);
  velmora::TMardexForm window(app);
  window.show();
  if (!files.empty()) window.OpenWarriorFiles(files);
  return QApplication::exec();
}
