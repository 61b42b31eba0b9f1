#include <gtest/gtest.h>

#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeNoteFiles.h"
#include "fakes/FakeNoteView.h"
#include "notes/NoteBoard.h"

namespace vq::notes {
namespace {

using test::FakeNoteView;
using test::RecordText;
using test::SampleRecord;

class NoteBoardTest : public ::testing::Test {
 protected:
  void AddNote(int n, const std::string& text, std::vector<std::string> record = SampleRecord()) {
    files.files[NoteRecordFileName(n)] = RecordText(record);
    files.files[NoteTextFileName(n)] = text + "\r\n";
  }
  std::vector<std::string> Record(int n) { return ParseRecordText(files.files[NoteRecordFileName(n)]); }
  FakeNoteView& View(int position) { return static_cast<FakeNoteView&>(board.ViewAt(position)); }
  void PopupCommand(int position, MenuCommand command) {
    View(position).menuChoice = command;
    events.OnNotePress(View(position), MouseButton::kRight);
  }

  test::FakeNoteFiles files;
  test::FakeNoteViews views;
  test::FakeClock clock;
  test::FakeDialogs dialogs;
  test::BoardEvents events;
  NoteBoard board{files, views, events, clock, dialogs};
  NoteBoardTest() { events.board = &board; }
};

TEST_F(NoteBoardTest, RestoreShowsVisibleNotesInNumberOrderAndListsHiddenOnes) {
  AddNote(7, "seven");
  AddNote(2, "two");
  AddNote(3, "隠れた長いメモの本文", SampleRecord("False"));
  files.files["Vornquill5.hsn"] = RecordText(SampleRecord());  // its text file is missing
  // Leftovers of cut-off writes go; any other name stays.
  for (const char* name : {"Vornquill101.hsn.tmp", "Vornquill03.log.tmp", "Vornquill2.log.tmp.tmp", "a.tmp"})
    files.files[name] = "x";
  auto before = files.files;
  files.files["Vornquill2.hsn.tmp"] = files.files["Vornquill100.log.tmp"] = "cut off";
  board.RestoreNotes();

  ASSERT_EQ(board.Count(), 2);
  EXPECT_EQ(board.NumberAt(1), 2);
  EXPECT_EQ(board.NumberAt(2), 7);
  EXPECT_EQ(board.CurrentNote(), 2);
  EXPECT_EQ(View(1).note.text, "two");
  EXPECT_EQ(View(1).note.top, 2400);
  ASSERT_EQ(board.HiddenEntries().size(), 1u);
  EXPECT_EQ(board.HiddenEntries()[0].number, 3);
  EXPECT_EQ(board.HiddenEntries()[0].caption, "隠れた長いメモ(非表示タグ)");
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Vornquill5.logが見つかりません"});
  EXPECT_EQ(files.files, before);
  EXPECT_EQ(files.writes, 0);
}

TEST_F(NoteBoardTest, UnreadableFilesAreNamedAndLeftAlone) {
  files.files["Vornquill0.hsn"] = "";
  files.files["Vornquill0.log"] = "x\r\n";
  AddNote(1, "bad text");
  files.undecodable["Vornquill1.log"] = true;
  AddNote(2, "fine");
  AddNote(3, std::string("nul\0inside", 10));
  auto before = files.files;
  board.RestoreNotes();
  EXPECT_EQ(board.Count(), 1);
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Vornquill0.hsnを読み込めませんでした。",
                                                        "Vornquill1.logを読み込めませんでした。",
                                                        "Vornquill3.logを読み込めませんでした。"}));
  EXPECT_EQ(files.files, before);
}

