#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "mail/session/MailSession.h"

namespace vq::mail {

// Where a session stands on its connection.
enum class SessionStep {
  kIdle,                   // no session
  kConnectingOrQuitSent,   // the connection was asked for, or QUIT went out
  kConnected,              // connected, the greeting not yet taken
  kGreetedOrQuitAnswered,  // the greeting, or the answer to QUIT, was +OK
};

// Where one command (USER, PASS or STAT) stands.
enum class CommandState {
  kNotSent,
  kSending,         // handed to the socket, not yet on the wire
  kAwaitingAnswer,  // on the wire
  kAccepted,        // +OK
  kRefused,         // -ERR came in; the next step decides what it means
  kRejected,        // -ERR, final
  kMailboxInUse,    // PASS only: -ERR [IN-USE]
};

// One account's POP3 conversation: USER, PASS, STAT and QUIT, to learn how many messages wait
// and how large they are. Driven by its socket's events; reports to the result window and in
// message boxes, and tells its owner when it has ended, whichever way it ended.
class Pop3Session final : public MailSession {
 public:
  using Ports = MailSessionPorts;
  Pop3Session(int account, const Ports& ports, std::function<void()> onEnded);
  ~Pop3Session() override;

  bool Start(const MailAccountSettings& settings) override;

  SessionStep Step() const { return step_; }
  CommandState UserState() const { return user_; }
  CommandState PassState() const { return pass_; }
  CommandState StatState() const { return stat_; }
  std::int64_t MailCount() const { return mailCount_; }
  std::int64_t MailSize() const { return mailSize_; }
  // Received bytes that do not end a line yet.
  const std::string& PendingBytes() const { return lineBuffer_; }

  void OnConnect() override;
  void OnDataArrival(std::string_view bytes) override;
  void OnSendComplete() override;

 private:
  enum class LineResult { kDone, kMalformed, kSendFailed };

  void HandleLine(const std::string& line);
  LineResult ProcessLine(std::string line);
  LineResult Dispatch(std::string_view afterStatusWord);
  bool ReadStatAnswer(std::string_view afterStatusWord);
  [[nodiscard]] bool Send(std::string_view command);
  bool Answered() const override;
  bool Counted() const override { return stat_ == CommandState::kAccepted; }
  void ReportOutcome() override;
  void Stopped() override { step_ = SessionStep::kIdle; }

  SessionStep step_ = SessionStep::kIdle;
  CommandState user_ = CommandState::kNotSent;
  CommandState pass_ = CommandState::kNotSent;
  CommandState stat_ = CommandState::kNotSent;
  bool quitSent_ = false;
  std::int64_t mailCount_ = 0;
  std::int64_t mailSize_ = 0;
  std::string userName_;
  std::string password_;
  std::string refusal_;  // what the server said as it refused USER or PASS
  std::string lineBuffer_;
};

}  // namespace vq::mail
