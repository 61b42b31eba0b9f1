#include "base/Utf8.h"

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

}  // namespace vq
