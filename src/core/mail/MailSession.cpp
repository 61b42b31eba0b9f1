#include "mail/MailSession.h"

#include <algorithm>
#include <limits>

#include "mail/MailNumbers.h"

namespace vq::mail {
namespace {

constexpr int kAddressNotAvailable = 10049;  // WSAEADDRNOTAVAIL: trying again cannot help

int PortNumber(std::string_view text) {
  const std::int64_t value = LeadingNumber(text);
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool MailSession::ConnectSocket(Socket& socket, const MailAccountSettings& settings) {
  const int port = PortNumber(settings.port);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!socket.IsClosed()) socket.Close();
    const int error = socket.Connect(settings.host, port);
    if (error == 0) return true;
    if (error == kAddressNotAvailable) return false;
  }
  return false;
}

}  // namespace vq::mail
