#include "config/Settings.h"

#include <cmath>
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
// alone would link mingw's whole floating-point reader.
std::optional<long> ParseTwipsText(std::string_view text) {
  size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string_view::npos) return std::nullopt;
  auto digit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
  bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  double mantissa = 0;
  int scale = 0, digits = 0;
  for (; digit(i); ++i, ++digits) mantissa = mantissa * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    for (++i; digit(i); ++i, ++digits, --scale) mantissa = mantissa * 10 + (text[i] - '0');
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t at = i + 1;
    bool down = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    int exponent = 0;
    for (; digit(at); ++at) exponent = std::min(exponent * 10 + (text[at] - '0'), 9999);
    if (digit(at - 1)) scale += down ? -exponent : exponent;
  }
  double value = mantissa * std::pow(10.0, scale);
  if (!std::isfinite(value) || value > 1e7) return std::nullopt;
  return static_cast<long>(std::lround(negative ? -value : value));
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
