#include "engine/platform.h"

#include <chrono>
#include <iostream>

namespace velmora {

ClockTime SystemUtcTimeOfDay() {
  using namespace std::chrono;
  auto now = system_clock::now();
  auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % (24LL * 3600 * 1000);
  ClockTime t;
  t.Millisecond = static_cast<int>(ms % 1000);
  t.Second = static_cast<int>(ms / 1000 % 60);
  t.Minute = static_cast<int>(ms / 60000 % 60);
  t.Hour = static_cast<int>(ms / 3600000);
  return t;
}

void THeadlessPlatform::ShowMessage(const std::string& text) {
  Messages.push_back(text);
  if (Echo) std::cerr << text << '\n';
}

Answer THeadlessPlatform::AskYesNoCancel(const std::string& text) {
  Messages.push_back(text);
  if (Echo) std::cerr << text << '\n';
  return FixedAnswer;
}

} // namespace velmora
