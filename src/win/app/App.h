#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "shell/ResidentShell.h"
#include "win/base/FontCache.h"
#include "win/mail/SchannelLayer.h"
#include "win/mail/WinSocket.h"
#include "win/platform/WinNoteFiles.h"
#include "win/platform/WinProfileFile.h"
#include "win/platform/WinServices.h"
#include "win/platform/WinSystem.h"
#include "win/platform/WinUserFolders.h"
#include "win/shell/MainWindow.h"
#include "win/windows/WinDesktop.h"

namespace vq::win {

// The program put together: the platform's adapters, the windows that show each feature, and
// the resident shell that drives them.
class App : public notes::NoteViewFactory,
            public editor::EditorViewFactory,
            public options::OptionsViewFactory,
            public mail::MailResultViewFactory {
 public:
  explicit App(HINSTANCE instance);

  // Registers the window classes, creates the hidden main window and runs the start-up.
  // False, once a message box has said what failed, when the main window could not be made.
  bool Start();

  std::unique_ptr<notes::NoteView> CreateNoteView(notes::NoteEvents& events) override;
  std::unique_ptr<editor::EditorView> CreateEditorView(editor::NoteEditing& editing) override;
  std::unique_ptr<editor::TimerDialogView> CreateTimerDialogView(editor::NoteEditing& editing) override;
  std::unique_ptr<options::OptionsView> CreateOptionsView(options::OptionsController& controller) override;
  std::unique_ptr<mail::MailResultView> CreateMailResultView(mail::MailResult& controller,
                                                             const WindowPlace& stored) override;

 private:
  HINSTANCE instance_;
  std::wstring folder_;  // the program's folder, with its trailing backslash
  WinProfileFile profile_;
  WinUserFolders folders_;
  WinNoteFiles noteFiles_;
  WinClock clock_;
  WinDialogs dialogs_;
  WinSystem system_;
  FontCache fonts_;
  MonitorLayout monitors_;
  WinDesktop desktop_;
  std::array<WinSocket, kAccountCount> sockets_;
  std::array<SchannelLayer, kAccountCount> tlsLayers_;
  MainWindow mainWindow_;
  shell::ResidentShell shell_;
};

}  // namespace vq::win
