#include "win/platform/WinSystem.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

#include "win/base/Text.h"
#include "win/platform/WinNoteFiles.h"

namespace vq::win {

namespace {

// ERROR_ELEVATION_REQUIRED, which mingw's headers lack: the program's manifest asks for
// administrator rights, which CreateProcess cannot give.
constexpr DWORD kElevationRequired = 740;

// The program and its arguments as CreateProcess reads a command line: the quoted first part,
// or else the shortest run up to a blank that names a file ("C:\Program Files\x.exe" tries
// "C:\Program" first), the whole line when none does. A file found is named by its full path,
// so that the shell starts the one CreateProcess found (in our own folder first).
std::pair<std::wstring, std::wstring> SplitCommandLine(const std::wstring& line) {
  if (line.starts_with(L'"')) {
    size_t end = line.find(L'"', 1);
    if (end == std::wstring::npos) return {line.substr(1), L""};
    size_t arguments = line.find_first_not_of(L" \t", end + 1);
    return {line.substr(1, end - 1), arguments == std::wstring::npos ? L"" : line.substr(arguments)};
  }
  for (size_t blank = line.find_first_of(L" \t");; blank = line.find_first_of(L" \t", blank + 1)) {
    wchar_t found[MAX_PATH];
    DWORD length = SearchPathW(nullptr, line.substr(0, blank).c_str(), L".exe", MAX_PATH, found, nullptr);
    DWORD attributes = length > 0 && length < MAX_PATH ? GetFileAttributesW(found) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return {std::wstring(found, length), blank == std::wstring::npos ? L"" : line.substr(blank + 1)};
    if (blank == std::wstring::npos) return {line, L""};
  }
}

}  // namespace

System::RunOutcome WinSystem::Run(const std::string& commandLine) {
  std::wstring line = Widen(commandLine);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    DWORD error = GetLastError();
    bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (error == kElevationRequired) return {RunResult::kNeedsElevation, error};
    return {missing ? RunResult::kNotFound : RunResult::kFailed, error};
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return {RunResult::kStarted, 0};
}

System::RunOutcome WinSystem::RunThroughShell(const std::string& commandLine) {
  auto [program, arguments] = SplitCommandLine(Widen(commandLine));
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // Our own message tells what went wrong; the shell's boxes would come on top of it.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpFile = program.c_str();
  info.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExW(&info)) return {RunResult::kStarted, 0};
  DWORD error = GetLastError();
  if (error == ERROR_CANCELLED) return {RunResult::kDeclined, error};
  bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  return {missing ? RunResult::kNotFound : RunResult::kFailed, error};
}

bool WinSystem::FolderExists(const std::string& path) const {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinSystem::WriteTextFile(const std::string& path, const std::string& text) {
  return WriteAnsiFileSafely(Widen(path), text);
}

System::DeleteResult WinSystem::RemoveFile(const std::string& path) {
  if (DeleteFileW(Widen(path).c_str())) return DeleteResult::kDeleted;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DeleteResult::kMissing
                                                                        : DeleteResult::kFailed;
}

std::string WinSystem::ProgramFolder() const {
  std::wstring folder = programFolder_;
  // "C:\Apps\" becomes "C:\Apps"; a drive root keeps its backslash.
  if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return Narrow(folder);
}

void WinSystem::EndProgram() { ExitProcess(0); }

}  // namespace vq::win
