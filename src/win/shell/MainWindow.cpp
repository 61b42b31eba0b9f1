#include "win/shell/MainWindow.h"

#include "win/base/StartupProfile.h"
#include "win/base/WindowNames.h"
#include "win/base/PopupMenu.h"

namespace vq::win {

bool MainWindow::Create(shell::ResidentShell& shell) {
  shell_ = &shell;
  icon_ = SmallProgramIcon(instance_);
  // Never shown, so without an icon: the window system would convert one for the window
  // manager as the window is made.
  if (!Window::RegisterClass(instance_, kMainWindowClass, -1, ClassIcon::kNone)) return false;
  // A top-level window rather than a message-only one: Explorer broadcasts "TaskbarCreated"
  // to top-level windows only.
  if (!CreateBound(WS_EX_TOOLWINDOW, kMainWindowClass, kProductName, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                   instance_))
    return false;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  tray_ = std::make_unique<TrayIcon>(hwnd_, icon_, kProductName);
  return true;
}

bool MainWindow::AddIcon() {
  VQ_PROFILE(kTrayIcon);
  return tray_->Add();
}

void MainWindow::RemoveIcon() { tray_->Remove(); }

std::optional<MenuCommand> MainWindow::PopupMenu(const Menu& menu) { return TrackMenu(hwnd_, menu); }

void MainWindow::Start(TimerId id, std::chrono::milliseconds every) {
  ::SetTimer(hwnd_, static_cast<UINT_PTR>(id), static_cast<UINT>(every.count()), nullptr);
}

void MainWindow::Stop(TimerId id) { KillTimer(hwnd_, static_cast<UINT_PTR>(id)); }

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kTrayCallbackMessage:
      shell_->OnTrayMouse(LOWORD(lp));
      return 0;
    case WM_TIMER:
      shell_->OnTimer(static_cast<TimerId>(wp));
      return 0;
    case WM_CLOSE:
      shell_->OnCloseRequest();
      return 0;
    case WM_QUERYENDSESSION:
      return shell_->OnCloseRequest() ? TRUE : FALSE;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DPICHANGED:
      monitors_.Forget();
      break;
  }
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // Explorer restarts drop every tray icon and broadcast "TaskbarCreated"; add ours again.
    shell_->OnTaskbarCreated();
    return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace vq::win
