#pragma once
#include <string>
#include <string_view>

namespace vq::mail {

// Where a protocol's talk before TLS stands.
enum class StartTlsStep {
  kGreeting,        // waiting for the server's greeting
  kCapabilitySent,  // IMAP: waiting for the capabilities
  kStartTlsSent,    // waiting for the answer to STLS, or to IMAP's STARTTLS
};

// What the stream does with one whole line (line end included) of that talk.
struct StartTlsTurn {
  enum class Action {
    kRead,        // the line answers nothing: read the next one
    kSend,        // send `command`, the talk then stands at `next`
    kHandshake,   // the server agreed: the handshake starts
    kRefused,     // the server does not agree, or cannot: nothing more is sent
    kTurnedAway,  // the server said goodbye before anything was asked (IMAP's "* BYE")
  };
  Action action = Action::kRead;
  std::string command;
  StartTlsStep next = StartTlsStep::kGreeting;
};

// Each protocol's talk before TLS, one line at a time. Only the stream sends what they answer,
// and only in clear before the handshake: the session's own first word waits for the checked
// certificate.
//
// POP3: the greeting, then "STLS", whose "+OK" opens the handshake.
StartTlsTurn Pop3StartTls(StartTlsStep step, std::string_view line);
// IMAP: the greeting, then CAPABILITY, then STARTTLS once the capabilities named it, each
// answer matched by its tag. `startTlsOffered` carries what the capabilities said from line to
// line; it starts false.
StartTlsTurn ImapStartTls(StartTlsStep step, std::string_view line, bool& startTlsOffered);

}  // namespace vq::mail
