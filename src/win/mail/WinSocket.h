#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "win/mail/UniqueSocket.h"
#include "ports/Socket.h"
#include "win/base/MessageWindow.h"

namespace vq::win {

struct SocketResolution;

// One address the resolver gave, in its order.
struct SocketAddress {
  sockaddr_storage address{};
  int length = 0;
  int family = AF_UNSPEC;
};

// The program's TCP connections: non-blocking Windows Sockets whose notifications come to a
// message-only window of the socket's own. Create it on the user-interface thread and keep that
// thread's message loop running; nothing else is needed. Host names are resolved on a short-lived
// worker thread, so a slow name server freezes nothing. Every event reaches the listener from the
// message loop, never from inside a call on the socket; a listener may close, reconnect or destroy
// the socket from inside an event.
class WinSocket final : public MessageWindow, public Socket {
 public:
  // A name's addresses are tried one after another. One that neither answers nor refuses (an
  // IPv6 route that leads nowhere) has this long before the next is tried, so that it cannot
  // use up the whole minute a mail server has to answer; the last one has what is left of it.
  static constexpr DWORD kAddressShareMs = 10000;
  using Resolver = std::vector<SocketAddress> (*)(const std::wstring& host, const std::wstring& service, int flags);

  // Tests give their own resolver and share; the system's resolver otherwise.
  explicit WinSocket(Resolver resolver = nullptr, DWORD addressShareMs = kAddressShareMs);
  ~WinSocket() override;

  void SetEvents(SocketEvents* events) override;
  // A port outside 1..65535 gives 10049 at once, and a numeric address that no connection can
  // even start to gives that error at once; the socket then stays closed.
  [[nodiscard]] int Connect(std::string_view host, int port) override;
  // 10057 unless connected.
  [[nodiscard]] int Send(std::string_view text) override;
  std::size_t WireLength(std::string_view text) const override;
  std::string TextFromWire(std::string_view bytes) const override;
  [[nodiscard]] int SendBytes(std::string_view bytes) override;
  void Close() override;
  bool IsClosed() const override;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  UINT SocketMessage() const;
  [[nodiscard]] int ConnectNext();
  void StopAddressTimer();
  void OnAddressSilent();
  void OnResolved();
  void OnSocketEvent(int event, int error);
  void OnPeerClosed(int error);
  [[nodiscard]] bool ReadAvailable(std::string& data, int& error);
  [[nodiscard]] int Flush();
  void Fail(int code);
  void EndConnection();
  void Defer();
  void DeliverDeferred();
  [[nodiscard]] bool DeliverPending();
  template <typename Call>
  bool Deliver(Call call);

  Resolver resolver_;
  DWORD addressShareMs_;
  bool winsockStarted_ = false;
  SocketEvents* events_ = nullptr;

  // Every Connect and Close starts a new generation; notifications of an older one are dropped.
  std::uint32_t generation_ = 0;
  // Counts the sockets made, which pick their notification message by it.
  std::uint32_t attempts_ = 0;
  bool closed_ = true;
  bool connected_ = false;
  std::shared_ptr<SocketResolution> resolution_;
  std::vector<SocketAddress> addresses_;
  size_t nextAddress_ = 0;
  UINT_PTR addressTimer_ = 0;  // runs while an address other than the last is being tried
  int lastError_ = 0;
  UniqueSocket socket_;

  std::string outbox_;
  size_t sent_ = 0;
  bool awaitingSendComplete_ = false;

  // Outcomes found inside a call on the socket wait for a posted message.
  bool deferredPosted_ = false;
  bool deferredConnect_ = false;
  bool deferredSendComplete_ = false;
  int deferredError_ = 0;

  // Points at a flag of the delivery under way; the destructor clears it, since a listener may
  // destroy the socket from inside an event.
  bool* deliveryAlive_ = nullptr;
};

// The system's text for a Windows Sockets error, in UTF-8 without its line end; the error's
// name (such as "WSAECONNRESET") when the system has no text for it.
std::string SocketErrorText(int code);

}  // namespace vq::win
