#include <gtest/gtest.h>

#include "core/notes/NoteBoardTest.h"

namespace vq::notes {
namespace {

using test::RecordText;
using test::SampleRecord;

// The peeled notes as the board lists, peels and restores them.
class PeeledNotesTest : public NoteBoardTest {};

// The submenu lists whole, sound notes only, newest first and ten at most; a peel pushes the
// oldest of them out for good. Whatever else lies in the folder is nobody's.
TEST_F(PeeledNotesTest, PeeledNotesListTheNewestSoundOnesAndPushOutTheOldest) {
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
TEST_F(PeeledNotesTest, PeelNumbersAboveTheSoundNotesAndNeverRunsOut) {
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

}  // namespace
}  // namespace vq::notes
