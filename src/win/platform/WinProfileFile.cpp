#include "win/platform/WinProfileFile.h"

#include <windows.h>

#include "win/base/StartupProfile.h"
#include "win/base/Text.h"

namespace vq::win {

WinProfileFile::WinProfileFile(std::wstring folder, std::wstring baseName)
    : folder_(std::move(folder)), baseName_(std::move(baseName)), path_(folder_ + baseName_ + L".ini") {}

bool WinProfileFile::Exists() const {
  VQ_PROFILE(kSettings);
  wchar_t found[MAX_PATH];
  return SearchPathW(folder_.c_str(), baseName_.c_str(), L".ini", MAX_PATH, found, nullptr) != 0;
}

std::string WinProfileFile::Read(std::string_view section, std::string_view key) const {
  VQ_PROFILE(kSettings);
  wchar_t buffer[1024];
  buffer[0] = L'\0';
  GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer, 1024, path_.c_str());
  return Narrow(buffer);
}

bool WinProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(), path_.c_str()) !=
         FALSE;
}

}  // namespace vq::win

namespace vq::win {

bool WinProfileFile::Create(const ProfileSections& sections) {
  VQ_PROFILE(kSettings);
  // The profile functions' own layout: no blank lines, CR LF, the ANSI code page.
  std::string text;
  for (const auto& [section, keys] : sections) {
    text += "[" + section + "]\r\n";
    for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
  }
  std::string bytes = ToAnsi(text);
  HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  // A cut-off file would count as settings at the next start, which then never writes them.
  if (!ok) DeleteFileW(path_.c_str());
  return ok;
}

}  // namespace vq::win
