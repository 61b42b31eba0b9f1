#include "Driver.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include <commctrl.h>

#include "win/base/WindowNames.h"

#ifndef VQ_EXE_DEFAULT
#define VQ_EXE_DEFAULT L""
#endif

namespace e2e {

namespace {

constexpr Millis kPollInterval = 20ms;

std::wstring EnvOr(const wchar_t* name, const wchar_t* fallback) {
  wchar_t buffer[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
  return n > 0 && n < std::size(buffer) ? std::wstring(buffer, n) : std::wstring(fallback);
}

std::wstring ProgramUnderTest() { return EnvOr(L"VQ_EXE", VQ_EXE_DEFAULT); }

std::wstring TempRoot() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  return std::wstring(buffer, n);
}

std::wstring ClassName(HWND hwnd) {
  wchar_t buffer[256];
  int n = GetClassNameW(hwnd, buffer, 256);
  return std::wstring(buffer, n > 0 ? n : 0);
}

std::string Convert(const std::string& in, UINT from, UINT to) {
  if (in.empty()) return {};
  int wn = MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wn), L'\0');
  MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), wide.data(), wn);
  int n = WideCharToMultiByte(to, 0, wide.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
}

struct EnumState {
  DWORD pid;
  std::vector<WindowInfo>* out;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (state->pid == 0 || pid == state->pid) state->out->push_back(DescribeWindow(hwnd));
  return TRUE;
}

BOOL CALLBACK CountTrayIcons(HWND hwnd, LPARAM param) {
  std::wstring cls = ClassName(hwnd);
  if (cls == L"__winex11_tray_icon" || cls == L"__wine_tray_icon") ++*reinterpret_cast<int*>(param);
  return TRUE;
}

BOOL CALLBACK CountTrayIconsBelow(HWND hwnd, LPARAM param) {
  CountTrayIcons(hwnd, param);
  EnumChildWindows(hwnd, CountTrayIcons, param);
  return TRUE;
}

void SendInputs(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT MouseInput(DWORD flags, int x, int y) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((x * 65535.0) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = static_cast<LONG>((y * 65535.0) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return in;
}

}  // namespace

std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH * 2];
  DWORD n = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
  std::wstring path(self, n);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

std::wstring EnvironmentText(const wchar_t* name) { return EnvOr(name, L""); }

bool WaitUntil(const std::function<bool()>& condition, Millis timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& utf16) {
  if (utf16.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string ToShiftJis(const std::string& utf8) { return Convert(utf8, CP_UTF8, 932); }
std::string FromShiftJis(const std::string& bytes) { return Convert(bytes, 932, CP_UTF8); }

// ---- ProgramFolder

ProgramFolder::ProgramFolder(const std::string& suffix) {
  static std::atomic<int> counter{0};
  std::wstring base = TempRoot() + L"vq-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (;;) {
    path_ = base + std::to_wstring(++counter) + (suffix.empty() ? L"" : L"-" + Widen(suffix)) + L"\\";
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a program folder");
  }
  std::wstring exe = ProgramUnderTest();
  if (!CopyFileW(exe.c_str(), Exe().c_str(), FALSE))
    throw std::runtime_error("cannot copy Vornquill2.exe from " + Narrow(exe));
}

ProgramFolder::~ProgramFolder() {
  for (const auto& name : Files()) {
    std::wstring file = File(name);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
  }
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(path_.c_str());
}

std::wstring ProgramFolder::File(const std::string& name) const { return path_ + Widen(name); }

void ProgramFolder::WriteBytes(const std::string& name, const std::string& bytes) const {
  HANDLE file =
      CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + name);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::optional<std::string> ProgramFolder::ReadBytes(const std::string& name) const { return ReadFileBytes(File(name)); }

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool ProgramFolder::Exists(const std::string& name) const {
  return GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ProgramFolder::Files(const std::string& inside) const {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path_ + (inside.empty() ? L"" : Widen(inside) + L"\\") + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Narrow(data.cFileName));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void ProgramFolder::SetFileReadOnly(const std::string& name, bool readOnly) const {
  SetFileAttributesW(File(name).c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

// ---- DPI

namespace {
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
}

ScreenDpi::ScreenDpi(DWORD dpi) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value, &size) ==
      ERROR_SUCCESS)
    before_ = value;
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

ScreenDpi::~ScreenDpi() {
  if (before_)
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &*before_, sizeof *before_);
  else
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
}

// ---- Windows

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[4096];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                           2000, &length))
    return {};
  return std::wstring(buffer, std::min<size_t>(length, std::size(buffer) - 1));
}

