#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "config/Config.h"
#include "mail/result/MailResultView.h"
#include "mail/settings/MailSchedule.h"
#include "mail/settings/MailSettings.h"
#include "ports/Dialogs.h"
#include "ports/System.h"

namespace vq::mail {

// The result window's model and its life: the window comes into being (hidden) when a check
// writes a status line or the user asks to see it, remembers its place in the settings file,
// and ends whatever check runs when it closes, because nobody is left to see the outcome.
class MailResult {
 public:
  struct Ports {
    Config& config;
    System& system;
    Dialogs& dialogs;
    MailSchedule& schedule;
    MailSettingsSource& settings;
    MailResultViewFactory& views;
  };
  // `abandonSessions` drops every account's connection without a word.
  MailResult(const Ports& ports, std::function<void()> abandonSessions);
  MailResult(const MailResult&) = delete;
  MailResult& operator=(const MailResult&) = delete;

  bool IsOpen() const { return view_ != nullptr; }

  // Each of these creates the window, hidden, when it does not exist yet.
  void SetStatusLine(int account, std::string_view text);
  [[nodiscard]] long StatusLineHeight(int account);
  void PlaceStatusLine(int account, long top);
  void SetWindowHeight(long height, long linesHeight);
  void Show();
  // A session found mail: the window shows the line and calls for attention.
  void ShowMail(int account, std::string_view text);

  // Closes the window when it exists, as the user would: the place is kept if the user moved
  // it, every session is abandoned and the busy flag cleared.
  void Close();

  // From the window. Both may destroy the view: it returns at once after calling them.
  void OnMailerClick();
  void OnCloseBox() { Close(); }

  // The boxes of a check, whoever shows them, are about this window.
  Dialogs& Boxes() { return boxes_; }

 private:
  // A box is owned by the window it is about, and one owned by a hidden window stays out of
  // sight (a periodic check writes its lines into the hidden window): the window shows first.
  class CheckBoxes final : public Dialogs {
   public:
    explicit CheckBoxes(MailResult& window) : window_(window) {}
    void Message(std::string_view text, const BoxOwner*) override {
      window_.ports_.dialogs.Message(text, &window_.ShownView());
    }
    bool AskYesNo(std::string_view text, const BoxOwner*) override {
      return window_.ports_.dialogs.AskYesNo(text, &window_.ShownView());
    }
    void Beep() override { window_.ports_.dialogs.Beep(); }

   private:
    MailResult& window_;
  };

  MailResultView& View();
  MailResultView& ShownView();

  Ports ports_;
  std::function<void()> abandonSessions_;
  std::unique_ptr<MailResultView> view_;
  CheckBoxes boxes_{*this};
};

}  // namespace vq::mail
