#include "notes/NoteRecord.h"

#include <algorithm>
#include <cmath>

#include "config/Config.h"
#include "base/Utf8.h"

namespace vq::notes {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Calls f with every line; lines end in CR LF, LF or CR, and a final line end does not start
// another line. Stops when f returns false; false then.
template <typename F>
bool ForEachLine(std::string_view text, F f) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    if (!f(text.substr(start, i - start))) return false;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return start >= text.size() || f(text.substr(start));
}

// A quoted value is what stands between the first two quotes; an unquoted one runs to the
// first comma, without surrounding blanks.
std::string_view RecordValue(std::string_view line) {
  if (!line.empty() && line.front() == '"') {
    std::size_t close = line.find('"', 1);
    return line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  }
  return TrimBlanks(line.substr(0, line.find(',')));
}

bool IsControlCharacter(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

// Stricter than a window place in the settings (ParseTwipsText, which takes the number a text
// begins with): a record is this program's own file, always written in whole twips, so a line
// of any other form is damage, and the note falls back to a new note's place rather than to
// whatever number the line happens to begin with.
std::optional<long> ParseTwips(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

}  // namespace

std::string NoteRecordFileName(int number) { return "Vornquill" + std::to_string(number) + ".hsn"; }
std::string NoteTextFileName(int number) { return "Vornquill" + std::to_string(number) + ".log"; }

std::optional<int> NoteNumberOfFile(std::string_view name) {
  constexpr std::string_view prefix = "Vornquill";
  if (!name.starts_with(prefix)) return std::nullopt;
  name.remove_prefix(prefix.size());
  int number = 0, digits = 0;
  for (; digits < static_cast<int>(name.size()) && name[digits] >= '0' && name[digits] <= '9'; ++digits) {
    if (digits == 3) return std::nullopt;
    number = number * 10 + (name[digits] - '0');
  }
  if (digits == 0 || number > kLastNoteNumber) return std::nullopt;
  return number;
}

NoteLayer ParseLayer(std::string_view text) {
  if (text == kTrue) return NoteLayer::kTopmost;
  if (text == "0") return NoteLayer::kDesktop;
  return NoteLayer::kNormal;
}

std::string_view FormatLayer(NoteLayer layer) {
  switch (layer) {
    case NoteLayer::kTopmost:
      return kTrue;
    case NoteLayer::kDesktop:
      return "0";
    case NoteLayer::kNormal:
      break;
  }
  return kFalse;
}

RecordLines ParseRecordText(std::string_view fileText) {
  RecordLines values;
  ForEachLine(fileText, [&](std::string_view line) {
    values.emplace_back(RecordValue(line));
    return true;
  });
  return values;
}

bool IsWritableRecordValue(std::string_view value) {
  if (value.size() > kLongestRecordValue) return false;
  for (unsigned char c : value)
    if (c == '"' || IsControlCharacter(c)) return false;
  return true;
}

std::string WritableRecordValue(std::string_view value) {
  std::string out;
  for (unsigned char c : value)
    if (c != '"' && !IsControlCharacter(c)) out += static_cast<char>(c);
  if (out.size() > kLongestRecordValue) {
    // Cut at a character boundary: never in the middle of a UTF-8 sequence.
    std::size_t end = kLongestRecordValue;
    while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80) --end;
    out.resize(end);
  }
  return out;
}

std::string FormatRecordText(const RecordLines& lines) {
  std::string out;
  for (const auto& value : lines) out += "\"" + WritableRecordValue(value) + "\"\r\n";
  return out;
}

std::optional<RecordLines> ReadRecordText(std::string_view fileText) {
  for (unsigned char c : fileText)
    if (IsControlCharacter(c) && c != '\r' && c != '\n') return std::nullopt;
  RecordLines values;
  bool usable = ForEachLine(fileText, [&](std::string_view line) {
    if (values.size() == kMostRecordLines || line.size() > kLongestRecordLine) return false;
    std::string_view value = RecordValue(line);
    if (!IsWritableRecordValue(value)) return false;
    values.emplace_back(value);
    return true;
  });
  if (!usable || values.size() < static_cast<std::size_t>(kMinimumRecordLines)) return std::nullopt;
  return values;
}

