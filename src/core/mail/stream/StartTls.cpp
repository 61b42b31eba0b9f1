#include "mail/stream/StartTls.h"

#include "base/Utf8.h"

namespace vq::mail {
namespace {

using Action = StartTlsTurn::Action;

bool IsPositive(std::string_view line) {
  if (line.size() < 3 || line[0] != '+' || (line[1] != 'O' && line[1] != 'o') || (line[2] != 'K' && line[2] != 'k'))
    return false;
  return line.size() == 3 || line[3] == ' ' || line[3] == '\r';
}

StartTlsTurn Just(Action action) {
  StartTlsTurn turn;
  turn.action = action;
  return turn;
}

StartTlsTurn Send(std::string command, StartTlsStep next) {
  StartTlsTurn turn;
  turn.action = Action::kSend;
  turn.command = std::move(command);
  turn.next = next;
  return turn;
}

}  // namespace

StartTlsTurn Pop3StartTls(StartTlsStep step, std::string_view line) {
  if (step == StartTlsStep::kGreeting) return Send("STLS\r\n", StartTlsStep::kStartTlsSent);
  return Just(IsPositive(line) ? Action::kHandshake : Action::kRefused);
}

StartTlsTurn ImapStartTls(StartTlsStep step, std::string_view line, bool& startTlsOffered) {
  const std::string upper = UpperAscii(line);
  switch (step) {
    case StartTlsStep::kGreeting:
      if (upper.starts_with("* BYE")) return Just(Action::kTurnedAway);
      return Send("V1 CAPABILITY\r\n", StartTlsStep::kCapabilitySent);
    case StartTlsStep::kCapabilitySent:
      if (upper.starts_with("* CAPABILITY ") &&
          (upper.find(" STARTTLS ") != std::string::npos || upper.find(" STARTTLS\r") != std::string::npos))
        startTlsOffered = true;
      if (!upper.starts_with("V1 ")) return Just(Action::kRead);
      // A server that does not offer STARTTLS hears nothing more.
      if (!upper.starts_with("V1 OK") || !startTlsOffered) return Just(Action::kRefused);
      return Send("V2 STARTTLS\r\n", StartTlsStep::kStartTlsSent);
    case StartTlsStep::kStartTlsSent:
      if (!upper.starts_with("V2 ")) return Just(Action::kRead);
      return Just(upper.starts_with("V2 OK") ? Action::kHandshake : Action::kRefused);
  }
  return Just(Action::kRefused);
}

}  // namespace vq::mail
