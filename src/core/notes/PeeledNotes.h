#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "notes/NoteStore.h"
#include "ports/Clock.h"

namespace vq::notes {

// Peeled notes wait in a folder beside the program until ten newer ones push them out. A
// peeled note keeps its two files as they were, renamed "<sequence>-<YYYYMMDDhhmm>.hsn" and
// ".log": the sequence orders them, so the order holds whatever the clock or a copy does to
// the files' times, and the stamp is when the note was peeled. Nothing else records them, so
// the notes' own files and the settings stay as they were. A file of any other name, a
// sequence that two stamps claim, a record without its text and files that do not read as a
// note are nobody's: never listed, never deleted, and they never steer the numbering; a new
// note only keeps off the sequences their names hold.
inline constexpr char kPeeledFolder[] = "はがした付箋紙";
inline constexpr int kMostPeeledNotes = 10;
inline constexpr long kLastPeelSequence = 99999999;

struct PeeledName {
  long sequence = 0;
  LocalTime peeled;
  std::string stem;  // "17-202612081030"
};
// A clock past the stamp's last minute (Windows goes to the year 30827) is written as that
// minute: a name the reader would not read back would be nobody's.
std::string PeeledStem(long sequence, const LocalTime& peeled);
std::optional<PeeledName> ParsePeeledName(std::string_view fileName);  // of a ".hsn" or ".log"

struct PeeledListing {
  std::vector<PeeledName> pairs;  // both files there and the sequence theirs alone; newest first
  std::set<long> claimed;         // the sequence of every file's name that reads as one
};
// From the names alone: nothing is read.
PeeledListing ReadPeeledListing(const std::vector<std::string>& fileNames);

class PeeledNotes {
 public:
  explicit PeeledNotes(NoteFiles& files) : files_(files), store_(files) {}

  struct SoundNote {
    std::string stem;
    long sequence = 0;
    LocalTime peeled;
    NoteStore::Loaded loaded;
  };
  // The newest peeled notes whose files read as a note, newest first, at most `most`: only
  // those are read, and the pairs between them. The names are listed again only when the
  // folder's stamp or this program changed them: thousands of names take a tenth of a second.
  std::vector<SoundNote> List(std::size_t most) const;
  NoteStore::Loaded Load(const std::string& stem) const { return store_.Load(RecordOf(stem), TextOf(stem)); }

  // Where a peel left note n's files.
  struct PeelResult {
    enum Outcome {
      kPeeled,   // both in the folder, one pair
      kNotKept,  // both where they were: the folder cannot be made, no name is left, a move failed
      kHalfWay,  // the record in the folder, its text where it was: the record could not come back
    } outcome = kNotKept;
    std::string strandedRecord;  // kHalfWay: the record's name now
  };
  // Moves note n's files into the folder, record first, under a sequence above every sound
  // note's. Where no sequence is left below kLastPeelSequence, the newest sound notes move down
  // into a gap first, in their order.
  [[nodiscard]] PeelResult Peel(int number, const LocalTime& now);
  // Deletes for good those sound notes that ten newer ones push out.
  void DropBeyondTheNewest();
  // Nothing when both files are gone, else the name of the first that could not be deleted.
  [[nodiscard]] std::optional<std::string> Remove(const std::string& stem) {
    return store_.DeletePair(RecordOf(stem), TextOf(stem));
  }

  static std::string RecordOf(const std::string& stem) { return std::string(kPeeledFolder) + "\\" + stem + ".hsn"; }
  static std::string TextOf(const std::string& stem) { return std::string(kPeeledFolder) + "\\" + stem + ".log"; }

 private:
  std::vector<std::string> Names() const { return files_.List(kPeeledFolder); }
  std::vector<SoundNote> Newest(const PeeledListing& listing, std::size_t most) const;
  std::optional<long> NextSequence();
  bool MoveWhole(const std::string& from, const std::string& to);
  bool MovePair(const std::string& fromStem, const std::string& toStem);

  NoteFiles& files_;
  NoteStore store_;
  mutable std::optional<std::uint64_t> listedStamp_;  // of the folder when `listed_` was read
  mutable PeeledListing listed_;
};

}  // namespace vq::notes
