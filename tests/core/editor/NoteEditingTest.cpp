#include <gtest/gtest.h>

#include "editor/EditorLayout.h"
#include "editor/NoteEditing.h"
#include "editor/TimerDialogLayout.h"
#include "editor/TimerDialogModel.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEditorView.h"
#include "fakes/FakeNoteFiles.h"
#include "fakes/FakeNoteView.h"
#include "fakes/FakeProfileFile.h"

namespace vq::editor {
namespace {

using test::RecordText;
using test::SampleRecord;

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

bool Overlap(const PixelRect& a, const PixelRect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}
bool Holds(const PixelRect& r, PixelSize need) { return r.width >= need.width && r.height >= need.height; }

// Texts as the design's font draws them, and as a larger font does (a Japanese font under Wine,
// or a larger DPI setting), by what they show.
struct TextSizes {
  PixelSize caption, digit2, digit4, slash, colon, clock, button;
};
const TextSizes kSmallTexts{{48, 12}, {12, 12}, {24, 12}, {5, 12}, {8, 12}, {120, 12}, {70, 12}};
const TextSizes kLargeTexts{{64, 17}, {17, 17}, {33, 17}, {9, 17}, {12, 17}, {140, 17}, {95, 17}};

// The timer dialog keeps its arrangement at the design's size, and grows around whatever
// needs more room, so that no control hides another or its own text.
TEST(TimerDialogLayout, EveryControlHoldsItsContentWithoutCoveringAnother) {
  struct Case {
    int dpi;
    PixelSize calendar;
    TextSizes texts;
  };
  const Case cases[] = {{96, {150, 120}, kSmallTexts},
                        {96, {224, 209}, kLargeTexts},
                        {144, {224, 209}, kSmallTexts},
                        {144, {336, 314}, kLargeTexts}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    TimerDialogNeeds needs;
    needs.calendar = c.calendar;
    needs.nowCaption = needs.alarmCaption = c.texts.caption;
    needs.clock = c.texts.clock;
    needs.values = {c.texts.digit4, c.texts.digit2, c.texts.digit2, c.texts.digit2, c.texts.digit2};
    needs.separators = {c.texts.slash, c.texts.slash, c.texts.colon};
    needs.buttons = {c.texts.button, c.texts.button, c.texts.button};
    TimerDialogLayout layout = LayoutTimerDialog(c.dpi, needs);

    std::vector<std::pair<PixelRect, PixelSize>> controls = {{layout.calendar, needs.calendar},
                                                             {layout.picture, {}},
                                                             {layout.nowCaption, needs.nowCaption},
                                                             {layout.clock, needs.clock},
                                                             {layout.alarmCaption, needs.alarmCaption}};
    for (int f = 0; f < 5; ++f) controls.push_back({layout.values[f], needs.values[f]});
    for (int f = 0; f < 5; ++f) controls.push_back({layout.scrolls[f], {}});
    for (int i = 0; i < 3; ++i) controls.push_back({layout.separators[i], needs.separators[i]});
    for (int i = 0; i < 3; ++i) controls.push_back({layout.buttons[i], needs.buttons[i]});
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const auto& [rect, need] = controls[i];
      EXPECT_TRUE(Holds(rect, need)) << i;
      EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.Right() <= layout.client.width &&
                  rect.Bottom() <= layout.client.height)
          << i;
      for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(rect, controls[j].first)) << i << " " << j;
    }
    // The arrangement: the column right of the calendar, the row in reading order, each bar
    // under its value, the buttons below everything else.
    EXPECT_GT(layout.nowCaption.left, layout.calendar.Right());
    for (int f = 1; f < 5; ++f) EXPECT_GT(layout.values[f].left, layout.values[f - 1].left);
    for (int f = 0; f < 5; ++f)
      EXPECT_LE(std::abs(layout.scrolls[f].left + layout.scrolls[f].width / 2 -
                         (layout.values[f].left + layout.values[f].width / 2)),
                1);
    EXPECT_GT(layout.buttons[0].top, std::max(layout.calendar.Bottom(), layout.scrolls[0].Bottom()));
  }
  // Where the design's own sizes suffice, it is the design: 4785 x 2580 twips, the calendar
  // 2430 x 2010, the year 2640 from the left and 1320 from the top.
  TimerDialogNeeds small;
  small.calendar = {100, 100};
  TimerDialogLayout design = LayoutTimerDialog(144, small);
  EXPECT_EQ(design.client, (PixelSize{479, 258}));
  EXPECT_EQ(design.calendar, (PixelRect{0, 0, 243, 201}));
  EXPECT_EQ(design.values[0], (PixelRect{264, 132, 50, 20}));
  EXPECT_EQ(design.scrolls[4], (PixelRect{438, 156, 38, 14}));
  EXPECT_EQ(design.buttons[2], (PixelRect{348, 216, 122, 38}));
}

