// Measures, under Wine, how long a tray program takes from CreateProcessW until its tray icon
// exists, and how much memory it holds once started. Each run starts a fresh copy of the program
// in a new empty folder, so runs are independent; the cases are interleaved so that any drift of
// the machine spreads over all of them alike.
//
// The note cases start Vornquill2 with 0, 50 and 101 sticky notes in its folder and time the
// start until every note window is on screen and the program is back in its message loop; what
// the time grows by per note is what a note costs. NoteFloor, which shows the same note windows
// without reading anything, is timed alike with 0 to 400 notes: the floor a note's cost is
// measured against. Each is timed twice: on the machine as it is, and with the other cores kept
// busy (see BusyCores).
//
// The menu cases time the tray menu: from the icon's right press until the menu is on screen,
// with an empty folder of peeled notes and with 10,000 of them.
//
//   StartupBench <runs> <Vornquill2.exe> <MinimalTray.exe> [<note runs> [<NoteFloor.exe> [<menu runs>]]]
//
// Prints one line per case (see PrintSummary and PrintNoteSummary) for bench/run.sh to turn into
// tables. A run count of 0 leaves that group of cases out.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "BenchNotes.h"

namespace {

constexpr DWORD kIconTimeoutMs = 30000;
constexpr DWORD kSettleMs = 500;       // idle time before memory is read
constexpr DWORD kStartSettleMs = 200;  // idle time before each start
constexpr wchar_t kIniName[] = L"Vornquill.ini";
constexpr wchar_t kMainClass[] = L"Vornquill2.MainWindow";
constexpr wchar_t kNoteClass[] = L"Vornquill2.Note";
constexpr wchar_t kFloorClass[] = L"NoteFloor.Window";
constexpr wchar_t kFloorNoteClass[] = L"NoteFloor.Note";
constexpr int kMostNotes = 101;  // Vornquill0 .. Vornquill100
constexpr wchar_t kPeeledFolder[] = L"はがした付箋紙";
constexpr UINT kTrayCallbackMessage = WM_APP + 1;  // as the program registers its icon

struct Case {
  std::string label;
  std::wstring exe;
  const wchar_t* windowClass;  // the hidden window that owns the tray icon
  UINT iconId;
  std::wstring seedIni;    // copied into the folder before the start, if not empty
  int notes = 0;           // note files written into the folder: Vornquill0 .. Vornquill<notes - 1>
  bool busyCores = false;  // time the start with BusyCores running
  const wchar_t* noteClass = kNoteClass;
  bool floor = false;  // NoteFloor: told the note count, given no files
};

struct Sample {
  double ms;
  double privateKb;
  double workingSetKb;
  double gdiObjects = 0;  // 0: not reported (a running GUI program always holds some)
  double userObjects = 0;
};

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }  // paths are ASCII here

// Wine's fallback tray (no tray on the X display) gives every icon a child window of one of
// these classes, inside a top-level "Wine System Tray" window.
BOOL CALLBACK CountIfTrayIcon(HWND hwnd, LPARAM count) {
  wchar_t cls[64];
  int n = GetClassNameW(hwnd, cls, 64);
  if (n > 0 && (lstrcmpW(cls, L"__winex11_tray_icon") == 0 || lstrcmpW(cls, L"__wine_tray_icon") == 0))
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountTrayIconsBelow(HWND hwnd, LPARAM count) {
  CountIfTrayIcon(hwnd, count);
  EnumChildWindows(hwnd, CountIfTrayIcon, count);
  return TRUE;
}

int TrayIconCount() {
  int count = 0;
  EnumWindows(CountTrayIconsBelow, reinterpret_cast<LPARAM>(&count));
  return count;
}

bool WaitForIconCount(int wanted, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (TrayIconCount() != wanted) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(1);
  }
  return true;
}

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

std::wstring NewFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  std::wstring folder =
      std::wstring(temp) + L"vq-bench-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
  if (!CreateDirectoryW(folder.c_str(), nullptr)) Fail("cannot create " + Narrow(folder));
  return folder + L"\\";
}

std::string ShiftJis(const std::wstring& text) {
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, &lossy);
  std::string bytes(static_cast<size_t>(std::max(n, 0)), '\0');
  if (n > 0)
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                        &lossy);
  if (n <= 0 || lossy) Fail("code page 932 cannot hold the note text");
  return bytes;
}

