#include "win/editor/TimerDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "editor/TimerDialogLayout.h"
#include "win/base/Dpi.h"
#include "win/base/Screen.h"
#include "win/base/Ids.h"
#include "win/base/LazyApi.h"
#include "win/base/Text.h"
#include "base/Twips.h"

namespace vq::win {

namespace {

constexpr wchar_t kTimerClass[] = L"Vornquill2.TimerDialog";
constexpr UINT_PTR kClockTimer = 1;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

}  // namespace

bool TimerDialog::RegisterClass(HINSTANCE instance) {
  return Window::RegisterClass(instance, kTimerClass, COLOR_BTNFACE);
}

TimerDialog::TimerDialog(HINSTANCE instance, editor::NoteEditing& editing, FontCache& fonts, Clock& clock)
    : instance_(instance), editing_(editing), fonts_(fonts), clock_(clock) {}

int TimerDialog::Px(long twips) const { return TwipsToPixels(twips, static_cast<int>(dpi_)); }

HWND TimerDialog::Child(const wchar_t* cls, const wchar_t* text, DWORD style, int id, HFONT font) {
  // Placed by Arrange, once the texts are measured.
  HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void TimerDialog::Open(const notes::NoteAlarm& alarm, const WindowPlace& place) {
  EnsureCommonControls();
  int systemDpi = static_cast<int>(SystemDpi());
  POINT topLeft{TwipsToPixels(place.left, systemDpi), TwipsToPixels(place.top, systemDpi)};
  dpi_ = DpiForPoint(topLeft);
  topLeft = {TwipsToPixels(place.left, static_cast<int>(dpi_)), TwipsToPixels(place.top, static_cast<int>(dpi_))};
  // Without a window the editor comes back as after Cancel.
  (void)RegisterClass(instance_);  // once, with the first window of its kind
  if (!CreateBound(0, kTimerClass, L"タイマー設定", kDialogStyle, topLeft.x, topLeft.y, 0, 0, nullptr, nullptr,
                   instance_))
    return Leave(kTimerCancel);
  valueFont_ = fonts_.Get({"ＭＳ Ｐゴシック", 9.75, true, false}, dpi_);
  uiFont_ = fonts_.CountdownFont(dpi_);
  CreateChildren();

  LocalTime now = clock_.Now();
  model_.Open(now, alarm);
  auto date = model_.CalendarDate();
  SYSTEMTIME day{};
  day.wYear = static_cast<WORD>(date.year);
  day.wMonth = static_cast<WORD>(date.month);
  day.wDay = static_cast<WORD>(date.day);
  SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  Refresh();
  RefreshClock();
  Arrange(topLeft);
  SetTimer(hwnd_, kClockTimer, static_cast<UINT>(editor::TimerDialogModel::kClockInterval.count()), nullptr);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void TimerDialog::CreateChildren() {
  HFONT ui = uiFont_.get(), value = valueFont_.get();
  calendar_ = Child(MONTHCAL_CLASSW, L"", WS_TABSTOP, kTimerCalendar, ui);
  picture_ = Child(L"STATIC", L"", SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, kTimerPicture, ui);
  SendMessageW(picture_, STM_SETICON, reinterpret_cast<WPARAM>(ProgramIcon(instance_)), 0);
  nowCaption_ = Child(L"STATIC", L"現在の時刻", SS_LEFT | SS_NOPREFIX, -1, ui);
  clockLabel_ = Child(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kTimerClock, value);
  alarmCaption_ = Child(L"STATIC", L"予定時刻", SS_LEFT | SS_NOPREFIX, -1, ui);
  for (int f = 0; f < 5; ++f) labels_[f] = Child(L"STATIC", L"", SS_CENTER | SS_NOPREFIX, kTimerLabelFirst + f, value);
  const wchar_t* separators[3] = {L"/", L"/", L"："};
  for (int i = 0; i < 3; ++i) separators_[i] = Child(L"STATIC", separators[i], SS_CENTER | SS_NOPREFIX, -1, ui);
  for (int f = 0; f < 5; ++f) scrolls_[f] = Child(L"SCROLLBAR", L"", SBS_HORZ, kTimerScrollFirst + f, ui);
  const std::pair<int, const wchar_t*> buttons[3] = {
      {kTimerSet, L"タイマー設定"}, {kTimerClear, L"タイマー取消"}, {kTimerCancel, L"Cancel"}};
  for (int b = 0; b < 3; ++b)
    buttons_[b] = Child(L"BUTTON", buttons[b].second, BS_PUSHBUTTON | WS_TABSTOP, buttons[b].first, ui);
}

void TimerDialog::Arrange(POINT topLeft) {
  auto size = [&](const FontCache::Font& font, const std::wstring& text) {
    SIZE s = fonts_.TextSize(font.get(), text);
    return editor::PixelSize{s.cx, s.cy};
  };
  auto wider = [](editor::PixelSize a, editor::PixelSize b) {
    return editor::PixelSize{std::max(a.width, b.width), std::max(a.height, b.height)};
  };
  editor::TimerDialogNeeds needs;
  // The calendar asks for the room it needs to show a whole month in its font.
  RECT minimum{};
  if (SendMessageW(calendar_, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&minimum)))
    needs.calendar = {minimum.right - minimum.left, minimum.bottom - minimum.top};
  needs.nowCaption = size(uiFont_, L"現在の時刻");
  needs.alarmCaption = size(uiFont_, L"予定時刻");
  // The clock and the values change while the dialog is open: room for the widest digits.
  needs.clock = wider(size(valueFont_, L"0000/00/00  00：00"), size(valueFont_, Widen(WindowText(clockLabel_))));
  for (int f = 0; f < 5; ++f)
    needs.values[f] =
        wider(size(valueFont_, f == 0 ? L"0000" : L"00"), size(valueFont_, Widen(WindowText(labels_[f]))));
  for (int i = 0; i < 3; ++i) needs.separators[i] = size(uiFont_, Widen(WindowText(separators_[i])));
  // A button's caption needs its frame and a margin on each side.
  editor::PixelSize frame{Px(240), Px(120)};
  for (int b = 0; b < 3; ++b) {
    editor::PixelSize text = size(uiFont_, Widen(WindowText(buttons_[b])));
    needs.buttons[b] = {text.width + frame.width, text.height + frame.height};
  }
  editor::TimerDialogLayout layout = editor::LayoutTimerDialog(static_cast<int>(dpi_), needs);

  auto put = [](HWND child, const editor::PixelRect& r) { MoveWindow(child, r.left, r.top, r.width, r.height, FALSE); };
  put(calendar_, layout.calendar);
  put(picture_, layout.picture);
  put(nowCaption_, layout.nowCaption);
  put(clockLabel_, layout.clock);
  put(alarmCaption_, layout.alarmCaption);
  for (int f = 0; f < 5; ++f) {
    put(labels_[f], layout.values[f]);
    put(scrolls_[f], layout.scrolls[f]);
  }
  for (int i = 0; i < 3; ++i) {
    put(separators_[i], layout.separators[i]);
    put(buttons_[i], layout.buttons[i]);
  }
  RECT frameRect{0, 0, layout.client.width, layout.client.height};
  AdjustWindowRectEx(&frameRect, kDialogStyle, FALSE, 0);
  SIZE outer{frameRect.right - frameRect.left, frameRect.bottom - frameRect.top};
  // At the editor's place, unless that is off every monitor.
  POINT at = KeepVisible(topLeft, outer);
  SetWindowPos(hwnd_, nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TimerDialog::RefreshLabels() {
  for (int f = 0; f < 5; ++f)
    SetWindowTextW(labels_[f], Widen(model_.Label(static_cast<editor::TimerDialogModel::Field>(f))).c_str());
}

void TimerDialog::Refresh() {
  for (int f = 0; f < 5; ++f) {
    auto field = static_cast<editor::TimerDialogModel::Field>(f);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    info.nMin = model_.Minimum(field);
    info.nMax = model_.Maximum(field);
    info.nPos = model_.Position(field);
    SetScrollInfo(scrolls_[f], SB_CTL, &info, TRUE);
    SetWindowTextW(labels_[f], Widen(model_.Label(field)).c_str());
  }
}

void TimerDialog::RefreshClock() {
  SetWindowTextW(clockLabel_, Widen(editor::TimerDialogModel::ClockLine(clock_.Now())).c_str());
}

void TimerDialog::OnScroll(HWND bar, int code) {
  int f = GetDlgCtrlID(bar) - kTimerScrollFirst;
  if (f < 0 || f > 4) return;
  auto field = static_cast<editor::TimerDialogModel::Field>(f);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(bar, SB_CTL, &info);
  int position = model_.Position(field);
  switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      --position;
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      ++position;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_LEFT:
      position = model_.Minimum(field);
      break;
    case SB_RIGHT:
      position = model_.Maximum(field);
      break;
    default:
      return;
  }
  model_.OnScroll(field, position);
  Refresh();
}

void TimerDialog::Leave(int button) {
  if (left_) return;
  left_ = true;
  KillTimer(hwnd_, kClockTimer);
  ShowWindow(hwnd_, SW_HIDE);
  auto outcome = button == kTimerSet     ? editor::NoteEditing::TimerOutcome::kSet
                 : button == kTimerClear ? editor::NoteEditing::TimerOutcome::kClear
                                         : editor::NoteEditing::TimerOutcome::kCancel;
  // This object is gone once the editing has taken the outcome.
  editing_.LeaveTimerDialog(outcome);
}

LRESULT TimerDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kTimerSet:
        case kTimerClear:
        case kTimerCancel:
          Leave(LOWORD(wp));
          return 0;
        case kTimerPicture:
          if (HIWORD(wp) == STN_CLICKED)
            ShellExecuteW(hwnd_, nullptr, L"explorer", kHomePageUrl, nullptr, SW_SHOWMINIMIZED);
          return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->idFrom == kTimerCalendar && header->code == MCN_SELECT) {
        const SYSTEMTIME& day = reinterpret_cast<NMSELCHANGE*>(lp)->stSelStart;
        model_.OnCalendarClick(day.wYear, day.wMonth, day.wDay);
        RefreshLabels();
        // The day bar takes the month's length; the bars stay where they are.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE;
        info.nMin = model_.Minimum(editor::TimerDialogModel::kDay);
        info.nMax = model_.Maximum(editor::TimerDialogModel::kDay);
        SetScrollInfo(scrolls_[editor::TimerDialogModel::kDay], SB_CTL, &info, TRUE);
      }
      return 0;
    }
    case WM_HSCROLL:
      OnScroll(reinterpret_cast<HWND>(lp), LOWORD(wp));
      return 0;
    case WM_TIMER:
      if (wp == kClockTimer) RefreshClock();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lp);
      int id = GetDlgCtrlID(control);
      if (id == kTimerClock || (id >= kTimerLabelFirst && id < kTimerLabelFirst + 5)) {
        SetBkColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      break;
    }
    case WM_CLOSE:
      Leave(kTimerCancel);
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace vq::win