// The alarm row under the editor's text: labels as large as their texts, in reading order,
// and the editor never so narrow that the row runs under the buttons.
TEST(EditorLayout, AlarmRowLabelsHoldTheirTextsInReadingOrder) {
  for (int dpi : {96, 144}) {
    for (const TextSizes& texts : {kSmallTexts, kLargeTexts}) {
      SCOPED_TRACE(dpi);
      std::array<PixelSize, 9> sizes{};
      sizes[kAlarmYear] = texts.digit4;
      for (auto label : {kAlarmMonth, kAlarmDay, kAlarmHour, kAlarmMinute}) sizes[label] = texts.digit2;
      sizes[kSlash1] = sizes[kSlash2] = texts.slash;
      sizes[kColon] = texts.colon;
      sizes[kTimerCaption] = texts.caption;
      EditorLayout layout = LayoutEditor(kEditorMinWidth, kEditorMinHeight);
      auto row = PlaceAlarmRow(layout, dpi, sizes);
      const AlarmRowLabel order[] = {kTimerCaption, kAlarmYear, kSlash1, kAlarmMonth, kSlash2,
                                     kAlarmDay,     kAlarmHour, kColon,  kAlarmMinute};
      for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(Holds(row[order[i]], sizes[order[i]])) << i;
        EXPECT_GE(row[order[i]].left, TwipsToPixels(layout.alarmLefts[order[i]], dpi)) << i;
        if (i > 0) {
          EXPECT_GE(row[order[i]].left, row[order[i - 1]].Right()) << i;
        }
      }
      EXPECT_GT(row[kAlarmHour].left, row[kAlarmDay].Right());  // the date and the time stay apart
      int minWidth = EditorMinWidth(dpi, row[kAlarmMinute].Right());
      EXPECT_GE(minWidth, TwipsToPixels(kEditorMinWidth, dpi));
      EXPECT_GT(minWidth - TwipsToPixels(kButtonsFromRight, dpi), row[kAlarmMinute].Right());
    }
  }
}

class NoteEditingTest : public ::testing::Test {
 protected:
  NoteEditingTest() {
    events.board = &board;
    profile.Set("Fusen", "FontName", "ＭＳ Ｐゴシック");
    profile.Set("Fusen", "FontSize", "10.5");
    profile.Set("Fusen", "BackColor", "&H80FFFF");
    profile.Set("Fusen", "ForeColor", "&HFF");
    profile.Set("Fusen", "Top", "1200");
    profile.Set("Fusen", "Left", "3000");
  }
  test::FakeEditorView& Editor() { return *editors.live; }
  test::FakeNoteView& View(int position) { return static_cast<test::FakeNoteView&>(board.ViewAt(position)); }
  void AddNote(int n, const std::vector<std::string>& record, const std::string& text) {
    files.files[notes::NoteRecordFileName(n)] = RecordText(record);
    files.files[notes::NoteTextFileName(n)] = text + "\r\n";
  }

  test::FakeProfileFile profile;
  Config config{profile};
  test::FakeNoteFiles files;
  test::FakeNoteViews views;
  test::FakeEditorViews editors;
  test::FakeClock clock;
  test::FakeDialogs dialogs;
  test::BoardEvents events;
  notes::NoteBoard board{files, views, events, clock, dialogs};
  NoteEditing editing{config, board, editors, dialogs};
};

