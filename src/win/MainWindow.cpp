#include "MainWindow.h"

#include "EditorWindow.h"
#include "NoteWindow.h"
#include "OptionsDialog.h"
#include "TimerDialog.h"
#include "PopupMenu.h"
#include "ProgramFolder.h"
#include "WindowNames.h"
#include "res/resource.h"

namespace vq::win {

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      profile_(ProgramFolder(), L"Vornquill"),
      noteFiles_(ProgramFolder()),
      shell_(ShellPorts{profile_, folders_, *this, *this, noteFiles_, *this, *this, *this, system_, clock_, dialogs_}) {}

bool MainWindow::Create() {
  icon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                        GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = BoundWindowProc<MainWindow>;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
  wc.hIconSm = icon_;
  wc.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&wc) || !NoteWindow::RegisterClass(instance_) || !EditorWindow::RegisterClass(instance_) ||
      !TimerDialog::RegisterClass(instance_) || !OptionsDialog::RegisterClass(instance_))
    return false;

  // A top-level window rather than a message-only one: Explorer broadcasts "TaskbarCreated"
  // to top-level windows only.
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, kProductName, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                          instance_, this);
  if (!hwnd_) return false;
  dialogs_.SetOwner(hwnd_);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  tray_ = std::make_unique<TrayIcon>(hwnd_, icon_, kProductName);
  shell_.Start();
  return true;
}

bool MainWindow::AddTrayIcon() { return tray_->Add(); }

void MainWindow::RemoveTrayIcon() { tray_->Remove(); }

std::optional<MenuCommand> MainWindow::PopupMenu(const Menu& menu) { return TrackMenu(hwnd_, menu); }

std::unique_ptr<NoteView> MainWindow::CreateNoteView(NoteBoard& board) {
  return std::make_unique<NoteWindow>(instance_, board, fonts_);
}

std::unique_ptr<EditorView> MainWindow::CreateEditorView(NoteEditing& editing) {
  return std::make_unique<EditorWindow>(instance_, editing, fonts_, clock_);
}

std::unique_ptr<OptionsView> MainWindow::CreateOptionsView(OptionsController& controller) {
  return std::make_unique<OptionsDialog>(instance_, controller, fonts_);
}

void MainWindow::EndProgram() { ExitProcess(0); }

void MainWindow::Start(TimerId id, std::chrono::milliseconds every) {
  ::SetTimer(hwnd_, static_cast<UINT_PTR>(id), static_cast<UINT>(every.count()), nullptr);
}

void MainWindow::Stop(TimerId id) { KillTimer(hwnd_, static_cast<UINT_PTR>(id)); }

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kTrayCallbackMessage:
      shell_.OnTrayMouse(LOWORD(lp));
      return 0;
    case WM_TIMER:
      shell_.OnTimer(static_cast<TimerId>(wp));
      return 0;
    case WM_CLOSE:
      shell_.OnCloseRequest();
      return 0;
    case WM_QUERYENDSESSION:
      return shell_.OnCloseRequest() ? TRUE : FALSE;
  }
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // Explorer restarts drop every tray icon and broadcast "TaskbarCreated"; add ours again.
    shell_.OnTaskbarCreated();
    return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace vq::win
