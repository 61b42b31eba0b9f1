#pragma once
#include <string>
#include <vector>

#include "Driver.h"

namespace e2e {

inline const std::wstring kNoteClass = L"Vornquill2.Note";

// A record's values, line by line, as a note would have them.
struct RecordValues {
  std::vector<std::string> values = {"ＭＳ Ｐゴシック",
                                     "12",
                                     "False",
                                     "False",
                                     "&H80FFFF",
                                     "&H0",
                                     "True",
                                     "1440",
                                     "2880",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "False"};
  RecordValues& Set(size_t line, const std::string& value) {
    values.at(line) = value;
    return *this;
  }
  RecordValues& Alarm(const char* y, const char* mo, const char* d, const char* h, const char* mi) {
    values[9] = y, values[10] = mo, values[11] = d, values[12] = h, values[13] = mi;
    return *this;
  }
  RecordValues& WithoutLayer() {
    values.resize(14);
    return *this;
  }
  std::string Bytes() const {
    std::string text;
    for (const auto& v : values) text += "\"" + v + "\"\r\n";
    return ToShiftJis(text);
  }
};

inline void WriteNote(const ProgramFolder& folder, int n, const RecordValues& record, const std::string& text) {
  folder.WriteBytes("Vornquill" + std::to_string(n) + ".hsn", record.Bytes());
  folder.WriteBytes("Vornquill" + std::to_string(n) + ".log", ToShiftJis(text + "\r\n"));
}

inline std::string RecordOf(const ProgramFolder& folder, int n) {
  return folder.ReadBytes("Vornquill" + std::to_string(n) + ".hsn").value_or("<missing>");
}

inline POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

inline std::optional<WindowInfo> NoteAt(const App& app, int x, int y) {
  for (const auto& w : app.VisibleWindows(kNoteClass))
    if (w.rect.left == x && w.rect.top == y) return w;
  return std::nullopt;
}

}  // namespace e2e
