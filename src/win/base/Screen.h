#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "base/Twips.h"

namespace vq::win {

// Tells the user's move from the program's own placing: Remember where the window stands once
// the program has placed it; MovedTo is nullopt while it still stands there (or is gone), so
// a place the program had to correct is never taken for the user's choice.
class ShownPlace {
 public:
  void Remember(HWND window);
  void Remember(POINT topLeft) { at_ = topLeft; }
  // The window's place in twips at `dpi`.
  std::optional<WindowPlace> MovedTo(HWND window, UINT dpi) const;

 private:
  POINT at_{};
};

// Where a window of this size goes so that the user can see it: where it is while any part of
// it lies on a monitor's work area; otherwise onto the work area of the nearest monitor. A
// window saved on a monitor that is gone comes back this way; its saved place is kept until
// the user moves it.
POINT KeepVisible(POINT topLeft, SIZE size);
// The work area of the monitor nearest to a rectangle.
RECT NearestWorkArea(const RECT& rect);
// Moves a rectangle the least so that it lies inside an area (its top-left edge wins when it
// is larger).
POINT MoveInside(POINT topLeft, SIZE size, const RECT& area);

// The monitors as they were when first asked: a hundred notes placed at start-up would
// otherwise put the same four questions to the window system for each. A point or window that
// lies on a known monitor gets the same answers as DpiForPoint and KeepVisible would give;
// anything else is asked afresh. Forget() when displays, work areas or scaling change.
class MonitorLayout {
 public:
  UINT DpiForPoint(POINT point);
  POINT KeepVisible(POINT topLeft, SIZE size);
  void Forget() { monitors_.clear(); }

 private:
  struct Monitor {
    RECT bounds;
    RECT work;
    UINT dpi;
  };
  const std::vector<Monitor>& Monitors();
  static BOOL CALLBACK Add(HMONITOR monitor, HDC, LPRECT, LPARAM self);

  std::vector<Monitor> monitors_;
};

}  // namespace vq::win
