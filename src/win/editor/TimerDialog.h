#pragma once
#include <windows.h>

#include <array>

#include "editor/EditorView.h"
#include "editor/NoteEditing.h"
#include "editor/TimerDialogModel.h"
#include "ports/Clock.h"
#include "win/base/FontCache.h"
#include "win/base/Window.h"
#include "win/base/WindowNames.h"

namespace vq::win {

// "タイマー設定": a month calendar, five scroll bars for year, month, day, hour and minute, the
// current time, and three ways out. It stands in for the editor while it is open.
class TimerDialog : public Window, public editor::TimerDialogView {
 public:
  static bool RegisterClass(HINSTANCE instance);

  TimerDialog(HINSTANCE instance, editor::NoteEditing& editing, FontCache& fonts, Clock& clock);
  // It may be closed by its own buttons: the window goes once their click is done.
  ~TimerDialog() override { DestroyLater(); }

  void Open(const notes::NoteAlarm& alarm, const WindowPlace& place) override;
  notes::NoteAlarm Alarm() const override { return model_.Alarm(); }
  void Close() override { DestroyLater(); }

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void CreateChildren();
  void Refresh();
  void RefreshLabels();
  void RefreshClock();
  // Sizes every control to what it shows and the dialog around them, at topLeft if the user
  // can see it there.
  void Arrange(POINT topLeft);
  void OnScroll(HWND bar, int code);
  void Leave(int button);
  int Px(long twips) const;
  HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int id, HFONT font);

  HINSTANCE instance_;
  editor::NoteEditing& editing_;
  FontCache& fonts_;
  Clock& clock_;
  HWND calendar_ = nullptr, picture_ = nullptr, clockLabel_ = nullptr, nowCaption_ = nullptr, alarmCaption_ = nullptr;
  std::array<HWND, 5> scrolls_{}, labels_{};
  std::array<HWND, 3> separators_{}, buttons_{};
  UINT dpi_ = 96;
  FontCache::Font valueFont_, uiFont_;
  editor::TimerDialogModel model_;
  bool left_ = false;
};

}  // namespace vq::win
