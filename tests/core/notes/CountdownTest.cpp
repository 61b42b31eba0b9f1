#include <gtest/gtest.h>

#include "notes/Countdown.h"

namespace vq::notes {
namespace {

NoteAlarm Alarm(const char* y, const char* mo, const char* d, const char* h, const char* mi) {
  return {y, mo, d, h, mi};
}

TEST(TimeCal, CountsDownWithBorrowsAndMonthLengths) {
  const struct {
    LocalTime now;
    NoteAlarm alarm;
    const char* caption;
  } cases[] = {
      // The hour borrows a day, the day borrows February of the leap year 2024.
      {{2024, 2, 28, 10, 0}, Alarm("2024", "03", "01", "09", "30"), "あと1日23時間30分"},
      {{2023, 2, 28, 10, 0}, Alarm("2023", "03", "01", "10", "00"), "あと1日0時間0分"},
      {{2024, 5, 10, 8, 0}, Alarm("2025", "07", "12", "09", "15"), "あと1年2ヶ月2日1時間15分"},
      // 2100 is divisible by 100 and not by 400: February has 28 days.
      {{2100, 2, 28, 0, 0}, Alarm("2100", "03", "01", "00", "00"), "あと1日0時間0分"},
      {{2000, 2, 28, 0, 0}, Alarm("2000", "03", "01", "00", "00"), "あと2日0時間0分"},
      // A January borrow reaches back into December of the year before.
      {{2026, 12, 31, 23, 0}, Alarm("2027", "01", "01", "00", "00"), "あと1時間0分"},
      {{2026, 12, 7, 12, 0}, Alarm("2027", "02", "07", "12", "00"), "あと2ヶ月0日0時間0分"},
      {{2026, 12, 7, 12, 0}, Alarm("2026", "12", "08", "12", "00"), "あと1日0時間0分"},
      {{2026, 12, 7, 12, 0}, Alarm("2026", "12", "07", "13", "05"), "あと1時間5分"},
      {{2026, 12, 7, 12, 0}, Alarm("2026", "12", "07", "12", "01"), "あと1分"},
      // Around month ends one borrow is not enough: borrow again rather than show -3 days.
      {{2023, 1, 31, 10, 0}, Alarm("2023", "03", "01", "09", "00"), "あと28日23時間0分"},
      {{2024, 1, 31, 10, 0}, Alarm("2024", "03", "01", "10", "00"), "あと30日0時間0分"},
  };
  for (const auto& c : cases) {
    auto result = TimeCal(c.alarm, c.now);
    ASSERT_TRUE(result) << c.caption;
    EXPECT_EQ(result->caption, c.caption);
    EXPECT_FALSE(result->due) << c.caption;
  }
}

TEST(TimeCal, AlarmMinuteIsDueAndLaterHasPassed) {
  NoteAlarm alarm = Alarm("2002", "05", "01", "09", "30");
  EXPECT_EQ(TimeCal(alarm, {2002, 5, 1, 9, 30}), (Countdown{"時間です", true}));
  EXPECT_EQ(TimeCal(alarm, {2002, 5, 1, 9, 31}), (Countdown{"予定時刻 2002/05/01 09：30を過ぎました。", true}));
  EXPECT_EQ(TimeCal(alarm, {2026, 12, 7, 12, 0}), (Countdown{"予定時刻 2002/05/01 09：30を過ぎました。", true}));
}

TEST(TimeCal, GarbledFieldsCountAsZeroAndLookPassed) {
  auto result = TimeCal(Alarm("20x6", "ab", "", "9", "5"), {2026, 12, 7, 12, 0});
  ASSERT_TRUE(result);
  EXPECT_EQ(result->caption, "予定時刻 20x6/ab/ 9：5を過ぎました。");
  EXPECT_TRUE(result->due);
}

TEST(TimeCal, NeverShowsANegativeCount) {
  // Every minute of a leap year against alarms at month ends and starts.
  for (int month = 1; month <= 12; ++month)
    for (int day = 1; day <= 31; day += 3)
      for (const char* alarmDay : {"01", "28", "29", "30", "31"}) {
        auto result = TimeCal(Alarm("2025", "03", alarmDay, "00", "00"), {2024, month, day, 23, 59});
        if (!result) continue;
        EXPECT_EQ(result->caption.find('-'), std::string::npos) << month << "/" << day << " " << result->caption;
      }
}

}  // namespace
}  // namespace vq::notes
