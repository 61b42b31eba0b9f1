#include "mail/result/MailResult.h"

#include <string>

#include "config/Settings.h"
#include "mail/text/MailMessages.h"

namespace vq::mail {

MailResult::MailResult(const Ports& ports, std::function<void()> abandonSessions)
    : ports_(ports), abandonSessions_(std::move(abandonSessions)) {}

MailResultView& MailResult::View() {
  if (!view_) view_ = ports_.views.CreateMailResultView(*this, ReadPlace(ports_.config, keys::kMailWindow));
  return *view_;
}

void MailResult::SetStatusLine(int account, std::string_view text) { View().SetStatusLine(account, text); }
long MailResult::StatusLineHeight(int account) { return View().StatusLineHeight(account); }
void MailResult::PlaceStatusLine(int account, long top) { View().PlaceStatusLine(account, top); }
void MailResult::SetWindowHeight(long height, long linesHeight) { View().SetWindowHeight(height, linesHeight); }
void MailResult::Show() { View().Show(); }

MailResultView& MailResult::ShownView() {
  MailResultView& view = View();
  view.Show();
  return view;
}

void MailResult::ShowMail(int account, std::string_view text) {
  MailResultView& view = View();
  view.Show();
  view.SetStatusLine(account, text);
  view.AnnounceMail();
}

void MailResult::Close() {
  if (!view_) return;
  // A place the view had to correct (off the screen) is not the user's choice; the file keeps
  // what it held until the user moves the window.
  if (const auto moved = view_->MovedTo()) (void)WritePlace(ports_.config, keys::kMailWindow, *moved);
  abandonSessions_();
  ports_.schedule.SetBusy(false);
  auto view = std::move(view_);
  view->Close();
}

void MailResult::OnMailerClick() {
  abandonSessions_();
  ports_.schedule.SetBusy(false);
  const std::string mailer = ports_.settings.MailerPath();
  // A program that failed to start for a passing reason often starts at the second try.
  for (int attempt = 0; attempt < 2 && !mailer.empty(); ++attempt) {
    switch (ports_.system.Run(mailer).result) {
      case System::RunResult::kStarted:
        Close();
        return;
      case System::RunResult::kNotFound:
        Boxes().Message(kMailerNotFoundMessage);
        return;
      case System::RunResult::kNeedsElevation:
      case System::RunResult::kDeclined:
      case System::RunResult::kFailed:
        break;
    }
  }
  Boxes().Message(kMailerFailedMessage);
}

}  // namespace vq::mail
