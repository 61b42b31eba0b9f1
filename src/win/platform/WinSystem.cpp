#include "win/platform/WinSystem.h"

#include <windows.h>

#include "win/base/Text.h"
#include "win/platform/WinNoteFiles.h"

namespace vq::win {

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
    return {missing ? RunResult::kNotFound : RunResult::kFailed, error};
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return {RunResult::kStarted, 0};
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
