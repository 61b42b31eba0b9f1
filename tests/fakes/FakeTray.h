#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ports/Tray.h"

namespace vq::test {

// Records what the shell asked of the tray, in order, as short words.
class FakeTray : public Tray {
 public:
  bool AddIcon() override {
    calls.push_back("add-icon");
    bool ok = accepts.empty() ? true : accepts.front();
    if (!accepts.empty()) accepts.pop_front();
    shown = ok;
    return ok;
  }
  void RemoveIcon() override {
    calls.push_back("remove-icon");
    shown = false;
  }
  // The menu is modal: duringPopup runs while it is open, as other events can.
  std::optional<MenuCommand> PopupMenu(const Menu& menu) override {
    calls.push_back("popup");
    shownMenus.push_back(menu);
    if (duringPopup) duringPopup();
    return choice;
  }

  std::vector<std::string> calls;
  std::vector<Menu> shownMenus;
  std::optional<MenuCommand> choice;
  std::deque<bool> accepts;  // answers to AddIcon; true once these run out
  bool shown = false;        // the icon is in the tray
  std::function<void()> duringPopup;
};

}  // namespace vq::test
