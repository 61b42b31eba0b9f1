#pragma once
#include <string>

#include "ports/NoteFiles.h"

namespace vq::win {

// Files in the program folder, stored in the system ANSI code page. A write goes to a
// temporary file beside the target, is flushed, and then replaces the target, so a failure at
// any point leaves the old file as it was.
class WinNoteFiles : public NoteFiles {
 public:
  explicit WinNoteFiles(std::wstring folder) : folder_(std::move(folder)) {}  // ends in "\"

  bool Exists(std::string_view name) const override;
  ReadResult Read(std::string_view name) const override;
  std::size_t StoredSize(std::string_view text) const override;
  std::vector<std::string> UnstorableCharacters(std::string_view text) const override;
  bool Write(std::string_view name, std::string_view text) override;
  bool Delete(std::string_view name) override;
  std::vector<std::string> List(std::string_view folder) const override;
  std::optional<std::uint64_t> FolderStamp(std::string_view folder) const override;
  bool MakeFolder(std::string_view folder) override;
  bool Move(std::string_view from, std::string_view to) override;

 private:
  std::wstring Path(std::string_view name) const;
  std::wstring folder_;
};

// Antivirus and cloud-sync programs open a file for a moment just after it was written or
// renamed. An operation that meets such a hold (a sharing, lock or access violation) is tried
// again a few times within about a quarter of a second; any other failure is final at once.
// True when another try is due (after the pause before it), false when the last has been made.
bool WaitOutHold(int& tries);
template <typename Operation>
bool RetriedWhileHeld(Operation operation) {
  int tries = 0;
  while (!operation())
    if (!WaitOutHold(tries)) return false;
  return true;
}

// Writes text in the ANSI code page the way note files are written (the Startup shortcut too):
// through a temporary file beside the target, so that a failure leaves the old file as it was.
bool WriteAnsiFileSafely(const std::wstring& path, const std::string& utf8);

}  // namespace vq::win
