#include "notes/NoteBoard.h"

#include <algorithm>

#include "config/Config.h"
#include "notes/NoteMessages.h"
#include "base/Digits.h"

namespace vq::notes {

NoteBoard::NoteBoard(NoteFiles& files, NoteViewFactory& views, NoteEvents& events, Clock& clock, Dialogs& dialogs)
    : store_(files), peeled_(files), views_(views), events_(events), clock_(clock), dialogs_(dialogs) {}

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

std::vector<PeeledNoteEntry> NoteBoard::ListPeeledNotes() {
  std::vector<PeeledNoteEntry> out;
  listedPeeled_.clear();
  for (auto& sound : peeled_.List(kMostPeeledNotes)) {
    const LocalTime& t = sound.peeled;
    out.push_back({NoteMenuStart(sound.loaded.text) + "(" + ZeroPadded(t.year, 4) + "/" + ZeroPadded(t.month, 2) + "/" +
                   ZeroPadded(t.day, 2) + ")"});
    listedPeeled_.push_back(sound.stem);
  }
  return out;
}

void NoteBoard::RestoreNotes() {
  store_.RemoveLeftoverTemporaries();
  for (int n = kFirstNoteNumber; n <= kLastNoteNumber; ++n) {
    auto loaded = store_.Load(n);
    if (loaded.status == NoteStore::LoadStatus::kNoRecord) continue;
    if (loaded.status != NoteStore::LoadStatus::kOk) {
      dialogs_.Message(LoadFailureMessage(n, loaded.status));
      continue;
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
  entry.view = views_.CreateNoteView(events_);
  entries_.push_back(std::move(entry));
  current_ = Count();
  Entry& added = entries_.back();
  std::optional<Countdown> countdown;
  std::optional<CountdownLine> line;
  if (added.note.alarm.IsSet()) countdown = TimeCal(added.note.alarm, clock_.Now());
  if (countdown) {
    added.alarmCame = countdown->due;
    line = CountdownLine{countdown->caption, added.alarmCame};
  }
  added.view->Present(added.note, line);
  if (added.note.alarm.IsSet()) {
    added.view->StartCountdownTimer(kCountdownInterval);
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
  entry.alarmCame = entry.alarmCame || countdown->due;
  entry.view->UpdateCountdown({countdown->caption, entry.alarmCame});
  if (countdown->due) {
    entry.view->BringToFront();
    // The call for attention must not cost an always-on-top note its place above the rest.
    if (entry.note.layer == NoteLayer::kTopmost) entry.view->SetTopmost(true);
  }
}

std::optional<MenuCommand> NoteBoard::OnPress(NoteView& view, MouseButton button) {
  if (editorOpen_) return std::nullopt;
  int position = PositionOf(view);
  if (position == 0) return std::nullopt;
  current_ = position;
  Entry& entry = entries_[position - 1];
  if (button == MouseButton::kLeft) {
    view.DragMove();
    // The drag may have let other events run; find the note again.
    position = PositionOf(view);
    if (position > 0) SaveAfterClick(entries_[position - 1]);
  } else if (button == MouseButton::kRight) {
    return view.PopupMenu(
        BuildNoteMenu(entry.note.layer == NoteLayer::kTopmost, entry.note.layer == NoteLayer::kDesktop));
  }
  return std::nullopt;
}

WindowPlace NoteBoard::PlaceOf(const Entry& entry) const {
  return entry.view->MovedTo().value_or(WindowPlace{entry.note.top, entry.note.left});
}

void NoteBoard::SaveAfterClick(Entry& entry) {
  WindowPlace place = PlaceOf(entry);
  entry.note.top = place.top;
  entry.note.left = place.left;
  if (!store_.WriteRecord(entry.number, RecordFromNote(entry.note)))
    dialogs_.Message(SaveFailedMessage(entry.number), entry.view.get());
}

void NoteBoard::OnCommand(MenuCommand command) {
  int hiddenNumber = OffsetIn(command, MenuCommand::kShowHiddenNoteFirst, MenuCommand::kShowHiddenNoteLast);
  if (hiddenNumber >= 0) {
    ShowHidden(hiddenNumber);
    return;
  }
  int peeledPlace = OffsetIn(command, MenuCommand::kRestorePeeledFirst, MenuCommand::kRestorePeeledLast);
  if (peeledPlace >= 0) {
    RestorePeeled(peeledPlace);
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
    default:
      break;
  }
}

void NoteBoard::SetLayerLine(Entry& entry) {
  if (!store_.SetRecordLine(entry.number, kLayerLine, FormatLayer(entry.note.layer)))
    dialogs_.Message(SaveFailedMessage(entry.number), entry.view.get());
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
  WindowPlace place = PlaceOf(*entry);
  taken.note.top = place.top;
  taken.note.left = place.left;
  RemoveCurrentWindow();
  return taken;
}

std::optional<int> NoteBoard::FindFreeNoteNumber() const {
  std::set<int> inUse;
  for (const auto& entry : entries_) inUse.insert(entry.number);
  for (const auto& [number, caption] : hidden_) inUse.insert(number);
  return store_.FindFreeNoteNumber(inUse);
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
    dialogs_.Message(SaveFailedMessage(entry->number), entry->view.get());
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
    default:
      dialogs_.Message(LoadFailureMessage(number, loaded.status));
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
  if (!dialogs_.AskYesNo(kPeelQuestion, view)) return;
  // The question let other events run; act on the same note whatever happened meanwhile.
  current_ = PositionOf(*view);
  entry = Current();
  if (!entry) return;
  auto peel = peeled_.Peel(entry->number, clock_.Now());
  if (peel.outcome != PeeledNotes::PeelResult::kPeeled) {
    // The note cannot wait in the folder: whether it goes for good is the user's to say.
    bool deleteForGood = dialogs_.AskYesNo(kCannotKeepQuestion, view);
    current_ = PositionOf(*view);
    entry = Current();
    if (!entry) return;
    const bool halfWay = peel.outcome == PeeledNotes::PeelResult::kHalfWay;
    if (!deleteForGood) {
      if (halfWay) KeepHalfPeeled(*entry, peel.strandedRecord);
      return;
    }
    // The record first, wherever it is now: a note whose record cannot be deleted stays, and
    // gets its record beside its text again. A text left behind without its record is only litter.
    const std::string record = halfWay ? peel.strandedRecord : NoteRecordFileName(entry->number);
    if (auto undeleted = store_.DeletePair(record, NoteTextFileName(entry->number))) {
      dialogs_.Message(DeleteFailedMessage(*undeleted), view);
      if (*undeleted == record) {
        if (halfWay && !store_.WriteRecord(entry->number, RecordFromNote(entry->note)))
          dialogs_.Message(SaveFailedMessage(entry->number), view);
        return;
      }
    }
  } else {
    peeled_.DropBeyondTheNewest();
  }
  hidden_.erase(entry->number);
  RemoveCurrentWindow();
}

// The record went into the folder, its text could not follow and the record could not come
// back: the note stays whole where it was, its record written again from what the desktop shows.
void NoteBoard::KeepHalfPeeled(Entry& entry, const std::string& strandedRecord) {
  if (!store_.WriteRecord(entry.number, RecordFromNote(entry.note))) {
    dialogs_.Message(SaveFailedMessage(entry.number), entry.view.get());
    return;
  }
  if (!store_.Delete(strandedRecord)) dialogs_.Message(DeleteFailedMessage(strandedRecord), entry.view.get());
}

void NoteBoard::RestorePeeled(int place) {
  if (place >= static_cast<int>(listedPeeled_.size())) return;
  std::string stem = listedPeeled_[place];
  listedPeeled_.clear();
  auto loaded = peeled_.Load(stem);
  if (loaded.status != NoteStore::LoadStatus::kOk) {
    // Gone or changed since the menu listed it.
    dialogs_.Message(UnreadableFileMessage(PeeledNotes::RecordOf(stem)));
    return;
  }
  auto number = FindFreeNoteNumber();
  if (!number) {
    dialogs_.Message(kAllNotesTakenMessage);
    return;
  }
  // A copy, the text first, and only then is the peeled note let go: a failure anywhere
  // leaves it in the folder.
  loaded.lines[kVisibleLine] = kTrue;
  if (!store_.WriteText(*number, loaded.text)) {
    dialogs_.Message(SaveFailedMessage(*number));
    return;
  }
  if (!store_.WriteRecord(*number, loaded.lines)) {
    // The text alone would hold the number as someone's text.
    dialogs_.Message(SaveFailedMessage(*number));
    if (!store_.Delete(NoteTextFileName(*number))) dialogs_.Message(DeleteFailedMessage(NoteTextFileName(*number)));
    return;
  }
  if (auto undeleted = peeled_.Remove(stem)) dialogs_.Message(DeleteFailedMessage(*undeleted));
  ShowNote(*number, NoteFromRecord(loaded.lines, std::move(loaded.text)));
}

}  // namespace vq::notes
