#include "shell/ResidentShell.h"

namespace vq {

TrayResponse ChooseDoubleClickAction(const Config& config) {
  return IsTrueFlag(config.ReadOption(keys::kMail, keys::kDoubleClickMinimises)) ? TrayResponse::kToggleMinimiseAll
                                                                                 : TrayResponse::kCheckMail;
}

ResidentShell::ResidentShell(const ShellPorts& ports)
    : config_(ports.profile),
      folders_(ports.folders),
      host_(ports.host),
      notes_(ports.noteFiles, ports.noteViews, ports.clock, ports.dialogs),
      editing_(config_, notes_, ports.editorViews, ports.dialogs) {
  notes_.SetEditHandler([this] { editing_.EditCurrentNote(); });
}

void ResidentShell::Start() {
  if (!config_.Exists()) config_.EnsureDefaults(folders_.StartupFolder());
  TryAddTrayIcon();
  mailCheckBusy_ = false;
  launcher_ = LoadLauncherTable(config_);
  notes_.RestoreNotes();
  // The interval is read straight from the file: loading the options window here would
  // rewrite its position keys, and an existing file must stay untouched at start-up.
  periodicMailCheck_ = IntervalEnablesPeriodicCheck(config_.ReadOption(keys::kMail, keys::kInterval));
  host_.SetTimer(TimerId::kPeriodicMail, periodicMailCheck_);
  minimisedByDoubleClick_ = false;
}

TrayResponse ResidentShell::OnTrayMouse(int mouseMessage) {
  switch (static_cast<TrayMouse>(mouseMessage)) {
    case TrayMouse::kRightPress: {
      auto chosen = host_.PopupMenu(MainMenu());
      if (chosen) OnCommand(*chosen);
      return TrayResponse::kMenuShown;
    }
    case TrayMouse::kLeftDoubleClick:
      return ChooseDoubleClickAction(config_);
    default:
      return TrayResponse::kIgnored;
  }
}

void ResidentShell::OnCommand(MenuCommand command) {
  if (command == MenuCommand::kExit)
    Exit();
  else if (command == MenuCommand::kNewNote)
    editing_.NewNote();
  else
    notes_.OnCommand(command);
}

bool ResidentShell::OnCloseRequest() {
  if (mailCheckBusy_) {
    host_.Beep();
    return false;
  }
  Exit();
  return true;
}

void ResidentShell::Exit() {
  host_.RemoveTrayIcon();
  trayIconShown_ = false;
  host_.EndProgram();
}

void ResidentShell::OnTaskbarCreated() {
  trayIconShown_ = false;
  trayRetries_ = 0;
  TryAddTrayIcon();
}

void ResidentShell::OnTimer(TimerId timer) {
  if (timer == TimerId::kTrayRetry) {
    ++trayRetries_;
    TryAddTrayIcon();
  }
}

void ResidentShell::TryAddTrayIcon() {
  trayIconShown_ = host_.AddTrayIcon();
  bool retry = !trayIconShown_ && trayRetries_ < kTrayRetryLimit;
  host_.SetTimer(TimerId::kTrayRetry, retry);
}

}  // namespace vq
