#pragma once
#include <windows.h>

namespace vq::win {

// Names other processes (Explorer's tray, our own tests) use to reach the hidden main window.
inline constexpr wchar_t kMainWindowClass[] = L"Vornquill2.MainWindow";
inline constexpr wchar_t kProductName[] = L"Vornquill2";
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;
inline constexpr wchar_t kSingleInstanceMutex[] = L"Local\\Vornquill2.SingleInstance";
// The page the small pictures of the timer and options dialogs open.
inline constexpr wchar_t kHomePageUrl[] = L"https://vornquill2.example.jp/";

}  // namespace vq::win
