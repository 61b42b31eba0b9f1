#include "mail/imap/ImapSession.h"

#include <algorithm>
#include <optional>

#include "base/Digits.h"
#include "base/Utf8.h"
#include "mail/text/MailMessages.h"
#include "mail/result/MailResult.h"
#include "mail/text/MailNumbers.h"

namespace vq::mail {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string_view FirstWord(std::string_view text) { return text.substr(0, text.find(' ')); }
std::string_view AfterFirstWord(std::string_view text) {
  const std::size_t space = text.find(' ');
  return space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
}

// "{12}" or "{12+}" at the end of a line: that many bytes follow its line end, and the response
// goes on after them.
std::optional<std::size_t> LiteralSize(std::string_view line) {
  if (line.empty() || line.back() != '}') return std::nullopt;
  const std::size_t open = line.rfind('{');
  if (open == std::string_view::npos) return std::nullopt;
  std::string_view digits = line.substr(open + 1, line.size() - open - 2);
  if (!digits.empty() && digits.back() == '+') digits.remove_suffix(1);
  if (!AllDigits(digits)) return std::nullopt;
  const std::optional<std::int64_t> size = LeadingDigits(digits);
  if (!size) return MailSession::kLongestLine + 1;
  return static_cast<std::size_t>(std::min<std::int64_t>(*size, MailSession::kLongestLine + 1));
}

// A quoted string carries 7-bit text without line ends; anything else needs a literal.
std::optional<std::string> Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0 || byte == '\r' || byte == '\n' || byte >= 0x80) return std::nullopt;
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    for (std::size_t k = 0; k < 4; ++k) out += i + k <= bytes.size() ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

bool HasWord(std::string_view words, std::string_view word) {
  while (!words.empty()) {
    if (UpperAscii(FirstWord(words)) == word) return true;
    words = AfterFirstWord(words);
  }
  return false;
}

// The words of a "[CAPABILITY ...]" code that opens the text of a greeting.
std::string_view GreetingCapabilities(std::string_view text) {
  if (UpperAscii(FirstWord(text)) != "[CAPABILITY") return {};
  text = AfterFirstWord(text);
  return text.substr(0, text.find(']'));
}

}  // namespace

ImapSession::ImapSession(int account, const Ports& ports, std::function<void()> onEnded)
    : MailSession(account, ports, std::move(onEnded)) {}

bool ImapSession::Start(const MailAccountSettings& settings) {
  if (!Begin()) return false;
  settings_ = settings;
  outcome_ = ImapOutcome::kNone;
  tagNumber_ = 0;
  tag_.clear();
  pending_.clear();
  preauth_ = loginDisabled_ = literalPlus_ = false;
  said_.clear();
  alert_.clear();
  messages_.reset();
  unseen_.reset();
  buffer_.clear();
  scanFrom_ = partFrom_ = 0;
  if (Connect(settings)) step_ = ImapStep::kConnecting;
  return true;
}

void ImapSession::OnConnect() {
  if (!running_) return;
  RestartNoAnswerTimer();
  step_ = ImapStep::kGreeting;
}

void ImapSession::OnSendComplete() {
  if (running_) RestartNoAnswerTimer();
}

// A response is a line, or several when it carries literals: "{N}" ends a line and N bytes of
// data (line ends included) follow before the response goes on. As for POP3, the buffer is cut
// once per arrival, and only a whole response moves the session on.
void ImapSession::OnDataArrival(std::string_view bytes) {
  if (!running_) return;
  // A CR at the end of the last arrival and its LF at the start of this one still end the line.
  std::size_t from = std::max(scanFrom_, buffer_.empty() ? std::size_t{0} : buffer_.size() - 1);
  std::size_t part = partFrom_;  // the line after the last literal, where "{N}" would be
  buffer_.append(bytes);
  const unsigned generation = generation_;
  std::size_t start = 0, end;
  while (running_ && generation_ == generation && (end = buffer_.find(kLineEnd, from)) != std::string::npos) {
    const std::size_t next = end + kLineEnd.size();
    if (const auto literal = LiteralSize(std::string_view(buffer_).substr(part, end - part))) {
      from = part = next + *literal;
      continue;
    }
    const std::string response = buffer_.substr(start, end - start);
    start = from = part = next;
    HandleResponse(response);
  }
  if (generation_ != generation) return;
  buffer_.erase(0, start);
  scanFrom_ = from - start;
  partFrom_ = part - start;
  if (running_ && std::max(buffer_.size(), scanFrom_) > kLongestLine) Finish(Ending::kLineTooLong);
}