struct NoteFile {
  std::wstring name;
  std::string bytes;
};

// The record and text of note <n>, as the program keeps them: fifteen quoted values with CR LF,
// and the text with a final CR LF, both in Shift-JIS. The notes form a grid over a 1280x800
// screen (15 twips to the pixel at 96 dpi).
std::vector<NoteFile> NoteFiles(int n) {
  bench::BenchNote note = bench::BenchNoteAt(n);
  std::vector<std::wstring> values = {note.face,
                                      note.size,
                                      note.bold ? L"True" : L"False",
                                      L"False",
                                      note.backColour,
                                      L"&H0",
                                      L"True",
                                      std::to_wstring(note.topPx * 15),
                                      std::to_wstring(note.leftPx * 15),
                                      note.alarm ? L"2099" : L"",
                                      note.alarm ? L"12" : L"",
                                      note.alarm ? L"31" : L"",
                                      note.alarm ? L"23" : L"",
                                      note.alarm ? L"59" : L"",
                                      L"False"};
  std::wstring record;
  for (const std::wstring& value : values) record += L"\"" + value + L"\"\r\n";
  std::wstring stem = L"Vornquill" + std::to_wstring(n);
  return {{stem + L".hsn", ShiftJis(record)}, {stem + L".log", ShiftJis(note.text + L"\r\n")}};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot create " + Narrow(FileName(path)));
  DWORD written = 0;
  bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  if (!ok) Fail("cannot write " + Narrow(FileName(path)));
}

// Puts the program, the seed settings (if any) and the case's notes into a new folder; returns
// the copy's path.
std::wstring PrepareFolder(const Case& c) {
  static std::vector<NoteFile> notes;  // built once: the runs must not differ in what they read
  if (notes.empty())
    for (int n = 0; n < kMostNotes; ++n)
      for (NoteFile& f : NoteFiles(n)) notes.push_back(std::move(f));

  std::wstring folder = NewFolder();
  std::wstring exe = folder + FileName(c.exe);
  if (!CopyFileW(c.exe.c_str(), exe.c_str(), FALSE)) Fail("cannot copy " + Narrow(c.exe));
  if (!c.seedIni.empty() && !CopyFileW(c.seedIni.c_str(), (folder + kIniName).c_str(), FALSE))
    Fail("cannot copy " + Narrow(c.seedIni));
  for (size_t i = 0; !c.floor && i < 2 * static_cast<size_t>(c.notes); ++i)
    WriteBytes(folder + notes[i].name, notes[i].bytes);
  return exe;
}

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Takes the icon away the way the program would, then ends the process and waits until both
// the process and its icon are gone, so the next start meets a clean session.
void Stop(const Case& c, const PROCESS_INFORMATION& pi, int iconsBefore) {
  if (HWND owner = FindWindowW(c.windowClass, nullptr)) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = c.iconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
  }
  TerminateProcess(pi.hProcess, 0);
  bool ended = WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (!ended) Fail(c.label + ": the process did not end");
  if (!WaitForIconCount(iconsBefore, 10000)) Fail(c.label + ": the tray icon stayed after the end");
  DWORD since = GetTickCount();
  while (FindWindowW(c.noteClass, nullptr)) {
    if (GetTickCount() - since > 10000) Fail(c.label + ": note windows stayed after the end");
    Sleep(1);
  }
}

