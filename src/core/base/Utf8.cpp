#include "base/Utf8.h"

#include <set>

namespace vq {

namespace {
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::string_view FirstCharacters(std::string_view text, std::size_t n) {
  std::size_t pos = 0;
  for (std::size_t count = 0; count < n && pos < text.size(); ++count) {
    ++pos;
    while (pos < text.size() && IsContinuation(static_cast<unsigned char>(text[pos]))) ++pos;
  }
  return text.substr(0, pos);
}

std::string_view FirstCharacter(std::string_view text) { return FirstCharacters(text, 1); }

std::string ReplaceCharacters(std::string_view text, const std::vector<std::string>& characters, std::string_view by) {
  // A text of megabytes may hold thousands of different characters to replace.
  const std::set<std::string_view> replaced(characters.begin(), characters.end());
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    std::string_view c = FirstCharacter(text);
    if (replaced.contains(c))
      out += by;
    else
      out += c;
    text.remove_prefix(c.size());
  }
  return out;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace vq