LRESULT Ask(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

bool IsChecked(HWND dialog, int id) { return Ask(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }

void EndLeftoverPrograms() {
  for (const auto& w : TopLevelWindows(0)) {
    if (w.className != vq::win::kMainWindowClass) continue;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = w.hwnd;
    data.uID = vq::win::kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, w.pid)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
}

WindowInfo DescribeWindow(HWND hwnd) {
  WindowInfo info;
  info.hwnd = hwnd;
  info.className = ClassName(hwnd);
  info.text = WindowText(hwnd);
  GetWindowRect(hwnd, &info.rect);
  info.visible = IsWindowVisible(hwnd) != FALSE;
  info.topmost = (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  GetWindowThreadProcessId(hwnd, &info.pid);
  return info;
}

std::vector<WindowInfo> TopLevelWindows(DWORD pid) {
  std::vector<WindowInfo> out;
  EnumState state{pid, &out};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return out;
}

std::vector<WindowInfo> ChildWindows(HWND parent) {
  std::vector<WindowInfo> out;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    out.push_back(DescribeWindow(child));
  return out;
}

bool PressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (!button) return false;
  return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

int TrayIconCount() {
  int count = 0;
  EnumWindows(CountTrayIconsBelow, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::vector<std::wstring> TrayIconTips() {
  // The tray keeps each icon's tip in a tooltip control of its own process; read them through
  // memory lent in that process.
  std::vector<std::wstring> tips;
  for (const auto& w : TopLevelWindows(0)) {
    HWND owner = GetWindow(w.hwnd, GW_OWNER);
    if (w.className != L"tooltips_class32" || !owner) continue;
    std::wstring ownerClass = ClassName(owner);
    if (ownerClass.find(L"tray") == std::wstring::npos && ownerClass.find(L"Tray") == std::wstring::npos) continue;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, w.pid);
    if (!process) continue;
    constexpr size_t kTextChars = 512;
    auto* remote = static_cast<BYTE*>(VirtualAllocEx(
        process, nullptr, sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    DWORD_PTR count = 0;
    SendMessageTimeoutW(w.hwnd, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    for (DWORD_PTR i = 0; remote && i < count; ++i) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.lpszText = reinterpret_cast<LPWSTR>(remote + sizeof info);
      wchar_t empty = 0;
      WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
      WriteProcessMemory(process, remote + sizeof info, &empty, sizeof empty, nullptr);
      DWORD_PTR ok = 0;
      SendMessageTimeoutW(w.hwnd, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &ok);
      wchar_t text[kTextChars] = L"";
      ReadProcessMemory(process, remote + sizeof info, text, sizeof text - sizeof(wchar_t), nullptr);
      if (ok) tips.emplace_back(text);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
  }
  return tips;
}

LRESULT SendWithRemoteBuffer(HWND window, UINT msg, WPARAM wp, void* buffer, size_t size) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 0;
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  DWORD_PTR result = 0;
  if (remote) {
    WriteProcessMemory(process, remote, buffer, size, nullptr);
    SendMessageTimeoutW(window, msg, wp, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &result);
    ReadProcessMemory(process, remote, buffer, size, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return static_cast<LRESULT>(result);
}

bool ClickTab(HWND tabControl, int index) {
  RECT r{};
  if (!SendWithRemoteBuffer(tabControl, TCM_GETITEMRECT, index, &r, sizeof r)) return false;
  MapWindowPoints(tabControl, nullptr, reinterpret_cast<POINT*>(&r), 2);
  // The first click on an inactive dialog may only activate it: click again if need be.
  for (int tries = 0; tries < 3; ++tries) {
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    if (WaitUntil([&] { return Ask(tabControl, TCM_GETCURSEL) == index; }, 1500ms)) return true;
  }
  return false;
}

void ClickWindow(HWND window, bool right) {
  RECT r = DescribeWindow(window).rect;
  ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, right);
}

bool ClickToClose(HWND window, HWND button) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!IsWindow(window)) return true;
    ClickWindow(button);
    if (WaitUntil([&] { return !IsWindow(window); }, 4s)) return true;
  }
  return !IsWindow(window);
}

bool TypeInto(HWND field, const std::wstring& text, std::optional<std::wstring> expected) {
  std::wstring want = expected.value_or(text);
  auto focused = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(field, nullptr), &info) && info.hwndFocus == field;
  };
  // A click now and then goes astray on its way through the display server, and a click still
  // on its way may put the caret back after the selection (the typing then lands beside the
  // old text, or a length limit refuses it): click again while the field has no focus, and
  // select and type again once the click is long done.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt == 0 || !focused()) {
      ClickWindow(field);
      WaitUntil(focused, 2s);
    }
    // Select everything, then type over it.
    Ask(field, EM_SETSEL, 0, -1);
    TypeText(text);
    if (WaitUntil([&] { return WindowText(field) == want; }, 3s)) return true;
  }
  return false;
}

