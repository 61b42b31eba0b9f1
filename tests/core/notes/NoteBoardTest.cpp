#include <gtest/gtest.h>

#include "core/notes/NoteBoardTest.h"

namespace vq::notes {
namespace {

using test::FakeNoteView;
using test::RecordText;
using test::SampleRecord;
using test::WithAlarm;

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
  auto record = WithAlarm(SampleRecord(), {"2026", "12", "08", "13", "30"});
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
  auto record = WithAlarm(SampleRecord("True", "True"), {"2027", "01", "01", "00", "00"});
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
