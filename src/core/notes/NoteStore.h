#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "notes/NoteRecord.h"
#include "ports/NoteFiles.h"

namespace vq::notes {

// A note's two files in the program folder: the record "Vornquill<n>.hsn" and the text
// "Vornquill<n>.log".
class NoteStore {
 public:
  explicit NoteStore(NoteFiles& files) : files_(files) {}

  enum class LoadStatus { kOk, kNoRecord, kBadRecord, kNoText, kBadText };
  struct Loaded {
    LoadStatus status = LoadStatus::kNoRecord;
    RecordLines lines;
    std::string text;
  };
  // The record, then the text; a failure names the first file that let us down.
  Loaded Load(int number) const { return Load(NoteRecordFileName(number), NoteTextFileName(number)); }
  Loaded Load(const std::string& recordName, const std::string& textName) const;
  std::optional<RecordLines> ReadRecord(int number) const;

  bool RecordExists(int number) const { return files_.Exists(NoteRecordFileName(number)); }
  // The lowest number that is not in use and has neither file (a text without its record is
  // what a crash between the two writes of a new note leaves, and it is still someone's
  // text), or nothing when all 101 are taken.
  std::optional<int> FindFreeNoteNumber(const std::set<int>& inUse = {}) const;

  // Whether a text fits its file: a larger one could be written but never read back.
  bool TextFits(std::string_view text) const {
    return files_.StoredSize(NoteTextFileContent(text)) <= NoteFiles::kLargestFile;
  }

  // The characters of a text and a font name that the files would not give back, each once.
  std::vector<std::string> UnstorableCharacters(std::string_view text, std::string_view fontName) const;

  [[nodiscard]] bool WriteRecord(int number, const RecordLines& lines);
  [[nodiscard]] bool WriteText(int number, std::string_view text);
  // Rewrites one line and keeps the others as they are; a 14-line record grows its stacking
  // line. False when the record could not be read or written.
  [[nodiscard]] bool SetRecordLine(int number, int line, std::string_view value);
  // The record, then the text: a note whose record could not be deleted keeps both files,
  // and a crash in between leaves a text without a record, never a record without its text.
  // Nothing when both are gone, else the name of the first file that could not be deleted.
  [[nodiscard]] std::optional<std::string> DeleteNoteFiles(int number) {
    return DeletePair(NoteRecordFileName(number), NoteTextFileName(number));
  }
  [[nodiscard]] std::optional<std::string> DeletePair(const std::string& recordName, const std::string& textName);
  [[nodiscard]] bool Delete(const std::string& name) { return files_.Delete(name) && Gone(name); }
  // A delete or a move counts only once the file is gone: under Wine a delete on a read-only
  // file system reports success (the unlink happens when the handle closes, and its error is
  // lost there).
  [[nodiscard]] bool Gone(const std::string& name) const { return !files_.Exists(name); }

  // Takes away the temporary files that writes cut off by a crash left beside the notes; a
  // file of any other name stays.
  void RemoveLeftoverTemporaries();

 private:
  NoteFiles& files_;
};

}  // namespace vq::notes