TEST_F(NoteBoardTest, NoteWithAlarmCountsDownAndAnOverdueOneComesForward) {
  auto record = SampleRecord();
  record[9] = "2026";
  record[10] = "12";
  record[11] = "08";
  record[12] = "13";
  record[13] = "30";
  AddNote(0, "ahead", record);
  record[9] = "2001";
  AddNote(1, "past", record);
  board.RestoreNotes();
  EXPECT_EQ(View(1).countdown, (CountdownLine{"あと1日1時間30分", false}));
  EXPECT_EQ(View(1).calls, (std::vector<std::string>{"present", "timer"}));
  EXPECT_EQ(View(2).countdown, (CountdownLine{"予定時刻 2001/12/08 13：30を過ぎました。", true}));
  EXPECT_EQ(View(2).calls, (std::vector<std::string>{"present", "timer", "front"}));

  clock.now = {2026, 12, 8, 13, 30};
  board.OnCountdownTick(View(1));
  EXPECT_EQ(View(1).countdown, (CountdownLine{"時間です", true}));
  EXPECT_EQ(View(1).calls.back(), "front");
}

TEST_F(NoteBoardTest, AlarmRaiseKeepsAnAlwaysOnTopNoteFloating) {
  auto record = SampleRecord("True", "True");
  record[9] = "2001";
  AddNote(0, "due", record);
  board.RestoreNotes();
  View(1).calls.clear();
  board.OnCountdownTick(View(1));
  EXPECT_EQ(View(1).calls, (std::vector<std::string>{"countdown", "front", "topmost"}));
}

TEST_F(NoteBoardTest, EveryLeftClickSavesThePlaceMovedOrNot) {
  AddNote(4, "drag me");
  board.RestoreNotes();
  events.OnNotePress(View(1), MouseButton::kLeft);
  EXPECT_EQ(files.files["Vornquill4.hsn"], RecordText(SampleRecord()));
  EXPECT_EQ(files.writes, 1);

  View(1).dragTo = WindowPlace{1500, 3000};
  events.OnNotePress(View(1), MouseButton::kLeft);
  auto expected = SampleRecord();
  expected[7] = "1500";
  expected[8] = "3000";
  EXPECT_EQ(files.files["Vornquill4.hsn"], RecordText(expected));
}

TEST_F(NoteBoardTest, ClickOnAFourteenLineRecordWritesAllFifteen) {
  auto record = SampleRecord();
  record.pop_back();
  AddNote(0, "old", record);
  board.RestoreNotes();
  events.OnNotePress(View(1), MouseButton::kLeft);
  EXPECT_EQ(Record(0), SampleRecord());
}

TEST_F(NoteBoardTest, FailedSaveIsReportedAndTheFileKept) {
  AddNote(3, "locked");
  board.RestoreNotes();
  files.failWrites = true;
  View(1).dragTo = WindowPlace{1, 1};
  events.OnNotePress(View(1), MouseButton::kLeft);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].rfind("Vornquill3.hsnを保存できませんでした。", 0), 0u);
  EXPECT_EQ(dialogs.about, std::vector<const BoxOwner*>{&View(1)});
  EXPECT_EQ(files.files["Vornquill3.hsn"], RecordText(SampleRecord()));
}

TEST_F(NoteBoardTest, PressesDoNothingWhileTheEditorIsOpen) {
  AddNote(0, "a");
  AddNote(1, "b");
  board.RestoreNotes();
  board.SetEditorOpen(true);
  events.OnNotePress(View(1), MouseButton::kLeft);
  events.OnNotePress(View(1), MouseButton::kRight);
  EXPECT_EQ(board.CurrentNote(), 2);
  EXPECT_EQ(files.writes, 0);
  EXPECT_EQ(View(1).calls, std::vector<std::string>{"present"});
}

