#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vq {

// A top-level window of the desktop, by its handle. Only the desktop adapter knows what the
// number means; a handle can outlive its window, so every use may find it gone.
enum class WindowId : std::uint64_t {};
// A monitor, by its handle; likewise known only to the adapter.
enum class MonitorId : std::uint64_t {};

// What the window operations need to know of one top-level window, read at one moment.
struct TopLevelWindow {
  WindowId id{};
  bool visible = false;
  bool owned = false;     // it has an owner window (a dialog, a note, a tool palette)
  std::string title;      // UTF-8, cut at 127 characters
  std::string className;  // UTF-8
  bool minimised = false;
  bool minimisable = false;  // it has a taskbar button and a minimise box, and takes input
  // Kept from the user's sight by the desktop although it counts as visible: a window on
  // another virtual desktop, a suspended store app, some shell frames.
  bool cloaked = false;
  MonitorId monitor{};  // the one that holds most of its area, or the nearest one
};

// The desktop's top-level windows, most of them belonging to other programs. No call waits for
// another program: a hung window must never hang ours.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // Every top-level window, front to back (the z-order). A window that vanishes during the walk
  // may be missing or may show empty facts.
  virtual std::vector<TopLevelWindow> TopLevelWindows() const = 0;
  // Asks the window to minimise itself, the way its minimise button does, and returns at once.
  // The window may refuse or be too busy to answer; a vanished window is ignored.
  virtual void Minimise(WindowId window) = 0;
  // Asks a minimised window to come back to its place and size, and returns at once.
  virtual void Restore(WindowId window) = 0;
  // Makes the window the foreground window, restoring it first when it is minimised. Returns
  // at once; a maximised window stays maximised.
  virtual void BringToFront(WindowId window) = 0;
  // Asks the window to close exactly as its close button does, and returns at once. The window
  // may ask its user first, hide instead, or refuse. A window this program may not touch (of
  // an elevated program) never gets the request, silently.
  virtual void PostClose(WindowId window) = 0;
  // The monitor under the mouse pointer, or the nearest one.
  virtual MonitorId MonitorUnderPointer() const = 0;
  // True while the window is minimised; false once it is gone.
  virtual bool IsMinimised(WindowId window) const = 0;
  virtual bool Exists(WindowId window) const = 0;
};

}  // namespace vq
