#include "config/Settings.h"

#include <algorithm>

namespace vq {

std::string AccountKey(int account, AccountField field) {
  return "b" + std::to_string(account) + std::to_string(static_cast<int>(field));
}

MailSecurity ParseMailSecurity(std::string_view text) {
  if (text.empty() || text == "0") return MailSecurity::kNone;
  if (text == "1") return MailSecurity::kTls;
  if (text == "2") return MailSecurity::kStartTls;
  return MailSecurity::kUnknown;
}

std::string_view MailSecurityText(MailSecurity security) {
  switch (security) {
    case MailSecurity::kNone:
      return "0";
    case MailSecurity::kTls:
      return "1";
    case MailSecurity::kStartTls:
      return "2";
    case MailSecurity::kUnknown:
      break;
  }
  return {};
}

MailProtocol ParseMailProtocol(std::string_view text) {
  if (text.empty() || text == "0") return MailProtocol::kPop3;
  return text == "1" ? MailProtocol::kImap : MailProtocol::kUnknown;
}

std::string_view MailProtocolText(MailProtocol protocol) {
  return protocol == MailProtocol::kPop3 ? "0" : protocol == MailProtocol::kImap ? "1" : "";
}

// Reads what strtod would read, in decimal: leading blanks, a sign, digits with a point and an
// exponent, and stops at the first character that does not fit. Written out because strtod
// alone would link mingw's whole floating-point reader; and read exactly, as digits and a power
// of ten, so that hundreds of digits or an exponent past a double's range ("0e400", "5000.000…")
// read as the number they write rather than as nothing.
std::optional<long> ParseTwipsText(std::string_view text) {
  constexpr long kLargest = 10'000'000;  // twips: far beyond any screen
  size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string_view::npos) return std::nullopt;
  auto digit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
  bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  std::string digits;  // without leading zeros; the value is digits × 10^scale
  long scale = 0;
  bool any = false;
  for (; digit(i); ++i, any = true)
    if (!digits.empty() || text[i] != '0') digits += text[i];
  if (i < text.size() && text[i] == '.')
    for (++i; digit(i); ++i, --scale, any = true)
      if (!digits.empty() || text[i] != '0') digits += text[i];
  if (!any) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t at = i + 1;
    bool down = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    long exponent = 0;
    for (; digit(at); ++at) exponent = std::min(exponent * 10 + (text[at] - '0'), 9999L);
    if (digit(at - 1)) scale += down ? -exponent : exponent;
  }
  if (digits.empty()) return 0;
  // The whole part has this many digits; more than eight is more than kLargest.
  const long whole = static_cast<long>(digits.size()) + scale;
  if (whole > 8) return std::nullopt;
  auto at = [&](long k) { return k >= 0 && k < static_cast<long>(digits.size()) ? digits[k] - '0' : 0; };
  long value = 0;
  for (long k = 0; k < whole; ++k) value = value * 10 + at(k);
  if (value > kLargest || (value == kLargest && digits.find_first_not_of('0', 8) != std::string::npos))
    return std::nullopt;
  // Halves away from zero: the first digit after the point decides.
  if (at(whole) >= 5) ++value;
  return negative ? -value : value;
}

WindowPlace ReadPlace(const Config& config, std::string_view section) {
  std::string_view leftKey = section == keys::kMailWindow ? std::string_view("left") : keys::kLeft;
  return {ParseTwipsText(config.ReadOption(section, keys::kTop)).value_or(0),
          ParseTwipsText(config.ReadOption(section, leftKey)).value_or(0)};
}

bool WritePlace(Config& config, std::string_view section, const WindowPlace& place) {
  bool ok = config.WriteOption(section, keys::kTop, std::to_string(place.top));
  return config.WriteOption(section, keys::kLeft, std::to_string(place.left)) && ok;
}

}  // namespace vq
