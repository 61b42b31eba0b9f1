#pragma once
#include <windows.h>

#include <optional>

#include "base/Menu.h"

namespace vq::win {

// Shows the menu at the mouse position, owned by the given window, and returns the chosen
// command once the menu has closed.
std::optional<MenuCommand> TrackMenu(HWND owner, const Menu& menu);

}  // namespace vq::win
