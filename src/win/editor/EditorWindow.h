#pragma once
#include <windows.h>

#include <array>
#include <memory>

#include "editor/EditorView.h"
#include "editor/NoteEditing.h"
#include "win/base/FontCache.h"
#include "win/base/Handles.h"
#include "win/base/Screen.h"
#include "win/base/Window.h"

namespace vq::win {

// The note editor "Vorn付箋紙": a sizable window with a menu bar, the note's text in its font
// and colours, "貼り付け" and "Cancel", and the alarm row under the text when the note has one.
class EditorWindow : public Window, public editor::EditorView {
 public:
  static bool RegisterClass(HINSTANCE instance);

  EditorWindow(HINSTANCE instance, editor::NoteEditing& editing, FontCache& fonts);

  void Show(const editor::EditorContent& content, const editor::EditorPlacement& placement) override;
  editor::EditorContent Content() const override;
  std::optional<WindowPlace> MovedTo() const override;
  void SetAlarm(const notes::NoteAlarm& alarm) override;
  void Hide() override;
  void ShowAgain() override;
  void Close() override;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnCommand(int id);
  void CreateChildren();
  void Layout();
  void ApplyFont();
  void ChooseNoteFont();
  void ChooseColour(std::uint32_t& colour);
  int Px(long twips) const;

  HINSTANCE instance_;
  editor::NoteEditing& editing_;
  FontCache& fonts_;
  HWND text_ = nullptr, stick_ = nullptr, cancel_ = nullptr;
  std::array<HWND, 9> alarmRow_{};
  UINT dpi_ = 96;
  int minWidth_ = 314;  // outer, pixels
  ShownPlace shown_;
  NoteFont font_;
  std::uint32_t backColor_ = 0xFFFFFF, foreColor_ = 0;
  notes::NoteAlarm alarm_;
  FontCache::Font textFont_, uiFont_;
  UniqueBrush backBrush_;
};

}  // namespace vq::win
