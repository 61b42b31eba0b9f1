#include "editor/TimerDialogLayout.h"

#include <algorithm>

#include "base/Twips.h"

namespace vq::editor {

namespace {

// The arrangement in twips.
constexpr long kClientWidth = 4785, kClientHeight = 2580;
constexpr long kCalendarWidth = 2430, kCalendarHeight = 2010;
constexpr long kColumnLeft = 2640, kColumnWidth = 2055;
constexpr long kNowCaptionTop = 360, kClockTop = 600, kAlarmCaptionTop = 1080, kRowTop = 1320, kRowHeight = 195;
constexpr long kScrollTop = 1560, kScrollWidth = 375, kScrollHeight = 135;
constexpr long kValueLefts[5] = {2640, 3270, 3660, 4050, 4440};
constexpr long kValueWidths[5] = {495, 255, 255, 255, 255};
constexpr long kSeparatorLefts[3] = {3135, 3525, 4305};
constexpr long kSeparatorWidth = 135;
constexpr long kPictureLeft = 120, kPictureTop = 2040, kPictureSize = 495;
constexpr long kButtonsTop = 2160, kButtonWidth = 1215, kButtonHeight = 375;
constexpr long kButtonLefts[3] = {840, 2160, 3480};

}  // namespace

TimerDialogLayout LayoutTimerDialog(int dpi, const TimerDialogNeeds& needs) {
  auto px = [dpi](long twips) { return TwipsToPixels(twips, dpi); };
  // A design rectangle in pixels, by its edges (so that neighbours meet exactly), moved by
  // (dx, dy) and grown to hold `need`. What follows a grown control moves on by its growth.
  auto place = [&](long left, long top, long width, long height, int dx, int dy, PixelSize need = {}) {
    PixelRect r{px(left) + dx, px(top) + dy, px(left + width) - px(left), px(top + height) - px(top)};
    r.width = std::max(r.width, need.width);
    r.height = std::max(r.height, need.height);
    return r;
  };
  TimerDialogLayout out;

  out.calendar = place(0, 0, kCalendarWidth, kCalendarHeight, 0, 0, needs.calendar);
  // The right-hand column keeps its distance from the calendar.
  int right = out.calendar.width - px(kCalendarWidth);
  int down = 0;
  auto line = [&](long designTop, PixelSize text) {
    PixelRect r = place(kColumnLeft, designTop, kColumnWidth, kRowHeight, right, down, text);
    down += r.height - (px(designTop + kRowHeight) - px(designTop));
    return r;
  };
  out.nowCaption = line(kNowCaptionTop, needs.nowCaption);
  out.clock = line(kClockTop, needs.clock);
  out.alarmCaption = line(kAlarmCaptionTop, needs.alarmCaption);
  int columnRight = std::max({out.nowCaption.Right(), out.clock.Right(), out.alarmCaption.Right()});

  // The alarm row: year / month / day, hour ： minute, left to right, all as tall as the tallest.
  int rowHeight = 0;
  for (const auto& text : needs.values) rowHeight = std::max(rowHeight, text.height);
  for (const auto& text : needs.separators) rowHeight = std::max(rowHeight, text.height);
  struct Cell {
    PixelRect* rect;
    long designLeft, designWidth;
    PixelSize text;
  };
  const Cell cells[] = {
      {&out.values[0], kValueLefts[0], kValueWidths[0], needs.values[0]},
      {&out.separators[0], kSeparatorLefts[0], kSeparatorWidth, needs.separators[0]},
      {&out.values[1], kValueLefts[1], kValueWidths[1], needs.values[1]},
      {&out.separators[1], kSeparatorLefts[1], kSeparatorWidth, needs.separators[1]},
      {&out.values[2], kValueLefts[2], kValueWidths[2], needs.values[2]},
      {&out.values[3], kValueLefts[3], kValueWidths[3], needs.values[3]},
      {&out.separators[2], kSeparatorLefts[2], kSeparatorWidth, needs.separators[2]},
      {&out.values[4], kValueLefts[4], kValueWidths[4], needs.values[4]},
  };
  int shift = right;
  int rowGrowth = 0;
  std::array<int, 5> valueShift{}, valueGrowth{};
  for (const Cell& cell : cells) {
    PixelRect r =
        place(cell.designLeft, kRowTop, cell.designWidth, kRowHeight, shift, down, {cell.text.width, rowHeight});
    int grown = r.width - (px(cell.designLeft + cell.designWidth) - px(cell.designLeft));
    for (int f = 0; f < 5; ++f) {
      if (cell.rect != &out.values[f]) continue;
      valueShift[f] = shift;
      valueGrowth[f] = grown;
    }
    shift += grown;
    rowGrowth = std::max(rowGrowth, r.height - (px(kRowTop + kRowHeight) - px(kRowTop)));
    *cell.rect = r;
    columnRight = std::max(columnRight, r.Right());
  }
  down += rowGrowth;

  // Each scroll bar stays centred under its value.
  for (int f = 0; f < 5; ++f)
    out.scrolls[f] = place(kValueLefts[f] + kValueWidths[f] / 2 - kScrollWidth / 2, kScrollTop, kScrollWidth,
                           kScrollHeight, valueShift[f] + valueGrowth[f] / 2, down);

  // The buttons sit below both the calendar and the column, and end where the column ends.
  int buttonsDown = std::max(down, out.calendar.height - px(kCalendarHeight));
  int buttonHeight = 0;
  for (const auto& text : needs.buttons) buttonHeight = std::max(buttonHeight, text.height);
  int buttonsShift = std::max(right, columnRight - px(kButtonLefts[2] + kButtonWidth));
  int buttonsGrowth = 0;
  for (int b = 2; b >= 0; --b) {
    PixelRect r = place(kButtonLefts[b], kButtonsTop, kButtonWidth, kButtonHeight, buttonsShift, buttonsDown,
                        {needs.buttons[b].width, buttonHeight});
    int grown = r.width - (px(kButtonLefts[b] + kButtonWidth) - px(kButtonLefts[b]));
    // A wider button grows to the left, and pushes the buttons left of it.
    r.left -= grown + buttonsGrowth;
    buttonsGrowth += grown;
    out.buttons[b] = r;
  }
  // Wide captions push the buttons right, never onto the picture.
  if (int over = px(kButtonLefts[0]) - out.buttons[0].left; over > 0) {
    for (auto& button : out.buttons) button.left += over;
    buttonsShift += over;
  }
  out.picture = place(kPictureLeft, kPictureTop, kPictureSize, kPictureSize, 0, buttonsDown);

  int buttonsGrowthDown = out.buttons[0].height - (px(kButtonsTop + kButtonHeight) - px(kButtonsTop));
  out.client = {px(kClientWidth) + buttonsShift, px(kClientHeight) + buttonsDown + buttonsGrowthDown};
  return out;
}

}  // namespace vq::editor