TEST_F(NoteBoardTest, RightPressChecksTheStackingStateAndOtherButtonsOnlySelect) {
  AddNote(0, "a", SampleRecord("True", "True"));
  AddNote(1, "b", SampleRecord("True", "0"));
  AddNote(2, "c", SampleRecord("True", "junk"));
  board.RestoreNotes();
  events.OnNotePress(View(1), MouseButton::kRight);
  EXPECT_EQ(View(1).shownMenu, BuildNoteMenu(true, false));
  events.OnNotePress(View(2), MouseButton::kRight);
  EXPECT_EQ(View(2).shownMenu, BuildNoteMenu(false, true));
  events.OnNotePress(View(3), MouseButton::kRight);
  EXPECT_EQ(View(3).shownMenu, BuildNoteMenu(false, false));
  events.OnNotePress(View(1), MouseButton::kOther);
  EXPECT_EQ(board.CurrentNote(), 1);
}

TEST_F(NoteBoardTest, StackingTogglesMoveBetweenTheThreeStates) {
  AddNote(0, "other on top", SampleRecord("True", "True"));
  auto record = SampleRecord();
  record.pop_back();  // a 14-line record
  AddNote(1, "toggled", record);
  board.RestoreNotes();
  auto layer = [&] { return Record(1).at(kLayerLine); };

  PopupCommand(2, MenuCommand::kNoteTopmost);
  EXPECT_EQ(layer(), "True");
  EXPECT_EQ(Record(1).size(), 15u);
  EXPECT_TRUE(View(2).topmost);

  View(1).calls.clear();
  PopupCommand(2, MenuCommand::kNoteBackmost);  // straight from on top to the desktop
  EXPECT_EQ(layer(), "0");
  EXPECT_FALSE(View(2).topmost);
  EXPECT_TRUE(View(2).attached);
  EXPECT_EQ(View(1).calls, std::vector<std::string>{"topmost"});  // the others stay on top

  PopupCommand(2, MenuCommand::kNoteTopmost);  // detaches first
  EXPECT_EQ(layer(), "True");
  EXPECT_FALSE(View(2).attached);
  EXPECT_TRUE(View(2).topmost);

  PopupCommand(2, MenuCommand::kNoteTopmost);
  EXPECT_EQ(layer(), "False");
  EXPECT_FALSE(View(2).topmost);

  PopupCommand(2, MenuCommand::kNoteBackmost);
  PopupCommand(2, MenuCommand::kNoteBackmost);
  EXPECT_EQ(layer(), "False");
  EXPECT_FALSE(View(2).attached);
}

TEST_F(NoteBoardTest, HideThenShowBringsTheNoteBackAsTheLastWindow) {
  auto record = SampleRecord("True", "True");
  record[9] = "2027";
  record[10] = "01";
  record[11] = "01";
  record[12] = "00";
  record[13] = "00";
  AddNote(0, "あいう", record);
  AddNote(1, "second");
  board.RestoreNotes();
  Note before = View(1).note;

  PopupCommand(1, MenuCommand::kNoteHide);
  EXPECT_EQ(board.Count(), 1);
  EXPECT_EQ(Record(0).at(kVisibleLine), "False");
  ASSERT_EQ(board.HiddenEntries().size(), 1u);
  EXPECT_EQ(board.HiddenEntries()[0].caption, "あいう(非表示タグ)");

  board.OnCommand(ShowHiddenNoteCommand(0));
  EXPECT_EQ(Record(0), record);
  EXPECT_TRUE(board.HiddenEntries().empty());
  ASSERT_EQ(board.Count(), 2);
  EXPECT_EQ(board.NumberAt(2), 0);
  EXPECT_EQ(board.CurrentNote(), 2);
  EXPECT_EQ(View(2).note, before);
  EXPECT_TRUE(View(2).topmost);
  EXPECT_EQ(View(2).countdown->caption, "あと24日12時間0分");
}

