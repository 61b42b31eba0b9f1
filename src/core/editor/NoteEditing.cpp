#include "editor/NoteEditing.h"

#include <cmath>
#include <cstdlib>

namespace vq {

namespace {

constexpr char kEditInProgress[] = "他のタグを編集中です。";
constexpr char kNothingEntered[] = "入力されていません";

// Positions are stored as decimal text; anything else counts as 0.
long ParsePosition(const std::string& text) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(value) || std::fabs(value) > 1e7) return 0;
  return static_cast<long>(std::lround(value));
}

}  // namespace

NoteEditing::NoteEditing(Config& config, NoteBoard& board, EditorViewFactory& views, Dialogs& dialogs)
    : config_(config), board_(board), views_(views), dialogs_(dialogs) {}

EditorPlacement NoteEditing::SavedPlacement() const {
  EditorPlacement placement;
  placement.top = ParsePosition(config_.ReadOption(keys::kNoteDefaults, keys::kTop));
  placement.left = ParsePosition(config_.ReadOption(keys::kNoteDefaults, keys::kLeft));
  return placement;
}

bool NoteEditing::RefuseSecondEdit() {
  if (!view_) return false;
  dialogs_.Message(kEditInProgress);
  return true;
}

void NoteEditing::NewNote() {
  if (RefuseSecondEdit()) return;
  EditorContent content;
  content.font.face = config_.ReadOption(keys::kNoteDefaults, keys::kFontName);
  content.font.size = ParseFontSize(config_.ReadOption(keys::kNoteDefaults, keys::kFontSize)).value_or(9);
  content.backColor = ParseColour(config_.ReadOption(keys::kNoteDefaults, keys::kBackColor)).value_or(0xFFFFFF);
  content.foreColor = ParseColour(config_.ReadOption(keys::kNoteDefaults, keys::kForeColor)).value_or(0);
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
  const Note& n = taken->note;
  view_ = views_.CreateEditorView(*this);
  board_.SetEditorOpen(true);
  view_->Show({n.text, n.font, n.backColor, n.foreColor, n.alarm}, placement);
}

void NoteEditing::Stick() {
  if (!view_) return;
  EditorContent content = view_->Content();
  if (content.text.empty()) {
    dialogs_.Message(kNothingEntered);
    return;
  }
  Note note;
  note.text = content.text;
  note.font = content.font;
  note.backColor = content.backColor;
  note.foreColor = content.foreColor;
  note.alarm = content.alarm;
  note.visible = true;
  int number = number_;
  if (number == kNewNoteNumber) {
    auto free = board_.FindFreeNoteNumber();
    if (!free) {
      dialogs_.Message(kAllNotesTakenMessage);
      return;
    }
    number = *free;
    NotePlace place = view_->Place();  // the note takes the editor's place
    note.top = place.top;
    note.left = place.left;
    note.layer = NoteLayer::kNormal;
  } else {
    note.top = original_.top;
    note.left = original_.left;
    note.layer = original_.layer;
  }
  // The typed text stays in the editor when the files cannot be written.
  if (!board_.SaveNote(number, note)) {
    dialogs_.Message(SaveFailedMessage(number));
    return;
  }
  board_.ShowNote(number, note);
  number_ = kNewNoteNumber;
  Close();
}

void NoteEditing::Cancel() {
  if (!view_) return;
  if (number_ != kNewNoteNumber) board_.ShowNote(number_, original_);
  number_ = kNewNoteNumber;
  Close();
}

void NoteEditing::Close() {
  NotePlace place = view_->Place();
  config_.WriteOption(keys::kNoteDefaults, keys::kTop, std::to_string(place.top));
  config_.WriteOption(keys::kNoteDefaults, keys::kLeft, std::to_string(place.left));
  auto view = std::move(view_);
  board_.SetEditorOpen(false);
  view->Close();
}

void NoteEditing::SetEditorHidden(bool hidden) { board_.SetEditorOpen(view_ && !hidden); }

}  // namespace vq
