#include "win/platform/WinServices.h"

#include "win/base/Text.h"
#include "win/base/Window.h"
#include "win/base/WindowNames.h"

namespace vq::win {

LocalTime WinClock::Now() const {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
}

void WinDialogs::Message(std::string_view text, const BoxOwner* about) { (void)Show(text, about, MB_OK); }

bool WinDialogs::AskYesNo(std::string_view text, const BoxOwner* about) { return Show(text, about, MB_YESNO) == IDYES; }

int WinDialogs::Show(std::string_view text, const BoxOwner* about, UINT buttons) {
  // The owner comes to the front with its box and is activated again when the box closes; an
  // owner out of sight would leave that to whichever window the system picks next.
  const auto* window = dynamic_cast<const Window*>(about);
  HWND owner = window && IsWindowVisible(window->Handle()) ? window->Handle() : owner_;
  UINT style = buttons | MB_SETFOREGROUND;
  // Windows lets a program take the foreground only while the user works with it, so a box that
  // comes from a timer or the network while another window is in front can open behind that
  // window, and an owned box has no taskbar button to find it by. Such a box stays on top.
  if (GetForegroundWindow() != owner) style |= MB_TOPMOST;
  return MessageBoxW(owner, Widen(text).c_str(), kProductName, style);
}

void WinDialogs::Beep() { MessageBeep(MB_OK); }

}  // namespace vq::win
