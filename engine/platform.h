#pragma once
// What the program needs of its platform besides windows: message boxes, file dialogs and
// the clock. The desktop application implements it with Qt; the command line and the tests
// implement it without any window.

#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct ClockTime {
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

enum class Answer { Yes, No, Cancel };

class TPlatform {
public:
  virtual ~TPlatform() = default;
  // An information box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual Answer AskYesNoCancel(const std::string& text) = 0;
  // Empty when the user cancels. Filter in the "Text (*.ext)|..." style of the caller.
  virtual std::optional<std::string> OpenFileName(const std::string& title,
                                                  const std::string& filter) = 0;
  virtual std::optional<std::string> SaveFileName(const std::string& title,
                                                  const std::string& filter,
                                                  const std::string& suggested) = 0;
  // Several files at once, in the order chosen; empty when the user cancels. Platforms
  // without a multiple choice offer one file.
  virtual std::vector<std::string> OpenFileNames(const std::string& title,
                                                 const std::string& filter) {
    std::vector<std::string> names;
    if (auto name = OpenFileName(title, filter)) names.push_back(std::move(*name));
    return names;
  }
  // Time of day in UTC, for seeding the random generator.
  virtual ClockTime UtcTimeOfDay() = 0;
};

// The system clock's UTC time of day.
ClockTime SystemUtcTimeOfDay();

// A platform with no user: messages are kept in order (and optionally echoed to standard
// error), questions get a fixed answer, file dialogs are cancelled. The command line and
// the engine's tests use it.
class THeadlessPlatform : public TPlatform {
public:
  explicit THeadlessPlatform(bool echoToStderr = false) : Echo(echoToStderr) {}
  void ShowMessage(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> OpenFileName(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                          const std::string&) override {
    return std::nullopt;
  }
  ClockTime UtcTimeOfDay() override { return SystemUtcTimeOfDay(); }

  std::vector<std::string> Messages;
  Answer FixedAnswer = Answer::Cancel;

private:
  bool Echo;
};

} // namespace velmora
