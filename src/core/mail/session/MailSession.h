#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "mail/settings/MailSchedule.h"
#include "mail/settings/MailSettings.h"
#include "ports/Dialogs.h"
#include "ports/Socket.h"
#include "ports/Timers.h"

namespace vq::mail {

class MailResult;

struct MailSessionPorts {
  Socket& socket;  // this account's own connection
  Timers& timers;
  Dialogs& dialogs;
  MailSchedule& schedule;
  MailResult& result;
};

// One account's conversation with its server, whatever the protocol: started by the driver,
// carried on by the socket's events, reported to the result window or in message boxes, and
// always ending with a word to its owner, whichever way it ended.
class MailSession : public SocketEvents {
 public:
  // Each answer (the greeting once connected, the answer to a command once it was sent) must be
  // complete within this; a server that says nothing, or trickles bytes without ending the
  // line, is treated as one that cannot be reached.
  static constexpr std::chrono::seconds kNoAnswerLimit{60};
  // More than this without a line end is not mail protocol talk.
  static constexpr std::size_t kLongestLine = 64 * 1024;

  MailSession(int account, const MailSessionPorts& ports, std::function<void()> onEnded);
  MailSession(const MailSession&) = delete;
  MailSession& operator=(const MailSession&) = delete;

  // Connects and starts the conversation. While a check is busy it only beeps and returns
  // false; true means the session began (it may have ended already, when it could not connect).
  virtual bool Start(const MailAccountSettings& settings) = 0;
  // Drops the connection without a word, a message or a report of the end.
  void Abandon();
  // The answer timer ran out.
  void OnNoAnswer();
  bool Running() const { return running_; }

  void OnClose() override;
  void OnError(int code, std::string_view description) override;

 protected:
  enum class Ending { kConversationOver, kSocketError, kFailure, kLineTooLong, kUnreadableAnswer };

  // Beeps and false while a check is busy; otherwise the session runs from now.
  bool Begin();
  // False, and the session ended, when the connection cannot even be tried.
  bool Connect(const MailAccountSettings& settings);
  void RestartNoAnswerTimer();
  // Ends the session, whichever way: the status line, the boxes, the busy flag, the owner told.
  void Finish(Ending ending, int code = 0, std::string_view description = {});
  // The server has said all that matters (the numbers, or a refusal).
  virtual bool Answered() const = 0;
  // The mailbox's numbers are in: a failure after them costs only the goodbye.
  virtual bool Counted() const = 0;
  // The status line and any box at the end of a conversation.
  virtual void ReportOutcome() = 0;
  // Back to no session.
  virtual void Stopped() = 0;

  const int account_;
  MailSessionPorts ports_;
  bool running_ = false;
  // Counts starts (and abandonments of a running session), so that the end of a session that
  // resumes after a modal message box can tell whether a newer one has taken over meanwhile.
  unsigned generation_ = 0;

 private:
  std::function<void()> onEnded_;
};

}  // namespace vq::mail
