#include "mail/pop3/Pop3Session.h"

#include "base/Utf8.h"
#include "mail/text/MailMessages.h"
#include "mail/result/MailResult.h"
#include "mail/text/MailNumbers.h"

namespace vq::mail {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool Outstanding(CommandState state) {
  return state == CommandState::kSending || state == CommandState::kAwaitingAnswer;
}

}  // namespace

Pop3Session::Pop3Session(int account, const Ports& ports, std::function<void()> onEnded)
    : MailSession(account, ports, std::move(onEnded)) {
  ports_.socket.SetEvents(this);
}

Pop3Session::~Pop3Session() { ports_.socket.SetEvents(nullptr); }

bool Pop3Session::Start(const MailAccountSettings& settings) {
  if (!Begin()) return false;
  userName_ = settings.user;
  password_ = settings.password;
  user_ = pass_ = stat_ = CommandState::kNotSent;
  quitSent_ = false;
  mailCount_ = mailSize_ = 0;
  refusal_.clear();
  // Bytes left over from an abandoned connection would otherwise prefix the next greeting.
  lineBuffer_.clear();
  if (Connect(settings)) step_ = SessionStep::kConnectingOrQuitSent;
  return true;
}

bool Pop3Session::Answered() const {
  return stat_ == CommandState::kAccepted || stat_ == CommandState::kRefused || user_ == CommandState::kRejected ||
         pass_ == CommandState::kRejected || pass_ == CommandState::kMailboxInUse;
}

void Pop3Session::OnConnect() {
  if (!running_) return;
  RestartNoAnswerTimer();
  step_ = SessionStep::kConnected;
}

void Pop3Session::OnSendComplete() {
  if (!running_) return;
  RestartNoAnswerTimer();
  if (user_ == CommandState::kSending)
    user_ = CommandState::kAwaitingAnswer;
  else if (pass_ == CommandState::kSending)
    pass_ = CommandState::kAwaitingAnswer;
  else if (stat_ == CommandState::kSending)
    stat_ = CommandState::kAwaitingAnswer;
}

// Bytes restart no timer: only a whole answer moves the session on, so a server that trickles
// an answer byte by byte still meets the limit. The buffer is cut once per arrival, not per
// line, so that a burst of short lines costs no more than its size.
void Pop3Session::OnDataArrival(std::string_view bytes) {
  if (!running_) return;
  // A CR at the end of the last arrival and its LF at the start of this one still end the line.
  std::size_t from = lineBuffer_.empty() ? 0 : lineBuffer_.size() - 1;
  lineBuffer_.append(bytes);
  const unsigned generation = generation_;
  std::size_t start = 0, end;
  while (running_ && generation_ == generation && (end = lineBuffer_.find(kLineEnd, from)) != std::string::npos) {
    const std::string line = lineBuffer_.substr(start, end + kLineEnd.size() - start);
    start = from = end + kLineEnd.size();
    HandleLine(line);
  }
  // A newer session owns the buffer now.
  if (generation_ != generation) return;
  lineBuffer_.erase(0, start);
  if (running_ && lineBuffer_.size() > kLongestLine) Finish(Ending::kLineTooLong);
}

void Pop3Session::HandleLine(const std::string& line) {
  // A failed send is tried once more with the same line; the state it reached stays.
  for (int attempt = 0; attempt < 2; ++attempt) {
    switch (ProcessLine(line)) {
      case LineResult::kDone:
        return;
      case LineResult::kMalformed:
        Finish(Ending::kUnreadableAnswer);
        return;
      case LineResult::kSendFailed:
        break;
    }
  }
  Finish(Ending::kFailure);
}

Pop3Session::LineResult Pop3Session::ProcessLine(std::string line) {
  // "+OK" alone is a status word with nothing after it.
  if (line.find(' ') == std::string::npos) line.insert(line.size() - kLineEnd.size(), " ");
  const std::size_t space = line.find(' ');
  const std::string word = UpperAscii(std::string_view(line).substr(0, space));
  const std::string_view rest = std::string_view(line).substr(space + 1);

  if (step_ == SessionStep::kConnected) {
    // The first line is the greeting, whatever it says: USER follows it all the same, and the
    // answer to USER must not be taken for a greeting still awaited.
    step_ = SessionStep::kGreetedOrQuitAnswered;
  } else if (word == "+OK") {
    if (user_ == CommandState::kAwaitingAnswer) {
      user_ = CommandState::kAccepted;
    } else if (pass_ == CommandState::kAwaitingAnswer) {
      pass_ = CommandState::kAccepted;
    } else if (stat_ == CommandState::kAwaitingAnswer) {
      if (!ReadStatAnswer(rest)) return LineResult::kMalformed;
      stat_ = CommandState::kAccepted;
    } else if (step_ == SessionStep::kConnectingOrQuitSent) {
      step_ = SessionStep::kGreetedOrQuitAnswered;
    }
  } else if (word == "-ERR") {
    if (user_ == CommandState::kAwaitingAnswer)
      user_ = CommandState::kRefused;
    else if (pass_ == CommandState::kAwaitingAnswer)
      pass_ = CommandState::kRefused;
    else if (stat_ == CommandState::kAwaitingAnswer)
      stat_ = CommandState::kRefused;
  }
  return Dispatch(rest);
}