TEST_F(NoteBoardTest, HidingFailsVisiblyWhenTheRecordCannotBeWritten) {
  AddNote(0, "stay");
  board.RestoreNotes();
  files.failWrites = true;
  PopupCommand(1, MenuCommand::kNoteHide);
  EXPECT_EQ(board.Count(), 1);
  EXPECT_TRUE(board.HiddenEntries().empty());
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(NoteBoardTest, PeelOffAsksAndOnlyYesDeletes) {
  AddNote(0, "zero");
  AddNote(1, "one");
  AddNote(2, "two");
  board.RestoreNotes();
  dialogs.answerYes = false;
  PopupCommand(2, MenuCommand::kNotePeel);
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"このタグを消去しますか？"});
  EXPECT_EQ(dialogs.about, std::vector<const BoxOwner*>{&View(2)});
  EXPECT_EQ(board.Count(), 3);
  EXPECT_TRUE(files.Exists("Vornquill1.hsn"));

  dialogs.answerYes = true;
  PopupCommand(2, MenuCommand::kNotePeel);
  EXPECT_EQ(board.Count(), 2);
  EXPECT_FALSE(files.Exists("Vornquill1.hsn"));
  EXPECT_FALSE(files.Exists("Vornquill1.log"));
  // Positions close up behind the removed window.
  EXPECT_EQ(board.NumberAt(1), 0);
  EXPECT_EQ(board.NumberAt(2), 2);
  EXPECT_EQ(board.PositionOf(View(2)), 2);
  EXPECT_EQ(NoteStore(files).FindFreeNoteNumber(), 1);
}

// The submenu lists whole, sound notes only, newest first and ten at most; a peel pushes the
// oldest of them out for good. Whatever else lies in the folder is nobody's.
TEST_F(NoteBoardTest, PeeledNotesListTheNewestSoundOnesAndPushOutTheOldest) {
  const std::string record = RecordText(SampleRecord()), in = std::string(kPeeledFolder) + "\\";
  std::string expected;
  for (int seq = 12; seq >= 3; --seq) {
    std::string stem = in + std::to_string(seq) + "-202611" + std::to_string(seq + 10) + "0930";
    files.files[stem + ".hsn"] = record;
    files.files[stem + ".log"] = std::to_string(seq) + "\r\n";
    expected += std::to_string(seq) + "(2026/11/" + std::to_string(seq + 10) + ");";
  }
  // A record without its text, two stamps of one number, names we never give.
  for (const char* name : {"1-202611010930.hsn", "2-202611010930.hsn", "2-202611010930.log", "2-202611020930.hsn",
                           "2-202611020930.log", "013-202611010930.hsn", "013-202611010930.log", "メモ.txt"})
    files.files[in + name] = record;
  files.files[in + "13-202611010930.hsn"] = "";  // the newest pair, but a damaged record
  files.files[in + "13-202611010930.log"] = "x\r\n";
  auto listed = [&] {
    std::string all;
    for (const auto& entry : board.ListPeeledNotes()) all += entry.caption + ";";
    return all;
  };
  files.stuckStamps = true;  // what the program changes itself it lists again, on FAT too
  EXPECT_EQ(listed(), expected);

  AddNote(0, "新しくはがした付箋紙のメモ");
  board.RestoreNotes();
  auto after = files.files;
  for (std::string ext : {".hsn", ".log"}) {
    after[in + "14-202612071200" + ext] = after["Vornquill0" + ext];
    after.erase("Vornquill0" + ext);
    after.erase(in + "3-202611130930" + ext);
  }
  PopupCommand(1, MenuCommand::kNotePeel);
  EXPECT_EQ(listed(), "新しくはがした(2026/12/07);" + expected.substr(0, expected.rfind("3(")));
  EXPECT_EQ(files.files, after);

  // Brought back while a new note holds its old number: the next free one, the same bytes.
  ASSERT_TRUE(board.SaveNote(0, Note{}));
  board.OnCommand(RestorePeeledCommand(0));
  EXPECT_EQ(files.files["Vornquill1.hsn"], after[in + "14-202612071200.hsn"]);
  EXPECT_FALSE(files.Exists(in + "14-202612071200.log"));
  EXPECT_EQ(View(1).note.text, "新しくはがした付箋紙のメモ");

  // However many wait there, the menu reads the names and then only the notes it lists.
  files.stuckStamps = false;
  for (int seq = 100; seq < 120; ++seq) {
    files.files[in + std::to_string(seq) + "-202612010000.hsn"] = record;
    files.files[in + std::to_string(seq) + "-202612010000.log"] = "x\r\n";
  }
  files.reads = 0;
  EXPECT_EQ(board.ListPeeledNotes().size(), 10u);
  EXPECT_EQ(files.reads, 20);
}

