#include "notes/NoteStore.h"

#include <algorithm>

namespace vq::notes {

std::optional<RecordLines> NoteStore::ReadRecord(int number) const {
  auto file = files_.Read(NoteRecordFileName(number));
  if (file.status != NoteFiles::ReadStatus::kOk) return std::nullopt;
  return ReadRecordText(file.text);
}

NoteStore::Loaded NoteStore::Load(const std::string& recordName, const std::string& textName) const {
  Loaded loaded;
  auto record = files_.Read(recordName);
  if (record.status == NoteFiles::ReadStatus::kMissing) return loaded;
  auto lines = record.status == NoteFiles::ReadStatus::kOk ? ReadRecordText(record.text) : std::nullopt;
  if (!lines) {
    loaded.status = LoadStatus::kBadRecord;
    return loaded;
  }
  loaded.lines = std::move(*lines);
  auto text = files_.Read(textName);
  if (text.status == NoteFiles::ReadStatus::kMissing) {
    loaded.status = LoadStatus::kNoText;
  } else if (text.status != NoteFiles::ReadStatus::kOk || text.text.find('\0') != std::string::npos) {
    loaded.status = LoadStatus::kBadText;
  } else {
    loaded.status = LoadStatus::kOk;
    loaded.text = NoteTextFromFile(text.text);
  }
  return loaded;
}

std::vector<std::string> NoteStore::UnstorableCharacters(std::string_view text, std::string_view fontName) const {
  std::vector<std::string> lost = files_.UnstorableCharacters(text);
  for (std::string& c : files_.UnstorableCharacters(fontName))
    if (std::ranges::find(lost, c) == lost.end()) lost.push_back(std::move(c));
  return lost;
}

std::optional<int> NoteStore::FindFreeNoteNumber(const std::set<int>& inUse) const {
  for (int n = kFirstNoteNumber; n <= kLastNoteNumber; ++n)
    if (!inUse.contains(n) && !RecordExists(n) && !files_.Exists(NoteTextFileName(n))) return n;
  return std::nullopt;
}

bool NoteStore::WriteRecord(int number, const RecordLines& lines) {
  return files_.Write(NoteRecordFileName(number), FormatRecordText(lines));
}

bool NoteStore::WriteText(int number, std::string_view text) {
  return files_.Write(NoteTextFileName(number), NoteTextFileContent(text));
}

bool NoteStore::SetRecordLine(int number, int line, std::string_view value) {
  auto lines = ReadRecord(number);
  if (!lines) return false;
  if (line == kLayerLine && lines->size() == static_cast<std::size_t>(kMinimumRecordLines)) lines->emplace_back();
  if (line >= static_cast<int>(lines->size())) return false;
  (*lines)[line] = value;
  return WriteRecord(number, *lines);
}

std::optional<std::string> NoteStore::DeletePair(const std::string& recordName, const std::string& textName) {
  for (const std::string& name : {recordName, textName})
    if (!Delete(name)) return name;
  return std::nullopt;
}

void NoteStore::RemoveLeftoverTemporaries() {
  constexpr std::string_view suffix = NoteFiles::kTemporarySuffix;
  for (const std::string& name : files_.List("")) {
    if (!name.ends_with(suffix)) continue;
    std::string_view target(name.data(), name.size() - suffix.size());
    auto number = NoteNumberOfFile(target);
    if (number && (target == NoteRecordFileName(*number) || target == NoteTextFileName(*number)))
      (void)files_.Delete(name);
  }
}

}  // namespace vq::notes
