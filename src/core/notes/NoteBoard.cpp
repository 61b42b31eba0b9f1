#include "notes/NoteBoard.h"

#include <algorithm>

#include "config/Config.h"

namespace vq {

namespace {
constexpr char kPeelQuestion[] = "このタグを消去しますか？";
}

NoteBoard::NoteBoard(NoteFiles& files, NoteViewFactory& views, Clock& clock, Dialogs& dialogs)
    : store_(files), views_(views), clock_(clock), dialogs_(dialogs) {}

int NoteBoard::PositionOf(const NoteView& view) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].view.get() == &view) return static_cast<int>(i) + 1;
  return 0;
}

NoteBoard::Entry* NoteBoard::Current() {
  if (current_ < 1 || current_ > Count()) return nullptr;
  return &entries_[current_ - 1];
}

std::vector<HiddenNoteEntry> NoteBoard::HiddenEntries() const {
  std::vector<HiddenNoteEntry> out;
  for (const auto& [number, caption] : hidden_) out.push_back({number, caption});
  return out;
}

void NoteBoard::RestoreNotes() {
  for (int n = kFirstNoteNumber; n <= kLastNoteNumber; ++n) {
    auto loaded = store_.Load(n);
    switch (loaded.status) {
      case NoteStore::LoadStatus::kNoRecord:
        continue;
      case NoteStore::LoadStatus::kBadRecord:
        dialogs_.Message(UnreadableFileMessage(NoteRecordFileName(n)));
        continue;
      case NoteStore::LoadStatus::kNoText:
        dialogs_.Message(MissingTextMessage(n));
        continue;
      case NoteStore::LoadStatus::kBadText:
        dialogs_.Message(UnreadableFileMessage(NoteTextFileName(n)));
        continue;
      case NoteStore::LoadStatus::kOk:
        break;
    }
    Note note = NoteFromRecord(loaded.lines, std::move(loaded.text));
    // A hidden note needs no window until it is shown again, only its tray-menu entry.
    if (!note.visible)
      hidden_[n] = HiddenNoteCaption(note.text);
    else
      ShowNote(n, note);
  }
}

void NoteBoard::ShowNote(int number, const Note& note) {
  Entry entry;
  entry.number = number;
  entry.note = note;
  entry.note.visible = true;
  entry.view = views_.CreateNoteView(*this);
  entries_.push_back(std::move(entry));
  current_ = Count();
  Entry& added = entries_.back();
  std::optional<Countdown> countdown;
  if (added.note.alarm.IsSet()) countdown = TimeCal(added.note.alarm, clock_.Now());
  added.view->Present(added.note, countdown);
  if (added.note.alarm.IsSet()) {
    added.view->StartCountdownTimer();
    if (countdown && countdown->due) added.view->BringToFront();
  }
  ApplyLayer(added);
}

void NoteBoard::ApplyLayer(Entry& entry) {
  switch (entry.note.layer) {
    case NoteLayer::kTopmost:
      entry.view->SetTopmost(true);
      break;
    case NoteLayer::kDesktop:
      entry.view->SetAttachedToDesktop(true);
      break;
    case NoteLayer::kNormal:
      break;
  }
}

void NoteBoard::RaiseTopmostNotes() {
  for (auto& entry : entries_)
    if (entry.note.layer == NoteLayer::kTopmost) entry.view->SetTopmost(true);
}

void NoteBoard::OnCountdownTick(NoteView& view) {
  int position = PositionOf(view);
  if (position > 0) RefreshCountdown(entries_[position - 1]);
}

void NoteBoard::RefreshCountdown(Entry& entry) {
  if (!entry.note.alarm.IsSet()) return;
  auto countdown = TimeCal(entry.note.alarm, clock_.Now());
  if (!countdown) return;
  entry.view->UpdateCountdown(*countdown);
  if (countdown->due) {
    entry.view->BringToFront();
    // The call for attention must not cost an always-on-top note its place above the rest.
    if (entry.note.layer == NoteLayer::kTopmost) entry.view->SetTopmost(true);
  }
}

void NoteBoard::OnPress(NoteView& view, MouseButton button) {
  if (editorOpen_) return;
  int position = PositionOf(view);
  if (position == 0) return;
  current_ = position;
  Entry& entry = entries_[position - 1];
  if (button == MouseButton::kLeft) {
    view.DragMove();
    // The drag may have let other events run; find the note again.
    position = PositionOf(view);
    if (position > 0) SaveAfterClick(entries_[position - 1]);
  } else if (button == MouseButton::kRight) {
    auto chosen =
        view.PopupMenu(BuildNoteMenu(entry.note.layer == NoteLayer::kTopmost, entry.note.layer == NoteLayer::kDesktop));
    if (chosen) OnCommand(*chosen);
  }
}

void NoteBoard::SaveAfterClick(Entry& entry) {
  NotePlace place = entry.view->Place();
  entry.note.top = place.top;
  entry.note.left = place.left;
  if (!store_.WriteRecord(entry.number, RecordFromNote(entry.note))) dialogs_.Message(SaveFailedMessage(entry.number));
}

