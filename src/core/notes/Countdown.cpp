#include "notes/Countdown.h"

#include "base/Calendar.h"

namespace vq::notes {

namespace {

// Alarm fields that are not numbers count as 0.
int FieldValue(const std::string& text) {
  if (text.empty() || text.size() > 6) return 0;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Days of the month that a day borrow reaches back into, given the alarm month after the
// borrow. 0 stands for December of the year before, and further borrows keep counting back;
// 12 and more only come from a garbled record and add nothing.
int DaysOfBorrowedMonth(int month, int year) {
  if (month >= 12) return 0;
  while (month <= 0) {
    month += 12;
    --year;
  }
  switch (month) {
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 12:
      return 31;
    default:
      return 31;
  }
}

}  // namespace

std::optional<Countdown> TimeCal(const NoteAlarm& alarm, const LocalTime& now) {
  int aY = FieldValue(alarm.year), aMo = FieldValue(alarm.month), aD = FieldValue(alarm.day);
  int aH = FieldValue(alarm.hour), aMi = FieldValue(alarm.minute);

  int m = aMi - now.minute;
  if (m < 0) {
    m += 60;
    --aH;
  }
  int h = aH - now.hour;
  if (h < 0) {
    h += 24;
    --aD;
  }
  int d = aD - now.day;
  // Borrow whole months until the day count is no longer negative: around month ends one
  // borrow is not always enough.
  for (int borrows = 0; d < 0 && borrows < 3; ++borrows) {
    --aMo;
    d += DaysOfBorrowedMonth(aMo, aY);
  }
  int mo = aMo - now.month;
  while (mo < 0) {
    mo += 12;
    --aY;
  }
  int y = aY - now.year;

  auto n = [](int v) { return std::to_string(v); };
  if (y < 0)
    return Countdown{"予定時刻 " + alarm.year + "/" + alarm.month + "/" + alarm.day + " " + alarm.hour + "：" +
                         alarm.minute + "を過ぎました。",
                     true};
  if (d < 0) return std::nullopt;
  if (y >= 1) return Countdown{"あと" + n(y) + "年" + n(mo) + "ヶ月" + n(d) + "日" + n(h) + "時間" + n(m) + "分"};
  if (mo >= 1) return Countdown{"あと" + n(mo) + "ヶ月" + n(d) + "日" + n(h) + "時間" + n(m) + "分"};
  if (d > 0) return Countdown{"あと" + n(d) + "日" + n(h) + "時間" + n(m) + "分"};
  if (h > 0) return Countdown{"あと" + n(h) + "時間" + n(m) + "分"};
  if (m > 0) return Countdown{"あと" + n(m) + "分"};
  return Countdown{"時間です", true};
}

}  // namespace vq::notes
