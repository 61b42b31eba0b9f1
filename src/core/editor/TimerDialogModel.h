#pragma once
#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "notes/NoteRecord.h"
#include "ports/Clock.h"

namespace vq::editor {

// The alarm being chosen in the timer dialog: five labels (year, month, day, hour, minute)
// and the five scroll bars that change them.
class TimerDialogModel {
 public:
  // The dialog's clock line is refreshed this often.
  static constexpr std::chrono::milliseconds kClockInterval{3000};

  enum Field { kYear, kMonth, kDay, kHour, kMinute };
  // The year bar ends here unless the clock or the alarm is later; the calendar ends at 9999.
  static constexpr int kLastScrollYear = 2099;
  static constexpr int kLatestYear = 9999;
  struct Date {
    int year = 0, month = 0, day = 0;
    bool operator==(const Date&) const = default;
  };

  // Fills the labels from the note's alarm, or from the current moment when it has none.
  void Open(const LocalTime& now, const notes::NoteAlarm& alarm);

  const std::string& Label(Field field) const { return labels_[field]; }
  int Minimum(Field field) const { return min_[field]; }
  int Maximum(Field field) const { return max_[field]; }
  int Position(Field field) const { return pos_[field]; }
  // The date the calendar shows on opening.
  Date CalendarDate() const { return calendar_; }

  void OnScroll(Field field, int position);
  // A date clicked in the calendar sets the date labels; the scroll bars stay where they are.
  void OnCalendarClick(int year, int month, int day);

  notes::NoteAlarm Alarm() const {
    return {labels_[kYear], labels_[kMonth], labels_[kDay], labels_[kHour], labels_[kMinute]};
  }

  // "yyyy/mm/dd  hh：nn"
  static std::string ClockLine(const LocalTime& now);

 private:
  void SetLabel(Field field, std::string text);
  void ApplyMonthRule();
  void ApplyFebruaryRule();
  void SetDayMaximum(int maximum);
  void SetPosition(Field field, int position);

  std::array<std::string, 5> labels_{"0000", "00", "00", "00", "00"};
  std::array<int, 5> min_{2002, 1, 1, 0, 0};
  std::array<int, 5> max_{kLastScrollYear, 12, 31, 23, 59};
  std::array<int, 5> pos_{2002, 1, 1, 0, 0};
  Date calendar_;
};

}  // namespace vq::editor
