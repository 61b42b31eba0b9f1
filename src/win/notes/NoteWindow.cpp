#include "win/notes/NoteWindow.h"

#include <algorithm>

#include "win/base/Dpi.h"
#include "win/base/Screen.h"
#include "win/base/PopupMenu.h"
#include "win/base/StartupProfile.h"
#include "win/base/Text.h"
#include "base/Twips.h"

namespace vq::win {

namespace {

constexpr wchar_t kNoteClass[] = L"Vornquill2.Note";
constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT kStackingFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOACTIVATE;
constexpr COLORREF kAlarmRed = RGB(255, 0, 0);
constexpr UINT kTextFormat = DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT | DT_TOP;

SIZE Measure(HDC dc, HFONT font, const std::wstring& text) {
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  // An empty label still has the height of one line.
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, kTextFormat | DT_CALCRECT);
  SelectObject(dc, old);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

bool NoteWindow::RegisterClass(HINSTANCE instance) { return Window::RegisterClass(instance, kNoteClass); }

NoteWindow::NoteWindow(HINSTANCE instance, HWND owner, notes::NoteEvents& events, FontCache& fonts,
                       MonitorLayout& monitors)
    : owner_(owner), events_(events), fonts_(fonts), monitors_(monitors) {
  VQ_PROFILE(kNoteWindow);
  // A tool window gets no taskbar button. Without a window (the system has none left) the note
  // is kept unseen and its record keeps its place: the calls below that read the window check.
  (void)RegisterClass(instance);  // once, with the first window of its kind
  (void)CreateBound(WS_EX_TOOLWINDOW, kNoteClass, L"付箋紙", WS_POPUP, 0, 0, 1, 1, owner, nullptr, instance);
}

void NoteWindow::Present(const notes::Note& note, const std::optional<notes::CountdownLine>& countdown) {
  note_ = note;
  text_ = Widen(note.text);
  countdown_ = countdown;
  if (!hwnd_) return;
  // Twips become pixels with the DPI of the monitor the note lands on.
  {
    VQ_PROFILE(kMonitor);
    UINT systemDpi = SystemDpi();
    POINT guess{TwipsToPixels(note.left, static_cast<int>(systemDpi)),
                TwipsToPixels(note.top, static_cast<int>(systemDpi))};
    dpi_ = monitors_.DpiForPoint(guess);
  }
  Fit({TwipsToPixels(note.left, static_cast<int>(dpi_)), TwipsToPixels(note.top, static_cast<int>(dpi_))}, true);
  VQ_PROFILE(kPlaceRead);
  presented_.Remember(hwnd_);
}

void NoteWindow::Fit(POINT topLeft, bool show) {
  {
    VQ_PROFILE(kFonts);
    font_ = fonts_.Get(note_.font, dpi_);
    countdownFont_ = fonts_.CountdownFont(dpi_);
  }
  {
    VQ_PROFILE(kMeasure);
    HDC dc = fonts_.MeasuringDC();
    textSize_ = Measure(dc, font_.get(), text_);
    countdownSize_ = countdown_ ? Measure(dc, countdownFont_.get(), Widen(countdown_->caption)) : SIZE{0, 0};
  }
  SIZE size{std::max(textSize_.cx, countdownSize_.cx), textSize_.cy + countdownSize_.cy};
  POINT at;
  {
    // A note saved on a monitor that is gone comes back on the nearest one; its file keeps the
    // saved place until the user moves it.
    VQ_PROFILE(kMonitor);
    at = monitors_.KeepVisible(topLeft, size);
  }
  VQ_PROFILE(kShow);
  // One call places, sizes and shows a new note: at start-up every call to the window system counts.
  SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : 0));
  if (!show) InvalidateRect(hwnd_, nullptr, TRUE);
}

