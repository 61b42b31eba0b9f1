#include "notes/PeeledNotes.h"

#include <algorithm>
#include <map>
#include <set>
#include "base/Digits.h"

namespace vq::notes {

std::string PeeledStem(long sequence, const LocalTime& t) {
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
  std::map<long, std::map<std::string, std::set<std::string>>> bySequence;  // stem to its extensions
  std::map<std::string, PeeledName> parsed;
  for (const auto& file : fileNames) {
    auto name = ParsePeeledName(file);
    if (!name) continue;
    bySequence[name->sequence][name->stem].insert(file.substr(file.size() - 4));
    parsed.emplace(name->stem, *name);
  }
  PeeledListing listing;
  long last = bySequence.empty() ? 0 : bySequence.rbegin()->first;
  if (last < kLastPeelSequence) listing.next = last + 1;
  for (auto it = bySequence.rbegin(); it != bySequence.rend(); ++it) {
    const auto& stems = it->second;
    if (stems.size() == 1 && stems.begin()->second.size() == 2)
      listing.pairs.push_back(parsed.at(stems.begin()->first));
  }
  return listing;
}

std::vector<PeeledNotes::Sound> PeeledNotes::List() const {
  std::vector<Sound> sound;
  for (auto& name : ReadPeeledListing(files_.List(kPeeledFolder)).pairs) {
    auto loaded = Load(name.stem);
    if (loaded.status == NoteStore::LoadStatus::kOk) sound.push_back({name.stem, name.peeled, std::move(loaded)});
  }
  return sound;
}

bool PeeledNotes::MoveWhole(const std::string& from, const std::string& to) {
  return files_.Move(from, to) && store_.Gone(from) && files_.Exists(to);
}

bool PeeledNotes::Peel(int number, const LocalTime& now) {
  if (!files_.MakeFolder(kPeeledFolder)) return false;
  auto next = ReadPeeledListing(files_.List(kPeeledFolder)).next;
  if (!next) return false;
  std::string stem = PeeledStem(*next, now);
  // The record first, as a deletion goes: the program folder never holds a record without its text.
  if (!MoveWhole(NoteRecordFileName(number), RecordOf(stem))) return false;
  if (MoveWhole(NoteTextFileName(number), TextOf(stem))) return true;
  (void)MoveWhole(RecordOf(stem), NoteRecordFileName(number));
  return false;
}

void PeeledNotes::DropBeyondTheNewest() {
  auto sound = List();
  for (std::size_t i = kMostPeeledNotes; i < sound.size(); ++i) (void)Remove(sound[i].stem);
}

}  // namespace vq::notes
