#pragma once
#include <optional>

#include "base/Menu.h"

namespace vq {

// What the hidden main window can do for the resident shell.
class HostWindow {
 public:
  virtual ~HostWindow() = default;
  // False when the shell refused the icon (no taskbar yet at logon).
  virtual bool AddTrayIcon() = 0;
  virtual void RemoveTrayIcon() = 0;
  // Pops the menu up at the mouse position; returns the chosen command after the menu closed.
  virtual std::optional<MenuCommand> PopupMenu(const Menu& menu) = 0;
  // Ends the process at once: no window gets to run its closing code.
  virtual void EndProgram() = 0;
};

}  // namespace vq
