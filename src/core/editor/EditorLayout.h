#pragma once
#include <array>

namespace vq {

// Rectangles in twips, relative to the editor's client area.
struct TwipRect {
  long left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipRect&) const = default;
};

inline constexpr long kEditorMinWidth = 4710;  // outer size, twips
inline constexpr long kEditorMinHeight = 4125;

enum AlarmRowLabel {
  kAlarmYear,
  kAlarmMonth,
  kAlarmDay,
  kAlarmHour,
  kAlarmMinute,
  kSlash1,
  kSlash2,
  kColon,
  kTimerCaption
};

struct EditorLayout {
  long outerWidth = 0, outerHeight = 0;
  TwipRect text, stick, cancel;
  long alarmTop = 0;
  std::array<long, 9> alarmLefts{};  // by AlarmRowLabel
};

// Where everything goes for an editor of this outer size: never smaller than the minimum,
// the text box filling it, the buttons and the alarm row in the band below.
EditorLayout LayoutEditor(long outerWidth, long outerHeight);

}  // namespace vq
