#pragma once
#include <winsock2.h>
#include "win/mail/NetApi.h"

namespace vq::win {

// Owns one Windows Sockets handle and closes it when dropped or replaced.
class UniqueSocket {
 public:
  UniqueSocket() = default;
  explicit UniqueSocket(SOCKET handle) : handle_(handle) {}
  ~UniqueSocket() { Reset(); }
  UniqueSocket(UniqueSocket&& other) noexcept : handle_(other.Release()) {}
  UniqueSocket& operator=(UniqueSocket&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueSocket(const UniqueSocket&) = delete;
  UniqueSocket& operator=(const UniqueSocket&) = delete;

  SOCKET Get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_SOCKET; }
  [[nodiscard]] SOCKET Release() {
    SOCKET handle = handle_;
    handle_ = INVALID_SOCKET;
    return handle;
  }
  void Reset(SOCKET handle = INVALID_SOCKET) {
    if (handle_ != INVALID_SOCKET) net::closesocket(handle_);
    handle_ = handle;
  }

 private:
  SOCKET handle_ = INVALID_SOCKET;
};

}  // namespace vq::win
