#include "win/platform/WinNoteFiles.h"

#include <windows.h>

#include "win/base/StartupProfile.h"
#include "win/base/Text.h"
#include "win/platform/WinSystem.h"

namespace vq::win {

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (valid()) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

}  // namespace

std::wstring WinNoteFiles::Path(std::string_view name) const { return folder_ + Widen(name); }

bool WinNoteFiles::Exists(std::string_view name) const {
  DWORD attributes = GetFileAttributesW(Path(name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

NoteFiles::ReadResult WinNoteFiles::Read(std::string_view name) const {
  VQ_PROFILE(kNoteFiles);
  FileHandle file(CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
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

}  // namespace vq::win
