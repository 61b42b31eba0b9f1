#pragma once
#include <string_view>

namespace vq {

// Message boxes with the program's title and no icon.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void Message(std::string_view text) = 0;   // OK
  virtual bool AskYesNo(std::string_view text) = 0;  // true for Yes
  // The system's default sound: the answer to a request that cannot be granted now.
  virtual void Beep() = 0;
};

}  // namespace vq
