#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/NoteFont.h"

namespace vq::notes {

inline constexpr int kFirstNoteNumber = 0;
inline constexpr int kLastNoteNumber = 100;

std::string NoteRecordFileName(int number);  // "Vornquill7.hsn"
std::string NoteTextFileName(int number);    // "Vornquill7.log"
// The number a note file's name starts with ("Vornquill7.hsn" → 7), if it names one of 0..100.
std::optional<int> NoteNumberOfFile(std::string_view name);

// Stacking state of a note window, stored in record line 14.
enum class NoteLayer { kNormal, kTopmost, kDesktop };
NoteLayer ParseLayer(std::string_view text);    // "True", "0", anything else is normal
std::string_view FormatLayer(NoteLayer layer);  // "True", "0", "False"

// The alarm exactly as stored: four-digit year and two-digit fields, or all empty.
struct NoteAlarm {
  std::string year, month, day, hour, minute;
  bool IsSet() const { return !year.empty(); }
  bool operator==(const NoteAlarm&) const = default;
};

// One note as its window shows it.
struct Note {
  std::string text;
  NoteFont font;
  std::uint32_t backColor = 0xFFFFFF;
  std::uint32_t foreColor = 0;
  bool visible = true;
  long top = 0;  // twips
  long left = 0;
  NoteAlarm alarm;
  NoteLayer layer = NoteLayer::kNormal;
  bool operator==(const Note&) const = default;
};

inline constexpr int kRecordLines = 15;
inline constexpr int kMinimumRecordLines = 14;  // older records have no stacking line
inline constexpr int kVisibleLine = 6;
inline constexpr int kLayerLine = 14;
inline constexpr std::size_t kLongestRecordLine = 1024;
inline constexpr std::size_t kLongestRecordValue = kLongestRecordLine - 2;  // and its two quotes
// Lines after the fifteenth are kept as they are, up to this many lines in all.
inline constexpr std::size_t kMostRecordLines = 64;

using RecordLines = std::vector<std::string>;

// Splits a record file into its values, one per line: a quoted value is what stands between
// the first two quotes; an unquoted one runs to the first comma, without surrounding blanks.
RecordLines ParseRecordText(std::string_view fileText);
// The record's values, or nothing for a file that is not one: too few lines or far too many,
// a line too long, a control character that no text file holds, or a value that could not be
// written back as it was read (a quote inside, or too long to fit a line with its quotes).
std::optional<RecordLines> ReadRecordText(std::string_view fileText);
// Every value is written in quotes on a line of its own. A value that a record cannot hold
// loses its quotes and control characters and is cut to fit, so that it reads back as written.
std::string FormatRecordText(const RecordLines& lines);
bool IsWritableRecordValue(std::string_view value);
std::string WritableRecordValue(std::string_view value);

// Values of the wrong form fall back to what a new note would have.
Note NoteFromRecord(const RecordLines& lines, std::string text);
RecordLines RecordFromNote(const Note& note);

// Font sizes are written in decimal with a point, to hundredths, without trailing zeros ("9",
// "10.5"). The reader takes the same range and precision, so a size written reads back as the
// same number and is written again as the same text.
inline constexpr double kSmallestFontSize = 0.01;
inline constexpr double kLargestFontSize = 1638;  // the font dialog's own limit
std::string FormatFontSize(double points);
std::optional<double> ParseFontSize(std::string_view text);

// The note text file holds the text and one CR LF; reading drops exactly that one.
std::string NoteTextFileContent(std::string_view text);
std::string NoteTextFromFile(std::string_view fileText);

// The start of a note in a menu: its first 7 characters, line breaks as spaces.
std::string NoteMenuStart(std::string_view text);
// The tray-menu entry of a hidden note: its start and "(非表示タグ)".
inline std::string HiddenNoteCaption(std::string_view text) { return NoteMenuStart(text) + "(非表示タグ)"; }

}  // namespace vq::notes
