#pragma once
#include <vector>

#include "base/Menu.h"
#include "launcher/Launcher.h"
#include "notes/NoteMenu.h"

namespace vq::shell {

// The tray icon's menu, as the user sees it: unused launcher entries left out, "(なし)" while
// none is named, hidden notes between the two separators of the notes submenu, peeled notes in
// a submenu of their own ("(なし)" while there are none).
Menu BuildMainMenu(const launcher::LauncherCaptions& launcher, const std::vector<notes::HiddenNoteEntry>& hiddenNotes,
                   const std::vector<notes::PeeledNoteEntry>& peeledNotes = {});

}  // namespace vq::shell
