#pragma once
#include <gtest/gtest.h>

#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeNoteFiles.h"
#include "fakes/FakeNoteView.h"
#include "notes/NoteBoard.h"

namespace vq::notes {

// Notes on a board over files in memory, each test starting from an empty folder.
class NoteBoardTest : public ::testing::Test {
 protected:
  void AddNote(int n, const std::string& text, std::vector<std::string> record = test::SampleRecord()) {
    files.files[NoteRecordFileName(n)] = test::RecordText(record);
    files.files[NoteTextFileName(n)] = text + "\r\n";
  }
  std::vector<std::string> Record(int n) { return ParseRecordText(files.files[NoteRecordFileName(n)]); }
  test::FakeNoteView& View(int position) { return static_cast<test::FakeNoteView&>(board.ViewAt(position)); }
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

}  // namespace vq::notes