// "+OK count size", more text allowed after the size. Both numbers must be there, and fit: a
// count read as 0 from a garbled answer would report an empty mailbox, and one held at a limit
// a number the server never sent.
bool Pop3Session::ReadStatAnswer(std::string_view rest) {
  const std::size_t space = rest.find(' ');
  if (space == std::string_view::npos) return false;
  const std::optional<std::int64_t> count = LeadingDigits(rest.substr(0, space));
  const std::optional<std::int64_t> size = LeadingDigits(rest.substr(space + 1));
  if (!count || !size) return false;
  mailCount_ = *count;
  mailSize_ = *size;
  return true;
}

// What to send after a line, whatever the line said. A line that answers nothing while a
// command still waits for its answer (the second line of a two-line greeting) sends nothing:
// the next command would go out before its turn, and the answers would no longer match.
Pop3Session::LineResult Pop3Session::Dispatch(std::string_view rest) {
  const std::string_view text = rest.substr(0, rest.size() - kLineEnd.size());
  if (Outstanding(user_) || Outstanding(pass_) || Outstanding(stat_)) {
    // Wait for the answer.
  } else if (user_ == CommandState::kNotSent) {
    if (!Send("USER " + userName_)) return LineResult::kSendFailed;
    user_ = CommandState::kSending;
  } else if (user_ == CommandState::kRefused) {
    user_ = CommandState::kRejected;
    refusal_ = ports_.socket.TextFromWire(text);
  } else if (user_ == CommandState::kRejected) {
    // Refused: nothing more goes out, the password least of all; the server closes.
  } else if (pass_ == CommandState::kNotSent) {
    if (!Send("PASS " + password_)) return LineResult::kSendFailed;
    pass_ = CommandState::kSending;
  } else if (pass_ == CommandState::kRefused) {
    const std::string_view code = text.substr(0, text.find(' '));
    pass_ = UpperAscii(code) == "[IN-USE]" ? CommandState::kMailboxInUse : CommandState::kRejected;
    refusal_ = ports_.socket.TextFromWire(text);
  } else if (pass_ == CommandState::kRejected || pass_ == CommandState::kMailboxInUse) {
    // As after a refused user name.
  } else if (stat_ == CommandState::kNotSent && pass_ == CommandState::kAccepted) {
    if (!Send("STAT")) return LineResult::kSendFailed;
    stat_ = CommandState::kSending;
  } else if (!quitSent_) {
    // Once: whatever lines follow (the answer to QUIT, or a flood) only wait for the close.
    if (!Send("QUIT")) return LineResult::kSendFailed;
    quitSent_ = true;
    step_ = SessionStep::kConnectingOrQuitSent;
  }
  return LineResult::kDone;
}

// Its answer is due from now.
bool Pop3Session::Send(std::string_view command) {
  std::string line(command);
  line += kLineEnd;
  if (ports_.socket.Send(line) != 0) return false;
  RestartNoAnswerTimer();
  return true;
}

void Pop3Session::ReportOutcome() {
  if (stat_ == CommandState::kAccepted) {
    if (mailCount_ != 0)
      ports_.result.ShowMail(account_, MailWaitingText(account_, mailCount_, mailSize_));
    else
      ports_.result.SetStatusLine(account_, NoMailText(account_));
    return;
  }
  // Without an answer to STAT nothing is known about the mailbox.
  ports_.result.SetStatusLine(account_, ErrorStatusText(account_));
  if (user_ == CommandState::kRejected)
    ports_.dialogs.Message(WithServerReason(NoSuchAccountMessage(account_), refusal_));
  else if (pass_ == CommandState::kMailboxInUse)
    ports_.dialogs.Message(kAccountInUseMessage);
  else if (pass_ == CommandState::kRejected)
    ports_.dialogs.Message(WithServerReason(WrongPasswordMessage(account_), refusal_));
}

}  // namespace vq::mail
