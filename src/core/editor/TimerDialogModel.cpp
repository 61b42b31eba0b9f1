#include "editor/TimerDialogModel.h"

#include <algorithm>

#include "base/Calendar.h"
#include "base/Digits.h"

namespace vq::editor {

namespace {

int IntegerValue(const std::string& text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > 100000) break;
  }
  return value;
}

}  // namespace

std::string TimerDialogModel::ClockLine(const LocalTime& now) {
  return ZeroPadded(now.year, 4) + "/" + ZeroPadded(now.month, 2) + "/" + ZeroPadded(now.day, 2) + "  " +
         ZeroPadded(now.hour, 2) + "：" + ZeroPadded(now.minute, 2);
}

void TimerDialogModel::Open(const LocalTime& now, const notes::NoteAlarm& alarm) {
  // The year bar runs from the current year to 2099. It always holds the current year and the
  // alarm's own (an alarm from an earlier year, or a later one picked in the calendar): the
  // range widens to them rather than losing them.
  min_[kYear] = now.year;
  max_[kYear] = std::max(kLastScrollYear, now.year);
  if (alarm.IsSet()) {
    int year = std::clamp(IntegerValue(alarm.year), 1, kLatestYear);
    min_[kYear] = std::min(min_[kYear], year);
    max_[kYear] = std::max(max_[kYear], year);
  }
  pos_[kYear] = std::clamp(pos_[kYear], min_[kYear], max_[kYear]);

  if (alarm.IsSet()) {
    SetLabel(kYear, alarm.year);
    SetLabel(kMonth, alarm.month);
    SetLabel(kDay, alarm.day);
    SetLabel(kHour, alarm.hour);
    SetLabel(kMinute, alarm.minute);
    calendar_ = {IntegerValue(alarm.year), IntegerValue(alarm.month), IntegerValue(alarm.day)};
  } else {
    calendar_ = {now.year, now.month, now.day};
    SetLabel(kYear, std::to_string(now.year));
    SetLabel(kMonth, std::to_string(now.month));
    SetLabel(kDay, std::to_string(now.day));
    SetLabel(kHour, std::to_string(now.hour));
    SetLabel(kMinute, std::to_string(now.minute));
  }
  for (Field f : {kYear, kMonth, kDay, kHour, kMinute}) SetPosition(f, IntegerValue(labels_[f]));
}

void TimerDialogModel::OnScroll(Field field, int position) { SetPosition(field, position); }

void TimerDialogModel::SetPosition(Field field, int position) {
  position = std::clamp(position, min_[field], max_[field]);
  if (position == pos_[field]) return;  // a scroll bar reports changes only
  pos_[field] = position;
  SetLabel(field, std::to_string(position));
}

void TimerDialogModel::OnCalendarClick(int year, int month, int day) {
  SetLabel(kYear, std::to_string(year));
  SetLabel(kMonth, std::to_string(month));
  SetLabel(kDay, std::to_string(day));
}

void TimerDialogModel::SetLabel(Field field, std::string text) {
  if (field != kYear && text.size() == 1) text = "0" + text;
  labels_[field] = std::move(text);
  if (field == kMonth) ApplyMonthRule();
  if (field == kYear && labels_[kMonth] == "02") ApplyFebruaryRule();
}

void TimerDialogModel::ApplyMonthRule() {
  const std::string& month = labels_[kMonth];
  if (month == "01" || month == "03" || month == "05" || month == "07" || month == "08" || month == "10" ||
      month == "12") {
    SetDayMaximum(31);
  } else if (month == "04" || month == "06" || month == "09" || month == "11") {
    SetDayMaximum(30);
    if (labels_[kDay] == "31") SetLabel(kDay, "30");
  } else if (month == "02") {
    ApplyFebruaryRule();
  }
}

void TimerDialogModel::ApplyFebruaryRule() {
  int days = IsLeapYear(IntegerValue(labels_[kYear])) ? 29 : 28;
  SetDayMaximum(days);
  if (IntegerValue(labels_[kDay]) > days) SetLabel(kDay, std::to_string(days));
}

void TimerDialogModel::SetDayMaximum(int maximum) {
  max_[kDay] = maximum;
  if (pos_[kDay] > maximum) {
    pos_[kDay] = maximum;
    SetLabel(kDay, std::to_string(maximum));
  }
}

}  // namespace vq::editor
