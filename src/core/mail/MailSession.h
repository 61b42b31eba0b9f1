#pragma once
#include <chrono>
#include <cstddef>

#include "mail/MailResultWindow.h"
#include "mail/MailSchedule.h"
#include "mail/MailSettings.h"
#include "ports/Dialogs.h"
#include "ports/Socket.h"
#include "ports/Timers.h"

namespace vq::mail {

struct MailSessionPorts {
  Socket& socket;  // this account's own connection
  Timers& timers;
  Dialogs& dialogs;
  MailSchedule& schedule;
  MailResultWindow& window;
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

  // Connects and starts the conversation. While a check is busy it only beeps and returns
  // false; true means the session began (it may have ended already, when it could not connect).
  virtual bool Start(const MailAccountSettings& settings) = 0;
  // Drops the connection without a word, a message or a report of the end.
  virtual void Abandon() = 0;
  // The answer timer ran out.
  virtual void OnNoAnswer() = 0;
  virtual bool Running() const = 0;

 protected:
  // The port is the number its text begins with; an address that cannot be used ends at once,
  // another failure is tried once more. False when no attempt started.
  static bool ConnectSocket(Socket& socket, const MailAccountSettings& settings);
};

std::string UpperAscii(std::string_view text);

}  // namespace vq::mail
