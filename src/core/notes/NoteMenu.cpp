#include "notes/NoteMenu.h"

namespace vq::notes {

Menu BuildNoteMenu(bool topmostChecked, bool backmostChecked) {
  using C = MenuCommand;
  return {
      MenuItem::Command("編集", C::kNoteEdit),
      MenuItem::Command("最前面に表示", C::kNoteTopmost, topmostChecked),
      MenuItem::Command("最背面に表示", C::kNoteBackmost, backmostChecked),
      MenuItem::Command("非表示", C::kNoteHide),
      MenuItem::Command("はがす", C::kNotePeel),
  };
}

}  // namespace vq::notes
