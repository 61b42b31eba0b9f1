#include <gtest/gtest.h>

#include "editor/TimerDialogModel.h"

namespace vq::editor {
namespace {

class TimerDialogTest : public ::testing::Test {
 protected:
  std::vector<std::string> Labels() const {
    return {model.Label(TimerDialogModel::kYear), model.Label(TimerDialogModel::kMonth),
            model.Label(TimerDialogModel::kDay), model.Label(TimerDialogModel::kHour),
            model.Label(TimerDialogModel::kMinute)};
  }
  TimerDialogModel model;
  LocalTime now{2026, 12, 6, 9, 5};
};

TEST_F(TimerDialogTest, OpensOnTheCurrentMomentZeroFilled) {
  model.Open(now, {});
  EXPECT_EQ(Labels(), (std::vector<std::string>{"2026", "12", "06", "09", "05"}));
  EXPECT_EQ(model.CalendarDate(), (TimerDialogModel::Date{2026, 12, 6}));
  EXPECT_EQ(model.Minimum(TimerDialogModel::kYear), 2026);
  EXPECT_EQ(model.Position(TimerDialogModel::kDay), 6);
  EXPECT_EQ(TimerDialogModel::ClockLine(now), "2026/12/06  09：05");
}

TEST_F(TimerDialogTest, OpensOnTheNotesAlarm) {
  model.Open(now, {"2027", "03", "31", "18", "00"});
  EXPECT_EQ(Labels(), (std::vector<std::string>{"2027", "03", "31", "18", "00"}));
  EXPECT_EQ(model.CalendarDate(), (TimerDialogModel::Date{2027, 3, 31}));
  EXPECT_EQ(model.Position(TimerDialogModel::kYear), 2027);
  EXPECT_EQ(model.Position(TimerDialogModel::kDay), 31);
}

TEST_F(TimerDialogTest, AnAlarmFromAnEarlierYearKeepsItsYear) {
  model.Open(now, {"2001", "05", "01", "09", "30"});
  EXPECT_EQ(model.Label(TimerDialogModel::kYear), "2001");
  EXPECT_EQ(model.Minimum(TimerDialogModel::kYear), 2001);
  EXPECT_EQ(model.Position(TimerDialogModel::kYear), 2001);
}

// The year bar always holds the current year and the alarm's, whatever either is.
TEST_F(TimerDialogTest, YearRangeHoldsTheClocksYearAndTheAlarms) {
  struct Case {
    int nowYear;
    const char* alarmYear;  // "" for no alarm
    int min, max;
    const char* label;
  };
  const Case cases[] = {
      {2026, "", 2026, 2099, "2026"},      {2026, "2150", 2026, 2150, "2150"}, {2026, "2001", 2001, 2099, "2001"},
      {2100, "", 2100, 2100, "2100"},      {2120, "2101", 2101, 2120, "2101"}, {2026, "9999", 2026, 9999, "9999"},
      {2026, "12345", 2026, 9999, "9999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.nowYear) + " " + c.alarmYear);
    TimerDialogModel fresh;
    notes::NoteAlarm alarm;
    if (*c.alarmYear) alarm = {c.alarmYear, "06", "15", "12", "00"};
    fresh.Open({c.nowYear, 6, 15, 12, 0}, alarm);
    EXPECT_EQ(fresh.Minimum(TimerDialogModel::kYear), c.min);
    EXPECT_EQ(fresh.Maximum(TimerDialogModel::kYear), c.max);
    EXPECT_EQ(fresh.Label(TimerDialogModel::kYear), c.label);
    EXPECT_EQ(fresh.Position(TimerDialogModel::kYear), std::stoi(c.label));
    fresh.OnScroll(TimerDialogModel::kYear, c.max + 1);
    EXPECT_EQ(fresh.Position(TimerDialogModel::kYear), c.max);
  }
}

TEST_F(TimerDialogTest, DaysFollowTheMonthAndTheLeapYearRule) {
  model.Open(now, {"2024", "01", "31", "00", "00"});
  model.OnScroll(TimerDialogModel::kMonth, 2);
  EXPECT_EQ(model.Label(TimerDialogModel::kMonth), "02");
  EXPECT_EQ(model.Maximum(TimerDialogModel::kDay), 29);
  EXPECT_EQ(model.Label(TimerDialogModel::kDay), "29");
  model.OnScroll(TimerDialogModel::kYear, 2025);
  EXPECT_EQ(model.Maximum(TimerDialogModel::kDay), 28);
  EXPECT_EQ(model.Label(TimerDialogModel::kDay), "28");
  model.OnCalendarClick(2100, 2, 28);
  EXPECT_EQ(model.Maximum(TimerDialogModel::kDay), 28);
  model.OnCalendarClick(2000, 2, 28);
  EXPECT_EQ(model.Maximum(TimerDialogModel::kDay), 29);

  model.OnCalendarClick(2027, 1, 31);
  model.OnScroll(TimerDialogModel::kMonth, 4);
  EXPECT_EQ(model.Label(TimerDialogModel::kDay), "30");
  EXPECT_EQ(model.Maximum(TimerDialogModel::kDay), 30);
}

TEST_F(TimerDialogTest, ScrollingZeroFillsAndTheYearStaysAsItIs) {
  model.Open(now, {});
  model.OnScroll(TimerDialogModel::kMonth, 1);
  EXPECT_EQ(model.Label(TimerDialogModel::kMonth), "01");
  model.OnScroll(TimerDialogModel::kMinute, 7);
  EXPECT_EQ(model.Label(TimerDialogModel::kMinute), "07");
  model.OnScroll(TimerDialogModel::kHour, 99);  // bounded by the scroll bar
  EXPECT_EQ(model.Label(TimerDialogModel::kHour), "23");
  model.OnScroll(TimerDialogModel::kYear, 1990);
  EXPECT_EQ(model.Label(TimerDialogModel::kYear), "2026");
}

TEST_F(TimerDialogTest, CalendarClickSetsTheDateWithoutMovingTheScrollBars) {
  model.Open(now, {});
  model.OnCalendarClick(2019, 7, 4);
  EXPECT_EQ(model.Alarm(), (notes::NoteAlarm{"2019", "07", "04", "09", "05"}));
  EXPECT_EQ(model.Position(TimerDialogModel::kYear), 2026);
  EXPECT_EQ(model.Position(TimerDialogModel::kMonth), 12);
  // The next scroll of a bar sets its label from its own position; an arrow at its end changes nothing.
  model.OnScroll(TimerDialogModel::kYear, 2025);
  model.OnScroll(TimerDialogModel::kMonth, 11);
  EXPECT_EQ(model.Alarm(), (notes::NoteAlarm{"2019", "11", "04", "09", "05"}));
}

}  // namespace
}  // namespace vq::editor
