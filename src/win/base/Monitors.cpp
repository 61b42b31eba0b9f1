#include "win/base/Monitors.h"

#include <algorithm>
#include <utility>

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

POINT KeepOnScreen(POINT topLeft, SIZE size) {
  std::pair<RECT, bool> probe{{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy}, false};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT overlap;
  // Most windows lie on one monitor's work area: ask that one first, then all of them.
  if (HMONITOR monitor = MonitorFromRect(&probe.first, MONITOR_DEFAULTTONULL))
    if (GetMonitorInfoW(monitor, &info) && IntersectRect(&overlap, &probe.first, &info.rcWork)) return topLeft;
  EnumDisplayMonitors(nullptr, nullptr, IntersectsWorkArea, reinterpret_cast<LPARAM>(&probe));
  if (probe.second) return topLeft;
  GetMonitorInfoW(MonitorFromRect(&probe.first, MONITOR_DEFAULTTONEAREST), &info);
  const RECT& work = info.rcWork;
  return {std::clamp(topLeft.x, work.left, std::max(work.left, work.right - size.cx)),
          std::clamp(topLeft.y, work.top, std::max(work.top, work.bottom - size.cy))};
}

}  // namespace vq::win
