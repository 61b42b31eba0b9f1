#pragma once
#include <windows.h>

namespace vq::win {

// Where a window of this size should stand so that it can be seen: the place itself while it
// touches any monitor's work area, else the nearest place on the nearest monitor (a window saved
// on a monitor that is gone). The stored place is not changed by this.
POINT KeepOnScreen(POINT topLeft, SIZE size);

}  // namespace vq::win
