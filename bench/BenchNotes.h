// The sticky notes the start-up benchmark restores: what note <n> holds. StartupBench writes them
// as the program's files; NoteFloor draws the same ones without reading anything.
#pragma once
#include <string>

namespace bench {

struct BenchNote {
  const wchar_t* face;
  const wchar_t* size;  // points, as the record writes them
  bool bold;
  const wchar_t* backColour;  // "&HBBGGRR"
  bool alarm;                 // counts down to 2099-12-31 23:59
  int leftPx, topPx;          // at 96 dpi
  std::wstring text;          // without the file's final CR LF
};

// A grid over a 1280x800 screen; one in five counts down to an alarm, and a few other fonts and
// sizes make the program build more than one font. Past 110 notes (the floor only) the grid
// starts again at the top.
inline BenchNote BenchNoteAt(int n) {
  struct Font {
    const wchar_t* face;
    const wchar_t* size;
    bool bold;
  };
  static const Font kFonts[] = {
      {L"ＭＳ Ｐゴシック", L"9", false}, {L"ＭＳ Ｐゴシック", L"9", false}, {L"ＭＳ ゴシック", L"12", false},
      {L"ＭＳ Ｐゴシック", L"9", false}, {L"Arial", L"10.5", false},        {L"ＭＳ Ｐゴシック", L"9", true},
  };
  static const wchar_t* const kBackColours[] = {L"&HFFFFFF", L"&HC0FFFF", L"&HFFFFC0", L"&HC0FFC0"};
  const Font& font = kFonts[n % 6];
  return {font.face,  font.size,      font.bold,          kBackColours[n % 4],
          n % 5 == 2, (n % 10) * 120, (n / 10 % 11) * 70, L"付箋 " + std::to_wstring(n) + L"\r\nメモの本文"};
}

// What the countdown line of such a note says during the benchmark's years: as long as the
// program's, give or take a digit.
constexpr wchar_t kCountdownCaption[] = L"あと73年0ヶ月23日23時間59分";

}  // namespace bench
