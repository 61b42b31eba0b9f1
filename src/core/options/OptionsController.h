#pragma once
#include <memory>
#include <string_view>

#include "config/Config.h"
#include "mail/settings/MailSchedule.h"
#include "mail/settings/MailSettings.h"
#include "options/LauncherEditor.h"
#include "options/OptionsModel.h"
#include "ports/Dialogs.h"
#include "options/OptionsView.h"
#include "launcher/Launcher.h"
#include "ports/UserFolders.h"
#include "ports/System.h"

namespace vq::options {

// The options dialog while it is open, and the live settings the mail checker asks for: the
// dialog's fields while it exists, the file otherwise.
class OptionsController : public mail::MailSettingsSource {
 public:
  struct Ports {
    Config& config;
    launcher::Launcher& launcher;
    mail::MailSchedule& mailSchedule;
    UserFolders& folders;
    System& system;
    Dialogs& dialogs;
    OptionsViewFactory& views;
  };
  explicit OptionsController(const Ports& ports);

  // From the tray menu: shows the dialog (or brings it forward) on a page.
  void Open(OptionsPage page, std::optional<int> mailSubPage = std::nullopt);
  bool IsOpen() const { return view_ != nullptr; }

  void Apply();
  void Ok();
  void Cancel();
  // The close box: the place is remembered, nothing is saved or restored.
  void CloseBox();

  LauncherEditor& Launcher() { return launcher_; }
  void RegisterLauncher();

  void RegisterStartup();
  void RemoveStartup();

  // The mail check's view of the settings: the fields while the dialog is open, else the file,
  // field by field (a periodic check asks every minute; the file's other keys are no concern).
  mail::MailAccountSettings Account(int account) const override;
  std::string Interval() const override;
  std::string MailerPath() const override;
  void OpenAccountSettings(int account) override { Open(OptionsPage::kMail, account); }

 private:
  void Save();
  void Close();
  // Every box of the dialog is about the dialog.
  void Tell(std::string_view text) { ports_.dialogs.Message(text, view_.get()); }

  Ports ports_;
  LauncherEditor launcher_;
  std::unique_ptr<OptionsView> view_;
  WindowPlace savedPlace_;  // where the dialog opened, as read from the settings
};

}  // namespace vq::options
