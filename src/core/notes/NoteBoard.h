#pragma once
#include <chrono>
#include <map>
#include <memory>
#include <vector>

#include "notes/Countdown.h"
#include "notes/NoteMenu.h"
#include "notes/NoteStore.h"
#include "notes/NoteView.h"
#include "notes/PeeledNotes.h"
#include "ports/Clock.h"
#include "ports/Dialogs.h"

namespace vq::notes {

// The notes on the desktop: the ordered list of note windows (positions count from 1), the one
// the user touched last, the hidden notes of the tray menu, and the commands on them. Every
// change is written to the note's files at once.
class NoteBoard {
 public:
  // A note with an alarm refreshes its countdown line this often.
  static constexpr std::chrono::milliseconds kCountdownInterval{30000};

  // Views report their presses and ticks to events, which hands them back to the board.
  NoteBoard(NoteFiles& files, NoteViewFactory& views, NoteEvents& events, Clock& clock, Dialogs& dialogs);

  // Rebuilds every note from its files, in ascending order of numbers, once the temporary
  // files of writes a crash cut off are gone.
  void RestoreNotes();

  // A left press drags the note and saves its place; a right press pops up the note's menu
  // and returns the command chosen there, for the caller to carry out (editing is not the
  // board's business).
  std::optional<MenuCommand> OnPress(NoteView& view, MouseButton button);
  void OnCountdownTick(NoteView& view);
  // Note popup commands act on the current note; hidden-note entries show their note.
  void OnCommand(MenuCommand command);

  // While the editor is open, notes ignore the mouse.
  void SetEditorOpen(bool open) { editorOpen_ = open; }
  bool EditorOpen() const { return editorOpen_; }

  std::vector<HiddenNoteEntry> HiddenEntries() const;
  // The newest peeled notes, as the folder holds them now; a restore command picks from this
  // list, so a note peeled while the menu is open cannot shift what the user chose.
  std::vector<PeeledNoteEntry> ListPeeledNotes();
  // Thousands of names in the peeled notes' folder take a tenth of a second to list: done once
  // the notes are on the desktop, the menu then lists them again only when they changed.
  void ReadPeeledNames() { (void)peeled_.List(0); }
  int Count() const { return static_cast<int>(entries_.size()); }
  // 1-based; 0 before any note was created or pressed.
  int CurrentNote() const { return current_; }
  int NumberAt(int position) const { return entries_.at(position - 1).number; }
  const Note& NoteAt(int position) const { return entries_.at(position - 1).note; }
  NoteView& ViewAt(int position) const { return *entries_.at(position - 1).view; }
  int PositionOf(const NoteView& view) const;

  // Puts a note on the desktop as the last window, which becomes the current one.
  void ShowNote(int number, const Note& note);

  // The current note, as it is now, taken off the desktop for editing; its files stay.
  struct TakenNote {
    int number = 0;
    Note note;
    WindowSize size;
  };
  std::optional<TakenNote> TakeCurrentForEdit();
  // A number for a new note: none that a note on the desktop or in the tray menu holds, even
  // when its files have gone meanwhile, and none with a file.
  std::optional<int> FindFreeNoteNumber() const;
  bool TextFits(std::string_view text) const { return store_.TextFits(text); }
  std::vector<std::string> UnstorableCharacters(std::string_view text, std::string_view fontName) const {
    return store_.UnstorableCharacters(text, fontName);
  }
  // Writes both files of a note, the text first; false when either could not be written.
  [[nodiscard]] bool SaveNote(int number, const Note& note);

 private:
  struct Entry {
    int number = 0;
    Note note;
    std::unique_ptr<NoteView> view;
    bool alarmCame = false;  // the countdown line stays red from then on
  };

  Entry* Current();
  void RemoveCurrentWindow();
  void ApplyLayer(Entry& entry);
  void RaiseTopmostNotes();
  void SetLayerLine(Entry& entry);
  void ToggleTopmost();
  void ToggleDesktop();
  void HideCurrent();
  void ShowHidden(int number);
  void PeelCurrent();
  void KeepHalfPeeled(Entry& entry, const std::string& strandedRecord);
  void RestorePeeled(int place);
  void SaveAfterClick(Entry& entry);
  void RefreshCountdown(Entry& entry);
  // Where the note stands now: the saved twips until the user moves it.
  WindowPlace PlaceOf(const Entry& entry) const;

  NoteStore store_;
  PeeledNotes peeled_;
  std::vector<std::string> listedPeeled_;  // stems, as the menu last listed them
  NoteViewFactory& views_;
  NoteEvents& events_;
  Clock& clock_;
  Dialogs& dialogs_;
  std::vector<Entry> entries_;
  int current_ = 0;
  std::map<int, std::string> hidden_;  // note number to menu caption
  bool editorOpen_ = false;
};

}  // namespace vq::notes
