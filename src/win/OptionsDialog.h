#pragma once
#include <windows.h>

#include <array>
#include <vector>

#include "BoundWindow.h"
#include "FontCache.h"
#include "options/OptionsController.h"
#include "ports/OptionsView.h"

namespace vq::win {

// "Vornquill2(設定)": four pages on a tab control ("Vornquill", "メール" with its own four tabs,
// "ランチャー", "付箋紙") and OK, Cancel, 適用 below.
class OptionsDialog : public OptionsView {
 public:
  static bool RegisterClass(HINSTANCE instance);

  OptionsDialog(HINSTANCE instance, OptionsController& controller, FontCache& fonts);
  ~OptionsDialog() override;
  OptionsDialog(const OptionsDialog&) = delete;
  OptionsDialog& operator=(const OptionsDialog&) = delete;

  void Show(const OptionsValues& values) override;
  void SelectPage(OptionsPage page, std::optional<int> mailSubPage) override;
  OptionsValues Values() const override;
  void RefreshLauncher() override;
  NotePlace Place() const override;
  void Close() override;

 private:
  struct Placed {
    HWND hwnd;
    int page;     // 0..3
    int subPage;  // mail sub-page 0..3, or -1
  };

  template <typename T>
  friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK IntervalProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK SlotProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCommand(int id, int code);
  HWND Add(int page, int subPage, const wchar_t* cls, const wchar_t* text, DWORD style, int id, long left, long top,
           long width, long height, DWORD exStyle = 0);
  void CreateControls();
  void ShowPages();
  void SetText(int id, const std::string& text);
  std::string GetText(int id) const;
  bool Checked(int id) const;
  void SetChecked(int id, bool on);
  void ChooseDefaultFont();
  void ChooseSwatchColour(std::uint32_t& colour, int swatch);
  std::optional<std::string> BrowseProgram();
  void BrowseFolder();
  void DrawRegisterButton(const DRAWITEMSTRUCT& item);
  int Px(long twips) const;

  HINSTANCE instance_;
  OptionsController& controller_;
  FontCache& fonts_;
  HWND hwnd_ = nullptr;
  HWND tabs_ = nullptr, mailTabs_ = nullptr;
  UINT dpi_ = 96;
  FontCache::Font font_;
  std::vector<Placed> placed_;
  std::uint32_t backColor_ = 0xFFFFFF, foreColor_ = 0;
  bool refreshing_ = false;
  bool slotPressedByMouse_ = false;
  HBRUSH backBrush_ = nullptr, foreBrush_ = nullptr;
};

}  // namespace vq::win
