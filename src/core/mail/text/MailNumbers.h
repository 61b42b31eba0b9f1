#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace vq::mail {

// The number a text begins with, as the settings and the server's answers are read: leading
// blanks and a sign are allowed, the first other character ends it, no digits give 0, and a
// number too large for 64 bits is held at the limit.
std::int64_t LeadingNumber(std::string_view text);

// The decimal digits a text begins with, as a server's numbers are read: nullopt when it does
// not begin with a digit, or when the number does not fit 64 bits.
std::optional<std::int64_t> LeadingDigits(std::string_view text);

// A whole text that is a decimal number of minutes ("5", "05"); nullopt for anything else,
// the empty text included.
std::optional<std::int64_t> WholeNumber(std::string_view text);

}  // namespace vq::mail