TEST_F(NoteEditingTest, NewNoteOpensWithTheDefaultsAndSticksAtTheEditorsPlace) {
  AddNote(0, SampleRecord(), "zero");
  AddNote(2, SampleRecord(), "two");
  board.RestoreNotes();
  editing.NewNote();
  EXPECT_EQ(Editor().content, (EditorContent{"", {"ＭＳ Ｐゴシック", 10.5, false, false}, 0x80FFFF, 0xFF, {}}));
  EXPECT_EQ(Editor().placement.top, 1200);
  EXPECT_TRUE(board.EditorOpen());

  Editor().content.text = "新しいメモ\r\n二行目";
  Editor().content.font.bold = true;
  Editor().movedTo = WindowPlace{1500, 4500};
  editing.Stick();
  EXPECT_EQ(files.files["Vornquill1.log"], "新しいメモ\r\n二行目\r\n");
  EXPECT_EQ(files.files["Vornquill1.hsn"], RecordText({"ＭＳ Ｐゴシック", "10.5", "True", "False", "&H80FFFF", "&HFF",
                                                       "True", "1500", "4500", "", "", "", "", "", "False"}));
  EXPECT_EQ(board.Count(), 3);
  EXPECT_EQ(board.NumberAt(3), 1);
  EXPECT_EQ(editors.live, nullptr);
  EXPECT_FALSE(board.EditorOpen());
  EXPECT_EQ(editing.EditingNoteNumber(), kNewNoteNumber);
  EXPECT_EQ(profile.Read("Fusen", "Top"), "1500");  // every close remembers the place
  EXPECT_EQ(profile.Read("Fusen", "Left"), "4500");
}

TEST_F(NoteEditingTest, EmptyTextIsRefusedAndTheEditorStays) {
  editing.NewNote();
  editing.Stick();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"入力されていません"});
  EXPECT_NE(editors.live, nullptr);
  EXPECT_EQ(files.writes, 0);
}

// The refusal is said over the edit that is open, the timer dialog while it stands in for the editor.
TEST_F(NoteEditingTest, SecondEditIsRefused) {
  AddNote(0, SampleRecord(), "zero");
  board.RestoreNotes();
  editing.NewNote();
  editing.NewNote();
  editing.OpenTimerDialog();
  editing.EditCurrentNote();
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"他のタグを編集中です。", "他のタグを編集中です。"}));
  EXPECT_EQ(dialogs.about, (std::vector<const BoxOwner*>{editors.live, editors.timerDialog}));
  EXPECT_EQ(editors.created, 1);
}

TEST_F(NoteEditingTest, EditThenStickRewritesTheSameNumberAtItsFormerPlaceAndLayer) {
  auto record = SampleRecord("True", "True");
  AddNote(5, record, "元の文");
  AddNote(6, SampleRecord(), "other");
  board.RestoreNotes();
  View(1).size = {5000, 3000};
  events.OnNotePress(View(1), notes::MouseButton::kOther);
  editing.EditCurrentNote();
  EXPECT_EQ(board.Count(), 1);
  EXPECT_EQ(editing.EditingNoteNumber(), 5);
  EXPECT_EQ(Editor().content.text, "元の文");
  EXPECT_EQ(Editor().placement.height, 4600);
  EXPECT_EQ(Editor().placement.width, 5500);
  EXPECT_EQ(files.files["Vornquill5.hsn"], RecordText(record));  // untouched until stuck

  Editor().content.text = "新しい文";
  Editor().movedTo = WindowPlace{99, 99};
  editing.Stick();
  EXPECT_EQ(files.files["Vornquill5.log"], "新しい文\r\n");
  EXPECT_EQ(files.files["Vornquill5.hsn"], RecordText(record));
  EXPECT_EQ(board.NumberAt(2), 5);
  EXPECT_TRUE(View(2).topmost);
}

TEST_F(NoteEditingTest, CancelPutsTheNoteBackAsItWasWhateverHappenedMeanwhile) {
  auto record = SampleRecord("True", "0");
  record[9] = "2027";
  record[10] = "01";
  record[11] = "01";
  record[12] = "00";
  record[13] = "00";
  AddNote(3, record, "そのまま");
  AddNote(4, SampleRecord(), "other");
  board.RestoreNotes();
  events.OnNotePress(View(1), notes::MouseButton::kOther);
  editing.EditCurrentNote();
  Editor().content.text = "changed";
  Editor().content.alarm = {};
  editing.OpenTimerDialog();  // the editor is out of sight: notes take clicks again
  events.OnNotePress(View(1), notes::MouseButton::kLeft);
  editing.LeaveTimerDialog(NoteEditing::TimerOutcome::kCancel);

  editing.Cancel();
  EXPECT_EQ(board.Count(), 2);
  EXPECT_EQ(View(2).note.text, "そのまま");
  EXPECT_TRUE(View(2).attached);
  EXPECT_EQ(View(2).countdown->caption, "あと24日12時間0分");
  EXPECT_EQ(files.files["Vornquill3.hsn"], RecordText(record));
  EXPECT_EQ(files.files["Vornquill3.log"], "そのまま\r\n");
  EXPECT_EQ(editing.EditingNoteNumber(), kNewNoteNumber);
}