// ---- POP3 test servers

namespace {

std::wstring ServerLogFile(const std::string& listener) {
  std::wstring folder = EnvironmentText(L"VQ_SERVER_LOG_DIR");
  return folder.empty() ? std::wstring() : folder + Widen(listener) + L".log";
}

}  // namespace

std::vector<ServerConnection> ServerLog(const std::string& listener) {
  std::vector<ServerConnection> connections;
  std::vector<unsigned long> numbers;  // the server counts its connections since it started
  std::wstring file = ServerLogFile(listener);
  if (file.empty()) return connections;
  std::ifstream in(file.c_str(), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("# connection ", 0) == 0) {
      // "# connection N" opens a connection, "# connection N <how>" notes on one.
      char* end = nullptr;
      unsigned long number = std::strtoul(line.c_str() + 13, &end, 10);
      std::string how = *end == ' ' ? std::string(end + 1) : std::string();
      if (how.empty()) {
        connections.emplace_back();
        numbers.push_back(number);
      } else if (how == "closed by client" || how == "reset by client" || how == "reset by server") {
        auto at = std::find(numbers.begin(), numbers.end(), number);
        if (at != numbers.end()) connections[at - numbers.begin()].ended = true;
      }
    } else if (line.empty() || line[0] != '#') {
      if (connections.empty()) connections.emplace_back();
      connections.back().commands.push_back(line);
    }
  }
  return connections;
}

void ClearServerLog(const std::string& listener) {
  std::wstring file = ServerLogFile(listener);
  if (!file.empty()) DeleteFileW(file.c_str());
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

std::vector<COLORREF> ScreenPixels(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFOHEADER header{sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (COLORREF& p : pixels) p = RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);  // blue, green, red, unused
  return pixels;
}

void SaveScreenshot(const std::string& name) {
  wchar_t folder[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"VQ_SCREENSHOTS", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  // What opened just now paints in its next few messages.
  std::this_thread::sleep_for(500ms);
  std::wstring path = folder;
  if (path[0] == L'/') {  // a Unix path: Wine's drive Z: is the Unix root
    std::replace(path.begin(), path.end(), L'/', L'\\');
    path = L"Z:" + path;
  }
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;  // top-down rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::string pixels(static_cast<size_t>(stride) * height, '\0');
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + pixels.size()), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof header};
  std::ofstream out((path + L"\\" + Widen(name) + L".bmp").c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

// ---- Input

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wScan = c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(down);
    inputs.push_back(up);
  }
  SendInputs(inputs);
}

