#include "config/Settings.h"

#include <cmath>
#include <cstdlib>

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
  switch (protocol) {
    case MailProtocol::kPop3:
      return "0";
    case MailProtocol::kImap:
      return "1";
    case MailProtocol::kUnknown:
      break;
  }
  return {};
}

std::optional<long> ParseTwipsText(std::string_view text) {
  std::string copy(text);
  char* end = nullptr;
  double value = std::strtod(copy.c_str(), &end);
  if (end == copy.c_str() || !std::isfinite(value) || std::fabs(value) > 1e7) return std::nullopt;
  return static_cast<long>(std::lround(value));
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
