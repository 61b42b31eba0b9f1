#include <gtest/gtest.h>

#include "editor/NoteEditing.h"
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
using test::WithAlarm;

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
  auto record = WithAlarm(SampleRecord("True", "0"), {"2027", "01", "01", "00", "00"});
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