void ClickAt(int x, int y, bool right) {
  DWORD downFlag = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  DWORD upFlag = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInputs({MouseInput(MOUSEEVENTF_MOVE, x, y), MouseInput(downFlag, x, y), MouseInput(upFlag, x, y)});
}

void Drag(int fromX, int fromY, int toX, int toY) {
  // A window dragged by its body runs the system's move loop, which measures the movement
  // from where the mouse is when the loop starts: press, wait for the loop, then move.
  POINT from{fromX, fromY};
  DWORD thread = GetWindowThreadProcessId(WindowFromPoint(from), nullptr);
  auto inMoveLoop = [thread] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
  };
  SendInputs({MouseInput(MOUSEEVENTF_MOVE, fromX, fromY), MouseInput(MOUSEEVENTF_LEFTDOWN, fromX, fromY)});
  bool moveLoop = WaitUntil(inMoveLoop, 2s);
  for (int step = 1; step <= 4; ++step) {
    int x = fromX + (toX - fromX) * step / 4, y = fromY + (toY - fromY) * step / 4;
    SendInputs({MouseInput(MOUSEEVENTF_MOVE, x, y)});
    WaitUntil(
        [&] {
          POINT at;
          return GetCursorPos(&at) && at.x == x && at.y == y;
        },
        1s);
  }
  SendInputs({MouseInput(MOUSEEVENTF_LEFTUP, toX, toY)});
  if (moveLoop) WaitUntil([&] { return !inMoveLoop(); }, 2s);
}

// ---- App

std::unique_ptr<App> App::Start(const ProgramFolder& folder, bool waitResident) {
  return StartExe(folder.Exe(), waitResident);
}

std::unique_ptr<App> App::StartExe(const std::wstring& exe, bool waitResident) {
  std::unique_ptr<App> app(new App());
  std::wstring commandLine = L"\"" + exe + L"\"";
  std::wstring elsewhere = TempRoot();  // not the program folder: the program must not depend on it
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, elsewhere.c_str(), &si,
                      &app->pi_))
    throw std::runtime_error("cannot start " + Narrow(exe));
  if (waitResident) {
    WaitForInputIdle(app->pi_.hProcess, 10000);
    if (!WaitUntil([&] { return app->MainWindow() != nullptr || !app->Running(); }))
      throw std::runtime_error("the program did not become resident");
    // Now, while the program idles: see MenuProbe.cpp.
    if (app->Running()) app->LoadProbe();
  }
  return app;
}

