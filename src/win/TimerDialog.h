#pragma once
#include <windows.h>

#include <array>

#include "BoundWindow.h"
#include "FontCache.h"
#include "WindowNames.h"
#include "editor/TimerDialogModel.h"
#include "ports/Clock.h"

namespace vq::win {

class EditorWindow;

// "タイマー設定": a month calendar, five scroll bars for year, month, day, hour and minute, the
// current time, and three ways out. It stands in for the editor while it is open.
class TimerDialog {
 public:
  static bool RegisterClass(HINSTANCE instance);

  TimerDialog(HINSTANCE instance, EditorWindow& editor, FontCache& fonts, Clock& clock);
  ~TimerDialog();
  TimerDialog(const TimerDialog&) = delete;
  TimerDialog& operator=(const TimerDialog&) = delete;

  void Open(const NoteAlarm& alarm, POINT topLeft);

 private:
  template <typename T>
  friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void CreateChildren();
  void Refresh();
  void RefreshClock();
  void OnScroll(HWND bar, int code);
  void Leave(int button);
  int Px(long twips) const;
  HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int id, long left, long top, long width,
             long height);

  HINSTANCE instance_;
  EditorWindow& editor_;
  FontCache& fonts_;
  Clock& clock_;
  HWND hwnd_ = nullptr;
  HWND calendar_ = nullptr, clock_label_ = nullptr;
  std::array<HWND, 5> scrolls_{}, labels_{};
  UINT dpi_ = 96;
  FontCache::Font valueFont_, uiFont_;
  TimerDialogModel model_;
  bool left_ = false;
};

}  // namespace vq::win
