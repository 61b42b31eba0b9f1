#pragma once
#include <windows.h>

#include <memory>

#include "BoundWindow.h"
#include "FontCache.h"
#include "TrayIcon.h"
#include "WinNoteFiles.h"
#include "WinProfileFile.h"
#include "WinServices.h"
#include "WinUserFolders.h"
#include "WinSystem.h"
#include "ports/HostWindow.h"
#include "ports/Timers.h"
#include "shell/ResidentShell.h"

namespace vq::win {

// The hidden main window: it owns the tray icon and the popup menus and turns window
// messages into calls on the resident shell. It is never shown.
class MainWindow : public HostWindow, public Timers, public NoteViewFactory, public EditorViewFactory, public OptionsViewFactory {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override = default;

  // Creates the window and runs the start-up. False when the window could not be created.
  bool Create();

  bool AddTrayIcon() override;
  void RemoveTrayIcon() override;
  std::optional<MenuCommand> PopupMenu(const Menu& menu) override;
  void EndProgram() override;
  void Start(TimerId id, std::chrono::milliseconds every) override;
  void Stop(TimerId id) override;

  std::unique_ptr<NoteView> CreateNoteView(NoteBoard& board) override;
  std::unique_ptr<EditorView> CreateEditorView(NoteEditing& editing) override;
  std::unique_ptr<OptionsView> CreateOptionsView(OptionsController& controller) override;

 private:
  template <typename T>
  friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  HICON icon_ = nullptr;
  UINT taskbarCreated_ = 0;
  std::unique_ptr<TrayIcon> tray_;
  WinProfileFile profile_;
  WinUserFolders folders_;
  WinNoteFiles noteFiles_;
  WinClock clock_;
  WinDialogs dialogs_;
  WinSystem system_;
  FontCache fonts_;
  ResidentShell shell_;
};

}  // namespace vq::win
