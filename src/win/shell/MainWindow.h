#pragma once
#include <windows.h>

#include <memory>

#include "ports/Timers.h"
#include "ports/Tray.h"
#include "shell/ResidentShell.h"
#include "win/base/Screen.h"
#include "win/base/Window.h"
#include "win/shell/TrayIcon.h"

namespace vq::win {

// The hidden main window: it owns the tray icon, pops up the main menu and the program-wide
// timers, and turns their messages into calls on the resident shell. It is never shown.
class MainWindow : public Window, public Tray, public Timers {
 public:
  // The monitors are forgotten whenever displays or work areas change.
  MainWindow(HINSTANCE instance, MonitorLayout& monitors) : instance_(instance), monitors_(monitors) {}

  // Creates the window; messages go to the shell from then on. False when it could not be made.
  bool Create(shell::ResidentShell& shell);

  bool AddIcon() override;
  void RemoveIcon() override;
  std::optional<MenuCommand> PopupMenu(const Menu& menu) override;
  void Start(TimerId id, std::chrono::milliseconds every) override;
  void Stop(TimerId id) override;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  HINSTANCE instance_;
  MonitorLayout& monitors_;
  shell::ResidentShell* shell_ = nullptr;
  HICON icon_ = nullptr;
  UINT taskbarCreated_ = 0;
  std::unique_ptr<TrayIcon> tray_;
};

}  // namespace vq::win
