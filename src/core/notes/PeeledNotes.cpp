#include "notes/PeeledNotes.h"

#include <algorithm>
#include "base/Digits.h"

namespace vq::notes {

std::string PeeledStem(long sequence, const LocalTime& peeled) {
  const LocalTime t = peeled.year > 9999 ? LocalTime{9999, 12, 31, 23, 59} : peeled;
  return std::to_string(sequence) + "-" + ZeroPadded(t.year, 4) + ZeroPadded(t.month, 2) + ZeroPadded(t.day, 2) +
         ZeroPadded(t.hour, 2) + ZeroPadded(t.minute, 2);
}

namespace {

// A decimal number of at most eight digits.
std::optional<long> Number(std::string_view text) {
  if (!AllDigits(text) || text.size() > 8) return std::nullopt;
  long value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

// The lowest sequence above `above` that no file's name holds.
std::optional<long> FreeAbove(const std::set<long>& claimed, long above) {
  for (long s = above + 1; s <= kLastPeelSequence; ++s)
    if (!claimed.contains(s)) return s;
  return std::nullopt;
}

}  // namespace

std::optional<PeeledName> ParsePeeledName(std::string_view name) {
  if (!name.ends_with(".hsn") && !name.ends_with(".log")) return std::nullopt;
  name.remove_suffix(4);
  auto dash = name.find('-');
  if (dash == std::string_view::npos || (name[0] == '0')) return std::nullopt;
  std::string_view stamp = name.substr(dash + 1);
  auto sequence = Number(name.substr(0, dash));
  if (!sequence || stamp.size() != 12 || !AllDigits(stamp)) return std::nullopt;
  auto part = [&](std::size_t at, std::size_t n) { return static_cast<int>(*Number(stamp.substr(at, n))); };
  LocalTime t{part(0, 4), part(4, 2), part(6, 2), part(8, 2), part(10, 2)};
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59) return std::nullopt;
  return PeeledName{*sequence, t, std::string(name)};
}

PeeledListing ReadPeeledListing(const std::vector<std::string>& fileNames) {
  struct Named {
    PeeledName name;
    bool record;
  };
  std::vector<Named> named;
  for (const auto& file : fileNames)
    if (auto name = ParsePeeledName(file)) named.push_back({std::move(*name), file.ends_with(".hsn")});
  std::ranges::sort(named, [](const Named& a, const Named& b) {
    if (a.name.sequence != b.name.sequence) return a.name.sequence > b.name.sequence;
    return a.name.stem < b.name.stem;
  });
  PeeledListing listing;
  for (std::size_t i = 0, end = 0; i < named.size(); i = end) {
    for (end = i; end < named.size() && named[end].name.sequence == named[i].name.sequence;) ++end;
    listing.claimed.insert(listing.claimed.begin(), named[i].name.sequence);
    // One stem, its record and its text, and nothing else of that sequence.
    if (end - i == 2 && named[i].name.stem == named[i + 1].name.stem && named[i].record != named[i + 1].record)
      listing.pairs.push_back(named[i].name);
  }
  return listing;
}

std::vector<PeeledNotes::SoundNote> PeeledNotes::Newest(const PeeledListing& listing, std::size_t most) const {
  std::vector<SoundNote> sound;
  for (const auto& name : listing.pairs) {
    if (sound.size() >= most) break;
    auto loaded = Load(name.stem);
    if (loaded.status == NoteStore::LoadStatus::kOk)
      sound.push_back({name.stem, name.sequence, name.peeled, std::move(loaded)});
  }
  return sound;
}

// Above the newest sound note. When that one holds the last sequence (planted there, or after
// a hundred million peels), the newest m sound notes move down, the oldest of them first, to
// the lowest free sequences above the next older one, for the least m whose gap takes them
// all: every step keeps the order, so a move that fails midway leaves them in it.
std::optional<long> PeeledNotes::NextSequence() {
  auto listing = ReadPeeledListing(Names());
  auto newest = Newest(listing, 1);
  if (auto free = FreeAbove(listing.claimed, newest.empty() ? 0 : newest[0].sequence)) return free;
  for (std::size_t m = 1;; ++m) {
    auto sound = Newest(listing, m + 1);
    if (sound.size() < m) return std::nullopt;
    const long below = sound.size() > m ? sound[m].sequence : 0;
    std::vector<long> targets;
    for (long s = below + 1; s < sound[m - 1].sequence && targets.size() < m; ++s)
      if (!listing.claimed.contains(s)) targets.push_back(s);
    if (targets.size() < m) continue;
    for (std::size_t i = 0; i < m; ++i) {
      const SoundNote& note = sound[m - 1 - i];
      if (!MovePair(note.stem, PeeledStem(targets[i], note.peeled))) return std::nullopt;
    }
    return FreeAbove(ReadPeeledListing(Names()).claimed, targets.back());
  }
}

std::vector<PeeledNotes::SoundNote> PeeledNotes::List(std::size_t most) const {
  auto stamp = files_.FolderStamp(kPeeledFolder);
  if (!stamp || stamp != listedStamp_) {
    listed_ = ReadPeeledListing(Names());
    listedStamp_ = stamp;
  }
  return Newest(listed_, most);
}

bool PeeledNotes::MoveWhole(const std::string& from, const std::string& to) {
  listedStamp_.reset();  // FAT keeps a folder's stamp whatever comes in (what goes no longer loads)
  return files_.Move(from, to) && store_.Gone(from) && files_.Exists(to);
}

bool PeeledNotes::MovePair(const std::string& fromStem, const std::string& toStem) {
  if (!MoveWhole(RecordOf(fromStem), RecordOf(toStem))) return false;
  if (MoveWhole(TextOf(fromStem), TextOf(toStem))) return true;
  (void)MoveWhole(RecordOf(toStem), RecordOf(fromStem));
  return false;
}

PeeledNotes::PeelResult PeeledNotes::Peel(int number, const LocalTime& now) {
  if (!files_.MakeFolder(kPeeledFolder)) return {};
  auto sequence = NextSequence();
  if (!sequence) return {};
  std::string stem = PeeledStem(*sequence, now);
  if (!ParsePeeledName(stem + ".hsn")) return {};  // a clock out of its senses: no month 13
  // The record first, as a deletion goes: the program folder never holds a record without its text.
  const std::string record = RecordOf(stem);
  if (!MoveWhole(NoteRecordFileName(number), record)) return {};
  if (MoveWhole(NoteTextFileName(number), TextOf(stem))) return {PeelResult::kPeeled, {}};
  if (MoveWhole(record, NoteRecordFileName(number))) return {};
  return {PeelResult::kHalfWay, record};
}

void PeeledNotes::DropBeyondTheNewest() {
  auto sound = Newest(ReadPeeledListing(Names()), static_cast<std::size_t>(-1));
  for (std::size_t i = kMostPeeledNotes; i < sound.size(); ++i) (void)Remove(sound[i].stem);
}

}  // namespace vq::notes
