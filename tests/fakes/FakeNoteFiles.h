#pragma once
#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ports/NoteFiles.h"

namespace vq::test {

// The program folder in memory. Writes, deletes and moves fail as on a read-only folder or a
// full disk: all of them, those of chosen files, or only the Nth write from now. A failed write
// leaves the old content, as the real adapter does; a delete of `lyingDeletesOf` reports
// success and keeps the file, as Wine does on a read-only file system. `log` lists what
// happened, in order.
class FakeNoteFiles : public NoteFiles {
 public:
  bool Exists(std::string_view name) const override { return files.contains(std::string(name)); }
  ReadResult Read(std::string_view name) const override {
    ++reads;
    auto it = files.find(std::string(name));
    if (it == files.end()) return {ReadStatus::kMissing, ""};
    if (undecodable.contains(it->first)) return {ReadStatus::kUndecodable, ""};
    return {ReadStatus::kOk, it->second};
  }
  // Stored as UTF-8, as given.
  std::size_t StoredSize(std::string_view text) const override { return text.size(); }
  // Code page 932 in outline: ASCII and the three-byte characters up to U+9FFF and from U+F000
  // (symbols, kana, kanji, full- and half-width forms) come back; the rest does not.
  std::vector<std::string> UnstorableCharacters(std::string_view text) const override {
    std::vector<std::string> lost;
    for (size_t i = 0, n = 1; i < text.size(); i += n) {
      const auto lead = static_cast<unsigned char>(text[i]);
      n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
      std::string c(text.substr(i, n));
      if (n > 1 && !(n == 3 && (lead <= 0xE9 || lead == 0xEF)) && std::ranges::find(lost, c) == lost.end())
        lost.push_back(c);
    }
    return lost;
  }
  bool Write(std::string_view name, std::string_view text) override {
    ++writes;
    std::string file(name);
    bool fail = failWrites || failWritesOf.contains(file) || (failWriteNumber > 0 && --failWriteNumber == 0) ||
                text.size() > kLargestFile;
    log.push_back((fail ? "failed write " : "write ") + file);
    if (fail) return false;
    files[file] = std::string(text);
    return true;
  }
  bool Delete(std::string_view name) override {
    std::string file(name);
    if (failDeletesOf.contains(file)) {
      log.push_back("failed delete " + file);
      return false;
    }
    log.push_back("delete " + file);
    if (!lyingDeletesOf.contains(file)) files.erase(file);
    return true;
  }
  std::vector<std::string> List(std::string_view folder) const override {
    std::vector<std::string> names;
    std::string prefix = folder.empty() ? "" : std::string(folder) + "\\";
    for (const auto& [name, text] : files)
      if (name.starts_with(prefix) && name.find('\\', prefix.size()) == std::string::npos)
        names.push_back(name.substr(prefix.size()));
    return names;
  }
  // The names in the folder, as a file system's last-write time follows them; one value for
  // ever with `stuckStamps`, as on FAT.
  std::optional<std::uint64_t> FolderStamp(std::string_view folder) const override {
    std::string names;
    for (const std::string& name : List(folder)) names += name + "/";
    return stuckStamps ? 0 : std::hash<std::string>{}(names);
  }
  bool MakeFolder(std::string_view) override { return !failFolders; }
  bool Move(std::string_view from, std::string_view to) override {
    std::string source(from), target(to);
    bool fail = failMovesOf.contains(source) || !files.contains(source) || files.contains(target);
    log.push_back((fail ? "failed move " : "move ") + source + " " + target);
    if (fail) return false;
    files[target] = files[source];
    files.erase(source);
    return true;
  }
  // The Nth write from now fails (1 = the next one); the others succeed.
  void FailWriteNumber(int n) { failWriteNumber = n; }

  std::map<std::string, std::string> files;
  std::map<std::string, bool> undecodable;
  bool failWrites = false, failFolders = false, stuckStamps = false;
  std::set<std::string> failWritesOf, failDeletesOf, lyingDeletesOf, failMovesOf;
  int failWriteNumber = 0;
  int writes = 0;
  mutable int reads = 0;
  std::vector<std::string> log;
};

// A record file's text from its values.
inline std::string RecordText(const std::vector<std::string>& values) {
  std::string text;
  for (const auto& v : values) text += "\"" + v + "\"\r\n";
  return text;
}

inline std::vector<std::string> SampleRecord(const std::string& visible = "True", const std::string& layer = "False") {
  return {
      "ＭＳ Ｐゴシック", "9", "False", "False", "&HFFFFFF", "&H0", visible, "2400", "6000", "", "", "", "", "", layer};
}

// The record with an alarm: year, month, day, hour and minute, as its lines 10 to 14 hold them.
inline std::vector<std::string> WithAlarm(std::vector<std::string> record, const std::array<std::string, 5>& alarm) {
  std::copy(alarm.begin(), alarm.end(), record.begin() + 9);
  return record;
}

}  // namespace vq::test
