#pragma once
#include <array>
#include <chrono>
#include <memory>
#include <vector>

#include "base/TimerId.h"
#include "config/Config.h"
#include "mail/text/MailMessages.h"
#include "mail/result/MailResultView.h"
#include "mail/result/MailResult.h"
#include "mail/settings/MailSchedule.h"
#include "mail/settings/MailSettings.h"
#include "mail/imap/ImapSession.h"
#include "mail/pop3/Pop3Session.h"
#include "mail/stream/TlsStream.h"
#include "ports/Dialogs.h"
#include "ports/SecurityLayer.h"
#include "ports/Socket.h"
#include "ports/System.h"
#include "ports/Timers.h"

namespace vq::mail {

// A mail check: which accounts take part, the status lines that show it, one session per
// account in account order, and the periodic check by the minute.
class MailCheckDriver {
 public:
  // A check of several accounts looks this often whether the running session has ended.
  static constexpr std::chrono::seconds kHandOverInterval{1};
  // The result window's caption and frame on top of its status lines.
  static constexpr long kWindowFrameHeight = 350;  // twips

  struct Ports {
    std::array<Socket*, kAccountCount> sockets;                // one per account, none null
    std::array<SecurityLayer*, kAccountCount> securityLayers;  // the same
    Timers& timers;
    Dialogs& dialogs;
    System& system;
    Config& config;
    MailSchedule& schedule;
    MailSettingsSource& settings;
    MailResultViewFactory& views;
  };
  explicit MailCheckDriver(const Ports& ports);
  MailCheckDriver(const MailCheckDriver&) = delete;
  MailCheckDriver& operator=(const MailCheckDriver&) = delete;

  // The menu item and the tray icon's double-click: the interval counts from now, the window
  // shows, the check starts.
  void CheckNow();
  // Checks every account that has a user name, or says what is missing in the settings.
  void GetMail();
  // kPeriodicMail, kMailNextAccount and kMailNoAnswer; other timers are not the mail's.
  void OnTimer(TimerId timer);

  MailResult& Result() { return result_; }
  const Pop3Session& Pop3(int account) const { return *pop3Sessions_[account]; }
  const ImapSession& Imap(int account) const { return *imapSessions_[account]; }
  const TlsStream& Stream(int account) const { return *streams_[account]; }

  // The hand-over state of a check of several accounts: the accounts still to start, in order.
  const std::vector<int>& Pending() const { return pending_; }
  bool SessionEnded() const { return sessionEnded_; }

 private:
  static constexpr std::size_t kProtocolCount = 2;  // POP3 and IMAP

  void Refuse(std::string_view message, int account);
  bool StartAccount(int account);
  void HandOver();
  void AbandonSessions();
  void AbandonAccount(int account);
  // The session of the protocol the account's settings name.
  MailSession& SessionFor(int account, MailProtocol protocol);
  // Every protocol's session of the account: what holds for one kind of session holds for all.
  std::array<MailSession*, kProtocolCount> SessionsOf(int account) const;
  bool OtherRunning(const MailSession& session) const;

  Ports ports_;
  std::vector<int> pending_;
  bool sessionEnded_ = false;
  MailResult result_;
  // Each session talks through its account's stream, which outlives it.
  std::array<std::unique_ptr<TlsStream>, kAccountCount> streams_;
  std::array<std::unique_ptr<Pop3Session>, kAccountCount> pop3Sessions_;
  std::array<std::unique_ptr<ImapSession>, kAccountCount> imapSessions_;
};

}  // namespace vq::mail
