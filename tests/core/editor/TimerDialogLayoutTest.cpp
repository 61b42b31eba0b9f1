#include <gtest/gtest.h>

#include "core/editor/LayoutChecks.h"
#include "editor/TimerDialogLayout.h"

namespace vq::editor {
namespace {

// The timer dialog keeps its arrangement at the design's size, and grows around whatever
// needs more room, so that no control hides another or its own text.
TEST(TimerDialogLayout, EveryControlHoldsItsContentWithoutCoveringAnother) {
  struct Case {
    int dpi;
    PixelSize calendar;
    TextSizes texts;
  };
  const Case cases[] = {{96, {150, 120}, kSmallTexts},
                        {96, {224, 209}, kLargeTexts},
                        {144, {224, 209}, kSmallTexts},
                        {144, {336, 314}, kLargeTexts}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    TimerDialogNeeds needs;
    needs.calendar = c.calendar;
    needs.nowCaption = needs.alarmCaption = c.texts.caption;
    needs.clock = c.texts.clock;
    needs.values = {c.texts.digit4, c.texts.digit2, c.texts.digit2, c.texts.digit2, c.texts.digit2};
    needs.separators = {c.texts.slash, c.texts.slash, c.texts.colon};
    needs.buttons = {c.texts.button, c.texts.button, c.texts.button};
    TimerDialogLayout layout = LayoutTimerDialog(c.dpi, needs);

    std::vector<std::pair<PixelRect, PixelSize>> controls = {{layout.calendar, needs.calendar},
                                                             {layout.picture, {}},
                                                             {layout.nowCaption, needs.nowCaption},
                                                             {layout.clock, needs.clock},
                                                             {layout.alarmCaption, needs.alarmCaption}};
    for (int f = 0; f < 5; ++f) controls.push_back({layout.values[f], needs.values[f]});
    for (int f = 0; f < 5; ++f) controls.push_back({layout.scrolls[f], {}});
    for (int i = 0; i < 3; ++i) controls.push_back({layout.separators[i], needs.separators[i]});
    for (int i = 0; i < 3; ++i) controls.push_back({layout.buttons[i], needs.buttons[i]});
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const auto& [rect, need] = controls[i];
      EXPECT_TRUE(Holds(rect, need)) << i;
      EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.Right() <= layout.client.width &&
                  rect.Bottom() <= layout.client.height)
          << i;
      for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(rect, controls[j].first)) << i << " " << j;
    }
    // The arrangement: the column right of the calendar, the row in reading order, each bar
    // under its value, the buttons below everything else.
    EXPECT_GT(layout.nowCaption.left, layout.calendar.Right());
    for (int f = 1; f < 5; ++f) EXPECT_GT(layout.values[f].left, layout.values[f - 1].left);
    for (int f = 0; f < 5; ++f)
      EXPECT_LE(std::abs(layout.scrolls[f].left + layout.scrolls[f].width / 2 -
                         (layout.values[f].left + layout.values[f].width / 2)),
                1);
    EXPECT_GT(layout.buttons[0].top, std::max(layout.calendar.Bottom(), layout.scrolls[0].Bottom()));
  }
  // Where the design's own sizes suffice, it is the design: 4785 x 2580 twips, the calendar
  // 2430 x 2010, the year 2640 from the left and 1320 from the top.
  TimerDialogNeeds small;
  small.calendar = {100, 100};
  TimerDialogLayout design = LayoutTimerDialog(144, small);
  EXPECT_EQ(design.client, (PixelSize{479, 258}));
  EXPECT_EQ(design.calendar, (PixelRect{0, 0, 243, 201}));
  EXPECT_EQ(design.values[0], (PixelRect{264, 132, 50, 20}));
  EXPECT_EQ(design.scrolls[4], (PixelRect{438, 156, 38, 14}));
  EXPECT_EQ(design.buttons[2], (PixelRect{348, 216, 122, 38}));
}

}  // namespace
}  // namespace vq::editor
