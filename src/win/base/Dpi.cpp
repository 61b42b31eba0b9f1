#include "win/base/Dpi.h"

#include "win/base/LoadFunction.h"

namespace vq::win {

UINT SystemDpi() {
  // The system DPI is fixed for the life of the process.
  static const UINT dpi = [] {
    HDC screen = GetDC(nullptr);
    UINT value = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return value ? value : 96;
  }();
  return dpi;
}

UINT DpiForWindow(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static Fn getDpiForWindow = LoadFunction<Fn>(L"user32.dll", "GetDpiForWindow");
  if (getDpiForWindow) {
    UINT dpi = getDpiForWindow(hwnd);
    if (dpi) return dpi;
  }
  return DpiForMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

UINT DpiForMonitor(HMONITOR monitor) {
  using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static Fn getDpiForMonitor = LoadFunction<Fn>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (getDpiForMonitor && monitor && SUCCEEDED(getDpiForMonitor(monitor, 0 /* effective */, &x, &y)) && y) return y;
  return SystemDpi();
}

UINT DpiForPoint(POINT point) { return DpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }

}  // namespace vq::win
