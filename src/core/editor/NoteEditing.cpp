#include "editor/NoteEditing.h"

#include <utility>

#include "base/Utf8.h"
#include "config/Settings.h"
#include "editor/EditorMessages.h"
#include "notes/NoteDefaults.h"
#include "notes/NoteMessages.h"

namespace vq::editor {

NoteEditing::NoteEditing(Config& config, notes::NoteBoard& board, EditorViewFactory& views, Dialogs& dialogs)
    : config_(config), board_(board), views_(views), dialogs_(dialogs) {}

EditorPlacement NoteEditing::SavedPlacement() {
  savedPlace_ = ReadPlace(config_, keys::kNoteDefaults);
  EditorPlacement placement;
  placement.top = savedPlace_.top;
  placement.left = savedPlace_.left;
  return placement;
}

WindowPlace NoteEditing::Place() const {
  // A place the editor had to correct (off every screen) is not the user's choice: the saved
  // one stays until the user moves the editor.
  return view_->MovedTo().value_or(savedPlace_);
}

bool NoteEditing::RefuseSecondEdit() {
  if (!view_) return false;
  // Said over the edit that is open, which comes to the front with it.
  dialogs_.Message(kEditInProgressMessage, timerView_ ? static_cast<const BoxOwner*>(timerView_.get()) : view_.get());
  return true;
}

void NoteEditing::NewNote() {
  if (RefuseSecondEdit()) return;
  EditorContent content;
  notes::NoteDefaults defaults = notes::ReadNoteDefaults(config_);
  content.font.face = defaults.fontName;
  content.font.size = defaults.fontSize;
  content.backColor = defaults.backColor;
  content.foreColor = defaults.foreColor;
  EditorPlacement placement = SavedPlacement();
  number_ = kNewNoteNumber;
  view_ = views_.CreateEditorView(*this);
  board_.SetEditorOpen(true);
  view_->Show(content, placement);
}

void NoteEditing::EditCurrentNote() {
  if (RefuseSecondEdit()) return;
  auto taken = board_.TakeCurrentForEdit();
  if (!taken) return;
  EditorPlacement placement = SavedPlacement();
  // A large note gets a larger editor.
  if (taken->size.height > 2600) placement.height = taken->size.height + 1600;
  if (taken->size.width > 4300) placement.width = taken->size.width + 500;
  number_ = taken->number;
  original_ = taken->note;
  const notes::Note& n = taken->note;
  view_ = views_.CreateEditorView(*this);
  board_.SetEditorOpen(true);
  view_->Show({n.text, n.font, n.backColor, n.foreColor, n.alarm}, placement);
}

namespace {

// What the editor holds, as a note shown on the desktop; NumberAndPlace gives it its place and layer.
notes::Note NoteFromContent(const EditorContent& content) {
  notes::Note note;
  note.text = content.text;
  note.font = content.font;
  note.backColor = content.backColor;
  note.foreColor = content.foreColor;
  note.alarm = content.alarm;
  note.visible = true;
  return note;
}

}  // namespace

void NoteEditing::Stick() {
  if (!view_) return;
  std::optional<EditorContent> content = ContentToStick();
  if (!content) return;
  notes::Note note = NoteFromContent(*content);
  std::optional<int> number = NumberAndPlace(note);
  if (!number) return;
  // The typed text stays in the editor when the files cannot be written.
  if (!board_.SaveNote(*number, note)) {
    dialogs_.Message(notes::SaveFailedMessage(*number), view_.get());
    return;
  }
  board_.ShowNote(*number, note);
  number_ = kNewNoteNumber;
  Close();
}

std::optional<EditorContent> NoteEditing::ContentToStick() {
  EditorContent content = view_->Content();
  if (content.text.empty()) {
    dialogs_.Message(kNothingEnteredMessage, view_.get());
    return std::nullopt;
  }
  // A text its file could not give back at the next start stays in the editor.
  if (!board_.TextFits(content.text)) {
    dialogs_.Message(kTextTooLongMessage, view_.get());
    return std::nullopt;
  }
  if (!ReplaceUnstorable(content)) return std::nullopt;
  return content;
}

bool NoteEditing::ReplaceUnstorable(EditorContent& content) {
  // A character the code page lacks would come back as "?" or a look-alike: the user decides.
  auto lost = board_.UnstorableCharacters(content.text, content.font.face);
  if (lost.empty()) return true;
  if (!dialogs_.AskYesNo(UnstorableCharactersQuestion(lost), view_.get())) return false;
  // The editor may have been closed, or its text changed, while the question was open: what
  // the user agreed to is gone.
  if (!view_ || view_->Content() != content) return false;
  // The files would give back the code page's default character or a look-alike, which differ
  // from system to system, and one "?" for each half of a character beyond UTF-16's first
  // plane (an emoji): each becomes one "?" here, and the note shows what a restart reads.
  content.text = ReplaceCharacters(content.text, lost, "?");
  content.font.face = ReplaceCharacters(content.font.face, lost, "?");
  return true;
}

std::optional<int> NoteEditing::NumberAndPlace(notes::Note& note) {
  if (number_ != kNewNoteNumber) {
    note.top = original_.top;
    note.left = original_.left;
    note.layer = original_.layer;
    return number_;
  }
  auto free = board_.FindFreeNoteNumber();
  if (!free) {
    dialogs_.Message(notes::kAllNotesTakenMessage, view_.get());
    return std::nullopt;
  }
  WindowPlace place = Place();  // the note takes the editor's place
  note.top = place.top;
  note.left = place.left;
  note.layer = notes::NoteLayer::kNormal;
  return free;
}

void NoteEditing::Cancel() {
  if (!view_) return;
  if (number_ != kNewNoteNumber) board_.ShowNote(number_, original_);
  number_ = kNewNoteNumber;
  Close();
}

void NoteEditing::Close() {
  if (timerView_) std::exchange(timerView_, nullptr)->Close();
  WindowPlace place = Place();
  // A place that cannot be saved costs only the editor's next position.
  (void)WritePlace(config_, keys::kNoteDefaults, place);
  auto view = std::move(view_);
  board_.SetEditorOpen(false);
  view->Close();
}

void NoteEditing::OpenTimerDialog() {
  if (!view_ || timerView_) return;
  // Notes take the mouse again while the editor is out of sight.
  board_.SetEditorOpen(false);
  WindowPlace place = Place();
  notes::NoteAlarm alarm = view_->Content().alarm;
  view_->Hide();
  timerView_ = views_.CreateTimerDialogView(*this);
  timerView_->Open(alarm, place);
}

void NoteEditing::LeaveTimerDialog(TimerOutcome outcome) {
  if (!timerView_) return;
  auto dialog = std::move(timerView_);
  if (view_) {
    if (outcome == TimerOutcome::kSet) view_->SetAlarm(dialog->Alarm());
    if (outcome == TimerOutcome::kClear) view_->SetAlarm({});
  }
  dialog->Close();
  if (!view_) return;
  view_->ShowAgain();
  board_.SetEditorOpen(true);
}

}  // namespace vq::editor
