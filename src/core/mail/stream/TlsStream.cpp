#include "mail/stream/TlsStream.h"

#include <algorithm>

#include "mail/stream/StartTls.h"

namespace vq::mail {
namespace {

constexpr int kNotConnected = 10057;  // WSAENOTCONN
constexpr std::string_view kLineEnd = "\r\n";
// A TLS server's first byte opens a handshake record, or an alert.
constexpr char kHandshakeRecord = 0x16;
constexpr char kAlertRecord = 0x15;

int VerdictError(CertificateVerdict verdict) {
  switch (verdict) {
    case CertificateVerdict::kExpired:
      return kTlsExpired;
    case CertificateVerdict::kWrongName:
      return kTlsWrongName;
    default:
      return kTlsUntrusted;
  }
}

}  // namespace

TlsStream::TlsStream(Socket& socket, SecurityLayer& layer) : socket_(socket), layer_(layer) {
  socket_.SetEvents(this);
  layer_.SetEvents(this);
}

TlsStream::~TlsStream() {
  socket_.SetEvents(nullptr);
  layer_.SetEvents(nullptr);
}

int TlsStream::Connect(std::string_view host, int port) {
  Close();
  security_ = nextSecurity_;
  protocol_ = nextProtocol_;
  startTlsOffered_ = false;
  if (security_ == MailSecurity::kUnknown) return kTlsUnknownSetting;
  host_ = host;
  const int error = socket_.Connect(host, port);
  if (error != 0) {
    phase_ = socket_.IsClosed() ? Phase::kIdle : Phase::kEnded;
    return error;
  }
  phase_ = security_ == MailSecurity::kNone ? Phase::kPlain : Phase::kConnecting;
  return 0;
}

int TlsStream::Send(std::string_view text) {
  if (phase_ == Phase::kPlain) return socket_.Send(text);
  if (phase_ != Phase::kOpen) return kNotConnected;
  // The server hung up while its certificate was checked, and what it sent before is being
  // handed over, its close right after: as in clear, what the session says meanwhile is lost
  // without an error of its own.
  if (peerClosed_) return 0;
  SecurityStep step = layer_.Encrypt(text);
  if (step.result == SecurityStep::Result::kFailed) return kTlsBroken;
  const int error = socket_.SendBytes(step.output);
  if (error == 0) sessionSending_ = true;
  return error;
}

// The session sends text only; inside TLS the records are the stream's own.
int TlsStream::SendBytes(std::string_view bytes) {
  return phase_ == Phase::kPlain ? socket_.SendBytes(bytes) : kNotConnected;
}

// Inside TLS an answer proves the command went out, whenever the socket gets round to saying so
// (a read notification queued earlier can bring it first): the session hears of the send first,
// as its state machine expects, and the socket's own report later is not passed on twice. In
// clear the stream passes both on as they come.
bool TlsStream::ReportSendBeforeAnswer() {
  if (!sessionSending_) return true;
  sessionSending_ = false;
  return Deliver([](SocketEvents& events) { events.OnSendComplete(); });
}

// Our side of a secure session says goodbye before the line drops; nothing waits for an answer.
void TlsStream::Close() {
  if (phase_ == Phase::kOpen) {
    const std::string notice = layer_.Shutdown();
    if (!notice.empty()) (void)socket_.SendBytes(notice);
  }
  if (phase_ != Phase::kPlain && phase_ != Phase::kIdle) layer_.Reset();
  if (!socket_.IsClosed()) socket_.Close();
  ++generation_;
  phase_ = Phase::kIdle;
  DropReceived();
  greeting_.clear();
  serverSpoke_ = peerClosed_ = sessionSending_ = false;
}

template <typename Call>
bool TlsStream::Deliver(Call call) {
  if (!events_) return true;
  const std::uint32_t generation = generation_;
  call(*events_);
  return generation_ == generation;
}

void TlsStream::Fail(int code, std::string_view description) {
  layer_.Reset();
  socket_.Close();
  phase_ = Phase::kEnded;
  DropReceived();
  greeting_.clear();
  const std::string text(description);
  Deliver([&](SocketEvents& events) { events.OnError(code, text); });
}

bool TlsStream::SendRaw(const std::string& bytes) {
  if (bytes.empty()) return true;
  const int error = socket_.SendBytes(bytes);
  if (error == 0) return true;
  Fail(error);
  return false;
}

void TlsStream::OnConnect() {
  switch (phase_) {
    case Phase::kPlain:
      Deliver([](SocketEvents& events) { events.OnConnect(); });
      return;
    case Phase::kConnecting:
      if (security_ == MailSecurity::kTls)
        BeginHandshake();
      else
        phase_ = Phase::kGreeting;
      return;
    default:
      return;
  }
}

void TlsStream::BeginHandshake() {
  // Whatever came in clear after the server agreed is not the server's handshake: a third party
  // could have slipped it in. It is dropped, never fed to the handshake.
  DropReceived();
  serverSpoke_ = false;
  SecurityStep step = layer_.Begin(host_);
  if (step.result == SecurityStep::Result::kFailed) return Fail(kTlsHandshakeFailed, step.error);
  phase_ = Phase::kHandshake;
  (void)SendRaw(step.output);
}

void TlsStream::DropReceived() {
  received_.clear();
  taken_ = 0;
}

void TlsStream::OnDataArrival(std::string_view bytes) {
  if (phase_ == Phase::kPlain) {
    Deliver([bytes](SocketEvents& events) { events.OnDataArrival(bytes); });
    return;
  }
  // What was used goes once per arrival, not record by record, so that a burst of tiny records
  // costs no more than its size.
  received_.erase(0, taken_);
  taken_ = 0;
  // A CR that ended the last arrival may meet its LF now.
  const std::size_t searchFrom = received_.empty() ? 0 : received_.size() - 1;
  switch (phase_) {
    case Phase::kGreeting:
    case Phase::kCapabilitySent:
    case Phase::kStlsSent:
      received_.append(bytes);
      TakeStartTlsLines(searchFrom);
      return;
    case Phase::kHandshake:
      if (!serverSpoke_ && !bytes.empty()) {
        serverSpoke_ = true;
        if (bytes.front() != kHandshakeRecord && bytes.front() != kAlertRecord) return Fail(kTlsNotTlsServer);
      }
      received_.append(bytes);
      RunHandshake();
      return;
    case Phase::kChecking:
      // Nothing is verified yet: held, but no more than in any other phase.
      received_.append(bytes);
      if (PendingBytes() > kLargestPending) Fail(kTlsBroken);
      return;
    case Phase::kOpen:
      received_.append(bytes);
      DecryptReceived();
      return;
    default:
      return;
  }
}

// The talk before TLS, one whole line at a time, each protocol's own in StartTls: the greeting
// is kept for the session, and lines after the one a command answers were sent before the
// server could have read that command, so they cannot answer it.
void TlsStream::TakeStartTlsLines(std::size_t searchFrom) {
  std::size_t start = 0, end;
  while ((end = received_.find(kLineEnd, std::max(start, searchFrom))) != std::string::npos) {
    std::string line = received_.substr(start, end + kLineEnd.size() - start);
    start = end + kLineEnd.size();
    const StartTlsStep step = phase_ == Phase::kGreeting         ? StartTlsStep::kGreeting
                              : phase_ == Phase::kCapabilitySent ? StartTlsStep::kCapabilitySent
                                                                 : StartTlsStep::kStartTlsSent;
    StartTlsTurn turn =
        protocol_ == MailProtocol::kImap ? ImapStartTls(step, line, startTlsOffered_) : Pop3StartTls(step, line);
    switch (turn.action) {
      case StartTlsTurn::Action::kRead:
        continue;
      case StartTlsTurn::Action::kSend:
        if (step == StartTlsStep::kGreeting) greeting_ = std::move(line);
        DropReceived();
        if (!SendRaw(turn.command)) return;
        phase_ = turn.next == StartTlsStep::kCapabilitySent ? Phase::kCapabilitySent : Phase::kStlsSent;
        return;
      case StartTlsTurn::Action::kHandshake:
        return BeginHandshake();
      case StartTlsTurn::Action::kRefused:
        return Fail(kTlsNoStartTls);
      case StartTlsTurn::Action::kTurnedAway:
        // The server turned us away before anything was said: the session hears its goodbye,
        // for the reason it gives, and the close. Nothing can be sent any more.
        DropReceived();
        socket_.Close();
        phase_ = Phase::kEnded;
        if (Deliver([&](SocketEvents& events) { events.OnDataArrival(line); }))
          Deliver([](SocketEvents& events) { events.OnClose(); });
        return;
    }
  }
  received_.erase(0, start);
  if (received_.size() > kLargestPending) Fail(kTlsHandshakeFailed);
}

void TlsStream::RunHandshake() {
  while (phase_ == Phase::kHandshake && PendingBytes() != 0) {
    SecurityStep step = layer_.Handshake(std::string_view(received_).substr(taken_));
    taken_ += std::min(step.consumed, PendingBytes());
    const std::uint32_t generation = generation_;
    if (!SendRaw(step.output) || generation != generation_) return;
    switch (step.result) {
      case SecurityStep::Result::kNeedMore:
        if (PendingBytes() > kLargestPending) Fail(kTlsHandshakeFailed);
        return;
      case SecurityStep::Result::kContinue:
        // A record taken whole, the rest waiting: go on at once, the socket will not say so
        // again. Nothing taken means nothing more can happen until more comes.
        if (step.consumed == 0) return;
        break;
      case SecurityStep::Result::kDone:
        phase_ = Phase::kChecking;
        layer_.CheckCertificate();
        return;
      default:
        return Fail(kTlsHandshakeFailed, step.error);
    }
  }
}

void TlsStream::OnCertificateChecked(CertificateVerdict verdict) {
  if (phase_ != Phase::kChecking) return;
  if (verdict != CertificateVerdict::kTrusted) return Fail(VerdictError(verdict));
  phase_ = Phase::kOpen;
  if (!Deliver([](SocketEvents& events) { events.OnConnect(); })) return;
  if (!greeting_.empty()) {
    const std::string greeting = std::move(greeting_);
    greeting_.clear();
    if (!Deliver([&greeting](SocketEvents& events) { events.OnDataArrival(greeting); })) return;
  }
  // The first records (often the greeting itself) came with the end of the handshake.
  const std::uint32_t generation = generation_;
  DecryptReceived();
  if (generation != generation_ || phase_ != Phase::kOpen || !peerClosed_) return;
  phase_ = Phase::kEnded;
  Deliver([](SocketEvents& events) { events.OnClose(); });
}

void TlsStream::DecryptReceived() {
  while (phase_ == Phase::kOpen && PendingBytes() != 0) {
    SecurityStep step = layer_.Decrypt(std::string_view(received_).substr(taken_));
    switch (step.result) {
      case SecurityStep::Result::kNeedMore:
        if (PendingBytes() > kLargestPending) Fail(kTlsBroken);
        return;
      case SecurityStep::Result::kData:
        if (step.consumed == 0) return Fail(kTlsBroken, step.error);
        taken_ += std::min(step.consumed, PendingBytes());
        // An empty record is the server's close_notify under some platforms: the close follows.
        if (step.plain.empty()) break;
        if (!ReportSendBeforeAnswer() || !Deliver([&step](SocketEvents& events) { events.OnDataArrival(step.plain); }))
          return;
        break;
      case SecurityStep::Result::kClosed:
        // The server ended the secure session; what the session has is all it gets.
        DropReceived();
        phase_ = Phase::kEnded;
        socket_.Close();
        Deliver([](SocketEvents& events) { events.OnClose(); });
        return;
      default:
        return Fail(kTlsBroken, step.error);
    }
  }
}

// The handshake's own sends are not the session's business.
void TlsStream::OnSendComplete() {
  if (phase_ == Phase::kPlain)
    Deliver([](SocketEvents& events) { events.OnSendComplete(); });
  else if (phase_ == Phase::kOpen)
    (void)ReportSendBeforeAnswer();
}

// A close without close_notify counts as a close: for POP3 the answer to QUIT is what matters.
void TlsStream::OnClose() {
  switch (phase_) {
    case Phase::kPlain:
    case Phase::kGreeting:
    case Phase::kOpen:
      phase_ = phase_ == Phase::kPlain ? Phase::kPlain : Phase::kEnded;
      Deliver([](SocketEvents& events) { events.OnClose(); });
      return;
    case Phase::kCapabilitySent:
    case Phase::kStlsSent:
      return Fail(kTlsNoStartTls);
    case Phase::kConnecting:
    case Phase::kHandshake:
      return Fail(kTlsHandshakeFailed);
    case Phase::kChecking:
      // The verdict decides what the session hears first.
      peerClosed_ = true;
      return;
    default:
      return;
  }
}

void TlsStream::OnError(int code, std::string_view description) {
  if (phase_ == Phase::kIdle || phase_ == Phase::kEnded) return;
  if (phase_ != Phase::kPlain) {
    layer_.Reset();
    phase_ = Phase::kEnded;
    DropReceived();
  }
  Deliver([&](SocketEvents& events) { events.OnError(code, description); });
}

}  // namespace vq::mail
