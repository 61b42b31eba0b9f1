#pragma once
#include <array>

namespace vq::editor {

// Rectangles in twips, relative to the editor's client area.
struct TwipRect {
  long left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipRect&) const = default;
};

// Pixels: what a text takes in its font, and where a control goes in its window's client area.
struct PixelSize {
  int width = 0, height = 0;
  bool operator==(const PixelSize&) const = default;
};
struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const PixelRect&) const = default;
};

inline constexpr long kEditorMinWidth = 4710;  // outer size, twips
inline constexpr long kEditorMinHeight = 4125;
inline constexpr long kButtonsFromRight = 1950;  // the stick button's left, from the outer right edge
inline constexpr long kAlarmTimeGap = 120;       // between the alarm's date and its time
inline constexpr long kAlarmCaptionGap = 90;     // between "タイマー" and the year
inline constexpr long kAlarmRowToButtons = 60;   // at least, between the alarm row and the stick button

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

// The alarm row at this DPI, by AlarmRowLabel: each label as large as its text in its font
// (texts, in pixels), at its own left unless the label before it needs the room; the time
// keeps a gap after the date.
std::array<PixelRect, 9> PlaceAlarmRow(const EditorLayout& layout, int dpi, const std::array<PixelSize, 9>& texts);
// The narrowest outer width in pixels: the editor's own minimum, or more when the alarm row
// would otherwise run under the buttons (they stand 1950 twips left of the outer right edge).
int EditorMinWidth(int dpi, int alarmRowRight);

}  // namespace vq::editor
