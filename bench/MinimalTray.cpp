// The yardstick for Vornquill2's start-up: a program that does nothing but put an icon in the
// tray. A hidden top-level window, one Shell_NotifyIconW(NIM_ADD), then a message loop.
#include <windows.h>

#include "BenchTray.h"

// StartupBench removes the icon with these before it ends the process.
constexpr wchar_t kWindowClass[] = L"MinimalTray.Window";
constexpr UINT kIconId = 1;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"MinimalTray", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) return 1;

  if (!AddTrayIcon(hwnd, kIconId, LoadIconW(nullptr, IDI_APPLICATION), L"MinimalTray")) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
