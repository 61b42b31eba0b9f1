#pragma once
#include <string_view>

namespace vq {

// A window of the program that a message box can be about. Every feature's view is one: the
// platform finds the window behind it.
class BoxOwner {
 public:
  virtual ~BoxOwner() = default;
};

// Message boxes with the program's title and no icon. A box is about a window, or about the
// program as a whole (nullptr: the start-up, the tray menu). It is owned by that window, so
// that the window is in front with it and is the active one again once the box closes, and it
// is brought to the user even when it comes while another program is in front.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void Message(std::string_view text, const BoxOwner* about) = 0;   // OK
  virtual bool AskYesNo(std::string_view text, const BoxOwner* about) = 0;  // true for Yes
  void Message(std::string_view text) { Message(text, nullptr); }
  bool AskYesNo(std::string_view text) { return AskYesNo(text, nullptr); }
  // The system's default sound: the answer to a request that cannot be granted now.
  virtual void Beep() = 0;
};

}  // namespace vq
