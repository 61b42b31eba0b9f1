#pragma once
#include <cstddef>
#include <string_view>

namespace vq {

// The first character (one whole UTF-8 sequence) of the text, or "" for an empty text.
std::string_view FirstCharacter(std::string_view text);
// The first n characters, never splitting a UTF-8 sequence.
std::string_view FirstCharacters(std::string_view text, std::size_t n);

}  // namespace vq
