#pragma once
#include <optional>

#include "base/Menu.h"

namespace vq {

// The program's icon in the notification area and its popup menu.
class Tray {
 public:
  virtual ~Tray() = default;
  // False when the shell refused the icon (no taskbar yet at logon).
  virtual bool AddIcon() = 0;
  virtual void RemoveIcon() = 0;
  // Pops the menu up at the mouse position; returns the chosen command after the menu closed.
  virtual std::optional<MenuCommand> PopupMenu(const Menu& menu) = 0;
};

}  // namespace vq