// A peel numbers the note above the newest sound note, on no sequence that a file's name holds;
// nothing else steers it, and when the last sequence is taken the newest notes move down into a
// gap, in their order. A name the reader would not read back is never written.
TEST_F(NoteBoardTest, PeelNumbersAboveTheSoundNotesAndNeverRunsOut) {
  struct Row {
    std::vector<std::string> folder;  // a stem is a sound pair, "~" a damaged one, a name a lone file
    std::vector<std::string> after;   // the records' stems, in name order; none: the peel failed
    LocalTime now = {2026, 12, 7, 12, 0};
  };
  const Row rows[] = {
      {{"99999999-202601010000.log"}, {"1-202612071200"}},
      {{"5-202601010000", "6-202601010000.hsn"}, {"5-202601010000", "6-202601010000", "7-202612071200"}},
      {{"5-202601010000", "~9-202601010000"}, {"5-202601010000", "6-202612071200", "9-202601010000"}},
      {{"3-202601010000", "99999999-202601010000"}, {"3-202601010000", "4-202601010000", "5-202612071200"}},
      {{"3-202601010000", "4-202601010000", "5-202601010000.log", "99999999-202601010000"},
       {"3-202601010000", "4-202601010000", "6-202601010000", "7-202612071200"}},
      {{"99999998-202601010000", "99999999-202601010000"}, {"1-202601010000", "2-202601010000", "3-202612071200"}},
      {{}, {"1-999912312359"}, {10000, 1, 2, 3, 4}},
      {{}, {}, {2026, 13, 1, 0, 0}},
  };
  const std::string in = std::string(kPeeledFolder) + "\\";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.folder.empty() ? "empty" : row.folder.back());
    test::FakeNoteFiles f;
    f.files = {{NoteRecordFileName(0), RecordText(SampleRecord())}, {NoteTextFileName(0), "zero\r\n"}};
    for (const std::string& name : row.folder) {
      bool damaged = name[0] == '~', pair = name.find('.') == std::string::npos;
      f.files[in + name.substr(damaged) + (pair ? ".hsn" : "")] = damaged ? "" : RecordText(SampleRecord());
      if (pair) f.files[in + name.substr(damaged) + ".log"] = "x\r\n";
    }
    EXPECT_EQ(PeeledNotes(f).Peel(0, row.now).outcome == PeeledNotes::PeelResult::kPeeled, !row.after.empty());
    std::vector<std::string> records;
    for (const std::string& name : f.List(kPeeledFolder))
      if (name.ends_with(".hsn")) records.push_back(name.substr(0, name.size() - 4));
    EXPECT_EQ(records, row.after);
  }
}

