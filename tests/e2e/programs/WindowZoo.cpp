// Top-level windows of every kind the window operations must tell apart, for tests that drive
// them from outside. Each argument opens one window, in order:
//
//   app=TITLE         an ordinary application window
//   untitled=TAG      an application window without a title (the tag names it in the log only)
//   owned=TITLE       a window owned by a hidden window of this program (as the notes are)
//   hidden=TITLE      a window that is never shown
//   progman=TITLE     a window of class "Progman", as the desktop's program manager
//   tool=TITLE        a tool window: no taskbar button
//   fixed=TITLE       a window without a minimise box
//   maximised=TITLE   an application window shown maximised
//   nominimise=TITLE  a window that ignores the request to minimise (SC_MINIMIZE)
//   noclose=TITLE     a window that ignores the request to close (WM_CLOSE)
//   hung=TITLE        a window whose thread stops answering once it is shown
//
// Options, anywhere among them:
//   --after=MS        the windows named after it open MS milliseconds after the start
//   --log=PATH        appends one UTF-8 line per request a window receives: "minimise TITLE",
//                     "restore TITLE", "close TITLE" (SC_CLOSE, as from its close button), "activate TITLE"
//
// Windows are cascaded from the top left, each 320 x 200. The class of a window is
// "VqZoo." followed by its kind, so a test finds an untitled one by its class. The program ends
// when its last window that can close has closed; a test ends it by its process handle.
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Spec {
  std::wstring kind;
  std::wstring title;
  DWORD delay = 0;
};

struct ZooWindow {
  std::wstring kind;
  std::wstring name;
};

HINSTANCE instance;
HANDLE logFile = INVALID_HANDLE_VALUE;
HWND hiddenOwner;
std::vector<Spec> later;  // each opened by its own timer, numbered from kFirstLaterTimer
int pendingLater = 0;
int openWindows = 0;  // windows that can still close; the zoo ends with the last one
int placed = 0;
constexpr UINT_PTR kFirstLaterTimer = 100;

void Log(const std::wstring& what, const std::wstring& name) {
  if (logFile == INVALID_HANDLE_VALUE) return;
  std::wstring line = what + L" " + name + L"\n";
  int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), n, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(logFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

ZooWindow* Of(HWND window) { return reinterpret_cast<ZooWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

LRESULT CALLBACK ZooProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  ZooWindow* zoo = Of(window);
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case WM_SYSCOMMAND:
      if (!zoo) break;
      if ((wp & 0xFFF0) == SC_MINIMIZE) {
        Log(L"minimise", zoo->name);
        if (zoo->kind == L"nominimise") return 0;
      } else if ((wp & 0xFFF0) == SC_RESTORE || (wp & 0xFFF0) == SC_CLOSE) {
        Log((wp & 0xFFF0) == SC_CLOSE ? L"close" : L"restore", zoo->name);
      }
      break;
    case WM_ACTIVATE:
      if (zoo && LOWORD(wp) != WA_INACTIVE) Log(L"activate", zoo->name);
      break;
    case WM_CLOSE:
      if (zoo && zoo->kind == L"noclose") return 0;
      break;
    case WM_NCDESTROY:
      delete zoo;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      if (--openWindows == 0 && pendingLater == 0) PostQuitMessage(0);
      break;
  }
  return DefWindowProcW(window, msg, wp, lp);
}

void RegisterKind(const std::wstring& className) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, className.c_str(), &wc)) return;
  wc.lpfnWndProc = ZooProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className.c_str();
  RegisterClassExW(&wc);
}

// Only the main thread counts open windows; a hung window is never counted, as it never closes.
HWND Create(const Spec& spec, bool counted) {
  std::wstring className = spec.kind == L"progman" ? L"Progman" : L"VqZoo." + spec.kind;
  RegisterKind(className);
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  HWND owner = nullptr;
  if (spec.kind == L"fixed") style &= ~WS_MINIMIZEBOX;
  if (spec.kind == L"tool") exStyle |= WS_EX_TOOLWINDOW;
  if (spec.kind == L"owned") owner = hiddenOwner;
  const wchar_t* title = spec.kind == L"untitled" ? L"" : spec.title.c_str();
  int offset = 30 * (placed++ % 16);
  auto* zoo = new ZooWindow{spec.kind, spec.title};
  HWND window = CreateWindowExW(exStyle, className.c_str(), title, style, 40 + offset, 40 + offset, 320, 200, owner,
                                nullptr, instance, zoo);
  if (!window) {
    delete zoo;
    return nullptr;
  }
  if (counted) ++openWindows;
  if (spec.kind != L"hidden") ShowWindow(window, spec.kind == L"maximised" ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  return window;
}

// A hung window lives on a thread of its own, which shows it and then never looks at its
// messages again; the rest of the zoo goes on answering.
DWORD WINAPI HungThread(void* param) {
  auto* spec = static_cast<Spec*>(param);
  Create(*spec, false);
  delete spec;
  Sleep(INFINITE);
  return 0;
}

void Open(const Spec& spec) {
  if (spec.kind == L"hung") {
    HANDLE thread = CreateThread(nullptr, 0, HungThread, new Spec(spec), 0, nullptr);
    if (thread) CloseHandle(thread);
    return;
  }
  Create(spec, true);
}

void CALLBACK OpenLater(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  --pendingLater;
  Open(later[timer - kFirstLaterTimer]);
  if (openWindows == 0 && pendingLater == 0) PostQuitMessage(0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE self, HINSTANCE, PWSTR, int) {
  instance = self;
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return 1;
  RegisterKind(L"VqZoo.owner");
  hiddenOwner = CreateWindowExW(0, L"VqZoo.owner", L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

  std::vector<Spec> now;
  DWORD delay = 0;
  for (int i = 1; i < count; ++i) {
    std::wstring arg = args[i];
    if (arg.rfind(L"--after=", 0) == 0) {
      delay = static_cast<DWORD>(_wtoi(arg.c_str() + 8));
    } else if (arg.rfind(L"--log=", 0) == 0) {
      logFile = CreateFileW(arg.c_str() + 6, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (auto eq = arg.find(L'='); eq != std::wstring::npos) {
      Spec spec{arg.substr(0, eq), arg.substr(eq + 1), delay};
      (delay ? later : now).push_back(spec);
    }
  }
  LocalFree(args);
  for (const auto& spec : now) Open(spec);
  for (size_t i = 0; i < later.size(); ++i) SetTimer(hiddenOwner, kFirstLaterTimer + i, later[i].delay, OpenLater);
  pendingLater = static_cast<int>(later.size());
  if (openWindows == 0 && pendingLater == 0) return 0;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
