#include "shell/ResidentShell.h"

namespace vq {

TrayResponse ChooseDoubleClickAction(const Config& config) {
  return IsTrueFlag(config.ReadOption(keys::kMail, keys::kDoubleClickMinimises)) ? TrayResponse::kToggleMinimiseAll
                                                                                 : TrayResponse::kCheckMail;
}

std::optional<std::string> LaunchCommandLine(const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (path.back() == '\\') return "explorer " + path;
  return path;
}

ResidentShell::ResidentShell(const ShellPorts& ports)
    : config_(ports.profile),
      folders_(ports.folders),
      host_(ports.host),
      timers_(ports.timers),
      system_(ports.system),
      dialogs_(ports.dialogs),
      mailSchedule_(ports.timers),
      notes_(ports.noteFiles, ports.noteViews, ports.clock, ports.dialogs),
      editing_(config_, notes_, ports.editorViews, ports.dialogs),
      options_({config_, launcher_, [this] { RefreshLauncherMenu(); }, mailSchedule_, ports.folders, ports.system,
                ports.dialogs, ports.optionsViews}) {
  notes_.SetEditHandler([this] { editing_.EditCurrentNote(); });
}

Menu ResidentShell::MainMenu() const {
  LauncherTable captions;
  for (int i = 0; i < kLauncherEntryCount; ++i) captions[i].name = launcherMenuNames_[i];
  return BuildMainMenu(captions, notes_.HiddenEntries());
}

void ResidentShell::RefreshLauncherMenu() {
  for (int i = 0; i < kLauncherEntryCount; ++i) launcherMenuNames_[i] = launcher_[i].name;
}

void ResidentShell::Launch(int entry) {
  auto commandLine = LaunchCommandLine(launcher_[entry].path);
  if (!commandLine) return;
  auto outcome = system_.Run(*commandLine);
  if (outcome.result == System::RunResult::kNotFound)
    dialogs_.Message("ファイルが見つかりません。");
  else if (outcome.result == System::RunResult::kFailed)
    dialogs_.Message("プログラムを起動できませんでした。\r\n" + *commandLine + "\r\n（エラー " +
                     std::to_string(outcome.error) + "）");
}

void ResidentShell::Start() {
  if (!config_.Exists()) config_.EnsureDefaults(folders_.StartupFolder());
  TryAddTrayIcon();
  mailSchedule_.SetBusy(false);
  launcher_ = LoadLauncherTable(config_);
  RefreshLauncherMenu();
  notes_.RestoreNotes();
  // The interval is read straight from the file: loading the options window here would
  // rewrite its position keys, and an existing file must stay untouched at start-up.
  mailSchedule_.SwitchPeriodicCheck(IntervalEnablesPeriodicCheck(config_.ReadOption(keys::kMail, keys::kInterval)));
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
  int entry = OffsetIn(command, MenuCommand::kLaunchFirst, MenuCommand::kLaunchLast);
  if (entry >= 0) {
    Launch(entry);
    return;
  }
  switch (command) {
    case MenuCommand::kExit:
      Exit();
      break;
    case MenuCommand::kNewNote:
      editing_.NewNote();
      break;
    case MenuCommand::kOptions:
      options_.Open(OptionsPage::kGeneral);
      break;
    case MenuCommand::kMailSettings:
      options_.Open(OptionsPage::kMail, kMailSettingsSubPage);
      break;
    case MenuCommand::kLauncherSettings:
      options_.Open(OptionsPage::kLauncher);
      break;
    case MenuCommand::kNoteSettings:
      options_.Open(OptionsPage::kNotes);
      break;
    default:
      notes_.OnCommand(command);
      break;
  }
}

bool ResidentShell::OnCloseRequest() {
  if (mailSchedule_.Busy()) {
    dialogs_.Beep();
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
  if (retry)
    timers_.Start(TimerId::kTrayRetry, kTrayRetryInterval);
  else
    timers_.Stop(TimerId::kTrayRetry);
}

}  // namespace vq