void ImapSession::HandleResponse(std::string_view response) {
  const std::string_view tag = FirstWord(response);
  const std::string_view data = AfterFirstWord(response);
  const std::string word = UpperAscii(FirstWord(data));
  if (tag == "+") {
    if (step_ == ImapStep::kLogin && !pending_.empty()) {
      const std::string part = std::move(pending_.front());
      pending_.pop_front();
      (void)Send(part);
    }
    return;
  }
  if (tag != "*") {
    if (!tag_.empty() && tag == tag_) Tagged(word == "OK", AfterFirstWord(data));
    return;
  }
  if (step_ == ImapStep::kGreeting) {
    if (word == "BYE") return EndedByServer(AfterFirstWord(data));
    // Whatever else the greeting says, CAPABILITY follows it, as USER follows a POP3 greeting.
    preauth_ = word == "PREAUTH";
    loginDisabled_ = HasWord(GreetingCapabilities(AfterFirstWord(data)), "LOGINDISABLED");
    return SendCommand(ImapStep::kCapability, "CAPABILITY");
  }
  if (word == "BYE") {
    // The goodbye to LOGOUT is expected; before it, the server ends the conversation.
    if (step_ != ImapStep::kLogout) EndedByServer(AfterFirstWord(data));
  } else if (word == "CAPABILITY" && step_ == ImapStep::kCapability) {
    const std::string_view words = AfterFirstWord(data);
    // Once said on this connection it holds: a later list without it (a second answer, a
    // planted line) must not open the way for the password in clear.
    loginDisabled_ = loginDisabled_ || HasWord(words, "LOGINDISABLED");
    literalPlus_ = HasWord(words, "LITERAL+");
  } else if (step_ == ImapStep::kLogin && UpperAscii(AfterFirstWord(data)).starts_with("[ALERT]")) {
    // An alert must reach the user: it is the reason shown should the login be refused.
    alert_ = AfterFirstWord(data);
  } else if (word == "STATUS" && step_ == ImapStep::kStatus) {
    if (!ReadStatus(AfterFirstWord(data))) Finish(Ending::kUnreadableAnswer);
  }
}

// The tagged answer to the command awaited.
void ImapSession::Tagged(bool ok, std::string_view text) {
  tag_.clear();
  pending_.clear();
  switch (step_) {
    case ImapStep::kCapability:
      // A refused CAPABILITY leaves nothing known about the server; the login is tried all the same.
      if (preauth_) return SendCommand(ImapStep::kStatus, "STATUS INBOX (MESSAGES UNSEEN)");
      return Login();
    case ImapStep::kLogin:
      if (ok) return SendCommand(ImapStep::kStatus, "STATUS INBOX (MESSAGES UNSEEN)");
      outcome_ = ImapOutcome::kLoginRejected;
      said_ = alert_.empty() ? text : alert_;
      break;
    case ImapStep::kStatus:
      // More unseen than there are messages is no count to show.
      if (ok && !(messages_ && unseen_ && *unseen_ <= *messages_)) return Finish(Ending::kUnreadableAnswer);
      outcome_ = ok ? ImapOutcome::kCounted : ImapOutcome::kStatusRefused;
      break;
    case ImapStep::kLogout:
      return Finish(Ending::kConversationOver);
    default:
      return;
  }
  SendCommand(ImapStep::kLogout, "LOGOUT");
}

// The server's reason is kept for the status line.
void ImapSession::EndedByServer(std::string_view reason) {
  said_ = reason;
  Finish(Ending::kConversationOver);
}

