#pragma once
#include <array>
#include <deque>
#include <string>
#include <vector>

#include "base/Addresses.h"
#include "config/Config.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeMailResultView.h"
#include "fakes/FakeMailSettings.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeSecurityLayer.h"
#include "fakes/FakeSocket.h"
#include "fakes/FakeTimers.h"
#include "mail/check/MailCheckDriver.h"

namespace vq::test {

// Starting the mailer, with an outcome for each try.
class FakeMailerSystem : public FakeSystem {
 public:
  RunOutcome Run(const std::string& commandLine) override {
    runs.push_back(commandLine);
    if (outcomes.empty()) return {};
    const RunOutcome next = outcomes.front();
    outcomes.pop_front();
    return next;
  }
  std::deque<RunOutcome> outcomes;  // started once they run out
};

// The mail checker with every port faked, and one shared record of what the user saw, in order.
struct MailRig {
  MailRig() {
    dialogs.timeline = &timeline;
    views.timeline = &timeline;
  }

  // A complete account: user "user1" .. "user3", password "s3cret".
  void Configure(int account) {
    const std::string n = std::to_string(account + 1);
    settings.accounts[account] = {"110", "pop" + n + ".example", "user" + n, "s3cret"};
  }

  // Plays the server: "|" separates the events "connect", "sent" (send complete), "close",
  // "silence" (the no-answer tick), "error N text", and "login" (connect, greeting, and +OK to
  // USER and to PASS, up to STAT on the wire); anything else arrives as bytes. "wait N": N
  // seconds pass, then the no-answer timer ticks if it is due.
  void Play(int account, const std::string& script) {
    FakeSocket& s = sockets[account];
    std::size_t from = 0;
    while (from <= script.size()) {
      std::size_t to = script.find('|', from);
      if (to == std::string::npos) to = script.size();
      const std::string e = script.substr(from, to - from);
      from = to + 1;
      if (e == "connect")
        s.RaiseConnect();
      else if (e == "sent")
        s.RaiseSendComplete();
      else if (e == "close")
        s.RaiseClose();
      else if (e == "silence")
        driver.OnTimer(TimerId::kMailNoAnswer);
      else if (e.starts_with("wait ")) {
        timers.now += std::chrono::seconds(std::stoi(e.substr(5)));
        if (timers.Due(TimerId::kMailNoAnswer)) driver.OnTimer(TimerId::kMailNoAnswer);
      } else if (e == "login")
        Play(account, "connect|+OK ready\r\n|sent|+OK\r\n|sent|+OK in\r\n|sent");
      else if (e.starts_with("error ")) {
        const std::size_t space = e.find(' ', 6);
        s.RaiseError(std::stoi(e.substr(6)), space == std::string::npos ? "" : e.substr(space + 1));
      } else if (!e.empty())
        s.RaiseData(e);
    }
  }
  std::string Sent(int account) const {
    std::string all;
    for (const auto& line : sockets[account].sent) all += line;
    return all;
  }

  std::vector<std::string> timeline;
  std::array<FakeSocket, kAccountCount> sockets;
  std::array<FakeSecurityLayer, kAccountCount> layers;
  FakeTimers timers;
  FakeDialogs dialogs;
  FakeMailerSystem system;
  FakeProfileFile file;
  Config config{file};
  mail::MailSchedule schedule{timers};
  FakeMailSettings settings;
  FakeMailResultViews views;
  mail::MailCheckDriver driver{{AddressesOf<Socket>(sockets), AddressesOf<SecurityLayer>(layers), timers, dialogs,
                                system, config, schedule, settings, views}};
};

// Account numbers whose sockets were asked to connect: "13".
inline std::string Contacted(const MailRig& rig) {
  std::string out;
  for (int i = 0; i < kAccountCount; ++i)
    if (!rig.sockets[i].connects.empty()) out += char('1' + i);
  return out;
}

}  // namespace vq::test
