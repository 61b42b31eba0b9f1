#include "notes/NoteRecord.h"

#include <cmath>
#include <cstdio>

#include "config/Config.h"
#include "base/Utf8.h"

namespace vq {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Lines end in CR LF, LF or CR; a final line end does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

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
  for (std::string_view line : SplitLines(fileText)) {
    if (!line.empty() && line.front() == '"') {
      std::size_t close = line.find('"', 1);
      values.emplace_back(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    } else {
      values.emplace_back(TrimBlanks(line.substr(0, line.find(','))));
    }
  }
  return values;
}

std::string FormatRecordText(const RecordLines& lines) {
  std::string out;
  for (const auto& value : lines) out += "\"" + value + "\"\r\n";
  return out;
}

bool IsUsableRecord(std::string_view fileText, const RecordLines& lines) {
  if (lines.size() < static_cast<std::size_t>(kMinimumRecordLines)) return false;
  for (std::string_view line : SplitLines(fileText))
    if (line.size() > kLongestRecordLine) return false;
  for (unsigned char c : fileText)
    if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) return false;
  return true;
}

std::string FormatFontSize(double points) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", std::round(points * 100) / 100);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

std::optional<double> ParseFontSize(std::string_view text) {
  text = TrimBlanks(text);
  double value = 0, scale = 0;
  bool digits = false;
  for (char c : text) {
    if (c == '.' && scale == 0) {
      scale = 1;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (scale == 0) {
        value = value * 10 + (c - '0');
      } else {
        scale /= 10;
        value += (c - '0') * scale;
      }
      if (value > 1638) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!digits || value <= 0) return std::nullopt;
  return value;
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

std::string HiddenNoteCaption(std::string_view text) {
  std::string start(FirstCharacters(text, 7));
  // A line break would break the menu item; show it as a space.
  for (char& c : start)
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  return start + "(非表示タグ)";
}

}  // namespace vq
