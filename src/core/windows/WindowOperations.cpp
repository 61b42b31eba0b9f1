#include "windows/WindowOperations.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "windows/WindowMessages.h"

namespace vq::windows {
namespace {

constexpr std::string_view kProgramManagerClass = "Progman";

bool Contains(const WindowList& list, WindowId window) {
  return std::find(list.begin(), list.end(), window) != list.end();
}

const TopLevelWindow* Find(const std::vector<TopLevelWindow>& windows, WindowId id) {
  auto it = std::find_if(windows.begin(), windows.end(), [id](const TopLevelWindow& w) { return w.id == id; });
  return it == windows.end() ? nullptr : &*it;
}

}  // namespace

// A cloaked window is out of the user's sight: touching it would act on what they cannot see.
bool IsWatchedWindow(const TopLevelWindow& window) {
  return window.visible && !window.cloaked && !window.owned && !window.title.empty() &&
         !window.className.starts_with(kProgramManagerClass);
}

bool IsMinimisableNow(const TopLevelWindow& window) {
  return window.visible && !window.cloaked && window.minimisable && !window.minimised;
}

WindowList WatchedWindows(const std::vector<TopLevelWindow>& windows) {
  WindowList out;
  for (const auto& w : windows)
    if (IsWatchedWindow(w)) out.push_back(w.id);
  return out;
}

WindowOperations::WindowOperations(Desktop& desktop, Timers& timers, Dialogs& dialogs, const Config& config)
    : desktop_(desktop), timers_(timers), dialogs_(dialogs), config_(config) {}

void WindowOperations::MinimiseAll() { Minimise(std::nullopt); }

void WindowOperations::OnMenuOpening() { menuMonitor_ = desktop_.MonitorUnderPointer(); }

void WindowOperations::MinimiseMenuMonitor() { Minimise(menuMonitor_); }

void WindowOperations::Minimise(std::optional<MonitorId> only) {
  auto windows = desktop_.TopLevelWindows();
  WindowList minimised;
  for (const auto& w : windows) {
    if (!IsMinimisableNow(w) || (only && w.monitor != *only)) continue;
    desktop_.Minimise(w.id);
    minimised.push_back(w.id);
  }
  // A second minimise (from the menu, then by double-click, or by close all, or of another
  // monitor) must not make the first one's windows unreachable for the undo. They were put down
  // before the ones just minimised, so they come back before them.
  for (WindowId earlier : minimised_) {
    const auto* w = Find(windows, earlier);
    if (w && w->minimised && !Contains(minimised, earlier)) minimised.push_back(earlier);
  }
  minimised_ = std::move(minimised);
  // The watch's new window is ours to bring back as well (RestoreOurs): had close all asked it to
  // close and it hid, forgetting that would have the restoring double-click show it again.
  std::erase_if(askedToClose_, [this](WindowId w) { return !Contains(minimised_, w) && w != newWindow_; });
}

void WindowOperations::RestoreAll() {
  WindowList remembered = std::exchange(minimised_, {});
  WindowList closed = std::exchange(askedToClose_, {});
  auto windows = desktop_.TopLevelWindows();
  // Back to front: each restored window comes up on top of the ones before it. One that hid
  // when close all asked it to close (a tray program) stays hidden, and one moved out of sight
  // stays there: a restore would show it. One that hid on being minimised comes back.
  for (auto it = remembered.rbegin(); it != remembered.rend(); ++it) {
    const auto* w = Find(windows, *it);
    if (w && w->minimised && !w->cloaked && (w->visible || !Contains(closed, *it))) desktop_.Restore(*it);
  }
}

void WindowOperations::RestoreOurs() {
  if (newWindow_ && minimiseRequests_ > 0 && !Contains(minimised_, *newWindow_))
    minimised_.insert(minimised_.begin(), *newWindow_);
  RestoreAll();
}

void WindowOperations::CloseAll() {
  MinimiseAll();
  // The question is modal: timer ticks and a double-click may run while it is open, so
  // nothing gathered before it is used after it.
  if (!dialogs_.AskYesNo(kCloseAllQuestion)) {
    RestoreAll();
    return;
  }
  // Only windows that are down now are closed: one that could not be minimised stays open.
  // The windows minimised above stay remembered: the undo brings back those that did not close
  // (their user cancelled their own question).
  for (const auto& w : desktop_.TopLevelWindows()) {
    if (!IsWatchedWindow(w) || !w.minimised) continue;
    desktop_.PostClose(w.id);
    askedToClose_.push_back(w.id);
  }
}

void WindowOperations::ToggleFromDoubleClick() {
  if (!minimisedByDoubleClick_) {
    // A bring-forward still pending from before would undo part of this minimise.
    timers_.Stop(TimerId::kRestoreNewWindow);
    newWindow_.reset();
    minimiseRequests_ = 0;
    minimisedByDoubleClick_ = true;
    MinimiseAll();
    if (IsCheckedFlag(config_.ReadOption(keys::kMail, keys::kWatchNewWindow))) {
      snapshot_ = WatchedWindows(desktop_.TopLevelWindows());
      timers_.Start(TimerId::kWatchNewWindow, kTick);
    }
    return;
  }
  // A bring-forward already in its restore step finishes by itself.
  timers_.Stop(TimerId::kWatchNewWindow);
  timers_.Stop(TimerId::kMinimiseNewWindow);
  RestoreOurs();
  minimisedByDoubleClick_ = false;
}

bool WindowOperations::OnTimer(TimerId timer) {
  switch (timer) {
    case TimerId::kWatchNewWindow:
      WatchTick();
      return true;
    case TimerId::kMinimiseNewWindow:
      MinimiseNewWindowTick();
      return true;
    case TimerId::kRestoreNewWindow:
      RestoreNewWindowTick();
      return true;
    default:
      return false;
  }
}

void WindowOperations::WatchTick() {
  watch_ = WatchedWindows(desktop_.TopLevelWindows());
  if (watch_.size() == snapshot_.size()) return;
  // A window came or went: either way the user is back at work, so everything comes back.
  timers_.Stop(TimerId::kWatchNewWindow);
  RestoreAll();
  auto fresh = std::find_if(watch_.begin(), watch_.end(), [this](WindowId w) { return !Contains(snapshot_, w); });
  if (fresh == watch_.end()) return;  // only windows closed: the double-click state stays
  // The restored windows now cover the new one; minimising and restoring it puts it on top.
  newWindow_ = *fresh;
  minimiseRequests_ = 0;
  timers_.Start(TimerId::kMinimiseNewWindow, kTick);
}

void WindowOperations::MinimiseNewWindowTick() {
  bool settled = !newWindow_ || !desktop_.Exists(*newWindow_) || desktop_.IsMinimised(*newWindow_) ||
                 minimiseRequests_ >= kNewWindowMinimiseRequests;
  if (!settled) {
    desktop_.Minimise(*newWindow_);
    ++minimiseRequests_;
    return;
  }
  timers_.Stop(TimerId::kMinimiseNewWindow);
  timers_.Start(TimerId::kRestoreNewWindow, kTick);
}

void WindowOperations::RestoreNewWindowTick() {
  timers_.Stop(TimerId::kRestoreNewWindow);
  if (newWindow_ && desktop_.Exists(*newWindow_)) desktop_.BringToFront(*newWindow_);
  watch_.clear();
  snapshot_.clear();
  newWindow_.reset();
  minimiseRequests_ = 0;
  minimisedByDoubleClick_ = false;
}

}  // namespace vq::windows
