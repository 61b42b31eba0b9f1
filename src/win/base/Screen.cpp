#include "win/base/Screen.h"

#include <algorithm>
#include <utility>

#include "win/base/Dpi.h"

namespace vq::win {

namespace {

BOOL CALLBACK IntersectsWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  auto* probe = reinterpret_cast<std::pair<RECT, bool>*>(param);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT overlap;
  if (GetMonitorInfoW(monitor, &info) && IntersectRect(&overlap, &probe->first, &info.rcWork)) probe->second = true;
  return TRUE;
}

}  // namespace

void ShownPlace::Remember(HWND window) {
  RECT r;
  if (GetWindowRect(window, &r)) at_ = {r.left, r.top};
}

std::optional<WindowPlace> ShownPlace::MovedTo(HWND window, UINT dpi) const {
  RECT r;
  if (!GetWindowRect(window, &r) || (r.left == at_.x && r.top == at_.y)) return std::nullopt;
  return WindowPlace{PixelsToTwips(r.top, static_cast<int>(dpi)), PixelsToTwips(r.left, static_cast<int>(dpi))};
}

RECT NearestWorkArea(const RECT& rect) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return info.rcWork;
}

POINT MoveInside(POINT topLeft, SIZE size, const RECT& area) {
  return {std::clamp(topLeft.x, area.left, std::max(area.left, area.right - size.cx)),
          std::clamp(topLeft.y, area.top, std::max(area.top, area.bottom - size.cy))};
}

POINT KeepVisible(POINT topLeft, SIZE size) {
  std::pair<RECT, bool> probe{{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy}, false};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT overlap;
  // Most windows lie on one monitor's work area: ask that one first, then all of them.
  if (HMONITOR monitor = MonitorFromRect(&probe.first, MONITOR_DEFAULTTONULL))
    if (GetMonitorInfoW(monitor, &info) && IntersectRect(&overlap, &probe.first, &info.rcWork)) return topLeft;
  EnumDisplayMonitors(nullptr, nullptr, IntersectsWorkArea, reinterpret_cast<LPARAM>(&probe));
  if (probe.second) return topLeft;
  return MoveInside(topLeft, size, NearestWorkArea(probe.first));
}

BOOL CALLBACK MonitorLayout::Add(HMONITOR monitor, HDC, LPRECT, LPARAM self) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info))
    reinterpret_cast<MonitorLayout*>(self)->monitors_.push_back({info.rcMonitor, info.rcWork, DpiForMonitor(monitor)});
  return TRUE;
}

const std::vector<MonitorLayout::Monitor>& MonitorLayout::Monitors() {
  if (monitors_.empty()) EnumDisplayMonitors(nullptr, nullptr, Add, reinterpret_cast<LPARAM>(this));
  return monitors_;
}

UINT MonitorLayout::DpiForPoint(POINT point) {
  for (const Monitor& m : Monitors())
    if (PtInRect(&m.bounds, point)) return m.dpi;
  return win::DpiForPoint(point);
}

POINT MonitorLayout::KeepVisible(POINT topLeft, SIZE size) {
  RECT rect{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy}, overlap;
  for (const Monitor& m : Monitors())
    if (IntersectRect(&overlap, &rect, &m.work)) return topLeft;
  return win::KeepVisible(topLeft, size);
}

}  // namespace vq::win