void NoteWindow::UpdateCountdown(const notes::CountdownLine& countdown) {
  countdown_ = countdown;
  if (!hwnd_) return;
  RECT r;
  GetWindowRect(hwnd_, &r);
  countdownSize_ = Measure(fonts_.MeasuringDC(), countdownFont_.get(), Widen(countdown.caption));
  // Only the width follows the new line; the height was set when the note was built.
  int width = std::max(textSize_.cx, countdownSize_.cx);
  SetWindowPos(hwnd_, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void NoteWindow::StartCountdownTimer(std::chrono::milliseconds every) {
  VQ_PROFILE(kCountdown);
  if (hwnd_) SetTimer(hwnd_, kCountdownTimer, static_cast<UINT>(every.count()), nullptr);
}

void NoteWindow::SetTopmost(bool topmost) {
  VQ_PROFILE(kLayer);
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kStackingFlags);
}

void NoteWindow::SetAttachedToDesktop(bool attached) {
  if (!attached) {
    if (GetParent(hwnd_) != owner_) {
      SetParent(hwnd_, nullptr);
      // Back among the top-level windows, owned again by the main window.
      SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
    }
    return;
  }
  // Where there is no program-manager window (as under Wine) the note stays an ordinary window.
  if (HWND desktop = FindWindowW(L"Progman", nullptr)) SetParent(hwnd_, desktop);
}

void NoteWindow::BringToFront() {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kStackingFlags);
  SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, kStackingFlags);
}

void NoteWindow::DragMove() {
  // The whole note is its own title bar: the system's move loop runs until the button is up.
  // It starts from where the button went down, not from where the mouse has got to since.
  DWORD pressedAt = GetMessagePos();
  ReleaseCapture();
  SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(pressedAt));
}

std::optional<WindowPlace> NoteWindow::MovedTo() const { return presented_.MovedTo(hwnd_, DpiForWindow(hwnd_)); }

WindowSize NoteWindow::Size() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  int dpi = static_cast<int>(DpiForWindow(hwnd_));
  return {PixelsToTwips(r.right - r.left, dpi), PixelsToTwips(r.bottom - r.top, dpi)};
}

std::optional<MenuCommand> NoteWindow::PopupMenu(const Menu& menu) { return TrackMenu(hwnd_, menu); }

LRESULT NoteWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      events_.OnNotePress(*this, notes::MouseButton::kLeft);
      return 0;
    case WM_RBUTTONDOWN:
      events_.OnNotePress(*this, notes::MouseButton::kRight);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      events_.OnNotePress(*this, notes::MouseButton::kOther);
      return 0;
    case WM_TIMER:
      if (wp == kCountdownTimer) events_.OnCountdownTick(*this);
      return 0;
    case WM_CLOSE:
      // A note goes only by its own commands; Alt+F4 must not lose it.
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wp), *reinterpret_cast<RECT*>(lp));
      return 0;
  }
  return Default(msg, wp, lp);
}

void NoteWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  // Keep the note's physical size on a monitor with another scale.
  monitors_.Forget();
  dpi_ = dpi;
  Fit({suggested.left, suggested.top});
}

void NoteWindow::OnPaint() {
  VQ_PROFILE(kPaint);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  HGDIOBJ brush = GetStockObject(DC_BRUSH);

  SetDCBrushColor(dc, ToColorRef(note_.backColor));
  FillRect(dc, &client, static_cast<HBRUSH>(brush));
  SetBkMode(dc, TRANSPARENT);

  int textTop = 0;
  if (countdown_) {
    RECT line{0, 0, countdownSize_.cx, countdownSize_.cy};
    SetDCBrushColor(dc, countdown_->red ? kAlarmRed : GetSysColor(COLOR_HIGHLIGHT));
    FillRect(dc, &line, static_cast<HBRUSH>(brush));
    HGDIOBJ old = SelectObject(dc, countdownFont_.get());
    SetTextColor(dc, RGB(255, 255, 255));
    std::wstring caption = Widen(countdown_->caption);
    DrawTextW(dc, caption.c_str(), -1, &line, kTextFormat);
    SelectObject(dc, old);
    textTop = countdownSize_.cy;
  }
  RECT textRect{0, textTop, textSize_.cx, textTop + textSize_.cy};
  HGDIOBJ old = SelectObject(dc, font_.get());
  SetTextColor(dc, ToColorRef(note_.foreColor));
  DrawTextW(dc, text_.c_str(), -1, &textRect, kTextFormat);
  SelectObject(dc, old);
  EndPaint(hwnd_, &ps);
}

}  // namespace vq::win
