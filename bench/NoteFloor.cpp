// The floor for Vornquill2's notes: a tray program that shows N note windows built as the
// program builds its notes (same window class settings, styles, owner, fonts, sizes, texts,
// painting and countdown timers), but reads nothing and keeps nothing else. What a note costs
// the program beyond what a note costs this is the program's own overhead.
//
//   NoteFloor.exe <notes>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "BenchNotes.h"
#include "BenchTray.h"

// StartupBench finds the program and its notes by these.
constexpr wchar_t kMainClass[] = L"NoteFloor.Window";
constexpr wchar_t kNoteClass[] = L"NoteFloor.Note";
constexpr UINT kIconId = 1;
constexpr UINT kTextFormat = DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT | DT_TOP;

struct Note {
  std::wstring text;
  COLORREF back;
  HFONT font;
  SIZE textSize;
  SIZE countdownSize;  // 0 x 0 without an alarm
};
HFONT countdownFont;

HFONT MakeFont(const wchar_t* face, double points, bool bold) {
  int height = -static_cast<int>(std::lround(points * 96 / 72.0));
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

SIZE Measure(HDC dc, HFONT font, const wchar_t* text) {
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, *text ? text : L" ", -1, &r, kTextFormat | DT_CALCRECT);
  SelectObject(dc, old);
  return {r.right - r.left, r.bottom - r.top};
}

void Paint(HWND hwnd, const Note& note) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc, note.back);
  FillRect(dc, &client, brush);
  SetBkMode(dc, TRANSPARENT);
  int textTop = 0;
  if (note.countdownSize.cy > 0) {
    RECT line{0, 0, note.countdownSize.cx, note.countdownSize.cy};
    SetDCBrushColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    FillRect(dc, &line, brush);
    HGDIOBJ old = SelectObject(dc, countdownFont);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, bench::kCountdownCaption, -1, &line, kTextFormat);
    SelectObject(dc, old);
    textTop = note.countdownSize.cy;
  }
  RECT textRect{0, textTop, note.textSize.cx, textTop + note.textSize.cy};
  HGDIOBJ old = SelectObject(dc, note.font);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, note.text.c_str(), -1, &textRect, kTextFormat);
  SelectObject(dc, old);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK NoteProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* note = reinterpret_cast<const Note*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT:
      if (note) {
        Paint(hwnd, *note);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HICON smallIcon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hIconSm = smallIcon;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  int count = std::max(0, _wtoi(commandLine));
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  if (!Register(instance, kMainClass, DefWindowProcW, icon) || !Register(instance, kNoteClass, NoteProc, nullptr))
    return 1;
  HWND main = CreateWindowExW(WS_EX_TOOLWINDOW, kMainClass, L"NoteFloor", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                              instance, nullptr);
  if (!main) return 1;
  if (!AddTrayIcon(main, kIconId, icon, L"NoteFloor")) return 1;

  // Each font once, as a program that knew its notes in advance would make them.
  std::map<std::tuple<std::wstring, std::wstring, bool>, HFONT> fonts;
  countdownFont = MakeFont(L"MS UI Gothic", 9, false);
  HDC dc = CreateCompatibleDC(nullptr);
  std::vector<Note> notes(static_cast<size_t>(count));
  for (int n = 0; n < count; ++n) {
    bench::BenchNote b = bench::BenchNoteAt(n);
    HFONT& font = fonts[{b.face, b.size, b.bold}];
    if (!font) font = MakeFont(b.face, _wtof(b.size), b.bold);
    Note& note = notes[static_cast<size_t>(n)];
    note.text = b.text;
    note.back = static_cast<COLORREF>(wcstoul(b.backColour + 2, nullptr, 16));
    note.font = font;
    HWND hwnd =
        CreateWindowExW(WS_EX_TOOLWINDOW, kNoteClass, L"付箋紙", WS_POPUP, 0, 0, 1, 1, main, nullptr, instance, &note);
    if (!hwnd) return 1;
    note.textSize = Measure(dc, font, note.text.c_str());
    note.countdownSize = b.alarm ? Measure(dc, countdownFont, bench::kCountdownCaption) : SIZE{0, 0};
    SetWindowPos(hwnd, nullptr, b.leftPx, b.topPx, std::max(note.textSize.cx, note.countdownSize.cx),
                 note.textSize.cy + note.countdownSize.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (b.alarm) SetTimer(hwnd, 1, 30000, nullptr);
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
