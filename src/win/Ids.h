#pragma once

namespace vq::win {

// Control and menu IDs of the program's own windows.
enum ControlId : int {
  kEditorText = 100,
  kEditorStick,
  kEditorCancel,
  kEditorAlarmFirst = 110,  // + alarm row label
  kEditorMenuFont = 200,
  kEditorMenuBackColor,
  kEditorMenuForeColor,
  kEditorMenuTimer,
  kTimerCalendar = 300,
  kTimerScrollFirst = 310,  // + field: year, month, day, hour, minute
  kTimerLabelFirst = 320,   // + field
  kTimerClock = 330,
  kTimerSet,
  kTimerClear,
  kTimerCancel,
  kTimerPicture,
};

}  // namespace vq::win