std::string FormatFontSize(double points) {
  // Hundredths, bounded to what the reader takes: every size written reads back as itself.
  long hundredths = std::lround(std::clamp(points, kSmallestFontSize, kLargestFontSize) * 100);
  std::string text = std::to_string(hundredths / 100);
  if (long fraction = hundredths % 100) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10) text += static_cast<char>('0' + fraction % 10);
  }
  return text;
}

std::optional<double> ParseFontSize(std::string_view text) {
  text = TrimBlanks(text);
  // Decimal digits with at most one point, kept to hundredths (the third decimal rounds):
  // whole hundredths divided once are the same double the writer started from.
  long hundredths = 0;
  int decimals = -1;  // digits after the point so far; -1 before the point
  bool digits = false, roundUp = false;
  for (char c : text) {
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    digits = true;
    if (decimals >= 2) {
      if (decimals == 2) roundUp = c >= '5';
      ++decimals;
      continue;
    }
    hundredths = hundredths * 10 + (c - '0');
    if (decimals >= 0) ++decimals;
    if (hundredths > 100000000) return std::nullopt;
  }
  if (!digits) return std::nullopt;
  for (int d = std::max(decimals, 0); d < 2; ++d) hundredths *= 10;
  if (roundUp) ++hundredths;
  // Bounds in whole hundredths: no comparison of doubles that may carry excess precision.
  if (hundredths < std::lround(kSmallestFontSize * 100) || hundredths > std::lround(kLargestFontSize * 100))
    return std::nullopt;
  return hundredths / 100.0;
}

Note NoteFromRecord(const RecordLines& lines, std::string text) {
  auto line = [&](int k) -> std::string_view {
    return k < static_cast<int>(lines.size()) ? std::string_view(lines[k]) : std::string_view();
  };
  Note note;
  note.text = std::move(text);
  note.font.face = line(0);
  note.font.size = ParseFontSize(line(1)).value_or(9);
  note.font.bold = line(2) == kTrue;
  note.font.italic = line(3) == kTrue;
  note.backColor = ParseColour(line(4)).value_or(0xFFFFFF);
  note.foreColor = ParseColour(line(5)).value_or(0);
  // A note is hidden only when it says so: a garbled flag must not make a note disappear.
  note.visible = line(kVisibleLine) != kFalse;
  note.top = ParseTwips(line(7)).value_or(0);
  note.left = ParseTwips(line(8)).value_or(0);
  note.alarm = {std::string(line(9)), std::string(line(10)), std::string(line(11)), std::string(line(12)),
                std::string(line(13))};
  note.layer = ParseLayer(line(kLayerLine));
  return note;
}

RecordLines RecordFromNote(const Note& note) {
  auto flag = [](bool b) { return std::string(b ? kTrue : kFalse); };
  return {
      note.font.face,
      FormatFontSize(note.font.size),
      flag(note.font.bold),
      flag(note.font.italic),
      FormatColour(note.backColor),
      FormatColour(note.foreColor),
      flag(note.visible),
      std::to_string(note.top),
      std::to_string(note.left),
      note.alarm.year,
      note.alarm.month,
      note.alarm.day,
      note.alarm.hour,
      note.alarm.minute,
      std::string(FormatLayer(note.layer)),
  };
}

std::string NoteTextFileContent(std::string_view text) { return std::string(text) + "\r\n"; }

std::string NoteTextFromFile(std::string_view fileText) {
  if (fileText.ends_with("\r\n"))
    fileText.remove_suffix(2);
  else if (fileText.ends_with("\n"))
    fileText.remove_suffix(1);
  return std::string(fileText);
}

std::string NoteMenuStart(std::string_view text) {
  std::string start(FirstCharacters(text, 7));
  // A line break would break the menu item; show it as a space.
  for (char& c : start)
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  return start;
}

}  // namespace vq::notes
