#pragma once
#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "options/OptionsController.h"
#include "options/OptionsView.h"
#include "win/base/FontCache.h"
#include "win/base/Handles.h"
#include "win/base/Screen.h"
#include "win/base/Window.h"

namespace vq::win {

// "Vornquill2(設定)": four pages on a tab control ("Vornquill", "メール" with its own four tabs,
// "ランチャー", "付箋紙") and OK, Cancel, 適用 below.
class OptionsDialog : public Window, public options::OptionsView {
 public:
  static bool RegisterClass(HINSTANCE instance);

  OptionsDialog(HINSTANCE instance, options::OptionsController& controller, FontCache& fonts);

  void Show(const options::OptionsValues& values) override;
  void SelectPage(options::OptionsPage page, std::optional<int> mailSubPage) override;
  options::OptionsValues Values() const override;
  void RefreshLauncher() override;
  std::optional<WindowPlace> MovedTo() const override;
  void Close() override;

 private:
  // One control: the page it lies on (-1: below the pages), the mail sub-page (-1: all of
  // them), and its place in twips.
  struct Control {
    int page;
    int subPage;
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int id;
    long left, top, width, height;
    DWORD exStyle = 0;
  };
  struct Placed {
    HWND hwnd;
    int page;     // 0..3
    int subPage;  // mail sub-page 0..3, or -1
  };

  // Handlers of the subclassed controls (SubclassControl).
  static std::optional<LRESULT> IntervalProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static std::optional<LRESULT> SlotProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static std::optional<LRESULT> FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnCommand(int id, int code);
  HWND Add(const Control& control);
  void CreateControls();
  void PrepareControls();
  void ShowPages();
  void SetText(int id, const std::string& text);
  std::string GetText(int id) const;
  MailSecurity ChosenSecurity(int account) const;
  MailProtocol ChosenProtocol(int account) const;
  // The server's caption and the port's hint name the chosen protocol.
  void ShowProtocolCaptions(int account);
  bool Checked(int id) const;
  void SetChecked(int id, bool on);
  void ChooseDefaultFont();
  void ChooseSwatchColour(std::uint32_t& colour, int swatch);
  std::optional<std::string> BrowseProgram();
  void BrowseFolder();
  void DrawRegisterButton(const DRAWITEMSTRUCT& item);
  int Px(long twips) const;

  HINSTANCE instance_;
  options::OptionsController& controller_;
  FontCache& fonts_;
  HWND tabs_ = nullptr, mailTabs_ = nullptr;
  UINT dpi_ = 96;
  ShownPlace shown_;
  std::optional<options::OptionsValues> shownValues_;  // what Values() answers when the window could not be made
  FontCache::Font font_;
  std::vector<Placed> placed_;
  std::uint32_t backColor_ = 0xFFFFFF, foreColor_ = 0;
  bool refreshing_ = false;
  bool slotPressedByMouse_ = false;
  UniqueBrush backBrush_, foreBrush_;
};

}  // namespace vq::win