TEST_F(NoteEditingTest, CancellingANewNoteDiscardsItButRemembersThePlace) {
  editing.NewNote();
  Editor().content.text = "捨てる";
  Editor().movedTo = WindowPlace{720, 1440};
  editing.Cancel();
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(profile.Read("Fusen", "Top"), "720");
  EXPECT_EQ(board.Count(), 0);
}

TEST_F(NoteEditingTest, AllNumbersTakenIsRefusedWithoutTouchingANote) {
  for (int n = 0; n <= 100; ++n) AddNote(n, SampleRecord("False"), "n");
  auto before = files.files;
  editing.NewNote();
  Editor().content.text = "one too many";
  editing.Stick();
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(files.files, before);
  EXPECT_NE(editors.live, nullptr);
}

// A new note's number is one nobody holds: not a note on the desktop or in the tray menu whose
// files went meanwhile, not a text left without its record.
TEST_F(NoteEditingTest, NewNoteNeverTakesANumberInUseOrOverwritesAFile) {
  AddNote(0, SampleRecord(), "shown");
  AddNote(1, SampleRecord("False"), "hidden");
  files.files["Vornquill2.log"] = "crash left me\r\n";
  board.RestoreNotes();
  for (int n : {0, 1}) files.files.erase(notes::NoteRecordFileName(n));
  const auto before = files.files;
  for (int expected : {3, 4}) {
    editing.NewNote();
    Editor().content.text = "new " + std::to_string(expected);
    editing.Stick();
    EXPECT_EQ(board.NumberAt(board.Count()), expected);
    EXPECT_TRUE(files.Exists(notes::NoteRecordFileName(expected)));
  }
  for (const auto& [name, text] : before) EXPECT_EQ(files.files[name], text) << name;
  EXPECT_TRUE(dialogs.messages.empty());
}

// The text file holds the text and a line end; a text whose file the reader would refuse at the
// next start stays in the editor instead.
TEST_F(NoteEditingTest, TextTooLargeForItsFileStaysInTheEditor) {
  for (std::size_t size : {NoteFiles::kLargestFile - 2, NoteFiles::kLargestFile - 1}) {
    SCOPED_TRACE(size);
    bool fits = size + 2 <= NoteFiles::kLargestFile;
    files.files.clear();
    dialogs.messages.clear();
    editing.NewNote();
    Editor().content.text = std::string(size, 'x');
    editing.Stick();
    EXPECT_EQ(files.Exists("Vornquill0.log"), fits);
    EXPECT_EQ(files.Exists("Vornquill0.hsn"), fits);
    if (fits) {
      EXPECT_EQ(files.files["Vornquill0.log"].size(), NoteFiles::kLargestFile);
      EXPECT_EQ(editors.live, nullptr);
      continue;
    }
    ASSERT_NE(editors.live, nullptr);
    EXPECT_EQ(Editor().content.text.size(), size);
    EXPECT_EQ(dialogs.messages,
              std::vector<std::string>{"文字が多すぎるため貼り付けられません。付箋紙1枚の文字は4MBまでです。"
                                       "文字を減らしてから貼り付けてください。"});
    editing.Cancel();
  }
}

TEST_F(NoteEditingTest, FailedWriteKeepsTheTypedTextInTheEditor) {
  editing.NewNote();
  Editor().content.text = "大事なメモ";
  files.failWrites = true;
  editing.Stick();
  EXPECT_EQ(dialogs.messages.size(), 1u);
  ASSERT_NE(editors.live, nullptr);
  EXPECT_EQ(Editor().content.text, "大事なメモ");
  EXPECT_EQ(board.Count(), 0);
}