// The drag and the peel question are modal: other events run while they are open, may make
// another note the current one, or take a note off the desktop before the one being handled.
TEST_F(NoteBoardTest, ModalCallsActOnTheNoteTheyStartedWith) {
  for (bool peel : {false, true}) {
    SCOPED_TRACE(peel ? "peel" : "drag");
    files.files.clear();
    NoteBoard b{files, views, events, clock, dialogs};
    events.board = &b;
    AddNote(0, "zero");
    AddNote(1, "one");
    AddNote(2, "two");
    b.RestoreNotes();
    auto& second = static_cast<FakeNoteView&>(b.ViewAt(2));
    auto& third = static_cast<FakeNoteView&>(b.ViewAt(3));
    auto hideFirst = [&] {
      static_cast<FakeNoteView&>(b.ViewAt(1)).menuChoice = MenuCommand::kNoteHide;
      events.OnNotePress(b.ViewAt(1), MouseButton::kRight);
    };
    if (peel) {
      // The third note becomes the current one while the question is open.
      dialogs.duringAsk = [&] { events.OnNotePress(third, MouseButton::kOther); };
      second.menuChoice = MenuCommand::kNotePeel;
      events.OnNotePress(second, MouseButton::kRight);
      EXPECT_FALSE(files.Exists("Vornquill1.hsn"));
      EXPECT_TRUE(files.Exists("Vornquill2.hsn"));
      ASSERT_EQ(b.Count(), 2);
      EXPECT_EQ(b.NumberAt(2), 2);
    } else {
      second.duringDrag = hideFirst;
      second.dragTo = WindowPlace{111, 222};
      events.OnNotePress(second, MouseButton::kLeft);
      auto moved = SampleRecord();
      moved[7] = "111";
      moved[8] = "222";
      EXPECT_EQ(Record(1), moved);
      EXPECT_EQ(Record(2), SampleRecord());
    }
    events.board = &board;
  }
}

