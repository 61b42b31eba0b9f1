#include "win/platform/WinProfileFile.h"

#include <windows.h>

#include <algorithm>

#include "win/base/StartupProfile.h"
#include "win/base/Text.h"
#include "win/platform/WinNoteFiles.h"

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

namespace {

std::wstring_view TrimSpaces(std::wstring_view text) {
  size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

ProfileKeys WinProfileFile::ReadSection(std::string_view section) const {
  VQ_PROFILE(kSettings);
  // "key=value" lines, each ended by a null. The text was cut short when it fills the buffer
  // but for two characters; a bigger buffer is tried up to a size no settings file reaches.
  constexpr size_t kLargest = size_t{1} << 24;
  const std::wstring name = Widen(section);
  std::wstring text(4096, L'\0');
  DWORD length = 0;
  for (;;) {
    length = GetPrivateProfileSectionW(name.c_str(), text.data(), static_cast<DWORD>(text.size()), path_.c_str());
    if (length + 2 < text.size() || text.size() >= kLargest) break;
    text.resize(text.size() * 2);
  }
  text.resize(std::min<size_t>(length, text.size()));
  ProfileKeys keys;
  for (size_t start = 0; start < text.size();) {
    size_t end = std::min(text.find(L'\0', start), text.size());
    std::wstring_view line(text.data() + start, end - start);
    start = end + 1;
    size_t equals = line.find(L'=');
    std::wstring_view value =
        equals == std::wstring_view::npos ? std::wstring_view() : TrimSpaces(line.substr(equals + 1));
    // As Read gives it: without the quotes it is enclosed in, cut to Read's buffer.
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    keys.emplace_back(Narrow(TrimSpaces(line.substr(0, equals))), Narrow(value.substr(0, 1023)));
  }
  return keys;
}

bool WinProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  std::wstring wideSection = Widen(section), wideKey = Widen(key), wideValue = Widen(value);
  // The profile functions rewrite the whole file, which a scanner may hold a moment.
  return RetriedWhileHeld([&] {
    return WritePrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideValue.c_str(), path_.c_str()) != FALSE;
  });
}

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
