#include "win/base/Dpi.h"

#include "win/base/LoadFunction.h"

namespace vq::win {

namespace {

constinit LazyFunction<UINT(WINAPI*)(HWND)> getDpiForWindow{L"user32.dll", "GetDpiForWindow"};
constinit LazyFunction<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)> getDpiForMonitor{L"shcore.dll",
                                                                                       "GetDpiForMonitor"};
constinit std::atomic<UINT> systemDpi{0};

}  // namespace

UINT SystemDpi() {
  // The system DPI is fixed for the life of the process.
  UINT dpi = systemDpi.load(std::memory_order_relaxed);
  if (!dpi) {
    HDC screen = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    if (!dpi) dpi = 96;
    systemDpi.store(dpi, std::memory_order_relaxed);
  }
  return dpi;
}

UINT DpiForWindow(HWND hwnd) {
  if (auto forWindow = getDpiForWindow.Get()) {
    UINT dpi = forWindow(hwnd);
    if (dpi) return dpi;
  }
  return DpiForMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

UINT DpiForMonitor(HMONITOR monitor) {
  auto forMonitor = getDpiForMonitor.Get();
  UINT x = 0, y = 0;
  if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, 0 /* effective */, &x, &y)) && y) return y;
  return SystemDpi();
}

UINT DpiForPoint(POINT point) { return DpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }

}  // namespace vq::win
