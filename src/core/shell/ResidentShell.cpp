#include "shell/ResidentShell.h"

#include "shell/MainMenu.h"

namespace vq::shell {

TrayResponse ChooseDoubleClickAction(const Config& config) {
  return IsTrueFlag(config.ReadOption(keys::kMail, keys::kDoubleClickMinimises)) ? TrayResponse::kToggleMinimiseAll
                                                                                 : TrayResponse::kCheckMail;
}

ResidentShell::ResidentShell(const ShellPorts& ports)
    : config_(ports.profile),
      folders_(ports.folders),
      tray_(ports.tray),
      timers_(ports.timers),
      system_(ports.system),
      dialogs_(ports.dialogs),
      launcher_(config_, ports.system, ports.dialogs),
      mailSchedule_(ports.timers),
      notes_(ports.noteFiles, ports.noteViews, *this, ports.clock, ports.dialogs),
      editing_(config_, notes_, ports.editorViews, ports.dialogs),
      options_({config_, launcher_, mailSchedule_, ports.folders, ports.system, ports.dialogs, ports.optionsViews}),
      mail_({ports.sockets, ports.securityLayers, ports.timers, ports.dialogs, ports.system, config_, mailSchedule_,
             options_, ports.mailViews}),
      windows_(ports.desktop, ports.timers, ports.dialogs, config_) {}

Menu ResidentShell::MainMenu() {
  return BuildMainMenu(launcher_.Captions(), notes_.HiddenEntries(), notes_.ListPeeledNotes());
}

void ResidentShell::Start() {
  if (!config_.Exists()) (void)config_.EnsureDefaults(folders_.StartupFolder());
  TryAddTrayIcon();
  mailSchedule_.SetBusy(false);
  launcher_.Reload();
  notes_.RestoreNotes();
  // The interval is read straight from the file: loading the options window here would
  // rewrite its position keys, and an existing file must stay untouched at start-up.
  mailSchedule_.SwitchPeriodicCheck(IntervalEnablesPeriodicCheck(config_.ReadOption(keys::kMail, keys::kInterval)));
  notes_.ReadPeeledNames();
}

TrayResponse ResidentShell::OnTrayMouse(int mouseMessage) {
  switch (static_cast<TrayMouse>(mouseMessage)) {
    case TrayMouse::kRightPress: {
      windows_.OnMenuOpening();
      auto chosen = tray_.PopupMenu(MainMenu());
      if (chosen) OnCommand(*chosen);
      return TrayResponse::kMenuShown;
    }
    case TrayMouse::kLeftDoubleClick: {
      TrayResponse action = ChooseDoubleClickAction(config_);
      if (action == TrayResponse::kToggleMinimiseAll)
        windows_.ToggleFromDoubleClick();
      else
        mail_.CheckNow();
      return action;
    }
    default:
      return TrayResponse::kIgnored;
  }
}

void ResidentShell::OnCommand(MenuCommand command) {
  int entry = OffsetIn(command, MenuCommand::kLaunchFirst, MenuCommand::kLaunchLast);
  if (entry >= 0) {
    launcher_.Run(entry);
    return;
  }
  switch (command) {
    case MenuCommand::kExit:
      Exit();
      break;
    case MenuCommand::kNewNote:
      editing_.NewNote();
      break;
    case MenuCommand::kNoteEdit:
      editing_.EditCurrentNote();
      break;
    case MenuCommand::kCheckMail:
      mail_.CheckNow();
      break;
    case MenuCommand::kMinimiseAll:
      windows_.MinimiseAll();
      break;
    case MenuCommand::kRestoreAll:
      windows_.RestoreAll();
      break;
    case MenuCommand::kMinimiseThisMonitor:
      windows_.MinimiseMenuMonitor();
      break;
    case MenuCommand::kCloseAll:
      windows_.CloseAll();
      break;
    case MenuCommand::kOptions:
      options_.Open(options::OptionsPage::kGeneral);
      break;
    case MenuCommand::kMailSettings:
      options_.Open(options::OptionsPage::kMail, options::kMailSettingsSubPage);
      break;
    case MenuCommand::kLauncherSettings:
      options_.Open(options::OptionsPage::kLauncher);
      break;
    case MenuCommand::kNoteSettings:
      options_.Open(options::OptionsPage::kNotes);
      break;
    default:
      notes_.OnCommand(command);
      break;
  }
}

void ResidentShell::OnNotePress(notes::NoteView& view, notes::MouseButton button) {
  if (auto chosen = notes_.OnPress(view, button)) OnCommand(*chosen);
}

void ResidentShell::OnCountdownTick(notes::NoteView& view) { notes_.OnCountdownTick(view); }

bool ResidentShell::OnCloseRequest() {
  if (mailSchedule_.Busy()) {
    dialogs_.Beep();
    return false;
  }
  Exit();
  return true;
}

void ResidentShell::Exit() {
  tray_.RemoveIcon();
  trayIconShown_ = false;
  system_.EndProgram();
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
    return;
  }
  if (!windows_.OnTimer(timer)) mail_.OnTimer(timer);
}

void ResidentShell::TryAddTrayIcon() {
  trayIconShown_ = tray_.AddIcon();
  if (!trayIconShown_ && trayRetries_ < kTrayRetryLimit)
    timers_.Start(TimerId::kTrayRetry, kTrayRetryInterval);
  else
    timers_.Stop(TimerId::kTrayRetry);
}

}  // namespace vq::shell
