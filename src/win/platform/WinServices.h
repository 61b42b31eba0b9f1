#pragma once
#include <windows.h>

#include "ports/Clock.h"
#include "ports/Dialogs.h"

namespace vq::win {

class WinClock : public Clock {
 public:
  LocalTime Now() const override;
};

// Message boxes with the program's title, no icon, owned by the hidden main window.
class WinDialogs : public Dialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Message(std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  void Beep() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace vq::win
