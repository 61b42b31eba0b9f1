#include "win/editor/EditorWindow.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cmath>

#include "win/base/Dpi.h"
#include "win/base/Ids.h"
#include "win/base/Pickers.h"
#include "win/base/Screen.h"
#include "win/base/Text.h"
#include "editor/EditorLayout.h"
#include "base/Twips.h"

namespace vq::win {

namespace {

constexpr wchar_t kEditorClass[] = L"Vornquill2.Editor";
// Captions of the alarm row, by label: year, month, day, hour, minute, "/", "/", "：", "タイマー".
constexpr const wchar_t* kFixedCaptions[9] = {L"", L"", L"", L"", L"", L"/", L"/", L"：", L"タイマー"};

}  // namespace

bool EditorWindow::RegisterClass(HINSTANCE instance) {
  return Window::RegisterClass(instance, kEditorClass, COLOR_BTNFACE);
}

EditorWindow::EditorWindow(HINSTANCE instance, editor::NoteEditing& editing, FontCache& fonts)
    : instance_(instance), editing_(editing), fonts_(fonts) {
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, kEditorMenuFont, L"書式");
  AppendMenuW(bar, MF_STRING, kEditorMenuBackColor, L"背景色");
  AppendMenuW(bar, MF_STRING, kEditorMenuForeColor, L"文字色");
  AppendMenuW(bar, MF_STRING, kEditorMenuTimer, L"タイマー設定");
  (void)RegisterClass(instance);  // once, with the first window of its kind
  if (!CreateBound(0, kEditorClass, L"Vorn付箋紙", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                   400, 300, nullptr, bar, instance)) {
    // The menu bar goes with a window only once it has one.
    DestroyMenu(bar);
    return;
  }
  dpi_ = DpiForWindow(hwnd_);
  CreateChildren();
}

void EditorWindow::Close() {
  Destroy();
  backBrush_.Reset();
}

int EditorWindow::Px(long twips) const { return TwipsToPixels(twips, static_cast<int>(dpi_)); }

void EditorWindow::CreateChildren() {
  text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN |
                              ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                          0, 0, 10, 10, hwnd_, reinterpret_cast<HMENU>(kEditorText), instance_, nullptr);
  stick_ = CreateWindowExW(0, L"BUTTON", L"貼り付け", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 10, 10,
                           hwnd_, reinterpret_cast<HMENU>(kEditorStick), instance_, nullptr);
  cancel_ = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 10, 10,
                            hwnd_, reinterpret_cast<HMENU>(kEditorCancel), instance_, nullptr);
  for (int i = 0; i < 9; ++i)
    alarmRow_[i] =
        CreateWindowExW(0, L"STATIC", kFixedCaptions[i], WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorAlarmFirst + i)), instance_, nullptr);
  // The editor's own text box takes the whole text limit, not the 32K default.
  SendMessageW(text_, EM_SETLIMITTEXT, 0, 0);
}

void EditorWindow::Show(const editor::EditorContent& content, const editor::EditorPlacement& placement) {
  font_ = content.font;
  backColor_ = content.backColor;
  foreColor_ = content.foreColor;
  // Without a window the edit ends as after Cancel; this object goes with it.
  if (!hwnd_) return editing_.Cancel();
  // Line breaks of a note are CR LF, as the text box wants them.
  SetWindowTextW(text_, Widen(content.text).c_str());

  UINT systemDpi = SystemDpi();
  POINT guess{TwipsToPixels(placement.left, static_cast<int>(systemDpi)),
              TwipsToPixels(placement.top, static_cast<int>(systemDpi))};
  dpi_ = DpiForPoint(guess);
  ApplyFont();
  SetAlarm(content.alarm);
  POINT at{Px(placement.left), Px(placement.top)};
  SIZE size{std::max(Px(placement.width.value_or(editor::kEditorMinWidth)), minWidth_),
            Px(std::max(placement.height.value_or(editor::kEditorMinHeight), editor::kEditorMinHeight))};
  // Never larger than the screen it opens on; an editor made larger for a large note opens
  // wholly on it. Off every monitor, it comes back on the nearest; the remembered place stays
  // until the user moves the editor.
  RECT work = NearestWorkArea({at.x, at.y, at.x + size.cx, at.y + size.cy});
  size.cx = std::min<LONG>(size.cx, work.right - work.left);
  size.cy = std::min<LONG>(size.cy, work.bottom - work.top);
  at = placement.width || placement.height ? MoveInside(KeepVisible(at, size), size, work) : KeepVisible(at, size);
  SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  shown_.Remember(hwnd_);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(text_);
}

