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
  bool MakeFolder(std::string_view folder) override;
  bool Move(std::string_view from, std::string_view to) override;

 private:
  std::wstring Path(std::string_view name) const;
  std::wstring folder_;
};

// Writes text in the ANSI code page the way note files are written (the Startup shortcut too):
// through a temporary file beside the target, so that a failure leaves the old file as it was.
bool WriteAnsiFileSafely(const std::wstring& path, const std::string& utf8);

}  // namespace vq::win
