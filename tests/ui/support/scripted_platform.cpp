#include "tests/ui/support/scripted_platform.h"

namespace velmora::test {

Answer TScriptedPlatform::AskYesNoCancel(const std::string& text) {
  Messages.push_back(text);
  if (Answers.empty()) return Answer::Cancel;
  const Answer a = Answers.front();
  Answers.pop_front();
  return a;
}

std::optional<std::string> TScriptedPlatform::OpenFileName(const std::string& title,
                                                           const std::string&) {
  DialogTitles.push_back(title);
  if (FileNames.empty()) return std::nullopt;
  auto name = FileNames.front();
  FileNames.pop_front();
  return name;
}

std::optional<std::string> TScriptedPlatform::SaveFileName(const std::string& title,
                                                           const std::string&,
                                                           const std::string& suggested) {
  DialogTitles.push_back(title);
  Suggestions.push_back(suggested);
  if (FileNames.empty()) return std::nullopt;
  auto name = FileNames.front();
  FileNames.pop_front();
  return name;
}

} // namespace velmora::test
