#include "editor/EditorLayout.h"

#include <algorithm>

#include "base/Twips.h"

namespace vq::editor {

EditorLayout LayoutEditor(long outerWidth, long outerHeight) {
  EditorLayout layout;
  layout.outerWidth = std::max(outerWidth, kEditorMinWidth);
  layout.outerHeight = std::max(outerHeight, kEditorMinHeight);
  layout.text = {0, 0, layout.outerWidth - 100, layout.outerHeight - 1200};
  long band = layout.text.height + 75;
  layout.stick = {layout.outerWidth - kButtonsFromRight, band, 855, 375};
  layout.cancel = {layout.outerWidth - 990, band, 735, 375};
  layout.alarmTop = layout.text.height + 160;
  layout.alarmLefts = {840, 1320, 1680, 2040, 2400, 1200, 1560, 2280, 120};
  return layout;
}

std::array<PixelRect, 9> PlaceAlarmRow(const EditorLayout& layout, int dpi, const std::array<PixelSize, 9>& texts) {
  constexpr AlarmRowLabel kLeftToRight[] = {kTimerCaption, kAlarmYear, kSlash1, kAlarmMonth, kSlash2,
                                            kAlarmDay,     kAlarmHour, kColon,  kAlarmMinute};
  std::array<PixelRect, 9> row{};
  int right = 0;
  for (AlarmRowLabel label : kLeftToRight) {
    long gapTwips = label == kAlarmHour ? kAlarmTimeGap : label == kAlarmYear ? kAlarmCaptionGap : 0;
    int gap = TwipsToPixels(gapTwips, dpi);
    int left = std::max(TwipsToPixels(layout.alarmLefts[label], dpi), right + gap);
    row[label] = {left, TwipsToPixels(layout.alarmTop, dpi), texts[label].width, texts[label].height};
    right = row[label].Right();
  }
  return row;
}

int EditorMinWidth(int dpi, int alarmRowRight) {
  return std::max(TwipsToPixels(kEditorMinWidth, dpi),
                  alarmRowRight + TwipsToPixels(kAlarmRowToButtons, dpi) + TwipsToPixels(kButtonsFromRight, dpi));
}

}  // namespace vq::editor
