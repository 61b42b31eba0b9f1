#include "win/editor/TimerDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "win/base/Dpi.h"
#include "win/base/Ids.h"
#include "win/base/LazyApi.h"
#include "win/base/Text.h"
#include "base/Twips.h"
#include "win/res/resource.h"

namespace vq::win {

namespace {

constexpr wchar_t kTimerClass[] = L"Vornquill2.TimerDialog";
constexpr UINT_PTR kClockTimer = 1;
constexpr long kClientWidth = 4785, kClientHeight = 2580;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

}  // namespace

bool TimerDialog::RegisterClass(HINSTANCE instance) {
  return Window::RegisterClass(instance, kTimerClass, COLOR_BTNFACE);
}

TimerDialog::TimerDialog(HINSTANCE instance, NoteEditing& editing, FontCache& fonts, Clock& clock)
    : instance_(instance), editing_(editing), fonts_(fonts), clock_(clock) {}

int TimerDialog::Px(long twips) const { return TwipsToPixels(twips, static_cast<int>(dpi_)); }

HWND TimerDialog::Child(const wchar_t* cls, const wchar_t* text, DWORD style, int id, long left, long top, long width,
                        long height) {
  HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, Px(left), Px(top), Px(width), Px(height),
                               hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), FALSE);
  return child;
}

void TimerDialog::Open(const NoteAlarm& alarm, const WindowPlace& place) {
  EnsureCommonControls();
  int systemDpi = static_cast<int>(SystemDpi());
  POINT topLeft{TwipsToPixels(place.left, systemDpi), TwipsToPixels(place.top, systemDpi)};
  dpi_ = DpiForPoint(topLeft);
  topLeft = {TwipsToPixels(place.left, static_cast<int>(dpi_)), TwipsToPixels(place.top, static_cast<int>(dpi_))};
  RECT frame{0, 0, Px(kClientWidth), Px(kClientHeight)};
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
  CreateBound(0, kTimerClass, L"タイマー設定", kDialogStyle, topLeft.x, topLeft.y, frame.right - frame.left,
              frame.bottom - frame.top, nullptr, nullptr, instance_);
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
  SetTimer(hwnd_, kClockTimer, static_cast<UINT>(TimerDialogModel::kClockInterval.count()), nullptr);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void TimerDialog::CreateChildren() {
  calendar_ = Child(MONTHCAL_CLASSW, L"", WS_TABSTOP, kTimerCalendar, 0, 0, 2430, 2010);
  HWND picture = Child(L"STATIC", L"", SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, kTimerPicture, 120, 2040, 495, 495);
  SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP))), 0);
  Child(L"STATIC", L"現在の時刻", SS_LEFT, -1, 2640, 360, 2055, 195);
  clockLabel_ = Child(L"STATIC", L"", SS_LEFT, kTimerClock, 2640, 600, 2055, 195);
  Child(L"STATIC", L"予定時刻", SS_LEFT, -1, 2640, 1080, 2055, 195);
  const long valueLefts[5] = {2640, 3270, 3660, 4050, 4440};
  const long valueWidths[5] = {495, 255, 255, 255, 255};
  for (int f = 0; f < 5; ++f)
    labels_[f] = Child(L"STATIC", L"", SS_CENTER, kTimerLabelFirst + f, valueLefts[f], 1320, valueWidths[f], 195);
  Child(L"STATIC", L"/", SS_CENTER, -1, 3135, 1320, 135, 195);
  Child(L"STATIC", L"/", SS_CENTER, -1, 3525, 1320, 135, 195);
  Child(L"STATIC", L"：", SS_CENTER, -1, 4305, 1320, 135, 195);
  for (HWND label : labels_) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(valueFont_.get()), FALSE);
  SendMessageW(clockLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(valueFont_.get()), FALSE);
  const long scrollLefts[5] = {2700, 3210, 3600, 3990, 4380};
  for (int f = 0; f < 5; ++f)
    scrolls_[f] = Child(L"SCROLLBAR", L"", SBS_HORZ, kTimerScrollFirst + f, scrollLefts[f], 1560, 375, 135);
  Child(L"BUTTON", L"タイマー設定", BS_PUSHBUTTON | WS_TABSTOP, kTimerSet, 840, 2160, 1215, 375);
  Child(L"BUTTON", L"タイマー取消", BS_PUSHBUTTON | WS_TABSTOP, kTimerClear, 2160, 2160, 1215, 375);
  Child(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, kTimerCancel, 3480, 2160, 1215, 375);
}

void TimerDialog::RefreshLabels() {
  for (int f = 0; f < 5; ++f)
    SetWindowTextW(labels_[f], Widen(model_.Label(static_cast<TimerDialogModel::Field>(f))).c_str());
}

void TimerDialog::Refresh() {
  for (int f = 0; f < 5; ++f) {
    auto field = static_cast<TimerDialogModel::Field>(f);
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
  SetWindowTextW(clockLabel_, Widen(TimerDialogModel::ClockLine(clock_.Now())).c_str());
}

void TimerDialog::OnScroll(HWND bar, int code) {
  int f = GetDlgCtrlID(bar) - kTimerScrollFirst;
  if (f < 0 || f > 4) return;
  auto field = static_cast<TimerDialogModel::Field>(f);
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
  auto outcome = button == kTimerSet     ? NoteEditing::TimerOutcome::kSet
                 : button == kTimerClear ? NoteEditing::TimerOutcome::kClear
                                         : NoteEditing::TimerOutcome::kCancel;
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
        info.nMin = model_.Minimum(TimerDialogModel::kDay);
        info.nMax = model_.Maximum(TimerDialogModel::kDay);
        SetScrollInfo(scrolls_[TimerDialogModel::kDay], SB_CTL, &info, TRUE);
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