void EditorWindow::ApplyFont() {
  textFont_ = fonts_.Get(font_, dpi_);
  uiFont_ = fonts_.CountdownFont(dpi_);
  SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), TRUE);
  for (HWND child : {stick_, cancel_}) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), TRUE);
  for (HWND label : alarmRow_) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), TRUE);
  backBrush_.Reset(CreateSolidBrush(ToColorRef(backColor_)));
  InvalidateRect(text_, nullptr, TRUE);
}

void EditorWindow::SetAlarm(const notes::NoteAlarm& alarm) {
  alarm_ = alarm;
  const std::string* values[5] = {&alarm.year, &alarm.month, &alarm.day, &alarm.hour, &alarm.minute};
  for (int i = 0; i < 5; ++i) SetWindowTextW(alarmRow_[i], Widen(*values[i]).c_str());
  for (HWND label : alarmRow_) ShowWindow(label, alarm.IsSet() ? SW_SHOW : SW_HIDE);
  Layout();
}

editor::EditorContent EditorWindow::Content() const {
  return {WindowText(text_), font_, backColor_, foreColor_, alarm_};
}

std::optional<WindowPlace> EditorWindow::MovedTo() const { return shown_.MovedTo(hwnd_, dpi_); }

void EditorWindow::Layout() {
  if (!hwnd_ || !text_) return;
  RECT r;
  GetWindowRect(hwnd_, &r);
  int dpi = static_cast<int>(dpi_);
  editor::EditorLayout layout =
      editor::LayoutEditor(PixelsToTwips(r.right - r.left, dpi), PixelsToTwips(r.bottom - r.top, dpi));
  auto place = [&](HWND child, const editor::TwipRect& t) {
    MoveWindow(child, Px(t.left), Px(t.top), Px(t.width), Px(t.height), TRUE);
  };
  place(text_, layout.text);
  place(stick_, layout.stick);
  place(cancel_, layout.cancel);
  // Each label of the alarm row is as large as its text in its font, and the values have room
  // for any date, so that the editor keeps its size whether or not the note has an alarm.
  std::array<editor::PixelSize, 9> texts{};
  for (int i = 0; i < 9; ++i) {
    SIZE size = fonts_.TextSize(uiFont_.get(), Widen(WindowText(alarmRow_[i])));
    if (i <= editor::kAlarmMinute) {
      SIZE digits = fonts_.TextSize(uiFont_.get(), i == editor::kAlarmYear ? L"0000" : L"00");
      size = {std::max(size.cx, digits.cx), std::max(size.cy, digits.cy)};
    }
    texts[i] = {size.cx, size.cy};
  }
  auto row = editor::PlaceAlarmRow(layout, dpi, texts);
  for (int i = 0; i < 9; ++i) MoveWindow(alarmRow_[i], row[i].left, row[i].top, row[i].width, row[i].height, TRUE);
  // The row must not run under the buttons: the editor gets no narrower than the row needs.
  minWidth_ = editor::EditorMinWidth(dpi, row[editor::kAlarmMinute].Right());
  if (r.right - r.left < minWidth_ && !IsIconic(hwnd_))
    SetWindowPos(hwnd_, nullptr, 0, 0, minWidth_, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EditorWindow::ChooseNoteFont() {
  if (auto chosen = PickFont(hwnd_, font_, dpi_)) {  // cancelled: nothing changes
    font_ = *chosen;
    ApplyFont();
  }
}

void EditorWindow::ChooseColour(std::uint32_t& colour) {
  if (auto chosen = PickColour(hwnd_, colour)) {
    colour = *chosen;
    ApplyFont();
  }
}

void EditorWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void EditorWindow::ShowAgain() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void EditorWindow::OnCommand(int id) {
  switch (id) {
    case kEditorStick:
      editing_.Stick();
      return;
    case kEditorCancel:
      editing_.Cancel();
      return;
    case kEditorMenuFont:
      ChooseNoteFont();
      return;
    case kEditorMenuBackColor:
      ChooseColour(backColor_);
      return;
    case kEditorMenuForeColor:
      ChooseColour(foreColor_);
      return;
    case kEditorMenuTimer:
      editing_.OpenTimerDialog();
      return;
  }
}

LRESULT EditorWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Stick and Cancel may close this window: nothing of it may be touched afterwards.
      OnCommand(LOWORD(wp));
      return 0;
    case WM_CLOSE:
      editing_.Cancel();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = {minWidth_, Px(editor::kEditorMinHeight)};
      return 0;
    }
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, ToColorRef(foreColor_));
      SetBkColor(dc, ToColorRef(backColor_));
      return reinterpret_cast<LRESULT>(backBrush_.get());
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      const RECT* r = reinterpret_cast<RECT*>(lp);
      ApplyFont();
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER);
      return 0;
    }
  }
  return Default(msg, wp, lp);
}

}  // namespace vq::win
