#pragma once
#include <optional>
#include <string>
#include <vector>

#include "notes/NoteStore.h"
#include "ports/Clock.h"

namespace vq::notes {

// Peeled notes wait in a folder beside the program until ten newer ones push them out. A
// peeled note keeps its two files as they were, renamed "<sequence>-<YYYYMMDDhhmm>.hsn" and
// ".log": the sequence only grows, so the order holds whatever the clock or a copy does to
// the files' times, and the stamp is when the note was peeled. Nothing else records them, so
// the notes' own files and the settings stay as they were. A file of any other name, a
// sequence that two stamps claim, a record without its text and files that do not read as a
// note are nobody's: never listed, never deleted.
inline constexpr char kPeeledFolder[] = "はがした付箋紙";
inline constexpr int kMostPeeledNotes = 10;
inline constexpr long kLastPeelSequence = 99999999;

struct PeeledName {
  long sequence = 0;
  LocalTime peeled;
  std::string stem;  // "17-202612081030"
};
std::string PeeledStem(long sequence, const LocalTime& peeled);
std::optional<PeeledName> ParsePeeledName(std::string_view fileName);  // of a ".hsn" or ".log"

struct PeeledListing {
  std::vector<PeeledName> pairs;  // both files there and the sequence theirs alone; newest first
  std::optional<long> next;       // above every sequence in the folder; none when they ran out
};
PeeledListing ReadPeeledListing(const std::vector<std::string>& fileNames);

class PeeledNotes {
 public:
  explicit PeeledNotes(NoteFiles& files) : files_(files), store_(files) {}

  struct Sound {
    std::string stem;
    LocalTime peeled;
    NoteStore::Loaded loaded;
  };
  // Every peeled note whose files read as a note, newest first.
  std::vector<Sound> List() const;
  NoteStore::Loaded Load(const std::string& stem) const { return store_.Load(RecordOf(stem), TextOf(stem)); }

  // Moves note n's files into the folder, record first. False when the folder cannot be made
  // or a file cannot be moved; then the note's files are where they were (a record that went
  // ahead is moved back).
  [[nodiscard]] bool Peel(int number, const LocalTime& now);
  // Deletes for good those sound notes that ten newer ones push out.
  void DropBeyondTheNewest();
  // Nothing when both files are gone, else the name of the first that could not be deleted.
  [[nodiscard]] std::optional<std::string> Remove(const std::string& stem) {
    return store_.DeletePair(RecordOf(stem), TextOf(stem));
  }

  static std::string RecordOf(const std::string& stem) { return std::string(kPeeledFolder) + "\\" + stem + ".hsn"; }
  static std::string TextOf(const std::string& stem) { return std::string(kPeeledFolder) + "\\" + stem + ".log"; }

 private:
  bool MoveWhole(const std::string& from, const std::string& to);

  NoteFiles& files_;
  NoteStore store_;
};

}  // namespace vq::notes
