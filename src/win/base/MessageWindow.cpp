#include "win/base/MessageWindow.h"

#include <atomic>

namespace vq::win {

bool MessageWindow::EnsureWindow(const wchar_t* className) {
  if (hwnd_) return true;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // A second registration of the same class fails harmlessly; a class that could not be made at
  // all makes the creation fail.
  RegisterClass(instance, className);
  return CreateBound(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance);
}

std::uint32_t MessageWindow::NextGeneration() {
  static std::atomic<std::uint32_t> counter{0};
  return ++counter;
}

}  // namespace vq::win
