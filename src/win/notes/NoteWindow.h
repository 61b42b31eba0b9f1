#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "notes/NoteView.h"
#include "win/base/FontCache.h"
#include "win/base/Screen.h"
#include "win/base/Window.h"

namespace vq::win {

// A note on the desktop: borderless, no taskbar button, the text in the note's font and
// colours, sized to the text, with the countdown line above it when the note has an alarm.
class NoteWindow : public Window, public notes::NoteView {
 public:
  static bool RegisterClass(HINSTANCE instance);

  // The owner is the hidden main window: an owned window has no taskbar button anywhere, and
  // the operations on all top-level windows pass it by.
  NoteWindow(HINSTANCE instance, HWND owner, notes::NoteEvents& events, FontCache& fonts, MonitorLayout& monitors);

  void Present(const notes::Note& note, const std::optional<notes::CountdownLine>& countdown) override;
  void UpdateCountdown(const notes::CountdownLine& countdown) override;
  void StartCountdownTimer(std::chrono::milliseconds every) override;
  void SetTopmost(bool topmost) override;
  void SetAttachedToDesktop(bool attached) override;
  void BringToFront() override;
  void DragMove() override;
  std::optional<WindowPlace> MovedTo() const override;
  WindowSize Size() const override;
  std::optional<MenuCommand> PopupMenu(const Menu& menu) override;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  // Measures both lines at the current DPI and sizes the window to them; shows it if asked.
  void Fit(POINT topLeft, bool show = false);

  HWND owner_;
  notes::NoteEvents& events_;
  FontCache& fonts_;
  MonitorLayout& monitors_;
  UINT dpi_ = 96;
  notes::Note note_;
  std::wstring text_;
  std::optional<notes::CountdownLine> countdown_;
  FontCache::Font font_;
  FontCache::Font countdownFont_;
  SIZE textSize_{};
  SIZE countdownSize_{};
  ShownPlace presented_;  // where Present put the window
};

}  // namespace vq::win
