#include "win/app/App.h"

#include "base/Addresses.h"
#include "shell/ShellMessages.h"
#include "win/editor/EditorWindow.h"
#include "win/editor/TimerDialog.h"
#include "win/mail/MailWindow.h"
#include "win/notes/NoteWindow.h"
#include "win/options/OptionsDialog.h"
#include "win/platform/ProgramFolder.h"
#include "win/base/StartupProfile.h"

namespace vq::win {

App::App(HINSTANCE instance)
    : instance_(instance),
      folder_(ProgramFolder()),
      profile_(folder_, L"Vornquill"),
      noteFiles_(folder_),
      system_(folder_),
      mainWindow_(instance, monitors_),
      shell_(shell::ShellPorts{profile_, folders_, mainWindow_, mainWindow_, noteFiles_, *this, *this, *this, *this,
                               AddressesOf<Socket>(sockets_), AddressesOf<SecurityLayer>(tlsLayers_), desktop_, system_,
                               clock_, dialogs_}) {}

bool App::Start() {
  VQ_PROFILE(kStart);
  VQ_PROFILE_REPORT();
  if (!mainWindow_.Create(shell_)) {
    // No tray icon would ever show that the program ran: it says why it ends.
    const DWORD error = GetLastError();
    dialogs_.Message(shell::StartFailedMessage(error), nullptr);
    return false;
  }
  dialogs_.SetOwner(mainWindow_.Handle());
  shell_.Start();
  return true;
}

std::unique_ptr<notes::NoteView> App::CreateNoteView(notes::NoteEvents& events) {
  return std::make_unique<NoteWindow>(instance_, mainWindow_.Handle(), events, fonts_, monitors_);
}

std::unique_ptr<editor::EditorView> App::CreateEditorView(editor::NoteEditing& editing) {
  return std::make_unique<EditorWindow>(instance_, editing, fonts_);
}

std::unique_ptr<editor::TimerDialogView> App::CreateTimerDialogView(editor::NoteEditing& editing) {
  return std::make_unique<TimerDialog>(instance_, editing, fonts_, clock_);
}

std::unique_ptr<options::OptionsView> App::CreateOptionsView(options::OptionsController& controller) {
  return std::make_unique<OptionsDialog>(instance_, controller, fonts_);
}

std::unique_ptr<mail::MailResultView> App::CreateMailResultView(mail::MailResult& controller,
                                                                const WindowPlace& stored) {
  return std::make_unique<MailWindow>(instance_, controller, fonts_, stored);
}

}  // namespace vq::win
