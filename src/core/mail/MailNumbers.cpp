#include "mail/MailNumbers.h"

#include <cmath>
#include <limits>

namespace vq::mail {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

constexpr long kFarthestTwips = 10'000'000;  // about seven metres: beyond any desktop

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

std::optional<long> ParseStoredTwips(std::string_view text) {
  text = Trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  bool anyDigit = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, anyDigit = true) value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && IsDigit(text[i]); ++i, anyDigit = true, scale /= 10) value += (text[i] - '0') * scale;
  }
  if (!anyDigit || i != text.size() || value > kFarthestTwips) return std::nullopt;
  const long rounded = std::lround(value);
  return negative ? -rounded : rounded;
}

}  // namespace vq::mail
