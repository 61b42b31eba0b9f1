#pragma once
#include <chrono>
#include <optional>
#include <vector>

#include "base/TimerId.h"
#include "config/Config.h"
#include "ports/Desktop.h"
#include "ports/Dialogs.h"
#include "ports/Timers.h"

namespace vq::windows {

// Top-level windows in the order the desktop listed them, front to back.
using WindowList = std::vector<WindowId>;

// The windows that the new-window watch counts and that close all may close: visible and not
// cloaked, without an owner, with a title, and not the desktop's program manager (a class name
// starting with "Progman").
bool IsWatchedWindow(const TopLevelWindow& window);
// The windows that minimise all minimises, as the taskbar's own minimise-all does: visible and
// not cloaked, with a taskbar button, allowing it, and not minimised yet.
bool IsMinimisableNow(const TopLevelWindow& window);
WindowList WatchedWindows(const std::vector<TopLevelWindow>& windows);

// Minimise all (or all on one monitor) and its undo, close all, and the tray double-click that
// toggles between them with its optional watch for a newly opened window. Minimising and
// restoring are done here, window by window, rather than by the shell, so that they behave
// alike on every system, can keep to one monitor, and only ever touch the windows this
// program minimised.
class WindowOperations {
 public:
  // The watch and both steps for the new window tick this often.
  static constexpr std::chrono::milliseconds kTick{300};
  // A new window that does not minimise after this many requests (it refuses, is hung, or is
  // gone) is brought forward anyway.
  static constexpr int kNewWindowMinimiseRequests = 10;

  WindowOperations(Desktop& desktop, Timers& timers, Dialogs& dialogs, const Config& config);

  // "すべて最小化": minimises every window the taskbar would and remembers them, together with
  // those minimised earlier that are still down. The double-click state is left alone.
  void MinimiseAll();
  // The tray menu is about to open: the monitor under the pointer now is the one that
  // "このモニターだけ最小化" means.
  void OnMenuOpening();
  // "このモニターだけ最小化": minimise all, for the windows on that monitor only.
  void MinimiseMenuMonitor();
  // "元に戻す": restores the remembered windows that are still minimised and in sight (not hidden
  // by a close request), the front one last so that they come back in their order, and forgets
  // them. Windows minimised by hand stay down.
  void RestoreAll();
  // "すべて閉じる": minimises all and asks. No restores what was minimised; Yes asks every
  // watched window that is minimised to close, without waiting for any. Either way the undo
  // still covers the windows it minimised.
  void CloseAll();

  // The tray double-click in minimise-all mode: minimise all (and, when "b6" is checked, watch
  // for a new window), or restore all.
  void ToggleFromDoubleClick();
  // One tick of the watch or of the new-window steps. False for a timer that is not ours.
  bool OnTimer(TimerId timer);

  // True after a double-click minimised all, until the next double-click or until the watch has
  // brought a new window forward.
  bool MinimisedByDoubleClick() const { return minimisedByDoubleClick_; }
  // The windows the next restore will bring back, front to back.
  const WindowList& Remembered() const { return minimised_; }
  const WindowList& Snapshot() const { return snapshot_; }
  const WindowList& LatestWatch() const { return watch_; }
  std::optional<WindowId> NewWindow() const { return newWindow_; }

 private:
  // Minimise all, or only on one monitor.
  void Minimise(std::optional<MonitorId> only);
  void WatchTick();
  void MinimiseNewWindowTick();
  void RestoreNewWindowTick();
  // The remembered windows, plus the watch's new window once it has been asked to minimise:
  // all of them were minimised by us.
  void RestoreOurs();

  Desktop& desktop_;
  Timers& timers_;
  Dialogs& dialogs_;
  const Config& config_;

  bool minimisedByDoubleClick_ = false;
  WindowList minimised_;     // what minimise all put down, front to back
  WindowList askedToClose_;  // by close all since, for the undo
  WindowList snapshot_;      // the watched windows right after a double-click minimised all
  WindowList watch_;         // the watched windows of the latest watch tick
  std::optional<WindowId> newWindow_;
  int minimiseRequests_ = 0;
  MonitorId menuMonitor_{};  // under the pointer when the tray menu last opened
};

}  // namespace vq::windows
