#pragma once
#include <windows.h>

#include <cstdint>

#include "win/base/Window.h"

namespace vq::win {

// A bound window that only takes messages (posted results of worker threads, socket
// notifications). It is made with the first use, not with the object: a program that never
// checks mail makes none.
class MessageWindow : public Window {
 protected:
  // Makes the window of this class on the first call. False when it could not be made.
  bool EnsureWindow(const wchar_t* className);
  // Unique across all message windows of the process, so that a late worker result can never be
  // taken for another connection's.
  static std::uint32_t NextGeneration();
};

}  // namespace vq::win
