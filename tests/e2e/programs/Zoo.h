#pragma once
// Starts vq_windowzoo.exe (WindowZoo.cpp) with the windows a test asks for, finds them, reads
// what they were asked to do, and ends the program by its handle.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Driver.h"

namespace e2e {

class Zoo {
 public:
  // Arguments as WindowZoo.cpp describes them ("app=Title", "--after=500", ...); the log is
  // always kept, in a file of its own.
  explicit Zoo(const std::vector<std::wstring>& args) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    static int started = 0;
    log_ = std::wstring(temp) + L"vq-zoo-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++started) + L".log";
    DeleteFileW(log_.c_str());
    std::wstring exe = BesideThisProgram(L"vq_windowzoo.exe");
    std::wstring commandLine = L"\"" + exe + L"\" \"--log=" + log_ + L"\"";
    for (const auto& arg : args) commandLine += L" \"" + arg + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
      throw std::runtime_error("cannot start vq_windowzoo.exe");
    WaitForInputIdle(pi_.hProcess, 10000);
  }
  ~Zoo() {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
    DeleteFileW(log_.c_str());
  }
  Zoo(const Zoo&) = delete;
  Zoo& operator=(const Zoo&) = delete;

  DWORD Pid() const { return pi_.dwProcessId; }
  HANDLE Process() const { return pi_.hProcess; }

  // The zoo's top-level window with this title, or of this class when the title is empty;
  // nullptr when there is none (yet). Captions are read as stored, without asking the window,
  // so that the hung one is found too.
  HWND Find(const std::wstring& title, const std::wstring& className = L"") const {
    Search search{Pid(), title, className};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND WaitFor(const std::wstring& title, const std::wstring& className = L"", Millis timeout = kDefaultWait) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = Find(title, className)) != nullptr; }, timeout);
    return found;
  }

  // What the windows were asked, one "minimise Title" / "restore Title" / "close Title" /
  // "activate Title" a line, in order.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    HANDLE file = CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(bytes.substr(start, end - start));
    return lines;
  }
  bool WaitForLog(const std::string& line, Millis timeout = kDefaultWait) const {
    return WaitUntil(
        [&] {
          for (const auto& l : Log())
            if (l == line) return true;
          return false;
        },
        timeout);
  }

 private:
  struct Search {
    DWORD pid;
    const std::wstring& title;
    const std::wstring& className;
    HWND found = nullptr;
  };
  static BOOL CALLBACK Match(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search.pid) return TRUE;
    wchar_t text[256] = L"";
    int length = GetWindowTextW(window, text, 256);
    if (!search.title.empty() && search.title != std::wstring(text, length > 0 ? length : 0)) return TRUE;
    length = GetClassNameW(window, text, 256);
    if (!search.className.empty() && search.className != std::wstring(text, length > 0 ? length : 0)) return TRUE;
    search.found = window;
    return FALSE;
  }
  PROCESS_INFORMATION pi_{};
  std::wstring log_;
};

}  // namespace e2e
