#include "win/platform/WinNoteFiles.h"

#include <windows.h>

#include <iterator>

#include "win/base/Handles.h"
#include "win/base/StartupProfile.h"
#include "win/base/Text.h"

namespace vq::win {

bool WaitOutHold(int& tries) {
  static constexpr DWORD kPauses[] = {10, 30, 60, 150};  // ms, 250 in all
  DWORD error = GetLastError();
  if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION && error != ERROR_ACCESS_DENIED) return false;
  if (tries >= static_cast<int>(std::size(kPauses))) return false;
  Sleep(kPauses[tries++]);
  return true;
}

bool WriteAnsiFileSafely(const std::wstring& path, const std::string& utf8) {
  std::string bytes = ToAnsi(utf8);
  std::wstring temporary = path + Widen(NoteFiles::kTemporarySuffix);
  UniqueFile file(
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  bool ok =
      (bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                         written == bytes.size())) &&
      FlushFileBuffers(file.get());
  file.Reset();  // the move needs the file closed
  ok = ok && RetriedWhileHeld([&] {
         return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
       });
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
}

std::wstring WinNoteFiles::Path(std::string_view name) const { return folder_ + Widen(name); }

bool WinNoteFiles::Exists(std::string_view name) const {
  DWORD attributes = GetFileAttributesW(Path(name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

NoteFiles::ReadResult WinNoteFiles::Read(std::string_view name) const {
  VQ_PROFILE(kNoteFiles);
  UniqueFile file(CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    DWORD error = GetLastError();
    bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? ReadStatus::kMissing : ReadStatus::kUnreadable, ""};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > static_cast<LONGLONG>(kLargestFile))
    return {ReadStatus::kUnreadable, ""};
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size()))
    return {ReadStatus::kUnreadable, ""};
  if (bytes.empty()) return {ReadStatus::kOk, ""};

  int wideLength =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (wideLength <= 0) return {ReadStatus::kUndecodable, ""};
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                      wideLength);
  return {ReadStatus::kOk, Narrow(wide)};
}

std::size_t WinNoteFiles::StoredSize(std::string_view text) const { return AnsiSize(text); }

std::vector<std::string> WinNoteFiles::UnstorableCharacters(std::string_view text) const { return LostInAnsi(text); }

bool WinNoteFiles::Write(std::string_view name, std::string_view text) {
  // What the reader would refuse is not written: the old file stays.
  if (StoredSize(text) > kLargestFile) return false;
  return WriteAnsiFileSafely(Path(name), std::string(text));
}

bool WinNoteFiles::Delete(std::string_view name) {
  if (DeleteFileW(Path(name).c_str())) return true;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::vector<std::string> WinNoteFiles::List(std::string_view folder) const {
  std::vector<std::string> names;
  std::wstring pattern = folder.empty() ? folder_ + L"*" : Path(folder) + L"\\*";
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Narrow(found.cFileName));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::optional<std::uint64_t> WinNoteFiles::FolderStamp(std::string_view folder) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Path(folder).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
}

bool WinNoteFiles::MakeFolder(std::string_view folder) {
  std::wstring path = Path(folder);
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinNoteFiles::Move(std::string_view from, std::string_view to) {
  // Without MOVEFILE_REPLACE_EXISTING an existing target makes the move fail.
  return RetriedWhileHeld([&] { return MoveFileExW(Path(from).c_str(), Path(to).c_str(), MOVEFILE_WRITE_THROUGH); });
}

}  // namespace vq::win
