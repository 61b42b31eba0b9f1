#include "win/base/PopupMenu.h"

#include "win/base/Handles.h"
#include "win/base/Text.h"

namespace vq::win {

namespace {

HMENU BuildPopup(const Menu& menu) {
  HMENU popup = CreatePopupMenu();
  for (const auto& item : menu) {
    if (item.separator) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    } else if (!item.children.empty()) {
      AppendMenuW(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(BuildPopup(item.children)),
                  Widen(item.caption).c_str());
    } else {
      UINT flags = MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED);
      AppendMenuW(popup, flags, static_cast<UINT_PTR>(item.command), Widen(item.caption).c_str());
    }
  }
  return popup;
}

}  // namespace

std::optional<MenuCommand> TrackMenu(HWND owner, const Menu& menu) {
  UniqueMenu popup(BuildPopup(menu));  // destroys the submenus with it
  POINT at{};
  GetCursorPos(&at);
  // A tray menu only closes on a click elsewhere when its owner is in the foreground.
  SetForegroundWindow(owner);
  UINT chosen = static_cast<UINT>(
      TrackPopupMenuEx(popup.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                       at.y, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen == 0) return std::nullopt;
  return static_cast<MenuCommand>(chosen);
}

}  // namespace vq::win
