#include "win/platform/WinServices.h"

#include "win/base/Text.h"
#include "win/base/WindowNames.h"

namespace vq::win {

LocalTime WinClock::Now() const {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
}

void WinDialogs::Message(std::string_view text) {
  MessageBoxW(owner_, Widen(text).c_str(), kProductName, MB_OK | MB_SETFOREGROUND);
}

bool WinDialogs::AskYesNo(std::string_view text) {
  return MessageBoxW(owner_, Widen(text).c_str(), kProductName, MB_YESNO | MB_SETFOREGROUND) == IDYES;
}

void WinDialogs::Beep() { MessageBeep(MB_OK); }

}  // namespace vq::win
