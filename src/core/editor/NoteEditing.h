#pragma once
#include <memory>
#include <optional>

#include "config/Config.h"
#include "notes/NoteBoard.h"
#include "editor/EditorView.h"
#include "ports/Dialogs.h"

namespace vq::editor {

inline constexpr int kNewNoteNumber = 1000;  // the editor holds a new note, or nothing

// One edit at a time: a new note, or a note taken off the desktop until it is stuck again or
// the edit is cancelled. The edit keeps its own copy of the note as it was, so whatever
// happens to other notes meanwhile, Cancel puts it back unchanged.
class NoteEditing {
 public:
  NoteEditing(Config& config, notes::NoteBoard& board, EditorViewFactory& views, Dialogs& dialogs);

  void NewNote();
  void EditCurrentNote();
  // The editor's "貼り付け".
  void Stick();
  // The editor's Cancel, its close box, and every other way of closing it.
  void Cancel();
  // The editor's "タイマー設定": the dialog stands in for the editor until one of its three
  // ways out.
  void OpenTimerDialog();
  enum class TimerOutcome { kSet, kClear, kCancel };
  void LeaveTimerDialog(TimerOutcome outcome);
  bool TimerDialogOpen() const { return timerView_ != nullptr; }

  bool InProgress() const { return view_ != nullptr; }
  int EditingNoteNumber() const { return view_ ? number_ : kNewNoteNumber; }

 private:
  bool RefuseSecondEdit();
  // The steps of Stick. The editor's content as the note's files keep it; nothing when it stays
  // in the editor (refused with a message, or not agreed to).
  std::optional<EditorContent> ContentToStick();
  // Characters the note's files cannot hold become "?" once the user agrees; false when they
  // did not, or when the edit they agreed to is gone.
  bool ReplaceUnstorable(EditorContent& content);
  // A new note takes the lowest free number and the editor's place, an edited one its own
  // number, place and layer; nothing when no number is free (said).
  std::optional<int> NumberAndPlace(notes::Note& note);
  // Reads the editor's saved place and keeps it for Place().
  EditorPlacement SavedPlacement();
  WindowPlace Place() const;
  void Close();

  Config& config_;
  notes::NoteBoard& board_;
  EditorViewFactory& views_;
  Dialogs& dialogs_;
  std::unique_ptr<EditorView> view_;
  std::unique_ptr<TimerDialogView> timerView_;
  int number_ = kNewNoteNumber;
  notes::Note original_;    // the edited note as it was
  WindowPlace savedPlace_;  // where the editor opened, as read from the settings
};

}  // namespace vq::editor