App::~App() {
  if (pi_.hProcess) {
    Kill();
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}

bool App::Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool App::WaitForExit(Millis timeout) const {
  return WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD App::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void App::Kill() {
  if (!Running()) return;
  // Take our icon away first, as the program would: a killed program leaves it behind.
  if (HWND main = MainWindow()) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = main;
    data.uID = vq::win::kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
  }
  TerminateProcess(pi_.hProcess, 1);
  WaitForExit(5s);
}

HWND App::MainWindow() const {
  for (const auto& w : TopLevelWindows(Pid()))
    if (w.className == vq::win::kMainWindowClass) return w.hwnd;
  return nullptr;
}

std::vector<WindowInfo> App::VisibleWindows(const std::wstring& className) const {
  std::vector<WindowInfo> out;
  for (auto& w : TopLevelWindows(Pid()))
    if (w.visible && w.className == className) out.push_back(w);
  return out;
}

void App::SendTrayMouse(UINT mouseMessage) const {
  PostMessageW(MainWindow(), vq::win::kTrayCallbackMessage, vq::win::kTrayIconId, mouseMessage);
}

std::optional<MessageBoxInfo> App::WaitForMessageBox(Millis timeout) const {
  std::optional<MessageBoxInfo> found;
  WaitUntil(
      [&] {
        for (const auto& w : TopLevelWindows(Pid())) {
          if (w.className != L"#32770" || !w.visible) continue;
          MessageBoxInfo box;
          box.hwnd = w.hwnd;
          box.title = w.text;
          for (const auto& child : ChildWindows(w.hwnd)) {
            int id = GetDlgCtrlID(child.hwnd);
            if (child.className == L"Button") box.buttons.push_back(id);
            if (child.className == L"Static") {
              LONG style = GetWindowLongW(child.hwnd, GWL_STYLE);
              if ((style & SS_TYPEMASK) == SS_ICON) {
                DWORD_PTR icon = 0;
                SendMessageTimeoutW(child.hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
                box.hasIcon = box.hasIcon || (child.visible && icon != 0);
              } else if (id == 0xFFFF) {
                box.text = child.text;
              }
            }
          }
          found = box;
          return true;
        }
        return false;
      },
      timeout);
  return found;
}

bool App::NoMessageBoxFor(Millis time) const { return !WaitForMessageBox(time).has_value(); }

HWND App::MenuWindow() const {
  for (const auto& w : TopLevelWindows(Pid()))
    if (w.className == L"#32768" && w.visible) return w.hwnd;
  return nullptr;
}

bool App::WaitForMenu(Millis timeout) const {
  return WaitUntil([&] { return MenuWindow() != nullptr; }, timeout);
}

bool App::WaitForNoMenu(Millis timeout) const {
  return WaitUntil([&] { return MenuWindow() == nullptr; }, timeout);
}

void App::LoadProbe() const {
  if (remoteProbe_) return;
  static const std::wstring probe = BesideThisProgram(L"vq_menuprobe.dll");
  size_t bytes = (probe.size() + 1) * sizeof(wchar_t);
  void* remote = VirtualAllocEx(pi_.hProcess, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(pi_.hProcess, remote, probe.c_str(), bytes, nullptr);
  // kernel32 sits at the same address in every process, so our LoadLibraryW is theirs too.
  auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  HANDLE thread = CreateRemoteThread(pi_.hProcess, nullptr, 0, loadLibrary, remote, 0, nullptr);
  if (thread) {
    WaitForSingleObject(thread, 10000);
    GetExitCodeThread(thread, &remoteProbe_);
    CloseHandle(thread);
  }
  VirtualFreeEx(pi_.hProcess, remote, 0, MEM_RELEASE);
  if (!remoteProbe_) throw std::runtime_error("cannot load the menu probe into the program");
}

std::string App::ProbeDump(const char* function) const {
  LoadProbe();
  std::wstring output = TempRoot() + L"vq-menus-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  DeleteFileW(output.c_str());
  std::wstring question = (std::string_view(function) == "DumpTexts" ? L"T" : L"M") + output;
  std::wstring pipe = L"\\\\.\\pipe\\vq-probe-" + std::to_wstring(Pid());
  DWORD answer = 1, got = 0;
  // The probe's thread makes its pipe soon after the probe is loaded.
  WaitUntil([&] {
    return CallNamedPipeW(pipe.c_str(), question.data(), static_cast<DWORD>(question.size() * sizeof(wchar_t)), &answer,
                          sizeof answer, &got, 10000);
  });

  std::ifstream file(output.c_str(), std::ios::binary);
  std::stringstream dump;
  dump << file.rdbuf();
  file.close();
  DeleteFileW(output.c_str());
  return dump.str();
}

std::vector<OpenMenu> App::OpenMenus() const {
  std::vector<OpenMenu> menus;
  std::istringstream in(ProbeDump("DumpMenus"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("menu ", 0) == 0) {
      OpenMenu menu;
      std::istringstream fields(line.substr(5));
      fields >> menu.rect.left >> menu.rect.top >> menu.rect.right >> menu.rect.bottom;
      menus.push_back(menu);
    } else if (line.rfind("item ", 0) == 0 && !menus.empty()) {
      auto space = line.find(' ', 5);
      std::string flags = line.substr(5, space - 5);
      MenuItemInfo item;
      item.caption = space == std::string::npos ? "" : line.substr(space + 1);
      item.separator = flags.find('S') != std::string::npos;
      item.submenu = flags.find('P') != std::string::npos;
      item.checked = flags.find('C') != std::string::npos;
      item.highlighted = flags.find('H') != std::string::npos;
      menus.back().items.push_back(item);
    }
  }
  return menus;
}

std::vector<MenuBarItem> App::MenuBar(HWND window) const {
  std::vector<MenuBarItem> items;
  std::istringstream in(ProbeDump("DumpMenus"));
  std::string line;
  bool ours = false;
  while (std::getline(in, line)) {
    if (line.rfind("bar ", 0) == 0) {
      ours = std::stoul(line.substr(4)) == reinterpret_cast<UINT_PTR>(window);
    } else if (ours && line.rfind("baritem ", 0) == 0) {
      MenuBarItem item;
      std::istringstream fields(line.substr(8));
      fields >> item.rect.left >> item.rect.top >> item.rect.right >> item.rect.bottom;
      fields.get();
      std::getline(fields, item.caption);
      items.push_back(item);
    }
  }
  return items;
}

std::map<HWND, SIZE> App::TextSizes() const {
  std::map<HWND, SIZE> sizes;
  std::istringstream in(ProbeDump("DumpTexts"));
  std::string word;
  unsigned long hwnd = 0;
  SIZE size{};
  while (in >> word >> hwnd >> size.cx >> size.cy)
    if (word == "text") sizes[reinterpret_cast<HWND>(static_cast<UINT_PTR>(hwnd))] = size;
  return sizes;
}

bool App::ClickMenuBar(HWND window, const std::string& caption, const std::function<bool()>& opened) const {
  for (const auto& item : MenuBar(window)) {
    if (item.caption != caption) continue;
    for (int attempt = 0; attempt < 3; ++attempt) {
      ClickAt((item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2);
      if (!opened || WaitUntil(opened, 4s)) return true;
    }
    return false;
  }
  return false;
}

void App::PostKeyToMenu(UINT vk) const {
  HWND menu = MenuWindow();
  LPARAM lp = 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16);
  PostMessageW(menu, WM_KEYDOWN, vk, lp);
  PostMessageW(menu, WM_KEYUP, vk, lp | (1u << 30) | (1u << 31));
}

bool App::ChooseMenuItem(const std::vector<std::string>& captions) const {
  for (size_t level = 0; level < captions.size(); ++level) {
    std::vector<OpenMenu> menus;
    if (!WaitUntil([&] { return (menus = OpenMenus()).size() == level + 1; })) return false;
    const auto& items = menus.front().items;
    int target = -1;
    for (size_t i = 0; i < items.size(); ++i)
      if (!items[i].separator && items[i].caption == captions[level]) target = static_cast<int>(i);
    if (target < 0) return false;
    auto highlighted = [&]() {
      auto now = OpenMenus();
      if (now.size() != level + 1) return -2;
      for (size_t i = 0; i < now.front().items.size(); ++i)
        if (now.front().items[i].highlighted) return static_cast<int>(i);
      return -1;
    };
    // A key that arrives before the menu's own loop runs is lost: press again when nothing
    // moved. Down wraps around, so overshooting only costs a round.
    int now = highlighted();
    for (int presses = 0; now != target; ++presses) {
      if (presses > 3 * static_cast<int>(items.size()) + 3) return false;
      PostKeyToMenu(VK_DOWN);
      int before = now;
      WaitUntil([&] { return (now = highlighted()) != before; }, 1s);
    }
    bool last = level + 1 == captions.size();
    PostKeyToMenu(last ? VK_RETURN : VK_RIGHT);
    if (!last) {
      for (int tries = 0; tries < 3 && !WaitUntil([&] { return OpenMenus().size() == level + 2; }, 2s); ++tries)
        PostKeyToMenu(VK_RIGHT);
    }
  }
  return true;
}

void App::CloseMenus() const {
  auto openCount = [&] {
    int n = 0;
    for (const auto& w : TopLevelWindows(Pid())) n += w.className == L"#32768" && w.visible;
    return n;
  };
  // Escape closes the innermost menu only.
  for (int n = openCount(); n > 0; n = openCount()) {
    PostKeyToMenu(VK_ESCAPE);
    if (!WaitUntil([&] { return openCount() < n; }, 2s)) return;
  }
}

}  // namespace e2e