// What the files would give back changed is saved only when the user agrees, and is named as
// typed, ten characters at most; No leaves the editor and the files as they were. Yes saves each
// as one "?", in the text and the font name, and the note shows that.
TEST_F(NoteEditingTest, CharactersTheFilesCannotHoldAreSavedOnlyWhenTheUserAgrees) {
  struct Case {
    std::string text, face;
    bool yes;
    std::string named;       // "" when nothing is asked
    std::string saved = "";  // the note's text and font name after Yes
  };
  const Case cases[] = {
      {"メモ😀", "ＭＳ Ｐゴシック", false, "「😀」"},
      {"café 😀é", "Arial", true, "「é」「😀」", "caf? ??|Arial"},
      {"한국 한", "Malgun 고딕", false, "「한」「국」「고」「딕」"},
      {"한 x", "Malgun 고딕", true, "「한」「고」「딕」", "? x|Malgun ??"},
      {"①ｱｲｳ", "ＭＳ Ｐゴシック", false, ""},
      {"àáâãäåèéêëì", "Arial", false, "「à」「á」「â」「ã」「ä」「å」「è」「é」「ê」「ë」など"},
      {"", "Arial", false, ""},
      {"cut \xED\xA0\xBD", "Arial", true, "「\xED\xA0\xBD」", "cut ?|Arial"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    dialogs.questions.clear();
    dialogs.about.clear();
    dialogs.messages.clear();
    dialogs.answerYes = c.yes;
    editing.NewNote();
    const BoxOwner* editor = editors.live;
    Editor().content = {c.text, {c.face, 9, false, false}, 0xFFFFFF, 0, {}};
    editing.Stick();
    EXPECT_EQ(dialogs.questions, c.named.empty()
                                     ? std::vector<std::string>{}
                                     : std::vector<std::string>{"付箋紙のファイルに保存できない文字があります：" +
                                                                c.named + "。別の文字に置き換えて貼り付けますか？"});
    EXPECT_EQ(dialogs.about, std::vector<const BoxOwner*>(dialogs.questions.size() + dialogs.messages.size(), editor));
    const bool saved = !c.text.empty() && (c.yes || c.named.empty());
    EXPECT_EQ(files.files.empty(), !saved);
    if (!c.saved.empty()) {  // the note shows what its file holds
      const notes::Note& note = views.live.back()->note;
      EXPECT_EQ(note.text + "|" + note.font.face, c.saved);
      EXPECT_EQ(files.files[notes::NoteTextFileName(std::ssize(views.live) - 1)],
                notes::NoteTextFileContent(note.text));
    }
    if (editors.live) editing.Cancel();
    files.files.clear();
  }
  dialogs.duringAsk = [&] { editing.Cancel(); };  // the editor goes, and its text with it
  editing.NewNote();
  Editor().content.text = "😀";
  editing.Stick();
  EXPECT_TRUE(files.files.empty());
  dialogs.duringAsk = [&] { Editor().content.text += "!"; };  // typed on: not what was agreed to
  editing.NewNote();
  Editor().content.text = "😀";
  editing.Stick();
  EXPECT_TRUE(files.files.empty() && editors.live && Editor().content.text == "😀!");
}

// The timer dialog stands in for the editor, at its place; its way out decides what the alarm row shows.
TEST_F(NoteEditingTest, TimerDialogOutcomeDecidesTheAlarm) {
  const notes::NoteAlarm before{"2027", "01", "02", "03", "04"};
  const notes::NoteAlarm chosen{"2030", "12", "31", "23", "59"};
  struct Case {
    NoteEditing::TimerOutcome outcome;
    notes::NoteAlarm alarm;
    std::optional<WindowPlace> moved = WindowPlace{300, 400};
  };
  for (const Case& c :
       {Case{NoteEditing::TimerOutcome::kCancel, before, std::nullopt}, Case{NoteEditing::TimerOutcome::kSet, chosen},
        Case{NoteEditing::TimerOutcome::kClear, {}}, Case{NoteEditing::TimerOutcome::kCancel, before}}) {
    editing.NewNote();
    Editor().content.alarm = before;
    Editor().movedTo = c.moved;
    editing.OpenTimerDialog();
    ASSERT_NE(editors.timerDialog, nullptr);
    EXPECT_TRUE(Editor().hidden);
    EXPECT_FALSE(board.EditorOpen());
    EXPECT_EQ(editors.timerDialog->alarm, before);
    EXPECT_EQ(editors.timerDialog->place, c.moved.value_or(WindowPlace{1200, 3000}));
    editors.timerDialog->alarm = chosen;
    editing.LeaveTimerDialog(c.outcome);
    EXPECT_EQ(editors.timerDialog, nullptr);
    EXPECT_FALSE(Editor().hidden);
    EXPECT_TRUE(board.EditorOpen());
    EXPECT_EQ(Editor().content.alarm, c.alarm);
    editing.Cancel();
    EXPECT_EQ(profile.Read("Fusen", "Top"), c.moved ? "300" : "1200");
  }
}

}  // namespace
}  // namespace vq::editor
