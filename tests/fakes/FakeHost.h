#pragma once
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ports/HostWindow.h"
#include "ports/UserFolders.h"

namespace vq::test {

class FakeFolders : public UserFolders {
 public:
  std::string StartupFolder() const override { return startup; }
  std::string startup = "C:\\Users\\taro\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
};

// Records what the shell asked of its window, in order, as short words.
class FakeHost : public HostWindow {
 public:
  bool AddTrayIcon() override {
    calls.push_back("add-icon");
    bool ok = trayAccepts.empty() ? true : trayAccepts.front();
    if (!trayAccepts.empty()) trayAccepts.pop_front();
    return ok;
  }
  void RemoveTrayIcon() override { calls.push_back("remove-icon"); }
  std::optional<MenuCommand> PopupMenu(const Menu& menu) override {
    calls.push_back("popup");
    shownMenus.push_back(menu);
    return choice;
  }
  void EndProgram() override { calls.push_back("end"); }

  std::vector<std::string> calls;
  std::vector<Menu> shownMenus;
  std::optional<MenuCommand> choice;
  std::deque<bool> trayAccepts;  // answers to AddTrayIcon; true once these run out
};

}  // namespace vq::test
