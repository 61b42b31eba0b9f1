#include "win/windows/WinDesktop.h"

#include <windows.h>

#include <cstdint>

#include "win/base/LoadFunction.h"
#include "win/base/Text.h"

namespace vq::win {
namespace {

HWND ToHandle(WindowId window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }
WindowId ToId(HWND window) { return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window)); }
MonitorId ToId(HMONITOR monitor) { return static_cast<MonitorId>(reinterpret_cast<std::uintptr_t>(monitor)); }

// Window titles and class names are read into buffers of this many characters.
constexpr int kNameBuffer = 128;

BOOL CALLBACK CollectHandle(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The taskbar shows a button for a window with WS_EX_APPWINDOW, and for an unowned one unless
// it is a tool window; the minimise box and a window that takes input make the rest of what
// the taskbar's own minimise-all asks.
bool Minimisable(HWND window, bool owned) {
  LONG style = GetWindowLongW(window, GWL_STYLE);
  LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  bool taskbarButton = (exStyle & WS_EX_APPWINDOW) != 0 || (!owned && (exStyle & WS_EX_TOOLWINDOW) == 0);
  return taskbarButton && (style & WS_MINIMIZEBOX) != 0 && IsWindowEnabled(window);
}

constinit LazyFunction<HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD)> dwmGetWindowAttribute{L"dwmapi.dll",
                                                                                          "DwmGetWindowAttribute"};

// What DWM says of a window, from dwmapi loaded with the first window operation. Where the call
// fails or there is no DWM (older systems, Wine) the window counts as in sight.
bool Cloaked(HWND window) {
  constexpr DWORD kCloakedAttribute = 14;  // DWMWA_CLOAKED, Windows 8 and later
  auto get = dwmGetWindowAttribute.Get();
  DWORD cloaked = 0;
  return get && SUCCEEDED(get(window, kCloakedAttribute, &cloaked, sizeof cloaked)) && cloaked != 0;
}

}  // namespace

std::vector<TopLevelWindow> WinDesktop::TopLevelWindows() const {
  // The handles first, the facts afterwards: the walk stays short, and a window that is gone
  // by the time it is read is simply left out.
  std::vector<HWND> handles;
  EnumWindows(CollectHandle, reinterpret_cast<LPARAM>(&handles));
  std::vector<TopLevelWindow> out;
  out.reserve(handles.size());
  for (HWND handle : handles) {
    if (!IsWindow(handle)) continue;
    TopLevelWindow w;
    w.id = ToId(handle);
    w.visible = IsWindowVisible(handle) != FALSE;
    w.owned = GetWindow(handle, GW_OWNER) != nullptr;
    // For another program's window GetWindowTextW reads the stored caption without asking
    // the window, so a hung one answers too.
    wchar_t text[kNameBuffer] = L"";
    int length = GetWindowTextW(handle, text, kNameBuffer);
    w.title = Narrow(std::wstring_view(text, length > 0 ? length : 0));
    length = GetClassNameW(handle, text, kNameBuffer);
    w.className = Narrow(std::wstring_view(text, length > 0 ? length : 0));
    w.minimised = IsIconic(handle) != FALSE;
    w.minimisable = Minimisable(handle, w.owned);
    w.cloaked = w.visible && Cloaked(handle);
    // The monitor that holds most of it, or the nearest one: the system's own rule.
    w.monitor = ToId(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST));
    out.push_back(std::move(w));
  }
  return out;
}

// Minimising and restoring go through WM_SYSCOMMAND, as the window's own buttons do, so that a
// program that keeps a window up on purpose is heard.
void WinDesktop::Minimise(WindowId window) { PostMessageW(ToHandle(window), WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void WinDesktop::Restore(WindowId window) { PostMessageW(ToHandle(window), WM_SYSCOMMAND, SC_RESTORE, 0); }

void WinDesktop::BringToFront(WindowId window) {
  HWND handle = ToHandle(window);
  if (!IsWindow(handle)) return;
  // The window restores itself; it may take the foreground when it does.
  DWORD process = 0;
  GetWindowThreadProcessId(handle, &process);
  AllowSetForegroundWindow(process);
  if (IsIconic(handle)) PostMessageW(handle, WM_SYSCOMMAND, SC_RESTORE, 0);
  // Only queues the activation for the window's thread: it does not wait for the window.
  SetForegroundWindow(handle);
  // Activation alone does not always raise it: the system may refuse a background program the
  // foreground, and under Wine a window activated this way can stay behind the ones restored
  // over it. So it is put on top as well, again only queued for its thread.
  SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

// SC_CLOSE, not WM_CLOSE: a tray program that hides on its close button must hide here too,
// not quit. Posting to a window of an elevated program fails; nothing more is tried.
void WinDesktop::PostClose(WindowId window) { PostMessageW(ToHandle(window), WM_SYSCOMMAND, SC_CLOSE, 0); }

MonitorId WinDesktop::MonitorUnderPointer() const {
  POINT pointer{};  // (0, 0) lies on the primary monitor, if the pointer cannot be read
  GetCursorPos(&pointer);
  return ToId(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST));
}

bool WinDesktop::IsMinimised(WindowId window) const { return IsIconic(ToHandle(window)) != FALSE; }

bool WinDesktop::Exists(WindowId window) const { return IsWindow(ToHandle(window)) != FALSE; }

}  // namespace vq::win
