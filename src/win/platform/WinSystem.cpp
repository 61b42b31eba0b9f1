#include "win/platform/WinSystem.h"

#include <windows.h>

#include "ports/NoteFiles.h"
#include "win/base/Text.h"

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

bool WriteAnsiFileSafely(const std::wstring& path, const std::string& utf8) {
  std::string bytes = ToAnsi(utf8);
  std::wstring temporary = path + Widen(NoteFiles::kTemporarySuffix);
  HANDLE file =
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = (bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                               written == bytes.size())) &&
            FlushFileBuffers(file);
  CloseHandle(file);
  ok = ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
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
