#include "mail/check/MailCheckDriver.h"

#include <algorithm>

namespace vq::mail {

MailCheckDriver::MailCheckDriver(const Ports& ports)
    : ports_(ports),
      result_({ports.config, ports.system, ports.dialogs, ports.schedule, ports.settings, ports.views},
              [this] { AbandonSessions(); }) {
  for (int i = 0; i < kAccountCount; ++i) {
    streams_[i] = std::make_unique<TlsStream>(*ports.sockets[i], *ports.securityLayers[i]);
    pop3Sessions_[i] = std::make_unique<Pop3Session>(
        i, Pop3Session::Ports{*streams_[i], ports.timers, result_.Boxes(), ports.schedule, result_},
        [this] { sessionEnded_ = true; });
    imapSessions_[i] = std::make_unique<ImapSession>(
        i, ImapSession::Ports{*streams_[i], ports.timers, result_.Boxes(), ports.schedule, result_},
        [this] { sessionEnded_ = true; });
    streams_[i]->SetEvents(pop3Sessions_[i].get());
  }
}

void MailCheckDriver::CheckNow() {
  ports_.schedule.ResetMinuteCounter();
  result_.Show();
  GetMail();
}

void MailCheckDriver::Refuse(std::string_view message, int account) {
  ports_.dialogs.Message(message);
  ports_.settings.OpenAccountSettings(account);
  result_.Close();
}

void MailCheckDriver::GetMail() {
  std::array<MailAccountSettings, kAccountCount> accounts;
  std::vector<int> taking;
  for (int i = 0; i < kAccountCount; ++i) {
    accounts[i] = ports_.settings.Account(i);
    if (!accounts[i].user.empty()) taking.push_back(i);
  }
  if (taking.empty()) return Refuse(kNoAccountsMessage, 0);
  for (int i : taking) {
    const MailAccountSettings& a = accounts[i];
    if (a.port.empty() || a.host.empty() || a.password.empty() || a.security == MailSecurity::kUnknown ||
        a.protocol == MailProtocol::kUnknown)
      return Refuse(kIncompleteSettingsMessage, i);
  }

  ports_.schedule.ResetMinuteCounter();
  for (int i : taking) result_.SetStatusLine(i, CheckingText(i));
  long top = 0;
  for (int i : taking) {
    result_.PlaceStatusLine(i, top);
    top += result_.StatusLineHeight(i);
  }
  result_.SetWindowHeight(top + kWindowFrameHeight, top);

  // The accounts of this check and no others: a list left by a check that was cut short (its
  // window closed) would otherwise start an account that no longer takes part.
  pending_.assign(taking.begin() + 1, taking.end());
  if (taking.size() > 1) ports_.timers.Start(TimerId::kMailNextAccount, kHandOverInterval);
  // Cleared before the start, not after: a session that ends inside its start (a port that
  // cannot be used) must still hand the check over. A flag left over from a check that ended a
  // moment ago would otherwise let the next tick close this session's socket.
  sessionEnded_ = false;
  (void)StartAccount(taking.front());
}

bool MailCheckDriver::StartAccount(int account) {
  // The busy flag can be cleared while a session still runs (MailSchedule::OptionsOpened); one
  // conversation at a time all the same.
  const MailAccountSettings settings = ports_.settings.Account(account);
  MailSession& session = SessionFor(account, settings.protocol);
  if (OtherRunning(session)) {
    ports_.dialogs.Beep();
    return false;
  }
  streams_[account]->SetEvents(&session);
  // Taken up by the stream's next connection only, so a session still running keeps its own.
  streams_[account]->SetSecurity(settings.security, settings.protocol);
  return session.Start(settings);
}

MailSession& MailCheckDriver::SessionFor(int account, MailProtocol protocol) {
  if (protocol == MailProtocol::kImap) return *imapSessions_[account];
  return *pop3Sessions_[account];
}

std::array<MailSession*, MailCheckDriver::kProtocolCount> MailCheckDriver::SessionsOf(int account) const {
  return {pop3Sessions_[account].get(), imapSessions_[account].get()};
}

// The session itself beeps when it runs already.
bool MailCheckDriver::OtherRunning(const MailSession& session) const {
  for (int i = 0; i < kAccountCount; ++i)
    for (const MailSession* other : SessionsOf(i))
      if (other != &session && other->Running()) return true;
  return false;
}

// A start refused because another session still runs leaves the account pending; that
// session's end brings the next try.
void MailCheckDriver::HandOver() {
  if (!sessionEnded_) return;
  if (!pending_.empty()) {
    const int next = pending_.front();
    for (int i = 0; i < next; ++i) AbandonAccount(i);
    sessionEnded_ = false;
    if (StartAccount(next)) pending_.erase(pending_.begin());
  } else {
    AbandonSessions();
    ports_.schedule.SetBusy(false);
    ports_.timers.Stop(TimerId::kMailNextAccount);
  }
}

void MailCheckDriver::AbandonSessions() {
  for (int i = 0; i < kAccountCount; ++i) AbandonAccount(i);
}

void MailCheckDriver::AbandonAccount(int account) {
  for (MailSession* session : SessionsOf(account)) session->Abandon();
}

void MailCheckDriver::OnTimer(TimerId timer) {
  switch (timer) {
    case TimerId::kPeriodicMail:
      if (ports_.schedule.CountMinute(ports_.settings.Interval())) GetMail();
      break;
    case TimerId::kMailNextAccount:
      HandOver();
      break;
    case TimerId::kMailNoAnswer: {
      for (int i = 0; i < kAccountCount; ++i)
        for (MailSession* session : SessionsOf(i))
          if (session->Running()) return session->OnNoAnswer();
      ports_.timers.Stop(TimerId::kMailNoAnswer);
      break;
    }
    default:
      break;
  }
}

}  // namespace vq::mail
