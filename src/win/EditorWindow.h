#pragma once
#include <windows.h>

#include <array>
#include <memory>

#include "BoundWindow.h"
#include "FontCache.h"
#include "editor/NoteEditing.h"
#include "ports/Clock.h"
#include "ports/EditorView.h"

namespace vq::win {

class TimerDialog;

// The note editor "Vorn付箋紙": a sizable window with a menu bar, the note's text in its font
// and colours, "貼り付け" and "Cancel", and the alarm row under the text when the note has one.
class EditorWindow : public EditorView {
 public:
  static bool RegisterClass(HINSTANCE instance);

  EditorWindow(HINSTANCE instance, NoteEditing& editing, FontCache& fonts, Clock& clock);
  ~EditorWindow() override;
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  void Show(const EditorContent& content, const EditorPlacement& placement) override;
  EditorContent Content() const override;
  NotePlace Place() const override;
  void Close() override;

  // The timer dialog's result: the alarm row shows the alarm, or goes when it is cleared.
  void SetAlarm(const NoteAlarm& alarm);
  // The timer dialog hides the editor while it is open and shows it again at the end.
  void ReturnFromTimerDialog();

 private:
  template <typename T>
  friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCommand(int id);
  void CreateChildren();
  void Layout();
  void ApplyFont();
  void ChooseNoteFont();
  void ChooseColour(std::uint32_t& colour);
  void OpenTimerDialog();
  int Px(long twips) const;

  HINSTANCE instance_;
  NoteEditing& editing_;
  FontCache& fonts_;
  Clock& clock_;
  HWND hwnd_ = nullptr;
  HWND text_ = nullptr, stick_ = nullptr, cancel_ = nullptr;
  std::array<HWND, 9> alarmRow_{};
  UINT dpi_ = 96;
  NoteFont font_;
  std::uint32_t backColor_ = 0xFFFFFF, foreColor_ = 0;
  NoteAlarm alarm_;
  FontCache::Font textFont_, uiFont_;
  HBRUSH backBrush_ = nullptr;
  std::unique_ptr<TimerDialog> timerDialog_;
};

}  // namespace vq::win