Sample RunOnce(const Case& c, std::wstring* folderOut = nullptr) {
  std::wstring exe = PrepareFolder(c);
  std::wstring folder = exe.substr(0, exe.size() - FileName(exe).size());
  if (folderOut) *folderOut = folder;
  std::wstring commandLine = L"\"" + exe + L"\"";
  int iconsBefore = TrayIconCount();
  // Every case starts from a settled session: the previous program's end (its windows, its
  // icon leaving the tray) is still being worked off by the shell and the X server for a while
  // after the process is gone, and a case that prepares less would otherwise meet more of it.
  Sleep(kStartSettleMs);

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  double start = Now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    Fail(c.label + ": CreateProcessW failed, error " + std::to_string(GetLastError()));
  std::string problem;
  while (TrayIconCount() <= iconsBefore) {
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) problem = "the program ended before its icon appeared";
    if (Now() - start > kIconTimeoutMs) problem = "no tray icon after 30 s";
    if (!problem.empty()) break;
    Sleep(1);
  }
  Sample sample{Now() - start, 0, 0};

  if (problem.empty()) {
    Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
      // Wine 8 leaves PrivateUsage at 0 for other processes but fills PagefileUsage, which
      // Windows defines as the same figure (the commit charge).
      sample.privateKb = (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1024.0;
      sample.workingSetKb = memory.WorkingSetSize / 1024.0;
    } else {
      problem = "GetProcessMemoryInfo failed, error " + std::to_string(GetLastError());
    }
  }
  Stop(c, pi, iconsBefore);
  if (!problem.empty()) Fail(c.label + ": " + problem);
  return sample;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t cls[64];
  int n = GetClassNameW(hwnd, cls, 64);
  return n > 0 ? std::wstring(cls, static_cast<size_t>(n)) : std::wstring();
}

BOOL CALLBACK AddToList(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(AddToList, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Follows one process's top-level windows while it starts. Under Wine every question about
// another process's window is a round trip to the wineserver, which the starting program needs
// too, so each window's owner and class are asked once, and a note once seen visible is not asked
// again (nothing hides a note during start-up). Polling stays cheap enough to run every
// millisecond without slowing the program down.
class WindowWatch {
 public:
  WindowWatch(DWORD pid, const wchar_t* noteClass) : pid_(pid), noteClass_(noteClass) {}

  void Poll() {
    visibleNotes_ = 0;
    dialog_ = nullptr;
    for (HWND hwnd : TopLevelWindows()) {
      auto [it, added] = seen_.try_emplace(hwnd);
      Seen& w = it->second;
      if (added) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == pid_) {
          std::wstring cls = ClassOf(hwnd);
          w.note = cls == noteClass_;
          w.dialog = cls == L"#32770";
        }
      }
      if ((w.note || w.dialog) && !w.visible) w.visible = IsWindowVisible(hwnd);
      if (w.note && w.visible) ++visibleNotes_;
      if (w.dialog && w.visible) dialog_ = hwnd;
    }
  }

  int VisibleNotes() const { return visibleNotes_; }
  HWND Dialog() const { return dialog_; }

  // Counted afresh, without the cache: what is on screen now.
  int VisibleNotesNow() const {
    int count = 0;
    for (HWND hwnd : TopLevelWindows()) {
      DWORD owner = 0;
      GetWindowThreadProcessId(hwnd, &owner);
      if (owner == pid_ && IsWindowVisible(hwnd) && ClassOf(hwnd) == noteClass_) ++count;
    }
    return count;
  }

 private:
  struct Seen {
    bool note = false;
    bool dialog = false;
    bool visible = false;
  };
  DWORD pid_;
  const wchar_t* noteClass_;
  std::map<HWND, Seen> seen_;
  int visibleNotes_ = 0;
  HWND dialog_ = nullptr;
};

// The text of a message box, for the error report: a note the program could not read stops the
// start at a message box, which would otherwise look like a slow start.
BOOL CALLBACK AppendStaticText(HWND child, LPARAM out) {
  wchar_t buffer[512];
  if (ClassOf(child) == L"Static" && GetWindowTextW(child, buffer, 512) > 0) {
    int n = WideCharToMultiByte(CP_UTF8, 0, buffer, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer, -1, utf8.data(), n, nullptr, nullptr);
    utf8.pop_back();
    auto& text = *reinterpret_cast<std::string*>(out);
    text += (text.empty() ? "" : " ") + utf8;
  }
  return TRUE;
}

