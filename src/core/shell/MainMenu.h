#pragma once
#include <string>
#include <vector>

#include "shell/Launcher.h"
#include "base/Menu.h"

namespace vq {

// A note kept in the tray menu instead of on the desktop.
struct HiddenNoteEntry {
  int number = 0;
  std::string caption;
};

// The tray icon's menu, as the user sees it: unused launcher entries left out, "(なし)" while
// none is named, hidden notes between the two separators of the notes submenu.
Menu BuildMainMenu(const LauncherTable& launcher, const std::vector<HiddenNoteEntry>& hiddenNotes);

// The menu a note window pops up; the two stacking items carry the note's check marks.
Menu BuildNoteMenu(bool topmostChecked, bool backmostChecked);

}  // namespace vq
