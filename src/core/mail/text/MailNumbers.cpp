#include "mail/text/MailNumbers.h"

#include <limits>

namespace vq::mail {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

struct Digits {
  std::int64_t value = 0;  // held at the limit when it does not fit
  bool any = false;
  bool fits = true;
};

// The run of decimal digits a text begins with.
Digits ReadDigits(std::string_view text) {
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
  Digits n;
  for (std::size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
    const int digit = text[i] - '0';
    n.any = true;
    n.fits = n.fits && n.value <= (kLimit - digit) / 10;
    n.value = n.fits ? n.value * 10 + digit : kLimit;
  }
  return n;
}

}  // namespace

std::int64_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const std::int64_t value = ReadDigits(text.substr(i)).value;
  return negative ? -value : value;
}

std::optional<std::int64_t> LeadingDigits(std::string_view text) {
  const Digits n = ReadDigits(text);
  if (!n.any || !n.fits) return std::nullopt;
  return n.value;
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  for (char c : text)
    if (!IsDigit(c)) return std::nullopt;
  return LeadingNumber(text);
}

}  // namespace vq::mail
