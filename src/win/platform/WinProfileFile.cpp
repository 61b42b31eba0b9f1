#include "win/platform/WinProfileFile.h"

#include <windows.h>

#include "win/base/Text.h"

namespace vq::win {

WinProfileFile::WinProfileFile(std::wstring folder, std::wstring baseName)
    : folder_(std::move(folder)), baseName_(std::move(baseName)), path_(folder_ + baseName_ + L".ini") {}

bool WinProfileFile::Exists() const {
  wchar_t found[MAX_PATH];
  return SearchPathW(folder_.c_str(), baseName_.c_str(), L".ini", MAX_PATH, found, nullptr) != 0;
}

std::string WinProfileFile::Read(std::string_view section, std::string_view key) const {
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

bool WinProfileFile::WriteSection(std::string_view section,
                                  const std::vector<std::pair<std::string, std::string>>& keys) {
  // "key=value" strings, each ended by a NUL, the list ended by another.
  std::wstring block;
  for (const auto& [key, value] : keys) {
    block += Widen(key) + L"=" + Widen(value);
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return WritePrivateProfileSectionW(Widen(section).c_str(), block.c_str(), path_.c_str()) != FALSE;
}

}  // namespace vq::win
