#pragma once
// The platform services of the desktop application: Qt message boxes and file dialogs, and
// the system clock.

#include <QWidget>

#include "engine/platform.h"

namespace velmora {

class TQtPlatform : public TPlatform {
public:
  void ShowMessage(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> OpenFileName(const std::string& title,
                                          const std::string& filter) override;
  std::optional<std::string> SaveFileName(const std::string& title, const std::string& filter,
                                          const std::string& suggested) override;
  std::vector<std::string> OpenFileNames(const std::string& title,
                                         const std::string& filter) override;
  ClockTime UtcTimeOfDay() override { return SystemUtcTimeOfDay(); }
};

// "Redcode (*.red)|All files (*)" in Qt's own form: "Redcode (*.red);;All files (*)".
QString QtFileFilter(const std::string& filter);

} // namespace velmora