std::string DialogText(HWND dialog) {
  std::string text;
  EnumChildWindows(dialog, AppendStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

// Keeps every core but one spinning while it exists. Under Wine a note costs the program many
// round trips to the wineserver and the X server, and on a virtual machine whose cores sleep
// between them each wake-up is slow: on a quiet 2-core machine that latency, not the program's
// work, makes up most of the time per note, and any load elsewhere on the machine shortens it.
// Timed again with no core ever idle, the start shows what the program itself spends.
class BusyCores {
 public:
  BusyCores() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    DWORD count = std::max<DWORD>(1, info.dwNumberOfProcessors - 1);
    for (DWORD i = 0; i < count; ++i)
      if (HANDLE thread = CreateThread(nullptr, 0, Spin, &stop_, 0, nullptr)) threads_.push_back(thread);
    if (threads_.empty()) Fail("cannot start a spinning thread");
  }
  ~BusyCores() {
    stop_ = true;
    WaitForMultipleObjects(static_cast<DWORD>(threads_.size()), threads_.data(), TRUE, INFINITE);
    for (HANDLE thread : threads_) CloseHandle(thread);
  }
  BusyCores(const BusyCores&) = delete;
  BusyCores& operator=(const BusyCores&) = delete;

 private:
  static DWORD WINAPI Spin(void* stop) {
    while (!static_cast<std::atomic<bool>*>(stop)->load(std::memory_order_relaxed)) {
    }
    return 0;
  }
  std::atomic<bool> stop_{false};
  std::vector<HANDLE> threads_;
};

// Starts the program with c.notes notes and times it until all of them are shown and the
// program is idle: the tray icon is there, c.notes visible note windows are, and a message sent
// to the main window has come back, which it can only once the start-up code has returned to the
// message loop. With no notes that last step is what marks the end.
Sample RunNotesOnce(const Case& c) {
  std::wstring exe = PrepareFolder(c);
  std::wstring folder = exe.substr(0, exe.size() - FileName(exe).size());
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (c.floor) commandLine += L" " + std::to_wstring(c.notes);
  int iconsBefore = TrayIconCount();
  auto busy = c.busyCores ? std::make_unique<BusyCores>() : nullptr;

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  double start = Now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    Fail(c.label + ": CreateProcessW failed, error " + std::to_string(GetLastError()));
  WindowWatch watch(pi.dwProcessId, c.noteClass);
  bool iconShown = false;
  std::string problem;
  for (;;) {
    watch.Poll();
    // The icon comes before the notes; it is looked for only once they are all there, as a look
    // for it visits every child window on the desktop.
    if (watch.VisibleNotes() >= c.notes && !iconShown) iconShown = TrayIconCount() > iconsBefore;
    if (iconShown) break;
    if (HWND dialog = watch.Dialog()) problem = "the program showed a message box: " + DialogText(dialog);
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) problem = "the program ended during its start";
    if (Now() - start > kIconTimeoutMs)
      problem = watch.VisibleNotes() < c.notes ? "only " + std::to_string(watch.VisibleNotes()) + " of " +
                                                     std::to_string(c.notes) + " notes shown after 30 s"
                                               : std::string("no tray icon after 30 s");
    if (!problem.empty()) break;
    Sleep(1);
  }
  if (problem.empty()) {
    HWND main = FindWindowW(c.windowClass, nullptr);
    DWORD_PTR reply = 0;
    if (!main || !SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kIconTimeoutMs, &reply))
      problem = "the main window did not answer";
  }
  Sample sample{Now() - start, 0, 0};
  busy.reset();

  if (problem.empty()) {
    Sleep(kSettleMs);
    int shown = watch.VisibleNotesNow();
    if (shown != c.notes)
      problem = std::to_string(shown) + " note windows visible once settled, not " + std::to_string(c.notes);
  }
  if (problem.empty()) {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
      sample.privateKb = (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1024.0;
      sample.workingSetKb = memory.WorkingSetSize / 1024.0;
    } else {
      problem = "GetProcessMemoryInfo failed, error " + std::to_string(GetLastError());
    }
    sample.gdiObjects = GetGuiResources(pi.hProcess, GR_GDIOBJECTS);
    sample.userObjects = GetGuiResources(pi.hProcess, GR_USEROBJECTS);
  }
  Stop(c, pi, iconsBefore);
  if (!problem.empty()) Fail(c.label + ": " + problem);
  return sample;
}

