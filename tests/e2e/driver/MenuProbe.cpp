// Loaded into the program under test by the end-to-end driver. Menus and fonts live in the
// process that made them, so the open popup menus, and the sizes of texts in their controls'
// fonts, can only be read from inside it: this DLL writes them to a file the driver names.
//
// The driver loads it once, while the program idles, and then asks through a named pipe that a
// thread of the DLL serves. A thread started from outside for every question would do, but
// Wine starts such a thread from a signal handler, which deadlocks when the signal lands while
// the program's own thread is inside malloc (as when a key press first reaches the X input
// method in an open menu).
#include <windows.h>

#include <cstdio>

namespace {

void WriteUtf8(FILE* out, const wchar_t* text) {
  char buffer[1024];
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  if (n > 0) fputs(buffer, out);
}

struct Search {
  HWND windows[16];
  int count;
};

BOOL CALLBACK CollectMenuBar(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  HMENU bar = pid == GetCurrentProcessId() && IsWindowVisible(hwnd) ? GetMenu(hwnd) : nullptr;
  if (!bar) return TRUE;
  FILE* out = reinterpret_cast<FILE*>(param);
  fprintf(out, "bar %lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)));
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    wchar_t caption[256] = L"";
    GetMenuStringW(bar, static_cast<UINT>(i), caption, 255, MF_BYPOSITION);
    RECT r{};
    GetMenuItemRect(hwnd, bar, static_cast<UINT>(i), &r);
    fprintf(out, "baritem %ld %ld %ld %ld ", r.left, r.top, r.right, r.bottom);
    WriteUtf8(out, caption);
    fputc('\n', out);
  }
  return TRUE;
}

BOOL CALLBACK CollectMenuWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[16];
  if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && GetClassNameW(hwnd, cls, 16) &&
      lstrcmpW(cls, L"#32768") == 0 && search->count < 16)
    search->windows[search->count++] = hwnd;
  return TRUE;
}

}  // namespace

// The parameter is the output file's path (UTF-16, in this process). Each open menu, the most
// recently opened first, is written as "menu" followed by "item <flags> <caption>" lines, flags
// being S (separator), P (submenu), C (checked), H (highlighted), G (greyed); then each menu
// bar as "bar <hwnd>" followed by "baritem <left> <top> <right> <bottom> <caption>" lines.
extern "C" __declspec(dllexport) DWORD WINAPI DumpMenus(LPVOID param) {
  FILE* out = _wfopen(static_cast<const wchar_t*>(param), L"wb");
  if (!out) return 1;
  Search search{};
  EnumWindows(CollectMenuWindow, reinterpret_cast<LPARAM>(&search));
  for (int w = 0; w < search.count; ++w) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(search.windows[w], 0x01E1 /* MN_GETHMENU */, 0, 0, SMTO_BLOCK, 2000, &result);
    HMENU menu = reinterpret_cast<HMENU>(result);
    RECT r{};
    GetWindowRect(search.windows[w], &r);
    fprintf(out, "menu %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
      wchar_t caption[512] = L"";
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
      info.dwTypeData = caption;
      info.cch = 511;
      GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
      char flags[8] = "-";
      int f = 0;
      if (info.fType & MFT_SEPARATOR) flags[f++] = 'S';
      if (info.hSubMenu) flags[f++] = 'P';
      if (info.fState & MFS_CHECKED) flags[f++] = 'C';
      if (info.fState & MFS_HILITE) flags[f++] = 'H';
      if (info.fState & MFS_GRAYED) flags[f++] = 'G';
      if (f) flags[f] = '\0';
      fprintf(out, "item %s ", flags);
      WriteUtf8(out, caption);
      fputc('\n', out);
    }
  }
  // Menu bars of the process's windows, with the screen place of each item.
  EnumWindows(CollectMenuBar, reinterpret_cast<LPARAM>(out));
  fclose(out);
  return 0;
}

namespace {

BOOL CALLBACK MeasureChild(HWND child, LPARAM param) {
  FILE* out = reinterpret_cast<FILE*>(param);
  wchar_t text[512] = L"";
  int length = GetWindowTextW(child, text, 512);
  HDC dc = GetDC(child);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(child, WM_GETFONT, 0, 0, SMTO_BLOCK, 2000, &result);
  auto font = reinterpret_cast<HFONT>(result);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, text, length, &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(child, dc);
  fprintf(out, "text %lu %ld %ld\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(child)), size.cx,
          size.cy > metrics.tmHeight ? size.cy : metrics.tmHeight);
  return TRUE;
}

BOOL CALLBACK MeasureWindow(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd)) EnumChildWindows(hwnd, MeasureChild, param);
  return TRUE;
}

}  // namespace

// Each child control of the process's visible windows, with its text measured on one line in
// the control's own font: "text <hwnd> <width> <height>".
extern "C" __declspec(dllexport) DWORD WINAPI DumpTexts(LPVOID param) {
  FILE* out = _wfopen(static_cast<const wchar_t*>(param), L"wb");
  if (!out) return 1;
  EnumWindows(MeasureWindow, reinterpret_cast<LPARAM>(out));
  fclose(out);
  return 0;
}

namespace {

// Serves "\\.\pipe\vq-probe-<pid>": each question is 'M' (DumpMenus) or 'T' (DumpTexts) and
// the output file's path; the answer is the function's result.
DWORD WINAPI Serve(LPVOID) {
  wchar_t name[64];
  swprintf(name, 64, L"\\\\.\\pipe\\vq-probe-%lu", GetCurrentProcessId());
  for (;;) {
    HANDLE pipe = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1,
                                   4096, 4096, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return 1;
    if (ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) {
      wchar_t question[MAX_PATH + 2];
      DWORD got = 0;
      if (ReadFile(pipe, question, sizeof question - sizeof(wchar_t), &got, nullptr) && got >= sizeof(wchar_t)) {
        question[got / sizeof(wchar_t)] = L'\0';
        DWORD answer = question[0] == L'T' ? DumpTexts(question + 1) : DumpMenus(question + 1);
        DWORD written = 0;
        WriteFile(pipe, &answer, sizeof answer, &written, nullptr);
        FlushFileBuffers(pipe);
      }
      DisconnectNamedPipe(pipe);
    }
    CloseHandle(pipe);
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    if (HANDLE thread = CreateThread(nullptr, 0, Serve, nullptr, 0, nullptr)) CloseHandle(thread);
  }
  return TRUE;
}
