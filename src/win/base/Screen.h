#pragma once
#include <windows.h>

namespace vq::win {

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

}  // namespace vq::win
