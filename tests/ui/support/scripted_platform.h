#pragma once
// A platform whose user is a script: every message is recorded, and questions and file
// dialogs take their answers from queues the test fills (a dialog with no answer queued is
// cancelled, a question with none is answered Cancel).

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "engine/platform.h"

namespace velmora::test {

class TScriptedPlatform : public TPlatform {
public:
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> OpenFileName(const std::string& title,
                                          const std::string& filter) override;
  std::optional<std::string> SaveFileName(const std::string& title, const std::string& filter,
                                          const std::string& suggested) override;
  ClockTime UtcTimeOfDay() override { return Clock; }

  std::vector<std::string> Messages; // messages and questions, in order
  std::deque<Answer> Answers;
  std::deque<std::optional<std::string>> FileNames;
  std::vector<std::string> DialogTitles; // titles of the file dialogs shown
  std::vector<std::string> Suggestions;  // the names the save dialogs suggested
  ClockTime Clock{12, 0, 0, 0};
};

} // namespace velmora::test