// A folder with the program, its settings and `peeled` peeled notes (the benchmark's notes in
// turn, each peeled on 2026-12-08 10:30), written once for every run: the menu changes nothing.
std::wstring PrepareMenuFolder(const std::wstring& exe, const std::wstring& seedIni, int peeled) {
  std::wstring folder = NewFolder();
  if (!CopyFileW(exe.c_str(), (folder + FileName(exe)).c_str(), FALSE)) Fail("cannot copy " + Narrow(exe));
  if (!CopyFileW(seedIni.c_str(), (folder + kIniName).c_str(), FALSE)) Fail("cannot copy " + Narrow(seedIni));
  std::wstring notes = folder + kPeeledFolder + L"\\";
  if (!CreateDirectoryW(notes.c_str(), nullptr)) Fail("cannot create the peeled notes' folder");
  for (int sequence = 1; sequence <= peeled; ++sequence) {
    std::vector<NoteFile> files = NoteFiles((sequence - 1) % kMostNotes);
    std::wstring stem = std::to_wstring(sequence) + L"-202612081030";
    WriteBytes(notes + stem + L".hsn", files[0].bytes);
    WriteBytes(notes + stem + L".log", files[1].bytes);
  }
  return folder + FileName(exe);
}

BOOL CALLBACK FindVisibleMenu(HWND hwnd, LPARAM pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != *reinterpret_cast<DWORD*>(pid) || !IsWindowVisible(hwnd) || ClassOf(hwnd) != L"#32768") return TRUE;
  *reinterpret_cast<DWORD*>(pid) = 0;
  return FALSE;
}

// Starts the program, waits until it idles with its icon, then presses the icon's right button
// as the shell reports it and times until the program's popup menu is visible.
Sample RunMenuOnce(const std::wstring& exe, const std::string& label) {
  std::wstring folder = exe.substr(0, exe.size() - FileName(exe).size());
  std::wstring commandLine = L"\"" + exe + L"\"";
  int iconsBefore = TrayIconCount();
  Sleep(kStartSettleMs);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    Fail(label + ": CreateProcessW failed, error " + std::to_string(GetLastError()));
  Case c{label, exe, kMainClass, 1, L""};
  std::string problem;
  HWND main = nullptr;
  DWORD_PTR reply = 0;
  if (!WaitForIconCount(iconsBefore + 1, kIconTimeoutMs) || !(main = FindWindowW(kMainClass, nullptr)) ||
      !SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kIconTimeoutMs, &reply))
    problem = "the program did not start";
  Sample sample{0, 0, 0};
  if (problem.empty()) {
    Sleep(kSettleMs);
    double start = Now();
    PostMessageW(main, kTrayCallbackMessage, 1, WM_RBUTTONDOWN);
    for (;;) {
      DWORD pid = pi.dwProcessId;
      EnumWindows(FindVisibleMenu, reinterpret_cast<LPARAM>(&pid));
      if (pid == 0) break;
      if (Now() - start > kIconTimeoutMs) {
        problem = "no menu after 30 s";
        break;
      }
      Sleep(1);
    }
    sample.ms = Now() - start;
  }
  Stop(c, pi, iconsBefore);
  if (!problem.empty()) Fail(label + ": " + problem);
  return sample;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// <label> <runs> <median ms> <min ms> <max ms> <median private KiB> <median working set KiB>
void PrintSummary(const Case& c, const std::vector<Sample>& samples) {
  std::vector<double> ms, priv, ws;
  for (const Sample& s : samples) {
    ms.push_back(s.ms);
    priv.push_back(s.privateKb);
    ws.push_back(s.workingSetKb);
  }
  std::printf("%s %zu %.1f %.1f %.1f %.0f %.0f\n", c.label.c_str(), samples.size(), Median(ms),
              *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()), Median(priv),
              Median(ws));
}

