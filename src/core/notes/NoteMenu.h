#pragma once
#include <string>

#include "base/Menu.h"

namespace vq::notes {

// A note kept in the tray menu instead of on the desktop.
struct HiddenNoteEntry {
  int number = 0;
  std::string caption;
};

// A peeled note that can be brought back, by its place in the list (newest first).
struct PeeledNoteEntry {
  std::string caption;
};

// The menu a note window pops up; the two stacking items carry the note's check marks.
Menu BuildNoteMenu(bool topmostChecked, bool backmostChecked);

}  // namespace vq::notes
