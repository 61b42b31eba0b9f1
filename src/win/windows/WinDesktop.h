#pragma once
#include "ports/Desktop.h"

namespace vq::win {

// The desktop's top-level windows through user32, and what DWM says of them (dwmapi, loaded
// with the first use). Other programs' windows are only ever asked by posted messages, and read
// through calls that do not wait for them, so a hung program cannot stop ours.
class WinDesktop : public Desktop {
 public:
  std::vector<TopLevelWindow> TopLevelWindows() const override;
  void Minimise(WindowId window) override;
  void Restore(WindowId window) override;
  void BringToFront(WindowId window) override;
  void PostClose(WindowId window) override;
  MonitorId MonitorUnderPointer() const override;
  bool IsMinimised(WindowId window) const override;
  bool Exists(WindowId window) const override;
};

}  // namespace vq::win
