// Measures, under Wine, what TLS adds to a mail check: Vornquill2 checks one account of the same
// Dovecot again and again, in clear, over TLS from the first byte and over STLS, and each check
// is timed from the tray icon's double-click until the result window shows the mailbox. The
// first check of each program start is reported apart: it pays for Windows' first certificate
// chain build. Rounds interleave the modes, so any drift of the machine spreads over all alike.
//
//   MailTlsBench <rounds> <checks per start> <Vornquill2.exe> <plain port> <POP3S port>
//
// Prints one line per mode: "mode first_median_ms checks median_ms min_ms max_ms".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "win/base/Ids.h"
#include "win/base/WindowNames.h"

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr wchar_t kMailClass[] = L"Vornquill2.MailChecker";
constexpr wchar_t kExpected[] = L"[1] 3 通 (10422 バイト) のメールがあります。";

struct Mode {
  const char* label;
  const char* security;  // "b05"
  bool pop3sPort;
};
constexpr Mode kModes[] = {{"plain", "0", false}, {"SSL/TLS", "1", true}, {"STARTTLS", "2", false}};

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

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

std::wstring NewFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  std::wstring folder = std::wstring(temp) + L"vq-mailbench-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++counter) + L"\\";
  if (!CreateDirectoryW(folder.c_str(), nullptr)) Fail("cannot create a folder");
  return folder;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE ||
      !::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    Fail("cannot write the settings");
  CloseHandle(file);
}

struct Found {
  DWORD pid;
  const wchar_t* className;
  HWND hwnd = nullptr;
};
BOOL CALLBACK FindWindowOf(HWND hwnd, LPARAM lp) {
  auto* found = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t name[64] = L"";
  GetClassNameW(hwnd, name, 64);
  if (pid != found->pid || wcscmp(name, found->className) != 0) return TRUE;
  found->hwnd = hwnd;
  return FALSE;
}
HWND WindowOf(DWORD pid, const wchar_t* className) {
  Found found{pid, className};
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&found));
  return found.hwnd;
}

std::wstring StatusLine(DWORD pid) {
  HWND window = WindowOf(pid, kMailClass);
  if (!window) return L"";
  wchar_t text[256] = L"";
  GetWindowTextW(GetDlgItem(window, vq::win::kMailLineFirst), text, 256);
  return text;
}

// One program start: the time of each check, the first one first.
std::vector<double> TimeChecks(const std::wstring& exe, const Mode& mode, const std::string& port, int checks) {
  const std::wstring folder = NewFolder();
  const std::wstring copy = folder + L"Vornquill2.exe";
  if (!CopyFileW(exe.c_str(), copy.c_str(), FALSE)) Fail("cannot copy the program");
  WriteFile(folder + L"Vornquill.ini", "[a1]\r\nb01=" + port + "\r\nb02=127.0.0.1\r\nb03=alice\r\nb04=secret\r\nb05=" +
                                           mode.security + "\r\nb5=0\r\nb7=False\r\n");
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(copy.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    Fail("cannot start the program");
  std::vector<double> times;
  try {
    HWND main = nullptr;
    for (double start = Now(); !(main = WindowOf(pi.dwProcessId, vq::win::kMainWindowClass)); Sleep(10))
      if (Now() - start > kTimeoutMs) Fail("the program did not start");
    WaitForInputIdle(pi.hProcess, kTimeoutMs);
    for (int i = 0; i < checks + 1; ++i) {
      const double start = Now();
      // Sent, not posted: when it returns the check has begun and the line reads "checking".
      DWORD_PTR ignored;
      SendMessageTimeoutW(main, vq::win::kTrayCallbackMessage, vq::win::kTrayIconId, WM_LBUTTONDBLCLK, SMTO_NORMAL,
                          kTimeoutMs, &ignored);
      while (StatusLine(pi.dwProcessId) != kExpected) {
        if (Now() - start > kTimeoutMs) {
          const std::wstring line = StatusLine(pi.dwProcessId);
          char shown[256] = "";
          WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, shown, sizeof shown, nullptr, nullptr);
          Fail(std::string("no result over ") + mode.label + " (the line reads \"" + shown + "\")");
        }
        Sleep(0);
      }
      times.push_back(Now() - start);
      Sleep(50);  // the session closes its connection after the result is shown
    }
  } catch (...) {
    TerminateProcess(pi.hProcess, 1);
    throw;
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, kTimeoutMs);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return times;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) {
    std::fprintf(stderr,
                 "usage: MailTlsBench <rounds> <checks per start> <Vornquill2.exe> <plain port> <POP3S port>\n");
    return 2;
  }
  try {
    const int rounds = _wtoi(argv[1]), checks = _wtoi(argv[2]);
    const std::wstring exe = argv[3];
    std::string plainPort, pop3sPort;
    for (wchar_t* c = argv[4]; *c; ++c) plainPort += static_cast<char>(*c);
    for (wchar_t* c = argv[5]; *c; ++c) pop3sPort += static_cast<char>(*c);
    std::map<std::string, std::vector<double>> first, later;
    for (int round = 0; round < rounds; ++round) {
      for (const Mode& mode : kModes) {
        std::vector<double> times = TimeChecks(exe, mode, mode.pop3sPort ? pop3sPort : plainPort, checks);
        first[mode.label].push_back(times.front());
        later[mode.label].insert(later[mode.label].end(), times.begin() + 1, times.end());
      }
    }
    for (const Mode& mode : kModes) {
      const auto& t = later[mode.label];
      std::printf("%s %.1f %zu %.1f %.1f %.1f\n", mode.label, Median(first[mode.label]), t.size(), Median(t),
                  *std::min_element(t.begin(), t.end()), *std::max_element(t.begin(), t.end()));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "MailTlsBench: %s\n", e.what());
    return 1;
  }
  return 0;
}
