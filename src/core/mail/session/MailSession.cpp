#include "mail/session/MailSession.h"

#include <algorithm>
#include <limits>

#include "mail/text/MailMessages.h"
#include "mail/result/MailResult.h"
#include "mail/text/MailNumbers.h"

namespace vq::mail {
namespace {

constexpr int kAddressNotAvailable = 10049;  // WSAEADDRNOTAVAIL: trying again cannot help
constexpr int kTimedOut = 10060;             // WSAETIMEDOUT

int PortNumber(std::string_view text) {
  const std::int64_t value = LeadingNumber(text);
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

MailSession::MailSession(int account, const MailSessionPorts& ports, std::function<void()> onEnded)
    : account_(account), ports_(ports), onEnded_(std::move(onEnded)) {}

bool MailSession::Begin() {
  if (ports_.schedule.Busy() || running_) {
    ports_.dialogs.Beep();
    return false;
  }
  ports_.schedule.SetBusy(true);
  running_ = true;
  ++generation_;
  return true;
}

// The port is the number its text begins with; an address that cannot be used ends at once,
// another failure is tried once more.
bool MailSession::Connect(const MailAccountSettings& settings) {
  const int port = PortNumber(settings.port);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!ports_.socket.IsClosed()) ports_.socket.Close();
    const int error = ports_.socket.Connect(settings.host, port);
    if (error == 0) {
      RestartNoAnswerTimer();
      return true;
    }
    if (error == kAddressNotAvailable) break;
  }
  Finish(Ending::kFailure);
  return false;
}

void MailSession::Abandon() {
  if (running_) {
    running_ = false;
    ++generation_;
    Stopped();
    ports_.timers.Stop(TimerId::kMailNoAnswer);
  }
  if (!ports_.socket.IsClosed()) ports_.socket.Close();
}

void MailSession::RestartNoAnswerTimer() { ports_.timers.Start(TimerId::kMailNoAnswer, kNoAnswerLimit); }

// A server that keeps the line open after it has answered (some wait minutes before they close
// after a refusal) has said all that matters; only a silence before that is an error.
void MailSession::OnNoAnswer() {
  if (!running_) return;
  if (Answered())
    Finish(Ending::kConversationOver);
  else
    Finish(Ending::kSocketError, kTimedOut);
}

void MailSession::OnClose() {
  if (running_) Finish(Ending::kConversationOver);
}

void MailSession::OnError(int code, std::string_view description) {
  if (running_) Finish(Ending::kSocketError, code, description);
}

// Message boxes are modal and let events through: everything that stops this session's
// events happens before the first box, and what follows the boxes is skipped when a newer
// session of this account began meanwhile: the busy flag and the hand-over are its own now.
void MailSession::Finish(Ending ending, int code, std::string_view description) {
  if (!running_) return;
  running_ = false;
  Stopped();
  ports_.timers.Stop(TimerId::kMailNoAnswer);
  if (!ports_.socket.IsClosed()) ports_.socket.Close();
  const unsigned generation = generation_;
  const std::string errorMessage(ending == Ending::kSocketError ? SocketErrorMessage(account_, code, description)
                                                                : std::string());
  const bool failed = ending != Ending::kConversationOver && ending != Ending::kSocketError;
  if (failed && !Counted()) {
    ports_.result.SetStatusLine(account_, ErrorStatusText(account_));
    ports_.dialogs.Message(ending == Ending::kLineTooLong        ? LineTooLongMessage(account_)
                           : ending == Ending::kUnreadableAnswer ? UnreadableAnswerMessage(account_)
                                                                 : SessionFailedMessage(account_));
  } else {
    ReportOutcome();
    if (!errorMessage.empty()) ports_.dialogs.Message(errorMessage);
  }
  if (generation_ != generation) return;
  ports_.schedule.SetBusy(false);
  onEnded_();
}

}  // namespace vq::mail
