// The tray icon of the benchmark's yardsticks, added as a tray program adds its own.
#pragma once
#include <windows.h>
#include <shellapi.h>

inline bool AddTrayIcon(HWND owner, UINT id, HICON icon, const wchar_t* tip) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_APP + 1;
  data.hIcon = icon;
  lstrcpynW(data.szTip, tip, ARRAYSIZE(data.szTip));
  return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}
