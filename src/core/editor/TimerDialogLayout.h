#pragma once
#include <array>

#include "editor/EditorLayout.h"

namespace vq::editor {

// What the timer dialog's controls need at least, in pixels at the dialog's DPI: the calendar's
// own minimum, and each text in the font of the control that shows it.
struct TimerDialogNeeds {
  PixelSize calendar;
  PixelSize nowCaption, clock, alarmCaption;  // "現在の時刻", the clock line, "予定時刻"
  std::array<PixelSize, 5> values;            // year, month, day, hour, minute
  std::array<PixelSize, 3> separators;        // "/", "/", "："
  std::array<PixelSize, 3> buttons;           // "タイマー設定", "タイマー取消", "Cancel"
};

// Where everything goes, relative to the client area.
struct TimerDialogLayout {
  PixelSize client;
  PixelRect calendar, picture, nowCaption, clock, alarmCaption;
  std::array<PixelRect, 5> values, scrolls;
  std::array<PixelRect, 3> separators, buttons;
};

// The dialog's own arrangement (the calendar on the left; the current time, the alarm and its
// five scroll bars on the right; the picture and three buttons below), each control at least
// as large as the arrangement says and as its content needs. What a larger control pushes
// moves right or down, and the dialog grows with it.
TimerDialogLayout LayoutTimerDialog(int dpi, const TimerDialogNeeds& needs);

}  // namespace vq::editor
