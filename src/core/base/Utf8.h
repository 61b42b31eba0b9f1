#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// The first character (one whole UTF-8 sequence) of the text, or "" for an empty text.
std::string_view FirstCharacter(std::string_view text);
// The first n characters, never splitting a UTF-8 sequence.
std::string_view FirstCharacters(std::string_view text, std::size_t n);
// The text with each of the given characters (whole UTF-8 sequences) replaced by `by`.
std::string ReplaceCharacters(std::string_view text, const std::vector<std::string>& characters, std::string_view by);
// The text with a-z as A-Z and every other byte as it was: the case protocol words ignore.
std::string UpperAscii(std::string_view text);

}  // namespace vq
