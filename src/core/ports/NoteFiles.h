#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// Files in the program folder, as text. The adapter converts between UTF-8 and the system
// ANSI code page and never leaves a half-written file behind.
class NoteFiles {
 public:
  enum class ReadStatus { kOk, kMissing, kUnreadable, kUndecodable };
  struct ReadResult {
    ReadStatus status = ReadStatus::kMissing;
    std::string text;  // UTF-8, line ends as stored
  };

  // No file larger than this is read (it would not be a note's), and none is written.
  static constexpr std::size_t kLargestFile = 4 * 1024 * 1024;
  // A write goes to the file's name plus this first; a crash can leave it behind.
  static constexpr char kTemporarySuffix[] = ".tmp";

  virtual ~NoteFiles() = default;
  virtual bool Exists(std::string_view name) const = 0;
  virtual ReadResult Read(std::string_view name) const = 0;
  // The size in bytes a text takes in a file, in the file's own encoding.
  virtual std::size_t StoredSize(std::string_view text) const = 0;
  // The characters of `text` that would come back from a file as something else (a look-alike
  // included), each once, as they stand in `text`, in the order they first appear there.
  virtual std::vector<std::string> UnstorableCharacters(std::string_view text) const = 0;
  // Replaces the file as a whole: on failure (a text larger than kLargestFile included) the old
  // file is intact and false comes back.
  virtual bool Write(std::string_view name, std::string_view text) = 0;
  // A missing file counts as deleted.
  virtual bool Delete(std::string_view name) = 0;

  // Names may lie in a folder of the program folder: "folder\name".
  // The files (not folders) in such a folder, by name alone; "" is the program folder itself.
  virtual std::vector<std::string> List(std::string_view folder) const = 0;
  // Changes whenever the folder's files change (the folder's last write); nothing when that
  // cannot be told. Some file systems (FAT) never change it.
  virtual std::optional<std::uint64_t> FolderStamp(std::string_view folder) const = 0;
  // True when the folder is there afterwards.
  virtual bool MakeFolder(std::string_view folder) = 0;
  // Renames a file, never over another one.
  virtual bool Move(std::string_view from, std::string_view to) = 0;
};

}  // namespace vq