// <label> <runs> <median ms> <min ms> <max ms> <median private KiB> <median working set KiB>
//   <median GDI objects> <median USER objects>     (an object count of 0 means "not reported")
void PrintNoteSummary(const Case& c, const std::vector<Sample>& samples) {
  std::vector<double> ms, priv, ws, gdi, user;
  for (const Sample& s : samples) {
    ms.push_back(s.ms);
    priv.push_back(s.privateKb);
    ws.push_back(s.workingSetKb);
    gdi.push_back(s.gdiObjects);
    user.push_back(s.userObjects);
  }
  // A count missing from any run is not reported as a median of the others.
  auto count = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()) > 0 ? Median(v) : 0.0; };
  std::printf("%s %zu %.1f %.1f %.1f %.0f %.0f %.1f %.1f\n", c.label.c_str(), samples.size(), Median(ms),
              *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()), Median(priv),
              Median(ws), count(gdi), count(user));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4 || argc > 7) {
    std::fprintf(stderr,
                 "usage: StartupBench <runs> <Vornquill2.exe> <MinimalTray.exe> [<note runs> [<NoteFloor.exe> "
                 "[<menu runs>]]]\n");
    return 2;
  }
  int runs = std::max(0, _wtoi(argv[1]));
  int noteRuns = argc >= 5 ? std::max(0, _wtoi(argv[4])) : 0;
  const wchar_t* floorExe = argc >= 6 && argv[5][0] ? argv[5] : nullptr;
  int menuRuns = argc == 7 ? std::max(0, _wtoi(argv[6])) : 0;
  try {
    if (FindWindowW(kMainClass, nullptr)) Fail("Vornquill2 is already running in this session");
    std::vector<Case> cases = {
        {"minimal", argv[3], L"MinimalTray.Window", 1, L""},
        {"first-start", argv[2], kMainClass, 1, L""},
        {"with-ini", argv[2], kMainClass, 1, L""},
    };

    // One discarded start of each program fills the caches; Vornquill2's also writes the
    // default settings that the "with-ini" case then starts with.
    RunOnce(cases[0]);
    std::wstring firstFolder;
    RunOnce(cases[1], &firstFolder);
    cases[2].seedIni = firstFolder + kIniName;
    if (GetFileAttributesW(cases[2].seedIni.c_str()) == INVALID_FILE_ATTRIBUTES)
      Fail("the first start wrote no " + Narrow(kIniName));

    if (runs > 0) {
      std::vector<std::vector<Sample>> samples(cases.size());
      for (int run = 0; run < runs; ++run)
        for (size_t i = 0; i < cases.size(); ++i) samples[i].push_back(RunOnce(cases[i]));
      for (size_t i = 0; i < cases.size(); ++i) PrintSummary(cases[i], samples[i]);
    }

    if (noteRuns > 0) {
      // All start with settings already written, so the first-start write stays out of the
      // differences. The program holds at most 101 notes; the floor goes on to show the growth.
      std::vector<Case> noteCases;
      for (bool busy : {false, true}) {
        std::string suffix = busy ? "-busy" : "";
        for (int notes : {0, 50, kMostNotes})
          noteCases.push_back(
              {"notes-" + std::to_string(notes) + suffix, argv[2], kMainClass, 1, cases[2].seedIni, notes, busy});
        for (int notes : {0, 50, kMostNotes, 200, 400})
          if (floorExe)
            noteCases.push_back({"floor-" + std::to_string(notes) + suffix, floorExe, kFloorClass, 1, L"", notes, busy,
                                 kFloorNoteClass, true});
      }
      // Discarded: they load the fonts the notes ask for.
      for (const Case& c : noteCases)
        if (c.notes == kMostNotes && !c.busyCores) RunNotesOnce(c);
      std::vector<std::vector<Sample>> samples(noteCases.size());
      for (int run = 0; run < noteRuns; ++run)
        for (size_t i = 0; i < noteCases.size(); ++i) samples[i].push_back(RunNotesOnce(noteCases[i]));
      for (size_t i = 0; i < noteCases.size(); ++i) PrintNoteSummary(noteCases[i], samples[i]);
    }

    if (menuRuns > 0) {
      std::vector<std::pair<Case, std::wstring>> menuCases;
      for (int peeled : {0, 10000})
        menuCases.push_back({{"menu-" + std::to_string(peeled), argv[2], kMainClass, 1, L""},
                             PrepareMenuFolder(argv[2], cases[2].seedIni, peeled)});
      std::vector<std::vector<Sample>> samples(menuCases.size());
      for (auto& [c, exe] : menuCases) RunMenuOnce(exe, c.label);  // discarded: fills the caches
      for (int run = 0; run < menuRuns; ++run)
        for (size_t i = 0; i < menuCases.size(); ++i)
          samples[i].push_back(RunMenuOnce(menuCases[i].second, menuCases[i].first.label));
      for (size_t i = 0; i < menuCases.size(); ++i) PrintSummary(menuCases[i].first, samples[i]);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "StartupBench: %s\n", e.what());
    return 1;
  }
  return 0;
}
