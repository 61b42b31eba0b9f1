#include <gtest/gtest.h>

#include "base/Twips.h"
#include "core/editor/LayoutChecks.h"
#include "editor/EditorLayout.h"

namespace vq::editor {
namespace {

// The alarm row under the editor's text: labels as large as their texts, in reading order,
// and the editor never so narrow that the row runs under the buttons.
TEST(EditorLayout, AlarmRowLabelsHoldTheirTextsInReadingOrder) {
  for (int dpi : {96, 144}) {
    for (const TextSizes& texts : {kSmallTexts, kLargeTexts}) {
      SCOPED_TRACE(dpi);
      std::array<PixelSize, 9> sizes{};
      sizes[kAlarmYear] = texts.digit4;
      for (auto label : {kAlarmMonth, kAlarmDay, kAlarmHour, kAlarmMinute}) sizes[label] = texts.digit2;
      sizes[kSlash1] = sizes[kSlash2] = texts.slash;
      sizes[kColon] = texts.colon;
      sizes[kTimerCaption] = texts.caption;
      EditorLayout layout = LayoutEditor(kEditorMinWidth, kEditorMinHeight);
      auto row = PlaceAlarmRow(layout, dpi, sizes);
      const AlarmRowLabel order[] = {kTimerCaption, kAlarmYear, kSlash1, kAlarmMonth, kSlash2,
                                     kAlarmDay,     kAlarmHour, kColon,  kAlarmMinute};
      for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(Holds(row[order[i]], sizes[order[i]])) << i;
        EXPECT_GE(row[order[i]].left, TwipsToPixels(layout.alarmLefts[order[i]], dpi)) << i;
        if (i > 0) {
          EXPECT_GE(row[order[i]].left, row[order[i - 1]].Right()) << i;
        }
      }
      EXPECT_GT(row[kAlarmHour].left, row[kAlarmDay].Right());  // the date and the time stay apart
      int minWidth = EditorMinWidth(dpi, row[kAlarmMinute].Right());
      EXPECT_GE(minWidth, TwipsToPixels(kEditorMinWidth, dpi));
      EXPECT_GT(minWidth - TwipsToPixels(kButtonsFromRight, dpi), row[kAlarmMinute].Right());
    }
  }
}

}  // namespace
}  // namespace vq::editor
