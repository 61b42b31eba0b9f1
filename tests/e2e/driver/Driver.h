#pragma once
// A small library for driving the real Vornquill2.exe as a user would: it prepares a program
// folder, starts the program, sends the tray icon's messages, reads and chooses popup-menu
// items, answers message boxes, types and clicks, and reads windows and files back.
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

inline constexpr Millis kDefaultWait = 10s;

// Polls until the condition holds or the deadline passes. Never a fixed sleep.
bool WaitUntil(const std::function<bool()>& condition, Millis timeout = kDefaultWait);

// A file that lies beside the test program (helper programs and DLLs built with it).
std::wstring BesideThisProgram(const wchar_t* name);
// A variable of the test bench's environment; empty when it is not set.
std::wstring EnvironmentText(const wchar_t* name);

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
// Shift-JIS (code page 932) bytes of a UTF-8 text, the way the program stores its files.
std::string ToShiftJis(const std::string& utf8);
std::string FromShiftJis(const std::string& bytes);

// A file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// A fresh temporary program folder holding a copy of Vornquill2.exe, removed at the end. Its
// name ends in `suffix` (UTF-8) when one is given.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& suffix = "");
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::string& name) const;
  std::wstring Exe() const { return File("Vornquill2.exe"); }
  void WriteBytes(const std::string& name, const std::string& bytes) const;
  std::optional<std::string> ReadBytes(const std::string& name) const;
  bool Exists(const std::string& name) const;
  // Names of the files in the folder, or in a folder inside it, sorted.
  std::vector<std::string> Files(const std::string& inside = "") const;
  void SetFileReadOnly(const std::string& name, bool readOnly) const;

 private:
  std::wstring path_;
};

// Programs started while it lives draw at this DPI (Wine's LogPixels setting); the setting
// comes back at its end. This test process keeps the DPI it started with.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD dpi);
  ~ScreenDpi();
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;

 private:
  std::optional<DWORD> before_;
};

struct WindowInfo {
  HWND hwnd = nullptr;
  std::wstring className;
  std::wstring text;
  RECT rect{};
  bool visible = false;
  bool topmost = false;
  DWORD pid = 0;
};

WindowInfo DescribeWindow(HWND hwnd);
// Top-level windows of the process, in z-order (topmost first).
std::vector<WindowInfo> TopLevelWindows(DWORD pid);
std::vector<WindowInfo> ChildWindows(HWND parent);
std::wstring WindowText(HWND hwnd);
// Sends a message to another process's window without ever waiting more than two seconds for
// it (a hung program must fail the test, not stall it). -1 when it did not answer.
LRESULT Ask(HWND window, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
bool IsChecked(HWND dialog, int id);
// Ends programs left running by an earlier test process that did not get to stop them (it
// timed out or crashed) and takes their tray icons away.
void EndLeftoverPrograms();

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring title;
  std::wstring text;
  std::vector<int> buttons;  // control IDs: IDOK, IDYES, IDNO ...
  bool hasIcon = false;
};

struct MenuItemInfo {
  std::string caption;  // UTF-8
  bool separator = false;
  bool submenu = false;
  bool checked = false;
  bool highlighted = false;
};
struct OpenMenu {
  RECT rect{};
  std::vector<MenuItemInfo> items;
};
struct MenuBarItem {
  RECT rect{};  // screen
  std::string caption;
};

// The program under test, started from a program folder.
class App {
 public:
  // Starts the program with a working directory other than its folder and waits until it
  // idles in its message loop.
  static std::unique_ptr<App> Start(const ProgramFolder& folder, bool waitResident = true);
  static std::unique_ptr<App> StartExe(const std::wstring& exe, bool waitResident = true);
  ~App();  // ends the process if it still runs

  DWORD Pid() const { return pi_.dwProcessId; }
  HANDLE Process() const { return pi_.hProcess; }
  bool Running() const;
  bool WaitForExit(Millis timeout = kDefaultWait) const;
  DWORD ExitCode() const;
  void Kill();

  HWND MainWindow() const;
  std::vector<WindowInfo> Windows() const { return TopLevelWindows(Pid()); }
  // Visible top-level windows of one class, in z-order.
  std::vector<WindowInfo> VisibleWindows(const std::wstring& className) const;

