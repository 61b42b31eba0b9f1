#pragma once
#include <winsock2.h>

#include "win/base/Handles.h"
#include "win/mail/NetApi.h"

namespace vq::win {

struct SocketTraits {
  using Handle = SOCKET;
  static Handle Invalid() { return INVALID_SOCKET; }
  static void Close(Handle h) { net::closesocket(h); }
};

// Owns one Windows Sockets handle and closes it when dropped or replaced.
using UniqueSocket = Unique<SocketTraits>;

}  // namespace vq::win
