#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/Settings.h"
#include "mail/stream/TlsError.h"
#include "ports/SecurityLayer.h"
#include "ports/Socket.h"

namespace vq::mail {

// A connection as a mail session sees it, POP3 or IMAP alike, whatever protects it: with no
// security it passes every call and event straight through; with TLS ("SSL/TLS" from the first
// byte, or STARTTLS after the greeting: POP3's "STLS", IMAP's "STARTTLS" once its CAPABILITY
// named it, each protocol's talk read in StartTls) it runs the handshake, has the certificate
// checked, and only then reports the connection, so the session's first command (POP3's USER,
// IMAP's CAPABILITY) can never go out in clear. The session's own no-answer limit keeps running
// through all of it.
class TlsStream final : public Socket, private SocketEvents, private SecurityLayerEvents {
 public:
  // A whole record is at most about 16.7 KiB, and a greeting one line: holding more than this
  // without being able to use it means the peer speaks neither.
  static constexpr std::size_t kLargestPending = 64 * 1024;

  enum class Phase {
    kIdle,            // closed
    kPlain,           // no security: a pass-through
    kConnecting,      // the TCP connection is under way
    kGreeting,        // STARTTLS: waiting for the server's greeting
    kCapabilitySent,  // IMAP STARTTLS: waiting for the capabilities
    kStlsSent,        // STLS (or IMAP's STARTTLS): waiting for its answer
    kHandshake,
    kChecking,  // the handshake is done, the certificate being checked
    kOpen,      // the session talks through TLS
    kEnded,     // failed, or closed by the server; the session has been told
  };

  TlsStream(Socket& socket, SecurityLayer& layer);
  ~TlsStream() override;
  TlsStream(const TlsStream&) = delete;
  TlsStream& operator=(const TlsStream&) = delete;

  // The protection of the next connection, and the protocol whose STARTTLS it speaks; one under
  // way keeps its own.
  void SetSecurity(MailSecurity security, MailProtocol protocol = MailProtocol::kPop3) {
    nextSecurity_ = security;
    nextProtocol_ = protocol;
  }
  Phase CurrentPhase() const { return phase_; }
  // Received bytes not yet used: a partial record, or a partial line before the handshake.
  std::size_t PendingBytes() const { return received_.size() - taken_; }

  void SetEvents(SocketEvents* events) override { events_ = events; }
  [[nodiscard]] int Connect(std::string_view host, int port) override;
  [[nodiscard]] int Send(std::string_view text) override;
  std::size_t WireLength(std::string_view text) const override { return socket_.WireLength(text); }
  std::string TextFromWire(std::string_view bytes) const override { return socket_.TextFromWire(bytes); }
  [[nodiscard]] int SendBytes(std::string_view bytes) override;
  void Close() override;
  bool IsClosed() const override { return phase_ == Phase::kIdle; }

 private:
  void OnConnect() override;
  void OnDataArrival(std::string_view bytes) override;
  void OnSendComplete() override;
  void OnClose() override;
  void OnError(int code, std::string_view description) override;
  void OnCertificateChecked(CertificateVerdict verdict) override;

  void TakeStartTlsLines(std::size_t searchFrom);
  void DropReceived();
  void BeginHandshake();
  void RunHandshake();
  void DecryptReceived();
  [[nodiscard]] bool SendRaw(const std::string& bytes);
  [[nodiscard]] bool ReportSendBeforeAnswer();
  void Fail(int code, std::string_view description = {});
  // Calls the session; false when it closed or reconnected the stream meanwhile.
  template <typename Call>
  bool Deliver(Call call);

  Socket& socket_;
  SecurityLayer& layer_;
  SocketEvents* events_ = nullptr;
  MailSecurity nextSecurity_ = MailSecurity::kNone;
  MailSecurity security_ = MailSecurity::kNone;
  MailProtocol nextProtocol_ = MailProtocol::kPop3;
  MailProtocol protocol_ = MailProtocol::kPop3;
  bool startTlsOffered_ = false;  // IMAP: the capabilities name STARTTLS
  Phase phase_ = Phase::kIdle;
  // Every Connect and Close starts a new one.
  std::uint32_t generation_ = 0;
  std::string host_;
  std::string received_;
  std::size_t taken_ = 0;  // the bytes of received_ already used, dropped with the next arrival
  std::string greeting_;   // STARTTLS: the greeting taken in clear, handed to the session once secure
  bool serverSpoke_ = false;
  bool peerClosed_ = false;      // the server closed while its certificate was being checked
  bool sessionSending_ = false;  // a send complete is owed to the session
};

}  // namespace vq::mail
