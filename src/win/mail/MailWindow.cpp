#include "win/mail/MailWindow.h"

#include <algorithm>

#include "base/Twips.h"
#include "win/base/Dpi.h"
#include "win/base/Ids.h"
#include "win/base/Screen.h"
#include "win/base/Text.h"

namespace vq::win {

namespace {

constexpr wchar_t kMailClass[] = L"Vornquill2.MailChecker";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr long kClientWidth = 4620;
constexpr long kLineStep = 240;  // each account's line lies so far below the one before
constexpr long kMailerLeft = 3600, kMailerWidth = 1005, kMailerHeight = 180;
// Before the driver sets it, the window is as high as the lines of its design.
constexpr long kFirstHeight = kAccountCount * kLineStep + 350;
constexpr COLORREF kYellow = RGB(255, 255, 0);

}  // namespace

bool MailWindow::RegisterClass(HINSTANCE instance) {
  return Window::RegisterClass(instance, kMailClass, COLOR_HIGHLIGHT);
}

MailWindow::MailWindow(HINSTANCE instance, mail::MailResult& controller, FontCache& fonts, const WindowPlace& stored)
    : controller_(controller), fonts_(fonts) {
  int systemDpi = static_cast<int>(SystemDpi());
  dpi_ = DpiForPoint({TwipsToPixels(stored.left, systemDpi), TwipsToPixels(stored.top, systemDpi)});
  POINT at{Px(stored.left), Px(stored.top)};
  RECT frame{0, 0, Px(kClientWidth), Px(kFirstHeight - 350)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  SIZE size{frame.right - frame.left, Px(kFirstHeight)};
  // A place off every monitor is shown where it can be seen; the file keeps it until the
  // user moves the window.
  at = KeepVisible(at, size);
  // Without a window the check still runs and ends; its lines are not shown.
  (void)RegisterClass(instance);  // once, with the first window of its kind
  if (!CreateBound(0, kMailClass, L"VornMailChecker", kStyle, at.x, at.y, size.cx, size.cy, nullptr, nullptr, instance))
    return;
  created_.Remember(hwnd_);
  font_ = fonts_.CountdownFont(dpi_);
  static_assert(kAccountCount <= kAccountIdStride);
  for (int i = 0; i < kAccountCount; ++i) {
    lines_[i] =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, Px(i * kLineStep), 0, 0,
                        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMailLineFirst + i)), instance, nullptr);
    SendMessageW(lines_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  mailer_ = CreateWindowExW(0, L"STATIC", L"メーラー起動", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOTIFY | SS_NOPREFIX,
                            Px(kMailerLeft), 0, Px(kMailerWidth), Px(kMailerHeight), hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMailMailer)), instance, nullptr);
  SendMessageW(mailer_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  Arrange();
}

int MailWindow::Px(long twips) const { return TwipsToPixels(twips, static_cast<int>(dpi_)); }
long MailWindow::Twips(int pixels) const { return PixelsToTwips(pixels, static_cast<int>(dpi_)); }

// An empty line still has the height of one line of text.
SIZE MailWindow::TextSize(HWND control) const { return fonts_.TextSize(font_.get(), Widen(WindowText(control))); }

RECT MailWindow::ClientRectOf(HWND control) const {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The label keeps its corner unless the line beside it reaches further, and is as large as its
// caption needs; the window is as wide as its design, or as what it shows needs.
void MailWindow::Arrange() {
  SIZE text = TextSize(mailer_);
  RECT label{Px(kMailerLeft), 0, 0, std::max<int>(text.cy, Px(kMailerHeight))};
  int right = Px(kClientWidth);
  for (HWND line : lines_) {
    RECT r = ClientRectOf(line);
    if (r.top < label.bottom && label.top < r.bottom) label.left = std::max(label.left, r.right);
    right = std::max<int>(right, r.right);
  }
  label.right = label.left + std::max<int>(text.cx, Px(kMailerWidth));
  right = std::max<int>(right, label.right + Px(kClientWidth - kMailerLeft - kMailerWidth));
  MoveWindow(mailer_, label.left, label.top, label.right - label.left, label.bottom - label.top, TRUE);
  SIZE client = ClientSize();
  if (client.cx != right) Resize(right, client.cy);
}

// The frame is measured, not assumed: captions and borders differ between systems and DPIs. A
// minimised window changes the size it comes back with.
SIZE MailWindow::ClientSize() {
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  GetWindowPlacement(hwnd_, &place);
  const RECT& normal = place.rcNormalPosition;
  if (!IsIconic(hwnd_)) {
    RECT outer{}, client{};
    if (GetWindowRect(hwnd_, &outer) && GetClientRect(hwnd_, &client))
      frame_ = {(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
  }
  return {normal.right - normal.left - frame_.cx, normal.bottom - normal.top - frame_.cy};
}

void MailWindow::Resize(int clientWidth, int clientHeight) {
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  GetWindowPlacement(hwnd_, &place);
  RECT& normal = place.rcNormalPosition;
  normal.right = normal.left + clientWidth + frame_.cx;
  normal.bottom = normal.top + clientHeight + frame_.cy;
  if (IsIconic(hwnd_)) {
    SetWindowPlacement(hwnd_, &place);
  } else {
    SetWindowPos(hwnd_, nullptr, 0, 0, normal.right - normal.left, normal.bottom - normal.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MailWindow::SetStatusLine(int account, std::string_view text) {
  HWND line = lines_.at(static_cast<size_t>(account));
  // Sized before the text arrives: a static paints a new text at once, wrapped at its width
  // then, and a line grown afterwards repaints only its new part, next to the cut-off glyph.
  const std::wstring wide = Widen(text);
  SIZE size = fonts_.TextSize(font_.get(), wide);
  SetWindowPos(line, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextW(line, wide.c_str());
  Arrange();
}

long MailWindow::StatusLineHeight(int account) const {
  RECT r{};
  GetWindowRect(lines_.at(static_cast<size_t>(account)), &r);
  return Twips(r.bottom - r.top);
}

void MailWindow::PlaceStatusLine(int account, long top) {
  SetWindowPos(lines_.at(static_cast<size_t>(account)), nullptr, 0, Px(top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Arrange();
}

void MailWindow::SetWindowHeight(long height, long linesHeight) {
  SIZE client = ClientSize();
  Resize(client.cx, std::max<int>(Px(height) - frame_.cy, Px(linesHeight)));
}

void MailWindow::Show() { ShowWindow(hwnd_, IsWindowVisible(hwnd_) ? SW_SHOWNA : SW_SHOW); }

void MailWindow::AnnounceMail() {
  mailWaiting_ = true;
  InvalidateRect(mailer_, nullptr, TRUE);
  // To the front of every window, and back among the others so that it does not stay on top.
  constexpr UINT kFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kFlags);
  SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
}

std::optional<WindowPlace> MailWindow::MovedTo() const { return created_.MovedTo(hwnd_, DpiForWindow(hwnd_)); }

LRESULT MailWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Starting the mailer may close this window: nothing of it is touched afterwards.
      if (LOWORD(wp) == kMailMailer && HIWORD(wp) == STN_CLICKED) controller_.OnMailerClick();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      if (reinterpret_cast<HWND>(lp) == mailer_) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        COLORREF back = mailWaiting_ ? kYellow : GetSysColor(COLOR_BTNFACE);
        SetBkColor(dc, back);
        SetDCBrushColor(dc, back);
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
      }
      SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
      SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    case WM_CLOSE:
      controller_.OnCloseBox();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace vq::win