// A note's files are written text first and deleted record first, so whatever fails, no
// record is ever left without its text, and a note that would come back stays on the desktop.
TEST_F(NoteBoardTest, FileFailuresNeverLeaveARecordWithoutItsText) {
  // A peel moves the files away, or, where it cannot (a read-only folder, a locked file, a
  // record that cannot come back), asks before deleting them for good; No keeps the note as it
  // is; a delete that reports success counts only once the file is gone. A restore copies the
  // text first and takes it back when the record cannot follow.
  enum Fault { kWrite, kDelete, kLyingDelete, kMove, kStranded, kStrandedStays, kRestore };
  struct Case {
    const char* failing;
    Fault fault;
    std::vector<std::string> log;
    bool noteStays;
    bool keep = false;  // No to deleting for good
  };
  const std::string away = "はがした付箋紙\\1-202612071200";
  const Case cases[] = {
      {"Vornquill3.log", kWrite, {"failed write Vornquill3.log"}, false},
      {"Vornquill3.hsn", kWrite, {"write Vornquill3.log", "failed write Vornquill3.hsn"}, false},
      {"Vornquill3.hsn", kDelete, {"failed delete Vornquill3.hsn"}, true},
      {"Vornquill3.log", kDelete, {"delete Vornquill3.hsn", "failed delete Vornquill3.log"}, false},
      {"Vornquill3.hsn", kLyingDelete, {"delete Vornquill3.hsn"}, true},
      {"", kDelete, {}, true, true},
      {"Vornquill3.hsn",
       kMove,
       {"failed move Vornquill3.hsn " + away + ".hsn", "delete Vornquill3.hsn", "delete Vornquill3.log"},
       false},
      {"Vornquill3.log",
       kMove,
       {"move Vornquill3.hsn " + away + ".hsn", "failed move Vornquill3.log " + away + ".log",
        "move " + away + ".hsn Vornquill3.hsn", "delete Vornquill3.hsn", "delete Vornquill3.log"},
       false},
      {"Vornquill3.log",
       kMove,
       {"move Vornquill3.hsn " + away + ".hsn", "failed move Vornquill3.log " + away + ".log",
        "move " + away + ".hsn Vornquill3.hsn"},
       true,
       true},
      {"Vornquill3.log",
       kStranded,
       {"move Vornquill3.hsn " + away + ".hsn", "failed move Vornquill3.log " + away + ".log",
        "failed move " + away + ".hsn Vornquill3.hsn", "delete " + away + ".hsn", "delete Vornquill3.log"},
       false},
      {"Vornquill3.log",
       kStranded,
       {"move Vornquill3.hsn " + away + ".hsn", "failed move Vornquill3.log " + away + ".log",
        "failed move " + away + ".hsn Vornquill3.hsn", "write Vornquill3.hsn", "delete " + away + ".hsn"},
       true,
       true},
      {"Vornquill3.log",
       kStrandedStays,
       {"move Vornquill3.hsn " + away + ".hsn", "failed move Vornquill3.log " + away + ".log",
        "failed move " + away + ".hsn Vornquill3.hsn", "failed delete " + away + ".hsn", "write Vornquill3.hsn"},
       true},
      {"Vornquill0.hsn",
       kRestore,
       {"write Vornquill0.log", "failed write Vornquill0.hsn", "delete Vornquill0.log"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.failing) + " " + std::to_string(c.fault) + (c.keep ? " kept" : ""));
    test::FakeNoteFiles f;
    test::FakeDialogs d;
    NoteBoard b{f, views, events, clock, d};
    events.board = &b;
    if (c.fault == kRestore) {
      f.files[PeeledNotes::RecordOf("5-202611010930")] = RecordText(SampleRecord());
      f.files[PeeledNotes::TextOf("5-202611010930")] = "peeled\r\n";
      auto before = f.files;
      ASSERT_EQ(b.ListPeeledNotes().size(), 1u);
      f.FailWriteNumber(2);
      b.OnCommand(RestorePeeledCommand(0));
      EXPECT_EQ(f.files, before);
      EXPECT_EQ(b.Count(), 0);
    } else if (c.fault != kWrite) {
      f.files["Vornquill3.hsn"] = RecordText(SampleRecord());
      f.files["Vornquill3.log"] = "three\r\n";
      auto before = f.files;
      b.RestoreNotes();
      const bool moves = c.fault >= kMove;
      f.failFolders = !moves;
      (moves ? f.failMovesOf : c.fault == kDelete ? f.failDeletesOf : f.lyingDeletesOf).insert(c.failing);
      if (c.fault >= kStranded) f.failMovesOf.insert(away + ".hsn");
      if (c.fault == kStrandedStays) f.failDeletesOf.insert(away + ".hsn");
      d.answers = {true, !c.keep};
      const BoxOwner* note = &b.ViewAt(1);
      static_cast<FakeNoteView&>(b.ViewAt(1)).menuChoice = MenuCommand::kNotePeel;
      events.OnNotePress(b.ViewAt(1), MouseButton::kRight);
      EXPECT_EQ(d.about, std::vector<const BoxOwner*>(d.about.size(), note));
      EXPECT_EQ(d.questions,
                (std::vector<std::string>{"このタグを消去しますか？",
                                          "はがした付箋紙に保存できません。この付箋紙を完全に削除しますか？"}));
      std::vector<std::string> told;
      if (!moves && !c.keep) told.push_back(std::string(c.failing) + "を削除できませんでした。");
      if (c.fault == kStrandedStays) told.push_back(away + ".hsnを削除できませんでした。");
      EXPECT_EQ(d.messages, told);
      EXPECT_EQ(b.Count(), c.noteStays ? 1 : 0);
      EXPECT_EQ(f.List(kPeeledFolder).empty(), c.fault != kStrandedStays);
      if (c.keep) {
        EXPECT_EQ(f.files, before);
      }
    } else {
      f.failWritesOf.insert(c.failing);
      Note note = NoteFromRecord(ParseRecordText(RecordText(SampleRecord())), "three");
      EXPECT_FALSE(b.SaveNote(3, note));
      EXPECT_FALSE(f.Exists("Vornquill3.hsn"));
    }
    EXPECT_EQ(f.log, c.log);
    events.board = &board;
  }
}

TEST_F(NoteBoardTest, ShowingAHiddenNoteWhoseFilesVanishedSaysSo) {
  AddNote(6, "gone", SampleRecord("False"));
  board.RestoreNotes();
  files.files.clear();
  board.OnCommand(ShowHiddenNoteCommand(6));
  EXPECT_EQ(board.Count(), 0);
  EXPECT_TRUE(board.HiddenEntries().empty());
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace vq::notes
