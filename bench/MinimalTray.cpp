// The yardstick for Vornquill2's start-up: a program that does nothing but put an icon in the
// tray. A hidden top-level window, one Shell_NotifyIconW(NIM_ADD), then a message loop.
#include <windows.h>
#include <shellapi.h>

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

  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_APP + 1;
  data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(data.szTip, L"MinimalTray", ARRAYSIZE(data.szTip));
  if (!Shell_NotifyIconW(NIM_ADD, &data)) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
