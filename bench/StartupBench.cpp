// Measures, under Wine, how long a tray program takes from CreateProcessW until its tray icon
// exists, and how much memory it holds once started. Each run starts a fresh copy of the program
// in a new empty folder, so runs are independent; the cases are interleaved so that any drift of
// the machine spreads over all of them alike.
//
//   StartupBench <runs> <Vornquill2.exe> <MinimalTray.exe>
//
// Prints one line per case (see PrintSummary) for bench/run.sh to turn into a table.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr DWORD kIconTimeoutMs = 30000;
constexpr DWORD kSettleMs = 500;  // idle time before memory is read
constexpr wchar_t kIniName[] = L"Vornquill.ini";

struct Case {
  const char* label;
  std::wstring exe;
  const wchar_t* windowClass;  // the hidden window that owns the tray icon
  UINT iconId;
  std::wstring seedIni;  // copied into the folder before the start, if not empty
};

struct Sample {
  double ms;
  double privateKb;
  double workingSetKb;
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

// Puts the program (and the seed settings, if any) into a new folder; returns the copy's path.
std::wstring PrepareFolder(const Case& c) {
  std::wstring folder = NewFolder();
  std::wstring exe = folder + FileName(c.exe);
  if (!CopyFileW(c.exe.c_str(), exe.c_str(), FALSE)) Fail("cannot copy " + Narrow(c.exe));
  if (!c.seedIni.empty() && !CopyFileW(c.seedIni.c_str(), (folder + kIniName).c_str(), FALSE))
    Fail("cannot copy " + Narrow(c.seedIni));
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
  if (!ended) Fail(std::string(c.label) + ": the process did not end");
  if (!WaitForIconCount(iconsBefore, 10000)) Fail(std::string(c.label) + ": the tray icon stayed after the end");
}

Sample RunOnce(const Case& c, std::wstring* folderOut = nullptr) {
  std::wstring exe = PrepareFolder(c);
  std::wstring folder = exe.substr(0, exe.size() - FileName(exe).size());
  if (folderOut) *folderOut = folder;
  std::wstring commandLine = L"\"" + exe + L"\"";
  int iconsBefore = TrayIconCount();

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  double start = Now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    Fail(std::string(c.label) + ": CreateProcessW failed, error " + std::to_string(GetLastError()));
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
  if (!problem.empty()) Fail(std::string(c.label) + ": " + problem);
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
  std::printf("%s %zu %.1f %.1f %.1f %.0f %.0f\n", c.label, samples.size(), Median(ms),
              *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()), Median(priv),
              Median(ws));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: StartupBench <runs> <Vornquill2.exe> <MinimalTray.exe>\n");
    return 2;
  }
  int runs = std::max(1, _wtoi(argv[1]));
  try {
    if (FindWindowW(L"Vornquill2.MainWindow", nullptr)) Fail("Vornquill2 is already running in this session");
    std::vector<Case> cases = {
        {"minimal", argv[3], L"MinimalTray.Window", 1, L""},
        {"first-start", argv[2], L"Vornquill2.MainWindow", 1, L""},
        {"with-ini", argv[2], L"Vornquill2.MainWindow", 1, L""},
    };

    // One discarded start of each program fills the caches; Vornquill2's also writes the
    // default settings that the "with-ini" case then starts with.
    RunOnce(cases[0]);
    std::wstring firstFolder;
    RunOnce(cases[1], &firstFolder);
    cases[2].seedIni = firstFolder + kIniName;
    if (GetFileAttributesW(cases[2].seedIni.c_str()) == INVALID_FILE_ATTRIBUTES)
      Fail("the first start wrote no " + Narrow(kIniName));

    std::vector<std::vector<Sample>> samples(cases.size());
    for (int run = 0; run < runs; ++run)
      for (size_t i = 0; i < cases.size(); ++i) samples[i].push_back(RunOnce(cases[i]));
    for (size_t i = 0; i < cases.size(); ++i) PrintSummary(cases[i], samples[i]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "StartupBench: %s\n", e.what());
    return 1;
  }
  return 0;
}
