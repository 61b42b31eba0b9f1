#include <gtest/gtest.h>

#include "core/base/RenderMenu.h"
#include "notes/NoteMenu.h"

namespace vq::notes {
namespace {

TEST(NoteMenu, NoteMenuCarriesTheStackingCheckMarks) {
  EXPECT_EQ(Render(BuildNoteMenu(true, false)), "編集\n最前面に表示 [x]\n最背面に表示\n非表示\nはがす\n");
  EXPECT_EQ(Render(BuildNoteMenu(false, true)), "編集\n最前面に表示\n最背面に表示 [x]\n非表示\nはがす\n");
}

}  // namespace
}  // namespace vq::notes
