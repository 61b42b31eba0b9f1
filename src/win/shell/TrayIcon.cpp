#include "win/shell/TrayIcon.h"

#include <shellapi.h>

#include "win/base/WindowNames.h"

namespace vq::win {

TrayIcon::TrayIcon(HWND owner, HICON icon, std::wstring tip) : owner_(owner), icon_(icon), tip_(std::move(tip)) {}

NOTIFYICONDATAW TrayIcon::Data(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = kTrayIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon_;
  lstrcpynW(data.szTip, tip_.c_str(), static_cast<int>(std::size(data.szTip)));
  return data;
}

bool TrayIcon::Add() {
  NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (Shell_NotifyIconW(NIM_ADD, &data)) return true;
  // A busy shell may time out yet have added the icon; a modify then succeeds.
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TrayIcon::Remove() {
  NOTIFYICONDATAW data = Data(0);
  Shell_NotifyIconW(NIM_DELETE, &data);
}

}  // namespace vq::win