void NoteBoard::OnCommand(MenuCommand command) {
  int hiddenNumber = OffsetIn(command, MenuCommand::kShowHiddenNoteFirst, MenuCommand::kShowHiddenNoteLast);
  if (hiddenNumber >= 0) {
    ShowHidden(hiddenNumber);
    return;
  }
  switch (command) {
    case MenuCommand::kNoteTopmost:
      ToggleTopmost();
      break;
    case MenuCommand::kNoteBackmost:
      ToggleDesktop();
      break;
    case MenuCommand::kNoteHide:
      HideCurrent();
      break;
    case MenuCommand::kNotePeel:
      PeelCurrent();
      break;
    case MenuCommand::kNoteEdit:
      if (onEdit_) onEdit_();
      break;
    default:
      break;
  }
}

void NoteBoard::SetLayerLine(Entry& entry) {
  if (!store_.SetRecordLine(entry.number, kLayerLine, FormatLayer(entry.note.layer)))
    dialogs_.Message(SaveFailedMessage(entry.number));
}

void NoteBoard::ToggleTopmost() {
  Entry* entry = Current();
  if (!entry) return;
  if (entry->note.layer != NoteLayer::kTopmost) {
    if (entry->note.layer == NoteLayer::kDesktop) entry->view->SetAttachedToDesktop(false);
    entry->note.layer = NoteLayer::kTopmost;
    entry->view->SetTopmost(true);
    SetLayerLine(*entry);
  } else {
    entry->note.layer = NoteLayer::kNormal;
    entry->view->SetTopmost(false);
    SetLayerLine(*entry);
    RaiseTopmostNotes();
  }
}

void NoteBoard::ToggleDesktop() {
  Entry* entry = Current();
  if (!entry) return;
  if (entry->note.layer != NoteLayer::kDesktop) {
    if (entry->note.layer == NoteLayer::kTopmost) entry->view->SetTopmost(false);
    entry->note.layer = NoteLayer::kDesktop;
    entry->view->SetAttachedToDesktop(true);
    SetLayerLine(*entry);
    RaiseTopmostNotes();
  } else {
    entry->note.layer = NoteLayer::kNormal;
    entry->view->SetAttachedToDesktop(false);
    SetLayerLine(*entry);
  }
}

std::optional<NoteBoard::TakenNote> NoteBoard::TakeCurrentForEdit() {
  Entry* entry = Current();
  if (!entry) return std::nullopt;
  TakenNote taken{entry->number, entry->note, entry->view->Size()};
  NotePlace place = entry->view->Place();
  taken.note.top = place.top;
  taken.note.left = place.left;
  RemoveCurrentWindow();
  return taken;
}

bool NoteBoard::SaveNote(int number, const Note& note) {
  // The text first: a record never points at a text that is not there yet.
  return store_.WriteText(number, note.text) && store_.WriteRecord(number, RecordFromNote(note));
}

void NoteBoard::RemoveCurrentWindow() {
  if (!Current()) return;
  entries_.erase(entries_.begin() + (current_ - 1));
}

void NoteBoard::HideCurrent() {
  Entry* entry = Current();
  if (!entry) return;
  if (!store_.SetRecordLine(entry->number, kVisibleLine, kFalse)) {
    // Hiding a note whose file still says "shown" would bring it back at the next start.
    dialogs_.Message(SaveFailedMessage(entry->number));
    return;
  }
  hidden_[entry->number] = HiddenNoteCaption(entry->note.text);
  RemoveCurrentWindow();
}

void NoteBoard::ShowHidden(int number) {
  if (!hidden_.contains(number)) return;
  auto loaded = store_.Load(number);
  switch (loaded.status) {
    case NoteStore::LoadStatus::kOk:
      break;
    case NoteStore::LoadStatus::kNoRecord:
      // The files went away while the note was hidden: nothing is left to show.
      hidden_.erase(number);
      dialogs_.Message(UnreadableFileMessage(NoteRecordFileName(number)));
      return;
    case NoteStore::LoadStatus::kBadRecord:
      dialogs_.Message(UnreadableFileMessage(NoteRecordFileName(number)));
      return;
    case NoteStore::LoadStatus::kNoText:
      dialogs_.Message(MissingTextMessage(number));
      return;
    case NoteStore::LoadStatus::kBadText:
      dialogs_.Message(UnreadableFileMessage(NoteTextFileName(number)));
      return;
  }
  if (!store_.SetRecordLine(number, kVisibleLine, kTrue)) dialogs_.Message(SaveFailedMessage(number));
  loaded.lines[kVisibleLine] = kTrue;
  hidden_.erase(number);
  ShowNote(number, NoteFromRecord(loaded.lines, std::move(loaded.text)));
}

void NoteBoard::PeelCurrent() {
  Entry* entry = Current();
  if (!entry) return;
  NoteView* view = entry->view.get();
  if (!dialogs_.AskYesNo(kPeelQuestion)) return;
  // The question let other events run; act on the same note whatever happened meanwhile.
  current_ = PositionOf(*view);
  entry = Current();
  if (!entry) return;
  store_.DeleteNoteFiles(entry->number);
  hidden_.erase(entry->number);
  RemoveCurrentWindow();
}

}  // namespace vq
