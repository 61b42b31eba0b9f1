#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "BoundWindow.h"
#include "FontCache.h"
#include "notes/NoteBoard.h"
#include "ports/NoteView.h"

namespace vq::win {

// A note on the desktop: borderless, no taskbar button, the text in the note's font and
// colours, sized to the text, with the countdown line above it when the note has an alarm.
class NoteWindow : public NoteView {
 public:
  static bool RegisterClass(HINSTANCE instance);

  NoteWindow(HINSTANCE instance, NoteBoard& board, FontCache& fonts);
  ~NoteWindow() override;
  NoteWindow(const NoteWindow&) = delete;
  NoteWindow& operator=(const NoteWindow&) = delete;

  void Present(const Note& note, const std::optional<Countdown>& countdown) override;
  void UpdateCountdown(const Countdown& countdown) override;
  void StartCountdownTimer() override;
  void SetTopmost(bool topmost) override;
  void SetAttachedToDesktop(bool attached) override;
  void BringToFront() override;
  void DragMove() override;
  NotePlace Place() const override;
  NoteSize Size() const override;
  std::optional<MenuCommand> PopupMenu(const Menu& menu) override;

  HWND Handle() const { return hwnd_; }

 private:
  template <typename T>
  friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnPaint();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  // Measures both lines at the current DPI and sizes the window to them; shows it if asked.
  void Fit(POINT topLeft, bool show = false);
  static POINT KeepVisible(POINT topLeft, SIZE size);

  HWND hwnd_ = nullptr;
  NoteBoard& board_;
  FontCache& fonts_;
  UINT dpi_ = 96;
  Note note_;
  std::wstring text_;
  std::optional<Countdown> countdown_;
  bool alarmShown_ = false;  // the countdown line stays red once the alarm came
  FontCache::Font font_;
  FontCache::Font countdownFont_;
  SIZE textSize_{};
  SIZE countdownSize_{};
  // The saved place and where it put the window: an unmoved note reports the saved twips.
  NotePlace savedPlace_;
  POINT savedPixels_{};
};

}  // namespace vq::win
