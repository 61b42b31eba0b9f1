#pragma once
#include <optional>
#include <string>

#include "notes/NoteRecord.h"
#include "ports/NoteFiles.h"

namespace vq {

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
  Loaded Load(int number) const;
  std::optional<RecordLines> ReadRecord(int number) const;

  bool RecordExists(int number) const { return files_.Exists(NoteRecordFileName(number)); }
  // The lowest number without a record file, or nothing when all 101 are taken.
  std::optional<int> FindFreeNoteNumber() const;

  bool WriteRecord(int number, const RecordLines& lines);
  bool WriteText(int number, std::string_view text);
  // Rewrites one line and keeps the others as they are; a 14-line record grows its stacking
  // line. False when the record could not be read or written.
  bool SetRecordLine(int number, int line, std::string_view value);
  // Both files; one already missing is skipped.
  void DeleteNoteFiles(int number);

 private:
  NoteFiles& files_;
};

// The messages of note file failures.
std::string MissingTextMessage(int number);
std::string UnreadableFileMessage(const std::string& fileName);
std::string SaveFailedMessage(int number);
extern const char kAllNotesTakenMessage[];

}  // namespace vq
