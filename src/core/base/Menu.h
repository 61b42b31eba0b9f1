#pragma once
#include <string>
#include <vector>

namespace vq {

// Command identifiers of both popup menus. Hidden-note entries, peeled notes and launcher
// entries use a range each, offset by the note number, the place in the list or the entry index.
enum class MenuCommand : int {
  kMinimiseAll = 100,
  kRestoreAll,
  kCloseAll,
  kNewNote,
  kNoteSettings,
  kLauncherNone,
  kLauncherSettings,
  kCheckMail,
  kMailSettings,
  kOptions,
  kExit,
  kNoteEdit,
  kNoteTopmost,
  kNoteBackmost,
  kNoteHide,
  kNotePeel,
  kPeeledNone,
  kMinimiseThisMonitor,
  kShowHiddenNoteFirst = 1000,  // + note number 0..100
  kShowHiddenNoteLast = 1100,
  kRestorePeeledFirst = 1200,  // + place in the peeled-notes submenu 0..9
  kRestorePeeledLast = 1209,
  kLaunchFirst = 2000,  // + entry index 0..19
  kLaunchLast = 2019,
};

constexpr MenuCommand ShowHiddenNoteCommand(int noteNumber) {
  return static_cast<MenuCommand>(static_cast<int>(MenuCommand::kShowHiddenNoteFirst) + noteNumber);
}
constexpr MenuCommand RestorePeeledCommand(int place) {
  return static_cast<MenuCommand>(static_cast<int>(MenuCommand::kRestorePeeledFirst) + place);
}
constexpr MenuCommand LaunchCommand(int entry) {
  return static_cast<MenuCommand>(static_cast<int>(MenuCommand::kLaunchFirst) + entry);
}
// The offset of a ranged command within its range, or -1 when the command lies outside it.
int OffsetIn(MenuCommand command, MenuCommand first, MenuCommand last);

// One item of a popup menu. Items the user must not see are simply left out; an item with
// children is a submenu.
struct MenuItem {
  std::string caption;
  MenuCommand command{};
  bool separator = false;
  bool checked = false;
  std::vector<MenuItem> children;

  static MenuItem Command(std::string caption, MenuCommand command, bool checked = false);
  static MenuItem Separator();
  static MenuItem Submenu(std::string caption, std::vector<MenuItem> children);
  bool operator==(const MenuItem&) const = default;
};

using Menu = std::vector<MenuItem>;

}  // namespace vq