// LOGIN with quoted strings, or literals where a quoted string cannot carry the text. A server
// that disabled LOGIN gets AUTHENTICATE PLAIN, but only inside TLS: it disables LOGIN because the
// connection is not safe for a password.
void ImapSession::Login() {
  if (loginDisabled_) {
    if (settings_.security == MailSecurity::kNone) {
      outcome_ = ImapOutcome::kLoginDisabled;
      return SendCommand(ImapStep::kLogout, "LOGOUT");
    }
    const std::string credentials = std::string(1, '\0') + settings_.user + '\0' + settings_.password;
    return SendCommand(ImapStep::kLogin, "AUTHENTICATE PLAIN", {Base64(credentials)});
  }
  std::string command = "LOGIN";
  std::deque<std::string> parts;
  for (const std::string* text : {&settings_.user, &settings_.password}) {
    std::string& line = parts.empty() ? command : parts.back();
    line += ' ';
    if (const auto quoted = Quoted(*text)) {
      line += *quoted;
      continue;
    }
    line += "{" + std::to_string(ports_.socket.WireLength(*text)) + (literalPlus_ ? "+}" : "}");
    if (literalPlus_)
      line += std::string(kLineEnd) + *text;
    else
      parts.push_back(*text);
  }
  SendCommand(ImapStep::kLogin, std::move(command), std::move(parts));
}

void ImapSession::SendCommand(ImapStep step, std::string text, std::deque<std::string> parts) {
  const std::string tag = "a" + std::to_string(++tagNumber_);
  if (!Send(tag + " " + text)) return;
  step_ = step;
  tag_ = tag;
  pending_ = std::move(parts);
}

// Its answer is due from now.
bool ImapSession::Send(const std::string& line) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (ports_.socket.Send(line + std::string(kLineEnd)) == 0) {
      RestartNoAnswerTimer();
      return true;
    }
  }
  Finish(Ending::kFailure);
  return false;
}

// "INBOX (MESSAGES 12 UNSEEN 3)": the name may be quoted, the items come in any order. A number
// that is missing or does not fit makes the answer unreadable: a count read as 0 would report an
// empty mailbox.
bool ImapSession::ReadStatus(std::string_view data) {
  const std::size_t open = data.rfind('('), close = data.rfind(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) return false;
  std::string_view name = data.substr(0, open);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
  if (const std::size_t literalEnd = name.find(kLineEnd); literalEnd != std::string_view::npos)
    name = name.substr(literalEnd + kLineEnd.size());
  if (UpperAscii(name) != "INBOX") return true;  // another mailbox's: not asked for
  std::string_view items = data.substr(open + 1, close - open - 1);
  while (!items.empty()) {
    const std::string item = UpperAscii(FirstWord(items));
    items = AfterFirstWord(items);
    const std::string_view value = FirstWord(items);
    items = AfterFirstWord(items);
    if (item != "MESSAGES" && item != "UNSEEN") continue;
    const std::optional<std::int64_t> number = LeadingDigits(value);
    if (!number || !AllDigits(value)) return false;
    (item == "MESSAGES" ? messages_ : unseen_) = number;
  }
  return true;
}

// Messages all seen are shown, but only unseen ones call for attention.
void ImapSession::ReportOutcome() {
  if (outcome_ == ImapOutcome::kCounted) {
    const std::string text = *messages_ == 0 ? NoMailText(account_) : ImapMailText(account_, *messages_, *unseen_);
    if (*unseen_ != 0)
      ports_.result.ShowMail(account_, text);
    else
      ports_.result.SetStatusLine(account_, text);
    return;
  }
  if (outcome_ == ImapOutcome::kLoginRejected) {
    ports_.result.SetStatusLine(account_, ErrorStatusText(account_));
    ports_.dialogs.Message(WithServerReason(WrongPasswordMessage(account_), said_));
    return;
  }
  // A goodbye before the counts says why on the line.
  ports_.result.SetStatusLine(account_, ErrorStatusText(account_, said_));
  if (outcome_ == ImapOutcome::kLoginDisabled) ports_.dialogs.Message(LoginDisabledMessage(account_));
}

}  // namespace vq::mail
