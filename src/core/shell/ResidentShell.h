#pragma once
#include <chrono>

#include "base/Menu.h"
#include "base/TimerId.h"
#include "config/Config.h"
#include "editor/NoteEditing.h"
#include "launcher/Launcher.h"
#include "mail/check/MailCheckDriver.h"
#include "mail/settings/MailSchedule.h"
#include "notes/NoteBoard.h"
#include "options/OptionsController.h"
#include "ports/Clock.h"
#include "ports/Desktop.h"
#include "ports/Dialogs.h"
#include "ports/NoteFiles.h"
#include "ports/ProfileFile.h"
#include "ports/SecurityLayer.h"
#include "ports/Socket.h"
#include "ports/System.h"
#include "ports/Timers.h"
#include "ports/Tray.h"
#include "ports/UserFolders.h"
#include "windows/WindowOperations.h"

namespace vq::shell {

// Mouse messages the shell reports for the tray icon (the Windows message numbers).
enum class TrayMouse : int {
  kMove = 0x200,
  kLeftPress = 0x201,
  kLeftRelease = 0x202,
  kLeftDoubleClick = 0x203,
  kRightPress = 0x204,
  kRightRelease = 0x205,
  kRightDoubleClick = 0x206,
};

// What a tray mouse message led to.
enum class TrayResponse { kIgnored, kMenuShown, kToggleMinimiseAll, kCheckMail };

// The double-click on the tray icon toggles minimise-all only when "b7" reads exactly "True".
TrayResponse ChooseDoubleClickAction(const Config& config);

// Everything the resident program needs from the platform.
struct ShellPorts {
  ProfileFile& profile;
  UserFolders& folders;
  Tray& tray;
  Timers& timers;
  NoteFiles& noteFiles;
  notes::NoteViewFactory& noteViews;
  editor::EditorViewFactory& editorViews;
  options::OptionsViewFactory& optionsViews;
  mail::MailResultViewFactory& mailViews;
  std::array<Socket*, kAccountCount> sockets;                // one per mail account
  std::array<SecurityLayer*, kAccountCount> securityLayers;  // the same
  Desktop& desktop;
  System& system;
  Clock& clock;
  Dialogs& dialogs;
};

// The program while it is resident: the start-up order, the tray icon and its menu, and the
// routing of commands, note presses and timer ticks to the features that own them.
class ResidentShell : public notes::NoteEvents {
 public:
  // The shell keeps asking for the tray icon this often, this many times, when the taskbar is
  // not there yet (a start at logon).
  static constexpr std::chrono::milliseconds kTrayRetryInterval{2000};
  static constexpr int kTrayRetryLimit = 60;

  explicit ResidentShell(const ShellPorts& ports);

  // Everything after the single-instance check, in order: defaults, tray icon, launcher,
  // notes, periodic mail check.
  void Start();

  TrayResponse OnTrayMouse(int mouseMessage);
  void OnCommand(MenuCommand command);
  // A close request from Windows (log-off, shutdown, WM_CLOSE). False when it was refused.
  bool OnCloseRequest();
  // Explorer restarted and dropped every tray icon.
  void OnTaskbarCreated();
  void OnTimer(TimerId timer);

  void OnNotePress(notes::NoteView& view, notes::MouseButton button) override;
  void OnCountdownTick(notes::NoteView& view) override;

  // Reads the peeled notes' folder, which the menu's choice then refers to.
  Menu MainMenu();
  // For tests: the busy flag, which only a running session or the options dialog changes.
  mail::MailSchedule& MailSchedule() { return mailSchedule_; }

 private:
  void TryAddTrayIcon();
  void Exit();

  Config config_;
  UserFolders& folders_;
  Tray& tray_;
  Timers& timers_;
  System& system_;
  Dialogs& dialogs_;

  bool trayIconShown_ = false;
  int trayRetries_ = 0;
  launcher::Launcher launcher_;
  mail::MailSchedule mailSchedule_;
  notes::NoteBoard notes_;
  editor::NoteEditing editing_;
  options::OptionsController options_;
  mail::MailCheckDriver mail_;
  windows::WindowOperations windows_;
};

}  // namespace vq::shell