  // The tray icon's callback message, as the shell sends it for a mouse message.
  void SendTrayMouse(UINT mouseMessage) const;
  void RightPressTrayIcon() const { SendTrayMouse(WM_RBUTTONDOWN); }

  std::optional<MessageBoxInfo> WaitForMessageBox(Millis timeout = kDefaultWait) const;
  // True when no message box appears within the time.
  bool NoMessageBoxFor(Millis time) const;

  // The popup menus open in the program, the most recently opened first.
  std::vector<OpenMenu> OpenMenus() const;
  // The items of a window's menu bar, with their places on the screen.
  std::vector<MenuBarItem> MenuBar(HWND window) const;
  // The text of every control of the program's visible windows, measured on one line in the
  // control's own font, inside the program (fonts cannot be read from outside it).
  std::map<HWND, SIZE> TextSizes() const;
  // Clicks an item of a window's menu bar.
  // With opened, clicks again while opened() stays false: a click now and then goes astray.
  bool ClickMenuBar(HWND window, const std::string& caption, const std::function<bool()>& opened = {}) const;
  bool WaitForMenu(Millis timeout = kDefaultWait) const;
  bool WaitForNoMenu(Millis timeout = kDefaultWait) const;
  // Chooses an item of the open popup menu with the keyboard, following submenus by caption.
  bool ChooseMenuItem(const std::vector<std::string>& captions) const;
  void CloseMenus() const;

 private:
  App() = default;
  HWND MenuWindow() const;
  // Loads the menu probe into the program, once.
  void LoadProbe() const;
  // Runs a function of the probe DLL in the program and returns what it wrote.
  std::string ProbeDump(const char* function) const;
  void PostKeyToMenu(UINT vk) const;

  PROCESS_INFORMATION pi_{};
  mutable DWORD remoteProbe_ = 0;  // base of the menu probe in the program, once loaded
};

bool PressButton(HWND dialog, int id);

// Tray icons shown by the shell under Wine (every program's), and their tips.
int TrayIconCount();
std::vector<std::wstring> TrayIconTips();

// Sends a message whose lParam points at a buffer, to a window of another process: the buffer
// is lent in that process and copied back. Returns the message's result.
LRESULT SendWithRemoteBuffer(HWND window, UINT msg, WPARAM wp, void* buffer, size_t size);

// Clicks tab `index` of a tab control of another process.
bool ClickTab(HWND tabControl, int index);
// Clicks the middle of a window, and types into a text field (replacing its text).
void ClickWindow(HWND window, bool right = false);
// Clicks button until window is gone: a click now and then goes astray on its way through the
// display server. False when the window is still there after three clicks.
bool ClickToClose(HWND window, HWND button);
// Waits until the field shows `expected` (the typed text itself unless given).
bool TypeInto(HWND field, const std::wstring& text, std::optional<std::wstring> expected = std::nullopt);

// What one listener of the POP3 test servers received (tests/e2e/servers/README.md): one entry
// per connection, in order, with the command lines as received. `ended` once the client closed
// or reset it, or the server reset it: nothing more can come then.
struct ServerConnection {
  std::vector<std::string> commands;
  bool ended = false;
};
// The listener's log ("dovecot", "split-lines" ...) in the folder VQ_SERVER_LOG_DIR names.
std::vector<ServerConnection> ServerLog(const std::string& listener);
// Forgets what the listener received so far; its next connection starts a new log.
void ClearServerLog(const std::string& listener);

// The colour on the screen at a point, as COLORREF.
COLORREF ScreenPixel(int x, int y);
// The colours of a rectangle of the screen, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& r);
// Saves the whole screen as NAME.bmp in the folder VQ_SCREENSHOTS names, for a person to look at
// what a test saw; does nothing without that variable.
void SaveScreenshot(const std::string& name);

// Input as a user makes it.
void TypeText(const std::wstring& text);
void ClickAt(int x, int y, bool right = false);
void Drag(int fromX, int fromY, int toX, int toY);

}  // namespace e2e
