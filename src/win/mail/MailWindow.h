#pragma once
#include <windows.h>

#include <array>
#include <optional>

#include "config/Settings.h"
#include "mail/result/MailResultView.h"
#include "mail/result/MailResult.h"
#include "win/base/FontCache.h"
#include "win/base/Handles.h"
#include "win/base/Screen.h"
#include "win/base/Window.h"

namespace vq::win {

// "VornMailChecker": one status line per account on the highlight colour and the
// "メーラー起動" label that starts the mail program. The lines and the label are static
// controls whose text is their caption, so screen readers (and tests) can read them.
class MailWindow : public Window, public mail::MailResultView {
 public:
  static bool RegisterClass(HINSTANCE instance);

  MailWindow(HINSTANCE instance, mail::MailResult& controller, FontCache& fonts, const WindowPlace& stored);
  ~MailWindow() override { DestroyLater(); }

  void SetStatusLine(int account, std::string_view text) override;
  long StatusLineHeight(int account) const override;
  void PlaceStatusLine(int account, long top) override;
  void SetWindowHeight(long height, long linesHeight) override;
  void Show() override;
  void AnnounceMail() override;
  std::optional<WindowPlace> MovedTo() const override;
  // The mailer label and the close box close the window from inside their own message.
  void Close() override { DestroyLater(); }

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  int Px(long twips) const;
  long Twips(int pixels) const;
  SIZE TextSize(HWND control) const;
  RECT ClientRectOf(HWND control) const;
  void Arrange();
  // The client area as the window is or, minimised, as it comes back.
  SIZE ClientSize();
  void Resize(int clientWidth, int clientHeight);

  mail::MailResult& controller_;
  FontCache& fonts_;
  UINT dpi_ = 96;
  FontCache::Font font_;
  std::array<HWND, kAccountCount> lines_{};
  HWND mailer_ = nullptr;
  bool mailWaiting_ = false;  // the label stays yellow while the window is open
  ShownPlace created_;
  SIZE frame_{};  // outer size less client size, measured while not minimised
};

}  // namespace vq::win
