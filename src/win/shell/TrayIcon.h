#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace vq::win {

// Our one icon in the notification area.
class TrayIcon {
 public:
  TrayIcon(HWND owner, HICON icon, std::wstring tip);
  ~TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // False when the shell did not take the icon (no taskbar yet at logon).
  bool Add();
  void Remove();

 private:
  NOTIFYICONDATAW Data(UINT flags) const;

  HWND owner_;
  HICON icon_;
  std::wstring tip_;
};

}  // namespace vq::win
