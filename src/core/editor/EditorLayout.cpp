#include "editor/EditorLayout.h"

#include <algorithm>

namespace vq {

EditorLayout LayoutEditor(long outerWidth, long outerHeight) {
  EditorLayout layout;
  layout.outerWidth = std::max(outerWidth, kEditorMinWidth);
  layout.outerHeight = std::max(outerHeight, kEditorMinHeight);
  layout.text = {0, 0, layout.outerWidth - 100, layout.outerHeight - 1200};
  long band = layout.text.height + 75;
  layout.stick = {layout.outerWidth - 1950, band, 855, 375};
  layout.cancel = {layout.outerWidth - 990, band, 735, 375};
  layout.alarmTop = layout.text.height + 160;
  layout.alarmLefts = {840, 1320, 1680, 2040, 2400, 1200, 1560, 2280, 120};
  return layout;
}

}  // namespace vq
