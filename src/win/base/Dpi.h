#pragma once
#include <windows.h>

namespace vq::win {

// The DPI a window or monitor draws at, with fallbacks for systems older than per-monitor
// awareness (there, the system DPI).
UINT SystemDpi();
UINT DpiForWindow(HWND hwnd);
UINT DpiForMonitor(HMONITOR monitor);
UINT DpiForPoint(POINT point);

}  // namespace vq::win
