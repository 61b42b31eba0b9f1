#include "options/OptionsController.h"

#include "options/OptionsMessages.h"
#include "options/StartupShortcut.h"

namespace vq::options {

OptionsController::OptionsController(const Ports& ports) : ports_(ports), launcher_(ports.config, ports.launcher) {}

void OptionsController::Open(OptionsPage page, std::optional<int> mailSubPage) {
  if (!view_) {
    ports_.mailSchedule.OptionsOpened();
    OptionsValues values = LoadOptions(ports_.config);
    ports_.mailSchedule.ResetMinuteCounter();
    ports_.mailSchedule.SwitchPeriodicCheck(IntervalEnablesPeriodicCheck(values.interval));
    launcher_.Load();
    savedPlace_ = {values.top, values.left};
    view_ = ports_.views.CreateOptionsView(*this);
    view_->Show(values);
  }
  view_->SelectPage(page, mailSubPage);
}

mail::MailAccountSettings OptionsController::Account(int account) const {
  return view_ ? view_->Values().accounts.at(static_cast<std::size_t>(account))
               : ReadMailAccount(ports_.config, account);
}

std::string OptionsController::Interval() const {
  return view_ ? view_->Values().interval : ports_.config.ReadOption(keys::kMail, keys::kInterval);
}

std::string OptionsController::MailerPath() const {
  return view_ ? view_->Values().mailer : ports_.config.ReadOption(keys::kMail, keys::kMailer);
}

void OptionsController::Save() {
  launcher_.CommitSelected();
  OptionsValues values = view_->Values();
  bool ok = SaveOptions(ports_.config, values);
  ports_.mailSchedule.ResetMinuteCounter();
  ports_.mailSchedule.SwitchPeriodicCheck(IntervalEnablesPeriodicCheck(values.interval));
  ok = launcher_.WriteTable() && ok;
  launcher_.SelectSlot(launcher_.Selected());
  view_->RefreshLauncher();
  if (!ok) Tell(kSettingsNotSavedMessage);
}

void OptionsController::Apply() {
  if (view_) Save();
}

void OptionsController::Ok() {
  if (!view_) return;
  Save();
  Close();
}

void OptionsController::Cancel() {
  if (!view_) return;
  launcher_.Cancel();
  Close();
}

void OptionsController::CloseBox() {
  if (view_) Close();
}

void OptionsController::Close() {
  // A place the dialog had to correct (off every screen) is not the user's choice: the saved
  // one stays until the user moves the dialog.
  WindowPlace place = view_->MovedTo().value_or(savedPlace_);
  (void)SaveOptionsPlace(ports_.config, place.top, place.left);
  auto view = std::move(view_);
  view->Close();
}

void OptionsController::RegisterLauncher() {
  switch (launcher_.Register()) {
    case LauncherEditor::RegisterResult::kNeedsName:
      Tell(kNeedsNameMessage);
      break;
    case LauncherEditor::RegisterResult::kWriteFailed:
      Tell(kLauncherNotSavedMessage);
      break;
    case LauncherEditor::RegisterResult::kRegistered:
      break;
  }
  if (view_) view_->RefreshLauncher();
}

void OptionsController::RegisterStartup() {
  std::string folder = ports_.folders.StartupFolder();
  // Without a Startup folder the shortcut would land in a drive's root, where it does nothing.
  if (folder.empty()) {
    Tell(kNoStartupFolderMessage);
    return;
  }
  std::string path = StartupShortcutPath(folder);
  if (ports_.system.WriteTextFile(path, StartupShortcutText(ports_.system.ProgramFolder())))
    Tell(kRegisteredMessage);
  else
    Tell(RegisterFailedMessage(path));
}

void OptionsController::RemoveStartup() {
  std::string folder = ports_.folders.StartupFolder();
  if (folder.empty()) {
    Tell(kFileNotFoundMessage);
    return;
  }
  std::string path = StartupShortcutPath(folder);
  switch (ports_.system.RemoveFile(path)) {
    case System::DeleteResult::kDeleted:
      Tell(kRemovedMessage);
      break;
    case System::DeleteResult::kMissing:
      Tell(kFileNotFoundMessage);
      break;
    case System::DeleteResult::kFailed:
      Tell(RemoveFailedMessage(path));
      break;
  }
}

}  // namespace vq::options
