#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "mail/session/MailSession.h"

namespace vq::mail {

// Which command an IMAP session waits to see answered.
enum class ImapStep {
  kIdle,        // no session
  kConnecting,  // the connection was asked for
  kGreeting,    // connected, the greeting not yet in
  kCapability,  // CAPABILITY sent
  kLogin,       // LOGIN or AUTHENTICATE PLAIN sent, perhaps in parts that wait for "+"
  kStatus,      // STATUS INBOX sent
  kLogout,      // LOGOUT sent
};

// What the conversation has established so far.
enum class ImapOutcome {
  kNone,
  kCounted,        // STATUS gave both numbers
  kStatusRefused,  // NO or BAD to STATUS
  kLoginRejected,  // NO or BAD to LOGIN (or AUTHENTICATE)
  kLoginDisabled,  // LOGINDISABLED on a connection without TLS: nothing was sent
};

// One account's IMAP conversation: CAPABILITY, LOGIN (or AUTHENTICATE PLAIN where the server
// disabled LOGIN), STATUS INBOX for the number of messages and of those not seen, LOGOUT. It never
// selects the mailbox, so no message or flag can change. Each command carries its own tag and
// only the tagged answer with that tag answers it; untagged data it did not ask for is ignored.
class ImapSession final : public MailSession {
 public:
  using Ports = MailSessionPorts;
  ImapSession(int account, const Ports& ports, std::function<void()> onEnded);

  bool Start(const MailAccountSettings& settings) override;

  ImapStep Step() const { return step_; }

  void OnConnect() override;
  void OnDataArrival(std::string_view bytes) override;
  void OnSendComplete() override;

 private:
  void HandleResponse(std::string_view response);
  void Tagged(bool ok, std::string_view text);
  // An untagged BYE before LOGOUT.
  void EndedByServer(std::string_view reason);
  void Login();
  // Sends the first part of a tagged command at once, the others each after a "+".
  void SendCommand(ImapStep step, std::string text, std::deque<std::string> parts = {});
  // A failed send is tried once more; false (and the session ended) when that failed too.
  [[nodiscard]] bool Send(const std::string& line);
  [[nodiscard]] bool ReadStatus(std::string_view data);
  // Once the counts, or a refusal, are in.
  bool Answered() const override { return outcome_ != ImapOutcome::kNone; }
  bool Counted() const override { return outcome_ == ImapOutcome::kCounted; }
  void ReportOutcome() override;
  void Stopped() override { step_ = ImapStep::kIdle; }

  ImapStep step_ = ImapStep::kIdle;
  ImapOutcome outcome_ = ImapOutcome::kNone;
  MailAccountSettings settings_;
  unsigned tagNumber_ = 0;
  std::string tag_;                  // of the command awaiting its answer
  std::deque<std::string> pending_;  // parts of it that wait for the server's "+"
  bool preauth_ = false, loginDisabled_ = false, literalPlus_ = false;
  std::optional<std::int64_t> messages_, unseen_;
  std::string said_;          // the server's text with its refusal of the login, or with its goodbye
  std::string alert_;         // an untagged "[ALERT]" while the login was under way
  std::string buffer_;        // received bytes not yet a whole response
  std::size_t scanFrom_ = 0;  // where in buffer_ the next line end may be
  std::size_t partFrom_ = 0;  // where the part of the response after its last literal begins
};

}  // namespace vq::mail
