#include "win/base/Text.h"

#include <windows.h>

#include <set>

namespace vq::win {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string ToAnsi(std::string_view utf8) {
  std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  int size = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(n > 0 ? n : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), n, nullptr, nullptr);
  return ansi;
}

std::size_t AnsiSize(std::string_view utf8) {
  std::wstring wide = Widen(utf8);
  if (wide.empty()) return 0;
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  return static_cast<std::size_t>(n > 0 ? n : 0);
}

namespace {

// There and back through the ANSI code page without best fit, so that a look-alike shows up as
// the default character, which differs from what went in.
bool SurvivesAnsi(std::wstring_view text) {
  // UTF-8 as the ANSI code page takes no best-fit flag and has no default character.
  const bool utf8 = GetACP() == CP_UTF8;
  const int size = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr,
                              utf8 ? nullptr : &usedDefault);
  if (n <= 0) return false;
  std::string ansi(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text.data(), size, ansi.data(), n, nullptr,
                      utf8 ? nullptr : &usedDefault);
  if (usedDefault) return false;
  int back = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), n, nullptr, 0);
  std::wstring wide(static_cast<size_t>(back > 0 ? back : 0), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), n, wide.data(), back);
  return wide == text;
}

}  // namespace

std::vector<std::string> LostInAnsi(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  // Most texts survive whole; only then is it worth asking character by character.
  if (wide.empty() || SurvivesAnsi(wide)) return {};
  std::vector<std::string> lost;
  std::set<std::wstring_view> asked;
  for (size_t i = 0; i < wide.size();) {
    size_t length = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]) ? 2 : 1;
    std::wstring_view character(wide.data() + i, length);
    i += length;
    if (asked.insert(character).second && !SurvivesAnsi(character)) lost.push_back(Narrow(character));
  }
  return lost;
}

}  // namespace vq::win
