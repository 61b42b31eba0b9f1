#pragma once
#include <windows.h>

#include "ports/Clock.h"
#include "ports/Dialogs.h"

namespace vq::win {

class WinClock : public Clock {
 public:
  LocalTime Now() const override;
};

// Message boxes with the program's title and no icon, owned by the window they are about, or
// by the hidden main window when that is none or out of sight.
class WinDialogs : public Dialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Message(std::string_view text, const BoxOwner* about) override;
  bool AskYesNo(std::string_view text, const BoxOwner* about) override;
  void Beep() override;

 private:
  int Show(std::string_view text, const BoxOwner* about, UINT buttons);

  HWND owner_ = nullptr;
};

}  // namespace vq::win
